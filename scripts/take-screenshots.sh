#!/bin/sh
# Shows the installer under Wine and saves screenshots in docs/screenshots/:
# the welcome prompt and the dialog as it opens; with --after-run also the
# dialog after a run, details shown. Wine runs in a virtual desktop of its own
# (so that it draws the window frames) on a private Xvfb display, with the
# Windows-1250 code page, as an ordinary user when started as root. The
# installer runs in DIST (default: an empty folder holding only the
# executable) as its distribution folder.
set -eu
cd "$(dirname "$0")/.."
repo=$(pwd)
after_run=""
[ "${1:-}" = "--after-run" ] && after_run=yes

cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target installer >/dev/null

work=$(mktemp -d)
dist=${DIST:-$work/dist}
mkdir -p "$dist" "$work/home"
cp build/windows/src/installer.exe "$dist/"

run_as=""
if [ "$(id -u)" = 0 ]; then
    chown -R 65534:65534 "$work" "$dist"
    run_as="setpriv --reuid=65534 --regid=65534 --clear-groups --"
fi

xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
displayfile=$work/display
Xvfb -displayfd 3 -ac -screen 0 1024x768x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$displayfile" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$displayfile")"

wine_env="env HOME=$work/home WINEPREFIX=$work/home/prefix WINEDEBUG=-all LC_ALL=pl_PL.UTF-8 DISPLAY=$DISPLAY"
wine_env="$wine_env WINEDLLOVERRIDES=mscoree,mshtml="
$run_as $wine_env wineboot -i >/dev/null 2>&1
$run_as $wine_env wineserver -w

shot() {
    sleep 4
    # The desktop around the windows is one colour: trim it away.
    import -window root -trim +repage "$repo/docs/screenshots/$1"
}

mkdir -p docs/screenshots
(cd "$dist" && $run_as $wine_env wine explorer /desktop=installer,1024x768 installer.exe) &
wine_pid=$!
sleep 4
shot welcome-prompt.png
xdotool key Return # Yes
shot dialog-before-run.png
if [ -n "$after_run" ]; then
    xdotool key Return # Install
    sleep 20
    xdotool key Return # details
    shot dialog-after-run.png
fi
xdotool key Escape # close
sleep 2
xdotool key Return # the restart notice, if any
wait "$wine_pid" || true
$run_as $wine_env wineserver -k 2>/dev/null || true
echo "screenshots in docs/screenshots/"
