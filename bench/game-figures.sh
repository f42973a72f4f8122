#!/usr/bin/env bash
# The game's figures against a demo pool on a port the OS picks: the time of one update cycle of
# orelog-tool on loopback, then, in its own Xvfb, the game connected by its button, with resident
# memory and idle CPU read from /proc while the top page shows; then the time the game takes to end
# when its window is closed while an update waits on a pool that never answers.
# usage: bench/game-figures.sh BUILD-DIR [SECONDS] [--no-workers]
#   SECONDS (default 60): how long the idle CPU is measured on the top page.
#   --no-workers: the pool reports no workers, so nothing on the top page moves.
set -euo pipefail
build=$(cd "$1" && pwd) seconds=${2:-60} workers=${3:-}
scenario=figures
source "$(dirname "$0")/../tests/support/desktop.sh"

start_gtk_session
mkdir -m 700 "$work/game"

pool_flags=()
if [[ $workers == --no-workers ]]; then
  printf '{"workers":[]}' >"$work/pool-data.json"
  pool_flags=(--data "$work/pool-data.json")
fi
start_demo_pool "$build/demo-pool" "${pool_flags[@]}"
printf '{"Server":"%s","API Key":"demo","Player Name":"figures"}' "$pool_url" >"$work/game/config.json"

mkdir "$work/tool"
cp "$work/game/config.json" "$work/tool/"
readonly kCycles=20
start=$(date +%s%N)
(cd "$work/tool" && "$build/orelog-tool" update --cycles $kCycles >/dev/null)
awk -v ns=$(($(date +%s%N) - start)) -v n=$kCycles \
  'BEGIN { printf "update cycle on loopback (orelog-tool, mean of %d): %.1f ms\n", n, ns / n / 1e6 }'

(cd "$work/game" && exec "$build/orelog") >"$work/game.log" 2>&1 &
game_pid=$!
background+=($game_pid)
main=$(await_window "$kTitle")
click "$main" 474 17
wait_until "the game screen" client_size_is "$main" 520x300
xdotool mousemove 1279 799  # the pointer rests outside the window: no hover
sleep 2

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$game_pid/stat"; }
echo "resident memory after connecting: $(awk '/^VmRSS:/ { print $2 " " $3 }' "/proc/$game_pid/status")"
before=$(cpu_ticks)
sleep "$seconds"
after=$(cpu_ticks)
hz=$(getconf CLK_TCK)
awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" -v w="${workers:-with workers}" \
  'BEGIN { printf "idle CPU on the top page (%s): %.2f %% of a core over %d s\n", w, 100 * t / hz / s, s }'

# The close box during an update the pool never answers: the game gives the fetch up and saves.
close_window=$build/tests/e2e/e2e-close-window
if [[ ! -x $close_window ]]; then
  echo "closing during a stalled update: not measured ($close_window is built with ORELOG_TESTS=ON)"
  exit 0
fi
kill "$game_pid"
wait "$game_pid" 2>/dev/null || true
(cd "$work/game" && exec "$build/orelog" --update-interval 2) >>"$work/game.log" 2>&1 &
game_pid=$!
background+=($game_pid)
main=$(await_window "$kTitle")
click "$main" 474 17
wait_until "the game screen" client_size_is "$main" 520x300
replace_demo_pool "$build/demo-pool" --fault stall
await_pool_asked
began=$EPOCHREALTIME
"$close_window" "$main"
wait "$game_pid" || fail "the game ended with code $?"
awk -v a="$began" -v b="$EPOCHREALTIME" 'BEGIN { printf "closing during a stalled update: %.3f s to the end\n", b - a }'
grep -q '"Version":3' "$work/game/config.json" || fail "the game did not save at its end"
