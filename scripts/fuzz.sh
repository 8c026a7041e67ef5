#!/usr/bin/env bash
# `make fuzz`: builds the engine fuzzer with clang in build-fuzz, makes its seed files once and
# runs it for FUZZ_SECONDS (default 600) with one job. New inputs gather in build-fuzz/corpus,
# findings (crash-*, oom-*, timeout-*) in build-fuzz/findings.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${FUZZ_BUILD_DIR:-build-fuzz}
seconds=${FUZZ_SECONDS:-600}
fuzzer=$build/fuzz/open_and_walk_fuzzer

# clang with its sanitizer and libFuzzer runtimes, besides what every build needs.
scripts/install-deps.sh
missing=()
for package in clang libclang-rt-14-dev; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
if [[ ${#missing[@]} -gt 0 ]]; then
    echo "Installing missing packages: ${missing[*]}"
    sudo=""
    [[ $(id -u) -eq 0 ]] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [[ ! -f $build/build.ninja ]]; then
    CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DVELTRONA_FUZZ=ON
fi
nice cmake --build "$build" --target open_and_walk_fuzzer fuzz_seed_maker

if [[ ! -d $build/seeds ]]; then
    rm -rf "$build/seeds.new"
    "$build/fuzz/fuzz_seed_maker" "$build/seeds.new"
    mv "$build/seeds.new" "$build/seeds"
fi
mkdir -p "$build/corpus" "$build/findings"

# The fuzzer's scratch files live in memory when the machine offers a tmpfs.
scratch_root=/dev/shm
[[ -d $scratch_root && -w $scratch_root ]] || scratch_root=${TMPDIR:-/tmp}
scratch=$(mktemp -d "$scratch_root/vdb-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

echo "Fuzzing for $seconds s (corpus $build/corpus, findings $build/findings)"
status=0
TMPDIR=$scratch nice "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -dict=fuzz/vdb.dict -artifact_prefix="$build/findings/" -print_final_stats=1 \
    "$build/corpus" "$build/seeds" fuzz/corpus-regression || status=$?

shopt -s nullglob
findings=("$build"/findings/*)
if [[ ${#findings[@]} -gt 0 ]]; then
    echo
    echo "Findings in $build/findings:"
    printf '  %s\n' "${findings[@]}"
    cat <<HELP
Reproduce one:  $fuzzer <file>
Shrink it:      $fuzzer -minimize_crash=1 -runs=100000 -artifact_prefix=$build/findings/min- <file>
Once the engine is fixed, keep it as a regression case:
                cp <file> fuzz/corpus-regression/any-<what-it-found>.vdb
HELP
fi
exit "$status"
