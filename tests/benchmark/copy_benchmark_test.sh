#!/bin/sh
# The benchmark's timer does what it is timed doing: copytree copies a whole
# tree (mixed-case names, nested and empty folders, a file with a blank in
# its name) and reports a failure as one; run passes on the program's result.
# Only what is printed as a time is checked for form, never its value.
# Usage: copy_benchmark_test.sh <copy_benchmark>
set -u
timer=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

check() { # what is checked, command that must succeed
    checked=$1
    shift
    if ! "$@"; then
        echo "FAIL: $checked"
        failures=$((failures + 1))
    fi
}
is_time() { grep -Eqx '[0-9]+\.[0-9]' "$scratch/out"; }
status_is() { [ "$status" = "$1" ]; }

mkdir -p "$scratch/package/Modul/Pakiet/Czesc" "$scratch/package/pusty"
printf 'top' >"$scratch/package/plik.txt"
printf 'middle' >"$scratch/package/Modul/Klasa.class"
printf 'deep' >"$scratch/package/Modul/Pakiet/Czesc/z odstepem.jar"
head -c 300000 /dev/urandom >"$scratch/package/Modul/Pakiet/duzy.dll"

"$timer" copytree "$scratch" package copy >"$scratch/out"
status=$?
check "copytree succeeds" status_is 0
check "copytree prints a time" is_time
check "copytree copies the whole tree" diff -r "$scratch/package" "$scratch/copy"

"$timer" copytree "$scratch" package copy >"$scratch/out" 2>/dev/null
status=$?
check "copytree into an existing folder fails" status_is 1
"$timer" copytree "$scratch" missing copy2 >"$scratch/out" 2>/dev/null
status=$?
check "copytree of a missing folder fails" status_is 1
check "a failed copytree prints no time" test ! -s "$scratch/out"

"$timer" run cp -r "$scratch/package" "$scratch/cp" >"$scratch/out"
status=$?
check "run succeeds" status_is 0
check "run prints a time" is_time
check "run runs the program" diff -r "$scratch/package" "$scratch/cp"
"$timer" run false >"$scratch/out" 2>/dev/null
status=$?
check "run of a failing program fails" status_is 1
"$timer" run "$scratch/no-such-program" >"$scratch/out" 2>/dev/null
status=$?
check "run of a missing program fails" status_is 1
"$timer" copytree "$scratch" >/dev/null 2>&1
status=$?
check "a wrong command line is refused" status_is 2

[ "$failures" = 0 ]
