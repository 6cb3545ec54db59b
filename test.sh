#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (no display needed).
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
corvane_install_deps "${CORVANE_BUILD_PACKAGES[@]}"
corvane_build build
tools/cups-pdf.sh  # the virtual default printer of the printing tests; never fails
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --timeout 600 -j "$(nproc)"
