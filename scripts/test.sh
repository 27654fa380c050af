#!/bin/sh
# Builds everything and runs every test: the Linux suite over the simulated
# machine (plain and under AddressSanitizer and UndefinedBehaviorSanitizer),
# the Windows build's tests under Wine, and, where clang is available, a short
# run of each fuzz target.
set -eu
cd "$(dirname "$0")/.."

scripts/setup-debian.sh

presets="linux linux-sanitize windows"
if command -v clang++ >/dev/null 2>&1; then
    presets="$presets fuzz"
fi

jobs=$(nproc)
for preset in $presets; do
    echo "== $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    ctest --preset "$preset" -j "$jobs"
done
echo "== all tests passed"
