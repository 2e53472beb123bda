#!/bin/sh
# Installs the build into a temporary prefix and checks the result as a
# desktop would use it: the files and their places, the desktop entry and the
# metainfo through their validators, the program's hardening, and the
# installed viewer started the way the menu starts it (the entry's Exec= in
# its Path=): quiet, ground picture on the ground, a window class that
# matches the entry, Escape gives 0. Needs DISPLAY.
#
#   install-test.sh <build folder>
set -eu
build=$(cd "$1" && pwd)
. "$(dirname "$0")/viewer-session.sh"

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
# A prefix other than the configured one, with a space: the entry's Exec= and
# Path= must follow it.
prefix="$stage/opt vudure"
cmake --install "$build" --prefix "$prefix" >/dev/null

id=org.vudure.Vudure
expected="games/vudure
share/applications/$id.desktop
share/doc/vudure/README.md
share/doc/vudure/changelog.gz
share/doc/vudure/copyright
share/man/man6/vudure.6.gz
share/metainfo/$id.metainfo.xml
share/vudure/ground.bmp"
for n in 16 32 48 64 128 256; do
    expected="$expected
share/icons/hicolor/${n}x$n/apps/$id.png"
done
installed=$(cd "$prefix" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
expected=$(echo "$expected" | LC_ALL=C sort)
if [ "$installed" != "$expected" ]; then
    echo "Installed files differ from the expected ones:" >&2
    echo "$expected" >"$stage/expected"
    echo "$installed" | diff "$stage/expected" - >&2
    exit 1
fi

# Validators: no errors and no warnings (hints and pedantic notes are printed).
entry="$prefix/share/applications/$id.desktop"
notes=$(desktop-file-validate "$entry" 2>&1) || { echo "$notes" >&2; exit 1; }
[ -n "$notes" ] && echo "$notes"
if echo "$notes" | grep -E 'error|warning'; then exit 1; fi
notes=$(appstreamcli validate --no-net --no-color "$prefix/share/metainfo/$id.metainfo.xml" 2>&1) \
    || { echo "$notes" >&2; exit 1; }
echo "$notes"
if echo "$notes" | grep -E '^[EW]:'; then exit 1; fi

path=$(sed -n 's/^Path=//p' "$entry")
if [ "$path" != "$prefix/share/vudure" ]; then
    echo "Path= is '$path', not the installed data folder $prefix/share/vudure" >&2
    exit 1
fi

check_hardening "$prefix/games/vudure"

# Started as the menu does; after starting the engine and flying backwards
# the view from above comes over open ground.
start_entry "$entry" "" "$stage/stderr"
# A task bar ties the window to its menu entry by the window's class.
class=$(xprop -id "$viewer_window" WM_CLASS | sed -n 's/.*, "\(.*\)"$/\1/p')
xdotool windowfocus --sync "$viewer_window" key z s
shown=no
tries=0
while [ "$shown" = no ] && [ "$tries" -lt 120 ]; do
    tries=$((tries + 1))
    sleep 0.5
    window_picture "$stage/window.ppm"
    if ground_picture_shows "$stage/window.ppm"; then shown=yes; fi
done
escape_viewer
if [ "$shown" = no ]; then
    echo "The view from above never showed the ground picture." >&2
    pnmtopng "$stage/window.ppm" >"$build/install-test-window.png" \
        && echo "Last picture: $build/install-test-window.png" >&2
    exit 1
fi
if [ -s "$stage/stderr" ]; then
    echo "The installed viewer printed:" >&2
    cat "$stage/stderr" >&2
    exit 1
fi
if [ "$class" != "$(sed -n 's/^StartupWMClass=//p' "$entry")" ]; then
    echo "The window's class '$class' is not the entry's StartupWMClass." >&2
    exit 1
fi
if [ "$viewer_status" != 0 ]; then
    echo "The installed viewer exited with $viewer_status after Escape." >&2
    exit 1
fi
echo "Installed under $prefix: files, validators, hardening, menu start, window class: all good."
