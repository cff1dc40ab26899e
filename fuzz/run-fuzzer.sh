#!/usr/bin/env bash
# Runs one fuzz target for a bounded time over its committed corpus. The corpus is only read: new
# inputs go to a scratch folder that is removed afterwards. With --merge, the new inputs that add
# coverage are folded into the committed corpus, minimised by libFuzzer's merge.
# A crashing input is written to the current folder as crash-<hash> (or timeout-, leak-, oom-).
#
#   run-fuzzer.sh [--merge] FUZZER CORPUS SECONDS [LIBFUZZER OPTIONS...]
set -euo pipefail

merge=false
if [ "${1:-}" = --merge ]; then
    merge=true
    shift
fi
if [ $# -lt 3 ]; then
    echo "usage: $0 [--merge] FUZZER CORPUS SECONDS [LIBFUZZER OPTIONS...]" >&2
    exit 2
fi
fuzzer=$1 corpus=$2 seconds=$3
shift 3

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tonquill-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# A slow input is a finding too: the print walk must stay linear on the longest texts.
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    "$@" "$scratch" "$corpus"

if $merge; then
    "$fuzzer" -merge=1 "$corpus" "$scratch"
    echo "corpus $corpus now holds $(find "$corpus" -type f | wc -l) files"
fi
