#!/bin/sh
# Runs every unit test executable of a build folder (default: build) once under valgrind's
# memcheck: any error or any definite, indirect or possible leak fails the run. Blocks that
# are still reachable at exit are Qt's and the C library's caches, not leaks; the
# suppressions in tools/valgrind.supp name what else belongs to the tools, not to us.
# concurrent_runs_test is left out: while it starts dozens of processes at once, memcheck
# reports Qt's process launch code, which runs where memcheck knows no object or symbol; the
# test's own code runs under the sanitizers with the rest.
set -eu
cd "$(dirname "$0")/.."
build="${1:-build}"
logs="$build/valgrind"
mkdir -p "$logs"
status=0
for test in "$build"/tests/*_test; do
    name="$(basename "$test")"
    [ "$name" = concurrent_runs_test ] && continue
    if QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 MAINPICTURE_SERVICE_LOG="$logs/$name.service.log" \
        MAINPICTURE_KILL_RUNS=5 valgrind --quiet --error-exitcode=99 --leak-check=full \
        --show-leak-kinds=definite,indirect,possible \
        --errors-for-leak-kinds=definite,indirect,possible \
        --suppressions=tools/valgrind.supp --log-file="$logs/$name.log" \
        "$test" >"$logs/$name.out" 2>&1; then
        echo "valgrind: $name clean"
    else
        echo "valgrind: $name FAILED (see $logs/$name.log and $name.out)"
        status=1
    fi
done
exit "$status"
