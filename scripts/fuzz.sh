#!/bin/sh
# Builds the entry data file's fuzzer with clang in build-fuzz and runs it for about a minute.
# FUZZ_SECONDS sets the length of the run. New inputs go to build-fuzz/corpus, not the seeds.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build-fuzz"
seconds="${FUZZ_SECONDS:-60}"

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$top" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
          -DVANTRELL_FUZZ=ON -DVANTRELL_SANITIZE=ON
fi
cmake --build "$build" -j2 --target vantrell_fuzz_entries

mkdir -p "$build/corpus"
cd "$build"
# Exit code 0 only when the run found nothing.
ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    "$build/tests/fuzz/vantrell_fuzz_entries" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -dict="$top/tests/fuzz/entries.dict" \
    "$build/corpus" "$top/tests/fuzz/corpus"
