#!/usr/bin/env bash
# The Debian package as Debian's tools judge it: lintian reports no error (its warnings are shown),
# the menu entry and the AppStream metadata inside the package pass their validators, and the icon
# comes at every size desktops look for.
# usage: deb-checks.sh PACKAGE.deb
set -euo pipefail
deb=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/orelog-deb-checks.XXXXXX")
trap 'rm -rf "$work"' EXIT

echo "-- lintian"
lintian --fail-on error --display-level '>=warning' --tag-display-limit 0 "$deb"

dpkg-deb -x "$deb" "$work/root"
echo "-- desktop-file-validate"
desktop-file-validate "$work/root/usr/share/applications/orelog.desktop"
echo "-- appstreamcli validate"
appstreamcli validate --no-net "$work"/root/usr/share/metainfo/*.metainfo.xml
echo "-- the icon at every size"
for size in 16 24 32 48 64 128 256; do
  icon=$work/root/usr/share/icons/hicolor/${size}x$size/apps/orelog.png
  [[ -f $icon ]] || { echo "no ${size} px icon" >&2; exit 1; }
  [[ $(identify -format '%wx%h' "$icon") == "${size}x$size" ]] || { echo "the $size px icon is $(identify -format '%wx%h' "$icon")" >&2; exit 1; }
done
