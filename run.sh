#!/usr/bin/env bash
# Builds the program and the demo installation, then starts it on the demo.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh default
exec build/demo/ソルメア/solmea "$@"
