#!/bin/sh
# The AppStream metadata passes Debian's validator and launches the desktop entry we install.
# Usage: metainfo_test.sh METAINFO
set -eu
metainfo=$1
if ! command -v appstreamcli >/dev/null; then
  echo "SKIP: appstreamcli is missing (Debian's appstream)"
  exit 77
fi
appstreamcli validate --no-net --pedantic "$metainfo"
grep -qF '<launchable type="desktop-id">zorel.desktop</launchable>' "$metainfo" ||
  { echo "FAIL: $metainfo does not launch zorel.desktop"; exit 1; }
echo "metainfo valid"
