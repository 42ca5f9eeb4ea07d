#!/usr/bin/env bash
# Shared set-up for play.sh and test.sh: installs the Debian packages that are missing, then configures and
# builds the given build folder. Usage: setup.sh [--configure-only] BUILD_DIR [extra cmake options...]
# A folder is configured again only when the options differ from those it was last configured with, so a re-run
# with the same options goes straight to the build; an option given before and not now keeps its cached value.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    cmake ninja-build g++ pkg-config
    libsdl2-dev libgl-dev libegl-dev libgl1-mesa-dri libegl-mesa0
    libpng-dev zlib1g-dev libjpeg-dev libfreetype-dev libogg-dev libvorbis-dev
    libcairo2-dev fonts-dejavu-core libgtest-dev xvfb xauth
    clang libclang-rt-14-dev
)
# One query for all of them: the package database is read once.
installed=" $({ dpkg-query -W -f='${Package}:${Status}\n' "${packages[@]}" 2>/dev/null || true; } |
    sed -n 's/:install ok installed$//p' | tr '\n' ' ') "
missing=()
for p in "${packages[@]}"; do
    [[ "$installed" == *" $p "* ]] || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build=true
if [ "${1:-}" = "--configure-only" ]; then
    build=false
    shift
fi
build_dir="$1"
shift
options_file="$build_dir/setup-options.txt"
options="$(printf '%s\n' "$@")"
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S . -B "$build_dir" -G Ninja "$@"
    printf '%s' "$options" >"$options_file"
elif [ "$options" != "$(cat "$options_file" 2>/dev/null)" ]; then
    echo "setup.sh: $build_dir is already configured; applying the options given:${*:+ $*}"
    cmake -S . -B "$build_dir" "$@"
    printf '%s' "$options" >"$options_file"
fi
if $build; then
    cmake --build "$build_dir" -j "$(nproc)"
fi
