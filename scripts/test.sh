#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UBSan, runs every test; then the
# Windows build and its tests under Wine (scripts/windows-tests.sh; its roads compare with the
# ovardix-cli of build-asan/, so nothing is built twice).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# The number helpers are tested under a comma locale; make one if the machine has none.
if ! locale -a 2>/dev/null | grep -qi '^cs_CZ\.utf-\?8$'; then
  localedef -i cs_CZ -f UTF-8 cs_CZ.UTF-8 2>/dev/null || echo "warning: could not generate cs_CZ.UTF-8" >&2
fi
scripts/build.sh asan
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
# The Windows tree is cross-compiled (niced) while the Linux tests run: much of their time is
# spent waiting on screens, timers and child processes rather than computing.
scripts/windows-tests.sh --build-only > build-asan/windows-build.log 2>&1 &
windows_build=$!
linux=0
(cd build-asan && ctest --output-on-failure --timeout 900 -j "$(nproc)") || linux=$?
windows=0
wait $windows_build || windows=$?
cat build-asan/windows-build.log
# The Windows tests run whatever the Linux ones gave; the run fails when either did.
if [ $windows -eq 0 ]; then
  # The roads compare with the ASan build's program at sse2 only: that build's AVX kernels are
  # compiled without optimisation enough for GCC to fuse multiply-adds, so at avx2 and avx512
  # its last bits differ from any release build's, Linux's or Windows'. (Release against
  # release at every width: tests/windows/example_road_test.sh build/cli/ovardix-cli EXE.)
  OVARDIX_LINUX_CLI=build-asan/cli/ovardix-cli OVARDIX_ROAD_WIDTHS=sse2 scripts/windows-tests.sh --no-build ||
    windows=$?
else
  echo "The Windows build FAILED (exit $windows); its tests did not run" >&2
fi
[ $linux -eq 0 ] || echo "Linux tests FAILED (ctest exit $linux)" >&2
[ $linux -eq 0 ] && [ $windows -eq 0 ]
