#!/usr/bin/env bash
# Installs what is missing, builds Vexlin with AddressSanitizer and UBSan and
# runs every test. The tests are switched on even in a reused build folder
# whose cache had them off, and a run that finds no tests fails.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
log=build-test/build.log
mkdir -p build-test
if ! { cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DVEXLIN_SANITIZE=ON -DVEXLIN_BUILD_BENCH=ON -DVEXLIN_BUILD_TESTS=ON &&
       cmake --build build-test -j"$(nproc)"; } >"$log" 2>&1; then
  cat "$log" >&2
  echo "vexlin: the test build failed (log above, also in $log)" >&2
  exit 1
fi
ctest --test-dir build-test --output-on-failure --no-tests=error --timeout 300
