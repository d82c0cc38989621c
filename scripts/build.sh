#!/usr/bin/env bash
# Configures (once) and builds into ./build, with Ninja's jobs or as many as
# CMAKE_BUILD_PARALLEL_LEVEL says (the other build scripts likewise).
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build
