#!/usr/bin/env bash
# Regenerates the sample workbook templates/锯材账单.xls from its editable source
# templates/锯材账单.fods (flat OpenDocument XML) with LibreOffice (package
# libreoffice-calc-nogui). Run from anywhere after editing the .fods:
#   tools/make_template.sh
# Commit both files afterwards.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source_file="$repo/templates/锯材账单.fods"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# A private profile, so that a running LibreOffice of the user neither interferes nor blocks.
soffice --headless "-env:UserInstallation=file://$work/profile" \
  --convert-to 'xls:MS Excel 97' --outdir "$work" "$source_file" >/dev/null
mv "$work/锯材账单.xls" "$repo/templates/锯材账单.xls"
echo "wrote $repo/templates/锯材账单.xls"
