#!/usr/bin/env bash
# Installs the Debian packages a task needs, when any is missing.
#   install-deps.sh                 the build, the tests and the demo
#   install-deps.sh package         and the tools of `make package`
#   install-deps.sh check-package   and the tools of scripts/check-package.sh
#   install-deps.sh windows-deps    and the cross-compiler and tools of scripts/windows-deps.sh
#   install-deps.sh windows         and Wine and NSIS, for `make windows`, its tests and packages
#   install-deps.sh check-windows   and the tools of scripts/check-windows.sh
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config make
    qt6-base-dev qt6-translations-l10n libgl-dev fonts-dejavu-core
    libsqlite3-dev libsodium-dev nlohmann-json3-dev libcli11-dev libcsv-dev
    libgtest-dev libgmock-dev
    xvfb xauth
)
# CPack's Debian generator computes the dependencies with dpkg-shlibdeps and finds the
# programs to strip and to look at with file.
package_tools=(dpkg-dev file)
check_tools=(lintian desktop-file-utils appstream man-db)
# The Windows program: Debian's MinGW-w64 with the POSIX thread model, and what it takes to unpack
# and build Debian's source packages (libsodium's configure is generated, as Debian does); Wine
# runs the tests, NSIS makes the setup program, groff renders the manual pages as text; the round
# of check-windows.sh takes a screenshot.
windows_deps_tools=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    qt6-base-dev-tools dpkg-dev xz-utils tcl autoconf automake libtool)
windows_tools=(wine wine64 nsis zip groff-base)
check_windows_tools=(imagemagick)

case "${1:-}" in
    "") ;;
    package) packages+=("${package_tools[@]}") ;;
    check-package) packages+=("${package_tools[@]}" "${check_tools[@]}") ;;
    windows-deps) packages+=("${windows_deps_tools[@]}") ;;
    windows) packages+=("${windows_deps_tools[@]}" "${windows_tools[@]}") ;;
    check-windows) packages+=("${windows_deps_tools[@]}" "${windows_tools[@]}" "${check_windows_tools[@]}") ;;
    *)
        echo "usage: $0 [package|check-package|windows-deps|windows|check-windows]" >&2
        exit 2
        ;;
esac

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
