#!/usr/bin/env bash
# The Windows figure beside build/orelog-bench's LargestRecord: record-file-test.exe loads the
# largest records config.json may hold under Wine, in a fresh prefix, and prints its peak working
# set and the load's time.
# usage: bench/record-load-wine.sh [WINDOWS-PROGRAMS]   (default: what scripts/build-windows printed)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tests/windows/wine-env.sh"
programs=${1:-$root/build-windows}
can_run_32_bit || [[ -n ${1:-} ]] || programs+=64
work=$(mktemp -d)
trap '"$WINESERVER" -k 2>/dev/null || true; rm -rf "$work"' EXIT
wine_prefix "$work/prefix"
readonly kLimit=$((64 * 1024 * 1024))
for element in '{}' '{"Item ID":1,"X":2,"Y":3}'; do
  perl -e '$n = int(($ARGV[1] - 13) / (length($ARGV[0]) + 1));
           print q({"Items":[), join(",", ($ARGV[0]) x $n), "]}"' "$element" "$kLimit" >"$work/config.json"
  printf '%s: ' "$element"
  "$WINELOADER" "$programs/record-file-test.exe" --peak "$(windows_path "$work/config.json")" | tr -d '\r'
done
