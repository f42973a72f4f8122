#!/usr/bin/env bash
# The player's eyes and hands on a headless X desktop, shared by the end-to-end scenarios, the Wine
# scenarios and the figures bench. Source it after setting `scenario` (named in failures); it makes
# the scratch folder `work`, kills what was started in the background and removes `work` on exit.
#   kDeadline (default 60): seconds any awaited condition may take.
#   kTypingDelayMs (default 5): the pause between typed keys.
#   stop_extras: a function the caller may define; run first on exit.

readonly kTitle='ホリダスα' kNameDialog='名前設定' kMessageBox='エラー' kAbout='About Orelog'
readonly kTopGrey='#D3D0C9' kSkyBlue='#55A9FF' kPageBlue='#508DFF' kCreditsNavy='#28507F'
# The back button, and the places where every page but the top shows its background, and where
# the credits page shows its text box.
readonly kBack='500 290' kBackgroundPoint='5 150' kCreditsBoxPoint='200 275'
: "${kDeadline:=60}" "${kTypingDelayMs:=5}"

work=$(mktemp -d "${TMPDIR:-/tmp}/orelog-${scenario:-desktop}.XXXXXX")
background=()
cleanup() {
  local pid
  if declare -F stop_extras >/dev/null; then stop_extras || true; fi
  for pid in "${background[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# fail WHY: names the scenario and the failure, shows the end of every log, and ends the script.
fail() {
  echo "FAIL (${scenario:-}): $*" >&2
  local log
  for log in "$work"/*.log; do [[ -s $log ]] && { echo "== $log" >&2; tail -n 60 "$log" >&2; }; done
  exit 1
}
step() { echo "-- ${SECONDS}s: $*"; }  # the time since the start: where a loaded machine is slow

# wait_until WHAT COMMAND...: polls the command until it succeeds, failing after the deadline.
wait_until() {
  local what=$1 deadline=$((SECONDS + kDeadline))
  shift
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < deadline)) || fail "timed out waiting for $what"
    sleep 0.1
  done
}

# start_xvfb [WIDTHxHEIGHT]: a headless X server of its own (1280 x 800 unless told), as DISPLAY.
# Each server writes its number into a file of its own: a second server must never be taken for the
# first while the shell is still opening its file.
start_xvfb() {
  local display_file
  display_file=$(mktemp "$work/display.XXXXXX")
  Xvfb -displayfd 3 -screen 0 "${1:-1280x800}x24" -nolisten tcp 3>"$display_file" 2>>"$work/xvfb.log" &
  background+=($!)
  wait_until "the X server" grep -q '^[0-9][0-9]*$' "$display_file"
  export DISPLAY=":$(head -n1 "$display_file")"
}

# start_gtk_session [WIDTHxHEIGHT]: an X server as start_xvfb, and a runtime folder and home of the
# test's own, so the game's lock, settings and GTK state stay inside it.
start_gtk_session() {
  start_xvfb "$@"
  mkdir -m 700 "$work/run" "$work/home"
  export XDG_RUNTIME_DIR=$work/run HOME=$work/home GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1
  unset XDG_DATA_HOME XDG_CONFIG_HOME WAYLAND_DISPLAY
}

# start_demo_pool PROGRAM [FLAGS...]: the demo pool on a port the OS picks; sets pool_url (its
# script), pool_port and pool_pid.
start_demo_pool() { launch_demo_pool 0 "$@"; }

# launch_demo_pool PORT PROGRAM [FLAGS...]: the demo pool on PORT (0: the OS picks one). Like the X
# server, each pool writes its address into a file of its own, made before the pool starts: a pool
# started right after another must never be read from the other's line, nor from a file its shell
# has just emptied. Only a whole line counts.
launch_demo_pool() {
  local port=$1 program=$2 address_file
  shift 2
  address_file=$(mktemp "$work/pool-XXXXXX.out")
  "$program" --port "$port" "$@" >"$address_file" 2>"${address_file%.out}.log" &
  pool_pid=$!
  background+=("$pool_pid")
  wait_until "the demo pool's address" has_address_line "$address_file"
  pool_port=$(address_line_port "$address_file")
  pool_url="http://127.0.0.1:$pool_port/index.php"
}
# The port of the whole first line "http://127.0.0.1:PORT/" (a Windows console program ends it with
# CR LF), or nothing.
address_line_port() { tr -d '\r' <"$1" | sed -E -n '1s|^http://127\.0\.0\.1:([0-9]+)/$|\1|p'; }
has_address_line() { [[ -n $(address_line_port "$1") ]]; }

# replace_demo_pool PROGRAM [FLAGS...]: another demo pool, with FLAGS, on the running one's port.
replace_demo_pool() {
  kill "$pool_pid"
  wait "$pool_pid" 2>/dev/null || true
  launch_demo_pool "$pool_port" "$@"
}

# pool_is_asked: a connection to the demo pool's port is open; the pool holds a request then.
pool_is_asked() {
  awk -v port="$(printf ':%04X' "$pool_port")" '$2 ~ port "$" && $4 == "01" { found = 1 } END { exit !found }' \
    /proc/net/tcp
}
pool_asked_or_refused() { pool_is_asked || window_shown "$kMessageBox"; }

# await_pool_asked: the game's next update holds a request at the pool. An update that met the port
# while no pool listened on it, as a replaced pool's does, ends in a message box; that is closed and
# the update after it awaited.
await_pool_asked() {
  wait_until "the next update to ask the pool" pool_asked_or_refused
  pool_is_asked && return
  step "an update met the port between the pools; its message box is closed"
  xdotool mousemove --window "$(window_named "$kMessageBox")" 5 5 key Escape
  wait_until "the message box to close" window_gone "$kMessageBox"
  wait_until "the next update to ask the pool" pool_is_asked
}

# --- Looking at the screen -------------------------------------------------------------------------

window_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1; }
window_shown() { [[ -n $(window_named "$1") ]]; }
window_gone() { [[ -z $(window_named "$1") ]]; }

# await_window NAME: waits for it and prints its id.
await_window() {
  wait_until "the window \"$1\"" window_shown "$1"
  window_named "$1"
}

client_size() { xwininfo -id "$1" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'; }
client_size_is() { [[ $(client_size "$1") == "$2" ]]; }
# The screen position of the window's top-left corner as "X,Y".
window_place() { xwininfo -id "$1" | awk '/Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 } END { print x "," y }'; }

# pixel_of FILE X Y / pixel WINDOW X Y: the colour there as #RRGGBB.
pixel_of() { convert "$1" -crop "1x1+$2+$3" +repage -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}'; }
pixel() {
  import -window "$1" "$work/shot.png" 2>/dev/null
  pixel_of "$work/shot.png" "$2" "$3"
}
# shot WINDOW FILE [GEOMETRY]: a screenshot of the window, or of the part WxH+X+Y of it.
shot() {
  import -window "$1" "$2" 2>/dev/null
  [[ -z ${3:-} ]] || convert "$2" -crop "$3" +repage "$2"
}
# pixels_differing A B: the number of pixels in which two pictures differ.
pixels_differing() { compare -metric AE "$1" "$2" null: 2>&1 || true; }
same_pictures() { [[ $(pixels_differing "$1" "$2") == 0 ]]; }

pixel_is() { [[ $(pixel "$1" "$2" "$3") == "$4" ]]; }

# The window with the keyboard focus is WINDOW or lies inside it.
has_focus() {
  local window
  window=$(xdotool getwindowfocus -f 2>/dev/null) || return 1
  while ((window > 0)); do
    ((window == $1)) && return 0
    window=$(xwininfo -children -id "$window" 2>/dev/null | awk '/Parent window id:/ { print $4 }')
    [[ -n $window ]] || return 1
  done
  return 1
}
pixel_is_not() { [[ $(pixel "$1" "$2" "$3") != "$4" ]]; }

# --- Acting as the player --------------------------------------------------------------------------

click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

# type_into WINDOW X Y TEXT: replaces the text of the field at (X, Y).
type_into() {
  click "$1" "$2" "$3"
  xdotool key ctrl+a
  xdotool type --delay "$kTypingDelayMs" -- "$4"
}

open_and_close_about() {  # open_and_close_about WINDOW KEY
  xdotool mousemove --window "$1" 5 5 key "$2"
  local about
  about=$(await_window "$kAbout")
  xdotool mousemove --window "$about" 5 5 key Escape
  wait_until "the About box to close" window_gone "$kAbout"
}

# close_game WINDOW: the close box; the game (game_pid) must end by itself with code 0.
close_game() {
  "$close_window" "$1"
  local status=0
  wait "$game_pid" || status=$?
  [[ $status -eq 0 ]] || fail "the game ended with code $status"
}
