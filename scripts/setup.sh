#!/usr/bin/env bash
# Shared set-up for play.sh and test.sh: installs the Debian packages that are missing, then configures
# (once) and builds the given build folder. Usage: setup.sh BUILD_DIR [extra cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    cmake ninja-build g++ pkg-config
    libsdl2-dev libgl-dev libegl-dev libgl1-mesa-dri libegl-mesa0
    libpng-dev zlib1g-dev libjpeg-dev libfreetype-dev libogg-dev libvorbis-dev
    libcairo2-dev fonts-dejavu-core libgtest-dev xvfb xauth
    clang libclang-rt-14-dev
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build_dir="$1"
shift
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S . -B "$build_dir" -G Ninja "$@"
fi
cmake --build "$build_dir" -j "$(nproc)"
