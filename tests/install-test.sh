#!/bin/sh
# Installs the build into a temporary prefix and checks it as a desktop uses
# it: files (the program in bin, as the prefix is not /usr or /usr/local),
# validators, and the viewer started as the menu starts it (Exec= in Path=):
# it finds its ground picture (no warning), its window's class is the
# entry's StartupWMClass, Escape ends it with 0. Needs DISPLAY.
#   install-test.sh <build folder>
set -eu
build=$(cd "$1" && pwd)
. "$(dirname "$0")/viewer-session.sh"

# A prefix other than the configured one, with a space: the entry's Exec=
# and Path= must follow it.
prefix="$session/opt vudure"
cmake --install "$build" --prefix "$prefix" >/dev/null
check_files "" bin "$(cd "$prefix" && find . -type f | sed 's|^\./||')"

# Validators: no errors and no warnings (hints and pedantic notes are printed).
entry="$prefix/share/applications/$VUDURE_APP_ID.desktop"
notes=$(desktop-file-validate "$entry" 2>&1) || fail "$notes"
if echo "$notes" | grep -E 'error|warning'; then exit 1; fi
# The software centres' data, as configured and with a homepage (which adds
# the pictures of docs/): no note but the pedantic one on the id's capitals.
source=$(cd "$(dirname "$0")/.." && pwd)
homepage=https://example.org/vudure
cmake -S "$source" -B "$session/homepage" -DVUDURE_HOMEPAGE="$homepage" >/dev/null
metainfo="$session/homepage/data/$VUDURE_APP_ID.metainfo.xml"
notes=$(appstreamcli validate --pedantic --no-net --no-color \
    "$prefix/share/metainfo/$VUDURE_APP_ID.metainfo.xml" "$metainfo" 2>&1) || fail "$notes"
if echo "$notes" | grep -E '^ *[EWIP]:' | grep -v cid-contains-uppercase-letter; then exit 1; fi
for picture in $(grep -o "$homepage/[^<]*" "$metainfo" | sed "s|^$homepage/||"); do
    [ -f "$source/$picture" ] || fail "The software centres are shown $picture, which docs/ lacks."
done
[ "$(sed -n 's/^Path=//p' "$entry")" = "$prefix/share/vudure" ] \
    || fail "Path= is not the installed data folder $prefix/share/vudure"

start_entry "$entry" ""
# A task bar ties the window to its menu entry by the window's class.
class=$(xprop -id "$viewer_window" WM_CLASS | sed -n 's/.*, "\(.*\)"$/\1/p')
[ "$class" = "$(sed -n 's/^StartupWMClass=//p' "$entry")" ] \
    || fail "The window's class '$class' is not the entry's StartupWMClass."
escape_viewer
echo "Installed under $prefix: files, validators, menu start, window class: all good."
