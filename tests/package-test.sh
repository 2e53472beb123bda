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
# Every tag fails but the one that the sanitizer build, with no fortified
# calls, must give.
quiet=
[ -z "${VUDURE_SANITIZER_ENV:-}" ] || quiet=hardening-no-fortify-functions
lintian -I --pedantic --fail-on error,warning,info,pedantic --suppress-tags "$quiet" "$deb" \
    || fail "lintian fails the package"

dpkg-deb -x "$deb" "$session/root"
# Control-flow protection is not asked for: Debian 12's C start files carry
# no CET marks, so no program there has it. Nor fortified calls under ASan.
skip=--nocfprotection
[ -z "${VUDURE_SANITIZER_ENV:-}" ] || skip="$skip --nofortify"
# shellcheck disable=SC2086
hardening-check --quiet $skip "$session/root/usr/games/vudure" >&2 || fail "hardening-check fails"
man="$session/root/usr/share/man/man6/vudure.6.gz"
notes=$(mandoc -T lint "$man" 2>&1) && [ -z "$notes" ] || fail "The manual page: $notes"
entry=/usr/share/applications/$VUDURE_APP_ID.desktop
grep -qx 'Path=/usr/share/vudure' "$session/root$entry" || fail "The entry's Path= is not /usr/share/vudure"
start_entry "$session/root$entry" "$session/root"
escape_viewer
echo "$(basename "$deb"): files, Depends, lintian, hardening, manual page and a start from the menu entry: all good."
