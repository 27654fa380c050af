#!/bin/sh
# Runs a Windows test program under Wine: in a Wine prefix of its own beside
# the program, with the Windows-1250 ANSI code page, on a virtual display when
# there is none, and as an ordinary user when started as root (Wine running
# as root lets anyone overwrite read-only files, which Windows does not).
set -eu

program=$1
shift
home=$(cd "$(dirname "$program")" && pwd)/wine-home
mkdir -p "$home"

. "$(dirname "$0")/../../scripts/lib/ordinary-user.sh"
ordinary_user_setup "$home"
[ -z "$run_as" ] || chown -R 65534:65534 "$home"

xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
    # Xvfb picks a free display itself and writes its number to the file.
    displayfile=$(mktemp)
    Xvfb -displayfd 3 -ac -screen 0 1024x768x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$displayfile" ] && break; sleep 0.1; done
    export DISPLAY=":$(cat "$displayfile")"
    rm -f "$displayfile"
fi

# The product runs in Wine's 32-bit loader, by whichever route runs it here;
# a 64-bit build (the windows64 preset) in Wine's 64-bit loader.
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/scripts/lib/wine-32-bit.sh"
case "$(file -b "$program")" in
PE32+*) wine=/usr/lib/wine/wine64 ;;
*)
    wine32_use "$top" || { echo "Wine's 32-bit loader does not run here: run scripts/setup-debian.sh" >&2; exit 1; }
    wine=$wine32
    ;;
esac

export HOME="$home" WINEPREFIX="$home/prefix" WINEDEBUG=-all LC_ALL=pl_PL.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    $run_as env HOME="$HOME" WINEPREFIX="$WINEPREFIX" $wine wineboot -i >/dev/null 2>&1
    $run_as env HOME="$HOME" WINEPREFIX="$WINEPREFIX" wineserver -w
fi
$run_as env HOME="$HOME" WINEPREFIX="$WINEPREFIX" DISPLAY="$DISPLAY" $wine "$program" "$@"
