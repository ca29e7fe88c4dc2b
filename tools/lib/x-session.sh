# The virtual X server and window look-ups the screen scripts share.
# The sourcing script sets `script_name` (for its messages) and `work` (its
# private folder, where every *.log is shown when a step fails), and keeps
# `xvfb_pid` to stop the server on exit.

# A failed step shows what the program and the X server said, so that a
# rare failure can be understood from the test's output alone.
show_logs() {
  local log
  for log in "$work"/*.log; do
    [ -s "$log" ] || continue
    echo "----- $(basename "$log") -----" >&2
    cat "$log" >&2
  done
}
fail() {
  echo "$script_name: $*" >&2
  show_logs
  exit 1
}

# Xvfb picks a free display number itself (-displayfd), so scripts running
# side by side, here or in other checkouts, never share a server. -noreset:
# an X server resets when its last client leaves, and refuses connections
# meanwhile; the probe below is such a client, and the program started right
# after it must find the server up.
# start_x_server [WIDTHxHEIGHT]: 1024x768 unless told.
start_x_server() {
  : >"$work/display"
  Xvfb -displayfd 3 -noreset -screen 0 "${1:-1024x768}x24" -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    if [ -s "$work/display" ]; then
      export DISPLAY=":$(head -n 1 "$work/display" | tr -d '[:space:]')"
      xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
    fi
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  fail "no virtual X server could be started"
}

# openbox on the server, keeping its pid in `wm_pid`; a few attempts, as
# it may start before the server takes clients.
start_window_manager() {
  local attempt
  for attempt in 1 2 3; do
    openbox >>"$work/openbox.log" 2>&1 &
    wm_pid=$!
    for _ in $(seq 100); do
      xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && return 0
      kill -0 "$wm_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$wm_pid" 2>/dev/null || true
    wm_pid=""
    echo "$script_name: openbox attempt $attempt on $DISPLAY failed" >&2
    sleep 1
  done
  xdotool getdisplaygeometry >&2 || echo "$script_name: $DISPLAY does not answer either" >&2
  fail "openbox did not start on $DISPLAY"
}

# Place of a window in the window manager's stacking order, bottom first.
stacking_place() {
  local list
  list=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g')
  local i=0 id
  for id in $list; do
    [ $((id)) -eq $(($1)) ] && { echo "$i"; return 0; }
    i=$((i + 1))
  done
  echo -1
}

# The id of the visible window whose title matches, waiting up to 10 s.
find_window() {
  local id
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

window_gone() {
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

# Message boxes carry the main dialog's title: the id of a visible window
# titled $1 other than window $2, waiting up to 10 s.
find_other_window() {
  local id
  for _ in $(seq 100); do
    for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
      [ $((id)) -ne $(($2)) ] && { echo "$id"; return 0; }
    done
    sleep 0.1
  done
  return 1
}

window_closed() {
  for _ in $(seq 50); do
    xwininfo -id "$1" 2>/dev/null | grep -q "IsViewable" || return 0
    sleep 0.1
  done
  return 1
}

# 保存 already pressed: Enter takes the proposed name in the file dialog and
# Enter closes the message that follows (titled like the main dialog $1).
confirm_save() {
  local files message
  files=$(find_window "另存为") || fail "the file dialog did not appear"
  xdotool windowfocus --sync "$files" key Return
  window_gone "另存为" || fail "Enter did not close the file dialog"
  message=$(find_other_window "Volmira电气计算程序" "$1") || fail "no message after the save"
  xdotool windowfocus --sync "$message" key Return
  window_closed "$message" || fail "Enter did not close the message after the save"
}
