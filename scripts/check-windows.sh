#!/usr/bin/env bash
# Checks the Windows program on this machine from end to end, as check-package.sh does for the
# Debian package: the Windows libraries (built once, cached), `make windows`, `make
# windows-package`, `make windows-test` (every test executable under Wine; prints how many tests
# ran and how many were skipped), then the setup program installed silently into a fresh Wine
# prefix, the installed vdb.exe (demo, copy with --report and --log, info, from a console through
# the PATH) against the Linux vdb on the same files, a copy between paths with umlauts and
# spaces, the installed window on a virtual screen (a screenshot, the three settings in the
# registry after closing it), the uninstaller, and a look that nothing of ours is left behind.
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C.UTF-8

build=${WIN_BUILD_DIR:-build-win}
linux_build=${BUILD_DIR:-build}
work=$(mktemp -d)
prefix="$work/wineprefix"
xvfb_pid=""
cleanup() {
    [[ -d $prefix ]] && WINEPREFIX="$prefix" wineserver --kill 2>/dev/null || true
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

step() { printf '\n== [%d min] %s\n' $(((SECONDS - started) / 60)) "$*"; }
fail() {
    echo "check-windows: $*" >&2
    exit 1
}
win() { scripts/wine-run.sh "$prefix" "$@"; }
# A Windows path of a file below $work (Wine's drive Z: is the root of this machine).
winpath() { echo "Z:${1//\//\\}"; }

started=$SECONDS
root=$PWD
scripts/install-deps.sh check-windows
step "Windows libraries (scripts/windows-deps.sh)"
scripts/windows-deps.sh

step "make windows"
make windows WIN_BUILD_DIR="$build"

step "make windows-package"
make windows-package WIN_BUILD_DIR="$build"
version=$(sed -n 's/^project(VeltronaDBCopy VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
zip="$build/veltrona-dbcopy-$version-win64.zip"
setup="$build/veltrona-dbcopy-$version-win64-setup.exe"
[[ -f $zip ]] || fail "no $zip"
[[ -f $setup ]] || fail "no $setup"
unzip -l "$zip" >"$work/zip-files"
for file in veltrona-dbcopy.exe vdb.exe Qt6Core.dll Qt6Widgets.dll platforms/qwindows.dll \
    translations/qtbase_de.qm qt.conf doc/vdb.txt doc/veltrona-dbcopy.txt LICENSE.txt; do
    grep -q "/$file\$" "$work/zip-files" || fail "$zip lacks $file"
done
grep -q '/styles/.*\.dll$' "$work/zip-files" || fail "$zip lacks the style plugin"
ls -l "$zip" "$setup"

step "make windows-test"
test_log="$build/windows-test.log"
make windows-test WIN_BUILD_DIR="$build" CTEST_FLAGS=--verbose >"$test_log" 2>&1 ||
    { tail -n 60 "$test_log"; fail "tests failed under Wine (whole output: $test_log)"; }
sed -n '/tests passed\|tests failed/,$p' "$test_log"
# GoogleTest ends with "[  PASSED  ] N tests." and "[  SKIPPED ] N tests,", Qt Test with
# "Totals: N passed, N failed, N skipped, ...".
total() {
    local sum
    sum=$(grep -oE "$1" "$test_log" | sed -E "s/$2/\\1/" | paste -sd+)
    echo $((${sum:-0}))
}
gtest_passed=$(total '\[  PASSED  \] [0-9]+ tests?' '.* ([0-9]+) tests?')
gtest_skipped=$(total '\[  SKIPPED \] [0-9]+ tests?' '.* ([0-9]+) tests?')
qtest_passed=$(total 'Totals: [0-9]+ passed' '.* ([0-9]+) passed')
qtest_skipped=$(total 'Totals: [0-9]+ passed, [0-9]+ failed, [0-9]+ skipped' '.* ([0-9]+) skipped')
passed=$((gtest_passed + qtest_passed))
skipped=$((gtest_skipped + qtest_skipped))
echo "Under Wine: $((passed + skipped)) tests ran, $passed passed, $skipped skipped:"
grep -oE '\[  SKIPPED \] [A-Za-z0-9_/.]+$|SKIP   : [^ ]+' "$test_log" | sort -u | sed 's/^/  /'

step "the Linux vdb, to compare with"
make configure BUILD_DIR="$linux_build" >/dev/null
cmake --build "$linux_build" --target vdb >/dev/null
linux_vdb="$root/$linux_build/tools/vdb/vdb"

step "silent installation into a fresh Wine prefix"
# Everything from the installation on runs on one virtual screen: the first Wine program of a
# prefix starts the desktop process that all later windows use. Xvfb names its display once it
# accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
until [[ -s $work/display ]]; do
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start"
    sleep 0.2
done
export DISPLAY=":$(cat "$work/display")"
win "$setup" /S
installed="$prefix/drive_c/Program Files/VeltronaDBCopy"
menu_entry="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Veltrona Datenbanken kopieren.lnk"
[[ -f $installed/vdb.exe && -f $installed/veltrona-dbcopy.exe ]] || fail "nothing in $installed"
[[ -f $menu_entry ]] || fail "no start-menu entry $menu_entry"
(cd "$installed" && find . -type f | sort | sed 's/^/  /')

step "vdb.exe from a console, through the PATH"
win cmd /c vdb --version | tr -d '\r' | tee "$work/version"
grep -q "^vdb $version\$" "$work/version" || fail "vdb --version from the console"
win "$installed/veltrona-dbcopy.exe" --version | tr -d '\r'

step "vdb.exe demo, copy, info against the Linux vdb"
# Both run in a folder of their own with the same relative file names, so that their lines are
# the same; line ends, times and rates are set aside.
masked() {
    tr -d '\r' | sed -E 's/[0-9]+([.,][0-9]+)? (s|Datensätze\/s)\b/# \2/g; s/ [0-9]+,[0-9]+$/ #/;
        s/[0-9]{2}:[0-9]{2}:[0-9]{2}(\.[0-9]{3})?/HH:MM:SS/g'
}
mkdir -p "$work/linux" "$work/windows"
linux_vdb_in() { (cd "$work/$1" && shift && VDB_PASSWORD=demo "$linux_vdb" "$@"); }
windows_vdb_in() {
    (cd "$work/$1" && shift && VDB_PASSWORD=demo "$root/scripts/wine-run.sh" "$prefix" "$installed/vdb.exe" "$@")
}
for side in linux windows; do
    "${side}_vdb_in" "$side" demo quelle.vdb --records 1500 | masked >"$work/$side.demo"
    status=0
    "${side}_vdb_in" "$side" copy quelle.vdb ziel.vdb --report bericht.json --log protokoll.log |
        masked >"$work/$side.copy" || status=$?
    [[ $status -eq 0 ]] || fail "vdb copy on $side ended with $status"
    "${side}_vdb_in" "$side" info ziel.vdb | masked >"$work/$side.info"
    masked <"$work/$side/protokoll.log" >"$work/$side.log"
done
for part in demo copy info log; do
    diff -u "$work/linux.$part" "$work/windows.$part" || fail "vdb $part differs under Wine"
done
echo "demo, copy, info and the log file hold the same lines on both systems"
# The file format is one: each side's target opens on the other.
linux_vdb_in windows info ziel.vdb | masked | diff -u "$work/linux.info" - ||
    fail "the target written under Wine reads differently on Linux"
windows_vdb_in linux info ziel.vdb | masked | diff -u "$work/windows.info" - ||
    fail "the target written on Linux reads differently under Wine"
echo "the target written under Wine opens on Linux, and the other way round"

step "a copy between paths with umlauts and spaces"
mkdir -p "$work/Jürgen/Datenbanken" "$work/Sicherung"
cp "$work/linux/quelle.vdb" "$work/Jürgen/Datenbanken/Größe 1.vdb"
VDB_PASSWORD=demo win "$installed/vdb.exe" copy "$(winpath "$work/Jürgen/Datenbanken/Größe 1.vdb")" \
    "$(winpath "$work/Sicherung/Ziel ä.vdb")" --quiet | tr -d '\r' | tail -n 3
[[ -f "$work/Sicherung/Ziel ä.vdb" ]] || fail "no target at Sicherung/Ziel ä.vdb"
# The same tables and records as the first copy; only the heading names another file.
VDB_PASSWORD=demo "$linux_vdb" info "$work/Sicherung/Ziel ä.vdb" | masked | tail -n +2 |
    diff -u <(tail -n +2 "$work/linux.info") - || fail "the target at the umlaut path differs"
echo "copied into Sicherung/Ziel ä.vdb"

step "the installed window on a virtual screen"
settings='HKCU\Software\VB and VBA Program Settings\VeltronaDBCopy\Startup'
mkdir -p "$work/shot"
cp "$work/linux/quelle.vdb" "$work/shot/quelle.vdb"
win reg add "$settings" /v SourceDatabase /d "$(winpath "$work/shot/quelle.vdb")" /f >/dev/null
win reg add "$settings" /v UserName /d ADMIN /f >/dev/null
win reg add "$settings" /v DestDatabase /d "$(winpath "$work/shot/ziel.vdb")" /f >/dev/null
# The window after a demo run into a new target, drawn by Windows' own style, for the README.
win "$build/bin/window_screenshot.exe" demo "$(winpath "$root/docs/screenshot-windows.png")" ||
    fail "the window could not be pictured"
[[ -f $work/shot/ziel.vdb ]] || fail "the demo run in the window wrote no target"
echo "docs/screenshot-windows.png: the window after a demo run"
# The installed window in a Wine desktop of its own, which draws the frame as Windows does:
# started, given time to open, pictured, and closed as a user closes it (WM_CLOSE); a command
# given after the picture runs while the window is open.
show_window() {  # show_window PICTURE [COMMAND...]
    local picture=$1
    shift
    win explorer /desktop=veltrona,1000x720 "$installed/veltrona-dbcopy.exe" &
    local window_pid=$!
    sleep 20
    kill -0 "$window_pid" 2>/dev/null || fail "the window ended by itself"
    import -window root "$picture"
    echo "the installed window: $picture"
    [[ $# -eq 0 ]] || "$@"
    # taskkill sees only the windows of its own desktop.
    win explorer /desktop=veltrona,1000x720 taskkill /im veltrona-dbcopy.exe >/dev/null
    wait "$window_pid" || true
}
# Closing the window writes the settings, although they were removed while it was open; the
# next start shows them again.
show_window "$build/installed-window.png" win reg delete "$settings" /f
win reg query "$settings" | tr -d '\r' | tee "$work/settings"
for value in SourceDatabase UserName DestDatabase; do
    grep -q "$value" "$work/settings" || fail "closing the window did not write $value"
done
show_window "$build/installed-window-again.png"

step "the uninstaller"
win "$installed/Uninstall.exe" /S
# The uninstaller copies itself aside and returns at once; wait until it has ended.
WINEPREFIX="$prefix" wineserver --wait
left=$(find "$prefix/drive_c" \( -iname '*veltrona*' -o -iname 'vdb.exe' \) -print)
[[ -z $left ]] || fail "left behind: $left"
win reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\VeltronaDBCopy' \
    >/dev/null 2>&1 && fail "the uninstall entry is left behind"
win reg query 'HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment' /v Path |
    grep -qi VeltronaDBCopy && fail "the PATH still holds the program's folder"
echo "nothing of the program is left in the Wine prefix (the settings and logs of its user stay)"

step "the Windows round checks out in $(((SECONDS - started) / 60)) minutes"
