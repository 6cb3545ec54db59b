#!/usr/bin/env bash
# Builds the benchmarks and prints each one's line: every measure comes with its
# baseline taken in the same run, as a ratio. Libraries are generated with fixed seeds.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
corvane_install_deps "${CORVANE_BUILD_PACKAGES[@]}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel "$(nproc)" >/dev/null
export QT_QPA_PLATFORM=offscreen
echo "machine: $(nproc) cores, $(free -g | awk '/Mem:/{print $2}') GiB, $(uname -sr), $(df -T /tmp | awk 'NR==2{print $2}') /tmp"
for bench in bench_startup bench_select bench_edit bench_search bench_backup bench_bigscript; do
    [ -x "build/bench/$bench" ] || continue
    "build/bench/$bench" 2>/dev/null
done
