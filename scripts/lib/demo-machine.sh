# The demo machine: a fresh 32-bit Wine prefix (ANSI code page 1250) with
# Java runtimes registered under SOFTWARE\JavaSoft, each with a stand-in
# bin\java.exe of ours that does what CopyPolicyFile does, a stale
# ocf1.2.jar in the system directory, and the distribution zip unpacked into
# C:\Instalator. Sourced, from the repository's top folder, by the scripts
# that run the installer on it.
#
#   demo_build                  builds the zip, the stand-ins and ui_driver.exe; sets build and
#                               demo_wine (Wine's 32-bit loader) and says by which route it runs
#   demo_open <folder>          Wine's settings for a machine in that new folder; sets work, home,
#                               drive; removes it all on exit (KEEP=1 keeps it)
#   demo_virtual_display        a private Xvfb display for the rest of the script
#   demo_boot                   creates the prefix
#   demo_add_runtime <list key> <entry> <home below C:\> <folder holding lib, relative to the home>
#                               a runtime's folders and stand-in java.exe, and its registry entry
#   demo_install                the zip into C:\Instalator, the stale ocf1.2.jar, the registry
#   demo_start_installer        runs installer.exe from C:\Instalator in the background; sets installer
#   demo_profile                prints the host folder of the user's profile (C:\users\<user>)
#   wine_run <command...>       a command as the machine's user, in its prefix and on its display
#   driver <ui_driver command...>
#
# demo_welcome and demo_dialog are the captions of the welcome prompt and the dialog.

demo_welcome='Instalator czytnika kart mikropr. dla przeglądarek internetowych'
demo_dialog='Instalator czytnika kart mikroproc. [v1.4]'

. scripts/lib/wine-32-bit.sh

# The 32-bit product in a 32-bit prefix, by whichever route runs Wine's
# 32-bit loader here.
demo_build() {
    wine32_use "$(pwd)" || { echo "Wine's 32-bit loader does not run here: run scripts/setup-debian.sh" >&2; exit 1; }
    echo "== Wine runs the installer by this route: $wine32_route"
    demo_wine=$wine32
    cmake --preset windows >/dev/null
    cmake --build --preset windows -j "$(nproc)" --target distribution stand_ins ui_driver >/dev/null
    build=$(pwd)/build/windows
}

demo_open() {
    work=$(mktemp -d "$1.XXXXXX")
    home=$work/home
    drive=$home/prefix/drive_c
    mkdir -p "$home"
    printf 'REGEDIT4\n\n' >"$work/demo.reg"

    . scripts/lib/ordinary-user.sh
    ordinary_user_setup "$build"
    export HOME="$home" WINEPREFIX="$home/prefix" WINEARCH=win32 WINEDEBUG=-all LC_ALL=pl_PL.UTF-8
    export WINEDLLOVERRIDES="mscoree,mshtml="
    xvfb_pid=""
    trap demo_close EXIT
}

demo_close() {
    wine_run wineserver -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    if [ "${KEEP:-}" = 1 ]; then echo "demo machine kept in $work"; else rm -rf "$work"; fi
}

wine_run() { $run_as env HOME="$HOME" WINEPREFIX="$WINEPREFIX" DISPLAY="$DISPLAY" "$@"; }

demo_virtual_display() {
    displayfile=$work/display
    Xvfb -displayfd 3 -ac -screen 0 1024x768x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$displayfile" ] && break; sleep 0.1; done
    export DISPLAY=":$(cat "$displayfile")"
}

# The machine's files belong to the user Wine runs as.
demo_give_to_user() {
    [ -z "$run_as" ] || chown -R 65534:65534 "$work"
}

demo_boot() {
    demo_give_to_user
    wine_run $demo_wine wineboot -i >/dev/null 2>&1
    wine_run wineserver -w
}

# Doubles the backslashes of a Windows path, as .reg text wants them.
demo_reg_text() { printf '%s' "$1" | sed 's/\\/\\\\/g'; }

demo_add_runtime() { # <list key> <entry> <home below C:\> <folder holding lib, relative to the home>
    runtime=$drive/$(printf '%s' "$3" | tr '\\' /)
    mkdir -p "$runtime/bin" "$runtime/$4/lib/ext" "$runtime/$4/lib/security"
    cp "$build/standins/java.exe" "$runtime/bin/java.exe"
    printf '// the policy this runtime came with\r\n' >"$runtime/$4/lib/security/java.policy"
    printf '[HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\%s\\%s]\n"JavaHome"="%s"\n\n' \
        "$1" "$2" "$(demo_reg_text "C:\\$3")" >>"$work/demo.reg"
}

demo_install() {
    printf 'a stale OCF archive left by an earlier installation\r\n' >"$drive/windows/system32/ocf1.2.jar"
    cat >>"$work/demo.reg" <<'EOF'
[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"
EOF
    # The installer ships as a zip: unpack it where a user would.
    mkdir -p "$drive/Instalator"
    (cd "$drive/Instalator" && cmake -E tar xf "$build/smartcard-installer.zip")
    demo_give_to_user
    wine_run $demo_wine regedit /S "Z:$(echo "$work/demo.reg" | tr / '\\')"
    wine_run wineserver -w
}

demo_start_installer() {
    (cd "$drive/Instalator" && wine_run $demo_wine installer.exe) &
    installer=$!
}

demo_profile() {
    find "$drive/users" -maxdepth 1 -mindepth 1 -type d ! -name Public | head -n 1
}

driver() { wine_run $demo_wine "Z:$(echo "$build/tests/e2e/ui_driver.exe" | tr / '\\')" "$@"; }
