#!/usr/bin/env bash
# The Debian package on this machine as a player gets it: installed with apt-get, the installed
# orelog-tool asked for its version, the game started the way the desktop menu starts it (under a
# headless X server, in a home of its own) and connected to the installed demo pool, its progress
# kept in ~/.local/share/orelog/; then the package is removed again. Needs root.
# usage: deb-install.sh PACKAGE.deb
set -euo pipefail
deb=$(realpath "$1")
readonly kPackage=orelog kVersionLine='Orelog 1.0'
scenario=deb_install
source "$(dirname "$0")/../support/desktop.sh"

[[ $(id -u) -eq 0 ]] || fail "installing a package needs root"
# A copy the machine already had stays as it was; this test only removes what it installed.
installed_before() { dpkg-query -W -f='${Status}' "$kPackage" 2>/dev/null | grep -q 'install ok installed'; }
! installed_before || fail "$kPackage is already installed here; remove it first"
remove_package() {
  DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq "$kPackage" >"$work/remove.log" 2>&1 && ! installed_before
}
# A failing step still leaves the machine without the package.
stop_extras() { ! installed_before || remove_package || echo "$kPackage could not be removed" >&2; }

step "apt-get install $deb"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$deb" >"$work/install.log" 2>&1 ||
  fail "apt-get could not install the package"
for program in orelog orelog-desktop-launch orelog-tool demo-pool; do
  [[ $(command -v "$program") == /usr/bin/$program ]] || fail "$program is not installed in /usr/bin"
done

step "orelog-tool --version"
version=$(/usr/bin/orelog-tool --version) || fail "orelog-tool --version failed"
[[ $version == "$kVersionLine" ]] || fail "orelog-tool --version printed '$version'"

step "the menu entry starts the game in ~/.local/share/orelog"
start_gtk_session
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/orelog.desktop)
[[ -n $exec_line ]] || fail "the menu entry has no Exec line"
(cd / && exec $exec_line) >"$work/game.log" 2>&1 &
game_pid=$!
background+=("$game_pid")
start_demo_pool /usr/bin/demo-pool

dialog=$(await_window "$kNameDialog")
xdotool mousemove --window "$dialog" 10 10 key Escape
wait_until "the name dialog to close" window_gone "$kNameDialog"
main=$(await_window "$kTitle")
[[ $(client_size "$main") == 520x62 ]] || fail "the connect screen is $(client_size "$main"), not 520x62"
folder=$HOME/.local/share/orelog
[[ $(readlink "/proc/$game_pid/cwd") == "$folder" ]] || fail "the game runs in $(readlink "/proc/$game_pid/cwd")"

step "connect to the installed demo pool"
type_into "$main" 200 18 "$pool_url"
type_into "$main" 200 45 demo
click "$main" 474 17
wait_until "the game screen" client_size_is "$main" 520x300
wait_until "the record in $folder" grep -q '"API Key":"demo"' "$folder/config.json"
kill -TERM "$game_pid"
wait "$game_pid" || fail "the game ended with code $? on TERM"

step "remove the package"
remove_package || fail "apt-get could not remove the package"
for program in orelog orelog-desktop-launch orelog-tool demo-pool; do
  [[ ! -e /usr/bin/$program ]] || fail "/usr/bin/$program stayed after the removal"
done
echo "ok: installed, started from the menu entry, connected, removed"
