#!/bin/bash
# Run in the emulated PC on each check: the Wine scenarios of wine.sh on the 32-bit Windows programs
# of /io/programs, each scenario in a copy of the prepared prefix. Prints "held: SCENARIO" or
# "failed: SCENARIO" with the scenario's output, one scenario after another.
# usage: check.sh SCENARIO...
set -uo pipefail
programs=/opt/orelog
mkdir -p "$programs/windows"
cp /io/programs/orelog.exe /io/programs/orelog-tool.exe /io/programs/demo-pool.exe "$programs/windows/"
cp /io/programs/orelog-tool /io/programs/demo-pool /io/programs/e2e-close-window "$programs/"
export ORELOG_WINDOWS_PROGRAMS=$programs/windows ORELOG_WINE_PREFIX_TEMPLATE=/root/wine-prefix
# The emulated processor is many times slower than the host: awaited windows get longer.
export kDeadline=300

status=0
for scenario in "$@"; do
  start=$SECONDS
  if bash /io/tests/windows/wine.sh "$scenario" "$programs/orelog-tool" "$programs/demo-pool" \
    "$programs/e2e-close-window" >"/tmp/$scenario.log" 2>&1; then
    echo "held: $scenario ($((SECONDS - start)) s)"
  else
    echo "failed: $scenario ($((SECONDS - start)) s)"
    sed 's/^/  /' "/tmp/$scenario.log"
    status=1
  fi
done
exit $status
