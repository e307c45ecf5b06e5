#!/usr/bin/env bash
# Builds and runs the graph benchmark: reading and drawing long data files, and
# gnuplot and pandas with matplotlib on the same files for comparison (installed
# here when missing); then the noise indicators and qn7x-report on a long survey.
# Usage: bench/graph/run.sh [build-folder] [--keep <folder>]
#   build-folder defaults to build (configured RelWithDebInfo, as tools/test.sh does).
set -euo pipefail
cd "$(dirname "$0")/../.."

build=build
if [ $# -gt 0 ] && [ "${1:0:2}" != "--" ]; then
    build=$1
    shift
fi

tools/deps.sh
missing=()
command -v gnuplot >/dev/null 2>&1 || missing+=(gnuplot-nox)
# Debian's python3, which the benchmark runs, whatever else is on the path.
/usr/bin/python3 -c 'import pandas' >/dev/null 2>&1 || missing+=(python3-pandas)
/usr/bin/python3 -c 'import matplotlib' >/dev/null 2>&1 || missing+=(python3-matplotlib)
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing ${missing[*]} for the comparison ..."
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO=sudo
    if ! { $SUDO apt-get update -qq &&
           DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null; }; then
        echo "${missing[*]} could not be installed: the benchmark prints our figures only."
    fi
fi

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target bench_graph bench_indicators -j2
"$build/bin/bench_graph" "$@"
"$build/bin/bench_indicators" "$@"
