#!/bin/sh
# The viewer as a process, ending promptly and never by a crash: with 0 on
# Escape and on the close button; without a display, a display that lets it
# in or usable OpenGL, or with a platform that can't start, with one line
# that names the cause and a code of its own; so too when another X client
# destroys its window, on the display -display chose; when its X server ends,
# with 1 and Qt's one line. Needs DISPLAY.
#   process-test.sh <build folder>
set -eu
build=$(cd "$1" && pwd)
. "$(dirname "$0")/viewer-session.sh"
viewer="$build/vudure"

# X servers of the test's own, which it may take away: one that is gone, one
# that lets in only the clients with its authority (a cookie in a file of
# the test's own), and two to show the viewer on.
start_x
gone=$DISPLAY
gone_pid=$x_pid
: >"$session/xauthority"
start_x 640x480 -auth "$session/xauthority"
locked=$DISPLAY
xauth -q -f "$session/xauthority" add "$locked" . "$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')"
start_x
other=$DISPLAY
other_pid=$x_pid
start_x
stop "$gone_pid" # last, or the next server would take its number
# Without a DRM device Qt's eglfs platform cannot start.
drm=$([ -e /dev/dri ] && echo "#" || true)

# Arguments | settings | the exit code | words of the one line it prints.
while IFS='|' read -r viewer_args settings code words; do
    [ "$viewer_args" != "#" ] || continue
    # shellcheck disable=SC2086
    launch "$viewer" "$session" $settings
    wait_viewer 20
    errors=$(cat "$session/stderr")
    [ "$viewer_status" = "$code" ] && [ "$(echo "$errors" | wc -l)" = 1 ] \
        && echo "$errors" | grep -qF "$words" || fail "$viewer_args $settings: exit $viewer_status; $errors"
done <<EOF
|QT_XCB_GL_INTEGRATION=none|$VUDURE_EXIT_NO_OPENGL|"xcb" platform QT_XCB_GL_INTEGRATION switches its OpenGL off. Unset
|QT_QPA_PLATFORM=offscreen DISPLAY=|$VUDURE_EXIT_NO_OPENGL|"offscreen" platform it cannot show OpenGL in a window. Run it on X11 or Wayland: unset QT_QPA_PLATFORM
-platform minimal|QT_QPA_PLATFORM=|$VUDURE_EXIT_NO_OPENGL|"minimal" platform it cannot show OpenGL in a window. Run it on X11 or Wayland: leave out the -platform option
|DISPLAY= QT_QPA_PLATFORM=|$VUDURE_EXIT_NO_DISPLAY|could not open one (DISPLAY not set, WAYLAND_DISPLAY not set). Start
|QT_QPA_PLATFORM=wayland DISPLAY=|$VUDURE_EXIT_NO_DISPLAY|(DISPLAY not set, WAYLAND_DISPLAY not set, QT_QPA_PLATFORM="wayland")
-display $gone||$VUDURE_EXIT_NO_DISPLAY|could not open one (-display "$gone": no X server answers there)
|QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=none-here|$VUDURE_EXIT_NO_DISPLAY|(WAYLAND_DISPLAY="none-here": no Wayland compositor answers there)
|DISPLAY=$locked XAUTHORITY=$session/none|$VUDURE_EXIT_NO_DISPLAY|the X server at DISPLAY="$locked" refused the connection ("Authorization required
$drm|QT_QPA_PLATFORM=eglfs|$VUDURE_EXIT_PLATFORM_FAILED|the "eglfs" platform could not start ("
EOF
viewer_args=

# This viewer goes to its server by -display, while DISPLAY names another:
# the watch must watch its own window and server, and nothing else.
viewer_args="-display $DISPLAY"
start_viewer "$viewer" "$build" DISPLAY="$other"
viewer_args=
stop "$other_pid"
escape_viewer
start_viewer "$viewer" "$session"
xdotool windowclose "$viewer_window"
wait_viewer 20
[ "$viewer_status" = "$VUDURE_EXIT_WINDOW_DESTROYED" ] && grep -q "window was destroyed" "$session/stderr" \
    || fail "Window destroyed: exit $viewer_status; $(cat "$session/stderr")"

# The close button is the window manager's: it asks the window to close.
openbox >/dev/null 2>&1 &
started="$started $!"
for _ in $(seq 100); do wmctrl -m >/dev/null 2>&1 || sleep 0.1; done
wmctrl -m >/dev/null 2>&1 || fail "openbox did not start."
start_viewer "$viewer" "$build"
close_viewer wmctrl -i -c "$viewer_window"

# Even with its GL driver stuck in a buffer swap, waiting on the server.
preload=$([ -z "${VUDURE_SANITIZER_ENV:-}" ] || (. "$VUDURE_SANITIZER_ENV" && echo "$LD_PRELOAD:"))
start_viewer "$viewer" "$build" LD_PRELOAD="${preload}$build/tests/libstuckswap.so"
kill "$x_pid"
wait_viewer 20
[ "$viewer_status" = 1 ] && [ "$(wc -l <"$session/stderr")" = 1 ] && grep -q "X11 connection broke" "$session/stderr" \
    || fail "X server gone under a stuck swap: exit $viewer_status; $(cat "$session/stderr")"

start_x
start_viewer "$viewer" "$build"
# Flushing a frame as the server goes must not kill it with SIGPIPE. That
# race is too narrow to provoke at will, so look at what it ignores.
sigign=$(sed -n 's/^SigIgn:[[:space:]]*//p' "/proc/$viewer_pid/status")
[ $((0x$sigign >> 12 & 1)) = 1 ] || fail "X server gone: a write to it would kill the viewer (SIGPIPE)"
kill "$x_pid"
wait_viewer 20
[ "$viewer_status" = 1 ] && [ "$(wc -l <"$session/stderr")" = 1 ] && grep -q "X11 connection broke" "$session/stderr" \
    || fail "X server gone: exit $viewer_status; $(cat "$session/stderr")"
echo "Ended by Escape, the close button, no display, no way in, no OpenGL, no platform, its window or its X server gone: all as it should."
