#!/usr/bin/env bash
# The Debian package as Debian's tools judge it: lintian reports no error (its warnings are shown),
# and the menu entry and the AppStream metadata inside the package pass their validators.
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
