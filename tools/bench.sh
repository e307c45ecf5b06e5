#!/usr/bin/env bash
# Builds and runs every benchmark; each prints its own figures.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2
echo "== comms exchange"; build/bin/bench_exchange
echo "== memory transfer"; build/bin/bench_download
echo "== download into files"; build/bin/bench_transfer
echo "== control panel"; build/bin/bench_panel
echo "== unattended download, whole memory at 19200 baud"; build/bin/bench_fetch
echo "== graph printing and data table"; build/bin/bench_graph_output
if [ -x bench/graph/run.sh ]; then
    echo "== graph"; bash bench/graph/run.sh
fi
