#!/usr/bin/env bash
# Installs the Debian packages a task needs, when any is missing.
#   install-deps.sh                 the build, the tests and the demo
#   install-deps.sh package         and the tools of `make package`
#   install-deps.sh check-package   and the tools of scripts/check-package.sh
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

case "${1:-}" in
    "") ;;
    package) packages+=("${package_tools[@]}") ;;
    check-package) packages+=("${package_tools[@]}" "${check_tools[@]}") ;;
    *)
        echo "usage: $0 [package|check-package]" >&2
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
