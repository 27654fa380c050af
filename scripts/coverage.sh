#!/bin/sh
# Line and branch coverage of src/ by the Linux tests, measured with gcov and
# lcov in the coverage preset. The Windows-only files (src/platform/win) are
# not built there and so not counted; branches that only C++ exceptions take
# are left out. Prints a table per file and the totals of src/ and of the
# installer alone (src/ without the simulated machine); the HTML report is
# build/coverage/html/index.html.
set -eu
cd "$(dirname "$0")/.."

jobs=$(nproc)
build=build/coverage
lcov_options="--quiet --rc lcov_branch_coverage=1 --rc geninfo_no_exception_branch=1"

cmake --preset coverage >/dev/null
cmake --build --preset coverage -j "$jobs" >/dev/null
# shellcheck disable=SC2086
lcov $lcov_options --zerocounters --directory "$build"
ctest --preset coverage -j "$jobs" >/dev/null

# Debian's lcov 1.16 warns about its own Perl when capturing: its log is kept
# and shown only when the capture fails.
# shellcheck disable=SC2086
if ! lcov $lcov_options --capture --directory "$build" --output-file "$build/all.info" 2>"$build/capture.log"; then
    cat "$build/capture.log" >&2
    exit 1
fi
# shellcheck disable=SC2086
lcov $lcov_options --extract "$build/all.info" "$PWD/src/*" --output-file "$build/src.info"
# shellcheck disable=SC2086
lcov $lcov_options --remove "$build/src.info" "$PWD/src/platform/sim/*" --output-file "$build/installer.info"
# shellcheck disable=SC2086
genhtml $lcov_options --branch-coverage --output-directory "$build/html" "$build/src.info" >/dev/null

# shellcheck disable=SC2086
lcov $lcov_options --list "$build/src.info" | sed "s|$PWD/||"
for part in src installer; do
    echo "== $part"
    # shellcheck disable=SC2086
    lcov --rc lcov_branch_coverage=1 --summary "$build/$part.info" 2>&1 | grep -E '^ +(lines|functions|branches)'
done
