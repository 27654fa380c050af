#!/bin/sh
# Checks that the release is reproducible: builds the Windows product twice,
# from two copies of the checkout in folders of different names and lengths,
# one after the other with a different time zone and umask, and compares
# installer.exe, CopyPolicyFile.class and the zip byte for byte. The copies
# hold the files git tracks or would track, as they are in the working tree.
# About a minute and a half; KEEP=1 keeps the two folders.
set -eu
cd "$(dirname "$0")/.."

work=$(mktemp -d /tmp/reproducible-XXXXXX)
cleanup() {
    [ "${KEEP:-}" = 1 ] && echo "kept $work" || rm -rf "$work"
}
trap cleanup EXIT

build() {
    source="$work/$1"
    mkdir -p "$source"
    git ls-files -z --cached --others --exclude-standard | xargs -0 cp --parents -t "$source"
    (cd "$source" && cmake --preset windows >/dev/null && cmake --build --preset windows --target distribution -j2 >/dev/null)
}

build one
(TZ=Pacific/Kiritimati && umask 077 && export TZ && build "a second checkout folder")

status=0
for file in src/installer.exe package/sun/CopyPolicyFile.class smartcard-installer.zip; do
    if cmp "$work/one/build/windows/$file" "$work/a second checkout folder/build/windows/$file"; then
        echo "same: $file ($(stat -c %s "$work/one/build/windows/$file") bytes)"
    else
        status=1
    fi
done
[ "$status" = 0 ] && echo "== reproducible" || echo "== NOT reproducible"
exit "$status"
