#!/bin/sh
# Runs the README's two commands on another Debian release, in a fresh
# minimal root made with debootstrap from Debian's archive, on what is
# committed here (HEAD), not on the working tree: scripts/run.sh, which must
# install none of the test tools, then scripts/test.sh (both builds and the
# minute of fuzzing). Given a package built on this machine, it then installs
# that with apt in the root and starts it there from its menu entry on a
# virtual X server: its window must appear and Escape must end it with 0.
# The root is removed at the end however the script ends, and only once
# nothing is mounted in it any more. Needs root (debootstrap, mount, chroot).
#   test-release.sh <release> [vudure_*.deb]     e.g. trixie; forky once it is out
set -eu
release=${1:?usage: test-release.sh <release> [package.deb]}
deb=${2:-}
[ -z "$deb" ] || deb=$(realpath "$deb")
source=$(cd "$(dirname "$0")/.." && pwd)
fail() {
    echo "test-release.sh: $*" >&2
    exit 1
}
[ "$(id -u)" -eq 0 ] || fail "needs root: debootstrap, mount and chroot."
if ! command -v debootstrap >/dev/null; then
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends debootstrap
fi

root=$(mktemp -d "${TMPDIR:-/var/tmp}/vudure-$release.XXXXXX")
# /proc/self/mountinfo escapes blanks in paths, which the check below would miss.
case "$root" in *[[:space:]]*) rmdir "$root"; fail "a blank in the root's path: $root" ;; esac
mounted() { awk -v root="$root/" 'index($5, root) == 1 { found = 1 } END { exit !found }' \
    /proc/self/mountinfo; }
unmount() { for dir in proc dev sys; do umount -R "$root/$dir" 2>/dev/null || true; done; }

# Unmount, then remove the root. A process left running in the root keeps its
# mounts busy: those processes are this script's own, so they are ended
# first. With anything still mounted the root stays, as removing it would
# reach the machine's own /dev; --one-file-system guards that too.
clean_up() {
    status=$?
    trap - EXIT HUP INT TERM
    unmount
    if mounted; then
        for process in /proc/[0-9]*; do
            [ "$(readlink "$process/root" 2>/dev/null)" != "$root" ] || kill -9 "${process#/proc/}" 2>/dev/null || true
        done
        sleep 1
        unmount
    fi
    if mounted; then
        echo "test-release.sh: $root is still mounted; left in place: umount -R it, then remove it." >&2
        [ "$status" != 0 ] || status=1
    else
        rm -rf --one-file-system "$root"
    fi
    exit "$status"
}
trap clean_up EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

started=$(date +%s)
times=""
# phase <name>: notes how long the phase that just ended took.
phase() {
    now=$(date +%s)
    times="$times$1 $((now - started)) s, "
    started=$now
}
# in_root <command>...: runs it in the root, as root, with a clean environment;
# in the background, so that a signal ends the script at once.
in_root() {
    chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        HOME=/root LANG=C.UTF-8 CI="${CI:-}" "$@" &
    wait $!
}

# Every current release's script is sid's, which the release's own name
# reaches only where debootstrap is newer than the release.
debootstrap --variant=minbase "$release" "$root" "" sid
for dir in proc dev sys; do
    mount --rbind "/$dir" "$root/$dir"
    # Unmounting in the root must never reach the machine's own mounts.
    mount --make-rslave "$root/$dir"
done
cp /etc/resolv.conf "$root/etc/resolv.conf"
git -C "$source" archive --prefix=vudure/ HEAD | tar -x -C "$root/root"
phase root

# Without a display, run.sh shows the viewer on Xvfb and ends it with Escape.
in_root sh -c 'cd /root/vudure && ./scripts/run.sh'
tools=$(in_root dpkg-query -W -f '${db:Status-Abbrev} ${Package}\n' | awk '/^ii/ { print $2 }' |
    grep -E '^(clang|llvm|lintian|devscripts|weston|openbox|appstream)' || true)
[ -z "$tools" ] || fail "run.sh installed test tools:" $tools
phase run.sh
in_root /root/vudure/scripts/install-deps.sh --test
phase "test packages"
in_root sh -c 'cd /root/vudure && ./scripts/test.sh'
phase "build and tests"

if [ -n "$deb" ]; then
    # Where apt's own user can read it.
    cp "$deb" "$root/tmp/"
    in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
        "/tmp/$(basename "$deb")"
    # shellcheck disable=SC2016
    in_root sh -c '. /root/vudure/tests/viewer-session.sh
        start_x
        start_entry "$(dpkg -L vudure | grep "^/usr/share/applications/.*\.desktop$")" ""
        escape_viewer'
    echo "$(basename "$deb") installs on $release; started from its menu entry, it ended with 0 on Escape."
    phase package
fi
echo "$release: all good (${times%, })."
