#!/usr/bin/env bash
# Builds the libFuzzer targets (preset fuzz, clang 14) and runs each one for a bounded time:
#   scripts/fuzz.sh [seconds per target] [target...]
# New inputs go to build/fuzz/corpus/<target>, crashes to build/fuzz/artifacts/; the seed
# corpora in the repository are only read.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-12}
shift || true
targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
  targets=(response_parser certificate_receive port_text dotted_ipv4 registry_value)
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

seeds_of() {
  case $1 in
    registry_value) echo ipv6_switch/fuzz_corpus/$1 ;;
    *) echo cert_fetch/fuzz_corpus/$1 ;;
  esac
}

mkdir -p build/fuzz/artifacts build/fuzz/logs
failed=()
for target in "${targets[@]}"; do
  binary=build/fuzz/${target}_fuzz
  if [[ ! -x $binary ]]; then
    echo "== $target: not built (its code is not part of the build yet)"
    continue
  fi
  mkdir -p "build/fuzz/corpus/$target"
  log=build/fuzz/logs/$target.log
  # An answer is at most 9999 bytes, plus the two-receive target's header.
  if "$binary" -max_total_time="$seconds" -max_len=12000 -timeout=10 \
       -artifact_prefix="build/fuzz/artifacts/$target-" \
       "build/fuzz/corpus/$target" "$(seeds_of "$target")" >"$log" 2>&1; then
    echo "== $target: $(grep -m1 -o 'Done [0-9]* runs in [0-9]* second(s)' "$log"), no finding"
  else
    echo "== $target: FAILED, see $log and build/fuzz/artifacts/" >&2
    tail -n 40 "$log" >&2
    failed+=("$target")
  fi
done
[[ ${#failed[@]} -eq 0 ]] || { echo "Fuzz targets with findings: ${failed[*]}" >&2; exit 1; }
