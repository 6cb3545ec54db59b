#!/usr/bin/env bash
# Installs what is missing, builds, and starts Corvane.
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
corvane_install_deps "${CORVANE_BUILD_PACKAGES[@]}"
corvane_build build
exec build/corvane "$@"
