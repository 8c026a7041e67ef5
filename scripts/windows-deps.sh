#!/usr/bin/env bash
# Builds the libraries of the Windows program (64-bit, MinGW-w64) from Debian's own source packages
# into a cache folder outside the tree, and prints that folder on its last line: Qt, SQLite,
# libsodium and libcsv as Windows libraries, GoogleTest from /usr/src/googletest, and the
# CLI11 and nlohmann-json headers with their CMake files (so that the cross-build never sees the
# rest of /usr/include). Each step leaves a stamp (.done-NAME) and is not repeated; the whole
# cache is marked .complete. A lock keeps two runs from building into one cache. The first run
# takes about an hour on two cores, most of it Qt.
#   windows-deps.sh            build what is missing, print the folder
#   windows-deps.sh --path     print the folder only (it may not exist yet)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

version_of() { dpkg-query -W -f='${Version}' "$1" 2>/dev/null | sed 's/[^A-Za-z0-9.+]/_/g'; }
cache_path() {
  local mingw
  mingw=$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix 2>/dev/null | cut -d+ -f1)
  echo "${XDG_CACHE_HOME:-$HOME/.cache}/veltrona-dbcopy/win64-qt$(version_of qt6-base-dev)-sqlite$(version_of libsqlite3-dev)-sodium$(version_of libsodium-dev)-csv$(version_of libcsv-dev)-gtest$(version_of libgtest-dev)-gcc${mingw}"
}

if [[ "${1:-}" == "--path" ]]; then
  cache_path
  exit 0
fi
"$here/scripts/install-deps.sh" windows-deps
out=$(cache_path)
if [[ -f "$out/.complete" ]]; then
  echo "$out"
  exit 0
fi
mkdir -p "$out"
exec 9>"$out.lock"
if ! flock -n 9; then
  echo "== Ein anderer Lauf baut gerade in $out; es wird auf ihn gewartet."
  flock 9
fi
if [[ -f "$out/.complete" ]]; then
  echo "$out"
  exit 0
fi
work="$out.work"
mkdir -p "$work"
toolchain="$here/cmake/mingw-w64-x86_64.cmake"
export VELTRONA_WIN64_DEPS="$out"
jobs=$(nproc)

# Debian's source packages, through a source list of this script's own: the system's lists stay
# as they are.
apt_opts=(-o Dir::State::Lists="$work/apt/lists" -o Dir::Etc::SourceList="$work/apt/sources.list"
  -o Dir::Etc::SourceParts=/dev/null -o Dir::Cache="$work/apt/cache" -o Debug::NoLocking=1)
fetch_source() {  # fetch_source SOURCE-PACKAGE BINARY-PACKAGE: downloads the version the host has
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

# Unpacks a source package with Debian's own patches applied into $work/build/SOURCE-PACKAGE.
unpack_source() {  # unpack_source SOURCE-PACKAGE BINARY-PACKAGE
  fetch_source "$1" "$2"
  rm -rf "$work/build/$1"
  mkdir -p "$work/build"
  dpkg-source --no-check -x "$work"/src/"$1"/"$1"_*.dsc "$work/build/$1" >/dev/null
}
cross_cc=x86_64-w64-mingw32-gcc-posix
cross_ar=x86_64-w64-mingw32-ar
# The compile options of Debian's own SQLite (debian/rules), for the same behaviour.
sqlite_options=(-O2 -fno-strict-aliasing -DSQLITE_SECURE_DELETE -DSQLITE_ENABLE_COLUMN_METADATA
  -DSQLITE_ENABLE_FTS3 -DSQLITE_ENABLE_FTS3_PARENTHESIS -DSQLITE_ENABLE_RTREE=1
  -DSQLITE_SOUNDEX=1 -DSQLITE_ENABLE_UNLOCK_NOTIFY -DSQLITE_OMIT_LOOKASIDE=1
  -DSQLITE_ENABLE_DBSTAT_VTAB -DSQLITE_ALLOW_ROWID_IN_VIEW -DSQLITE_ENABLE_UPDATE_DELETE_LIMIT=1
  -DSQLITE_ENABLE_LOAD_EXTENSION -DSQLITE_ENABLE_JSON1 -DSQLITE_LIKE_DOESNT_MATCH_BLOBS
  -DSQLITE_THREADSAFE=1 -DSQLITE_ENABLE_FTS3_TOKENIZER=1 -DSQLITE_USE_URI=1
  -DSQLITE_MAX_SCHEMA_RETRY=25 -DSQLITE_ENABLE_PREUPDATE_HOOK -DSQLITE_ENABLE_SESSION
  -DSQLITE_ENABLE_STMTVTAB -DSQLITE_MAX_VARIABLE_NUMBER=250000)

# Writes $out/lib/pkgconfig/NAME.pc for a static library of the cache.
write_pkg_config() {  # write_pkg_config NAME VERSION LIBRARY
  mkdir -p "$out/lib/pkgconfig"
  cat >"$out/lib/pkgconfig/$1.pc" <<PC
prefix=$out
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: $1
Description: $1 for 64-bit Windows (static)
Version: $2
Libs: -L\${libdir} -l$3
Cflags: -I\${includedir}
PC
}

build_sqlite() {
  step_done sqlite && return
  say "SQLite $(dpkg-query -W -f='${Version}' libsqlite3-dev)"
  unpack_source sqlite3 libsqlite3-dev
  local src="$work/build/sqlite3"
  # The single-file form sqlite3.c is generated with the host's compiler and tclsh.
  (cd "$src" && ./configure --disable-tcl >"$work/sqlite-configure.log" &&
    make sqlite3.c >"$work/sqlite-build.log")
  mkdir -p "$out/include" "$out/lib"
  "$cross_cc" "${sqlite_options[@]}" -c "$src/sqlite3.c" -o "$src/sqlite3.o"
  rm -f "$out/lib/libsqlite3.a"
  "$cross_ar" rcs "$out/lib/libsqlite3.a" "$src/sqlite3.o"
  cp "$src/sqlite3.h" "$src/sqlite3ext.h" "$out/include/"
  write_pkg_config sqlite3 "$(cat "$src/VERSION")" sqlite3
  rm -rf "$src"
  mark_done sqlite
}

build_sodium() {
  step_done sodium && return
  say "libsodium $(dpkg-query -W -f='${Version}' libsodium-dev)"
  unpack_source libsodium libsodium-dev
  local src="$work/build/libsodium"
  (cd "$src" && autoreconf -fi >"$work/sodium-autoreconf.log" 2>&1 &&
    ./configure --host=x86_64-w64-mingw32 CC="$cross_cc" --prefix="$out" \
    --disable-shared --enable-static --disable-dependency-tracking >"$work/sodium-configure.log" &&
    make -j"$jobs" >"$work/sodium-build.log" 2>&1 && make install >/dev/null 2>&1)
  rm -rf "$src"
  mark_done sodium
}

build_csv() {
  step_done csv && return
  say "libcsv $(dpkg-query -W -f='${Version}' libcsv-dev)"
  unpack_source libcsv libcsv-dev
  local src="$work/build/libcsv"
  mkdir -p "$out/include" "$out/lib"
  "$cross_cc" -O2 -c "$src/libcsv.c" -I"$src" -o "$src/libcsv.o"
  rm -f "$out/lib/libcsv.a"
  "$cross_ar" rcs "$out/lib/libcsv.a" "$src/libcsv.o"
  cp "$src/csv.h" "$out/include/"
  rm -rf "$src"
  mark_done csv
}

build_gtest() {
  step_done gtest && return
  say "GoogleTest $(dpkg-query -W -f='${Version}' libgtest-dev) aus /usr/src/googletest"
  rm -rf "$work/gtest"
  cmake -S /usr/src/googletest -B "$work/gtest" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_INSTALL_PREFIX="$out" -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=ON \
    >"$work/gtest-configure.log"
  cmake --build "$work/gtest" --parallel "$jobs" >"$work/gtest-build.log"
  cmake --install "$work/gtest" >/dev/null
  rm -rf "$work/gtest"
  mark_done gtest
}

# CLI11 and nlohmann-json are headers only: the cross-build takes them, with their CMake
# package files, from the cache rather than from /usr/include.
stage_headers() {
  step_done headers && return
  say "CLI11 und nlohmann-json (nur Header)"
  mkdir -p "$out/include" "$out/share/cmake"
  rm -rf "$out/include/CLI" "$out/include/nlohmann"
  cp -r /usr/include/CLI /usr/include/nlohmann "$out/include/"
  rm -rf "$out/share/cmake/CLI11" "$out/share/cmake/nlohmann_json"
  cp -r /usr/share/cmake/CLI11 /usr/share/cmake/nlohmann_json "$out/share/cmake/"
  mark_done headers
}

build_sqlite
build_sodium
build_csv
build_gtest
stage_headers
build_qt
touch "$out/.complete"
say "fertig"
echo "$out"
