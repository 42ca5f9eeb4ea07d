#!/usr/bin/env bash
# The set-up script applies the options given to a folder that it configured before, and says so; given the
# options the folder was configured with, it leaves the folder's configuration alone. It configures only:
# nothing is built. Usage: SetUpOptionsCheck.sh SOURCE_DIR SCRATCH_FOLDER
set -euo pipefail
source_dir="$1"
folder="$2"
rm -rf "$folder"
failures=0

setup() { bash "$source_dir/scripts/setup.sh" --configure-only "$folder" "$@" 2>&1; }
cached() { sed -n "s/^$1:[A-Z]*=//p" "$folder/CMakeCache.txt"; }
expect() { # what, wanted, got
    if [ "$2" != "$3" ]; then
        echo "FAILED: $1: wanted '$2', got '$3'"
        failures=$((failures + 1))
    fi
}

setup -DCMAKE_BUILD_TYPE=Release -DGLIMMERFIN_TESTS=OFF >"$folder.first.log"
expect "build type after the first set-up" Release "$(cached CMAKE_BUILD_TYPE)"

out="$(setup -DCMAKE_BUILD_TYPE=Debug -DGLIMMERFIN_TESTS=OFF -DGLIMMERFIN_SANITIZE=ON)"
expect "build type after a set-up with another" Debug "$(cached CMAKE_BUILD_TYPE)"
expect "an option added to a configured folder" ON "$(cached GLIMMERFIN_SANITIZE)"
expect "a line saying the options were applied" 1 "$(grep -c "applying the options given" <<<"$out" || true)"

out="$(setup -DCMAKE_BUILD_TYPE=Debug -DGLIMMERFIN_TESTS=OFF -DGLIMMERFIN_SANITIZE=ON)"
expect "a re-run with the same options configures again" 0 "$(grep -c "Configuring\|applying" <<<"$out" || true)"
expect "build type after a re-run with the same options" Debug "$(cached CMAKE_BUILD_TYPE)"

if [ "$failures" -eq 0 ]; then
    rm -rf "$folder" "$folder.first.log"
    echo "set-up options: every check passed"
fi
exit $((failures > 0))
