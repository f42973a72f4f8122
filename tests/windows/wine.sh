#!/usr/bin/env bash
# The Windows programs under Wine: each scenario its own prefix and headless X server, the demo pool
# on a port the OS picks, and xdotool and import in the player's place.
# usage: wine.sh SCENARIO LINUX-TOOL DEMO-POOL CLOSE-WINDOW
#   SCENARIO: version, fetch, same_record, same_pages, play, second_copy, failing_pool, high_dpi, notice
# The Windows programs come from $ORELOG_WINDOWS_PROGRAMS, by default the folder scripts/build-windows
# builds for this machine's Wine.
set -euo pipefail
scenario=$1 linux_tool=$(realpath "$2") demo_pool=$(realpath "$3") close_window=$(realpath "$4")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
source "$here/wine-env.sh"

readonly kDeadline=90  # seconds any awaited condition may take; Wine starts slowly on a busy machine
readonly kTypingDelayMs=20

if [[ -z ${ORELOG_WINDOWS_PROGRAMS:-} ]]; then
  ORELOG_WINDOWS_PROGRAMS=$root/build-windows
  can_run_32_bit || ORELOG_WINDOWS_PROGRAMS+=64
fi
game_exe=$ORELOG_WINDOWS_PROGRAMS/orelog.exe
tool_exe=$ORELOG_WINDOWS_PROGRAMS/orelog-tool.exe
probe_exe=$ORELOG_WINDOWS_PROGRAMS/http-probe.exe
notice_probe_exe=$ORELOG_WINDOWS_PROGRAMS/notice-probe.exe

# Wine's own processes end before the scratch folder with its prefix goes.
stop_extras() { [[ -z ${WINEPREFIX:-} ]] || "$WINESERVER" -k 2>/dev/null; }
source "$root/tests/support/desktop.sh"

# --- The world around the programs ----------------------------------------------------------------

start_wine() {
  [[ -f $game_exe && -f $tool_exe ]] || fail "no Windows programs in $ORELOG_WINDOWS_PROGRAMS (run scripts/build-windows)"
  start_xvfb
  step "a fresh Wine prefix"
  wine_prefix "$work/prefix"
}

start_pool() { start_demo_pool "$demo_pool" "$@"; }

# start_game FOLDER [OPTIONS...]: runs orelog.exe in FOLDER with the options; sets game_pid and
# game_log, where Wine notes the text of every message box the game opens.
start_game() {
  local folder=$1
  shift
  mkdir -p "$folder"
  game_log=$work/game-$(basename "$folder").log
  (cd "$folder" && WINEDEBUG=-all,trace+msgbox exec "$WINELOADER" "$game_exe" "$@") >"$game_log" 2>&1 &
  game_pid=$!
  background+=("$game_pid")
}

# in_folder FOLDER COMMAND...: runs the command there.
in_folder() { (cd "$1" && shift && "$@"); }
windows_tool() { "$WINELOADER" "$tool_exe" "$@"; }

# --- Looking at the screen ----------------------------------------------------------------------------

shoot() { import -window "$1" "$2" 2>/dev/null; }
# The number of pixels in which two pictures differ.
pixels_differing() { compare -metric AE "$1" "$2" null: 2>&1 || true; }

# --- Acting as the player -----------------------------------------------------------------------------

# TEXT as Wine's trace writes a wide string: ASCII as it is, every other unit as \xxxx.
wine_trace_text() {
  perl -CA -e 'print join "", map { my $c = ord; $c >= 32 && $c < 127 ? $_ : sprintf "\\%04x", $c } split //, $ARGV[0]' "$1"
}

# expect_message TEXT: the game opens an error box with exactly TEXT; it is then closed.
expect_message() {
  local box traced
  box=$(await_window "$kMessageBox")
  traced="msgbox:MSGBOX_OnInit L\"$(wine_trace_text "$1")\""
  wait_until "the message \"$1\"" grep -qF -- "$traced" "$game_log"
  "$close_window" "$box"
  wait_until "the message box to close" window_gone "$kMessageBox"
}

cancel_name_dialog() {
  local dialog
  dialog=$(await_window "$kNameDialog")
  xdotool mousemove --window "$dialog" 10 10 click 1 key Escape
  wait_until "the name dialog to close" window_gone "$kNameDialog"
}

connect() {  # connect WINDOW URL KEY
  type_into "$1" 200 15 "$2"
  type_into "$1" 200 42 "$3"
  click "$1" 474 17
}

# --- Scenarios: the tools -------------------------------------------------------------------------------

# Both programs print their version on standard output and end with 0; the game, a GUI program
# without a console, through the output it inherited.
scenario_version() {
  start_wine
  local exe got
  for exe in "$game_exe" "$tool_exe"; do
    got=$(cd "$work" && "$WINELOADER" "$exe" --version | tr -d '\r') || fail "$(basename "$exe") --version failed"
    [[ $got == "Orelog 1.0" ]] || fail "$(basename "$exe") --version printed '$got'"
    step "$(basename "$exe"): $got"
  done
  [[ ! -e $work/config.json ]] || fail "--version wrote a record"
}

# The WinHTTP fetch against the demo pool: sizes, error pages, a refused port, stalls and a cancel.
scenario_fetch() {
  start_wine
  local target='/index.php?page=api&action=getuserbalance&api_key=demo'
  local row fault expected got
  for row in 'none:>0' 'size=262143:262143' 'size=262144:-1' 'size=1000000:-1' 'empty:0' 'html404:>0' \
    'html500:>0' 'close:-1' 'stall:-1' 'trickle:-1'; do
    fault=${row%%:*} expected=${row#*:}
    if [[ $fault == none ]]; then start_pool; else start_pool --fault "$fault"; fi
    got=$("$WINELOADER" "$probe_exe" "$pool_port" "$target" --short 2>"$work/probe.log" | tr -d '\r')
    if [[ $expected == '>0' ]]; then
      ((got > 0)) || fail "fetch with fault $fault gave $got, not a body"
    else
      [[ $got == "$expected" ]] || fail "fetch with fault $fault gave $got, not $expected"
    fi
    step "fault $fault: $got"
  done
  got=$("$WINELOADER" "$probe_exe" 1 "$target" --short 2>/dev/null | tr -d '\r')
  [[ $got == -1 ]] || fail "a refused connection gave $got"

  step "a cancel breaks off a stalled fetch long before its time-outs"
  start_pool --fault stall
  got=$("$WINELOADER" "$probe_exe" "$pool_port" "$target" --cancel-after 500 2>"$work/probe.log" | tr -d '\r')
  [[ $got == -1 ]] || fail "the cancelled fetch gave $got"
  local took
  took=$(grep -o 'took [0-9]*' "$work/probe.log" | cut -d' ' -f2)
  ((took < 20000)) || fail "the cancelled fetch took $took ms"
}

# Wine's stand-in for a notification area on a desktop without one: a window of its own.
readonly kWineTray='Wine System Tray'

# The notification-area notice: the shell takes the icon and both balloons, one far longer than a
# balloon holds; and orelog-tool.exe prints a worker's stop and return in the order they happen.
scenario_notice() {
  start_wine
  local got
  got=$(cd "$work" && "$WINELOADER" "$notice_probe_exe" 2>"$work/probe.log" | tr -d '\r') ||
    fail "notice-probe ended with an error after printing '$got'"
  [[ $got == $'first 1\nsecond 1' ]] || fail "notice-probe printed '$got'"

  step "orelog-tool.exe update prints the notices"
  write_pinned_figures "$work/pinned.json"
  start_pool --data "$work/pinned.json" --stop kuro.rig2@2-3
  mkdir -p "$work/tool"
  printf '{"Server":"%s","API Key":"demo"}' "$pool_url" >"$work/tool/config.json"
  got=$(in_folder "$work/tool" windows_tool update --cycles 4 2>"$work/tool.log" | tr -d '\r' | grep '^notice: ') ||
    fail "orelog-tool.exe printed no notice"
  [[ $got == $'notice: ワーカー「rig2」が止まりました。\nnotice: ワーカー「rig2」が動き出しました。' ]] ||
    fail "orelog-tool.exe printed '$got'"

  step "the game adds its icon when a worker stops, and takes it away at its end"
  window_gone "$kWineTray" || fail "the probe's icon outlived it"
  start_pool --data "$work/pinned.json" --stop kuro.rig2@2
  start_game "$work/game" --update-interval 2
  cancel_name_dialog
  local main
  main=$(await_window "$kTitle")
  connect "$main" "$pool_url" demo
  await_window "$kWineTray" >/dev/null
  close_game "$main"
  wait_until "the icon to go with the game" window_gone "$kWineTray"
  ! grep -q 'msgbox:MSGBOX_OnInit' "$game_log" || fail "the game showed a message: $(grep msgbox "$game_log")"
}

# The figures the pool reports, pinned, so the two tools see the same answers.
write_pinned_figures() {
  cat >"$1" <<'JSON'
{"workers":[{"username":"kuro.rig1","hashrate":1234.56,"difficulty":0.5},{"username":"kuro.rig2","hashrate":69.91,"difficulty":0.5},
            {"username":"kuro.cpu","hashrate":0,"difficulty":0}],
 "balance":{"confirmed":"1.50000000000000000000000000000","unconfirmed":"0.25000000000000000000000000000"},
 "transactions":[
   {"id":3,"username":"kuro","type":"Credit","amount":"2.5","timestamp":"2026-12-01 10:00:00"},
   {"id":2,"username":"kuro","type":"Debit_AP","amount":"1.25","timestamp":"2026-11-30 09:00:00"}]}
JSON
}

start_config() {  # start_config FOLDER: a player on the pinned pool
  mkdir -p "$1"
  printf '{"Version":3,"Player Name":"ねこ","Server":"%s","API Key":"demo","Poko Coin Coin Spent":1,"Items":[{"Item ID":13,"X":100,"Y":105},{"Item ID":0,"X":-1,"Y":-1}]}' \
    "$pool_url" >"$1/config.json"
}

scenario_same_record() {
  start_wine
  write_pinned_figures "$work/figures.json"
  start_pool --data "$work/figures.json"
  start_config "$work/linux"
  start_config "$work/windows"
  step "eight update cycles with each tool"
  in_folder "$work/linux" "$linux_tool" update --cycles 8 >"$work/linux.log" 2>&1 || fail "the Linux tool failed"
  in_folder "$work/windows" windows_tool update --cycles 8 >"$work/windows.log" 2>&1 || fail "the Windows tool failed"
  cmp "$work/linux/config.json" "$work/windows/config.json" ||
    fail "the records differ: $(cat "$work/linux/config.json") / $(cat "$work/windows/config.json")"
  diff <(tr -d '\r' <"$work/linux.log") <(tr -d '\r' <"$work/windows.log") || fail "the tools' summaries differ"

  step "the same failures from both tools"
  local fault
  for fault in size=262143@getuserworkers size=262144@getuserworkers html404@getuserbalance malformed@getusertransactions; do
    start_pool --fault "$fault"
    start_config "$work/linux-$fault"
    start_config "$work/windows-$fault"
    local linux_status=0 windows_status=0
    in_folder "$work/linux-$fault" "$linux_tool" update >"$work/linux-fault.out" 2>&1 || linux_status=$?
    in_folder "$work/windows-$fault" windows_tool update >"$work/windows-fault.out" 2>&1 || windows_status=$?
    [[ $linux_status == "$windows_status" ]] || fail "$fault: exit $linux_status on Linux, $windows_status on Windows"
    diff <(tr -d '\r' <"$work/linux-fault.out") <(tr -d '\r' <"$work/windows-fault.out") >/dev/null ||
      fail "$fault: the tools say different things"
    step "$fault: exit $windows_status on both"
  done
}

scenario_same_pages() {
  start_wine
  write_pinned_figures "$work/figures.json"
  start_pool --data "$work/figures.json"
  local page
  for page in 0 1 2 3 4 5 6; do
    start_config "$work/linux-$page"
    start_config "$work/windows-$page"
    in_folder "$work/linux-$page" "$linux_tool" render "$page" page.png --cycles 1 --frame 5 --hover 0 --no-text ||
      fail "the Linux tool could not render page $page"
    in_folder "$work/windows-$page" windows_tool render "$page" page.png --cycles 1 --frame 5 --hover 0 --no-text \
      >/dev/null 2>&1 || fail "the Windows tool could not render page $page"
    local differing
    differing=$(pixels_differing "$work/linux-$page/page.png" "$work/windows-$page/page.png")
    [[ $differing == 0 ]] || fail "page $page: $differing pixels differ"
    step "page $page: the same pixels"
  done
}

# --- Scenarios: the game --------------------------------------------------------------------------------

scenario_play() {
  start_wine
  start_pool
  start_game "$work/game"
  local config=$work/game/config.json

  step "first start: the name dialog, cancelled"
  cancel_name_dialog
  local main
  main=$(await_window "$kTitle")
  [[ $(client_size "$main") == 520x62 ]] || fail "the connect screen is $(client_size "$main"), not 520x62"
  [[ ! -e $config ]] || fail "config.json was written before connecting"
  open_and_close_about "$main" alt+slash

  step "connect to the demo pool"
  connect "$main" "$pool_url" demo
  wait_until "the game screen's size" client_size_is "$main" 520x300
  wait_until "the top page's grey" pixel_is "$main" $kBackgroundPoint "$kTopGrey"
  pixel_is "$main" 120 135 "$kSkyBlue" || fail "no sky on the top page"
  open_and_close_about "$main" alt+question

  play_the_pages "$main" "$config"

  step "close the window"
  close_game "$main"
  grep -q '"Poko Coin Coin Spent":2' "$config" || fail "the purchase is not saved: $(cat "$config")"
  has_placed_item "$config" || fail "the placed item is not saved: $(items_json "$config")"
  grep -q '"Player Name":"Mike"' "$config" || fail "the name is not saved: $(cat "$config")"
}

scenario_second_copy() {
  start_wine
  start_game "$work/first"
  local first_pid=$game_pid
  cancel_name_dialog
  await_window "$kTitle" >/dev/null

  step "a second copy in another folder"
  mkdir -p "$work/second"
  printf '%s' '{"Player Name":"Kuro","Version":3}' >"$work/second/config.json"
  cp "$work/second/config.json" "$work/expected.json"
  start_game "$work/second"
  expect_message '既に起動しています。'
  local status=0
  wait "$game_pid" || status=$?
  [[ $status -eq 0 ]] || fail "the second copy ended with code $status"
  cmp -s "$work/expected.json" "$work/second/config.json" || fail "the second copy touched its config.json"
  [[ ! -e $work/second/config.json.tmp ]] || fail "the second copy began a save"
  kill -0 "$first_pid" || fail "the first copy is gone"
  [[ $(xdotool search --onlyvisible --name "^$kTitle\$" | wc -l) -eq 1 ]] || fail "more than one main window"

  step "the first copy saves at its end"
  game_pid=$first_pid
  close_game "$(window_named "$kTitle")"
  grep -q '"Version":3' "$work/first/config.json" || fail "the first copy did not save at its end"
}

scenario_failing_pool() {
  start_wine
  start_pool
  start_game "$work/game"
  cancel_name_dialog
  local main
  main=$(await_window "$kTitle")

  step "a pool that does not answer"
  type_into "$main" 200 15 "http://127.0.0.1:1/index.php"
  type_into "$main" 200 42 demo
  xdotool key Return  # Enter in a field presses the connect button
  expect_message 'ワーカーの情報取得に失敗しました。'
  [[ $(client_size "$main") == 520x62 ]] || fail "the connect screen did not stay"
  grep -q '127.0.0.1:1' "$work/game/config.json" || fail "the connect fields were not saved before the cycle"

  step "a key that is too long"
  type_into "$main" 200 42 "$(printf 'k%.0s' {1..256})"
  click "$main" 474 17
  expect_message 'APIキーが長すぎます。'

  step "the same screen, corrected, connects"
  connect "$main" "$pool_url" demo
  wait_until "the game screen's size" client_size_is "$main" 520x300
  close_game "$main"
}

# At 192 dpi the game shows each canvas pixel as a sharp 2 x 2 block.
scenario_high_dpi() {
  start_wine
  wine_dpi 192
  start_pool
  mkdir -p "$work/game"
  printf '{"Version":3,"Player Name":"Kuro"}' >"$work/game/config.json"
  start_game "$work/game"
  local main
  main=$(await_window "$kTitle")
  [[ $(client_size "$main") == 1040x124 ]] || fail "the connect screen is $(client_size "$main"), not 1040x124"
  # Every control at twice its place and size.
  type_into "$main" 200 30 "$pool_url"
  type_into "$main" 200 84 demo
  click "$main" 948 34
  wait_until "the game screen's size" client_size_is "$main" 1040x600
  wait_until "the top page's grey" pixel_is "$main" 10 300 "$kTopGrey"
  shoot "$main" "$work/big.png"
  convert "$work/big.png" -sample 50% -sample 200% "$work/blocks.png"
  local differing
  differing=$(pixels_differing "$work/big.png" "$work/blocks.png")
  [[ $differing == 0 ]] || fail "$differing pixels break the 2 x 2 blocks"
  step "a click at twice a tab's place opens its page"
  click "$main" 180 154
  wait_until "the status page" pixel_is "$main" 10 300 "$kPageBlue"
  close_game "$main"
}

case $scenario in
  version | fetch | same_record | same_pages | play | second_copy | failing_pool | high_dpi | notice) "scenario_$scenario" ;;
  *) fail "no scenario named $scenario" ;;
esac
echo "PASS ($scenario)"
