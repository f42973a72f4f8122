#!/usr/bin/env bash
# The scenarios every desktop program plays the same way (play, second_copy, failing_pool, and
# play_doubled on a desktop at twice the size), written once over the hands and eyes of desktop.sh.
# Source it after desktop.sh; the front end's script provides what differs between the programs:
#   start_desktop                   the headless display (and whatever else the program runs in).
#   start_pool [FLAGS...]           the demo pool, through start_demo_pool.
#   start_game FOLDER               starts the program in FOLDER; sets game_pid.
#   cancel_name_dialog              waits for the start-up name dialog and cancels it.
#   focus_elsewhere                 the focus leaves the game's window for another program's or the
#                                   desktop's, so that only a raise can give it back.
#   expect_message TEXT             the error box shows exactly TEXT; it is then closed.
#   kServerField, kKeyField         "X Y" of the connect screen's two fields.
#   check_window_frame WINDOW SIZE  what the window manager must know of the main window, after
#                                   each change of its size.
#   play_more WINDOW                the program's own steps on the top page before it is closed.
#   press_connect_again WINDOW      presses the connect button once an error box has closed.
#   end_first_copy PID              ends the first copy of the program in the way the scenario tests.

# connect WINDOW URL KEY: fills the connect screen and presses the button.
connect() {
  type_into "$1" $kServerField "$2"
  type_into "$1" $kKeyField "$3"
  click "$1" 474 17
}

items_json() { grep -o '"Items":\[[^]]*\]' "$1"; }
has_placed_item() { items_json "$1" | grep -q '"X":[0-9]'; }

back_to_top() {
  click "$1" $kBack
  wait_until "the top page" pixel_is "$1" $kBackgroundPoint "$kTopGrey"
}

visit_tab() {  # visit_tab WINDOW X Y
  click "$1" "$2" "$3"
  wait_until "the page behind the tab at $2,$3" pixel_is "$1" $kBackgroundPoint "$kPageBlue"
  back_to_top "$1"
}

# play_the_pages WINDOW CONFIG: from the top page, every tab and back, the credits and their text
# box, the name "Mike" set on the status page, the first shop item bought, taken from the inventory
# and dropped on the shelf; the purchase and the drop reach CONFIG. Ends on the top page.
play_the_pages() {
  local main=$1 config=$2
  step "every tab and back"
  local boxPlaceOnTop
  boxPlaceOnTop=$(pixel "$main" $kCreditsBoxPoint)
  visit_tab "$main" 90 77    # status
  visit_tab "$main" 157 77   # items
  visit_tab "$main" 217 77   # shop
  visit_tab "$main" 273 77   # friends
  visit_tab "$main" 319 77   # log
  click "$main" $kBack       # the credit button sits where every back button is
  wait_until "the credits page" pixel_is "$main" $kBackgroundPoint "$kCreditsNavy"
  wait_until "the credits text box" pixel_is_not "$main" $kCreditsBoxPoint "$kCreditsNavy"
  back_to_top "$main"
  wait_until "the credits text box to hide" pixel_is "$main" $kCreditsBoxPoint "$boxPlaceOnTop"

  step "name the player on the status page"
  click "$main" 90 77
  wait_until "the status page" pixel_is "$main" $kBackgroundPoint "$kPageBlue"
  click "$main" 302 78
  local dialog
  dialog=$(await_window "$kNameDialog")
  xdotool mousemove --window "$dialog" 10 10
  xdotool type --delay "$kTypingDelayMs" Mike
  xdotool key Return
  wait_until "the name dialog to close" window_gone "$kNameDialog"
  back_to_top "$main"

  step "buy the first item in the shop"
  click "$main" 217 77
  wait_until "the shop page" pixel_is "$main" $kBackgroundPoint "$kPageBlue"
  click "$main" 100 80
  wait_until "the purchase in config.json" grep -q '"Item ID":0' "$config"
  back_to_top "$main"

  step "take it from the inventory and drop it on the shelf"
  click "$main" 157 77
  wait_until "the items page" pixel_is "$main" $kBackgroundPoint "$kPageBlue"
  click "$main" 60 85
  wait_until "the top page with the item in hand" pixel_is "$main" $kBackgroundPoint "$kTopGrey"
  xdotool mousemove --window "$main" 120 180
  xdotool mousemove --window "$main" 150 200
  click "$main" 150 200
  wait_until "the placed item in config.json" has_placed_item "$config"
}

# The whole tour: the first start, the connect screen, every page, a purchase placed on the shelf,
# and the record the closed window leaves behind.
scenario_play() {
  start_desktop
  start_pool
  start_game "$work/game"
  local config=$work/game/config.json

  step "first start: the name dialog, cancelled"
  cancel_name_dialog
  local main
  main=$(await_window "$kTitle")
  [[ $(client_size "$main") == 520x62 ]] || fail "the connect screen is $(client_size "$main"), not 520x62"
  check_window_frame "$main" 520x62
  [[ ! -e $config ]] || fail "config.json was written before connecting"
  open_and_close_about "$main" alt+slash

  step "connect to the demo pool"
  connect "$main" "$pool_url" demo
  wait_until "the game screen's size" client_size_is "$main" 520x300
  check_window_frame "$main" 520x300
  wait_until "the top page's grey" pixel_is "$main" $kBackgroundPoint "$kTopGrey"
  pixel_is "$main" 120 135 "$kSkyBlue" || fail "no sky on the top page"
  open_and_close_about "$main" alt+question

  play_the_pages "$main" "$config"
  play_more "$main"

  step "close the window"
  close_game "$main"
  grep -q '"Poko Coin Coin Spent":2' "$config" || fail "the purchase is not saved: $(cat "$config")"
  has_placed_item "$config" || fail "the placed item is not saved: $(items_json "$config")"
  grep -q '"Player Name":"Mike"' "$config" || fail "the name is not saved: $(cat "$config")"
  local saved_url="${pool_url//\//\\/}"  # the settings file escapes "/" as "\/"
  grep -qF "\"Server\":\"$saved_url\"" "$config" || fail "the pool is not saved: $(cat "$config")"
}

# A second copy says so, brings the first to the front and ends without touching its folder's
# record; the first runs on and saves at its end.
scenario_second_copy() {
  start_desktop
  start_game "$work/first"
  local first_pid=$game_pid first_main
  cancel_name_dialog
  first_main=$(await_window "$kTitle")
  focus_elsewhere
  ! has_focus "$first_main" || fail "the first copy kept the focus"

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
  wait_until "the first copy to have the focus" has_focus "$first_main"
  local begun=("$work"/second/config.json*.tmp)
  [[ ! -e ${begun[0]} ]] || fail "the second copy began a save"

  step "the first copy runs on"
  kill -0 "$first_pid" || fail "the first copy is gone"
  [[ $(xdotool search --onlyvisible --name "^$kTitle\$" | wc -l) -eq 1 ]] || fail "more than one main window"

  end_first_copy "$first_pid"
  grep -q '"Version":3' "$work/first/config.json" || fail "the first copy did not save at its end"
}

# Failures on the connect screen show their message, with its cause and what to do about it, and keep
# the screen, which then connects.
scenario_failing_pool() {
  start_desktop
  start_pool --fault html404@getuserworkers
  local missing_url=$pool_url
  start_pool
  start_game "$work/game"
  cancel_name_dialog
  local main
  main=$(await_window "$kTitle")

  step "a pool that does not answer"
  type_into "$main" $kServerField "http://127.0.0.1:1/index.php"
  type_into "$main" $kKeyField demo
  xdotool key Return  # Enter in a field presses the connect button
  expect_message $'ワーカーの情報取得に失敗しました。\nサーバーに接続できませんでした。\nアドレスとネットワークの接続を確かめてください。'
  [[ $(client_size "$main") == 520x62 ]] || fail "the connect screen did not stay"
  grep -q '127.0.0.1:1' "$work/game/config.json" || fail "the connect fields were not saved before the cycle"

  step "a key the pool refuses"
  type_into "$main" $kServerField "$pool_url"
  type_into "$main" $kKeyField wrong
  press_connect_again "$main"
  expect_message $'ワーカーの情報取得に失敗しました。\nプールがAPIキーを受け付けませんでした。\nプールのアカウントページからAPIキーをコピーし直してください。'

  step "an address that leads to no API"
  type_into "$main" $kServerField "$missing_url"
  type_into "$main" $kKeyField demo
  press_connect_again "$main"
  expect_message $'ワーカーの情報取得に失敗しました。\nプールがHTTPステータス404を返しました。\nアドレスはプールのAPIのスクリプト（ふつうはindex.php）で終わります。'

  step "a pool that limits requests, told apart from a refused key"
  local answering_url=$pool_url
  start_pool --fault ratelimit  # MPOS's flood limit: 401 without a body
  type_into "$main" $kServerField "$pool_url"
  type_into "$main" $kKeyField demo
  press_connect_again "$main"
  expect_message $'ワーカーの情報取得に失敗しました。\nプールが問い合わせの回数を制限しています。\nしばらくお待ちください。ゲームが自分でまた問い合わせます。'

  step "the same limit as MPOS's rate-limit page, on the transactions"
  start_pool --fault ratelimit@getusertransactions
  type_into "$main" $kServerField "$pool_url"
  press_connect_again "$main"
  expect_message $'トランザクションの情報取得に失敗しました。\nプールが問い合わせの回数を制限しています。\nしばらくお待ちください。ゲームが自分でまた問い合わせます。'
  pool_url=$answering_url

  step "a key that is too long"
  type_into "$main" $kKeyField "$(printf 'k%.0s' {1..256})"
  press_connect_again "$main"
  expect_message 'APIキーが長すぎます。'

  step "the same screen, corrected, connects"
  connect "$main" "$pool_url" demo
  wait_until "the game screen's size" client_size_is "$main" 520x300
  close_game "$main"
}

# play_doubled: on a desktop that shows everything at twice its size, every canvas pixel is a sharp
# 2 x 2 square and a click lands on the canvas pixel under it.
play_doubled() {
  start_pool
  start_game "$work/game"
  cancel_name_dialog
  local main
  main=$(await_window "$kTitle")
  [[ $(client_size "$main") == 1040x124 ]] || fail "the connect screen is $(client_size "$main") pixels"
  local x y
  read -r x y <<<"$kServerField"
  type_into "$main" $((2 * x)) $((2 * y)) "$pool_url"
  read -r x y <<<"$kKeyField"
  type_into "$main" $((2 * x)) $((2 * y)) demo
  click "$main" 948 34
  wait_until "the game screen's size" client_size_is "$main" 1040x600
  wait_until "the top page's grey" pixel_is "$main" 10 300 "$kTopGrey"

  step "every canvas pixel a 2 x 2 square"
  shot "$main" "$work/doubled.png"
  convert "$work/doubled.png" -sample 50% -sample 200% "$work/squares.png"
  same_pictures "$work/doubled.png" "$work/squares.png" ||
    fail "$(pixels_differing "$work/doubled.png" "$work/squares.png") pixels break the 2 x 2 squares"

  step "a click at twice a tab's place opens its page"
  click "$main" 180 154
  wait_until "the status page" pixel_is "$main" 10 300 "$kPageBlue"
  click "$main" 1000 580
  wait_until "the top page" pixel_is "$main" 10 300 "$kTopGrey"

  step "a click in the shop buys the first item"
  click "$main" 434 154
  wait_until "the shop page" pixel_is "$main" 10 300 "$kPageBlue"
  click "$main" 200 160
  wait_until "the purchase in config.json" grep -q '"Item ID":0' "$work/game/config.json"
  close_game "$main"
}

# seed_history FOLDER: a history.csv of the hour before now, a worker stopping and running again
# every 150 s: more events than the log page's list shows at once.
seed_history() {
  mkdir -p "$1"
  local now t i
  now=$(date +%s)
  printf '\xEF\xBB\xBFtime,total_khs,balance,payout,worker,khs\r\n' >"$1/history.csv"
  for ((i = 0; i < 24; i++)); do
    t=$((now - 3600 + 150 * i))
    local khs=$((i % 2 * 500))
    printf '%s,%d,0.1,1.0,demo.rig,%d\r\n' "$(date -u -d "@$t" +%Y-%m-%dT%H:%M:%S+00:00)" "$khs" "$khs" \
      >>"$1/history.csv"
  done
}

lines_at_least() { (($(wc -l <"$1") >= $2)); }

# changes_in WINDOW GEOMETRY BEFORE: the part WxH+X+Y of the window now differs from picture BEFORE.
changes_in() {
  shot "$1" "$work/now.png" "$2"
  [[ $(pixels_differing "$3" "$work/now.png") != 0 ]]
}

kLogChart=330x186+9+81
kLogList=102x198+350+86

# The log page after a few cycles against the demo pool: a new row redraws the chart, a range
# button moves the ring and the chart, the scroll bar moves the list.
scenario_log_page() {
  start_desktop
  start_pool
  seed_history "$work/game"
  local seeded
  seeded=$(wc -l <"$work/game/history.csv")
  start_game "$work/game" --update-interval 2
  cancel_name_dialog
  local main
  main=$(await_window "$kTitle")
  connect "$main" "$pool_url" demo
  wait_until "the game screen's size" client_size_is "$main" 520x300
  wait_until "a few cycles in history.csv" lines_at_least "$work/game/history.csv" $((seeded + 3))

  step "the log tab"
  click "$main" 319 77
  wait_until "the log page" pixel_is "$main" $kBackgroundPoint "$kPageBlue"
  pixel_is "$main" 33 60 "#FFFFFF" || fail "the 24-hour range is not the one chosen"
  shot "$main" "$work/chart-before.png" $kLogChart
  wait_until "the next cycle's row on the chart" changes_in "$main" $kLogChart "$work/chart-before.png"

  step "the 7-day range"
  shot "$main" "$work/chart-day.png" $kLogChart
  click "$main" 114 68
  wait_until "the ring on the 7-day button" pixel_is "$main" 89 60 "#FFFFFF"
  pixel_is_not "$main" 33 60 "#FFFFFF" || fail "the 24-hour button is still ringed"

  step "scroll the event list"
  shot "$main" "$work/list-before.png" $kLogList
  click "$main" 458 278  # the scroll bar's lower button
  wait_until "the list to move" changes_in "$main" $kLogList "$work/list-before.png"

  step "back to the top page"
  back_to_top "$main"
  close_game "$main"
}
