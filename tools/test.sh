#!/usr/bin/env bash
# Sets everything up and runs the whole test suite:
#   1. installs missing Debian packages,
#   2. builds and runs the suite (GCC, optimised with assertions),
#   3. builds the Debian package from that build and checks it in a scratch root (file list,
#      lintian, the installed utility started offscreen and ended with -exit), then runs the
#      utility under a headless Weston compositor and on an X11 desktop with a notification
#      area, driven by pointer and keys (tools/package-check.sh, tools/wayland-check.sh,
#      tools/x11-check.sh),
#   4. builds and runs it again with AddressSanitizer and UndefinedBehaviorSanitizer (clang),
#      together with every fuzz target for a bounded number of inputs,
#   5. runs the threaded tests under ThreadSanitizer (the concurrency tests and the WPA
#      worker's joins, which run it on its own thread against the simulator and FreeRADIUS).
# Before building it checks that every source is formatted as .clang-format says, and every
# build checks the layer order (tools/check-layers.cmake).
# Any failing test, sanitizer report, unformatted source or upward include fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh

jobs=$(nproc)
export CTEST_OUTPUT_ON_FAILURE=1
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1

summary=()
total_passed=0
total_failed=0

# Runs ctest in a build folder and adds its counts to the summary.
run_ctest() {
    local name=$1 dir=$2
    shift 2
    local log="$dir/ctest.log"
    set +e
    ctest --test-dir "$dir" -j "$jobs" --timeout 600 "$@" 2>&1 | tee "$log"
    local rc=${PIPESTATUS[0]}
    set -e
    local line passed failed
    line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1 || true)
    failed=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
    local total
    total=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
    if [ -z "$line" ]; then failed=1; total=1; fi
    passed=$((total - failed))
    total_passed=$((total_passed + passed))
    total_failed=$((total_failed + failed))
    summary+=("$name: $passed passed, $failed failed")
    if [ "$rc" -ne 0 ] && [ "$failed" -eq 0 ]; then total_failed=$((total_failed + 1)); fi
}

echo "== Format (clang-format)"
unformatted=$(git ls-files -- '*.cpp' '*.h' | xargs clang-format --dry-run 2>&1 | grep -oE '^[^:]+:[0-9]+:[0-9]+: warning' | cut -d: -f1 | sort -u || true)
if [ -n "$unformatted" ]; then
    echo "These files are not formatted as .clang-format says (run clang-format -i on them):"
    echo "$unformatted"
    summary+=("format: 0 passed, 1 failed")
    total_failed=$((total_failed + 1))
else
    summary+=("format: 1 passed, 0 failed")
    total_passed=$((total_passed + 1))
fi

echo "== Build (GCC)"
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g" >/dev/null
cmake --build build/release -j "$jobs"
run_ctest "gcc" build/release

# Runs a check script whose last line reads "NAME: N passed, N failed" and adds its counts.
run_check() {
    local name=$1
    shift
    local log
    log=$(mktemp)
    set +e
    "$@" 2>&1 | tee "$log"
    local rc=${PIPESTATUS[0]}
    set -e
    local line passed failed
    line=$(grep -E "^$name: [0-9]+ passed, [0-9]+ failed$" "$log" | tail -n 1 || true)
    rm -f "$log"
    if [ -z "$line" ]; then
        passed=0
        failed=1
    else
        passed=$(sed -E 's/.*: ([0-9]+) passed.*/\1/' <<<"$line")
        failed=$(sed -E 's/.* ([0-9]+) failed$/\1/' <<<"$line")
    fi
    if [ "$rc" -ne 0 ] && [ "$failed" -eq 0 ]; then failed=1; fi
    total_passed=$((total_passed + passed))
    total_failed=$((total_failed + failed))
    summary+=("$name: $passed passed, $failed failed")
}

echo "== Package and desktop checks"
run_check package tools/package-check.sh build/release
run_check wayland tools/wayland-check.sh build/release/product/rizorivu
run_check x11 tools/x11-check.sh build/release/product/rizorivu

echo "== Build (clang, AddressSanitizer + UndefinedBehaviorSanitizer, fuzz targets)"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DRIZORIVU_SANITIZE=address,undefined -DRIZORIVU_FUZZERS=ON -DRIZORIVU_BENCHMARKS=OFF >/dev/null
cmake --build build/asan -j "$jobs"
run_ctest "asan+ubsan" build/asan

echo "== Build (clang, ThreadSanitizer): threaded tests"
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DRIZORIVU_SANITIZE=thread -DRIZORIVU_BENCHMARKS=OFF >/dev/null
cmake --build build/tsan -j "$jobs" --target rizorivu_tests
run_ctest "tsan" build/tsan -R 'Concurrency|EnterpriseJoin|WpaWorkerInUtility'

echo
echo "== Summary"
printf '%s\n' "${summary[@]}"
echo "rizorivu: $total_passed passed, $total_failed failed"
[ "$total_failed" -eq 0 ]
