#!/usr/bin/env bash
# Builds everything and runs every test, each on an X server of its own.
#   ./test.sh          the default build, then the fuzz targets (clang build in
#                      build-fuzz/) for FUZZ_SECONDS each (default 20; 0 skips them)
#   ./test.sh asan     the AddressSanitizer + UBSan build
set -euo pipefail
cd "$(dirname "$0")"
preset=${1:-default}
scripts/setup.sh "$preset"
export SDL_AUDIODRIVER=dummy
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
ctest --preset "$preset"
if [ "$preset" = default ] && [ "${FUZZ_SECONDS:-20}" != 0 ]; then
  scripts/setup.sh fuzz
  tests/fuzz/run_fuzzers.sh "${FUZZ_SECONDS:-20}"
fi
