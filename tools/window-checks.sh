#!/usr/bin/env bash
# Works the program under a real window manager (openbox on a virtual X
# server) and checks what only a window manager shows: the About box and
# the file dialog open above the main dialog, which is kept above all other
# windows; the file dialog speaks Chinese; closing with unsaved results asks
# with 否 as the default; a second start hands its workbook to the running
# window; and the program ends with status 0 after the file dialog was
# opened and cancelled.
#
#   tools/window-checks.sh [BINDIR]
#
# BINDIR holds loadcalc and 电气计算.xls (default: build/bin). Exits 77 when
# Xvfb, openbox, xdotool, xprop or xwininfo is missing, 1 when a check fails.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$top/build/bin}

for tool in Xvfb openbox xdotool xprop xwininfo; do
  command -v "$tool" >/dev/null || { echo "window-checks: $tool is not installed; nothing checked." >&2; exit 77; }
done
[ -x "$bin/loadcalc" ] || { echo "window-checks: $bin/loadcalc is not built." >&2; exit 1; }

work=$(mktemp -d /tmp/loadcalc-wm-XXXXXX)
mkdir -m 700 "$work/runtime" "$work/home"
cp "$bin/loadcalc" "$bin/电气计算.xls" "$work/"
export XDG_RUNTIME_DIR="$work/runtime" HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
unset QT_QPA_PLATFORM

xvfb_pid="" wm_pid="" app_pid=""
cleanup() {
  local pid
  for pid in "$app_pid" "$wm_pid" "$xvfb_pid"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

script_name=window-checks
# shellcheck source=tools/lib/x-session.sh
. "$(dirname "$0")/lib/x-session.sh"

# Fails unless window $2 (named $1) lies above the main dialog.
expect_above_dialog() {
  local above below
  for _ in $(seq 20); do
    above=$(stacking_place "$2")
    below=$(stacking_place "$dialog")
    [ "$above" -gt "$below" ] && return 0
    sleep 0.1
  done
  fail "$1 opened beneath the main dialog (stacking places $above and $below)"
}

dialog_x=0 dialog_y=0 dialog_w=0 dialog_h=0
# xwininfo, as xdotool counts a window manager's frame twice.
measure_dialog() {
  local info
  info=$(xwininfo -id "$dialog")
  dialog_x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
  dialog_y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
  dialog_w=$(sed -n 's/.*Width: *//p' <<<"$info")
  dialog_h=$(sed -n 's/.*Height: *//p' <<<"$info")
}
centre() { echo "$((dialog_x + ($1 + $3 / 2) * dialog_w / 372)) $((dialog_y + ($2 + $4 / 2) * dialog_h / 270))"; }
click_at() { xdotool mousemove $1 $2 click 1; }

about_button="319 157 46 16"
exit_button="319 179 46 16"
save_button="319 134 46 16"
read_button="319 67 46 16"
calc_button="319 89 46 16"

start_x_server
start_window_manager
(cd "$work" && exec ./loadcalc) >"$work/loadcalc.log" 2>&1 &
app_pid=$!
dialog=$(find_window "Volmira") || fail "the main dialog did not appear"
sleep 0.5
measure_dialog

click_at $(centre $about_button)
about=$(find_window "关于 Tabrix") || fail "the About box did not appear"
expect_above_dialog "the About box" "$about"
xdotool windowfocus --sync "$about" key Return
window_gone "关于 Tabrix" || fail "Enter did not close the About box"
echo "window-checks: the About box opens above the main dialog"

# Before 计算 there is nothing to save: 保存 says so instead of asking for a file.
click_at $(centre $save_button)
refusal=$(find_other_window "Volmira电气计算程序" "$dialog") || fail "保存 before 计算 said nothing"
xdotool search --onlyvisible --name "另存为" >/dev/null 2>&1 && fail "保存 before 计算 opened the file dialog"
xdotool windowfocus --sync "$refusal" key Return
window_closed "$refusal" || fail "Enter did not close the refusal"
echo "window-checks: 保存 before 计算 refuses in a box titled with the program"

click_at $(centre $read_button)
sleep 1
click_at $(centre $calc_button)
sleep 1.5

click_at $(centre $save_button)
files=$(find_window "另存为") || {
  xdotool search --onlyvisible --name "Save" >/dev/null 2>&1 && fail "the file dialog is in English"
  fail "the file dialog did not appear"
}
expect_above_dialog "the file dialog" "$files"
xdotool windowfocus --sync "$files" key Escape
window_gone "另存为" || fail "Escape did not close the file dialog"
echo "window-checks: the file dialog is in Chinese and opens above the main dialog"

# Escape with results not yet saved asks first; Enter answers 否 and keeps them.
xdotool windowfocus --sync "$dialog" key Escape
question=$(find_other_window "Volmira电气计算程序" "$dialog") || fail "Escape with unsaved results did not ask"
xdotool windowfocus --sync "$question" key Return
window_closed "$question" || fail "Enter did not close the question"
sleep 0.5
kill -0 "$app_pid" 2>/dev/null || fail "Enter on the question ended the program: 否 must be its default"
echo "window-checks: closing with unsaved results asks, and 否 is the default"

click_at $(centre $save_button)
confirm_save "$dialog"
[ -s "$work/负荷计算结果.xls" ] || fail "the save wrote no workbook"
echo "window-checks: a confirmed save wrote its workbook"

# A second start with a workbook hands it to the running window and ends.
cp "$work/电气计算.xls" "$work/AL1.xls"
second=0
(cd "$work" && timeout 20 ./loadcalc AL1.xls) >"$work/second.log" 2>&1 || second=$?
[ "$second" -eq 0 ] || fail "the second start with a workbook ended with status $second"
find_window "AL1.xls" >/dev/null || fail "the running window did not open the workbook of the second start"
echo "window-checks: a second start with a workbook opens it in the running window"

# Without a workbook the second start says the program runs, as before.
(cd "$work" && exec ./loadcalc) >"$work/third.log" 2>&1 &
third_pid=$!
message=$(find_other_window "Volmira电气计算程序" "$dialog") || fail "a second start without a workbook said nothing"
xdotool windowfocus --sync "$message" key Return
for _ in $(seq 100); do kill -0 "$third_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$third_pid" 2>/dev/null && { kill "$third_pid"; fail "the second start did not end after its message"; }
echo "window-checks: a second start without a workbook says the program runs"

click_at $(centre $exit_button)
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "退出 did not end the program"
status=0
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "loadcalc ended with status $status after the file dialog"
echo "window-checks: the program ended with status 0 after a cancelled and a confirmed save"
