#!/bin/bash
# Run once in a freshly built guest image: the 32-bit Wine prefix every check starts from, made by
# the same steps as the Wine scenarios' own prefixes (fonts standing in for the Japanese faces).
set -euo pipefail
# On a desktop, as the scenarios start Wine: Wine's explorer and its services start with the prefix.
[[ -n ${DISPLAY:-} ]] || exec xvfb-run -a bash "$0" "$@"
source /io/tests/windows/wine-env.sh
kPrefix=/root/wine-prefix
rm -rf "$kPrefix"
can_run_32_bit || { echo "32-bit Wine does not start in the guest" >&2; exit 1; }
wine_prefix "$kPrefix"
[[ $WINEARCH == win32 && -f $kPrefix/system.reg ]] || { echo "no 32-bit prefix in $kPrefix" >&2; exit 1; }
echo "prepared a $WINEARCH prefix in $kPrefix"
