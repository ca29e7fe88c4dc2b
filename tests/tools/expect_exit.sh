#!/usr/bin/env bash
# Runs a command and passes when it ends with the given status and its
# standard error holds the given text.
#
#   expect_exit.sh STATUS TEXT COMMAND...
set -uo pipefail
want=$1 text=$2
shift 2
err=$(mktemp)
trap 'rm -f "$err"' EXIT
"$@" </dev/null >/dev/null 2>"$err"
got=$?
cat "$err" >&2
[ "$got" -eq "$want" ] || { echo "expected status $want, got $got" >&2; exit 1; }
grep -qF -- "$text" "$err" || { echo "standard error lacks: $text" >&2; exit 1; }
