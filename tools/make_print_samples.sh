#!/usr/bin/env bash
# Regenerates the print samples in templates/print-samples/ from their .fods sources:
# landscape-libreoffice.xls is saved by LibreOffice, landscape-gnumeric.xls by gnumeric's
# ssconvert, so that the printout is checked against workbooks other programs wrote.
set -euo pipefail

dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/../templates/print-samples" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

soffice --headless "-env:UserInstallation=file://$work/profile" \
  --convert-to 'xls:MS Excel 97' --outdir "$work" "$dir/landscape-libreoffice.fods" >/dev/null
mv "$work/landscape-libreoffice.xls" "$dir/"
soffice --headless "-env:UserInstallation=file://$work/profile" \
  --convert-to 'xls:MS Excel 97' --outdir "$work" "$dir/narrow-numbers.fods" >/dev/null
mv "$work/narrow-numbers.xls" "$dir/"
# gnumeric does not read flat ODS: LibreOffice turns the source into a workbook first, which
# gnumeric then opens and saves as its own.
soffice --headless "-env:UserInstallation=file://$work/profile" \
  --convert-to 'xls:MS Excel 97' --outdir "$work" "$dir/landscape-gnumeric.fods" >/dev/null
ssconvert --export-type=Gnumeric_Excel:excel_biff8 "$work/landscape-gnumeric.xls" \
  "$dir/landscape-gnumeric.xls" 2>/dev/null
# Pages: title rows and columns printed on every page, row and column headings, fit to
# two pages across and to two down. Cells: merged ranges cut by a page break, wrapped text
# and text running to the page's edge. Headers and footers in several fonts and sizes, on
# an A5 sheet printed at 80 % and on a Letter sheet fit to one page. Paper, orientation,
# scale, print areas, page breaks, long tables, fonts and borders. All saved by LibreOffice.
for sample in title-rows title-columns headings fit-2x1 fit-1x2 merged-cells wrapped-overflow \
  headers-a5-scaled headers-letter-fit a5-tally-libreoffice fonts-borders-libreoffice \
  letter-print-area-libreoffice page-breaks-libreoffice; do
  soffice --headless "-env:UserInstallation=file://$work/profile" \
    --convert-to 'xls:MS Excel 97' --outdir "$work" "$dir/$sample.fods" >/dev/null
  mv "$work/$sample.xls" "$dir/"
done
# Centring across the selection has no flat ODS form: gnumeric writes it from its own file.
ssconvert --export-type=Gnumeric_Excel:excel_biff8 "$dir/centre-across-gnumeric.gnumeric" \
  "$dir/centre-across-gnumeric.xls" 2>/dev/null
# gnumeric gives a sheet without a header or footer its own (the sheet's name, "Page &P"):
# cleared in gnumeric's own file on the way, so that these print what their sources set.
for sample in a5-landscape-gnumeric b5-landscape-gnumeric long-table-gnumeric scaled-a4-gnumeric; do
  soffice --headless "-env:UserInstallation=file://$work/profile" \
    --convert-to 'xls:MS Excel 97' --outdir "$work" "$dir/$sample.fods" >/dev/null
  ssconvert --export-type=Gnumeric_XmlIO:sax "$work/$sample.xls" "$work/$sample.gnumeric" 2>/dev/null
  gzip -dc "$work/$sample.gnumeric" |
    sed -e 's|<gnm:Header Left="" Middle="&amp;\[TAB\]" Right=""/>|<gnm:Header Left="" Middle="" Right=""/>|' \
      -e 's|<gnm:Footer Left="" Middle="Page &amp;\[PAGE\]" Right=""/>|<gnm:Footer Left="" Middle="" Right=""/>|' \
      >"$work/$sample-plain.gnumeric"
  ssconvert --export-type=Gnumeric_Excel:excel_biff8 "$work/$sample-plain.gnumeric" \
    "$dir/$sample.xls" 2>/dev/null
done
echo "wrote the print samples in $dir"
