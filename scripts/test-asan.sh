#!/usr/bin/env bash
# `make test-asan`: builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan (Debug) and runs the test suite there. ASAN_TESTS, an extended regular expression,
# limits the run to the tests whose executable (engine_tests, copy_tests, log_tests,
# fuzz_regression_tests, ...) or whose own name matches it: ASAN_TESTS='engine|copy|log|fuzz'.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${ASAN_BUILD_DIR:-build-asan}
pattern=${ASAN_TESTS:-}

scripts/install-deps.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELTRONA_SANITIZE=ON \
    -DVELTRONA_WERROR="${WERROR:-OFF}"
nice cmake --build "$build"

export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen

selection=()
if [[ -n $pattern ]]; then
    numbers=$(scripts/test-numbers.sh "$build" "$pattern")
    selection=(-I "0,0,0,$numbers")
fi

ctest --test-dir "$build" --output-on-failure "${selection[@]}"
