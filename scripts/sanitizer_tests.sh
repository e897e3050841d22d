#!/usr/bin/env bash
# Builds a sanitizer preset (asan or tsan) and runs the native unit and program tests under it.
# A report fails the run even where a test would not have noticed it: every report lands in
# build/<preset>/reports/ (see the test preset's *SAN_OPTIONS), and that folder must stay empty.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:?usage: scripts/sanitizer_tests.sh asan|tsan}
reports=build/$preset/reports

cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
rm -rf "$reports"
status=0
ctest --preset "$preset" || status=$?
if compgen -G "$reports/*" >/dev/null; then
  echo "Sanitizer reports under $preset:" >&2
  cat "$reports"/* >&2
  status=1
fi
exit $status
