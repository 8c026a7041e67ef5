#!/usr/bin/env bash
# Checks the Debian package on this machine from end to end: builds it (`make package`), runs
# lintian on it, installs it with its dependencies, runs both programs from /usr/bin, shows the
# manual page, removes the package again and checks that none of its files is left behind.
# Needs root or sudo; installs the checking tools when they are missing.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD_DIR:-build}
sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

step() { printf '\n== %s\n' "$*"; }
fail() {
    echo "check-package: $*" >&2
    exit 1
}

scripts/install-deps.sh check-package
step "make package"
make package BUILD_DIR="$build"
debs=("$build"/veltrona-dbcopy_*.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || fail "expected exactly one package in $build"
deb=${debs[0]}
dpkg-deb --info "$deb"

step "lintian $deb"
# lintian fails on errors only; warnings and notes are printed for the reader.
lintian --info --display-info "$deb"

step "apt-get install $deb"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$deb"
dpkg -L veltrona-dbcopy | sort >"$work/files"

step "vdb from /usr/bin"
[[ $(command -v vdb) == /usr/bin/vdb ]] || fail "vdb is not /usr/bin/vdb"
/usr/bin/vdb --version
/usr/bin/vdb demo "$work/x.vdb" --records 200
VDB_PASSWORD=demo /usr/bin/vdb info "$work/x.vdb" >/dev/null

step "veltrona-dbcopy from /usr/bin"
/usr/bin/veltrona-dbcopy --version
# The window runs until it is closed: it has started when timeout has to end it (status 124).
status=0
HOME="$work" xvfb-run -a timeout 5 /usr/bin/veltrona-dbcopy || status=$?
[[ $status -eq 124 ]] || fail "the window ended by itself with status $status"
echo "the window ran until timeout ended it"

step "man vdb"
man -w vdb veltrona-dbcopy
MANWIDTH=80 man vdb 2>&1 | head -n 12
warnings=$(man --warnings -E UTF-8 -l -Tutf8 -Z "$(man -w vdb)" 2>&1 >/dev/null)
[[ -z $warnings ]] || fail "man vdb warns: $warnings"

step "apt-get remove veltrona-dbcopy"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq veltrona-dbcopy
left=()
while read -r path; do
    # Folders such as /usr/share/man belong to other packages as well and stay.
    [[ -d $path ]] && continue
    [[ -e $path || -L $path ]] && left+=("$path")
done <"$work/files"
[[ ${#left[@]} -eq 0 ]] || fail "left behind: ${left[*]}"
remaining=$(find /usr -name '*veltrona*' -o -name vdb -o -name 'vdb.1*' | sort)
[[ -z $remaining ]] || fail "left behind: $remaining"
echo "nothing of the package is left in /usr"

step "the package checks out"
