#!/usr/bin/env bash
# `make test-tsan`: builds the tests that run the engine's threads (engine_tests, copy_tests,
# reliability_tests, vdb_tests) with ThreadSanitizer in build-tsan and runs them through ctest.
# Any report of a data race or a lock-order inversion fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${TSAN_BUILD_DIR:-build-tsan}
targets=(engine_tests copy_tests reliability_tests vdb_tests)

scripts/install-deps.sh
# Optimised, so that the tests' bulk loads of some hundred thousand records stay quick.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELTRONA_SANITIZE_THREAD=ON \
    -DVELTRONA_WERROR="${WERROR:-OFF}"
nice cmake --build "$build" --target "${targets[@]}"

export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
export QT_QPA_PLATFORM=offscreen

pattern=$(IFS='|'; echo "^[0-9]+ (${targets[*]}) ")
numbers=$(scripts/test-numbers.sh "$build" "$pattern")
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" -I "0,0,0,$numbers"
