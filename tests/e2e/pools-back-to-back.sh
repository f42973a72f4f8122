#!/usr/bin/env bash
# Demo pools started one right after another, the way a scenario starts a pool per fault: each start
# reads the address of the pool it started, never the one before it nor a file emptied under it.
# Every pool runs on while the next starts, so no two can hold the same port.
# usage: pools-back-to-back.sh DEMO-POOL
set -euo pipefail
demo_pool=$1
scenario=pools_back_to_back
source "$(dirname "$0")/../support/desktop.sh"

# Enough starts that a harness reading an earlier pool's line shows it even on an idle machine.
readonly kPools=40
declare -A started_at=()  # port -> the start that read it
for ((start = 1; start <= kPools; start++)); do
  start_demo_pool "$demo_pool"
  [[ $pool_port =~ ^[0-9]+$ ]] || fail "start $start read no port: '$pool_port'"
  [[ -z ${started_at[$pool_port]:-} ]] ||
    fail "start $start read port $pool_port, the address of start ${started_at[$pool_port]}"
  [[ $pool_url == "http://127.0.0.1:$pool_port/index.php" ]] || fail "start $start read the address '$pool_url'"
  started_at[$pool_port]=$start
done
echo "PASS ($scenario): $kPools pools, each at its own port"
