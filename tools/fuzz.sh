#!/usr/bin/env bash
# Builds the libFuzzer targets (clang++, AddressSanitizer, UndefinedBehaviorSanitizer) in
# build-fuzz and runs each for a bounded time: the first argument in seconds, 60 by default.
# Inputs that fail are kept in build-fuzz/fuzz/<target>-findings/.
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=${FUZZ_BUILD:-build-fuzz}
jobs=${JOBS:-$(nproc)}

if ! command -v clang++ >/dev/null ||
    ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
    echo "fuzz.sh needs clang++ and the libFuzzer runtime: apt-get install clang libclang-rt-14-dev" >&2
    exit 1
fi

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DFV_SANITIZE=ON -DFV_FUZZ=ON >/dev/null
cmake --build "$build" --target fuzzers -j "$jobs"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
summary=()
for target in "$build"/fuzz/*_fuzz; do
    name=$(basename "$target")
    corpus=$build/fuzz/$name-corpus
    findings=$build/fuzz/$name-findings
    mkdir -p "$corpus" "$findings"
    log=$build/fuzz/$name.log
    echo "== $name: $seconds s"
    start=$(date +%s.%N)
    # New inputs go to the first folder; the checked-in seeds are only read.
    extra=()
    [ -f "tests/fuzz/$name.dict" ] && extra+=(-dict="tests/fuzz/$name.dict")
    seeds=()
    [ -d "tests/fuzz/seeds/$name" ] && seeds=("tests/fuzz/seeds/$name")
    if "$target" "${extra[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$findings/" "$corpus" "${seeds[@]}" >"$log" 2>&1; then
        result=ok
    else
        result=FAILED
        status=1
        tail -n 40 "$log"
    fi
    end=$(date +%s.%N)
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    summary+=("$(awk -v n="$name" -v r="$result" -v u="${runs:-?}" -v s="$start" -v e="$end" \
        'BEGIN { printf "%-22s %-6s runs %-10s time %6.1f s", n, r, u, e - s }')")
done
printf '%s\n' "${summary[@]}"
exit $status
