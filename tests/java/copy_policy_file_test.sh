#!/bin/sh
# CopyPolicyFile on the real JVM: it installs a file of the package folder
# (the current directory) into the user's home under its dotted name, keeps
# the user's own file once, and fails with a message and a non-zero status on
# a wrong argument or what it cannot install.
# Usage: copy_policy_file_test.sh <java> <folder of CopyPolicyFile.class> <package folder>
set -u
java=$1
classes=$(cd "$2" && pwd)
package=$(cd "$3" && pwd)
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

empty() { [ -z "$(ls -A "$1")" ]; }
silent() { [ ! -s "$scratch/out" ] && [ ! -s "$scratch/err" ]; }

# Runs the class in folder $1 with the home $2 and the remaining arguments.
run() {
    folder=$1
    home=$2
    shift 2
    (cd "$folder" && "$java" -Duser.home="$home" -cp "$classes" CopyPolicyFile "$@") >"$scratch/out" 2>"$scratch/err"
    status=$?
}

fresh_home() {
    home=$(mktemp -d "$scratch/home.XXXXXX")
}

# Runs by the older runtimes of the machines it prepares: class file version 52.
major=$(od -An -j6 -N2 -tu1 "$classes/CopyPolicyFile.class" | tr -s ' ')
check "class file for Java 8 (version bytes:$major)" [ "$major" = " 0 52" ]
check "one class file, nothing else to carry" [ "$(cd "$classes" && ls -- *.class)" = "CopyPolicyFile.class" ]

# A fresh home receives each file under its dotted name.
for name in java.policy opencard.properties; do
    fresh_home
    run "$package" "$home" ".$name"
    check ".$name: exit status 0 (was $status)" [ "$status" -eq 0 ]
    check ".$name: installed" cmp -s "$package/$name" "$home/.$name"
    check ".$name: nothing else in the home" [ "$(ls -A "$home")" = ".$name" ]
    check ".$name: silent" silent
done

# The user's own file is kept once; later runs keep that first backup.
fresh_home
printf 'grant { /* the user'"'"'s own */ };\n' >"$home/.java.policy"
cp "$home/.java.policy" "$scratch/own"
run "$package" "$home" .java.policy
check "own policy: exit status 0 (was $status)" [ "$status" -eq 0 ]
check "own policy: kept in the backup" cmp -s "$scratch/own" "$home/.java.policy.ocf-bak"
check "own policy: replaced" cmp -s "$package/java.policy" "$home/.java.policy"
echo "changed since" >"$home/.java.policy"
run "$package" "$home" .java.policy
check "second run: exit status 0 (was $status)" [ "$status" -eq 0 ]
check "second run: first backup kept" cmp -s "$scratch/own" "$home/.java.policy.ocf-bak"
check "second run: replaced again" cmp -s "$package/java.policy" "$home/.java.policy"

# Failures: the status, a message, and a home left as it was.
mkdir "$scratch/empty"
fail_case() { # description, expected status, folder, arguments...
    description=$1
    expected=$2
    folder=$3
    shift 3
    fresh_home
    run "$folder" "$home" "$@"
    check "$description: exit status $expected (was $status)" [ "$status" -eq "$expected" ]
    check "$description: message on stderr" grep -q '^CopyPolicyFile: ' "$scratch/err"
    check "$description: home untouched" empty "$home"
}
fail_case "no argument" 2 "$package"
fail_case "two arguments" 2 "$package" .java.policy .opencard.properties
fail_case "name without the dot" 2 "$package" java.policy
fail_case "only a dot" 2 "$package" .
fail_case "name leading out of the home" 2 "$package" ../.java.policy
fail_case "name with a folder" 2 "$package" .x/../java.policy
fail_case "name leading out of the package" 2 "$package" "..$package/java.policy"
fail_case "no such package file" 1 "$scratch/empty" .java.policy

fresh_home
run "$package" "$scratch/no-such-home" .java.policy
check "missing home: exit status 1 (was $status)" [ "$status" -eq 1 ]
check "missing home: message on stderr" grep -q '^CopyPolicyFile: ' "$scratch/err"
check "missing home: not created" [ ! -e "$scratch/no-such-home" ]

fresh_home
mkdir "$home/.java.policy"
run "$package" "$home" .java.policy
check "folder in the way: exit status 1 (was $status)" [ "$status" -eq 1 ]
check "folder in the way: message on stderr" grep -q '^CopyPolicyFile: ' "$scratch/err"
check "folder in the way: kept" [ -d "$home/.java.policy" ]
check "folder in the way: no backup" [ ! -e "$home/.java.policy.ocf-bak" ]

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all checks passed"
