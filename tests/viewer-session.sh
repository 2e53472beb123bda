# Shell functions for the tests that run the project's programs as a desktop
# would. Source with "."; with `build` set, the project's facts (application
# id, icon sizes, exit codes) come from the build's tests/project.sh. Every
# process started here is stopped however the script ends (success, failure,
# set -e, CTest's SIGTERM); nothing of the caller's desktop is used.

# shellcheck disable=SC1091
[ -z "${build:-}" ] || . "$build/tests/project.sh"
unset DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY
session=$(mktemp -d)
mkdir -m 700 "$session/runtime"
export XDG_RUNTIME_DIR="$session/runtime" QT_QPA_PLATFORM=xcb
started=""

# stop <pid>...: asks each process to end; kills it after 5 s. A child of
# the script's that has ended is reaped: until then it still answers kill -0.
stop() {
    for pid in "$@"; do
        kill "$pid" 2>/dev/null || continue
        for _ in $(seq 50); do
            [ "$(sed 's/.*) //; s/ .*//' "/proc/$pid/stat" 2>/dev/null)" = Z ] && break
            kill -0 "$pid" 2>/dev/null && sleep 0.1
        done
        kill -9 "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
}

end_session() {
    status=$?
    trap - EXIT
    # shellcheck disable=SC2086
    stop $started
    rm -rf "$session"
    exit "$status"
}
trap end_session EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

fail() {
    echo "$*" >&2
    exit 1
}

# launch <program> <folder> [NAME=value | NAME=]...: starts the program in
# the background with the arguments in viewer_args, the sanitizer build's
# settings, which are for the project's programs only, and those settings
# (NAME= unsets); stderr to $session/stderr unless keep_stderr is set. Sets viewer_pid.
launch() {
    (
        program=$1
        cd "$2"
        shift 2
        # shellcheck disable=SC1090
        [ -z "${VUDURE_SANITIZER_ENV:-}" ] || . "$VUDURE_SANITIZER_ENV"
        for setting in "$@"; do
            case "$setting" in
            *=) unset "${setting%=}" ;;
            *) export "${setting?}" ;;
            esac
        done
        [ -n "${keep_stderr:-}" ] || exec 2>"$session/stderr"
        # shellcheck disable=SC2086
        exec "$program" ${viewer_args:-}
    ) &
    viewer_pid=$!
    started="$started $viewer_pid"
}

# start_x [WxH [options]]: starts an X server of the script's own, 1280x1024
# unless told, with those Xvfb options, and points DISPLAY at it.
start_x() {
    size=${1:-1280x1024}
    [ $# = 0 ] || shift
    # Gone before the server starts: the shell empties the file only once the
    # server's process runs, and the loop below must not read the last one's.
    rm -f "$session/display"
    Xvfb -displayfd 1 -screen 0 "${size}x24" -nolisten tcp -noreset "$@" >"$session/display" 2>/dev/null &
    x_pid=$!
    started="$started $x_pid"
    for _ in $(seq 100); do [ -s "$session/display" ] || sleep 0.1; done
    [ -s "$session/display" ] || fail "Xvfb did not start."
    export DISPLAY=":$(cat "$session/display")"
}

# start_viewer <program> <folder> [settings]: launches the viewer as launch
# does and waits for its window; sets viewer_pid and viewer_window.
start_viewer() {
    launch "$@"
    # Polled rather than --sync: a search can trip over a window that Qt
    # creates and destroys while starting.
    for _ in $(seq 150); do
        kill -0 "$viewer_pid" 2>/dev/null || break
        sleep 0.2
        viewer_window=$(xdotool search --onlyvisible --pid "$viewer_pid" --name '^Vudure DI64$' \
            2>/dev/null | head -n 1) || true
        [ -z "$viewer_window" ] || return 0
    done
    fail "The viewer's window did not appear: $(cat "$session/stderr")"
}

# start_entry <desktop entry> <root>: starts the viewer as a menu does, the
# entry's Exec= in its Path=, both under <root> (empty when installed).
start_entry() {
    entry_root=$2
    entry_path=$(sed -n 's/^Path=//p' "$1")
    # Exec= quotes as the shell does.
    eval "set -- $(sed -n 's/^Exec=//p' "$1")"
    start_viewer "$entry_root$1" "$entry_root$entry_path"
}

# wait_viewer <seconds>: waits at most that long for the program launched
# last to end; sets viewer_status.
wait_viewer() {
    for _ in $(seq $(($1 * 10))); do kill -0 "$viewer_pid" 2>/dev/null && sleep 0.1; done
    ! kill -0 "$viewer_pid" 2>/dev/null || fail "$(basename "$0"): still running after $1 s."
    viewer_status=0
    wait "$viewer_pid" || viewer_status=$?
}

# close_viewer <command>...: runs the command, which asks the viewer to end;
# it must end with 0, having printed nothing.
close_viewer() {
    "$@"
    wait_viewer 20
    if [ -s "$session/stderr" ] || [ "$viewer_status" != 0 ]; then
        cat "$session/stderr" >&2
        fail "The viewer exited with $viewer_status after: $*"
    fi
}

escape_viewer() { close_viewer xdotool windowfocus --sync "$viewer_window" key Escape; }

# check_files <prefix> <program folder> <files found, one a line>: fails,
# showing the difference, unless they are the files an install holds, under
# the prefix.
check_files() {
    {
        for file in "$2/vudure" "share/applications/$VUDURE_APP_ID.desktop" \
            "share/metainfo/$VUDURE_APP_ID.metainfo.xml" share/doc/vudure/README.md \
            share/doc/vudure/changelog.gz share/doc/vudure/copyright \
            share/doc/vudure/docs/screenshot-start.png share/doc/vudure/docs/screenshot-flight.png \
            share/man/man6/vudure.6.gz share/vudure/ground.bmp; do echo "$1$file"; done
        for n in $VUDURE_ICON_SIZES; do echo "$1share/icons/hicolor/${n}x$n/apps/$VUDURE_APP_ID.png"; done
    } | LC_ALL=C sort >"$session/expected"
    echo "$3" | LC_ALL=C sort | diff "$session/expected" - >&2 || fail "Not the files an install holds."
}
