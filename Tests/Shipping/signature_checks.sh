#!/usr/bin/env bash
# signature_checks.sh CA_CERT SIGNED_FILE...: each file's Authenticode signature verifies against the
# certificate, with a SHA-256 digest, and a copy with one byte changed in its middle fails verification.
set -uo pipefail
ca="$1"
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
for file in "$@"; do
    name=$(basename "$file")
    report=$(osslsigncode verify -CAfile "$ca" -in "$file" 2>&1)
    if [ $? -eq 0 ] && grep -q "Signature verification: ok" <<<"$report" &&
        grep -qi "Message digest algorithm *: SHA256" <<<"$report"; then
        echo "ok   $name: signed with SHA-256, the signature verifies"
    else
        echo "FAIL $name: $report"
        failed=1
    fi
    changed="$work/$name"
    cp "$file" "$changed"
    size=$(stat -c %s "$changed")
    middle=$((size / 2))
    byte=$(od -An -tu1 -j "$middle" -N1 "$changed" | tr -d ' ')
    printf "$(printf '\\%03o' $(((byte + 1) % 256)))" | dd of="$changed" bs=1 seek="$middle" conv=notrunc status=none
    if osslsigncode verify -CAfile "$ca" -in "$changed" >/dev/null 2>&1; then
        echo "FAIL $name: a copy with byte $middle changed still verifies"
        failed=1
    else
        echo "ok   $name: a copy with byte $middle changed fails verification"
    fi
done
exit $failed
