#!/usr/bin/env bash
# scripts/build.sh [release|asan] [TARGET...]: configures and builds into build/ or build-asan/
# (only the given targets and what they need, when any are given).
set -euo pipefail
cd "$(dirname "$0")/.."
kind=${1:-release}
case "$kind" in
  release) dir=build;      flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DOVARDIX_SANITIZE=OFF -DOVARDIX_BENCH=ON) ;;
  asan)    dir=build-asan; flags=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DOVARDIX_SANITIZE=ON) ;;
  *) echo "usage: scripts/build.sh [release|asan]" >&2; exit 2 ;;
esac
export CCACHE_DIR=${CCACHE_DIR:-$HOME/.cache/ovardix-ccache}
# Paths below the checkout hashed as relative ones, so another clone or work tree of the same
# code finds its objects in the cache.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-true}
cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
shift || true
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$dir" -j "$(nproc)" "${targets[@]}"
