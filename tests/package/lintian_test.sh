#!/bin/sh
# Debian's package checker finds no error and no warning in the package.
# Usage: lintian_test.sh PACKAGE_DIR VERSION (the package.build test fills PACKAGE_DIR)
set -eu
deb=$(ls "$1"/zorel_"$2"_*.deb)
if ! command -v lintian >/dev/null; then
  echo "SKIP: lintian is missing"
  exit 77
fi
lintian --allow-root --fail-on error,warning --display-level '>=warning' "$deb"
echo "lintian: no error and no warning"
