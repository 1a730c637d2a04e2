#!/usr/bin/env bash
# Builds everything and runs every test under one X server.
#   ./test.sh          the default build
#   ./test.sh asan     the AddressSanitizer + UBSan build
set -euo pipefail
cd "$(dirname "$0")"
preset=${1:-default}
scripts/setup.sh "$preset"
export SDL_AUDIODRIVER=dummy
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
exec xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset "$preset"
