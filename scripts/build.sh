#!/usr/bin/env bash
# Builds every preset: the native fetcher and tests, the 32-bit Windows images that ship,
# and the 64-bit Windows images that the Wine tests use where 32-bit code cannot run.
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in native windows windows64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
