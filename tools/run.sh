#!/usr/bin/env bash
# Installs what is missing, builds Vexlin (Release) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
log=build/build.log
mkdir -p build
echo "Building Vexlin in build/ (the first build takes a minute or more, later ones seconds; log: $log) ..." >&2
if ! { cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DVEXLIN_BUILD_TESTS=OFF -DVEXLIN_BUILD_BENCH=OFF &&
       cmake --build build -j"$(nproc)"; } >"$log" 2>&1; then
  cat "$log" >&2
  echo "vexlin: the build failed (log above, also in $log)" >&2
  exit 1
fi
exec ./build/app/vexlin "$@"
