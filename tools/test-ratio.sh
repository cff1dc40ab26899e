#!/usr/bin/env bash
# Prints the lines of the program, the lines of its tests and their ratio: tracked .cpp, .h, .py,
# .sh and CMakeLists.txt files, counted with wc -l. The fuzz targets and the benchmarks count on
# neither side.
#
#   tools/test-ratio.sh
set -euo pipefail
cd "$(dirname "$0")/.."

count() {
    git ls-files -- "$@" | grep -E '(\.(cpp|h|py|sh)|CMakeLists\.txt)$' | xargs -r cat | wc -l
}

program=$(count app tone install ui print files assets)
tests=$(count tests)
echo "program: $program lines (app tone install ui print files assets)"
echo "tests:   $tests lines (tests)"
echo "ratio:   $((100 * tests / program)).$((1000 * tests / program % 10))% (at most 35%: tests up to $((35 * program / 100)) lines)"
