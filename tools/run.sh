#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program next to the sample
# workbook. Without a display it says so in one line and runs the same
# calculation with loadcalc-cli on the sample workbook instead.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/install-deps.sh"
"$top/tools/build.sh"
bin="$top/build/bin"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$bin/loadcalc" ]; then
  exec "$bin/loadcalc"
fi
if [ -x "$bin/loadcalc" ]; then
  echo "No display: running loadcalc-cli on the sample workbook $bin/电气计算.xls instead."
else
  echo "loadcalc is not built (no Qt): running loadcalc-cli on the sample workbook $bin/电气计算.xls instead."
fi
exec "$bin/loadcalc-cli" --workbook "$bin/电气计算.xls" "$@"
