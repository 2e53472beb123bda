#!/bin/sh
# Makes the Debian package and checks its files, its library dependencies,
# Debian's own checks (lintian, hardening-check, the manual page's lint), and
# that its viewer, started as its menu entry says, ends with 0 on Escape.
#   package-test.sh <build folder>
set -eu
build=$(cd "$1" && pwd)
. "$(dirname "$0")/viewer-session.sh"

(cd "$session" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$session/out" \
    >"$session/cpack.log" 2>&1) || fail "$(cat "$session/cpack.log")"
deb=$(ls "$session"/out/vudure_*.deb)
check_files usr/ games "$(dpkg-deb --contents "$deb" | awk '/^-/ { sub(/^\.\//, "", $6); print $6 }')"

depends=$(dpkg-deb --field "$deb" Depends)
for library in libqt6widgets6 libqt6openglwidgets6 libqt6gui6 libqt6core6 libopengl0 libglu1; do
    echo "$depends" | grep -q "$library" || fail "Depends names no $library: $depends"
done
[ "$(dpkg-deb --field "$deb" Section)" = games ] || fail "Section is not games"
[ "$(dpkg-deb --field "$deb" Recommends)" = qt6-wayland ] || fail "It does not recommend qt6-wayland"
# Every tag fails but the sanitizer build's (no fortified calls) and, on Debian
# 13, lintian's of AppStream 1.0's warning on data without a homepage.
quiet=
[ -z "${VUDURE_SANITIZER_ENV:-}" ] || quiet=hardening-no-fortify-functions
appstreamcli --version | grep -q ' 0\.' || [ -n "$(dpkg-deb --field "$deb" Homepage)" ] \
    || quiet="${quiet:+$quiet,}appstream-metadata-validation-failed"
lintian -I --pedantic --fail-on error,warning,info,pedantic --suppress-tags "$quiet" "$deb" \
    || fail "lintian fails the package"

dpkg-deb -x "$deb" "$session/root"
! readelf -d "$session/root/usr/games/vudure" | grep -E 'R(UN)?PATH' || fail "The program has a run path."
# Not asked for: control-flow protection (Debian 12's C start files have no CET
# marks; Debian 13's checker finds it in none of Debian's programs), arm64's
# branch protection (asked of amd64 programs too there), fortify under ASan.
skip=--nocfprotection
! hardening-check --help | grep -q nobranchprotection || skip="$skip --nobranchprotection"
[ -z "${VUDURE_SANITIZER_ENV:-}" ] || skip="$skip --nofortify"
# shellcheck disable=SC2086
hardening-check --quiet $skip "$session/root/usr/games/vudure" >&2 || fail "hardening-check fails"
man="$session/root/usr/share/man/man6/vudure.6.gz"
notes=$(mandoc -T lint "$man" 2>&1) && [ -z "$notes" ] || fail "The manual page: $notes"
entry=/usr/share/applications/$VUDURE_APP_ID.desktop
start_entry "$session/root$entry" "$session/root"
escape_viewer
echo "$(basename "$deb"): files, Depends, lintian, hardening, manual page and a start from the menu entry: all good."
