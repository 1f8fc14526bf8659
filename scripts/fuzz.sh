#!/usr/bin/env bash
# Builds the libFuzzer targets (preset `fuzz`: clang, ASan + UBSan) and runs each
# for FUZZ_SECONDS (default 60), one after the other, starting from the committed
# seed corpus. Prints executions and findings per target. New inputs collect in
# build/fuzz/work/corpus/<target>, findings in build/fuzz/work/findings/<target>;
# a finding, once fixed, belongs in tests/fuzz/findings/<target>/ so that
# `make test` replays it.
# FUZZ_RUNS=N stops each target after N executions instead (FUZZ_SECONDS then
# only caps the time). FUZZ_BUILD=0 skips the build (parallel runs of the script).
# Usage: scripts/fuzz.sh [target ...]     (FUZZ_SECONDS=600 scripts/fuzz.sh png_image)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-60}
all=(puzzle_file cells_file marks_file state_listing settings_file points_file font_file
     png_image jpeg_image)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all[@]}")

if [ "${FUZZ_BUILD:-1}" != 0 ]; then
    scripts/install-deps.sh fuzz
    cmake --preset fuzz >/dev/null
    nice -n 10 cmake --build --preset fuzz -j "${JOBS:-2}" >/dev/null
fi
runs=()
[ -n "${FUZZ_RUNS:-}" ] && runs=(-runs="$FUZZ_RUNS")

work=build/fuzz/work
printf '%-14s %12s %9s %8s %9s\n' target executions exec/s corpus findings
total_findings=0
for t in "${targets[@]}"; do
    corpus=$work/corpus/$t
    findings=$work/findings/$t
    log=$work/$t.log
    rm -rf "$findings"
    mkdir -p "$corpus" "$findings"
    # A single allocation above 80 MiB is a finding: no file the game reads needs
    # one (the largest image it takes, 4096 x 4096 RGBA, is 64 MiB).
    nice -n 15 "build/fuzz/bin/fuzz_$t" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=1024 -malloc_limit_mb=80 -print_final_stats=1 "${runs[@]}" \
        -artifact_prefix="$findings/" "$corpus" "tests/fuzz/corpus/$t" >"$log" 2>&1 || true
    execs=$(awk '/stat::number_of_executed_units/ {print $2}' "$log" | tail -1)
    rate=$(awk '/stat::average_exec_per_sec/ {print $2}' "$log" | tail -1)
    size=$(find "$corpus" -type f | wc -l)
    found=$(find "$findings" -type f | wc -l)
    total_findings=$((total_findings + found))
    printf '%-14s %12s %9s %8s %9s\n' "$t" "${execs:-?}" "${rate:-?}" "$size" "$found"
    if [ "$found" -gt 0 ]; then
        find "$findings" -type f | sed 's/^/    finding: /'
        grep -m1 -E 'ERROR|fuzz check failed|runtime error' "$log" | sed 's/^/    /' || true
    fi
done
echo "findings: $total_findings (logs in $work)"
