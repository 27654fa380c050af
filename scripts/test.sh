#!/bin/sh
# Builds everything and runs every test: the Linux suite over the simulated
# machine (plain, again under valgrind's memcheck, and under AddressSanitizer
# and UndefinedBehaviorSanitizer), the Windows build's tests (under Wine, and
# the signed release), a short run of each fuzz target, two builds of the
# Windows product compared byte for byte, the static analysis of src/ and the
# coverage figures. Each stage says how long it took.
set -eu
cd "$(dirname "$0")/.."

scripts/setup-debian.sh

jobs=$(nproc)
stage_started=0
start_stage() {
    echo "== $1"
    stage_started=$(date +%s)
}
end_stage() {
    echo "== $1: $(($(date +%s) - stage_started)) s"
}

for preset in linux linux-sanitize windows fuzz; do
    start_stage "$preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    ctest --preset "$preset" -j "$jobs"
    end_stage "$preset"
done

start_stage "reproducible"
scripts/check-reproducible.sh
end_stage "reproducible"

start_stage "static analysis"
scripts/analyse.sh
end_stage "static analysis"

start_stage "coverage"
scripts/coverage.sh
end_stage "coverage"

echo "== all tests passed"
