#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package
# build/tuberon_<version>_<arch>.deb (install it with: apt install ./build/tuberon_*.deb).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
cd build
cpack -G DEB
ls -1 "$PWD"/tuberon_*.deb
