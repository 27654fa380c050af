#!/bin/sh
# The release command on a built windows preset: signed with the throwaway
# certificate, the signature verifies against it with a SHA-256 digest, and
# removing it gives back the build's installer.exe; the zip holds the signed
# installer beside the build's other files; SHA256SUMS matches both files;
# the signed installer still passes the executable checks. Then as a
# distributor with a certificate chain and a password-protected key: the
# signature verifies against the root, and two releases are byte for byte
# the same, signature included. A release of placeholders (the tests') is
# refused unless allowed, and every release lists the sites and payloads.
# The throwaway release's zip is left unpacked
# in <work folder>/throwaway/unpacked.
#
#   check_release.sh <source folder> <build folder> <work folder>
set -eu
source=$1
build=$2
work=$3
rm -rf "$work"
mkdir -p "$work"

fail() {
    echo "FAIL: $*"
    exit 1
}

BUILD=$build OUT=$work/refused "$source/scripts/release.sh" >"$work/refused.log" 2>&1 &&
    fail "a release of placeholders was made without ALLOW_PLACEHOLDERS=1"
grep -q "placeholders above" "$work/refused.log" || fail "the refusal does not say why: $(cat "$work/refused.log")"
[ ! -e "$work/refused/installer.exe" ] || fail "the refused release left an installer"
ALLOW_PLACEHOLDERS=1 BUILD=$build OUT=$work/throwaway "$source/scripts/release.sh" >"$work/shipped.log"
grep -q "^  https://card-site.invalid/-   PLACEHOLDER$" "$work/shipped.log" || fail "the site is not listed"
listed=$(grep -c "^  [0-9a-f]\{64\}  [0-9]*  " "$work/shipped.log")
[ "$listed" -eq "$(wc -l <"$build/package/payload_manifest.txt")" ] || fail "not every payload is listed"
cd "$work/throwaway"
osslsigncode verify -CAfile throwaway-certificate.pem -in installer.exe >verify.log 2>&1 ||
    { cat verify.log; fail "the signature does not verify against the throwaway certificate"; }
grep -q "Message digest algorithm *: SHA256" verify.log || fail "the digest is not SHA-256"
osslsigncode remove-signature -in installer.exe -out unsigned.exe >/dev/null
cmp unsigned.exe "$build/dist/installer.exe" || fail "without its signature the installer is not the build's"

python3 - "$build/smartcard-installer.zip" smartcard-installer.zip installer.exe <<'EOF' || fail "zip"
import sys, zipfile
built, released, signed = zipfile.ZipFile(sys.argv[1]), zipfile.ZipFile(sys.argv[2]), open(sys.argv[3], "rb").read()
assert built.namelist() == released.namelist(), "the released zip holds other files than the build's"
for name in built.namelist():
    expected = signed if name == "installer.exe" else built.read(name)
    assert released.read(name) == expected, "%s differs" % name
EOF
[ "$(cut -d' ' -f3 SHA256SUMS | tr '\n' ' ')" = "smartcard-installer.zip installer.exe " ] ||
    fail "SHA256SUMS does not list the zip and the executable"
sha256sum --quiet -c SHA256SUMS || fail "SHA256SUMS does not match"
python3 "$source/tests/binary/check_executable.py" installer.exe "$source/tests/binary/windows2000-imports.txt"
# Unpacked for the end-to-end test of the signed installer.
mkdir unpacked
(cd unpacked && cmake -E tar xf ../smartcard-installer.zip)

# A distributor's certificate from a test root through an intermediate, with
# the intermediate after it in SIGN_CERT, and its key encrypted.
cd "$work"
for ca in root intermediate; do openssl genpkey -quiet -algorithm RSA -out "$ca.key"; done
openssl req -x509 -key root.key -subj "/CN=Test root" -days 30 -out root.pem
openssl req -x509 -key intermediate.key -subj "/CN=Test intermediate" -days 30 -CA root.pem -CAkey root.key \
    -addext "basicConstraints=critical,CA:TRUE" -out intermediate.pem
openssl genpkey -quiet -algorithm RSA -aes-256-cbc -pass pass:sekret -out key.pem
openssl req -x509 -key key.pem -passin pass:sekret -subj "/CN=Test distributor" -days 30 -CA intermediate.pem \
    -CAkey intermediate.key -addext "basicConstraints=critical,CA:FALSE" -addext "extendedKeyUsage=codeSigning" \
    -out distributor.pem
cat distributor.pem intermediate.pem >cert.pem
for release in first second; do
    [ "$release" = first ] || sleep 1 # a signing time taken from the clock would differ
    ALLOW_PLACEHOLDERS=1 SIGN_CERT=cert.pem SIGN_KEY=key.pem SIGN_KEY_PASSWORD=sekret SIGN_CA=root.pem BUILD=$build OUT=$release \
        "$source/scripts/release.sh" >/dev/null
done
[ ! -e first/throwaway-certificate.pem ] || fail "a throwaway certificate was made although one was given"
for file in installer.exe smartcard-installer.zip SHA256SUMS; do
    cmp "first/$file" "second/$file" || fail "two releases with one key differ in $file"
done
echo "release signed, verified, checksummed; the same from one key"
