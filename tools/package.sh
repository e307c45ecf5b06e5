#!/usr/bin/env bash
# Builds the Debian package into build-package/ (hushmark_<version>_<arch>.deb).
set -euo pipefail
cd "$(dirname "$0")/.."

tools/deps.sh dpkg-dev file
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DBUILD_TESTING=OFF >/dev/null
cmake --build build-package -j2
(cd build-package && cpack -G DEB >/dev/null)
ls build-package/*.deb
