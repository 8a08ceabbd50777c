#!/usr/bin/env bash
# Regenerates the formula samples in templates/formula-samples/ from bill.fods:
# bill-libreoffice.xls is saved by LibreOffice, bill-gnumeric.xls by gnumeric's ssconvert,
# so that stored formula results are checked in workbooks other programs wrote.
set -euo pipefail

dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/../templates/formula-samples" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

soffice --headless "-env:UserInstallation=file://$work/profile" \
  --convert-to 'xls:MS Excel 97' --outdir "$work" "$dir/bill.fods" >/dev/null
cp "$work/bill.xls" "$dir/bill-libreoffice.xls"
# gnumeric does not read flat ODS: it opens LibreOffice's workbook and saves it as its own.
ssconvert --export-type=Gnumeric_Excel:excel_biff8 "$work/bill.xls" \
  "$dir/bill-gnumeric.xls" 2>/dev/null
echo "wrote $dir/bill-libreoffice.xls and bill-gnumeric.xls"
