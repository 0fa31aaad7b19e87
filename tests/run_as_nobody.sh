#!/usr/bin/env bash
# Runs a test program as the unprivileged user nobody, for the cases that need folder
# permissions to bind: as root they only skip. Usage: run_as_nobody.sh PROGRAM [ARGUMENT...]
# Exits 77 (CTest's skip) when the suite does not run as root, since those cases then ran in
# the ordinary tests already, or when nobody cannot reach the program.
set -u
skip() {
    echo "skipped: $*"
    exit 77
}
[ "$(id -u)" -eq 0 ] || skip "not running as root; the ordinary test ran these cases"
command -v setpriv >/dev/null || skip "setpriv (util-linux) is not installed"
nobody=65534
as_nobody=(setpriv "--reuid=$nobody" "--regid=$nobody" --clear-groups --)
"${as_nobody[@]}" test -x "$1" ||
    skip "user nobody cannot run $1: the build folder must be readable and searchable by others"

# A home and temporary folder of its own, as nobody has neither.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 0700 "$work/runtime"
chown -R $nobody:$nobody "$work"
cd "$work" || exit 1
HOME=$work TMPDIR=$work XDG_RUNTIME_DIR=$work/runtime "${as_nobody[@]}" "$@"
