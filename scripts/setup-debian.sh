#!/bin/sh
# Installs what building, testing and running the installer need on a Debian 12
# machine. Safe to run again: it installs only what is missing.
set -eu

sudo=""
[ "$(id -u)" = 0 ] || sudo=sudo

packages="cmake make g++ libgtest-dev googletest
g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64-win32
wine wine32:i386 wine32-preloader:i386 wine64 xvfb imagemagick locales python3
default-jdk-headless
clang libclang-rt-14-dev
valgrind clang-tidy cppcheck lcov
osslsigncode openssl"

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi

missing=""
for package in $packages; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing="$missing $package"
done
# Recommended packages come too: Wine's (its fonts, the X extensions it uses)
# are part of the set-up the Wine tests were written on.
if [ -n "$missing" ]; then
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing >/dev/null
fi

# Wine takes its ANSI code page from the locale: pl_PL gives Windows-1250,
# and the locale must exist for file names to reach the host intact.
if ! locale -a 2>/dev/null | grep -qix 'pl_PL.utf8'; then
    $sudo localedef -i pl_PL -f UTF-8 pl_PL.UTF-8
fi

# Where the kernel cannot run 32-bit programs, Wine's 32-bit loader runs
# under qemu-i386 instead.
. "$(dirname "$0")/lib/wine-32-bit.sh"
wine32_runs_natively || $sudo "$(dirname "$0")/setup-wine32-route.sh"
