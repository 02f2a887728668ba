#!/usr/bin/env bash
# Installs what is missing, builds both presets and runs every test:
# the core natively under AddressSanitizer/UBSan, then everything under Wine.
set -eu
cd "$(dirname "$0")/.."
bash tools/install-deps.sh

jobs=$(nproc)
echo "== host preset (core, sanitizers)"
cmake --preset host >/dev/null
cmake --build --preset host -j "$jobs"
ctest --preset host -j "$jobs"

echo "== windows preset (under Wine)"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"
bash tools/with-wine.sh build/windows/wineprefix ctest --preset windows -j "$jobs"
