#!/bin/sh
# The benchmark's timer does what it is timed doing, under Wine: copytree and
# copyloop copy a whole tree (mixed-case names, nested and empty folders, a
# file with a blank in its name), run passes on the program's result, plan
# makes its copies and runs its commands in its folder; each reports a failure
# as one and then prints no time. Only the form of a printed time is checked,
# never its value.
#
# Starting Wine costs seconds, so the cases run in one Wine session: a batch
# file, started by the timer's own run, runs the timer once for each case and
# keeps its output and exit status in <case>.out and <case>.status.
# Usage: copy_benchmark_test.sh <run-under-wine.sh> <copy_benchmark.exe>
set -u
under_wine=$1
timer=$2
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
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }
in_scratch() { windows_path "$scratch/$1"; }
timed() { # case name, then copy_benchmark's arguments as one line of the batch file
    printf '%s %s >%s 2>NUL\r\n>%s echo %%ERRORLEVEL%%\r\n' "$(windows_path "$timer")" "$2" \
        "$(in_scratch "$1.out")" "$(in_scratch "$1.status")" >>"$scratch/cases.bat"
}
status_is() { [ "$(tr -d ' \r\n' <"$scratch/$1.status")" = "$2" ]; }
is_time() { grep -Eqx '[0-9]+\.[0-9]' "$scratch/$1.out"; }
no_time() { [ ! -s "$scratch/$1.out" ]; }

mkdir -p "$scratch/package/Modul/Pakiet/Czesc" "$scratch/package/pusty" "$scratch/plan"
printf 'top' >"$scratch/package/plik.txt"
printf 'middle' >"$scratch/package/Modul/Klasa.class"
printf 'deep' >"$scratch/package/Modul/Pakiet/Czesc/z odstepem.jar"
head -c 300000 /dev/urandom >"$scratch/package/Modul/Pakiet/duzy.dll"
cat >"$scratch/copy-plan" <<PLAN
copy|plik.txt|$(in_scratch plan/plik.txt)
system|copy Modul\\Klasa.class $(in_scratch plan/Klasa.class) >NUL
PLAN
printf 'system|exit 3\n' >"$scratch/failing-plan"

package=$(in_scratch package)
timed copytree "copytree $package $(in_scratch copytree)"
timed copytree-again "copytree $package $(in_scratch copytree)"
timed copyloop "copyloop $package $(in_scratch copyloop)"
timed copyloop-missing "copyloop $(in_scratch missing) $(in_scratch copyloop2)"
timed run "run \"xcopy /E /I $package $(in_scratch xcopy)\""
timed run-failing "run \"cmd /c exit 3\""
timed plan "plan $package $(in_scratch copy-plan)"
timed plan-failing "plan $package $(in_scratch failing-plan)"
timed usage "copytree $package"
printf 'exit /b 0\r\n' >>"$scratch/cases.bat"
# Wine runs as an ordinary user when the tests run as root.
[ "$(id -u)" != 0 ] || chown -R 65534:65534 "$scratch"
sh "$under_wine" "$timer" run "cmd /c $(in_scratch cases.bat)" >"$scratch/cases.out"
status=$?
check "run of the cases succeeds" [ "$status" = 0 ]
check "run prints a time" is_time cases

for tool in copytree copyloop; do
    check "$tool succeeds" status_is "$tool" 0
    check "$tool prints a time" is_time "$tool"
    check "$tool copies the whole tree" diff -r "$scratch/package" "$scratch/$tool"
done
check "copytree into an existing folder fails" status_is copytree-again 1
check "a failed copytree prints no time" no_time copytree-again
check "copyloop of a missing folder fails" status_is copyloop-missing 1
check "a failed copyloop prints no time" no_time copyloop-missing

check "run of xcopy succeeds" status_is run 0
check "run prints a time, the program's output kept out of it" is_time run
check "run runs the program" diff -r "$scratch/package" "$scratch/xcopy"
check "run of a failing program fails" status_is run-failing 1
check "a failed run prints no time" no_time run-failing

check "plan succeeds" status_is plan 0
check "plan prints a time" is_time plan
check "plan copies in its folder" cmp "$scratch/package/plik.txt" "$scratch/plan/plik.txt"
check "plan runs its commands in its folder" cmp "$scratch/package/Modul/Klasa.class" "$scratch/plan/Klasa.class"
check "plan with a failing command fails" status_is plan-failing 1
check "a failed plan prints no time" no_time plan-failing

check "a wrong command line is refused" status_is usage 2

[ "$failures" = 0 ]
