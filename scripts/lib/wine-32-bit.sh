# Which route runs Wine's 32-bit loader, and so the 32-bit product, on this
# machine: natively where the kernel runs 32-bit programs; where IA-32
# emulation is switched off, a marked copy of the loader under qemu-i386
# (scripts/setup-wine32-route.sh sets that route up). Sourced.
#
#   wine32_route_folder      the route's folder, relative to the repository's top folder
#   wine32_route_handler     the name of its binfmt_misc handler
#   wine32_runs_natively     whether the kernel runs Wine's 32-bit loader itself
#   wine32_use <top folder>  sets wine32 (the command that starts the 32-bit loader) and
#                            wine32_route (its name, for the logs) and exports what Wine
#                            needs for the route; fails where neither route works

wine32_route_folder=build/wine32-route
wine32_route_handler=smartcard-installer-wine32

wine32_runs_natively() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

wine32_use() {
    if wine32_runs_natively; then
        wine32=/usr/lib/wine/wine
        wine32_route="Wine's 32-bit loader, natively"
        return 0
    fi
    wine32=$1/$wine32_route_folder/lib/wine/wine
    "$wine32" --version >/dev/null 2>&1 || return 1
    # Wine starts each Windows process through WINELOADER; the server is the
    # native one, which serves 32-bit clients as well.
    export WINELOADER="$wine32" WINESERVER=/usr/lib/wine/wineserver64 WINEARCH=win32
    wine32_route="Wine's 32-bit loader under qemu-i386 ($("$1/$wine32_route_folder/qemu-i386" --version | head -n 1))"
}
