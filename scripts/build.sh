#!/usr/bin/env bash
# scripts/build.sh [release|asan|windows] [TARGET...]: configures and builds into build/,
# build-asan/ or build-windows/ (only the given targets and what they need, when any are
# given). windows cross-compiles the Qt-free, GDAL-free core and ovardix-cli.exe with MinGW-w64.
set -euo pipefail
cd "$(dirname "$0")/.."
kind=${1:-release}
case "$kind" in
  release) dir=build;      flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DOVARDIX_SANITIZE=OFF -DOVARDIX_BENCH=ON) ;;
  asan)    dir=build-asan; flags=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DOVARDIX_SANITIZE=ON) ;;
  windows) dir=build-windows; flags=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
                                     -DOVARDIX_GUI=OFF -DOVARDIX_WITH_GIS=OFF -DOVARDIX_MPI=OFF -DOVARDIX_TESTS=ON) ;;
  *) echo "usage: scripts/build.sh [release|asan|windows]" >&2; exit 2 ;;
esac
export CCACHE_DIR=${CCACHE_DIR:-$HOME/.cache/ovardix-ccache}
# Paths below the checkout hashed as relative ones, so another clone or work tree of the same
# code finds its objects in the cache.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-true}
cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
shift || true
targets=()
for t in "$@"; do targets+=(--target "$t"); done
[ "$kind" != windows ] || [ ${#targets[@]} -gt 0 ] || targets=(--target ovardix-cli)
cmake --build "$dir" -j "$(nproc)" "${targets[@]}"
