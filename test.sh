#!/usr/bin/env bash
# Builds everything and runs every test, each on an X server of its own.
#   ./test.sh          the default build
#   ./test.sh asan     the AddressSanitizer + UBSan build
set -euo pipefail
cd "$(dirname "$0")"
preset=${1:-default}
scripts/setup.sh "$preset"
export SDL_AUDIODRIVER=dummy
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
exec ctest --preset "$preset"
