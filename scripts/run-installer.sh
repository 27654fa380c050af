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

. scripts/lib/demo-machine.sh

scripts/setup-debian.sh
demo_build
demo_open /tmp/installer-demo
mkdir -p "$out"

headless=""
if [ -z "${DISPLAY:-}" ]; then
    headless=yes
    demo_virtual_display
fi

echo "== preparing the demo machine (a fresh 32-bit Wine prefix)"
demo_boot
demo_add_runtime 'Java Runtime Environment' 1.6.0_45 'Program Files\Java\jre6' .
demo_add_runtime 'Java Development Kit' 1.6.0_45 'Program Files\Java\jdk1.6.0_45' jre
demo_install

shot() {
    sleep 1
    # The desktop around the windows is one colour: trim it away.
    import -window root -trim +repage "$out/$1"
    echo "   screenshot $out/$1"
}

echo "== running the installer from C:\\Instalator"
demo_start_installer
if [ -n "$headless" ]; then
    driver wait "$demo_welcome"
    shot 1-welcome-prompt.png
    driver click "$demo_welcome" 6 # Yes
    driver wait "$demo_dialog"
    shot 2-dialog.png
    driver click "$demo_dialog" 1 # In&staluj
    driver wait-text "$demo_dialog" 1 '&Szczegóły >>'
    shot 3-after-run.png
    driver click "$demo_dialog" 1 # &Szczegóły >>
    driver wait-text "$demo_dialog" 1 '&Szczegóły <<'
    shot 4-details.png
    driver text "$demo_dialog" 1009 >"$out/report-cp1250.txt"
    driver click "$demo_dialog" 2 # &Zamknij
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
profile=$(demo_profile)
for file in .java.policy .opencard.properties; do show "C:/users/$(basename "$profile")/$file" "$profile/$file"; done
echo "== commands the runtimes' java.exe ran (current directory|arguments)"
for bin in "Program Files/Java/jre6/bin" "Program Files/Java/jdk1.6.0_45/bin"; do
    [ -f "$drive/$bin/calls.log" ] && sed "s|^|C:/$bin/java.exe: |" "$drive/$bin/calls.log" | tr -d '\r'
done
echo "== done; screenshots and report in $out"
