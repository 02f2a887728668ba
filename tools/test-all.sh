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
if ! bash tools/with-wine.sh build/windows/wineprefix ctest --preset windows -j "$jobs"; then
    # A Wine GUI process now and then fails to start or to end; such a test
    # passes when run again, a real fault fails again. Failures stay listed above.
    echo "== running once more, one at a time, the Windows tests that failed above"
    bash tools/with-wine.sh build/windows/wineprefix ctest --preset windows --rerun-failed
fi
