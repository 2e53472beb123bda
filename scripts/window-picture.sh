# window_picture <window id> <file.ppm>: the window as the screen shows it.
# Source with "." after tests/viewer-session.sh.
window_picture() {
    xwd -silent -id "$1" >"$session/window.xwd" || fail "xwd could not read window $1."
    xwdtopnm "$session/window.xwd" >"$2" 2>/dev/null || fail "xwdtopnm could not read xwd's picture."
}
