#!/usr/bin/env bash
# Builds the fuzz targets with clang in a build folder of their own and runs
# each for about 20 seconds.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${GASMIXER_FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${GASMIXER_FUZZ_SECONDS:-20}"

cmake -S "$root" -B "$build" \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DGASMIXER_BUILD_FUZZ=ON \
  -DGASMIXER_BUILD_TESTS=OFF \
  -DGASMIXER_BUILD_BENCH=OFF \
  -DGASMIXER_SANITIZE=address,undefined
cmake --build "$build" --target fuzz_vogtlin_decode -j"$(nproc)"

corpus="$(mktemp -d)"
trap 'rm -rf "$corpus"' EXIT
"$build/bin/fuzz_vogtlin_decode" -max_total_time="$seconds" -max_len=300 "$corpus"
