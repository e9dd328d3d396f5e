#!/usr/bin/env bash
# Signs Windows programs and DLLs with Authenticode, in place, through
# osslsigncode, and verifies every signature it made. With no certificate
# given it says the files stay unsigned and succeeds, so that a developer's
# kit needs none.
#
# Usage: sign.sh FILE...
#        sign.sh --verify FILE...   checks signed files as signing them did, or,
#                                   with no certificate given, that they carry
#                                   no signature
#
# The signer comes from the environment (make dist passes its make
# variables of the same names):
#   IWV_SIGN_CERT       the code-signing certificate, PEM, followed by the
#                       certificates of its chain
#   IWV_SIGN_KEY        its private key, PEM or DER
#   IWV_SIGN_PASS_FILE  a file whose first line is the key's password, when
#                       it has one
#   IWV_TIMESTAMP_URL   an RFC 3161 time-stamping service; every signature
#                       then carries its time stamp, and stays valid after the
#                       certificate expires. Without it, none does.
#   IWV_SIGN_CA         the roots a signature is verified against (default:
#                       the system's CA bundle and IWV_SIGN_CERT itself)
#   IWV_TIMESTAMP_CA    the roots a time stamp is verified against (default:
#                       the system's CA bundle)
set -euo pipefail

fail() {
  echo "sign: $*" >&2
  exit 1
}

verify_only=
if [ "${1:-}" = --verify ]; then
  verify_only=1
  shift
fi
[ $# -gt 0 ] || fail "usage: sign.sh [--verify] FILE..."
command -v osslsigncode >/dev/null || fail "osslsigncode is needed and not installed"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cert=${IWV_SIGN_CERT:-}
key=${IWV_SIGN_KEY:-}
if [ -z "$cert" ] && [ -z "$key" ]; then
  if [ -n "$verify_only" ]; then
    for file in "$@"; do
      ! osslsigncode extract-signature -in "$file" -out "$scratch/signature" >/dev/null 2>&1 ||
        fail "$file is signed, though no certificate was given"
      rm -f "$scratch/signature"
    done
    exit 0
  fi
  echo "sign: unsigned: IWV_SIGN_CERT and IWV_SIGN_KEY are not set, so $# file(s) stay unsigned"
  exit 0
fi
[ -n "$cert" ] && [ -n "$key" ] || fail "IWV_SIGN_CERT and IWV_SIGN_KEY go together; only one is set"
[ -f "$cert" ] || fail "IWV_SIGN_CERT: no file $cert"
[ -f "$key" ] || fail "IWV_SIGN_KEY: no file $key"

system_roots=/etc/ssl/certs/ca-certificates.crt
roots=${IWV_SIGN_CA:-}
if [ -z "$roots" ]; then
  roots=$scratch/roots.pem
  { [ -f "$system_roots" ] && cat "$system_roots"; cat "$cert"; } >"$roots"
fi
timestamp_roots=${IWV_TIMESTAMP_CA:-$system_roots}

sign_options=(-certs "$cert" -key "$key" -h sha256 -n IWVestra)
[ -z "${IWV_SIGN_PASS_FILE:-}" ] || sign_options+=(-readpass "$IWV_SIGN_PASS_FILE")
verify_options=(-CAfile "$roots")
if [ -n "${IWV_TIMESTAMP_URL:-}" ]; then
  sign_options+=(-ts "$IWV_TIMESTAMP_URL")
  verify_options+=(-TSA-CAfile "$timestamp_roots")
fi

# A signature verifies against the roots, with its time stamp when one was
# asked for.
verify() {
  osslsigncode verify "${verify_options[@]}" -in "$1" >"$scratch/verify.log" 2>&1 ||
    { cat "$scratch/verify.log" >&2; fail "the signature on $2 does not verify"; }
  if [ -n "${IWV_TIMESTAMP_URL:-}" ] && ! grep -q '^Timestamp Server Signature verification: ok' "$scratch/verify.log"; then
    cat "$scratch/verify.log" >&2
    fail "the signature on $2 carries no verified time stamp"
  fi
}

if [ -n "$verify_only" ]; then
  for file in "$@"; do verify "$file" "$file"; done
  exit 0
fi
for file in "$@"; do
  name=$(basename "$file")
  osslsigncode sign "${sign_options[@]}" -in "$file" -out "$scratch/$name" >"$scratch/sign.log" 2>&1 ||
    { cat "$scratch/sign.log" >&2; fail "signing $file failed"; }
  verify "$scratch/$name" "$file"
  # The signed file replaces the unsigned one only once it verifies.
  cat "$scratch/$name" >"$file"
done
stamped=${IWV_TIMESTAMP_URL:+, time-stamped by $IWV_TIMESTAMP_URL}
echo "sign: signed and verified $# file(s) as $(openssl x509 -in "$cert" -noout -subject 2>/dev/null | sed 's/^subject= *//')${stamped:-, without a time stamp}"
