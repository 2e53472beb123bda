#!/bin/sh
# Runs a command as a native Wayland client of a private, headless Weston:
#
#   with-weston.sh <command> [arguments...]
#
# Weston gets its own runtime folder and socket, so nothing of the caller's
# desktop is used, and it is stopped and its folder removed however the
# command ends. The command's exit code is passed on.
set -u

runtime=$(mktemp -d)
chmod 700 "$runtime"
socket="vudure-test-$$"
weston_pid=""

cleanup() {
    if [ -n "$weston_pid" ]; then
        kill "$weston_pid" 2>/dev/null
        wait "$weston_pid" 2>/dev/null
    fi
    rm -rf "$runtime"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

XDG_RUNTIME_DIR="$runtime" weston --backend=headless-backend.so --socket="$socket" \
    --idle-time=0 --log="$runtime/weston.log" &
weston_pid=$!

# Weston makes its socket once it is ready for clients.
tries=0
until [ -S "$runtime/$socket" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 200 ] || ! kill -0 "$weston_pid" 2>/dev/null; then
        echo "with-weston.sh: Weston did not start:" >&2
        cat "$runtime/weston.log" >&2
        exit 1
    fi
    sleep 0.1
done

XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland \
    DISPLAY= "$@"
status=$?
exit "$status"
