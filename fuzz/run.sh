#!/usr/bin/env bash
# Builds every fuzz/fuzz_*.cpp harness with clang, libFuzzer, ASan and UBSan
# in build-fuzz/, then runs each one for SECONDS (default 60). The corpus and
# any crash artefacts stay under fuzz/out/<harness>/ (not tracked).
# Prints the executions per harness; exits non-zero when any harness failed.
#
#   fuzz/run.sh [SECONDS] [HARNESS...]
set -u

SECONDS_PER_HARNESS=${1:-60}
shift || true
case "$SECONDS_PER_HARNESS" in
'' | *[!0-9]*)
    echo "usage: $0 [SECONDS] [HARNESS...]" >&2
    exit 2
    ;;
esac

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD="$ROOT/build-fuzz"
OUT="$ROOT/fuzz/out"
JOBS=${FUZZ_BUILD_JOBS:-2}

mkdir -p "$OUT"
CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBRANTLEE_FUZZ=ON -DBRANTLEE_BUILD_GUI=OFF -DBRANTLEE_BUILD_TESTS=OFF -DBRANTLEE_BUILD_BENCH=OFF \
    >"$OUT/configure.log" 2>&1 || {
    cat "$OUT/configure.log" >&2
    echo "fuzz: configure failed" >&2
    exit 1
}

if [ $# -gt 0 ]; then
    HARNESSES=("$@")
else
    HARNESSES=()
    for src in "$ROOT"/fuzz/fuzz_*.cpp; do
        [ -e "$src" ] && HARNESSES+=("$(basename "$src" .cpp)")
    done
fi
if [ ${#HARNESSES[@]} -eq 0 ]; then
    echo "fuzz: no harnesses found" >&2
    exit 1
fi

cmake --build "$BUILD" --target "${HARNESSES[@]}" -j"$JOBS" >"$OUT/build.log" 2>&1 || {
    tail -n 40 "$OUT/build.log" >&2
    echo "fuzz: build failed (full log: $OUT/build.log)" >&2
    exit 1
}

failed=0
for name in "${HARNESSES[@]}"; do
    dir="$OUT/$name"
    mkdir -p "$dir/corpus" "$dir/artifacts"
    log="$dir/last-run.log"
    corpora=("$dir/corpus")
    [ -d "$ROOT/fuzz/seeds/$name" ] && corpora+=("$ROOT/fuzz/seeds/$name")
    before=$(ls "$dir/artifacts" | wc -l)

    "$BUILD/fuzz/$name" -max_total_time="$SECONDS_PER_HARNESS" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$dir/artifacts/" "${corpora[@]}" >"$log" 2>&1
    rc=$?

    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    [ -n "$execs" ] || execs=$(sed -n 's/^#\([0-9]*\).*/\1/p' "$log" | tail -n 1)
    after=$(ls "$dir/artifacts" | wc -l)
    if [ $rc -ne 0 ] || [ "$after" -gt "$before" ]; then
        failed=1
        artefact=$(ls -t "$dir/artifacts" | head -n 1)
        printf '%-28s %12s executions  CRASH (exit %d) %s\n' "$name" "${execs:-?}" "$rc" \
            "${artefact:+$dir/artifacts/$artefact}"
        grep -m 5 -E 'ERROR|runtime error|SUMMARY|deadly signal' "$log" | sed 's/^/    /'
        echo "    full log: $log"
    else
        printf '%-28s %12s executions  no crash\n' "$name" "${execs:-?}"
    fi
done
exit $failed
