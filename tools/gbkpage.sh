#!/usr/bin/env bash
# gbkpage.sh IN OUT: a text file of the repository (UTF-8, LF) as the program
# reads it (GBK, CR LF), as tools/package.sh writes it into the package.
set -euo pipefail
mkdir -p "$(dirname "$2")"
iconv -f UTF-8 -t GBK "$1" | LC_ALL=C sed 's/$/\r/' >"$2.tmp"
mv "$2.tmp" "$2"
