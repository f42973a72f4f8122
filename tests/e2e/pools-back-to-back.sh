#!/usr/bin/env bash
# Demo pools started one right after another, the way a scenario starts a pool per fault: each start
# reads the address of the pool it started, never the one before it nor a file emptied under it.
# The pool before runs on while the next starts, so the two cannot share a port.
# usage: pools-back-to-back.sh DEMO-POOL
set -euo pipefail
demo_pool=$1
scenario=pools_back_to_back
source "$(dirname "$0")/../support/desktop.sh"

# A misread needs the reading shell to overtake the starting one, which is rare on an idle machine
# and common on a busy one: enough starts that a harness open to it shows it.
readonly kPools=100
previous_port='' previous_pid=''
for ((start = 1; start <= kPools; start++)); do
  start_demo_pool "$demo_pool"
  [[ $pool_port =~ ^[0-9]+$ ]] || fail "start $start read no port: '$pool_port'"
  [[ $pool_port != "$previous_port" ]] || fail "start $start read port $pool_port, the pool before's"
  [[ $pool_url == "http://127.0.0.1:$pool_port/index.php" ]] || fail "start $start read the address '$pool_url'"
  [[ -z $previous_pid ]] || kill "$previous_pid"  # only the pool before the new one need run
  previous_port=$pool_port previous_pid=$pool_pid
done
echo "PASS ($scenario): $kPools pools, each read at its own port"
