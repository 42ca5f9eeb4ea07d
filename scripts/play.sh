#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLIMMERFIN_TESTS=OFF
exec ./build/glimmerfin "$@"
