#!/usr/bin/env bash
# Prints, comma-separated, the ctest numbers of the tests in build folder $1 whose executable
# (engine_tests, copy_tests, ...) or whose own name matches the extended regular expression $2;
# for `ctest -I 0,0,0,<numbers>`. Fails, saying so, when no test matches.
set -euo pipefail
build=$1
pattern=$2

# "<number> <executable> <test name>" per test, from the verbose listing of ctest.
numbers=$(ctest --test-dir "$build" -N -V | awk '
    match($0, /^[0-9]+: Test command: [^ ]+/) {
        split($0, words, " "); n = words[1]; sub(/:$/, "", n)
        exe[n] = words[4]; sub(/.*\//, "", exe[n])
    }
    match($0, /^ *Test +#[0-9]+: /) {
        n = $2; sub(/^#/, "", n); sub(/:$/, "", n)
        name = substr($0, RLENGTH + 1); sub(/ +#.*/, "", name)
        print n, exe[n], name
    }' | grep -E -- "$pattern" | awk '{print $1}' | paste -sd, -) || true
if [[ -z $numbers ]]; then
    echo "No test matches '$pattern'." >&2
    exit 1
fi
echo "$numbers"
