#!/bin/sh
# The viewer as a process, ending promptly and never by a crash: with 0 on
# Escape and on the close button; without a display or usable OpenGL, with
# one line that fits the cause and a code of its own; so too when another X
# client destroys its window, on the display -display chose; when its X
# server ends, Qt exits with 1. Needs DISPLAY.
#   process-test.sh <build folder>
set -eu
build=$(cd "$1" && pwd)
. "$(dirname "$0")/viewer-session.sh"
viewer="$build/vudure"

# Settings | the exit code | words of the one line it prints.
while IFS='|' read -r settings code words; do
    # shellcheck disable=SC2086
    launch "$viewer" "$session" $settings
    wait_viewer 20
    errors=$(cat "$session/stderr")
    [ "$viewer_status" = "$code" ] && [ "$(echo "$errors" | wc -l)" = 1 ] \
        && echo "$errors" | grep -qF "$words" || fail "$settings: exit $viewer_status; $errors"
done <<EOF
QT_XCB_GL_INTEGRATION=none|$VUDURE_EXIT_NO_OPENGL|"xcb" platform QT_XCB_GL_INTEGRATION switches its OpenGL off. Unset
QT_QPA_PLATFORM=offscreen DISPLAY=|$VUDURE_EXIT_NO_OPENGL|"offscreen" platform it cannot show OpenGL in a window. Run it on X11
DISPLAY=|$VUDURE_EXIT_NO_DISPLAY|needs a display to show its window, but could not open one (DISPLAY not set,
QT_QPA_PLATFORM=wayland DISPLAY=|$VUDURE_EXIT_NO_DISPLAY|WAYLAND_DISPLAY not set, QT_QPA_PLATFORM="wayland")
EOF

# On X servers of the test's own, which it may take away. The first window
# goes to the second server by -display, while DISPLAY names the first: the
# watch must see its own window go, and nothing else.
start_x
other=$DISPLAY
start_x
viewer_args="-display $DISPLAY"
start_viewer "$viewer" "$session" DISPLAY="$other"
viewer_args=
xdotool windowclose "$viewer_window"
wait_viewer 20
[ "$viewer_status" = "$VUDURE_EXIT_WINDOW_DESTROYED" ] && grep -q "window was destroyed" "$session/stderr" \
    || fail "Window destroyed: exit $viewer_status; $(cat "$session/stderr")"

# From the build folder, where its ground picture is: nothing to say.
start_viewer "$viewer" "$build"
escape_viewer
# The close button is the window manager's: it asks the window to close.
openbox >/dev/null 2>&1 &
started="$started $!"
for _ in $(seq 100); do wmctrl -m >/dev/null 2>&1 || sleep 0.1; done
wmctrl -m >/dev/null 2>&1 || fail "openbox did not start."
start_viewer "$viewer" "$build"
close_viewer wmctrl -i -c "$viewer_window"

start_viewer "$viewer" "$session"
# Flushing a frame as the server goes must not kill it with SIGPIPE. That
# race is too narrow to provoke at will, so look at what it ignores.
sigign=$(sed -n 's/^SigIgn:[[:space:]]*//p' "/proc/$viewer_pid/status")
[ $((0x$sigign >> 12 & 1)) = 1 ] || fail "X server gone: a write to it would kill the viewer (SIGPIPE)"
stop "$x_pid"
wait_viewer 20
[ "$viewer_status" = 1 ] && grep -q "X11 connection broke" "$session/stderr" \
    || fail "X server gone: exit $viewer_status; $(cat "$session/stderr")"
echo "Ended by Escape, the close button, no display, no OpenGL, its window or its X server gone: all as it should."
