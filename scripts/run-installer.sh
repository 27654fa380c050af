#!/bin/sh
# Runs the installer. For now the Windows build's test program of the copy
# services is what runs under Wine; the installer itself follows.
set -eu
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)"
tests/win/run-under-wine.sh build/windows/tests/win/fileops_tests.exe
