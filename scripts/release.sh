#!/bin/sh
# Makes the release in out/release/ (OUT= to change): builds the Windows
# product (the windows preset), signs installer.exe with Authenticode (SHA-256
# digest) and writes
#
#   smartcard-installer.zip   the distribution folder, holding the signed installer.exe
#   installer.exe             the signed installer alone
#   SHA256SUMS                the SHA-256 digests of both (sha256sum -c SHA256SUMS)
#
# The distributor's certificate and key are named by environment variables,
# never kept in the repository:
#
#   SIGN_CERT            the certificate, PEM or DER; a PEM file may hold the chain after it
#   SIGN_KEY             its private key, PEM or DER
#   SIGN_KEY_PASSWORD    the key's password, when it is encrypted
#   SIGN_CA              the CA certificates to verify the signature against
#                        (default: the system's, /etc/ssl/certs/ca-certificates.crt)
#   SIGN_TIMESTAMP_URL   an RFC 3161 time-stamping service, so that the signature
#                        stays valid after the certificate expires (needs the network)
#
# Without SIGN_CERT and SIGN_KEY the installer is signed with a throwaway
# self-signed certificate made here (kept as throwaway-certificate.pem, its
# key deleted), so that the signing path is always exercised: such a release
# is for testing, not for shipping.
#
# The signature's signing time is the commit's time (or SOURCE_DATE_EPOCH), so
# the same commit and key give the same bytes; osslsigncode remove-signature
# gives back the build's unsigned installer.exe. BUILD=<folder> takes the
# distribution folder from a build folder of the windows preset that is
# already built (the tests do) instead of building it.
#
# What the release ships is taken from the environment too, and printed:
#
#   CARD_SITES           the sites whose applets may use the card (see the README)
#   PAYLOAD_DIR          the third-party payloads, laid out as the distribution folder
#   ALLOW_PLACEHOLDERS   1: make a release with the placeholder site or
#                        placeholder payloads (for testing); otherwise refused
#
# Unset, CARD_SITES and PAYLOAD_DIR take the build's defaults (the placeholders),
# never a value left in the build folder's cache by an earlier build.
set -eu

# Paths may be given relative to the folder the command starts in.
started_in=$(pwd)
absolute() {
    case $1 in
    /* | "") echo "$1" ;;
    *) echo "$started_in/$1" ;;
    esac
}
OUT=$(absolute "${OUT:-}")
BUILD=$(absolute "${BUILD:-}")
SIGN_CERT=$(absolute "${SIGN_CERT:-}")
SIGN_KEY=$(absolute "${SIGN_KEY:-}")
SIGN_CA=$(absolute "${SIGN_CA:-}")
PAYLOAD_DIR=$(absolute "${PAYLOAD_DIR:-}")
cd "$(dirname "$0")/.."

out=${OUT:-$(pwd)/out/release}
description="Instalator czytnika kart mikroprocesorowych"

if [ -z "$BUILD" ]; then
    set -- -U CARD_SITES -U PAYLOAD_DIR
    [ -z "${CARD_SITES:-}" ] || set -- "$@" -D "CARD_SITES=$CARD_SITES"
    [ -z "$PAYLOAD_DIR" ] || set -- "$@" -D "PAYLOAD_DIR=$PAYLOAD_DIR"
    cmake --preset windows "$@" >/dev/null
    cmake --build --preset windows --target distribution -j2 >/dev/null
    BUILD=$(pwd)/build/windows
elif [ -n "${CARD_SITES:-}$PAYLOAD_DIR" ]; then
    echo "BUILD ships what that build was configured with: do not set CARD_SITES or PAYLOAD_DIR with it" >&2
    exit 1
fi
[ -f "$BUILD/dist/installer.exe" ] || { echo "no distribution folder in $BUILD" >&2; exit 1; }

# What ships: the sites the build's policy grants the card, and every payload
# with its hash (the manifest compiled into installer.exe), placeholders marked.
listing=$BUILD/package/payload_manifest.txt
placeholders=0
echo "sites given the card:"
sites=$(sed -n 's/^CARD_SITES:STRING=//p' "$BUILD/CMakeCache.txt" | tr ';' ' ')
for site in $sites; do
    case $site in
    *.invalid/-) printf '  %s   PLACEHOLDER\n' "$site"; placeholders=$((placeholders + 1)) ;;
    *) printf '  %s\n' "$site" ;;
    esac
done
echo "payloads (SHA-256, size, path; the manifest's SHA-256 is $(sha256sum <"$listing" | cut -d' ' -f1)):"
while read -r hash size path; do
    file=$BUILD/dist/$(printf '%s' "$path" | tr '\\' /)
    if head -c 64 "$file" | grep -q PLACEHOLDER; then
        printf '  %s  %s  %s   PLACEHOLDER\n' "$hash" "$size" "$path"
        placeholders=$((placeholders + 1))
    else
        printf '  %s  %s  %s\n' "$hash" "$size" "$path"
    fi
done <"$listing"
if [ "$placeholders" -gt 0 ] && [ "${ALLOW_PLACEHOLDERS:-}" != 1 ]; then
    echo "$placeholders placeholders above: set CARD_SITES and PAYLOAD_DIR (or ALLOW_PLACEHOLDERS=1 for a test release)" >&2
    exit 1
fi

signing_time=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || true)}
[ -n "$signing_time" ] || { echo "not a git checkout: set SOURCE_DATE_EPOCH to the signing time" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
rm -f "$out/smartcard-installer.zip" "$out/installer.exe" "$out/SHA256SUMS" "$out/throwaway-certificate.pem"

if [ -n "$SIGN_CERT$SIGN_KEY" ]; then
    [ -n "$SIGN_CERT" ] && [ -n "$SIGN_KEY" ] || { echo "set both SIGN_CERT and SIGN_KEY" >&2; exit 1; }
    cert=$SIGN_CERT
    key=$SIGN_KEY
    ca=$SIGN_CA
else
    echo "SIGN_CERT and SIGN_KEY not set: signing with a throwaway self-signed certificate, for testing only"
    cert=$out/throwaway-certificate.pem
    key=$work/throwaway-key.pem
    openssl genpkey -quiet -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out "$key"
    openssl req -x509 -key "$key" -out "$cert" -days 30 -subj "/CN=Throwaway test signature, not for distribution" \
        -addext "basicConstraints=critical,CA:FALSE" -addext "keyUsage=critical,digitalSignature" \
        -addext "extendedKeyUsage=codeSigning"
    ca=$cert
fi

# The password reaches osslsigncode in a file of our own, not on its command line.
set -- -certs "$cert" -key "$key"
if [ -n "${SIGN_KEY_PASSWORD:-}" ]; then
    (umask 077 && printf '%s' "$SIGN_KEY_PASSWORD" >"$work/password")
    set -- "$@" -readpass "$work/password"
fi
[ -z "${SIGN_TIMESTAMP_URL:-}" ] || set -- "$@" -ts "$SIGN_TIMESTAMP_URL"

cp -R "$BUILD/dist" "$work/dist"
rm "$work/dist/installer.exe"
osslsigncode sign "$@" -h sha256 -n "$description" -time "$signing_time" \
    -in "$BUILD/dist/installer.exe" -out "$work/dist/installer.exe" >/dev/null
set --
[ -z "$ca" ] || set -- -CAfile "$ca"
if ! osslsigncode verify "$@" -in "$work/dist/installer.exe" >"$work/verify.log" 2>&1; then
    cat "$work/verify.log" >&2
    echo "the signature does not verify" >&2
    exit 1
fi

python3 package/make_zip.py "$work/dist" "$out/smartcard-installer.zip"
cp "$work/dist/installer.exe" "$out/installer.exe"
(cd "$out" && sha256sum smartcard-installer.zip installer.exe >SHA256SUMS)

echo "signed and verified; in $out:"
(cd "$out" && ls -l | tail -n +2)
