#!/usr/bin/env bash
# Builds the program as shipped (i686, release mode) and writes the archive for
# Windows users: dist/Quarvel-1.01-win32.zip with the programs, README.txt and
# SHA256SUMS. The same sources give the same archive, byte for byte.
set -euo pipefail
cd "$(dirname "$0")"

bash scripts/setup.sh
source scripts/build.sh
qv_build_release
