#!/bin/sh
# Builds everything and runs every test: the Linux suite over the simulated
# machine (plain, again under valgrind's memcheck, and under AddressSanitizer
# and UndefinedBehaviorSanitizer), the Windows product's tests (under Wine's
# 32-bit loader, and the signed release), a 64-bit build of the same sources,
# a short run of each fuzz target, two builds of the Windows product compared
# byte for byte, the static analysis of src/ and the coverage figures. Each
# stage says how long it took.
set -eu
cd "$(dirname "$0")/.."

jobs=$(nproc)
stage_started=0
start_stage() {
    echo "== $1"
    stage_started=$(date +%s)
}
end_stage() {
    echo "== $1: $(($(date +%s) - stage_started)) s"
}

start_stage "set-up"
scripts/setup-debian.sh
end_stage "set-up"

# Builds a preset and runs its tests.
run_preset() {
    start_stage "$1${2:+ ($2)}"
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1" -j "$jobs"
    ctest --preset "$1" -j "$jobs"
    end_stage "$1"
}

# The 32-bit product's Wine tests run in Wine's 32-bit loader, natively or,
# where the kernel cannot run 32-bit programs, under qemu-i386.
. scripts/lib/wine-32-bit.sh
route=$(wine32_use "$(pwd)" && echo "$wine32_route") || {
    echo "== Wine's 32-bit loader does not run here" >&2
    exit 1
}

run_preset linux
run_preset linux-sanitize
run_preset windows "its Wine tests run by $route"

# Only the 32-bit build ships. The 64-bit build of the same sources, warnings
# as errors, shows that they are 64-bit clean; its tests are not run.
start_stage "windows64 (built only)"
cmake --preset windows64 >/dev/null
cmake --build --preset windows64 -j "$jobs"
end_stage "windows64"

run_preset fuzz

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
