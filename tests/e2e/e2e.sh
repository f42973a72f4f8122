#!/usr/bin/env bash
# End-to-end scenarios of the orelog program: its own headless X server, the demo pool on a port
# the OS picks, and xdotool, import and xclip in the player's place.
# usage: e2e.sh SCENARIO ORELOG DEMO-POOL E2E-CLOSE-WINDOW [E2E-NOTICE-RECORDER]
#   SCENARIO: play, second_copy, failing_pool, signal_at_name_dialog, stalled_connect, stalled_update,
#             dialogs, scaled_display, unreadable_record, worker_notice and hostile_worker_names
#             (which need the recorder)
set -euo pipefail
scenario=$1 orelog=$2 demo_pool=$3 close_window=$4 notice_recorder=${5:-}

readonly kSaveDialog='名前を付けて保存'
source "$(dirname "$0")/../support/desktop.sh"
source "$(dirname "$0")/../support/desktop_tour.sh"

# --- The world around the game ---------------------------------------------------------------------

start_display() {  # start_display [WIDTHxHEIGHT]
  start_gtk_session "$@"
  export XDG_DATA_HOME=$work/home/.local/share XDG_CONFIG_HOME=$work/home/.config
  install_fake_browser
}

# The desktop's default browser for https links, here a script that notes the link it is given.
install_fake_browser() {
  local apps=$XDG_DATA_HOME/applications
  mkdir -p "$apps" "$XDG_CONFIG_HOME"
  printf '#!/bin/sh\nprintf "%%s\\n" "$1" >"%s"\n' "$work/browser-got" >"$work/fake-browser"
  chmod +x "$work/fake-browser"
  printf '[Desktop Entry]\nType=Application\nName=Fake browser\nExec=%s %%u\nMimeType=x-scheme-handler/https;\n' \
    "$work/fake-browser" >"$apps/fake-browser.desktop"
  printf '[Default Applications]\nx-scheme-handler/https=fake-browser.desktop\n' >"$XDG_CONFIG_HOME/mimeapps.list"
}

start_desktop() { start_display; }
# The focus goes to the root window, away from every program's window; without a window manager
# nothing but the game's own request gives it back.
focus_elsewhere() { xdotool windowfocus "$(xwininfo -root | awk '/Window id:/ { print $4 }')"; }
start_pool() { start_demo_pool "$demo_pool" "$@"; }

# replace_pool FLAGS...: another demo pool, with FLAGS, in the place of the running one.
replace_pool() { replace_demo_pool "$demo_pool" "$@"; }

# start_game FOLDER [OPTIONS...]: runs the game in FOLDER; sets game_pid.
start_game() {
  local folder=$1
  shift
  mkdir -p "$folder"
  (cd "$folder" && exec "$orelog" "$@") >"$work/game-$(basename "$folder").log" 2>&1 &
  game_pid=$!
  background+=("$game_pid")
}

# A session bus of the scenario's own, as DBUS_SESSION_BUS_ADDRESS, that starts no service by itself.
start_session_bus() {
  dbus-daemon --config-file="$(dirname "$0")/session-bus.conf" --nofork --print-address=1 \
    >"$work/bus.address" 2>"$work/bus.log" &
  background+=($!)
  wait_until "the session bus" grep -q '^unix:' "$work/bus.address"
  export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus.address")
}

# The desktop's notification service, here one that notes each notice in notices.out.
start_notice_recorder() {
  "$notice_recorder" >"$work/notices.out" 2>"$work/recorder.log" &
  background+=($!)
  wait_until "the notification service" grep -qx ready "$work/notices.out"
}

# pool_workers RATE-A RATE-B: the two workers' hashrates from the pool's next answer on. The file
# is replaced whole, so the pool never reads half of it.
pool_workers() {
  printf '{"workers":[{"username":"p.a","hashrate":%s},{"username":"p.b&c","hashrate":%s}],
    "balance":{"confirmed":1,"unconfirmed":0},"transactions":[]}' "$1" "$2" >"$work/pool.json.new"
  mv "$work/pool.json.new" "$work/pool.json"
}

# --- Looking at the screen -------------------------------------------------------------------------

# looks_other_than WINDOW PICTURE GEOMETRY: the window's area GEOMETRY no longer shows PICTURE.
looks_other_than() {
  shot "$1" "$work/now.png" "$3"
  ! same_pictures "$2" "$work/now.png"
}


# A window that cannot be resized (nor so maximised): its smallest and largest sizes are both SIZE.
size_is_fixed_at() {
  local hints min max
  hints=$(xprop -id "$1" WM_NORMAL_HINTS)
  min=$(awk '/minimum size:/ { print $5 "x" $7 }' <<<"$hints")
  max=$(awk '/maximum size:/ { print $5 "x" $7 }' <<<"$hints")
  [[ $min == "$2" && $max == "$2" ]]
}


# --- Acting as the player --------------------------------------------------------------------------

primary_matches() { timeout 5 xclip -o -selection primary 2>/dev/null | grep -Eq "$1"; }
primary_is() { [[ $(timeout 5 xclip -o -selection primary 2>/dev/null) == "$1" ]]; }

# A dialog the player can neither resize nor maximise: its smallest and largest sizes are its size.
size_is_fixed() { size_is_fixed_at "$1" "$(client_size "$1")"; }

# expect_message TEXT: the error box, of a fixed size, shows exactly TEXT; it is then closed.
expect_message() {
  local box
  box=$(await_window "$kMessageBox")
  wait_until "the message box's fixed size" size_is_fixed "$box"
  xdotool mousemove --window "$box" 5 5
  xdotool key Tab  # the focus moves from OK onto the text, which selects it
  wait_until "the message \"$1\"" primary_is "$1"
  xdotool key Escape
  wait_until "the message box to close" window_gone "$kMessageBox"
}

cancel_name_dialog() {
  local dialog
  dialog=$(await_window "$kNameDialog")
  wait_until "the name dialog's fixed size" size_is_fixed "$dialog"
  xdotool mousemove --window "$dialog" 10 10 key Escape
  wait_until "the name dialog to close" window_gone "$kNameDialog"
}

readonly kServerField='200 18' kKeyField='200 45'

# connected_game FOLDER [OPTIONS...]: starts the game, cancels the name dialog and connects to the
# demo pool; sets main (the window) once the game screen is there.
connected_game() {
  start_game "$@"
  cancel_name_dialog
  main=$(await_window "$kTitle")
  connect "$main" "$pool_url" demo
  wait_until "the game screen's size" client_size_is "$main" 520x300
}

# --- The steps of the shared tour that are this program's own --------------------------------------

# check_window_frame WINDOW SIZE: a window of a fixed SIZE, centred for the game screen's height on
# the 1280 x 800 screen: ((1280 - 520) / 2, (800 - 62 - 238) / 2).
check_window_frame() {
  wait_until "a fixed window size" size_is_fixed_at "$1" "$2"
  [[ $(window_place "$1") == 380,250 ]] || fail "the window is at $(window_place "$1")"
}

press_connect_again() { xdotool key Return; }

# play_more WINDOW: a screenshot saved through the file chooser, and the share link.
play_more() {
  local main=$1
  step "save a screenshot"
  click "$main" 490 60
  local chooser
  chooser=$(await_window "$kSaveDialog")
  wait_until "the proposed file name" primary_matches '^Orelog[0-9]{14}$'  # shown selected, ".png" aside
  xdotool mousemove --window "$chooser" 5 5
  xdotool key ctrl+a
  xdotool type --delay 5 -- "$work/shot-by-player.png"
  xdotool key Return
  wait_until "the file chooser to close" window_gone "$kSaveDialog"
  wait_until "the screenshot file" test -s "$work/shot-by-player.png"
  [[ $(identify -format '%wx%h' "$work/shot-by-player.png") == 520x300 ]] || fail "the screenshot is not 520x300"

  step "share: the link goes to the desktop's browser"
  click "$main" 490 20
  wait_until "the browser to be asked" test -s "$work/browser-got"
  grep -q '^https://.*/intent/tweet?text=.*&hashtags=' "$work/browser-got" || fail "odd share link: $(cat "$work/browser-got")"
}

# end_first_copy PID: a TERM signal ends the first copy the way its close box does.
end_first_copy() {
  step "a TERM signal ends the first copy the way its close box does"
  [[ ! -e $work/first/config.json ]] || fail "the first copy saved before its end"
  kill -TERM "$1"
  local status=0
  wait "$1" || status=$?
  [[ $status -eq 0 ]] || fail "the first copy ended with code $status"
}

# --- Scenarios --------------------------------------------------------------------------------------

# A TERM signal while the start-up name dialog waits ends the game at once, progress saved, instead
# of leaving a dialog, or a main loop without a window, behind.
scenario_signal_at_name_dialog() {
  start_display
  start_game "$work/game"
  await_window "$kNameDialog" >/dev/null
  kill -TERM "$game_pid"
  local status=0
  wait "$game_pid" || status=$?
  [[ $status -eq 0 ]] || fail "the game ended with code $status"
  grep -q '"Version":3' "$work/game/config.json" || fail "the game did not save at its end"
}

# The connect screen's three controls, and the play field where the characters dig.
readonly kControlsArea='520x58+0+2' kCharacterArea='324x168+32+100'

# A pool that takes 20 s to answer: the window is not frozen meanwhile.
scenario_stalled_connect() {
  start_display
  start_pool --fault stall=20@getuserworkers
  start_game "$work/game"
  cancel_name_dialog
  local main
  main=$(await_window "$kTitle")
  type_into "$main" $kServerField "$pool_url"
  type_into "$main" $kKeyField demo
  xdotool mousemove --window "$main" 5 5
  shot "$main" "$work/idle.png" "$kControlsArea"

  step "press connect: the controls show greyed while the pool is asked"
  local pressed=$SECONDS
  click "$main" 474 17
  wait_until "the controls to change" looks_other_than "$main" "$work/idle.png" "$kControlsArea"
  ((SECONDS - pressed < 20)) || fail "the check came after the pool's answer"
  [[ $(client_size "$main") == 520x62 ]] || fail "the game screen came before the pool answered"
  open_and_close_about "$main" alt+question  # the keyboard still works

  step "the first cycle ends, the game screen comes"
  wait_until "the game screen's size" client_size_is "$main" 520x300
  close_game "$main"
}

# The 150 s update (here 2 s) meets a pool that never answers: the characters dig on, and closing
# the window ends the game at once, progress saved.
scenario_stalled_update() {
  start_display
  start_pool
  local main
  connected_game "$work/game" --update-interval 2
  wait_until "the top page's grey" pixel_is "$main" $kBackgroundPoint "$kTopGrey"

  step "the pool stops answering; the next update waits for it"
  replace_pool --fault stall
  await_pool_asked
  # Every animation phase repeats after 12 ticks (about 1 s), so two shots that a busy machine
  # happens to take a whole period apart look alike: a frozen window never changes at all.
  local tries=0
  shot "$main" "$work/before.png" "$kCharacterArea"
  while :; do
    sleep 0.5
    shot "$main" "$work/after.png" "$kCharacterArea"
    ! same_pictures "$work/before.png" "$work/after.png" && break
    (( ++tries < 10 )) || fail "the characters stood still during the update"
    mv "$work/after.png" "$work/before.png"
  done
  open_and_close_about "$main" alt+slash

  step "closing the window during the wait ends the game, progress saved"
  rm -f "$work/game/config.json"
  close_game "$main"
  grep -q '"Version":3' "$work/game/config.json" || fail "the game did not save at its end"
}

# --- How the boxes and dialogs look -----------------------------------------------------------------

picture_width() { identify -format %w "$1"; }
picture_height() { identify -format %h "$1"; }
# colours_in PICTURE WxH+X+Y: how many different colours the area holds.
colours_in() { convert "$1" -crop "$2" +repage -format %k info:; }

# lightness PICTURE X Y: 0 (black) to 100 (white).
lightness() { convert "$1" -crop "1x1+$2+$3" +repage -colorspace Gray -format '%[fx:int(100*p)]' info:; }

# A dialog's button at its bottom right is whole when, in the button's column, its bottom border
# (a line darker than what lies below it, margin or shadow) lies inside the dialog, rather than the
# button running on into the dialog's edge.
buttons_are_whole() {
  local width height x y
  width=$(picture_width "$1") height=$(picture_height "$1")
  x=$((width - 12))
  for ((y = height - 2; y > height * 2 / 3; y--)); do
    (($(lightness "$1" $x $y) + 10 <= $(lightness "$1" $x $((y + 1))))) && return 0
  done
  return 1
}

# The credits box (a crop of it): a scroll bar at its right edge, set apart from the text's
# background, and a plain strip between the left border and the text.
readonly kCreditsBoxArea='400x80+30+200'
# shows_whole_buttons WINDOW FILE: a screenshot of the dialog, once drawn, shows its buttons whole.
shows_whole_buttons() { shot "$1" "$2" && buttons_are_whole "$2"; }

credits_box_is_right() {
  local width height
  width=$(picture_width "$1") height=$(picture_height "$1")
  [[ $(colours_in "$1" "1x$((height - 2))+3+1") == 1 ]] || fail "the credits text touches the box's left border"
  [[ $(pixel_of "$1" $((width - 3)) $((height / 2))) != $(pixel_of "$1" 3 $((height / 2))) ]] ||
    fail "the credits box shows no scroll bar"
}

# no_black_block PICTURE WxH+X+Y: no 7 x 7 square of pure black in the area.
no_black_block() {
  local found
  found=$(convert "$1" -crop "$2" +repage -fill gray -opaque white -fill white -opaque black -fill black +opaque white \
    -morphology Erode Square:3 -format '%[fx:maxima]' info:)
  [[ $found == 0 ]]
}

# area_over WINDOW OTHER: the part of WINDOW that OTHER covers, as WxH+X+Y in WINDOW's pixels.
area_over() {
  local wx wy ox oy ow oh ww wh
  IFS=, read -r wx wy <<<"$(window_place "$1")"
  IFS=, read -r ox oy <<<"$(window_place "$2")"
  IFS=x read -r ww wh <<<"$(client_size "$1")"
  IFS=x read -r ow oh <<<"$(client_size "$2")"
  local left=$((ox - wx > 0 ? ox - wx : 0)) top=$((oy - wy > 0 ? oy - wy : 0))
  local right=$((ox - wx + ow < ww ? ox - wx + ow : ww)) bottom=$((oy - wy + oh < wh ? oy - wy + oh : wh))
  echo "$((right - left))x$((bottom - top))+$left+$top"
}

# fits_screen WINDOW WIDTH HEIGHT: the whole window lies on a screen of that size.
fits_screen() {
  local x y w h
  IFS=, read -r x y <<<"$(window_place "$1")"
  IFS=x read -r w h <<<"$(client_size "$1")"
  ((x >= 0 && y >= 0 && x + w <= $2 && y + h <= $3))
}

# The boxes and dialogs at GTK's own metrics on a 1024 x 768 screen, without a session bus.
scenario_dialogs() {
  start_display 1024x768
  unset GSETTINGS_BACKEND DBUS_SESSION_BUS_ADDRESS  # the game chooses where GTK keeps its settings
  start_pool
  start_game "$work/game"

  step "the name dialog's button is whole"
  local dialog
  dialog=$(await_window "$kNameDialog")
  wait_until "the name dialog's button, whole" shows_whole_buttons "$dialog" "$work/name-dialog.png"
  xdotool mousemove --window "$dialog" 10 10 key Escape
  wait_until "the name dialog to close" window_gone "$kNameDialog"
  local main
  main=$(await_window "$kTitle")

  step "About's button is whole"
  xdotool mousemove --window "$main" 5 5 key alt+question
  local about
  about=$(await_window "$kAbout")
  wait_until "About's button, whole" shows_whole_buttons "$about" "$work/about.png"
  xdotool mousemove --window "$about" 5 5 key Escape
  wait_until "the About box to close" window_gone "$kAbout"

  step "the credits box shows its scroll bar before any scrolling"
  connect "$main" "$pool_url" demo
  wait_until "the game screen's size" client_size_is "$main" 520x300
  wait_until "the top page's grey" pixel_is "$main" $kBackgroundPoint "$kTopGrey"
  click "$main" $kBack
  wait_until "the credits text box" pixel_is_not "$main" $kCreditsBoxPoint "$kCreditsNavy"
  shot "$main" "$work/credits-box.png" "$kCreditsBoxArea"
  credits_box_is_right "$work/credits-box.png"
  back_to_top "$main"

  step "where the name dialog stood, the page shows again at once"
  click "$main" 90 77
  wait_until "the status page" pixel_is "$main" $kBackgroundPoint "$kPageBlue"
  click "$main" 302 78
  dialog=$(await_window "$kNameDialog")
  local covered
  covered=$(area_over "$main" "$dialog")
  xdotool mousemove --window "$dialog" 10 10 key Escape
  wait_until "the name dialog to close" window_gone "$kNameDialog"
  shot "$main" "$work/after-name-dialog.png"
  no_black_block "$work/after-name-dialog.png" "$covered" || fail "a black patch where the name dialog stood"
  back_to_top "$main"

  step "the save dialog fits the screen"
  click "$main" 490 60
  local chooser
  chooser=$(await_window "$kSaveDialog")
  fits_screen "$chooser" 1024 768 || fail "the save dialog is $(client_size "$chooser") at $(window_place "$chooser")"
  xdotool mousemove --window "$chooser" 5 5 key Escape
  wait_until "the file chooser to close" window_gone "$kSaveDialog"

  close_game "$main"
  ! grep -i 'dconf\|dbus' "$work/game-game.log" || fail "GTK complained about its settings store"
}

# On a display scaled by 2 the window keeps its size in points.
scenario_scaled_display() {
  start_display
  export GDK_SCALE=2
  play_doubled
}

# --- A record the game cannot read -----------------------------------------------------------------

# A record left owner-only by another user (a first run under sudo): the game, started as a user who
# cannot read it (another one when the test runs as root), says why and never replaces the file.
scenario_unreadable_record() {
  start_display
  local folder=$work/shared runner=() game=$orelog
  local record='{"API Key":"demo","Level":37,"Server":"http:\/\/127.0.0.1:1\/"}'
  mkdir -p "$folder"
  printf '%s' "$record" >"$folder/config.json"
  if ((EUID == 0)); then
    chmod 600 "$folder/config.json"
    chmod 755 "$work" "$folder"
    mkdir -m 700 "$work/other-run" "$work/other-home"
    chown 65534:65534 "$work/other-run" "$work/other-home"
    # The build folder may lie where the other user cannot reach (a clone in a private temporary
    # folder): that user runs a copy of the game from the test's own folder.
    game=$work/orelog
    install -m 755 "$orelog" "$game"
    runner=(setpriv --reuid=65534 --regid=65534 --clear-groups
      env XDG_RUNTIME_DIR="$work/other-run" HOME="$work/other-home" XDG_DATA_HOME="$work/other-home"
      XDG_CONFIG_HOME="$work/other-home")
  else
    chmod 000 "$folder/config.json"
  fi
  (cd "$folder" && exec "${runner[@]}" "$game") >"$work/game-shared.log" 2>&1 &
  game_pid=$!
  background+=("$game_pid")
  expect_message '設定ファイル（config.json）を読み込めないため、設定を保存せずに続けます。ファイルの所有者とアクセス権を確認してください。'
  cancel_name_dialog
  close_game "$(await_window "$kTitle")"
  chmod 600 "$folder/config.json"
  [[ $(cat "$folder/config.json") == "$record" ]] || fail "the record changed: $(cat "$folder/config.json")"
  [[ $(ls -A "$folder") == config.json ]] || fail "files were added: $(ls -A "$folder")"
}

# --- Desktop notices --------------------------------------------------------------------------------

# A worker stops and runs again between updates (here every 2 s). While the bus has no notification
# service the game's question goes unanswered: nothing on the terminal, the window answers on.
# Then the recording service is told the return and the next stop, with the game's title and icon;
# the worker's name "b&c" arrives escaped, since the service reads the body as markup.
scenario_worker_notice() {
  start_display
  start_session_bus
  pool_workers 40 20
  start_pool --data "$work/pool.json"
  dbus-monitor --session "interface='org.freedesktop.Notifications'" >"$work/monitor.out" 2>/dev/null &
  background+=($!)
  # A monitor gives up its own name once the bus sends it everything.
  wait_until "the bus monitor" grep -q 'member=NameLost' "$work/monitor.out"
  local main
  connected_game "$work/game" --update-interval 2

  step "no notification service: the stop goes unseen and unsaid"
  pool_workers 40 0
  wait_until "the game to ask for the notification service" grep -q 'member=GetCapabilities' "$work/monitor.out"
  open_and_close_about "$main" alt+slash
  [[ ! -s $work/game-game.log ]] || fail "the game wrote on the terminal: $(head -c 500 "$work/game-game.log")"

  step "the recording service is told the return, then the next stop"
  start_notice_recorder
  pool_workers 40 20
  wait_until "the notice of the return" grep -q '動き出しました' "$work/notices.out"
  pool_workers 40 0
  wait_until "the notice of the stop" grep -q '止まりました' "$work/notices.out"
  local expected
  expected=$(printf '%s\t%s\t%s\t48x48\n' "$kTitle" "$kTitle" 'ワーカー「b&amp;c」が動き出しました。' \
    "$kTitle" "$kTitle" 'ワーカー「b&amp;c」が止まりました。')
  [[ $(sed 1d "$work/notices.out") == "$expected" ]] || fail "the service was told: $(cat "$work/notices.out")"
  close_game "$main"
  [[ ! -s $work/game-game.log ]] || fail "the game wrote on the terminal: $(head -c 500 "$work/game-game.log")"
}

# Worker names as a hostile pool sends them stop and run again: each notice is one clean line of
# text and markup (no control character, no character reference the markup cannot hold, no
# right-to-left override), names no worker that is not there, and leaves no name empty.
scenario_hostile_worker_names() {
  start_display
  start_session_bus
  start_notice_recorder
  local long
  printf -v long '%65536s' ''
  long=p.${long// /w}  # 64 kB: too long for a character's name, so shown as the pool's name cut with "…"
  hostile_workers() {  # hostile_workers RATE: the hostile workers' hashrate from the next answer on
    printf '{"workers":[{"username":"p.a","hashrate":40},{"username":"p.evil\\nnotice: fake","hashrate":%s},
      {"username":"p.esc\\u001b[2J\\r","hashrate":%s},{"username":"p.\xe2\x80\xaegnp.exe","hashrate":%s},
      {"username":"p.bad\xff\xfe","hashrate":%s},{"username":"%s","hashrate":%s}],
      "balance":{"confirmed":1,"unconfirmed":0},"transactions":[]}' \
      "$1" "$1" "$1" "$1" "$long" "$1" >"$work/pool.json.new"
    mv "$work/pool.json.new" "$work/pool.json"
  }
  hostile_workers 20
  start_pool --data "$work/pool.json"
  local main
  connected_game "$work/game" --update-interval 2
  hostile_workers 0
  wait_until "the notice of the stop" grep -q '止まりました' "$work/notices.out"
  hostile_workers 20
  wait_until "the notice of the return" grep -q '動き出しました' "$work/notices.out"
  close_game "$main"
  local fffd=$'\xef\xbf\xbd' expected_names
  expected_names="bad$fffd$fffd、esc$fffd[2J$fffd、evil${fffd}notice: fake、gnp.exe、${long:0:62}…"
  local expected
  expected=$(printf '%s\t%s\t%s\t48x48\n' "$kTitle" "$kTitle" "ワーカー「$expected_names」が止まりました。" \
    "$kTitle" "$kTitle" "ワーカー「$expected_names」が動き出しました。")
  [[ $(sed 1d "$work/notices.out") == "$expected" ]] || fail "the service was told: $(cut -c1-2000 "$work/notices.out" | cat -A)"
  ! grep -q '「、\|、、\|、」' "$work/notices.out" || fail "a notice lists an empty entry"
  ! LC_ALL=C grep -q $'[\x01-\x08\x0b-\x1f\x7f]\|&#x\|\xe2\x80\xae' "$work/notices.out" || fail "a raw control reached the service"
}

case $scenario in
  play | second_copy | failing_pool | signal_at_name_dialog | stalled_connect | stalled_update | dialogs | scaled_display | \
    worker_notice | unreadable_record | hostile_worker_names | log_page)
    "scenario_$scenario"
    ;;
  *) fail "no scenario named $scenario" ;;
esac
echo "PASS ($scenario)"
