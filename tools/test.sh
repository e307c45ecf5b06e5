#!/usr/bin/env bash
# Builds everything and runs every test.
# Usage: tools/test.sh [--sanitize]   (AddressSanitizer + UndefinedBehaviorSanitizer build)
set -euo pipefail
cd "$(dirname "$0")/.."

build=build
sanitize=no
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DHUSHMARK_WERROR=ON)
if [ "${1:-}" = "--sanitize" ]; then
    build=build-asan
    sanitize=yes
    options=(-DCMAKE_BUILD_TYPE=Debug -DHUSHMARK_WERROR=ON -DHUSHMARK_SANITIZE=ON)
    # Leaks fail a test; the suppressions name only system libraries.
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi

tools/deps.sh
cmake -S . -B "$build" -G Ninja "${options[@]}" >/dev/null
cmake --build "$build" -j2
if ! ctest --test-dir "$build" -j2 --output-on-failure; then
    # A leak report alone gets one more run; any other fault fails here.
    [ "$sanitize" = yes ] || exit 1
    python3 tools/rerun-leak-reports.py "$build"
fi
