#!/usr/bin/env bash
# Installs what is missing, builds the game and its tests with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test headless (offscreen video, dummy audio).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh build-test -DCMAKE_BUILD_TYPE=Debug -DGLIMMERFIN_SANITIZE=ON -DGLIMMERFIN_TESTS=ON
ctest --test-dir build-test --output-on-failure -j "$(nproc)" "$@"
