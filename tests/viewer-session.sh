# Shell functions for tests that start the viewer program on the X display
# (DISPLAY) and end it with Escape, as a person would. Source with ".".

# start_viewer <binary> <working folder> <file for standard error>
# Starts the viewer and waits for its window; sets viewer_pid and viewer_window.
start_viewer() {
    viewer_runtime=$(mktemp -d)
    chmod 700 "$viewer_runtime"
    (cd "$2" && XDG_RUNTIME_DIR="$viewer_runtime" QT_QPA_PLATFORM=xcb exec "$1" 2>"$3") &
    viewer_pid=$!
    # Polled rather than --sync: a search can trip over a window that Qt
    # creates and destroys while starting.
    viewer_window=""
    tries=0
    while [ -z "$viewer_window" ]; do
        tries=$((tries + 1))
        if [ "$tries" -gt 150 ] || ! kill -0 "$viewer_pid" 2>/dev/null; then
            echo "The viewer's window did not appear." >&2
            kill "$viewer_pid" 2>/dev/null
            return 1
        fi
        sleep 0.2
        viewer_window=$(xdotool search --onlyvisible --pid "$viewer_pid" --name '^Vudure DI64$' \
            2>/dev/null | head -n 1)
    done
}

# window_picture <file.ppm>: the viewer's window as it is on the screen.
window_picture() {
    xwd -silent -id "$viewer_window" | xwdtopnm 2>/dev/null >"$1"
}

# escape_viewer: presses Escape in the viewer's window, waits for the viewer to
# end and sets viewer_status to its exit code.
escape_viewer() {
    xdotool windowfocus --sync "$viewer_window" key Escape
    viewer_status=0
    wait "$viewer_pid" || viewer_status=$?
    rm -rf "$viewer_runtime"
}

# ground_picture_shows <window picture.ppm>: true when all four corners of the
# lower right view, which looks down on the helicopter, show the ground
# picture: grass and earth with some variety of colour, neither the grey
# airfield nor the plain green the ground has without its picture.
ground_picture_shows() {
    for corner in 388,288 702,288 388,482 702,482; do
        pnmcut -left "${corner%,*}" -top "${corner#*,}" -width 20 -height 20 "$1" | pnmtoplainpnm
    done | awk '
        { for (i = 1; i <= NF; ++i) if ($i !~ /^P/) v[n++] = $i }
        END {
            # each corner: P3, width, height, maxval, then 400 pixels
            for (c = 0; c < 4; ++c) {
                base = c * 1203 + 3
                for (p = 0; p < 400; ++p) {
                    r = v[base + 3 * p]; g = v[base + 3 * p + 1]; b = v[base + 3 * p + 2]
                    if (r > 40 && g > 40 && b + 15 < r && b + 15 < g) ++ground
                    colours[r "," g "," b] = 1
                }
            }
            for (k in colours) ++distinct
            exit !(ground >= 0.9 * 1600 && distinct >= 20)
        }'
}

# start_entry <desktop entry> <root> <file for standard error>: starts the
# viewer as a menu does, the entry's Exec= in its Path=, both taken under
# <root> (empty for an installed entry); sets what start_viewer sets.
start_entry() {
    entry_root=$2
    entry_stderr=$3
    entry_path=$(sed -n 's/^Path=//p' "$1")
    # Exec= quotes as the shell does.
    eval "set -- $(sed -n 's/^Exec=//p' "$1")"
    start_viewer "$entry_root$1" "$entry_root$entry_path" "$entry_stderr"
}

# sanitized: true when the build in $build is the sanitizer build.
sanitized() {
    grep -qx 'VUDURE_SANITIZE:BOOL=ON' "$build/CMakeCache.txt"
}

# check_hardening <program>: hardening-check passes. Control-flow protection
# is not asked for: Debian 12's C start files carry no CET marks, so no
# program there has it. Nor are fortified calls in the sanitizer build.
check_hardening() {
    skip=--nocfprotection
    if sanitized; then skip="$skip --nofortify"; fi
    # shellcheck disable=SC2086
    hardening-check --quiet $skip "$1" >&2 || { echo "hardening-check fails on $1" >&2; return 1; }
}
