#!/usr/bin/env bash
# Configures and builds the program and its tests into ./build.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
# A compiler cache, where the machine has one, makes rebuilds of a fresh
# checkout cheap; the build is the same without it.
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build "$top/build" -j"$(nproc)"
