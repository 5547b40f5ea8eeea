#!/bin/sh
# Builds the libFuzzer targets with clang in build-fuzz and runs each for a bounded time
# (seconds per target, default 30), starting from and adding to its corpus in
# tests/fuzz-corpus/<target>/. Exits non-zero when a target fails; the input that made it fail
# is kept as build-fuzz/crashes/<target>-crash-... and replays with
# build-fuzz/fuzz/<target> <that file>.
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-30}
targets="ini_fuzz ini_write_fuzz switch_fuzz"
# Inputs larger than this add little and would bloat the corpus; past this many files new
# inputs are no longer kept.
max_len=1024
max_files=100

tools/install-deps.sh
runtime=$(clang++ -print-file-name=libclang_rt.fuzzer-x86_64.a 2>/dev/null || true)
if ! command -v clang++ >/dev/null || [ ! -f "$runtime" ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends clang libclang-rt-14-dev
fi

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DMAINPICTURE_FUZZ=ON -DBUILD_TESTING=OFF -DMAINPICTURE_PREVIEW=OFF
# shellcheck disable=SC2086
cmake --build build-fuzz --target $targets

failed=""
mkdir -p build-fuzz/crashes
for target in $targets; do
    corpus=tests/fuzz-corpus/$target
    work=build-fuzz/corpus/$target
    mkdir -p "$corpus" "$work"
    echo "== $target: ${seconds}s"
    # New inputs land in the work folder; the committed corpus is only read here.
    if ! "build-fuzz/fuzz/$target" -max_total_time="$seconds" -timeout=10 -max_len=$max_len \
        -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="build-fuzz/crashes/$target-" \
        "$work" "$corpus"; then
        failed="$failed $target"
        continue
    fi
    # Only inputs that reach code the corpus does not yet reach are added to it; hit counts
    # do not count, or nearly every input would.
    if [ "$(find "$corpus" -type f | wc -l)" -lt $max_files ]; then
        "build-fuzz/fuzz/$target" -merge=1 -use_counters=0 -max_len=$max_len "$corpus" "$work" \
            2>"build-fuzz/merge-$target.log"
    fi
done
if [ -n "$failed" ]; then
    echo "fuzzing failed:$failed (inputs in build-fuzz/crashes/)" >&2
    exit 1
fi
echo "fuzzing passed"
