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
! readelf -d "$prefix/bin/vudure" | grep -E 'R(UN)?PATH' || fail "The program has a run path."

# Validators: no errors and no warnings (hints and pedantic notes are printed).
entry="$prefix/share/applications/$VUDURE_APP_ID.desktop"
notes=$(desktop-file-validate "$entry" 2>&1) || fail "$notes"
if echo "$notes" | grep -E 'error|warning'; then exit 1; fi
# The software centres' data with a homepage (adding docs/'s pictures) and as
# configured: no note but on the id's capitals, and AppStream 1.0's on no homepage.
source=$(cd "$(dirname "$0")/.." && pwd)
homepage=https://example.org/vudure
cmake -S "$source" -B "$session/homepage" -DVUDURE_HOMEPAGE="$homepage" >/dev/null
metainfo="$session/homepage/data/$VUDURE_APP_ID.metainfo.xml"
allowed=cid-contains-uppercase-letter
for file in "$metainfo" "$prefix/share/metainfo/$VUDURE_APP_ID.metainfo.xml"; do
    notes=$(appstreamcli validate --pedantic --no-net --no-color "$file" 2>&1) \
        || echo "$notes" | grep -q url-homepage-missing || fail "$notes"
    if echo "$notes" | grep -E '^ *[EWIP]:' | grep -vE "$allowed"; then exit 1; fi
    appstreamcli --version | grep -q ' 0\.' || grep -q '^VUDURE_HOMEPAGE:STRING=.' "$build/CMakeCache.txt" \
        || allowed="$allowed|url-homepage-missing"
done
for picture in $(grep -o "$homepage/[^<]*" "$metainfo" | sed "s|^$homepage/||"); do
    [ -f "$source/$picture" ] || fail "The software centres are shown $picture, which docs/ lacks."
done

start_entry "$entry" ""
# A task bar ties the window to its menu entry by the window's class.
class=$(xprop -id "$viewer_window" WM_CLASS | sed -n 's/.*, "\(.*\)"$/\1/p')
[ "$class" = "$(sed -n 's/^StartupWMClass=//p' "$entry")" ] \
    || fail "The window's class '$class' is not the entry's StartupWMClass."
escape_viewer
echo "Installed under $prefix: files, validators, menu start, window class: all good."
