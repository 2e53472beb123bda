#!/bin/sh
# The viewer as a process in trouble, ending promptly, never by a crash:
# without usable OpenGL (no GLX; offscreen, with or without X) it prints one
# line and exits with its own code; so it does when another X client destroys
# its window; when its X server ends, Qt exits with 1. Needs DISPLAY.
#   process-test.sh <build folder>
set -eu
build=$(cd "$1" && pwd)
. "$(dirname "$0")/viewer-session.sh"
viewer="$build/vudure"

for settings in QT_XCB_GL_INTEGRATION=none QT_QPA_PLATFORM=offscreen \
    "QT_QPA_PLATFORM=offscreen DISPLAY="; do
    case "$settings" in *offscreen*) platform=offscreen ;; *) platform=xcb ;; esac
    # shellcheck disable=SC2086
    launch "$viewer" "$session" $settings
    wait_viewer 20
    errors=$(cat "$session/stderr")
    [ "$viewer_status" = "$VUDURE_EXIT_NO_OPENGL" ] || fail "$settings: exit $viewer_status; $errors"
    [ "$(echo "$errors" | wc -l)" = 1 ] && echo "$errors" | grep -q "needs OpenGL" \
        && echo "$errors" | grep -qF "\"$platform\"" && echo "$errors" | grep -q libgl1-mesa-dri \
        || fail "$settings: printed: $errors"
done

# On an X server of the test's own, which it may take away.
start_x
start_viewer "$viewer" "$session"
xdotool windowclose "$viewer_window"
wait_viewer 20
[ "$viewer_status" = "$VUDURE_EXIT_WINDOW_DESTROYED" ] && grep -q "window was destroyed" "$session/stderr" \
    || fail "Window destroyed: exit $viewer_status; $(cat "$session/stderr")"

start_viewer "$viewer" "$session"
# Flushing a frame as the server goes must not kill it with SIGPIPE. That
# race is too narrow to provoke at will, so look at what it ignores.
sigign=$(sed -n 's/^SigIgn:[[:space:]]*//p' "/proc/$viewer_pid/status")
[ $((0x$sigign >> 12 & 1)) = 1 ] || fail "X server gone: a write to it would kill the viewer (SIGPIPE)"
stop "$x_pid"
wait_viewer 20
[ "$viewer_status" = 1 ] && grep -q "X11 connection broke" "$session/stderr" \
    || fail "X server gone: exit $viewer_status; $(cat "$session/stderr")"
echo "Without OpenGL, without its window, without its X server: the viewer ends as it should."
