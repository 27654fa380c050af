#!/bin/sh
# Runs the installer on a demo Windows machine under Wine.
#
# Builds the installer and its distribution folder, prepares a fresh Wine
# prefix as the demo machine (ANSI code page 1250; one JRE and one JDK
# registered under SOFTWARE\JavaSoft, each with a stand-in bin\java.exe that
# does what CopyPolicyFile does; a stale ocf1.2.jar in the system directory),
# unpacks the distribution zip on it and runs the installer from there.
#
# With a display (DISPLAY set) it is the real, interactive installer. Without
# one it runs on a virtual display and clicks through the default run (Yes,
# Install, details, Close), saving a screenshot of each screen. Either way it
# then prints the details report and lists what landed where.
#
#   OUT=<folder>   where screenshots and the report go (default: out/demo)
#   KEEP=1         keep the demo machine (its folder is printed)
set -eu
cd "$(dirname "$0")/.."
repo=$(pwd)
out=${OUT:-$repo/out/demo}

scripts/setup-debian.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target distribution stand_ins ui_driver >/dev/null
build=$repo/build/windows

work=$(mktemp -d /tmp/installer-demo.XXXXXX)
home=$work/home
drive=$home/prefix/drive_c
mkdir -p "$home" "$out"

# Wine running as root would let anyone overwrite read-only files.
run_as=""
if [ "$(id -u)" = 0 ]; then
    run_as="setpriv --reuid=65534 --regid=65534 --clear-groups --"
fi
export HOME="$home" WINEPREFIX="$home/prefix" WINEARCH=win32 WINEDEBUG=-all LC_ALL=pl_PL.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml="
wine_run() { $run_as env HOME="$HOME" WINEPREFIX="$WINEPREFIX" DISPLAY="$DISPLAY" "$@"; }

xvfb_pid=""
cleanup() {
    wine_run wineserver -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    if [ "${KEEP:-}" = 1 ]; then echo "demo machine kept in $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT

headless=""
if [ -z "${DISPLAY:-}" ]; then
    headless=yes
    displayfile=$work/display
    Xvfb -displayfd 3 -ac -screen 0 1024x768x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$displayfile" ] && break; sleep 0.1; done
    export DISPLAY=":$(cat "$displayfile")"
fi

echo "== preparing the demo machine (a fresh 32-bit Wine prefix)"
[ -n "$run_as" ] && chown -R 65534:65534 "$work"
wine_run wineboot -i >/dev/null 2>&1
wine_run wineserver -w

jre='C:\Program Files\Java\jre6'
jdk='C:\Program Files\Java\jdk1.6.0_45'
make_runtime() { # <host folder of the home> <folder holding lib, relative to it>
    mkdir -p "$1/bin" "$1/$2/lib/ext" "$1/$2/lib/security"
    cp "$build/standins/java.exe" "$1/bin/java.exe"
    printf '// the policy this runtime came with\r\n' >"$1/$2/lib/security/java.policy"
}
make_runtime "$drive/Program Files/Java/jre6" .
make_runtime "$drive/Program Files/Java/jdk1.6.0_45" jre
printf 'a stale OCF archive left by an earlier installation\r\n' >"$drive/windows/system32/ocf1.2.jar"
cat >"$work/demo.reg" <<EOF
REGEDIT4

[HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.6.0_45]
"JavaHome"="$(echo "$jre" | sed 's/\\/\\\\/g')"

[HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\Java Development Kit\\1.6.0_45]
"JavaHome"="$(echo "$jdk" | sed 's/\\/\\\\/g')"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"Default"="1024x768"
EOF
# The installer ships as a zip: unpack it where a user would.
mkdir -p "$drive/Instalator"
(cd "$drive/Instalator" && cmake -E tar xf "$build/smartcard-installer.zip")
[ -n "$run_as" ] && chown -R 65534:65534 "$work"
wine_run wine regedit /S "Z:$(echo "$work/demo.reg" | tr / '\\')"
wine_run wineserver -w

welcome='Instalator czytnika kart mikropr. dla przeglądarek internetowych'
dialog='Instalator czytnika kart mikroproc. [v1.4]'
driver() { wine_run wine "Z:$(echo "$build/tests/e2e/ui_driver.exe" | tr / '\\')" "$@"; }
shot() {
    sleep 1
    # The desktop around the windows is one colour: trim it away.
    import -window root -trim +repage "$out/$1"
    echo "   screenshot $out/$1"
}

echo "== running the installer from C:\\Instalator"
(cd "$drive/Instalator" && wine_run wine installer.exe) &
installer=$!
if [ -n "$headless" ]; then
    driver wait "$welcome"
    shot 1-welcome-prompt.png
    driver click "$welcome" 6 # Yes
    driver wait "$dialog"
    shot 2-dialog.png
    driver click "$dialog" 1 # In&staluj
    driver wait-text "$dialog" 1 '&Szczegóły >>'
    shot 3-after-run.png
    driver click "$dialog" 1 # &Szczegóły >>
    driver wait-text "$dialog" 1 '&Szczegóły <<'
    shot 4-details.png
    driver text "$dialog" 1009 >"$out/report-cp1250.txt"
    driver click "$dialog" 2 # &Zamknij
    driver wait Info
    shot 5-restart-notice.png
    driver click Info 1 # OK
fi
wait "$installer" || true
wine_run wineserver -w

if [ -s "$out/report-cp1250.txt" ]; then
    iconv -f CP1250 -t UTF-8 "$out/report-cp1250.txt" | tr -d '\r' >"$out/report.txt"
    echo "== details report"
    cat "$out/report.txt"
fi

echo "== what landed where (C: is $drive)"
show() { # <Windows path> <host path>
    if [ -e "$2" ]; then
        printf '%-72s %6s bytes  %s\n' "$1" "$(wc -c <"$2")" "$(head -c 60 "$2" | tr -d '\r\n' | iconv -f CP1250 -t UTF-8)"
    else
        printf '%-72s (none)\n' "$1"
    fi
}
for home_dir in "Program Files/Java/jre6" "Program Files/Java/jdk1.6.0_45/jre"; do
    for file in lib/ext/ocf1.2.jar lib/ext/ocfpcsc1.dll lib/opencard.properties lib/security/java.policy \
        lib/security/java.policy.ocf-bak; do
        show "C:/$home_dir/$file" "$drive/$home_dir/$file"
    done
done
for file in ocf1.2.jar ocfpcsc1.dll; do show "C:/windows/system32/$file" "$drive/windows/system32/$file"; done
profile=$(find "$drive/users" -maxdepth 1 -mindepth 1 -type d ! -name Public | head -n 1)
for file in .java.policy .opencard.properties; do show "C:/users/$(basename "$profile")/$file" "$profile/$file"; done
echo "== commands the runtimes' java.exe ran (current directory|arguments)"
for bin in "Program Files/Java/jre6/bin" "Program Files/Java/jdk1.6.0_45/bin"; do
    [ -f "$drive/$bin/calls.log" ] && sed "s|^|C:/$bin/java.exe: |" "$drive/$bin/calls.log" | tr -d '\r'
done
echo "== done; screenshots and report in $out"
