#!/bin/sh
# Builds the installer and runs it under Wine, with the folder that holds it
# as its distribution folder.
set -eu
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target installer
cd build/windows/src
exec ../../../tests/win/run-under-wine.sh "$(pwd)/installer.exe"
