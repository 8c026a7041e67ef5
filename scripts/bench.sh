#!/usr/bin/env bash
# The whole-import benchmark at 1,000,000 records, and with BENCH_LARGE=1 also at 5,000,000, each
# size in a process of its own so that peak memory is that size's alone. The sources are made
# once per size and kept in build/bench-data/. Then the machine's own wake-up gaps with every
# processor busy, beside which the imports' event-loop gaps are read. The last line is ratio= at
# 1,000,000 records.
set -euo pipefail
build=${1:-build}
data="$build/bench-data"
bench="$build/bench/import_bench"
probe="$build/bench/stall_probe"

sizes=(1000000)
if [[ "${BENCH_LARGE:-0}" == 1 ]]; then sizes+=(5000000); fi

for records in "${sizes[@]}"; do
    "$bench" --records "$records" --data "$data" --generate-only
done
for records in "${sizes[@]}"; do
    echo "== $records records"
    "$bench" --records "$records" --data "$data" | tee "$data/result-$records.txt"
done

if [[ "${BENCH_LARGE:-0}" == 1 ]]; then
    small=$(sed -n 's/^peak_rss_mb=//p' "$data/result-1000000.txt")
    large=$(sed -n 's/^peak_rss_mb=//p' "$data/result-5000000.txt")
    echo "== 5000000 against 1000000 records"
    echo "peak_rss_growth_mb=$(awk -v a="$large" -v b="$small" 'BEGIN { printf "%.1f", a - b }')"
fi
echo "== the machine, every processor busy"
"$probe" --seconds 10
echo "== 1000000 records"
grep '^ratio=' "$data/result-1000000.txt"
