#!/bin/sh
# Makes the Debian package from the build and checks it: its files under /usr,
# its library dependencies, Debian's own checks (lintian, hardening-check, the
# manual page's lint), and that its viewer, unpacked and started as its menu
# entry says, ends with 0 on Escape. Needs DISPLAY.
#
#   package-test.sh <build folder>
set -eu
build=$(cd "$1" && pwd)
. "$(dirname "$0")/viewer-session.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1) \
    || { cat "$work/cpack.log" >&2; exit 1; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
arch=$(dpkg --print-architecture)
deb="$work/out/vudure_${version}_$arch.deb"
[ -f "$deb" ] || { echo "No $deb; cpack made: $(ls "$work/out")" >&2; exit 1; }

contents=$(dpkg-deb --contents "$deb" | awk '{ print $6 }')
id=org.vudure.Vudure
man=usr/share/man/man6/vudure.6.gz
for file in usr/games/vudure usr/share/vudure/ground.bmp usr/share/applications/$id.desktop \
    usr/share/metainfo/$id.metainfo.xml usr/share/doc/vudure/copyright $man \
    usr/share/icons/hicolor/16x16/apps/$id.png usr/share/icons/hicolor/32x32/apps/$id.png \
    usr/share/icons/hicolor/48x48/apps/$id.png usr/share/icons/hicolor/64x64/apps/$id.png \
    usr/share/icons/hicolor/128x128/apps/$id.png usr/share/icons/hicolor/256x256/apps/$id.png; do
    echo "$contents" | grep -qx "\./$file" || { echo "The package lacks /$file" >&2; exit 1; }
done

depends=$(dpkg-deb --field "$deb" Depends)
echo "Depends: $depends"
for library in libqt6widgets6 libqt6openglwidgets6 libqt6gui6 libqt6core6 libopengl0 libglu1; do
    echo "$depends" | grep -q "$library" || { echo "Depends names no $library" >&2; exit 1; }
done
[ "$(dpkg-deb --field "$deb" Section)" = games ] || { echo "Section is not games" >&2; exit 1; }

# Every tag fails but the one that the sanitizer build, with no fortified
# calls, must give.
quiet=
if sanitized; then quiet=hardening-no-fortify-functions; fi
lintian -I --pedantic --fail-on error,warning,info,pedantic --suppress-tags "$quiet" "$deb" \
    || { echo "lintian fails the package" >&2; exit 1; }
dpkg-deb -x "$deb" "$work/root"
check_hardening "$work/root/usr/games/vudure"
notes=$(mandoc -T lint "$work/root/$man" 2>&1) && [ -z "$notes" ] \
    || { echo "The manual page: $notes" >&2; exit 1; }
grep -qx 'Path=/usr/share/vudure' "$work/root/usr/share/applications/$id.desktop" \
    || { echo "The packaged entry's Path= is not /usr/share/vudure" >&2; exit 1; }
start_entry "$work/root/usr/share/applications/$id.desktop" "$work/root" "$work/stderr"
sleep 1
escape_viewer
if [ -s "$work/stderr" ] || [ "$viewer_status" != 0 ]; then
    echo "The packaged viewer exited with $viewer_status and printed:" >&2
    cat "$work/stderr" >&2
    exit 1
fi
echo "$(basename "$deb"): contents, Depends, lintian, hardening, manual page and a start from the unpacked files: all good."
