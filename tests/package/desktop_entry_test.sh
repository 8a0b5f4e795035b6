#!/bin/sh
# The desktop entry passes desktop-file-validate and names the program in Russian and English.
# Usage: desktop_entry_test.sh ENTRY
set -eu
entry=$1
if ! command -v desktop-file-validate >/dev/null; then
  echo "SKIP: desktop-file-validate is missing (Debian's desktop-file-utils)"
  exit 77
fi
desktop-file-validate "$entry"
for line in 'Name=Zorel' 'Name[ru]=Зорель' 'Categories=Office;' 'Icon=zorel' 'Exec=zorel-start'; do
  grep -qxF "$line" "$entry" || { echo "FAIL: no line $line in $entry"; exit 1; }
done
echo "desktop entry valid"
