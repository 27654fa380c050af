#!/bin/sh
# Static analysis of src/, failing on any finding: clang-tidy (.clang-tidy)
# over the compile commands of the linux preset (the core and the simulated
# machine) and of the windows preset (the core against MinGW's <windows.h>,
# and src/platform/win), then cppcheck (.cppcheck-suppressions) over the same
# two configurations.
set -eu
cd "$(dirname "$0")/.."

jobs=$(nproc)
cmake --preset linux >/dev/null
cmake --preset windows >/dev/null

# Only clang's own execution character set exists for it; the text's bytes
# do not matter to the analysis.
charset=--extra-arg=-fexec-charset=UTF-8

# clang finds MinGW's C headers by the target, not its C++ headers: take
# them from the cross compiler's own search list.
mingw_cxx=""
for dir in $(echo | i686-w64-mingw32-g++ -E -x c++ - -v 2>&1 |
    sed -n '/#include <...> search starts here/,/End of search list/p' | grep '/include/c++'); do
    mingw_cxx="$mingw_cxx --extra-arg=-isystem$dir"
done

# Runs clang-tidy over the sources of one build (all but the excluded
# folder), printing its findings without its counts of ignored warnings.
tidy() {
    build=$1
    excluded=$2
    shift 2
    echo "clang-tidy: $build build"
    log=$(mktemp)
    status=0
    find src -name '*.cpp' ! -path "$excluded/*" | sort |
        xargs -P "$jobs" -n 4 clang-tidy -p "build/$build" --quiet "$charset" "$@" >"$log" 2>&1 || status=1
    grep -v 'warnings\{0,1\} generated\.$' "$log" || true
    rm -f "$log"
    return $status
}
# shellcheck disable=SC2086
tidy linux src/platform/win
# shellcheck disable=SC2086
tidy windows src/platform/sim $mingw_cxx

cppcheck_options="--enable=warning,style,performance,portability,information --std=c++17 --inline-suppr
    --suppressions-list=.cppcheck-suppressions --error-exitcode=1 --quiet -I src -I ."
echo "cppcheck: linux build"
# shellcheck disable=SC2086
cppcheck $cppcheck_options -U_WIN32 src/app src/fileops src/log src/release src/restore src/steps src/platform/sim
echo "cppcheck: windows build"
# The simulated machine's suppressions have nothing to match here.
# shellcheck disable=SC2086
cppcheck $cppcheck_options --platform=win32A --library=windows -D_WIN32 --suppress=unmatchedSuppression \
    src/app src/fileops src/log src/release src/restore src/steps src/platform/win
echo "static analysis: clean"
