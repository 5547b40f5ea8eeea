#!/bin/sh
# Runs every unit test executable of a build folder (default: build) once under valgrind's
# memcheck: any error or any definite, indirect or possible leak fails the run. Blocks that
# are still reachable at exit are Qt's and the C library's caches, not leaks; the
# suppressions in tools/valgrind.supp name what else belongs to the tools, not to us. Qt's
# regular expressions (behind QDir's name filters) run compiled code that memcheck cannot
# follow, so their compiler is switched off here (QT_ENABLE_REGEXP_JIT=0). The kill loop and the
# run-wide fault loop take a sample of their moments (MAINPICTURE_KILL_RUNS, _FAULT_EVERY).
set -eu
cd "$(dirname "$0")/.."
build="${1:-build}"
logs="$build/valgrind"
mkdir -p "$logs"
status=0
for test in "$build"/tests/*_test; do
    name="$(basename "$test")"
    if QT_ENABLE_REGEXP_JIT=0 QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 MAINPICTURE_SERVICE_LOG="$logs/$name.service.log" \
        MAINPICTURE_KILL_RUNS=5 MAINPICTURE_FAULT_EVERY=25 valgrind --quiet --error-exitcode=99 --leak-check=full \
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
