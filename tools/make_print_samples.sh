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
# Paper, orientation, scale, print areas, page breaks, long tables, fonts and borders: each
# saved by the program its name ends in.
for sample in a5-tally-libreoffice fonts-borders-libreoffice letter-print-area-libreoffice \
  page-breaks-libreoffice; do
  soffice --headless "-env:UserInstallation=file://$work/profile" \
    --convert-to 'xls:MS Excel 97' --outdir "$work" "$dir/$sample.fods" >/dev/null
  mv "$work/$sample.xls" "$dir/"
done
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
echo "wrote $dir/landscape-libreoffice.xls, landscape-gnumeric.xls, narrow-numbers.xls and the paper and page samples"
