#!/usr/bin/env bash
# Installs what is missing, builds the game and its tests with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test headless (offscreen video, dummy audio). Then builds the
# fuzz targets with clang and libFuzzer and runs each for a bounded time, all at once.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh build-test -DCMAKE_BUILD_TYPE=Debug -DGLIMMERFIN_SANITIZE=ON -DGLIMMERFIN_TESTS=ON
bash scripts/setup.sh build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DGLIMMERFIN_FUZZ=ON -DGLIMMERFIN_TESTS=OFF
status=0
ctest --test-dir build-test --output-on-failure -j "$(nproc)" "$@" || status=$?
ctest --test-dir build-fuzz --output-on-failure -j "$(nproc)" "$@" || status=$?
exit "$status"
