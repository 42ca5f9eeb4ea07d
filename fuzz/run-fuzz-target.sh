#!/usr/bin/env bash
# Runs one fuzz target for a bounded time, as a CTest test of the fuzz build: from the inputs it found before
# (kept in the build folder), its committed seeds and every input that ever made a finding. A finding ends the
# run with a failure and its input is kept in the build's fuzz-findings folder.
# Usage: run-fuzz-target.sh BINARY NAME SECONDS SOURCE_FOLDER BUILD_FOLDER
set -uo pipefail
binary=$1
name=$2
seconds=$3
source=$4
build=$5

found="$build/fuzz-corpus/$name"
findings="$build/fuzz-findings/$name"
mkdir -p "$found" "$findings"
folders=("$found" "$source/corpus/$name")
[ -d "$source/regression/$name" ] && folders+=("$source/regression/$name")

# A single input may take 30 s before it counts as a hang: the largest canvas a few bytes may ask for costs a few
# seconds of memory traffic alone, and the suite runs every target at once on a machine that may be busy.
"$binary" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -close_fd_mask=3 -print_final_stats=1 \
    -artifact_prefix="$findings/" "${folders[@]}"
status=$?
if [ "$status" -ne 0 ]; then
    echo "The fuzz target $name made a finding; its input is kept in $findings/."
    echo "Mend it, then keep the input in fuzz/regression/$name/ so the ordinary suite replays it."
fi
exit "$status"
