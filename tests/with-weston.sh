#!/bin/sh
# Runs a test program as a native Wayland client of a private, headless
# Weston and passes its exit code on:   with-weston.sh <program>
set -eu
. "$(dirname "$0")/viewer-session.sh"

socket=wayland-test
weston --backend=headless-backend.so --socket="$socket" --idle-time=0 \
    --log="$session/weston.log" &
started="$started $!"
# Weston makes its socket once it is ready for clients.
tries=0
until [ -S "$XDG_RUNTIME_DIR/$socket" ]; do
    tries=$((tries + 1))
    [ "$tries" -le 200 ] || fail "Weston did not start: $(cat "$session/weston.log")"
    sleep 0.1
done

keep_stderr=1
launch "$1" "$PWD" WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland DISPLAY=
wait_viewer 110
exit "$viewer_status"
