#!/usr/bin/env bash
# Builds the libraries of the Windows program (64-bit, MinGW-w64) from Debian's own source packages
# into a cache folder outside the tree, and prints that folder on its last line. A complete cache
# is left as it is. The first run takes about an hour on two cores, most of it Qt.
#   windows-deps.sh            build what is missing, print the folder
#   windows-deps.sh --path     print the folder only (it may not exist yet)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  qt6-base-dev qt6-base-dev-tools cmake ninja-build dpkg-dev xz-utils tcl make
  libgtest-dev nlohmann-json3-dev libcli11-dev libsqlite3-dev libsodium-dev libcsv-dev)

version_of() { dpkg-query -W -f='${Version}' "$1" 2>/dev/null | sed 's/[^A-Za-z0-9.+]/_/g'; }
cache_path() {
  local mingw
  mingw=$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix 2>/dev/null | cut -d+ -f1)
  echo "${XDG_CACHE_HOME:-$HOME/.cache}/veltrona-dbcopy/win64-qt$(version_of qt6-base-dev)-sqlite$(version_of libsqlite3-dev)-sodium$(version_of libsodium-dev)-csv$(version_of libcsv-dev)-gtest$(version_of libgtest-dev)-gcc${mingw}"
}

install_missing() {
  local missing=() p status
  for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
  done
  [[ ${#missing[@]} -eq 0 ]] && return
  echo "== Debian-Pakete werden installiert: ${missing[*]}"
  local sudo=""
  [[ $(id -u) -eq 0 ]] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

if [[ "${1:-}" == "--path" ]]; then
  cache_path
  exit 0
fi
install_missing
out=$(cache_path)
if [[ -f "$out/.complete" ]]; then
  echo "$out"
  exit 0
fi
mkdir -p "$out"
work="$out.work"
mkdir -p "$work"
toolchain="$here/cmake/mingw-w64-x86_64.cmake"
export VELTRONA_WIN64_DEPS="$out"
jobs=$(nproc)

# Debian's source packages, through a source list of this script's own: the system's lists stay
# as they are.
apt_opts=(-o Dir::State::Lists="$work/apt/lists" -o Dir::Etc::SourceList="$work/apt/sources.list"
  -o Dir::Etc::SourceParts=/dev/null -o Dir::Cache="$work/apt/cache" -o Debug::NoLocking=1)
fetch_source() {  # fetch_source SOURCE-PACKAGE BINARY-PACKAGE: unpacks the version the host has
  local version
  version=$(dpkg-query -W -f='${Version}' "$2")
  if [[ ! -f "$work/apt/updated" ]]; then
    mkdir -p "$work/apt/lists/partial" "$work/apt/cache/archives/partial"
    echo "deb-src http://deb.debian.org/debian $(. /etc/os-release && echo "$VERSION_CODENAME") main" \
      > "$work/apt/sources.list"
    apt-get "${apt_opts[@]}" update -qq
    touch "$work/apt/updated"
  fi
  mkdir -p "$work/src/$1"
  (cd "$work/src/$1" && apt-get "${apt_opts[@]}" source --download-only "$1=$version" >/dev/null)
}
step_done() { [[ -f "$out/.done-$1" ]]; }
mark_done() { touch "$out/.done-$1"; }
started=$SECONDS
say() { echo "== [$(( (SECONDS - started) / 60 )) min] $*"; }

build_qt() {
  step_done qt && return
  say "Qt $(dpkg-query -W -f='${Version}' qt6-base-dev) aus Debians Quellpaket (etwa 45 Minuten auf zwei Kernen)"
  fetch_source qt6-base qt6-base-dev
  rm -rf "$work/qt"
  mkdir -p "$work/qt"
  tar -xJf "$work"/src/qt6-base/qt6-base_*.orig.tar.xz -C "$work/qt"
  cmake -S "$work"/qt/qtbase-everywhere-src-* -B "$work/qt/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$out/qt" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF \
    -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_opengl_dynamic=OFF -DFEATURE_dynamicgl=OFF \
    -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF \
    -DFEATURE_xml=OFF -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_png=OFF \
    -DFEATURE_system_jpeg=OFF -DFEATURE_icu=OFF -DFEATURE_vulkan=OFF \
    -DFEATURE_tabletevent=OFF >"$work/qt-configure.log"  # the source lacks the wintab header
  cmake --build "$work/qt/build" --parallel "$jobs" >"$work/qt-build.log"
  cmake --install "$work/qt/build" >/dev/null
  rm -rf "$work/qt"
  mark_done qt
}

build_qt
