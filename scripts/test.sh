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

# Where the kernel cannot run 32-bit programs, the 32-bit product is still
# built and checked, and the Wine tests run on the 64-bit build.
. scripts/lib/wine-32-bit.sh

# Builds a preset and runs its tests, with any further ctest arguments.
run_preset() {
    name=$1
    shift
    start_stage "$name"
    cmake --preset "$name" >/dev/null
    cmake --build --preset "$name" -j "$jobs"
    ctest --preset "$name" -j "$jobs" "$@"
    end_stage "$name"
}

for preset in linux linux-sanitize windows fuzz; do
    if [ "$preset" = windows ] && ! runs_32_bit; then
        echo "== this kernel cannot run 32-bit programs: the Wine tests run on the 64-bit build"
        run_preset windows -E _under_wine
        preset=windows64
    fi
    run_preset "$preset"
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
