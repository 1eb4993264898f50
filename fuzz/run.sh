#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds one libFuzzer target with clang (address and undefined-behaviour sanitizers) in its
# own build folder and runs it for SECONDS over the stored corpus and regression inputs.
#   fuzz/run.sh TARGET SECONDS [libFuzzer options...]
# Targets: datafile filepath capture setpoint_scan identify write_ack board_reply grid_cell
# New inputs go to $FUZZ_BUILD_DIR/corpus/TARGET, crashes to $FUZZ_BUILD_DIR/crashes/TARGET;
# copy a crash into fuzz/regressions/TARGET once it is mended.
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -ge 2 ] || { sed -n 3,8p "$0" >&2; exit 2; }
target=$1 seconds=$2
shift 2
dir=${FUZZ_BUILD_DIR:-build-fuzz}
command -v "${FUZZ_CXX:-clang++}" > /dev/null ||
    { echo "needs clang: apt-get install -y clang libclang-rt-14-dev" >&2; exit 2; }

if [ ! -f "$dir/CMakeCache.txt" ]; then
    CXX=${FUZZ_CXX:-clang++} cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTARVOLM_SANITIZE=ON -DTARVOLM_FUZZ=ON -DTARVOLM_TESTS=OFF -DTARVOLM_BENCH=OFF
fi
cmake --build "$dir" -j"${FUZZ_JOBS:-3}" --target "fuzz_$target"

mkdir -p "$dir/corpus/$target" "$dir/crashes/$target" "fuzz/regressions/$target"
options=(-max_total_time="$seconds" -artifact_prefix="$dir/crashes/$target/" -print_final_stats=1)
[ -f "fuzz/$target.dict" ] && options+=(-dict="fuzz/$target.dict")
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/fuzz/lsan.supp}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export QT_QPA_PLATFORM=offscreen
exec nice "$dir/bin/fuzz_$target" "${options[@]}" "$@" \
    "$dir/corpus/$target" "fuzz/corpus/$target" "fuzz/regressions/$target"
