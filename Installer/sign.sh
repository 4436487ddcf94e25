#!/usr/bin/env bash
# sign.sh IN OUT TEST_CERT_DIR: Authenticode-signs IN (a PE module or an MSI package) into OUT with
# SHA-256 (osslsigncode). The certificate is the one the environment names:
#   VELD_SIGN_PFX=file.pfx [VELD_SIGN_PFX_PASSWORD=...]    a PKCS#12 file and its password, or
#   VELD_SIGN_CERT=cert.pem VELD_SIGN_KEY=key.pem          a certificate (chain) and its private key;
# else a self-signed test certificate, made once in TEST_CERT_DIR (test-signing.crt and .key), that
# nothing outside this build trusts. No time stamp: no time-stamp server is reachable from the build.
set -euo pipefail
in="$1" out="$2" test_cert_dir="$3"
name="VELD Engineer Connection"
url="https://veld.example/engineer-connection"

if [ -n "${VELD_SIGN_PFX:-}" ]; then
    credentials=(-pkcs12 "$VELD_SIGN_PFX" -pass "${VELD_SIGN_PFX_PASSWORD:-}")
elif [ -n "${VELD_SIGN_CERT:-}" ] || [ -n "${VELD_SIGN_KEY:-}" ]; then
    if [ -z "${VELD_SIGN_CERT:-}" ] || [ -z "${VELD_SIGN_KEY:-}" ]; then
        echo "sign.sh: VELD_SIGN_CERT and VELD_SIGN_KEY go together" >&2
        exit 2
    fi
    credentials=(-certs "$VELD_SIGN_CERT" -key "$VELD_SIGN_KEY")
else
    cert="$test_cert_dir/test-signing.crt" key="$test_cert_dir/test-signing.key"
    if [ ! -f "$cert" ] || [ ! -f "$key" ]; then
        mkdir -p "$test_cert_dir"
        openssl req -x509 -newkey rsa:3072 -nodes -sha256 -days 3650 -keyout "$key" -out "$cert" \
            -subj "/CN=VELD test signing (not trusted)/O=VELD" \
            -addext "extendedKeyUsage=codeSigning" -addext "keyUsage=digitalSignature" 2>/dev/null
    fi
    credentials=(-certs "$cert" -key "$key")
fi
# A release signs at the commit's time (SOURCE_DATE_EPOCH): the signature of one module with one key is
# then the same bytes in every build.
signing_time=()
if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
    signing_time=(-time "$SOURCE_DATE_EPOCH")
fi
rm -f "$out"
osslsigncode sign "${credentials[@]}" "${signing_time[@]}" -h sha256 -n "$name" -i "$url" -in "$in" -out "$out" >/dev/null
