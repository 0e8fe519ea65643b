#!/usr/bin/env bash
# Builds the Debian package into build/: gasmixer_<version>_<arch>.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target gasmixer gasmixer-run gasmixer-plan gasmixer-sim manpages
(cd build && cpack -G DEB)
