#!/usr/bin/env bash
# Installs, from Debian 12's packages, whatever the build, the tests, the
# Debian package, the benchmark (valgrind) and a headless look at the window
# need and is not yet on this machine.
set -euo pipefail
packages=(build-essential cmake ninja-build qt6-base-dev libqt6opengl6-dev qt6-charts-dev
          fonts-liberation libqpdf-dev qpdf xvfb xauth valgrind poppler-utils
          dpkg-dev file lintian desktop-file-utils appstream shared-mime-info
          clang libclang-rt-14-dev    # libFuzzer, for scripts/fuzz.sh
          pkgconf libxlsxwriter-dev   # resumo.xlsx of a lab-file run
          libzip-dev                  # a laboratory's .xlsx and .ods
          libfreexl-dev               # and its .xls (Excel 97-2003)
          libglpk-dev                 # the least-cost composition's solver
          libqt6sql6-sqlite           # the store of cases (Qt Sql's SQLite driver)
          qt6-translations-l10n       # Qt's dialogs and buttons in Portuguese
          python3-jsonschema)         # case files checked against their schema
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
