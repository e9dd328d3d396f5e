#!/usr/bin/env bash
# The release kit's checks that make test runs, in seconds rather than the
# minutes of make dist:
#   - the build's version, and make dist's refusal of an undated release, in
#     throwaway git repositories;
#   - signing with a throwaway certificate and a time stamp from a throwaway
#     RFC 3161 service on this machine: signed, verified, and refused once a
#     byte changes;
#   - the win64 kit itself, signed that way, with every check of make dist but
#     the second build, the README's host running an export and an import
#     through the kit's simulated terminal under wine64 (scripts/dist.sh --quick).
# Needs build/native and build/windows64 built, as make test leaves them.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD

scratch=$(mktemp -d)
server=
cleanup() {
  [ -z "$server" ] || kill "$server" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

failures=0
passes=0
expect() {
  local what=$1
  shift
  if "$@" >>"$scratch/expect.log" 2>&1; then
    passes=$((passes + 1))
  else
    failures=$((failures + 1))
    echo "FAILED: $what"
  fi
}

# A throwaway repository holding what dist.sh --version reads, with project()
# at 1.2.3 and the CHANGELOG.md heading given.
repository() {
  local folder=$scratch/repo-$1 heading=$2
  mkdir -p "$folder/cmake" "$folder/scripts"
  cp cmake/BuildVersion.cmake "$folder/cmake/"
  cp scripts/dist.sh "$folder/scripts/"
  echo 'project(IWVestra VERSION 1.2.3 LANGUAGES C CXX)' >"$folder/CMakeLists.txt"
  printf '# Changes\n\n%s\n\n- a change\n' "$heading" >"$folder/CHANGELOG.md"
  git -C "$folder" init -q
  commit "$folder" first
  echo "$folder"
}

commit() {
  git -C "$1" add -A
  git -C "$1" -c user.name=kit -c user.email=kit@example.invalid commit -q --allow-empty -m "$2"
}

hash_of() { git -C "$1" rev-parse --short=10 HEAD; }

# The version dist.sh gives, or "refused: <its message>".
dist_version() {
  local output
  if output=$(cd "$1" && scripts/dist.sh --version 2>&1); then
    echo "$output"
  else
    echo "refused: ${output#dist: }"
  fi
}

version_cases() {
  local repo hash

  repo=$(repository release '## 1.2.3 - 2026-12-08')
  git -C "$repo" tag v1.2.3
  expect "the tagged commit with a dated section is the release 1.2.3" test "$(dist_version "$repo")" = 1.2.3
  expect "a release's file version ends in 0" \
    test "$(cmake -DSOURCE_DIR="$repo" -DBASE_VERSION=1.2.3 -P cmake/BuildVersion.cmake)" = "1.2.3 1.2.3.0"
  expect "IWV_BUILD_VERSION from outside does not make another commit a release" \
    test "$(commit "$repo" second && IWV_BUILD_VERSION=1.2.3 dist_version "$repo")" = "1.2.3-dev.1.g$(hash_of "$repo")"
  hash=$(hash_of "$repo")
  expect "a commit after the release says so, with its hash" \
    test "$(cmake -DSOURCE_DIR="$repo" -DBASE_VERSION=1.2.3 -P cmake/BuildVersion.cmake)" = "1.2.3-dev.1.g$hash 1.2.3.1"
  echo change >>"$repo/CMakeLists.txt"
  expect "uncommitted changes make a version of their own" \
    test "$(dist_version "$repo")" = "1.2.3-dev.1.g$hash.dirty"

  repo=$(repository undated '## 1.2.3')
  git -C "$repo" tag v1.2.3
  expect "make dist refuses a release whose section is not dated" \
    grep -q "^refused: 1.2.3 is a release, and CHANGELOG.md's section for it is not dated" <<<"$(dist_version "$repo")"
  echo change >>"$repo/CMakeLists.txt"
  expect "the release's commit with changes is not the release" \
    test "$(dist_version "$repo")" = "1.2.3-dev.0.g$(hash_of "$repo").dirty"
  expect "... and its file version is not the release's" \
    grep -q ' 1\.2\.3\.1$' <<<"$(cmake -DSOURCE_DIR="$repo" -DBASE_VERSION=1.2.3 -P cmake/BuildVersion.cmake)"
  commit "$repo" second
  expect "a development build needs no dated section" \
    test "$(dist_version "$repo")" = "1.2.3-dev.1.g$(hash_of "$repo")"

  repo=$(repository untagged '## Unreleased')
  expect "make dist refuses a version without its section" \
    grep -q '^refused: CHANGELOG.md has no section "## 1.2.3"' <<<"$(dist_version "$repo")"

  repo=$(repository older '## 1.2.3')
  git -C "$repo" tag v1.2.2
  commit "$repo" second
  commit "$repo" third
  expect "commits are counted from the last release tag" \
    test "$(dist_version "$repo")" = "1.2.3-dev.2.g$(hash_of "$repo")"
  git -C "$repo" tag v1.2.4
  expect "a tag of another version does not make a release" \
    test "$(dist_version "$repo")" = "1.2.3-dev.0.g$(hash_of "$repo")"
  expect "sources inside another repository do not take its commits" \
    test "$(cmake -DSOURCE_DIR="$repo/cmake" -DBASE_VERSION=1.2.3 -P cmake/BuildVersion.cmake)" = \
      "1.2.3-dev.0.unknown 1.2.3.1"

  mkdir -p "$scratch/no-git"
  expect "sources without git carry the version given to them" \
    test "$(IWV_BUILD_VERSION=1.2.3-dev.7.g0123456789 cmake -DSOURCE_DIR="$scratch/no-git" -DBASE_VERSION=1.2.3 \
      -P cmake/BuildVersion.cmake)" = "1.2.3-dev.7.g0123456789 1.2.3.7"
  expect "... and without it say they are unknown" \
    test "$(cmake -DSOURCE_DIR="$scratch/no-git" -DBASE_VERSION=1.2.3 -P cmake/BuildVersion.cmake)" = \
      "1.2.3-dev.0.unknown 1.2.3.1"
  expect "a version given for other sources is refused" \
    not env IWV_BUILD_VERSION=1.2.4 cmake -DSOURCE_DIR="$scratch/no-git" -DBASE_VERSION=1.2.3 -P cmake/BuildVersion.cmake
}

not() { ! "$@"; }

# A certificate for signing code and one for time stamps, each its own root,
# and a time-stamping service on a free local port, answered by openssl ts.
throwaway_signer() {
  local pki=$scratch/pki
  mkdir -p "$pki"
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -keyout "$pki/sign.key" -out "$pki/sign.pem" \
    -subj "/CN=IWVestra throwaway test signer" -addext "extendedKeyUsage=codeSigning" \
    -addext "keyUsage=critical,digitalSignature" 2>/dev/null
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -keyout "$pki/tsa.key" -out "$pki/tsa.pem" \
    -subj "/CN=IWVestra throwaway time stamps" -addext "extendedKeyUsage=critical,timeStamping" \
    -addext "keyUsage=critical,digitalSignature" 2>/dev/null
  python3 tests/kit/timestamp-service.py "$pki" "$pki/port" 2>"$scratch/tsa.log" &
  server=$!
  local tries=0
  until [ -s "$pki/port" ] || [ $tries -ge 50 ]; do sleep 0.1 && tries=$((tries + 1)); done
  [ -s "$pki/port" ] || { cat "$scratch/tsa.log" >&2; echo "kit-test: the time-stamping service did not start" >&2; exit 1; }
  export IWV_SIGN_CERT=$pki/sign.pem IWV_SIGN_KEY=$pki/sign.key IWV_SIGN_CA=$pki/sign.pem
  export IWV_TIMESTAMP_URL=http://127.0.0.1:$(cat "$pki/port") IWV_TIMESTAMP_CA=$pki/tsa.pem
}

signing_cases() {
  local program=$scratch/scan.exe
  cp build/windows64/simulator/scan.exe "$program"
  local unsigned
  unsigned=$(sha256sum <"$program")
  expect "without a certificate the files stay unsigned, and it says so" \
    grep -q '^sign: unsigned: ' <<<"$(env -u IWV_SIGN_CERT -u IWV_SIGN_KEY scripts/sign.sh "$program")"
  expect "... byte for byte" test "$(sha256sum <"$program")" = "$unsigned"
  expect "a certificate without its key is refused" not env -u IWV_SIGN_KEY scripts/sign.sh "$program"
  expect "a signature with a time stamp is made and verified" scripts/sign.sh "$program"
  expect "the signed file is the unsigned one and its signature" not test "$(sha256sum <"$program")" = "$unsigned"
  expect "the signature verifies again, as dist checks the zip" scripts/sign.sh --verify "$program"
  expect "a signed file is refused where no certificate was given" \
    not env -u IWV_SIGN_CERT -u IWV_SIGN_KEY scripts/sign.sh --verify "$program"
  python3 -c 'import sys; d = bytearray(open(sys.argv[1], "rb").read()); d[0x400] ^= 1; open(sys.argv[1], "wb").write(d)' \
    "$program"
  expect "a changed byte breaks the signature" not scripts/sign.sh --verify "$program"
}

version_cases
throwaway_signer
signing_cases
echo "kit-test: the version and signing cases: $passes passed, $failures failed"
[ $failures -eq 0 ] || exit 1

# The kit itself, signed with the throwaway certificate and time stamps.
JOBS=${JOBS:-2} scripts/dist.sh --quick
echo "kit-test: $passes version and signing cases passed, and the signed win64 kit passed every check in $root/build/kit-test"
