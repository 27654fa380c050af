#!/bin/sh
# Builds everything and runs every test: the Linux suite over the simulated
# machine (plain and under AddressSanitizer and UndefinedBehaviorSanitizer),
# and the Windows build's tests under Wine.
set -eu
cd "$(dirname "$0")/.."

scripts/setup-debian.sh

jobs=$(nproc)
for preset in linux linux-sanitize windows; do
    echo "== $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    ctest --preset "$preset" -j "$jobs"
done
echo "== all tests passed"
