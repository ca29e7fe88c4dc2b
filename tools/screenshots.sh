#!/usr/bin/env bash
# Shows the program as a user sees it: starts loadcalc on a virtual X server
# next to a copy of the sample workbook, works it with the mouse through
# xdotool and saves a screenshot after each step into OUTDIR.
#
#   tools/screenshots.sh OUTDIR [BINDIR]
#
# BINDIR holds loadcalc, loadcalc-cli and 电气计算.xls (default: build/bin);
# the report's first page needs pdftoppm (poppler-utils). Exits 77 when
# Xvfb, xdotool or ImageMagick's import or compare is missing, 1 when a step
# fails or shows nothing new.
set -euo pipefail

out=${1:?usage: tools/screenshots.sh OUTDIR [BINDIR]}
top=$(cd "$(dirname "$0")/.." && pwd)
bin=${2:-$top/build/bin}

for tool in Xvfb xdotool import compare; do
  command -v "$tool" >/dev/null || { echo "screenshots: $tool is not installed; nothing shown." >&2; exit 77; }
done
[ -x "$bin/loadcalc" ] || { echo "screenshots: $bin/loadcalc is not built." >&2; exit 1; }
[ -f "$bin/电气计算.xls" ] || { echo "screenshots: $bin/电气计算.xls is missing." >&2; exit 1; }
mkdir -p "$out"
out=$(cd "$out" && pwd)

# The program reads (and backs up into) the workbook beside it, so it runs
# from a copy; its single-instance lock lives in a private runtime folder.
work=$(mktemp -d /tmp/loadcalc-shots-XXXXXX)
mkdir -m 700 "$work/runtime"
cp "$bin/loadcalc" "$bin/电气计算.xls" "$work/"
export XDG_RUNTIME_DIR="$work/runtime"
# The window's remembered place and size stay with this run: it opens as designed.
export XDG_CONFIG_HOME="$work/config"

xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

script_name=screenshots
# shellcheck source=tools/lib/x-session.sh
. "$(dirname "$0")/lib/x-session.sh"

shot() {
  sleep "${2:-0.5}"
  import -window root "$out/$1.png"
  echo "$out/$1.png"
}

# The screen point of a place given in the main dialog's units (372 x 270).
dialog_x=0 dialog_y=0 dialog_w=0 dialog_h=0
measure_dialog() {
  eval "$(xdotool getwindowgeometry --shell "$dialog")"
  dialog_x=$X dialog_y=$Y dialog_w=$WIDTH dialog_h=$HEIGHT
}
point() { echo "$((dialog_x + $1 * dialog_w / 372)) $((dialog_y + $2 * dialog_h / 270))"; }
# Centre of a control given as x y cx cy in dialog units.
centre() { point $(($1 + $3 / 2)) $(($2 + $4 / 2)); }

click_at() { xdotool mousemove $1 $2 click 1; }

# Takes screenshot $1 until it differs from $2, for up to 10 s after a first
# wait of $4 seconds: on a busy machine the program may answer late. Fails
# when the step ($3) changed nothing on screen.
shot_changed() {
  sleep "${4:-0.5}"
  for _ in $(seq 40); do
    import -window root "$out/$1.png"
    pixels=$(compare -metric AE "$out/$2.png" "$out/$1.png" null: 2>&1 || true)
    [ "${pixels%% *}" != "0" ] && { echo "$out/$1.png"; return 0; }
    sleep 0.25
  done
  fail "$3: $1 shows nothing new"
}

read_button="319 67 46 16"
calc_button="319 89 46 16"
about_button="319 157 46 16"
exit_button="319 179 46 16"
save_button="319 134 46 16"
balance_button="319 111 46 16"
l1_edit="44 77 31 13"

start_x_server
"$work/loadcalc" >"$work/loadcalc.log" 2>&1 &
app_pid=$!
dialog=$(find_window "Volmira") || fail "the main dialog did not appear"
measure_dialog
xdotool mousemove $(point 200 200)
shot 01-started

click_at $(centre $read_button)
shot_changed 02-after-read 01-started "读取" 1
click_at $(centre $calc_button)
shot_changed 03-after-calculate 02-after-read "计算" 1.5

# The XP-style buttons: an orange frame while the mouse rests on one, the
# caption shifted while it is held down; the flat edits: a black frame
# while the mouse rests on one.
xdotool mousemove $(centre $save_button)
shot_changed 04-button-hovered 03-after-calculate "the hover frame" 0.8
xdotool mousemove $(centre $calc_button)
sleep 0.5
xdotool mousedown 1
shot 05-button-pressed
xdotool mouseup 1
sleep 1
xdotool mousemove $(centre $l1_edit)
shot_changed 06-edit-hovered 05-button-pressed "the edit's hover frame" 0.8

# The rich tooltip: resting on 读取 shows its balloon (title, rule, text and
# the tip icon) after the initial delay; 计算 has none.
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
xdotool mousemove $(centre $read_button)
shot 07-tooltip-on-read 0.6
# Off the tip first: it lies over 计算 and would take the move itself.
xdotool mousemove $(point 200 200)
sleep 0.3
xdotool mousemove $(centre $calc_button)
shot_changed 08-no-tooltip-on-calculate 07-tooltip-on-read "the tooltip" 0.8

click_at $(centre $about_button)
about=$(find_window "关于 Tabrix") || fail "the About box did not appear"
shot 09-about-box
import -window "$about" "$out/09-about-box-window.png"
xdotool windowfocus --sync "$about" key Return
window_gone "关于 Tabrix" || fail "Enter did not close the About box"

# The dialog's own context menu holds the About item.
xdotool mousemove $(point 150 200) click 3
shot 10-context-menu
xdotool key Escape
sleep 0.3

# A second copy of the same program is refused and ends after OK.
"$work/loadcalc" >"$work/second.log" 2>&1 &
second_pid=$!
refusal=$(find_other_window "Volmira电气计算程序" "$dialog") || { kill "$second_pid" 2>/dev/null; fail "the second copy showed no message"; }
shot 11-second-copy-refused
xdotool windowfocus --sync "$refusal" key Return
for _ in $(seq 50); do kill -0 "$second_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$second_pid" 2>/dev/null; then kill "$second_pid"; fail "the second copy kept running"; fi

# The 计算书 of the sample workbook, written by the command-line tool
# without a display; its first page as a picture.
if [ -x "$bin/loadcalc-cli" ] && command -v pdftoppm >/dev/null; then
  env -u DISPLAY "$bin/loadcalc-cli" --workbook "$work/电气计算.xls" --report "$out/12-report.pdf" >/dev/null \
    || fail "loadcalc-cli --report failed"
  pdftoppm -png -r 100 -f 1 -l 1 -singlefile "$out/12-report.pdf" "$out/12-report-page-1" \
    || fail "pdftoppm could not show the report"
  echo "$out/12-report-page-1.png"
else
  echo "screenshots: loadcalc-cli or pdftoppm is missing; no picture of the report." >&2
fi

# The results are not saved: 退出 asks first, with 否 as the default; Tab
# moves to 是 and Space presses it.
click_at $(centre $exit_button)
question=$(find_other_window "Volmira电气计算程序" "$dialog") || fail "退出 with unsaved results did not ask"
shot 12-unsaved-results-question
xdotool windowfocus --sync "$question" key Tab key space
for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "退出 did not end the program"
wait "$app_pid" || fail "loadcalc ended with status $?"
app_pid=""

# A workbook of its own, in the .xlsx format: loadcalc AL1.xlsx names it in
# the title, and 读取 reads its circuits.
cp "$(dirname "$0")/../tests/fixtures/xlsx/sample_board.xlsx" "$work/AL1.xlsx"
"$work/loadcalc" "$work/AL1.xlsx" >"$work/loadcalc-xlsx.log" 2>&1 &
app_pid=$!
dialog=$(find_window "AL1.xlsx") || fail "the dialog on AL1.xlsx did not appear"
measure_dialog
xdotool mousemove $(point 200 200)
shot 13-chosen-xlsx-workbook
click_at $(centre $read_button)
shot_changed 14-chosen-xlsx-read 13-chosen-xlsx-workbook "读取 of AL1.xlsx" 1
# Without a window manager the title bar is not drawn: the title is kept beside the picture.
xdotool getwindowname "$dialog" >"$out/14-chosen-xlsx-title.txt"
grep -q " - AL1.xlsx$" "$out/14-chosen-xlsx-title.txt" || fail "the title does not name AL1.xlsx"
click_at $(centre $exit_button)
for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "退出 did not end the program on AL1.xlsx"
wait "$app_pid" || fail "loadcalc on AL1.xlsx ended with status $?"
app_pid=""

# Results that belong to the circuits shown: the sample calculated and
# balanced (the message lists the moved circuits, the list marks them),
# saved, and then another workbook handed over by a second start: the new
# circuits come without the old board's results.
# From its folder: 保存 proposes its name in the current folder.
(cd "$work" && exec ./loadcalc) >"$work/loadcalc-trust.log" 2>&1 &
app_pid=$!
dialog=$(find_window "Volmira") || fail "the main dialog did not appear again"
measure_dialog
xdotool mousemove $(point 200 200)
shot 15-before-trust
click_at $(centre $read_button)
shot_changed 15-sample-read 15-before-trust "读取 of the sample" 1
click_at $(centre $balance_button)
moves=$(find_other_window "Volmira电气计算程序" "$dialog") || fail "自动平衡 said nothing"
shot 16-balance-moved-circuits 1
xdotool windowfocus --sync "$moves" key Return
window_closed "$moves" || fail "Enter did not close the balance message"
shot 17-results-of-the-sample 0.5
click_at $(centre $save_button)
confirm_save "$dialog"
"$work/loadcalc" "$work/AL1.xlsx" >"$work/handed.log" 2>&1 || fail "the second start with AL1.xlsx failed"
# The balanced phases are saved with the results but not in the sample
# workbook itself: opening another one asks first; Tab and Space answer 是.
unwritten=$(find_other_window "Volmira电气计算程序" "$dialog") || fail "opening AL1.xlsx did not ask about the phases not written back"
shot 18-unwritten-phases-question 0.5
xdotool windowfocus --sync "$unwritten" key Tab key space
window_closed "$unwritten" || fail "是 did not close the question about the phases not written back"
shot_changed 18-another-workbook-without-old-results 17-results-of-the-sample "opening AL1.xlsx" 1

# Circuits with nonsense (a power "abc", −3 kW, a coefficient "x") are named
# in one message when 计算 is pressed.
/usr/bin/python3 - "$work/bad.xls" <<'PY' || fail "python3-xlwt could not write the bad board"
import sys, xlwt
book = xlwt.Workbook()
sheet = book.add_sheet("线路负荷计算")
rows = [["线路编号", "相别", "设备功率", "需要系数", "功率因数", "备注"],
        ["WL1", "L1", "abc", "0.8", "0.85", "照明"],
        ["WL2", "L2", "-3", "x", "0.85", "插座"],
        ["WL3", "L3", "2", "0.8", "1.2", "空调"]]
for r, row in enumerate(rows):
    for c, text in enumerate(row):
        sheet.write(r, c, text)
library = book.add_sheet("开关型号库")
for r, row in enumerate([["型号", "额定电流"], ["C16", "16"], ["C63", "63"]]):
    for c, text in enumerate(row):
        library.write(r, c, text)
book.save(sys.argv[1])
PY
"$work/loadcalc" "$work/bad.xls" >"$work/handed-bad.log" 2>&1 || fail "the second start with bad.xls failed"
sleep 1
click_at $(centre $calc_button)
named=$(find_other_window "Volmira电气计算程序" "$dialog") || fail "the bad circuits were not named"
shot 19-bad-circuits-named 1
xdotool windowfocus --sync "$named" key Return
window_closed "$named" || fail "Enter did not close the message naming the bad circuits"

# Editing in the list: a double-click on N2's 设备功率 opens an edit, Enter
# takes the new value and marks the cell, and the title says it is not
# written back; a double-click on 相别 offers the phases; the context menu
# holds the editing commands; Ctrl+W writes the change into the workbook.
cp "$bin/电气计算.xls" "$work/edit.xls"
"$work/loadcalc" "$work/edit.xls" >"$work/handed-edit.log" 2>&1 || fail "the second start with edit.xls failed"
sleep 1
xdotool mousemove $(point 200 200)
shot 20-before-editing
xdotool mousemove $(point 150 34) click --repeat 2 --delay 80 1
shot_changed 20-editing-a-cell 20-before-editing "a double-click on 设备功率" 0.5
xdotool key ctrl+a type "7.5"
xdotool key Return
xdotool mousemove $(point 200 200)
shot_changed 21-cell-edited 20-editing-a-cell "Enter in the cell's edit" 0.5
xdotool getwindowname "$dialog" >"$out/21-cell-edited-title.txt"
grep -q '^\*' "$out/21-cell-edited-title.txt" || fail "the title does not say the change is not written back"
xdotool mousemove $(point 100 44) click --repeat 2 --delay 80 1
shot_changed 22-phase-choice 21-cell-edited "a double-click on 相别" 0.5
xdotool key Escape
sleep 0.5
xdotool mousemove $(point 60 44) click 3
shot_changed 23-editing-context-menu 21-cell-edited "the context menu on a circuit" 0.5
xdotool key Escape
sleep 0.3
xdotool key ctrl+w
written=$(find_other_window "Volmira电气计算程序" "$dialog") || fail "写回工作簿 said nothing"
shot 24-written-back 0.5
xdotool windowfocus --sync "$written" key Return
window_closed "$written" || fail "Enter did not close the message of 写回工作簿"
xdotool getwindowname "$dialog" >"$out/24-written-back-title.txt"
grep -q '^\*' "$out/24-written-back-title.txt" && fail "写回工作簿 left the title saying the change is not written back"
echo "screenshots: done, in $out"
