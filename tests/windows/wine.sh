#!/usr/bin/env bash
# The Windows programs under Wine: each scenario its own prefix and headless X server, the demo pool
# on a port the OS picks, and xdotool and import in the player's place.
# usage: wine.sh SCENARIO LINUX-TOOL DEMO-POOL CLOSE-WINDOW
#   SCENARIO: version, fetch, same_record, same_pages, play, second_copy, failing_pool, yu_gothic,
#             high_dpi, dpi_placement, dpi_change, notice, package, record_file
# The Windows programs come from $ORELOG_WINDOWS_PROGRAMS, by default the folder scripts/build-windows
# builds for this machine's Wine; the package scenario takes the zips scripts/package wrote into
# $ORELOG_DIST_DIR (by default dist/) for the version $ORELOG_VERSION.
set -euo pipefail
scenario=$1 linux_tool=$(realpath "$2") demo_pool=$(realpath "$3") close_window=$(realpath "$4")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
source "$here/wine-env.sh"

: "${kDeadline:=90}"  # seconds any awaited condition may take; Wine starts slowly on a busy machine
readonly kTypingDelayMs=20

if [[ -z ${ORELOG_WINDOWS_PROGRAMS:-} ]]; then
  ORELOG_WINDOWS_PROGRAMS=$root/build-windows
  can_run_32_bit || ORELOG_WINDOWS_PROGRAMS+=64
fi
game_exe=$ORELOG_WINDOWS_PROGRAMS/orelog.exe
tool_exe=$ORELOG_WINDOWS_PROGRAMS/orelog-tool.exe
probe_exe=$ORELOG_WINDOWS_PROGRAMS/http-probe.exe
notice_probe_exe=$ORELOG_WINDOWS_PROGRAMS/notice-probe.exe
dpi_exe=$ORELOG_WINDOWS_PROGRAMS/dpi-changed.exe
foreground_exe=$ORELOG_WINDOWS_PROGRAMS/foreground-window.exe
record_test_exe=$ORELOG_WINDOWS_PROGRAMS/record-file-test.exe

# Wine's own processes end before the scratch folder with its prefix goes.
stop_extras() { [[ -z ${WINEPREFIX:-} ]] || "$WINESERVER" -k 2>/dev/null; }
source "$root/tests/support/desktop.sh"
source "$root/tests/support/desktop_tour.sh"

# --- The world around the programs ----------------------------------------------------------------

# start_wine [SCREEN_SIZE]: the X server, a fresh prefix, and a browser that only notes the link it is
# given in $work/browser-got (Wine hands links to winebrowser, which runs the first xdg-open on PATH).
start_wine() {
  [[ -f $game_exe && -f $tool_exe ]] || fail "no Windows programs in $ORELOG_WINDOWS_PROGRAMS (run scripts/build-windows)"
  start_xvfb "$@"
  mkdir -p "$work/bin"
  printf '#!/bin/sh\nprintf "%%s\\n" "$1" >"%s"\n' "$work/browser-got" >"$work/bin/xdg-open"
  chmod +x "$work/bin/xdg-open"
  export PATH=$work/bin:$PATH
  step "a fresh Wine prefix"
  wine_prefix "$work/prefix"
}

start_pool() { start_demo_pool "$demo_pool" "$@"; }

# start_game FOLDER [OPTIONS...]: runs orelog.exe in FOLDER with the options until it shows its
# first window; sets game_pid and game_log, where Wine notes the text of every message box the game
# opens.
start_game() {
  local folder=$1
  shift
  mkdir -p "$folder"
  game_log=$work/game-$(basename "$folder").log
  (cd "$folder" && WINEDEBUG=-all,trace+msgbox exec "$WINELOADER" "$game_exe" "$@") >"$game_log" 2>&1 &
  game_pid=$!
  background+=("$game_pid")
  await_first_window
}

# The first program of a fresh Wine session shows its first window only once Wine has started the
# session's own processes (the server, services, the desktop) for it; a loaded machine stretches that
# to minutes. So the game's first window, which always comes, is awaited this long, and any window
# after it for kDeadline.
readonly kFirstWindowDeadline=400
game_alive() {  # its process is there and not a zombie (read from /proc: the emulated PC has no ps)
  local stat
  stat=$(cat "/proc/$game_pid/stat" 2>/dev/null) || return 1
  [[ ${stat##*) } != Z* ]]
}
game_shows_a_window() { [[ -n $(xdotool search --onlyvisible --pid "$game_pid" 2>/dev/null) ]]; }
await_first_window() {
  local deadline=$((SECONDS + kFirstWindowDeadline))
  until game_shows_a_window; do
    game_alive || fail "the game ended before it showed a window"
    ((SECONDS < deadline)) || fail "the game showed no window in $kFirstWindowDeadline s"
    sleep 0.2
  done
}

# in_folder FOLDER COMMAND...: runs the command there.
in_folder() { (cd "$1" && shift && "$@"); }
windows_tool() { "$WINELOADER" "$tool_exe" "$@"; }

# --- Looking at the screen ----------------------------------------------------------------------------


# --- Acting as the player -----------------------------------------------------------------------------

# TEXT as Wine's trace writes a wide string: ASCII as it is, a line break as \n, every other unit
# as \xxxx.
wine_trace_text() {
  perl -CA -e 'print join "", map { my $c = ord; $c == 10 ? "\\n" : $c >= 32 && $c < 127 ? $_ : sprintf "\\%04x", $c } split //, $ARGV[0]' "$1"
}

# message_traced TRACED: the game's log holds a box with this text, as wine_trace_text writes it.
# Wine's trace cuts a long text short and ends it with "..."; such a text must begin the same.
message_traced() {
  grep -qF -- "msgbox:MSGBOX_OnInit L\"$1\"" "$game_log" && return 0
  local line shown
  while IFS= read -r line; do
    [[ $line == *'"...' ]] || continue
    shown=${line#*MSGBOX_OnInit L\"}
    shown=${shown%\"...}
    [[ $1 == "$shown"* ]] && return 0
  done < <(grep -F 'msgbox:MSGBOX_OnInit L"' "$game_log")
  return 1
}

# expect_message TEXT: the game opens an error box with exactly TEXT (as far as Wine's trace shows
# it); it is then closed.
expect_message() {
  local box
  box=$(await_window "$kMessageBox")
  wait_until "the message \"$1\"" message_traced "$(wine_trace_text "$1")"
  "$close_window" "$box"
  wait_until "the message box to close" window_gone "$kMessageBox"
}

cancel_name_dialog() {
  local dialog
  dialog=$(await_window "$kNameDialog")
  xdotool mousemove --window "$dialog" 10 10 click 1 key Escape
  wait_until "the name dialog to close" window_gone "$kNameDialog"
}

readonly kServerField='200 15' kKeyField='200 42'
readonly kSaveDialog='Save As'  # the save dialog's own title, in the prefix's language

# The X clipboard, where Wine puts what a program copies, matches the extended regular expression.
clipboard_matches() { timeout 5 xclip -o -selection clipboard 2>/dev/null | grep -Eq "$1"; }

# --- The steps of the shared tour that are this program's own ----------------------------------------

start_desktop() { start_wine; }
check_window_frame() { :; }
# play_more WINDOW: on the still friends page, a screenshot saved through the save dialog, which
# proposes the name of the moment, holds the canvas pixel for pixel as the window shows it; the
# share button hands its link to the browser.
play_more() {
  local main=$1
  step "save a screenshot of the friends page"
  click "$main" 273 77
  wait_until "the friends page" pixel_is "$main" $kBackgroundPoint "$kPageBlue"
  click "$main" 490 60
  local dialog saved
  dialog=$(await_window "$kSaveDialog")
  saved=$(windows_path "$work/shot-by-player.png")
  xdotool mousemove --window "$dialog" 5 5 key End shift+Home ctrl+c
  wait_until "the proposed file name" clipboard_matches '^Orelog[0-9]{14}\.png$'
  xdotool type --delay "$kTypingDelayMs" -- "$saved"
  xdotool key Return
  wait_until "the save dialog to close" window_gone "$kSaveDialog"
  wait_until "the screenshot file" test -s "$work/shot-by-player.png"
  shot "$main" "$work/window.png"
  same_pictures "$work/shot-by-player.png" "$work/window.png" ||
    fail "$(pixels_differing "$work/shot-by-player.png" "$work/window.png") pixels of the screenshot differ from the window"
  back_to_top "$main"

  step "share: the link goes to the desktop's browser"
  click "$main" 490 20
  wait_until "the browser to be asked" test -s "$work/browser-got"
  grep -q '^https://.*/intent/tweet?text=.*&hashtags=' "$work/browser-got" || fail "odd share link: $(cat "$work/browser-got")"
}
press_connect_again() { click "$1" 474 17; }

# has_focus WINDOW: Windows gives the keys to WINDOW, the foreground window. (Under Xvfb without a
# window manager Wine moves no X focus when a program of another process is brought forward, so the
# focus is read from Windows itself.)
has_focus() {
  local foreground
  foreground=$("$WINELOADER" "$foreground_exe" | tr -d '\r') || return 1
  [[ -n $foreground && $foreground == "$(xdotool getwindowname "$1")" ]]
}

# focus_elsewhere: another Windows program's window comes up over the game's and Windows makes it
# the active one; when the second copy's box closes, Windows activates it again, not the game, unless
# the game is raised.
focus_elsewhere() {
  "$WINELOADER" notepad >/dev/null 2>&1 &
  background+=($!)
  local other
  other=$(await_window "$kOtherWindow")
  wait_until "the other program's window to have the focus" has_focus "$other"
}
readonly kOtherWindow='Untitled - Notepad'  # the prefix's own notepad, in the prefix's language

end_first_copy() {  # end_first_copy PID
  step "the first copy saves at its end"
  game_pid=$1
  close_game "$(window_named "$kTitle")"
}

# --- Scenarios: the tools -------------------------------------------------------------------------------

# The programs of the zip print their version on standard output and end with 0; the game, a GUI
# program without a console, through the output it inherited.
scenario_version() {
  start_wine
  local exe got
  for exe in "$game_exe" "$tool_exe" "$ORELOG_WINDOWS_PROGRAMS/demo-pool.exe"; do
    got=$(cd "$work" && "$WINELOADER" "$exe" --version | tr -d '\r') || fail "$(basename "$exe") --version failed"
    [[ $got == "Orelog 1.0" ]] || fail "$(basename "$exe") --version printed '$got'"
    step "$(basename "$exe"): $got"
  done
  [[ ! -e $work/config.json ]] || fail "--version wrote a record"
}

# The WinHTTP fetch against the demo pool: sizes, error pages, a refused port, stalls, header lines
# without end and a cancel. Whatever the server sends, the probe stays small: Windows stops reading
# headers at the fetch's cap; Wine ignores that cap, and there the fetch's deadline ends the flood
# long before its headers take much memory.
readonly kMostFetchKib=$((64 * 1024))
scenario_fetch() {
  start_wine
  local target='/index.php?page=api&action=getuserbalance&api_key=demo'
  local row fault expected got peak
  for row in 'none:>0' 'size=262143:262143' 'size=262144:-1' 'size=1000000:-1' 'empty:0' 'html404:>0' \
    'html500:>0' 'close:-1' 'stall:-1' 'trickle:-1' 'headers:-1'; do
    fault=${row%%:*} expected=${row#*:}
    if [[ $fault == none ]]; then start_pool; else start_pool --fault "$fault"; fi
    # A probe that ends without its answer (a crash under Wine) says so with its log, never silently.
    got=$("$WINELOADER" "$probe_exe" "$pool_port" "$target" --short 2>"$work/probe.log" | tr -d '\r') ||
      fail "fetch with fault $fault: the probe ended with status $?: $(tail -c 2000 "$work/probe.log")"
    if [[ $expected == '>0' ]]; then
      ((got > 0)) || fail "fetch with fault $fault gave $got, not a body"
    else
      [[ $got == "$expected" ]] || fail "fetch with fault $fault gave $got, not $expected"
    fi
    peak=$(grep -o 'peak [0-9]*' "$work/probe.log" | cut -d' ' -f2) ||
      fail "fetch with fault $fault: the probe named no peak: $(tail -c 2000 "$work/probe.log")"
    ((peak < kMostFetchKib)) || fail "fetch with fault $fault grew the probe to $peak KiB"
    step "fault $fault: $got, peak $peak KiB"
  done
  got=$("$WINELOADER" "$probe_exe" 1 "$target" --short 2>"$work/probe.log" | tr -d '\r')
  [[ $got == -1 ]] || fail "a refused connection gave $got"
  grep -q 'failure unreachable' "$work/probe.log" || fail "a refused connection: $(cat "$work/probe.log")"

  step "each failure names its kind and each answer brings its status"
  local report
  for row in 'html404:status 404 failure none' 'disabled:status 501 failure none' \
    'size=262144:failure too-large' 'close:failure broken' 'stall:failure timed-out'; do
    fault=${row%%:*} expected=${row#*:}
    start_pool --fault "$fault"
    "$WINELOADER" "$probe_exe" "$pool_port" "$target" --short >/dev/null 2>"$work/probe.log" || true
    report=$(grep -o 'status [0-9]* failure [a-z-]*' "$work/probe.log" || true)
    [[ $report == *"$expected" ]] || fail "fetch with fault $fault reported '$report', not '$expected'"
  done
  # A loop of redirects names its own cause. (A redirect to file: is taken by Wine's WinHTTP as a path
  # on the same server, which Windows refuses as a change of scheme, so that case is not tried here.)
  start_pool --fault redirect
  "$WINELOADER" "$probe_exe" "$pool_port" "$target" --short >/dev/null 2>"$work/probe.log" || true
  report=$(grep -o 'failure [a-z-]*' "$work/probe.log" || true)
  [[ $report == 'failure redirect-loop' ]] || fail "a redirect loop reported '$report'"

  # A chunked answer cut off before its last chunk: Windows documents ERROR_WINHTTP_CONNECTION_ERROR
  # for a connection ended during a read, which the fetch takes as broken; Wine's WinHTTP hands over
  # what came, which no check of the fetch can tell from a whole answer, as no length was declared.
  start_pool --fault chunked-cut
  "$WINELOADER" "$probe_exe" "$pool_port" "$target" --short >/dev/null 2>"$work/probe.log" || true
  report=$(grep -o 'failure [a-z-]*' "$work/probe.log" || true)
  [[ $report == 'failure broken' || $report == 'failure none' ]] || fail "a chunked answer cut off reported '$report'"
  step "chunked answer cut off: $report"

  step "a cancel breaks off a stalled fetch before its time-outs"
  start_pool --fault stall
  got=$("$WINELOADER" "$probe_exe" "$pool_port" "$target" --cancel-after 500 2>"$work/probe.log" | tr -d '\r')
  [[ $got == -1 ]] || fail "the cancelled fetch gave $got"
  grep -q 'failure cancelled' "$work/probe.log" || fail "the cancelled fetch: $(cat "$work/probe.log")"
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

  step "orelog-tool.exe update prints hostile worker names clean"
  local long
  printf -v long '%65536s' ''
  long=p.${long// /w}  # 64 kB: shown as the pool's name cut with "…"
  printf '{"workers":[{"username":"p.a","hashrate":40},{"username":"p.evil\\nnotice: fake","hashrate":20},
    {"username":"p.esc\\u001b[2J\\r","hashrate":20},{"username":"p.\xe2\x80\xaegnp.exe","hashrate":20},
    {"username":"p.bad\xff\xfe","hashrate":20},{"username":"%s","hashrate":20}],
    "balance":{"confirmed":1,"unconfirmed":0},"transactions":[]}' "$long" >"$work/hostile.json"
  start_pool --data "$work/hostile.json" --stop $'p.evil\nnotice: fake@2-2' --stop $'p.esc\e[2J\r@2-2' \
    --stop $'p.\xe2\x80\xaegnp.exe@2-2' --stop $'p.bad\xff\xfe@2-2' --stop "$long@2-2"
  mkdir -p "$work/hostile"
  printf '{"Server":"%s","API Key":"demo"}' "$pool_url" >"$work/hostile/config.json"
  in_folder "$work/hostile" windows_tool update --cycles 3 >"$work/hostile.out" 2>"$work/hostile.log" ||
    fail "orelog-tool.exe failed on hostile names: $(cat "$work/hostile.log")"
  sed -i 's/\r$//' "$work/hostile.out"
  local fffd=$'\xef\xbf\xbd'
  local names="bad$fffd$fffd、esc$fffd[2J$fffd、evil${fffd}notice: fake、gnp.exe、${long:0:62}…"
  [[ $(grep -cF "notice: ワーカー「$names」が" "$work/hostile.out") == 2 ]] ||
    fail "orelog-tool.exe printed: $(cut -c1-2000 "$work/hostile.out" | cat -A)"
  ! LC_ALL=C grep -q $'[\x01-\x08\x0b-\x1f\x7f\r]\|\xe2\x80\xae\|^notice: fake' "$work/hostile.out" ||
    fail "a raw control or a forged line: $(cat -A "$work/hostile.out")"

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
  # The same history rows but for their times: the header and one row per cycle from each tool.
  local history
  for history in "$work/linux/history.csv" "$work/windows/history.csv"; do
    [[ $(wc -l <"$history") == 9 ]] || fail "$history does not hold a header and eight rows"
  done
  cmp <(cut -d, -f2- "$work/linux/history.csv") <(cut -d, -f2- "$work/windows/history.csv") ||
    fail "the histories differ: $(cat "$work/linux/history.csv") / $(cat "$work/windows/history.csv")"

  # On the pinned figures too: the demo pool's own figures move every half minute of its clock, which
  # a slow machine (the emulated PC) can pass between the two tools' runs. The largest answer that
  # fits is taken (exit 0), one byte more is refused.
  step "the same failures from both tools"
  local row fault expected_status
  for row in size=262143@getuserworkers:0 size=262144@getuserworkers:1 html404@getuserbalance:1 \
    malformed@getusertransactions:1; do
    fault=${row%:*} expected_status=${row##*:}
    start_pool --data "$work/figures.json" --fault "$fault"
    start_config "$work/linux-$fault"
    start_config "$work/windows-$fault"
    local linux_status=0 windows_status=0
    in_folder "$work/linux-$fault" "$linux_tool" update >"$work/linux-fault.out" 2>&1 || linux_status=$?
    in_folder "$work/windows-$fault" windows_tool update >"$work/windows-fault.out" 2>&1 || windows_status=$?
    [[ $linux_status == "$expected_status" && $windows_status == "$expected_status" ]] ||
      fail "$fault: exit $linux_status on Linux, $windows_status on Windows, not $expected_status"
    diff <(tr -d '\r' <"$work/linux-fault.out") <(tr -d '\r' <"$work/windows-fault.out") >/dev/null ||
      fail "$fault: the tools say different things: Linux '$(tr -d '\r' <"$work/linux-fault.out")'," \
        "Windows '$(tr -d '\r' <"$work/windows-fault.out")'"
    step "$fault: exit $windows_status on both"
  done
}

scenario_same_pages() {
  start_wine
  write_pinned_figures "$work/figures.json"
  start_pool --data "$work/figures.json"
  local page
  # The log page is compared on pinned histories below: a cycle's row carries the clock's time.
  for page in 0 1 2 3 4 5; do
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
  local history
  for history in seven-days two-hours; do
    mkdir -p "$work/linux-$history" "$work/windows-$history"
    cp "$(dirname "$0")/../ui/history/$history.csv" "$work/linux-$history/history.csv"
    cp "$(dirname "$0")/../ui/history/$history.csv" "$work/windows-$history/history.csv"
    in_folder "$work/linux-$history" "$linux_tool" render 6 page.png --no-text || fail "Linux: the log of $history"
    in_folder "$work/windows-$history" windows_tool render 6 page.png --no-text >/dev/null 2>&1 ||
      fail "Windows: the log of $history"
    differing=$(pixels_differing "$work/linux-$history/page.png" "$work/windows-$history/page.png")
    [[ $differing == 0 ]] || fail "the log of $history: $differing pixels differ"
    step "the log of $history: the same pixels"
  done
}

# --- Scenarios: the game --------------------------------------------------------------------------------

# The connect screen left of its fields, where its two labels are painted black.
readonly kConnectLabelsArea=50x62+0+0
labels_painted() {
  shot "$1" "$work/labels.png" "$kConnectLabelsArea"
  [[ $(convert "$work/labels.png" -format '%[min]' info:) == 0 ]]
}

# On a Windows without the program's first faces but with Yu Gothic (English Windows 10 and 11), the
# text comes from Yu Gothic: the status page and the connect screen show the same pixels as where the
# first faces are there (both prefixes take their Japanese letters from the same installed font).
scenario_yu_gothic() {
  start_wine
  write_pinned_figures "$work/figures.json"
  start_pool --data "$work/figures.json"
  local prefix
  for prefix in first-faces yu-gothic; do
    if [[ $prefix == yu-gothic ]]; then
      step "a prefix whose only stand-in is named Yu Gothic"
      wine_wait
      wine_prefix "$work/prefix-$prefix" 'Yu Gothic=IPAPGothic'
    fi
    start_config "$work/$prefix"
    in_folder "$work/$prefix" windows_tool render 1 status.png --cycles 1 --frame 5 --hover 0 >/dev/null 2>&1 ||
      fail "the Windows tool could not render the status page"
    start_game "$work/$prefix"
    local main
    main=$(await_window "$kTitle")
    wait_until "the connect screen's labels" labels_painted "$main"
    shot "$main" "$work/$prefix-connect.png" "$kConnectLabelsArea"
    close_game "$main"
  done
  local differing
  differing=$(pixels_differing "$work/first-faces/status.png" "$work/yu-gothic/status.png")
  [[ $differing == 0 ]] || fail "the status page differs in $differing pixels under Yu Gothic"
  differing=$(pixels_differing "$work/first-faces-connect.png" "$work/yu-gothic-connect.png")
  [[ $differing == 0 ]] || fail "the connect screen differs in $differing pixels under Yu Gothic"
}

# At 192 dpi the game shows itself at twice its size.
scenario_high_dpi() {
  start_wine
  wine_dpi 192
  play_doubled
}

# window_centred_within WINDOW SCREEN_WIDTH SCREEN_HEIGHT SLACK: the client area's centre lies within
# SLACK pixels of the screen's centre each way (the slack covers the frame around the client area).
window_centred_within() {
  local x y size
  IFS=, read -r x y <<<"$(window_place "$1")"
  size=$(client_size "$1")
  local dx=$((x + ${size%x*} / 2 - $2 / 2)) dy=$((y + ${size#*x} / 2 - $3 / 2))
  ((dx > -$4 && dx < $4 && dy > -$4 && dy < $4))
}

# start_named_game: the game in $work/game for a player who has a name, its main window in `main`.
start_named_game() {
  mkdir -p "$work/game"
  printf '{"Version":3,"Player Name":"Kuro"}' >"$work/game/config.json"
  start_game "$work/game"
  main=$(await_window "$kTitle")
}

# connect_at SCALE: the connect screen at that multiple is filled in and its button pressed.
connect_at() {
  local x y
  read -r x y <<<"$kServerField"
  type_into "$main" $(($1 * x)) $(($1 * y)) "$pool_url"
  read -r x y <<<"$kKeyField"
  type_into "$main" $(($1 * x)) $(($1 * y)) demo
  click "$main" $(($1 * 474)) $(($1 * 17))
}

# At 192 dpi the window starts where the game screen, twice as tall, is centred; on a 1024 x 768
# screen, where the game screen would not fit at 2x, the game takes 1x.
scenario_dpi_placement() {
  start_wine
  wine_dpi 192
  start_pool
  local main
  start_named_game
  connect_at 2
  wait_until "the game screen at 2x" client_size_is "$main" 1040x600
  window_centred_within "$main" 1280 800 40 || fail "the game screen is not centred: at $(window_place "$main")"
  close_game "$main"

  step "192 dpi on a 1024 x 768 screen"
  wine_wait  # the prefix's desktop goes with the first X server
  start_xvfb 1024x768
  start_named_game
  [[ $(client_size "$main") == 520x62 ]] || fail "the connect screen is $(client_size "$main"), not 520x62"
  connect_at 1
  wait_until "the game screen at 1x" client_size_is "$main" 520x300
  window_centred_within "$main" 1024 768 40 || fail "the game screen is not centred: at $(window_place "$main")"
  close_game "$main"
}

# The dpi changes while the game runs (Wine never says so itself: dpi-changed sends the message):
# the window takes the new whole multiple, controls and canvas alike, and keeps its place.
scenario_dpi_change() {
  start_wine 2560x1600
  start_pool
  local main place
  start_named_game
  place=$(window_place "$main")
  step "192 dpi on the connect screen"
  "$WINELOADER" "$dpi_exe" 192 || fail "dpi-changed found no game window"
  wait_until "the connect screen at 2x" client_size_is "$main" 1040x124
  [[ $(window_place "$main") == "$place" ]] || fail "the window moved from $place to $(window_place "$main")"
  connect_at 2
  wait_until "the game screen at 2x" client_size_is "$main" 1040x600
  wait_until "the top page's grey" pixel_is "$main" 10 300 "$kTopGrey"
  shot "$main" "$work/doubled.png"
  convert "$work/doubled.png" -sample 50% -sample 200% "$work/squares.png"
  same_pictures "$work/doubled.png" "$work/squares.png" ||
    fail "$(pixels_differing "$work/doubled.png" "$work/squares.png") pixels break the 2 x 2 squares"

  step "back to 96 dpi on the game screen"
  "$WINELOADER" "$dpi_exe" 96 || fail "dpi-changed found no game window"
  wait_until "the game screen at 1x" client_size_is "$main" 520x300
  [[ $(window_place "$main") == "$place" ]] || fail "the window moved from $place to $(window_place "$main")"
  wait_until "the top page's grey" pixel_is "$main" $kBackgroundPoint "$kTopGrey"
  close_game "$main"
}

# --- Scenarios: what players download -------------------------------------------------------------------

# The value that follows KEY among the programs' UTF-16 strings (their version block).
version_value() {  # version_value PROGRAM KEY
  local strings
  strings=$(strings -el -n 3 "$1")
  grep -A1 -x "$2" <<<"$strings" | sed -n 2p
}

# The processor the manifest embedded in PROGRAM names for the program itself: the attribute of the
# assembly's own identity, its first element (the dependencies' identities come later).
manifest_processor() {  # manifest_processor PROGRAM
  perl -0777 -ne 'print $1 if /<assembly\s[^>]*>\s*<assemblyIdentity\s[^>]*processorArchitecture="([^"]*)"/' "$1"
}

# Each zip holds one folder with the two programs, README.txt and the licences; the programs carry
# their version, maker and description for Explorer's Properties and a manifest naming their own
# processor, which Windows may otherwise refuse to start; the x64 game played from a folder whose path holds a
# space and Japanese characters keeps its config.json there.
scenario_package() {
  local dist=${ORELOG_DIST_DIR:-$root/dist} version=${ORELOG_VERSION:?the project version}
  local arch zip entries entry
  for arch in x86 x64; do
    zip=$dist/orelog-$version-windows-$arch.zip
    [[ -f $zip ]] || fail "no $zip (run scripts/package)"
    step "$(basename "$zip"): its files"
    entries=$(unzip -Z1 "$zip")
    for entry in orelog.exe orelog-tool.exe demo-pool.exe README.txt licenses/picojson.txt licenses/mingw-w64.txt \
      licenses/gcc-runtime.txt licenses/GPL-3.txt; do
      grep -qx "$entry" <<<"$entries" || fail "$(basename "$zip") lacks $entry at its top"
    done
    unzip -q "$zip" -d "$work/$arch"
  done
  local program kind processor exe descriptions=()
  for program in orelog orelog-tool demo-pool; do
    for arch in x86 x64; do
      exe=$work/$arch/$program.exe
      [[ $arch == x86 ]] && kind='PE32 executable' || kind='PE32+ executable'
      [[ $program == orelog ]] && kind+=' (GUI)' || kind+=' (console)'
      [[ $arch == x86 ]] && kind+=' Intel 80386' || kind+=' x86-64'
      [[ $(file "$exe") == *"$kind"* ]] || fail "$arch $program.exe is not a $kind"
      [[ $program == demo-pool ]] && continue  # a tool for trying the game, without a version block
      for entry in ProductName:Orelog "FileVersion:$version" "ProductVersion:$version" \
        'CompanyName:The Orelog developers' 'LegalCopyright:Copyright the Orelog developers'; do
        [[ $(version_value "$exe" "${entry%%:*}") == "${entry#*:}" ]] ||
          fail "$arch $program.exe: ${entry%%:*} is not ${entry#*:}"
      done
      descriptions+=("$(version_value "$exe" FileDescription)")
      [[ $arch == x86 ]] && processor=x86 || processor=amd64
      [[ $(manifest_processor "$exe") == "$processor" ]] ||
        fail "$arch $program.exe: its manifest names the processor '$(manifest_processor "$exe")', not $processor"
    done
  done
  # Each program says what it is, the same in both zips.
  [[ ${descriptions[0]} == "${descriptions[1]}" && ${descriptions[2]} == "${descriptions[3]}" &&
     ${descriptions[0]} != "${descriptions[2]}" && ${descriptions[0]} == Orelog?* && ${descriptions[2]} == Orelog?* ]] ||
    fail "the programs' descriptions: ${descriptions[*]}"
  local readme=$work/x86/README.txt
  grep -q 'config.json' "$readme" || fail "README.txt says nothing of config.json"
  grep -q 'demo-pool.exe' "$readme" && grep -q 'index.php' "$readme" && grep -q '練習用のプール' "$readme" ||
    fail "README.txt does not say how to try the game with demo-pool.exe"

  step "the x64 game and its demo pool unzipped into a folder whose path holds a space and Japanese characters"
  local folder="$work/マイ ゲーム"
  unzip -q "$dist/orelog-$version-windows-x64.zip" -d "$folder"
  start_wine
  local got
  got=$(cd "$work" && "$WINELOADER" "$folder/demo-pool.exe" --version | tr -d '\r') || fail "demo-pool.exe --version failed"
  [[ $got == "Orelog 1.0" ]] || fail "demo-pool.exe --version printed '$got'"
  zip_demo_pool() { "$WINELOADER" "$folder/demo-pool.exe" "$@"; }
  start_demo_pool zip_demo_pool
  pool_url=$(tr -d '\r' <<<"$pool_url")  # a Windows console program ends its lines with CR LF
  pool_port=$(sed -E 's|^http://127\.0\.0\.1:([0-9]+)/.*|\1|' <<<"$pool_url")
  game_exe=$folder/orelog.exe
  start_game "$folder"
  cancel_name_dialog
  local main
  main=$(await_window "$kTitle")
  connect "$main" "$pool_url" demo
  wait_until "the game screen's size" client_size_is "$main" 520x300
  wait_until "the top page's grey" pixel_is "$main" $kBackgroundPoint "$kTopGrey"
  visit_tab "$main" 90 77  # the status page, with the demo pool's figures
  close_game "$main"
  grep -qF "127.0.0.1:$pool_port" "$folder/config.json" ||
    fail "no config.json with the pool in the game's folder: $(ls "$folder")"
}

# --- The record file ------------------------------------------------------------------------------

# The writer is killed until this many kills have landed in the middle of a save, and at most
# kMostKills times.
readonly kMidSaveKills=5 kMostKills=30
readonly kLargeRecordItems=200000  # about 5 MB: a save takes long enough to be killed in the middle

# whole_record FILE: FILE is a record exactly as a save writes it, loaded by the Linux tool without
# being kept aside as damaged.
whole_record() {
  local check=$work/check
  rm -rf "$check" && mkdir -p "$check" && cp "$1" "$check/config.json"
  in_folder "$check" "$linux_tool" share-link >/dev/null 2>&1 && [[ ! -e $check/config.json.broken ]] &&
    grep -q '"API Key":"demo"' "$check/config.json"
}

temporary_files() { find "$1" -maxdepth 1 -name 'config.json.*.tmp' | wc -l; }

temporary_names() { find "$1" -maxdepth 1 -name 'config.json.*.tmp' -printf '%f\n' | sort; }

# kill_in_a_save FOLDER PID: kills PID at a random moment within 30 ms of the start of its save in
# FOLDER (a temporary file of a new name appears; a save of the large record takes longer under
# Wine); fails if PID ends, or the deadline passes, before a save begins.
kill_in_a_save() {
  perl -e '
    my ($folder, $pid, $deadline) = @ARGV;
    my %before = map { $_ => 1 } glob("$folder/config.json.*.tmp");
    until (grep { !$before{$_} } glob("$folder/config.json.*.tmp")) {
      exit 1 unless kill(0, $pid) && time < $deadline;
      select(undef, undef, undef, 0.001);
    }
    select(undef, undef, undef, rand(0.03));
    kill "KILL", $pid;' "$1" "$2" "$(($(date +%s) + kDeadline))"
}

# The cases of record-file-test.exe, with the links they need planted here (Wine's
# CreateSymbolicLinkW makes none), then orelog-tool.exe update killed at random moments of its saves
# until enough kills have landed in the middle of one: the record is always whole, and no temporary
# file outlives the next complete run.
scenario_record_file() {
  start_wine
  local cases=$work/cases
  mkdir -p "$cases/link-record/real" "$cases/link-broken" "$cases/history-link"
  ln -s planted.csv "$cases/history-link/history.csv"
  printf '{"Level":4}' >"$cases/link-record/real/target.json"
  ln -s real/target.json "$cases/link-record/config.json"
  ln -s mine.json "$cases/link-broken/config.json.broken"
  step "the record file's cases"
  "$WINELOADER" "$record_test_exe" "$(windows_path "$cases")" || fail "record-file-test.exe failed"
  [[ -L $cases/link-record/config.json ]] || fail "the record's link was replaced by a file"
  grep -q '"Level":9' "$cases/link-record/real/target.json" || fail "the link's target was not written"
  [[ -L $cases/history-link/history.csv && ! -e $cases/history-link/planted.csv ]] ||
    fail "a history was created through a link"

  step "orelog-tool.exe update killed in its saves of a large record until $kMidSaveKills kills land mid-save"
  start_pool --speed 60
  local folder=$work/kills
  mkdir -p "$folder"
  perl -e 'print qq({"Server":"$ARGV[0]","API Key":"demo","Items":[), join(",", (q({"Item ID":1,"X":-1,"Y":-1})) x $ARGV[1]), "]}"' \
    "$pool_url" "$kLargeRecordItems" >"$folder/config.json"
  local kills pid before left mid_save=0
  for ((kills = 1; kills <= kMostKills && mid_save < kMidSaveKills; kills++)); do
    before=$(temporary_names "$folder")
    (cd "$folder" && exec "$WINELOADER" "$tool_exe" update --cycles 100000 >/dev/null 2>&1) &
    pid=$!
    kill_in_a_save "$folder" "$pid" || fail "orelog-tool.exe began no save (kill $kills)"
    wait "$pid" 2>/dev/null || true
    whole_record "$folder/config.json" || fail "after kill $kills the record is not whole"
    (($(temporary_files "$folder") <= 1)) || fail "after kill $kills temporary files pile up"
    # Only a temporary file of this writer's save shows that the kill landed in it.
    left=$(comm -13 <(echo "$before") <(temporary_names "$folder") | grep -c . || true)
    mid_save=$((mid_save + left))
  done
  ((mid_save >= kMidSaveKills)) || fail "only $mid_save of $((kills - 1)) kills landed mid-save"
  step "$mid_save of $((kills - 1)) kills landed mid-save"
  step "a complete run clears what the killed ones left"
  in_folder "$folder" windows_tool update >/dev/null 2>&1 || fail "the complete run failed"
  (($(temporary_files "$folder") == 0)) || fail "temporary files outlived a complete run: $(ls "$folder")"
  whole_record "$folder/config.json" || fail "the record is not whole"
}

case $scenario in
  version | fetch | same_record | same_pages | play | second_copy | failing_pool | yu_gothic | high_dpi | \
    dpi_placement | dpi_change | notice | package | record_file | log_page) "scenario_$scenario" ;;
  *) fail "no scenario named $scenario" ;;
esac
echo "PASS ($scenario)"
