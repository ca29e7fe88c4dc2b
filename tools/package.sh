#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package
# build/packages/loadcalc_<version>_<arch>.deb. Install it with
#   sudo apt install ./build/packages/loadcalc_*.deb
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/install-deps.sh"
"$top/tools/build.sh"
cd "$top/build"
cpack -G DEB
ls "$top"/build/packages/*.deb
