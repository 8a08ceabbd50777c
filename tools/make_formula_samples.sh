#!/usr/bin/env bash
# Regenerates the formula samples in templates/formula-samples/ from bill.fods:
# bill-libreoffice.xls is saved by LibreOffice, bill-gnumeric.xls by gnumeric's ssconvert,
# so that stored formula results are checked in workbooks other programs wrote. For the
# export benchmark, bill-200-formulas.xls holds 200 formulas over the tally's cells and
# bill-no-formulas.xls none (both saved by LibreOffice, sources written on the way);
# uncomputable.xls holds formulas the engine leaves to the spreadsheet program.
set -euo pipefail

dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/../templates/formula-samples" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

/usr/bin/python3 - "$dir/bill.fods" "$work" <<'PY'
import re, sys
source, work = sys.argv[1], sys.argv[2]
text = open(source, encoding="utf-8").read()
kinds = [
    'SUM([.H5:.H{r}])', 'ROUND([.H{r}]*1.13;2)', 'IF([.B3]=&quot;&quot;;&quot;&quot;;[.B3]&amp;&quot;{r}&quot;)',
    'COUNTIF([.H5:.H17];&quot;&gt;{r}&quot;)', 'TEXT([.H18];&quot;0.00&quot;)&amp;&quot;元&quot;',
    'SUMPRODUCT([.D5:.D17];[.E5:.E17])+{r}', 'MAX([.F5:.F17])*{r}', 'AVERAGE([.G5:.G{r}])',
]
rows = []
for i in range(200):
    r = 5 + i % 13
    rows.append('    <table:table-row><table:table-cell table:number-columns-repeated="10"/>'
                '<table:table-cell table:formula="of:=IFERROR(' + kinds[i % len(kinds)].format(r=r) +
                ';0)"/></table:table-row>\n')
many = text.replace('   </table:table>\n  </office:spreadsheet>',
                    ''.join(rows) + '   </table:table>\n  </office:spreadsheet>')
open(work + "/bill-200-formulas.fods", "w", encoding="utf-8").write(many)
plain = re.sub(r'<table:table-cell table:formula="[^"]*"( [^/]*)?/>', '<table:table-cell/>', text)
plain = re.sub(r'<table:named-expressions>.*?</table:named-expressions>', '', plain, flags=re.S)
open(work + "/bill-no-formulas.fods", "w", encoding="utf-8").write(plain)
PY

soffice --headless "-env:UserInstallation=file://$work/profile" \
  --convert-to 'xls:MS Excel 97' --outdir "$work" "$dir/bill.fods" "$dir/uncomputable.fods" \
  "$work/bill-200-formulas.fods" "$work/bill-no-formulas.fods" >/dev/null
cp "$work/bill.xls" "$dir/bill-libreoffice.xls"
cp "$work/bill-200-formulas.xls" "$work/bill-no-formulas.xls" "$work/uncomputable.xls" "$dir/"
# gnumeric does not read flat ODS: it opens LibreOffice's workbook and saves it as its own.
ssconvert --export-type=Gnumeric_Excel:excel_biff8 "$work/bill.xls" \
  "$dir/bill-gnumeric.xls" 2>/dev/null
echo "wrote the formula samples in $dir"
