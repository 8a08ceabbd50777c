#!/usr/bin/env bash
# Regenerates the templates that ship with the program from their editable sources (flat
# OpenDocument XML) with LibreOffice (package libreoffice-calc-nogui): the sample workbook
# templates/锯材账单.xls from 锯材账单.fods, and the bill book's export template
# templates/账本导出样板.xls from 账本导出样板.fods. Run from anywhere after editing a .fods:
#   tools/make_template.sh
# Commit the sources and the workbooks afterwards.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

for name in 锯材账单 账本导出样板; do
  # A private profile, so that a running LibreOffice of the user neither interferes nor blocks.
  soffice --headless "-env:UserInstallation=file://$work/profile" \
    --convert-to 'xls:MS Excel 97' --outdir "$work" "$repo/templates/$name.fods" >/dev/null
  mv "$work/$name.xls" "$repo/templates/$name.xls"
  echo "wrote $repo/templates/$name.xls"
done
