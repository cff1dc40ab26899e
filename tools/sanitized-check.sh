#!/usr/bin/env bash
# Builds everything with clang, AddressSanitizer and UndefinedBehaviorSanitizer in a build folder of
# its own (build-sanitize) and runs every test there, the short fuzz runs included. Any sanitizer
# report, in a test or in a program that a test starts, fails the run.
#
#   tools/sanitized-check.sh
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-sanitize
reports=$build/sanitizer-reports
started=$SECONDS

for tool in clang clang++ cmake ctest; do
    if ! command -v "$tool" >/dev/null; then
        echo "$tool is missing; install the Debian packages clang and libclang-rt-14-dev" >&2
        exit 1
    fi
done

# The preset builds with clang, the two sanitizers and -Werror: a new warning fails the test command
# here, in a build folder of its own, and never the user's build.
cmake -S "$root" --preset sanitize
cmake --build "$build" --parallel "$(nproc)"

fuzz_tests=$(ctest --test-dir "$build" -N -L fuzz | sed -n 's/^Total Tests: //p')
if [ "${fuzz_tests:-0}" -lt 4 ]; then
    echo "no fuzz tests in $build: the root CMakeLists.txt must add the fuzz folder" \
        "when TONQUILL_FUZZ is on" >&2
    exit 1
fi

# Every report also lands in a file of its own, so that one from a program that a test starts and
# whose exit status the test does not look at still fails the run.
rm -rf "$reports"
mkdir -p "$reports"
# LeakSanitizer stays on without suppressions: neither Qt nor fontconfig leaves a leak it reports
# here, so any leak report is ours to fix.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:log_path=$reports/report"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:log_path=$reports/report"
export QT_QPA_PLATFORM=offscreen
# The instrumented program copies a 10 MB text several times slower in the end-to-end test.
export TONQUILL_WAIT_SCALE=5

# wine_install cross-builds a Windows program of its own with MinGW, which no sanitizer here
# instruments, and package checks the package of a build as shipped, which an instrumented debug
# build is not; the main build already runs both.
status=0
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" -E '^(wine_install|package)$' ||
    status=$?

if [ -n "$(ls -A "$reports")" ]; then
    echo "sanitizer reports:" >&2
    for report in "$reports"/*; do
        echo "--- $report" >&2
        cat "$report" >&2
    done
    status=1
fi

echo "sanitized build and tests took $((SECONDS - started)) s"
exit "$status"
