#!/usr/bin/env bash
# Sets up, builds and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
scripts/build.sh
ctest --preset native -j2 "$@"
