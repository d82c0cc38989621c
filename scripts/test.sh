#!/usr/bin/env bash
# Installs what is missing, builds and runs every test (GUI tests offscreen).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# A warning of the project's own code fails the build here.
if [ -f build/build.ninja ]; then
    cmake -S . -B build -DTUBERON_WERROR=ON >/dev/null
else
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTUBERON_WERROR=ON
fi
scripts/build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel 2
