#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Set-up, build, start and test Tarvolm on a Debian machine.
#   ./build.sh run    install what is missing, build, start the program
#   ./build.sh test   install what is missing, build, run the whole test suite
#   ./build.sh build  install what is missing, build
# BUILD_DIR (default: build) and CMAKE_ARGS (e.g. -DTARVOLM_SANITIZE=ON) are honoured.
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(build-essential cmake ninja-build qt6-base-dev qt6-serialport-dev
          libqcustomplot-dev libqcustomplot2.1-qt6 libgtest-dev libbenchmark-dev
          xvfb xauth)
BUILD_DIR=${BUILD_DIR:-build}

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
    install_missing
    # shellcheck disable=SC2086
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${CMAKE_ARGS:-}
    cmake --build "$BUILD_DIR" -j"$(nproc)"
}

case "${1:-}" in
build) build ;;
run)
    build
    exec "$BUILD_DIR/bin/tarvolm"
    ;;
test)
    build
    ctest --test-dir "$BUILD_DIR" --output-on-failure -j"$(nproc)" --timeout 600
    ;;
*)
    echo "usage: $0 run|test|build" >&2
    exit 2
    ;;
esac
