#!/usr/bin/env bash
# The screenshot tour: builds, then drives the program through every screen
# and state on a copy of the demo installation with three weeks of runs, and
# writes one PNG per state (named for it) into docs/screens/ or the folder given.
#   scripts/tour.sh [OUT_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh default
out=${1:-docs/screens}
mkdir -p "$out"
rm -f "$out"/*.png
export SDL_AUDIODRIVER=dummy
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
tests/own_x_server.sh build/tests/e2e/solmea-tour "$out"
