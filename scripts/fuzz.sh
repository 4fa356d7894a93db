#!/usr/bin/env bash
# scripts/fuzz.sh TARGET [SECONDS]: builds the libFuzzer targets with clang, ASan and UBSan
# (the libraries instrumented for coverage too) into build-fuzz/ and runs one of them (ini_fuzz, cmdparams_fuzz, ...) for a while.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: scripts/fuzz.sh TARGET [SECONDS]}
seconds=${2:-60}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
  -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link \
  -DOVARDIX_SANITIZE=ON -DOVARDIX_FUZZ=ON -DOVARDIX_TESTS=OFF -DOVARDIX_GUI=OFF -DOVARDIX_BENCH=OFF >/dev/null
cmake --build build-fuzz --target "$target"
mkdir -p build-fuzz/corpus/"$target"
seeds=fuzz/seeds/"$target"
[ -d "$seeds" ] || seeds=
build-fuzz/fuzz/"$target" -max_total_time="$seconds" -timeout=10 build-fuzz/corpus/"$target" $seeds
