#!/bin/sh
# Measures, side by side in one run, and prints the ratios:
#
#  1. CopyTree over the simulated machine (the Linux build, optimised) copying
#     a generated package of 4,000 files in 250 nested folders, about 370 MB,
#     against cp -r of the same tree. Both are timed by copy_benchmark with
#     the same clock (the host's monotonic clock), each once to warm the page
#     cache, then alternately, with sync after every copy and removal. The
#     tree lies in memory (/dev/shm) unless TREE_DIR names another folder: on
#     a disk shared with other work the figures vary several times over.
#  2. The default run of installer.exe under Wine on a demo machine with 20
#     registered runtimes (10 JREs, 10 JDKs), timed by ui_driver from the
#     click on Install to the Install button's caption turning into
#     "&Szczegóły >>", against cp of the same files into the same places,
#     timed by copy_benchmark. Before every run the machine is put back as it
#     was; each is run once to warm up, then alternately.
#  3. The sizes of installer.exe and of the distribution zip.
#
# Medians of RUNS timed runs (default 5). KEEP=1 keeps the work folder (the
# tree is always removed).
set -eu
cd "$(dirname "$0")/.."
runs=${RUNS:-5}
runtime_pairs=10

. scripts/lib/demo-machine.sh

scripts/setup-debian.sh
echo "== building (Linux build optimised into build/benchmark; Windows build)"
cmake --preset linux -B build/benchmark -D CMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/benchmark -j "$(nproc)" --target copy_benchmark >/dev/null
timer=$(pwd)/build/benchmark/tests/benchmark/copy_benchmark
demo_build

demo_open /tmp/installer-benchmark
demo_virtual_display

# The middle value of the numbers on standard input (the mean of the two
# middle ones for an even count). Wine's Polish locale would make numbers
# use decimal commas: figures are read and written in the C locale.
median() {
    LC_ALL=C sort -n | LC_ALL=C awk '{ v[NR] = $1 }
        END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
ratio() { LC_ALL=C awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f\n", a / b }'; }

# --- 1. Tree copy --------------------------------------------------------------

tree_parent=${TREE_DIR:-/dev/shm}
[ -d "$tree_parent" ] || tree_parent=/tmp
tree=$(mktemp -d "$tree_parent/installer-benchmark-tree.XXXXXX")
trap 'rm -rf "$tree"; demo_close' EXIT
echo "== 1. tree copy: generating the package in $tree/package"
python3 - "$tree/package" <<'EOF'
# Deterministic: the same names and sizes on every machine. Mostly small
# files, some of a few hundred KB and a few of some MB, as a package has.
import os, random, sys
root = sys.argv[1]
rng = random.Random(2024)
block = rng.randbytes(8 << 20)
extensions = [".class", ".jar", ".dll", ".properties", ".txt"]
def size():
    draw = rng.random()
    if draw < 0.85: return rng.randint(1 << 10, 32 << 10)
    if draw < 0.99: return rng.randint(64 << 10, 512 << 10)
    return rng.randint(1 << 20, 6 << 20)
def fill(folder, count):
    os.makedirs(folder)
    for i in range(count):
        n = size()
        start = rng.randrange(len(block) - n)
        with open(os.path.join(folder, "plik%03d%s" % (i, rng.choice(extensions))), "wb") as f:
            f.write(block[start:start + n])
for a in range(10):
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
sync
echo "   $tree_files files in $tree_folders folders, $tree_mb MB"

copy_with_copytree() { "$timer" copytree "$tree" package copytree; sync; }
copy_with_cp() { "$timer" run cp -r "$tree/package" "$tree/cp"; sync; }
remove_copies() { rm -rf "$tree/copytree" "$tree/cp"; sync; }

echo "== 1. warm-up runs, checking both copies"
copy_with_copytree >/dev/null
copy_with_cp >/dev/null
diff -r "$tree/package" "$tree/copytree" >/dev/null
diff -r "$tree/package" "$tree/cp" >/dev/null
remove_copies
echo "== 1. $runs timed runs of each, alternating (milliseconds)"
for run in $(seq "$runs"); do
    # Who goes first alternates as well.
    if [ $((run % 2)) = 1 ]; then
        copy_with_copytree >>"$work/copytree.ms"
        remove_copies
        copy_with_cp >>"$work/cp-r.ms"
    else
        copy_with_cp >>"$work/cp-r.ms"
        remove_copies
        copy_with_copytree >>"$work/copytree.ms"
    fi
    remove_copies
done
echo "   CopyTree: $(tr '\n' ' ' <"$work/copytree.ms")"
echo "   cp -r:    $(tr '\n' ' ' <"$work/cp-r.ms")"
rm -rf "$tree"

# --- 2. The default run under Wine ---------------------------------------------

echo "== 2. default run: preparing the demo machine with $((2 * runtime_pairs)) runtimes"
demo_boot
for n in $(seq -w 1 "$runtime_pairs"); do
    demo_add_runtime 'Java Runtime Environment' "1.6.0_$n" "Program Files\\Java\\jre1.6.0_$n" .
done
for n in $(seq -w 1 "$runtime_pairs"); do
    demo_add_runtime 'Java Development Kit' "1.7.0_$n" "Program Files\\Java\\jdk1.7.0_$n" jre
done
demo_install
profile=$(demo_profile)
java="$drive/Program Files/Java"
sun=$drive/Instalator/sun
system=$drive/windows/system32

# The copies the default run makes, in its order ("source|target"): into
# every runtime the archive and the properties, in the first one
# CopyPolicyFile's two copies into the profile, then the policy's backup
# and the policy; at the end the bridge library into the system directory
# and into the last JRE.
plan=$work/copy-plan
: >"$plan"
first=yes
for n in $(seq -w 1 "$runtime_pairs"); do echo "jre1.6.0_$n/lib"; done >"$work/libs"
for n in $(seq -w 1 "$runtime_pairs"); do echo "jdk1.7.0_$n/jre/lib"; done >>"$work/libs"
while read -r lib; do
    lib=$java/$lib
    echo "$sun/ocf1.2.jar|$lib/ext/ocf1.2.jar" >>"$plan"
    echo "$sun/opencard.properties|$lib/opencard.properties" >>"$plan"
    if [ -n "$first" ]; then
        echo "$sun/java.policy|$profile/.java.policy" >>"$plan"
        echo "$sun/opencard.properties|$profile/.opencard.properties" >>"$plan"
        first=""
    fi
    echo "$lib/security/java.policy|$lib/security/java.policy.ocf-bak" >>"$plan"
    echo "$sun/java.policy|$lib/security/java.policy" >>"$plan"
done <"$work/libs"
echo "$sun/ocfpcsc1.dll|$system/ocfpcsc1.dll" >>"$plan"
echo "$sun/ocfpcsc1.dll|$java/jre1.6.0_$runtime_pairs/lib/ext/ocfpcsc1.dll" >>"$plan"
cut -d'|' -f2 "$plan" >"$work/targets"
awk -F'|' -v q="'" '{ printf "cp %s%s%s %s%s%s\n", q, $1, q, q, $2, q }' "$plan" >"$work/copy-plan.sh"

# Keeps what the run replaces or removes, to put the machine back before
# every run.
mkdir "$work/before"
i=0
while read -r target; do
    i=$((i + 1))
    [ ! -e "$target" ] || cp "$target" "$work/before/$i"
done <"$work/targets"
cp "$system/ocf1.2.jar" "$work/before/ocf1.2.jar"
restore_machine() {
    i=0
    while read -r target; do
        i=$((i + 1))
        if [ -e "$work/before/$i" ]; then cp "$work/before/$i" "$target"; else rm -f "$target"; fi
    done <"$work/targets"
    cp "$work/before/ocf1.2.jar" "$system/ocf1.2.jar"
    find "$java" -name calls.log -delete
    demo_give_to_user
    sync
}

checksums() { while read -r target; do sha1sum <"$target"; done <"$work/targets"; }
# Every timed run must have made every copy, with the right contents.
check_copies() { checksums | diff -q "$work/installer.sums" - >/dev/null; }

run_installer() { # prints the milliseconds from the click on Install to the run's end
    demo_start_installer >/dev/null
    driver wait "$demo_welcome"
    driver click "$demo_welcome" 6 # Yes
    driver wait "$demo_dialog"
    milliseconds=$(driver timed-click "$demo_dialog" 1 '&Szczegóły >>') # In&staluj
    driver click "$demo_dialog" 2 # &Zamknij
    driver wait Info
    driver click Info 1 # OK
    wait "$installer"
    wine_run wineserver -w
    sync
    echo "$milliseconds"
}
copy_with_cp_plan() { "$timer" run sh "$work/copy-plan.sh"; sync; }

echo "== 2. warm-up runs, checking that cp copies what the installer copies"
touch "$work/before-run"
sleep 1
run_installer >/dev/null
(cd "$drive" && find . -type f -cnewer "$work/before-run" ! -name calls.log | sed "s|^\.|$drive|" | sort) \
    >"$work/written"
if ! sort "$work/targets" | diff - "$work/written"; then
    echo "the files the run wrote (>) are not those the cp plan copies (<)" >&2
    exit 1
fi
checksums >"$work/installer.sums"
restore_machine
copy_with_cp_plan >/dev/null
check_copies
echo "   the run copies $(wc -l <"$plan") files; cp copies the same, with the same contents"
restore_machine

echo "== 2. $runs timed runs of each, alternating (milliseconds)"
for run in $(seq "$runs"); do
    if [ $((run % 2)) = 1 ]; then
        run_installer >>"$work/installer.ms"
        check_copies
        restore_machine
        copy_with_cp_plan >>"$work/cp-plan.ms"
        check_copies
    else
        copy_with_cp_plan >>"$work/cp-plan.ms"
        check_copies
        restore_machine
        run_installer >>"$work/installer.ms"
        check_copies
    fi
    restore_machine
done
echo "   installer: $(tr '\n' ' ' <"$work/installer.ms")"
echo "   cp:        $(tr '\n' ' ' <"$work/cp-plan.ms")"

# --- Results -------------------------------------------------------------------

copytree_ms=$(median <"$work/copytree.ms")
cp_r_ms=$(median <"$work/cp-r.ms")
installer_ms=$(median <"$work/installer.ms")
cp_plan_ms=$(median <"$work/cp-plan.ms")
echo "== results: medians of $runs runs"
echo "machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)," \
    "$(uname -sr), $(wine --version), $(cp --version | head -n 1); $(date -u +%Y-%m-%d)"
printf '%-64s %10s ms\n' "CopyTree, $tree_files files in $tree_folders folders, $tree_mb MB, in $tree_parent" "$copytree_ms"
printf '%-64s %10s ms\n' "cp -r of the same tree" "$cp_r_ms"
printf '%-64s %10s\n' "ratio CopyTree / cp -r" "$(ratio "$copytree_ms" "$cp_r_ms")"
printf '%-64s %10s ms\n' "default run under Wine, $((2 * runtime_pairs)) runtimes, Install to the end" "$installer_ms"
printf '%-64s %10s ms\n' "cp of the same $(wc -l <"$plan") files into the same places" "$cp_plan_ms"
printf '%-64s %10s\n' "ratio run / cp" "$(ratio "$installer_ms" "$cp_plan_ms")"
printf '%-64s %10s bytes\n' "installer.exe" "$(stat -c %s "$build/src/installer.exe")"
printf '%-64s %10s bytes\n' "smartcard-installer.zip" "$(stat -c %s "$build/smartcard-installer.zip")"
