#!/usr/bin/env bash
# clang-tidy (checks in .clang-tidy) and cppcheck (turned-off findings in
# scripts/cppcheck_suppressions.txt) over the compilation databases: the native build, the
# fuzz targets, and for cppcheck also the Windows build, whose platform sources clang-tidy
# cannot compile without the MinGW C++ headers' search path. Any finding fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

for preset in native fuzz windows; do
  cmake --preset "$preset" >/dev/null  # writes build/<preset>/compile_commands.json
done

# Each source once, though some are compiled into two libraries; the fuzz database adds
# only the fuzz targets.
sources() {
  python3 - "$@" <<'PY'
import json, sys
database, pattern = sys.argv[1], sys.argv[2]
import re
print("\n".join(sorted({e["file"] for e in json.load(open(database))
                        if re.search(pattern, e["file"]) and e["file"].endswith(".cpp")})))
PY
}

status=0
echo "== clang-tidy"
sources build/native/compile_commands.json . |
  xargs -P 2 -n 3 clang-tidy -p build/native --quiet 2>/dev/null || status=1
sources build/fuzz/compile_commands.json '_fuzz\.cpp$' |
  xargs -P 2 -n 3 clang-tidy -p build/fuzz --quiet 2>/dev/null || status=1

echo "== cppcheck"
mkdir -p build/cppcheck/native build/cppcheck/fuzz build/cppcheck/windows
common=(--enable=warning,style,performance,portability --std=c++17 --inline-suppr -j 2 --quiet
        --suppressions-list=scripts/cppcheck_suppressions.txt --error-exitcode=1
        --template='{file}:{line}: {severity} [{id}] {message}')
cppcheck "${common[@]}" --project=build/native/compile_commands.json --library=googletest \
  --library=posix --cppcheck-build-dir=build/cppcheck/native || status=1
cppcheck "${common[@]}" --project=build/fuzz/compile_commands.json --library=posix \
  --file-filter='*_fuzz.cpp' --cppcheck-build-dir=build/cppcheck/fuzz || status=1
cppcheck "${common[@]}" --project=build/windows/compile_commands.json --library=windows \
  --cppcheck-build-dir=build/cppcheck/windows || status=1

[[ $status -eq 0 ]] && echo "no findings"
exit $status
