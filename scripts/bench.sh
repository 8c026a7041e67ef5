#!/usr/bin/env bash
# The whole-import benchmark at 100,000 and at 1,000,000 records, each in a process of its own
# so that peak memory is the import's alone. The sources are made once and kept in build/.
set -euo pipefail
build=${1:-build}
data="$build/bench-data"
bench="$build/bench/import_bench"

for records in 100000 1000000; do
    "$bench" --records "$records" --data "$data" --generate-only
done
echo "== 100000 records"
"$bench" --records 100000 --data "$data" | tee "$data/result-100000.txt"
echo "== 1000000 records"
"$bench" --records 1000000 --data "$data" | tee "$data/result-1000000.txt"

small=$(sed -n 's/^peak_rss_mb=//p' "$data/result-100000.txt")
large=$(sed -n 's/^peak_rss_mb=//p' "$data/result-1000000.txt")
echo "peak_rss_growth_mb=$(awk -v a="$large" -v b="$small" 'BEGIN { printf "%.1f", a - b }')"
grep '^ratio=' "$data/result-1000000.txt"
