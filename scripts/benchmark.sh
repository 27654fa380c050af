#!/bin/sh
# Measures, side by side in one run, and prints medians, spread and ratios:
#
#  1. A tree copy on the real Windows API, under Wine: copy_benchmark (the
#     Windows build of tests/benchmark) copies a generated tree of 2,000
#     files in 125 folders, about 68 MB, with CopyTree as the installer has
#     it, and with a plain CopyFileA loop (the floor of the API: the same
#     walk, creating the same folders and copying the same files in the same
#     order, and nothing else), each timed with QueryPerformanceCounter;
#     it times xcopy /E /I of the same tree the same way, xcopy's start
#     included. Against them, cp -r on the host, timed with the host's
#     monotonic clock, its start included. The tree lies in memory
#     (/dev/shm) unless TREE_DIR names another folder: on a disk shared with
#     other work the figures vary several times over.
#  2. The default run of installer.exe under Wine on a demo machine with 20
#     registered runtimes (10 JREs, 10 JDKs), timed by ui_driver from the
#     click on Install to the Install button's caption turning into
#     "&Szczegóły >>", against the same work done plainly: copy_benchmark
#     plan makes the run's 82 copies with CopyFileA and runs its two
#     CopyPolicyFile commands with system(), as the run does (each starts
#     cmd, with a console of its own as the run's have, and the stand-in
#     java.exe, which makes the other two copies), in the run's order, from
#     the same folder. The run also starts twin.bat without waiting for it;
#     the plan does not. Before every run the machine is put back as it was.
#  3. The check of the distribution folder that the default run makes before
#     its first change (the sun and Drivers folders against the manifest
#     built into installer.exe), timed by copy_benchmark check over the demo's
#     folder, against the default run above; and the installer's SHA-256 of
#     64 MB held in memory, as megabytes per second, in the build the demo
#     runs (the preset it names).
#  4. installer.exe /S /CHECK on the machine set up by that run, against
#     installer.exe /S /? (the program's start and end alone), each timed on
#     the host with Wine's start included.
#  5. The sizes of installer.exe and of the distribution zip.
#
# Wine runs the 32-bit product by whichever route runs its 32-bit loader
# here (under qemu-i386 where the kernel cannot run 32-bit programs); the
# results name the route. The figures are ratios within one run, so the
# route does not change what they mean.
#
# Each contender runs once to warm up and have its result checked, then RUNS
# rounds (default 5), each running every contender once, the first of them
# rotating from round to round, with sync after every copy and removal; every
# timed copy is checked too. Medians, with the lowest and highest time.
# KEEP=1 keeps the work folder (the tree is always removed).
set -eu
cd "$(dirname "$0")/.."
runs=${RUNS:-5}
runtime_pairs=10

. scripts/lib/demo-machine.sh

scripts/setup-debian.sh
echo "== building (Windows build)"
demo_build
cmake --build --preset windows -j "$(nproc)" --target copy_benchmark >/dev/null

demo_open /tmp/installer-benchmark
demo_virtual_display
demo_boot

# A server that stays up, with Wine's services started: Wine's start-up is
# not timed, but a server started by a timed program would start the
# services while it runs, and every Wine start would cost seconds.
keep_wine_up() {
    wine_run wineserver -p
    wine_run $demo_wine cmd /c exit 0
}
# Waits, for at most 10 s, until no cmd or conhost of this machine is left:
# the run starts twin.bat and does not wait for it. Under qemu-i386 the
# Windows program's name follows the emulator's and the loader's.
wait_for_commands() {
    for _ in $(seq 100); do
        left=""
        for pid in $(pgrep -f '(^| )C:\\windows\\system32\\(cmd|conhost)\.exe( |$)'); do
            if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then left=yes; fi
        done
        [ -n "$left" ] || return 0
        sleep 0.1
    done
    echo "twin.bat, started by the run, has not ended" >&2
    return 1
}

windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }
timed() { wine_run $demo_wine "$(windows_path "$build/tests/benchmark/copy_benchmark.exe")" "$@"; }
host_timed() { # runs the command and prints its milliseconds, its start included
    python3 -c 'import subprocess, sys, time
start = time.perf_counter()
status = subprocess.call(sys.argv[1:])
end = time.perf_counter()
if status:
    sys.exit(status)
print("%.1f" % (1000 * (end - start)))' "$@"
}

# The median, lowest and highest of the numbers in the file. Wine's Polish
# locale would make numbers use decimal commas: figures are read and written
# in the C locale.
spread() {
    LC_ALL=C sort -n "$1" | LC_ALL=C awk '{ v[NR] = $1 }
        END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
              printf "%10.1f ms  (%.1f to %.1f)\n", m, v[1], v[NR] }'
}
median() { spread "$1" | LC_ALL=C awk '{ print $1 }'; }
ratio() { LC_ALL=C awk -v a="$(median "$1")" -v b="$(median "$2")" 'BEGIN { printf "%.2f\n", a / b }'; }

# Runs every contender (its function is "copy_with_<name>") once per round,
# each round starting one further along the list; after each run "check_<part>"
# checks its result and "reset_<part>" puts things back.
rounds() { # part, contenders
    part=$1
    shift
    order="$*"
    for _ in $(seq "$runs"); do
        for contender in $order; do
            "copy_with_$contender" >>"$work/$contender.ms"
            "check_$part" "$contender"
            "reset_$part"
        done
        order="${order#* } ${order%% *}"
    done
}

# --- 1. Tree copy --------------------------------------------------------------

tree_parent=${TREE_DIR:-/dev/shm}
[ -d "$tree_parent" ] || tree_parent=/tmp
tree=$(mktemp -d "$tree_parent/installer-benchmark-tree.XXXXXX")
trap 'rm -rf "$tree"; demo_close' EXIT
echo "== 1. tree copy: generating the tree in $tree/package"
python3 - "$tree/package" <<'EOF'
# Deterministic: the same names and sizes on every machine. Mostly small
# files, some of a hundred KB or two and a few of a MB or two, as a package has.
import os, random, sys
root = sys.argv[1]
rng = random.Random(2024)
block = rng.randbytes(4 << 20)
extensions = [".class", ".jar", ".dll", ".properties", ".txt"]
def size():
    draw = rng.random()
    if draw < 0.90: return rng.randint(1 << 10, 24 << 10)
    if draw < 0.995: return rng.randint(64 << 10, 192 << 10)
    return rng.randint(1 << 20, 2 << 20)
def fill(folder, count):
    os.makedirs(folder)
    for i in range(count):
        n = size()
        start = rng.randrange(len(block) - n)
        with open(os.path.join(folder, "plik%03d%s" % (i, rng.choice(extensions))), "wb") as f:
            f.write(block[start:start + n])
for a in range(5):
    top = os.path.join(root, "modul%d" % a)
    fill(top, 16)
    for b in range(6):
        middle = os.path.join(top, "pakiet%d" % b)
        fill(middle, 16)
        for c in range(3):
            fill(os.path.join(middle, "czesc%d" % c), 16)
EOF
tree_files=$(find "$tree/package" -type f | wc -l)
tree_folders=$(find "$tree/package" -mindepth 1 -type d | wc -l)
tree_mb=$(du -sb "$tree/package" | LC_ALL=C awk '{ printf "%d", $1 / 1000000 }')
# Wine's copies are made by the machine's user.
[ -z "$run_as" ] || chown -R 65534:65534 "$tree"
sync
echo "   $tree_files files in $tree_folders folders, $tree_mb MB"

keep_wine_up
package=$(windows_path "$tree/package")
copy_with_copytree() { timed copytree "$package" "$(windows_path "$tree/copytree")"; sync; }
copy_with_copyloop() { timed copyloop "$package" "$(windows_path "$tree/copyloop")"; sync; }
copy_with_xcopy() { timed run "xcopy /E /I $package $(windows_path "$tree/xcopy")"; sync; }
copy_with_cp_r() { host_timed cp -r "$tree/package" "$tree/cp_r"; sync; }
check_tree() { diff -r "$tree/package" "$tree/$1" >/dev/null; }
reset_tree() { rm -rf "$tree/copytree" "$tree/copyloop" "$tree/xcopy" "$tree/cp_r"; sync; }

echo "== 1. warm-up runs, checking every copy"
for contender in copytree copyloop xcopy cp_r; do
    "copy_with_$contender" >/dev/null
    check_tree "$contender"
    reset_tree
done
echo "== 1. $runs rounds (milliseconds)"
rounds tree copytree copyloop xcopy cp_r
for contender in copytree copyloop xcopy cp_r; do
    printf '   %-9s %s\n' "$contender:" "$(tr '\n' ' ' <"$work/$contender.ms")"
done
rm -rf "$tree"
wine_run wineserver -k # the machine's set-up below waits for the server to end

# --- 2. The default run under Wine ---------------------------------------------

echo "== 2. default run: preparing the demo machine with $((2 * runtime_pairs)) runtimes"
for n in $(seq -w 1 "$runtime_pairs"); do
    demo_add_runtime 'Java Runtime Environment' "1.6.0_$n" "Program Files\\Java\\jre1.6.0_$n" .
done
for n in $(seq -w 1 "$runtime_pairs"); do
    demo_add_runtime 'Java Development Kit' "1.7.0_$n" "Program Files\\Java\\jdk1.7.0_$n" jre
done
demo_install
keep_wine_up
profile=$(demo_profile)
java="$drive/Program Files/Java"
system=$drive/windows/system32

# What the default run does with files, in its order, as copy_benchmark plan
# lines, and the files it writes (host paths). Into every runtime the archive
# and the properties; in the first one CopyPolicyFile's two commands, each
# making one copy into the profile; then the policy's backup and the policy;
# at the end the bridge library into the system directory and into the last
# JRE. Sources are named as the run names them, from the package folder.
plan=$work/copy-plan
targets=$work/targets
package='C:\Instalator\sun' # the run's current directory while it copies
: >"$plan"
: >"$targets"
host_path() { printf '%s/%s\n' "$drive" "${1#C:\\}" | tr '\\' /; }
plan_copy() { # source, target
    printf 'copy|%s|%s\n' "$1" "$2" >>"$plan"
    host_path "$2" >>"$targets"
}
plan_command() { # runtime home, CopyPolicyFile's argument; the text system() gets
    printf 'system|""%s\\bin\\java.exe" -classpath "%s" CopyPolicyFile %s"\n' "$1" "$package" "$2" >>"$plan"
    printf '%s/%s\n' "$profile" "$2" >>"$targets"
}
first=yes
for n in $(seq -w 1 "$runtime_pairs"); do printf 'jre1.6.0_%s|\n' "$n"; done >"$work/runtimes"
for n in $(seq -w 1 "$runtime_pairs"); do printf 'jdk1.7.0_%s|\\jre\n' "$n"; done >>"$work/runtimes"
while IFS='|' read -r runtime jre; do
    home="C:\\Program Files\\Java\\$runtime"
    lib="$home$jre\\lib"
    plan_copy ocf1.2.jar "$lib\\ext\\ocf1.2.jar"
    plan_copy opencard.properties "$lib\\opencard.properties"
    if [ -n "$first" ]; then
        plan_command "$home" .java.policy
        plan_command "$home" .opencard.properties
        first=""
    fi
    plan_copy "$lib\\security\\java.policy" "$lib\\security\\java.policy.ocf-bak"
    plan_copy java.policy "$lib\\security\\java.policy"
done <"$work/runtimes"
plan_copy ocfpcsc1.dll 'C:\windows\system32\ocfpcsc1.dll'
plan_copy ocfpcsc1.dll "C:\\Program Files\\Java\\jre1.6.0_$runtime_pairs\\lib\\ext\\ocfpcsc1.dll"

# Keeps what the run replaces or removes, to put the machine back before
# every run.
mkdir "$work/before"
i=0
while read -r target; do
    i=$((i + 1))
    [ ! -e "$target" ] || cp "$target" "$work/before/$i"
done <"$targets"
cp "$system/ocf1.2.jar" "$work/before/ocf1.2.jar"
restore_machine() {
    i=0
    while read -r target; do
        i=$((i + 1))
        if [ -e "$work/before/$i" ]; then cp "$work/before/$i" "$target"; else rm -f "$target"; fi
    done <"$targets"
    cp "$work/before/ocf1.2.jar" "$system/ocf1.2.jar"
    find "$java" -name calls.log -delete
    # Every run a first one: its record and kept copy go too.
    rm -rf "$drive/Program Files/SmartCardReaderSupport" "$drive/Program Files (x86)/SmartCardReaderSupport"
    demo_give_to_user
    sync
}

checksums() { while read -r target; do sha1sum <"$target"; done <"$targets"; }
# Every timed run must have made every copy, with the right contents.
check_copies() { checksums | diff -q "$work/installer.sums" - >/dev/null; }

copy_with_installer() { # the milliseconds from the click on Install to the run's end
    demo_start_installer >/dev/null
    driver wait "$demo_welcome"
    driver click "$demo_welcome" 6 # Yes
    driver wait "$demo_dialog"
    milliseconds=$(driver timed-click "$demo_dialog" 1 '&Szczegóły >>') # In&staluj
    driver click "$demo_dialog" 2 # &Zamknij
    driver wait Info
    driver click Info 1 # OK
    wait "$installer"
    wait_for_commands
    sync
    echo "$milliseconds"
}
copy_with_plan() { timed plan "$package" "$(windows_path "$plan")"; sync; }
check_run() { check_copies; }
reset_run() { restore_machine; }

echo "== 2. warm-up runs, checking that the plan does what the run does"
touch "$work/before-run"
sleep 1
copy_with_installer >/dev/null
(cd "$drive" && find . -type f -cnewer "$work/before-run" ! -name calls.log ! -path '*/SmartCardReaderSupport/*' | sed "s|^\.|$drive|" | sort) \
    >"$work/written"
if ! sort "$targets" | diff - "$work/written"; then
    echo "the files the run wrote (>) are not those of the plan (<)" >&2
    exit 1
fi
checksums >"$work/installer.sums"
restore_machine
copy_with_plan >/dev/null
check_copies
echo "   the run writes $(wc -l <"$targets") files; the plan writes the same, with the same contents"
restore_machine

echo "== 2. $runs rounds (milliseconds)"
rounds run installer plan
echo "   installer: $(tr '\n' ' ' <"$work/installer.ms")"
echo "   plan:      $(tr '\n' ' ' <"$work/plan.ms")"

echo "== 3. the default run's payload check and SHA-256, once to warm up, then $runs times"
timed check 'C:\Instalator' sun Drivers >/dev/null
timed sha256 64 >/dev/null
for _ in $(seq "$runs"); do
    timed check 'C:\Instalator' sun Drivers >>"$work/payload_check.ms"
    timed sha256 64 >>"$work/sha256.ms"
done

# --- 4. /S /CHECK against /S /? ------------------------------------------------

echo "== 4. /S /CHECK over $((2 * runtime_pairs)) runtimes, against /S /? ($runs rounds)"
copy_with_installer >/dev/null # the machine set up, record and entry included
in_distribution() { (cd "$drive/Instalator" && host_timed $run_as env HOME="$HOME" WINEPREFIX="$WINEPREFIX" \
    DISPLAY="$DISPLAY" $demo_wine installer.exe "$@"); }
copy_with_check() { in_distribution /S /CHECK; } # fails (exit code 1) unless the machine is set up
copy_with_usage() { in_distribution /S /?; }
check_start() { :; }
reset_start() { :; }
rounds start check usage
restore_machine

# --- Results -------------------------------------------------------------------

echo "== results: medians of $runs runs (lowest to highest)"
echo "machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)," \
    "$(uname -sr), $($demo_wine --version), $(cp --version | head -n 1); $(date -u +%Y-%m-%d)"
echo "Wine's route: $wine32_route"
echo "tree copy, $tree_files files in $tree_folders folders, $tree_mb MB, in $tree_parent:"
printf '  %-46s %s\n' "CopyTree, under Wine" "$(spread "$work/copytree.ms")"
printf '  %-46s %s\n' "plain CopyFileA loop, under Wine" "$(spread "$work/copyloop.ms")"
printf '  %-46s %s\n' "xcopy /E /I, under Wine, its start included" "$(spread "$work/xcopy.ms")"
printf '  %-46s %s\n' "cp -r, on the host, its start included" "$(spread "$work/cp_r.ms")"
printf '  %-46s %10s\n' "CopyTree / plain loop (goal: at most 1.10)" "$(ratio "$work/copytree.ms" "$work/copyloop.ms")"
printf '  %-46s %10s\n' "xcopy / CopyTree (goal: at least 1.30)" "$(ratio "$work/xcopy.ms" "$work/copytree.ms")"
printf '  %-46s %10s\n' "CopyTree / cp -r" "$(ratio "$work/copytree.ms" "$work/cp_r.ms")"
echo "default run under Wine, $((2 * runtime_pairs)) runtimes:"
printf '  %-46s %s\n' "installer, Install to the end of the run" "$(spread "$work/installer.ms")"
printf '  %-46s %s\n' "plan: $(grep -c '^copy' "$plan") copies, $(grep -c '^system' "$plan") commands" "$(spread "$work/plan.ms")"
printf '  %-46s %10s\n' "installer / plan (goal: at most 1.50)" "$(ratio "$work/installer.ms" "$work/plan.ms")"
echo "payload check and SHA-256 under Wine, the $preset build:"
printf '  %-46s %s\n' "check of sun and Drivers" "$(spread "$work/payload_check.ms")"
printf '  %-46s %10s\n' "check / installer run (goal: at most 0.10)" "$(ratio "$work/payload_check.ms" "$work/installer.ms")"
printf '  %-46s %s\n' "SHA-256 of 64 MB in memory" "$(spread "$work/sha256.ms")"
printf '  %-46s %10s\n' "SHA-256, MB/s (goal: at least 100, 32-bit)" \
    "$(LC_ALL=C awk -v ms="$(median "$work/sha256.ms")" 'BEGIN { printf "%.0f\n", 64000 / ms }')"
echo "/S /CHECK over $((2 * runtime_pairs)) runtimes, under Wine, its start included:"
printf '  %-46s %s\n' "/S /CHECK (goal: under 1,000 ms)" "$(spread "$work/check.ms")"
printf '  %-46s %s\n' "/S /?" "$(spread "$work/usage.ms")"
printf '  %-46s %10s\n' "/S /CHECK / (/S /?) (goal: at most 3.00)" "$(ratio "$work/check.ms" "$work/usage.ms")"
printf '%-48s %10s bytes\n' "installer.exe" "$(stat -c %s "$build/src/installer.exe")"
printf '%-48s %10s bytes\n' "smartcard-installer.zip" "$(stat -c %s "$build/smartcard-installer.zip")"
