#!/bin/sh
# Lets Wine's 32-bit loader run on a kernel that cannot run 32-bit programs
# (IA-32 emulation switched off). The loader runs under qemu's user-mode
# emulator instead:
#
#   build/wine32-route/qemu-i386        qemu-i386 10 or later, unpacked from the
#                                       qemu-user package of bookworm-backports
#   build/wine32-route/lib/wine/        copies of Wine's 32-bit loader and preloader
#                                       (wine, wine-preloader), marked in ELF byte 15
#                                       (e_ident padding, which loaders ignore)
#
# and a binfmt_misc handler that sends only i386 ELF files carrying that mark
# to that qemu-i386, so that no one else's 32-bit programs are touched. Wine
# starts each Windows process through its loader again, so they all run this
# way. scripts/lib/wine-32-bit.sh puts it to use.
#
# Run as root, by scripts/setup-debian.sh where the kernel cannot run 32-bit
# programs. Quick where it ran before: binfmt_misc registrations do not
# survive a reboot, so it checks and registers each time. The package is
# fetched with an apt state of its own (sources, lists and cache in a
# temporary folder), from the Debian archive that the machine's apt already
# uses; the machine's apt configuration is not changed.
set -eu
cd "$(dirname "$0")/.."

. scripts/lib/wine-32-bit.sh
route=$(pwd)/$wine32_route_folder
binfmt=/proc/sys/fs/binfmt_misc
fetch_seconds=300

fail() {
    echo "setup-wine32-route: $1, so the 32-bit product cannot run under Wine here; the Wine tests" \
        "can run on the 64-bit build by hand: cmake --preset windows64 && cmake --build --preset windows64 -j2" \
        "&& ctest --preset windows64" >&2
    exit 1
}

# The handler: an i386 ELF executable (type 2 or 3, any OS ABI) whose byte 15
# is the mark.
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x57\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xff\xff\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
magic_shown=7f454c4601010100000000000000005702000300

[ -e "$binfmt/register" ] || mount -t binfmt_misc none "$binfmt" 2>/dev/null ||
    fail "binfmt_misc is not mounted and cannot be mounted (it needs root and a kernel with binfmt_misc)"

fetch_qemu() {
    archive=$(apt-get indextargets --format '$(REPO_URI)' 'Codename: bookworm' 'Label: Debian' 'Target-Of: deb' |
        sort -u | head -n 1)
    [ -n "$archive" ] || fail "apt uses no Debian bookworm archive to fetch qemu-user from bookworm-backports"
    apt_state=$(mktemp -d)
    trap 'rm -rf "$apt_state"' EXIT
    mkdir -p "$apt_state/lists/partial" "$apt_state/cache/archives/partial" "$apt_state/parts"
    echo "deb [arch=amd64 signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $archive bookworm-backports main" \
        >"$apt_state/sources.list"
    set -- -qq -o Dir::Etc::SourceList="$apt_state/sources.list" -o Dir::Etc::SourceParts="$apt_state/parts" \
        -o Dir::State::Lists="$apt_state/lists" -o Dir::Cache="$apt_state/cache" -o Acquire::Languages=none \
        -o Acquire::http::Timeout=30 -o Acquire::Retries=2
    echo "== fetching qemu-user from bookworm-backports ($archive) for Wine's 32-bit loader"
    (cd "$apt_state" &&
        timeout "$fetch_seconds" apt-get "$@" update &&
        timeout "$fetch_seconds" apt-get "$@" download qemu-user/bookworm-backports) >/dev/null 2>&1 ||
        fail "qemu-user of bookworm-backports could not be fetched from $archive"
    dpkg-deb -x "$apt_state"/qemu-user_*.deb "$apt_state/unpacked"
    mkdir -p "$route"
    cp "$apt_state/unpacked/usr/bin/qemu-i386" "$route/qemu-i386.new"
    mv "$route/qemu-i386.new" "$route/qemu-i386"
    rm -rf "$apt_state"
    trap - EXIT
}

qemu_major=$("$route/qemu-i386" --version 2>/dev/null | sed -n 's/^qemu-i386 version \([0-9]*\)\..*/\1/p') || true
[ "${qemu_major:-0}" -ge 10 ] || fetch_qemu
qemu_major=$("$route/qemu-i386" --version 2>/dev/null | sed -n 's/^qemu-i386 version \([0-9]*\)\..*/\1/p') || true
[ "${qemu_major:-0}" -ge 10 ] || fail "the qemu-i386 unpacked from qemu-user is not version 10 or later"

# The marked copies, made afresh so that they follow an upgrade of Wine. Wine
# finds its libraries and data relative to its loader, so the copies lie in
# a folder laid out like /usr.
mkdir -p "$route/lib/wine"
for folder in lib/i386-linux-gnu share; do
    [ -L "$route/$folder" ] || ln -s "/usr/$folder" "$route/$folder"
done
for program in wine wine-preloader; do
    [ -f "/usr/lib/wine/$program" ] || fail "/usr/lib/wine/$program is missing (packages wine32:i386, wine32-preloader:i386)"
    cp "/usr/lib/wine/$program" "$route/lib/wine/$program.new"
    printf '\127' | dd of="$route/lib/wine/$program.new" bs=1 seek=15 conv=notrunc status=none
    mv "$route/lib/wine/$program.new" "$route/lib/wine/$program"
done

# A handler of that name from another checkout does the same; one that is
# disabled or matches otherwise is replaced.
handler=$binfmt/$wine32_route_handler
if ! { grep -qx enabled "$handler" && grep -q "^magic $magic_shown" "$handler"; } 2>/dev/null; then
    [ ! -e "$handler" ] || echo -1 >"$handler"
    # F: the kernel opens qemu-i386 now, so the handler works in any mount namespace.
    printf ':%s:M::%s:%s:%s:F' "$wine32_route_handler" "$magic" "$mask" "$route/qemu-i386" >"$binfmt/register" ||
        fail "the binfmt_misc handler could not be registered"
fi
"$route/lib/wine/wine" --version >/dev/null 2>&1 || fail "Wine's 32-bit loader does not start under qemu-i386"
