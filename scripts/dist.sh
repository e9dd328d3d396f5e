#!/usr/bin/env bash
# Makes the kits that host vendors and shop integrators receive, one per host
# architecture: build/dist/IWVestra-<version>-win32.zip for 32-bit hosts and
# IWVestra-<version>-win64.zip for 64-bit ones, each unpacking into one folder
# of its own name. It refuses to leave them unless each passes its checks:
#   - it holds exactly the kit's files in that one folder, and SHA256SUMS
#     verifies every other one;
#   - its DLL passes the binary checks of its architecture, and the DLL and
#     every program carry the version resource of the kit's version;
#   - the version is the build's (cmake/BuildVersion.cmake), and a release
#     version has a dated CHANGELOG.md section;
#   - the README, INSTALACJA.txt, the licence and the changelog are CR LF,
#     INSTALACJA.txt has no line over 100 characters, and the README says
#     what the kit does (scripts/check-kit-readme.py);
#   - the samples are what the conversions make, IWVestra.h compiles as C89
#     and C++11 with a pointer type for every entry point, and a host written
#     from the README links with both import libraries and runs an export
#     and an import through the kit's simulated terminal under Wine, always
#     for win64 and for win32 where 32-bit programs run natively
#     (tests/kit/kit_host.c);
#   - with a certificate, every .dll and .exe is signed and verified
#     (scripts/sign.sh); without one, the kit says it is unsigned;
#   - no folder of this machine is named inside the programs;
#   - the same sources built once more in a temporary folder, with the same
#     toolchain, give the same bytes, signatures aside.
#
# Usage: dist.sh            both kits, into build/dist (make dist)
#        dist.sh --quick    the win64 kit alone, from build/windows64 as it is
#                           built, with every check but the second build, into
#                           build/kit-test (make test)
#        dist.sh --version  prints the build's version after checking it
#                           against CHANGELOG.md
#
# JOBS sets the build's parallelism; SOURCE_DATE_EPOCH, when set, replaces the
# last commit's time as the date of the zip's entries. The signing
# variables are those of scripts/sign.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

root=$PWD
jobs=${JOBS:-2}
mode=full
case ${1:-} in
  "") ;;
  --quick) mode=quick ;;
  --version) mode=version ;;
  *)
    sed -n '/^# Usage:/,/^#$/p' "$0" >&2
    exit 2
    ;;
esac

simulator=simulator-never-beside-real-drivers
targets=(iwvestra_dll iwvestra iwvestra-host simulator_dlookup simulator_232_read simulator_scan iwvestra_exports)
# Every .dll and .exe of the kit, where the build leaves it.
programs=(IWVestra.dll iwvestra-host.exe iwvestra.exe "$simulator/dlookup.exe" "$simulator/232_read.exe"
  "$simulator/scan.exe")
built=(dist/IWVestra.dll dist/iwvestra-host.exe dist/iwvestra.exe simulator/dlookup.exe simulator/232_read.exe
  simulator/scan.exe)
documents=(README.txt LICENSE.txt CHANGELOG.txt INSTALACJA.txt "$simulator/README.txt")
kit=("${programs[@]}" "${documents[@]}" include/IWVestra.h lib/IWVestra.lib lib/libIWVestra.dll.a lib/IWVestra.def
  samples/goods.txt samples/inwout.txt samples/inwin.txt samples/count.txt SHA256SUMS)

fail() {
  echo "dist: $*" >&2
  exit 1
}
step() { printf 'dist: %s\n' "$*"; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

base_version=$(sed -nE 's/^project\(IWVestra VERSION ([0-9]+\.[0-9]+\.[0-9]+)[ )].*/\1/p' CMakeLists.txt)
[ -n "$base_version" ] || fail "no version in CMakeLists.txt's project()"

# The build's version and file version, as every build works them out;
# IWV_BUILD_VERSION from outside would let a kit claim a version that its
# sources are not.
build_version() {
  env -u IWV_BUILD_VERSION cmake -DSOURCE_DIR="$root" -DBASE_VERSION="$base_version" -P cmake/BuildVersion.cmake
}

# A release is the tag and a dated CHANGELOG.md section, "## X.Y.Z - YYYY-MM-DD";
# any other build needs at least a section for its X.Y.Z.
check_changelog() {
  local heading="^## \\[?${base_version//./\\.}\\]?"
  if [ "$version" = "$base_version" ]; then
    grep -Eq "$heading - [0-9]{4}-[0-9]{2}-[0-9]{2}[[:space:]]*$" CHANGELOG.md ||
      fail "$version is a release, and CHANGELOG.md's section for it is not dated: a release needs \"## $version - YYYY-MM-DD\""
  else
    grep -Eq "$heading([[:space:]]|$)" CHANGELOG.md || fail "CHANGELOG.md has no section \"## $base_version\""
  fi
}

read -r version file_version < <(build_version) && [ -n "$file_version" ] ||
  fail "the build's version could not be worked out"
check_changelog
if [ "$mode" = version ]; then
  echo "$version"
  exit 0
fi
# What every build in this run carries, the second one from copied sources
# without .git included.
export IWV_BUILD_VERSION=$version

if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
  epoch=$SOURCE_DATE_EPOCH
elif epoch=$(git log -1 --format=%ct 2>/dev/null) && [ -n "$epoch" ]; then
  :
else
  fail "not a git checkout: set SOURCE_DATE_EPOCH to the release's time"
fi
if [[ "$version" == *.dirty ]]; then
  step "note: the working tree has uncommitted changes; the kit is built from them as they are, as $version"
fi

# Builds the shipped programs in a configured tree.
build_programs() {
  cmake --build "$1" -j "$jobs" --target "${targets[@]}" >"$work/build.log" 2>&1 ||
    { tail -40 "$work/build.log" >&2; fail "the build in $1 failed"; }
}

# Text for Notepad: CR LF line ends.
crlf() { sed 's/$/\r/' "$@"; }

# The Polish install guide as Notepad wants it: Windows-1250, CR LF. iconv
# fails on any character that Windows-1250 lacks.
guide() {
  sed "s/@VERSION@/$version/g" docs/INSTALACJA.txt | iconv -f UTF-8 -t WINDOWS-1250 | crlf
}

readme() {
  local other_arch=win32 bits=64
  [ "$arch" = win64 ] || other_arch=win64 bits=32
  sed -e "s/@VERSION@/$version/g" -e "s/@ARCH@/$arch/g" -e "s/@OTHER_ARCH@/$other_arch/g" -e "s/@BITS@/$bits/g" \
    kit/README.txt | crlf
}

# The import libraries' exports: the linker's module definition without its
# internal names. For 32-bit it keeps each name's stdcall decoration, which
# dlltool -k maps to the plain name the DLL exports.
import_definition() {
  sed -E 's/^  ([A-Za-z]+) = \1(@[0-9]+) (@[0-9]+)$/  \1\2 \3/' "$1/src/plugin/IWVestra.def"
}

import_libraries() {
  local folder=$1 kill_at=() machine=i386:x86-64
  [ "$arch" = win64 ] || kill_at=(-k) machine=i386
  (cd "$folder" &&
    "$prefix-dlltool" "${kill_at[@]}" -d IWVestra.def -D IWVestra.dll -l libIWVestra.dll.a -t IWVestra &&
    llvm-dlltool -m "$machine" "${kill_at[@]}" -d IWVestra.def -D IWVestra.dll -l IWVestra.lib) ||
    fail "making the $arch import libraries failed"
}

# The samples a vendor starts from: the sources' goods file and terminal data
# file, and what the conversions make of them with the default parameters.
samples() {
  local folder=$1
  cp samples/goods.txt samples/inwin.txt "$folder/"
  "$tool" lookup "$folder/goods.txt" "$folder/inwout.txt" >"$work/samples.log" 2>&1 &&
    "$tool" count "$folder/inwin.txt" "$folder/count.txt" >>"$work/samples.log" 2>&1 ||
    { cat "$work/samples.log" >&2; fail "converting the samples failed"; }
}

# Lays out the kit from a build tree in a folder, unsigned and without
# SHA256SUMS. The executables lose their debug information, which only a
# developer with the sources could use. Stripping would stamp the current
# time into the PE header; SOURCE_DATE_EPOCH=0 keeps it empty, as the linker
# leaves it.
stage() {
  local tree=$1 folder=$2 i
  mkdir -p "$folder/include" "$folder/lib" "$folder/samples" "$folder/$simulator"
  cp "$tree/dist/IWVestra.dll" "$folder/"
  for i in "${!programs[@]}"; do
    [ "${programs[$i]}" = IWVestra.dll ] ||
      SOURCE_DATE_EPOCH=0 "$prefix-strip" --strip-all -o "$folder/${programs[$i]}" "$tree/${built[$i]}"
  done
  cp include/IWVestra.h "$folder/include/"
  import_definition "$tree" >"$folder/lib/IWVestra.def"
  import_libraries "$folder/lib"
  samples "$folder/samples"
  readme >"$folder/README.txt"
  crlf kit/LICENSE.txt >"$folder/LICENSE.txt"
  crlf CHANGELOG.md >"$folder/CHANGELOG.txt"
  guide >"$folder/INSTALACJA.txt"
  crlf kit/simulator/README.txt >"$folder/$simulator/README.txt"
  chmod -R u=rwX,go=rX "$folder"
}

in_folder() {
  local program
  for program in "${programs[@]}"; do echo "$1/$program"; done
}

sign_and_sum() {
  local folder=$1
  mapfile -t files < <(in_folder "$folder")
  scripts/sign.sh "${files[@]}" | sed 's/^/dist: /'
  [ "${PIPESTATUS[0]}" -eq 0 ] || fail "signing the $arch kit failed"
  (cd "$folder" && sha256sum "${kit[@]:0:${#kit[@]}-1}" >SHA256SUMS)
}

zip_kit() {
  local folder=$1 zip=$2 parent name
  parent=$(dirname "$folder") name=$(basename "$folder")
  (cd "$parent" && TZ=UTC cmake -E tar cf "$zip" --format=zip "--mtime=$mtime UTC" \
    $(printf "$name/%s\n" "${kit[@]}" | LC_ALL=C sort))
}

check_sources() {
  local tool
  for tool in python3 iconv sha256sum openssl osslsigncode llvm-dlltool i686-w64-mingw32-dlltool \
    x86_64-w64-mingw32-dlltool i686-w64-mingw32-strip x86_64-w64-mingw32-strip i686-w64-mingw32-gcc \
    x86_64-w64-mingw32-gcc; do
    command -v "$tool" >/dev/null || fail "$tool is needed and not installed"
  done
  [ -f docs/INSTALACJA.txt ] || fail "docs/INSTALACJA.txt is missing"
  local text
  for text in docs/INSTALACJA.txt kit/README.txt kit/LICENSE.txt kit/simulator/README.txt CHANGELOG.md; do
    [ "$(tail -c1 "$text" | od -An -c | tr -d ' ')" = '\n' ] || fail "$text must end with a line end"
    ! grep -q $'\r' "$text" || fail "$text must have LF line ends; the kit gets CR LF"
  done
  # Notepad shows the guide as it is, unwrapped: no line of it is longer than
  # 100 characters, counted in Windows-1250, one byte each.
  local guide_cp1250 long_line
  guide_cp1250=$(iconv -f UTF-8 -t WINDOWS-1250 docs/INSTALACJA.txt) ||
    fail "docs/INSTALACJA.txt has characters that Windows-1250 lacks"
  long_line=$(LC_ALL=C awk 'length > 100 { print NR; exit }' <<<"$guide_cp1250")
  [ -z "$long_line" ] || fail "docs/INSTALACJA.txt line $long_line is longer than 100 characters"
}

# Every line of a text file ends with CR LF.
check_crlf() {
  local file=$1 lines
  lines=$(tr -cd '\n' <"$file" | wc -c)
  [ "$lines" -gt 0 ] && [ "$(grep -c $'\r$' "$file" || true)" -eq "$lines" ] &&
    [ "$(tr -cd '\r' <"$file" | wc -c)" -eq "$lines" ] || fail "${file#"$check/"} does not end every line with CR LF"
}

check_documents() {
  local document
  for document in "${documents[@]}"; do check_crlf "$check/$document"; done
  iconv -f WINDOWS-1250 -t UTF-8 "$check/INSTALACJA.txt" | tr -d '\r' |
    cmp -s - <(sed "s/@VERSION@/$version/g" docs/INSTALACJA.txt) ||
    fail "INSTALACJA.txt does not read back as docs/INSTALACJA.txt in Windows-1250"
  tr -d '\r' <"$check/CHANGELOG.txt" | cmp -s - CHANGELOG.md || fail "CHANGELOG.txt is not CHANGELOG.md"
  local copyright
  copyright=$(sed -n 's/^LegalCopyright=//p' <<<"$(scripts/pe-version.py "$check/IWVestra.dll")")
  grep -qxF "$copyright"$'\r' "$check/LICENSE.txt" ||
    fail "LICENSE.txt does not carry the programs' copyright line \"$copyright\""
  head -1 "$check/$simulator/README.txt" | grep -q 'NEVER PUT THESE PROGRAMS BESIDE THE REAL DRIVERS' ||
    fail "the simulated terminal's README.txt must begin by saying it never stands beside real drivers"
}

# The DLL and every program carry the kit's version, and the same resource
# apart from their own names and descriptions.
check_version_resources() {
  local program facts key reference=
  for program in "${programs[@]}"; do
    facts=$(scripts/pe-version.py "$check/$program") || fail "$program has no readable version resource"
    for key in FixedFileVersion FixedProductVersion FileVersion; do
      grep -qx "$key=$file_version" <<<"$facts" ||
        fail "$program's $key is \"$(sed -n "s/^$key=//p" <<<"$facts")\", not $file_version"
    done
    grep -qxF "ProductVersion=$version" <<<"$facts" ||
      fail "$program's ProductVersion is \"$(sed -n 's/^ProductVersion=//p' <<<"$facts")\", the kit's name says $version"
    grep -qxF "OriginalFilename=$(basename "$program")" <<<"$facts" || fail "$program's resource names another file"
    facts=$(grep -Ev '^(FileDescription|InternalName|OriginalFilename)=' <<<"$facts")
    [ -n "$reference" ] || reference=$facts
    [ "$facts" = "$reference" ] || fail "$program's version resource differs from IWVestra.dll's: $facts"
  done
}

# IWVestra.h as a host compiles it, and a pointer type that matches each
# entry point exactly: a mismatch in a type or in the calling convention is
# an error.
check_header() {
  local c=$work/header.c name
  {
    echo '#include "IWVestra.h"'
    while read -r _ name; do echo "IWV_PFN_$name pointer_to_$name = $name;"; done <"$windows/src/plugin/exports.txt"
  } >"$c"
  cp "$c" "$work/header.cpp"
  "$prefix-gcc" -std=c89 -pedantic -Wall -Wextra -Werror -I"$check/include" -c "$c" -o "$work/header.o" &&
    "$prefix-g++" -std=c++11 -pedantic -Wall -Wextra -Werror -I"$check/include" -c "$work/header.cpp" \
      -o "$work/header.o" || fail "include/IWVestra.h does not compile cleanly as C89 and C++11 for $arch"
}

# The README's host and the kit test host, built from the README's code with
# each import library: both link, and import entry points only, by their
# plain names, from IWVestra.dll.
check_linking() {
  local code=$work/code lib program source imports
  mkdir -p "$code"
  scripts/check-kit-readme.py --extract-only "$code" "$check" || fail "the README's code could not be taken out"
  for lib in IWVestra.lib libIWVestra.dll.a; do
    for program in host kit_host; do
      source=$code/host.c
      [ "$program" = host ] || source=$root/tests/kit/kit_host.c
      "$prefix-gcc" -std=c99 -Wall -Wextra -Werror -O2 -I"$check/include" "$source" "$code/iwv_catch.c" \
        "$check/lib/$lib" -o "$work/$program-$lib.exe" >"$work/link.log" 2>&1 ||
        { cat "$work/link.log" >&2; fail "$program.c does not build against the $arch kit's lib/$lib"; }
      imports=$("$prefix-objdump" -p "$work/$program-$lib.exe" |
        awk '/DLL Name:/ { dll = $3; next } dll == "IWVestra.dll" && NF == 3 && $2 ~ /^[0-9]+$/ { print $3 }' | sort)
      [ -n "$imports" ] && ! grep -qv '^HSTDLL[A-Za-z]*$' <<<"$imports" ||
        fail "$program.c built with lib/$lib imports \"$imports\" from IWVestra.dll"
    done
  done
  cp "$work/kit_host-libIWVestra.dll.a.exe" "$work/kit_host.exe"
}

check_readme() {
  scripts/check-kit-readme.py "$check" "$windows/src/plugin/exports.txt" "$tool" ${described:+"$described"} ||
    fail "the $arch kit's README.txt does not say what the kit does"
}

# Checks the zip as a recipient gets it, from a fresh extraction.
check_zip() {
  local zip=$1 folder
  folder=$(basename "$zip" .zip)
  check=$work/check/$folder
  mkdir -p "$work/check"
  diff <(printf "$folder/%s\n" "${kit[@]}" | sort) <(cmake -E tar tf "$zip" | sort) >"$work/listing.diff" ||
    { cat "$work/listing.diff" >&2; fail "the zip does not hold exactly the kit's files, in $folder/ (< missing, > extra)"; }
  (cd "$work/check" && cmake -E tar xf "$zip")

  (cd "$check" && sha256sum --check --strict --quiet SHA256SUMS) || fail "SHA256SUMS does not verify"
  diff <(printf '%s\n' "${kit[@]}" | grep -vx SHA256SUMS | sort) <(sed -E 's/^[0-9a-f]{64}  //' "$check/SHA256SUMS" | sort) \
    >"$work/sums.diff" || { cat "$work/sums.diff" >&2; fail "SHA256SUMS does not cover exactly the other files"; }

  OBJDUMP=$prefix-objdump STRINGS=$prefix-strings ARCH=$arch MACHINE_PATH=$root \
    bash scripts/check-dll.sh "$check/IWVestra.dll" IWVestra "$windows/src/plugin/exports.txt" >"$work/check-dll.log" ||
    { cat "$work/check-dll.log" >&2; fail "the $arch kit's IWVestra.dll fails its binary checks"; }
  check_version_resources
  check_signatures
  check_documents
  local program
  for program in "${programs[@]}"; do
    if grep -qaF -e "$root" -e "$work" "$check/$program"; then
      fail "$program names a folder of this machine ($root or $work)"
    fi
  done
  check_header
  check_linking
  # wine64 runs the 64-bit kit's programs wherever the kernel runs 64-bit
  # programs; the 32-bit kit's run where the kernel runs 32-bit programs, or,
  # slowly, where qemu-i386 runs them for it. The kit host's stocktake and the
  # DLL's answers for the README wait for a quick way; where there is none,
  # the 32-bit DLL gives the same answers as the 64-bit one, which its own
  # suites check.
  local way=wine64
  if [ "$arch" = win32 ] && ! way=$(scripts/wine-runs.sh 2>"$work/wine-runs.log"); then
    way=
  fi
  described=
  case $way in
    wine64 | native)
      describe
      check_readme
      run_kit_host "$way"
      check_versions_shown "$way"
      ;;
    emulated)
      check_readme
      step "NOT CHECKED: 32-bit Windows programs run only emulated here, too slowly for the $arch kit host's stocktake"
      check_versions_shown "$way"
      ;;
    *)
      check_readme
      step "NOT CHECKED: no 32-bit Windows program starts here ($(tail -1 "$work/wine-runs.log")), so the $arch kit host's stocktake did not run and the versions its tools print were not read"
      ;;
  esac
}

# The zip's programs are signed and verify as they were signed, or, without
# a certificate, carry no signature at all.
check_signatures() {
  mapfile -t files < <(in_folder "$check")
  scripts/sign.sh --verify "${files[@]}" >"$work/verify.log" 2>&1 ||
    { cat "$work/verify.log" >&2; fail "the signatures of the zip's programs are not as they were made"; }
}

# Windows programs of the kit under Wine, in a folder of their own with the
# DLL beside them, as a vendor's host would be.
wine_run() { "$windows/wine-run.sh" "$@"; }
winpath() { local p="Z:$1"; echo "${p//\//\\}"; }

describe() {
  local run=$work/run
  mkdir -p "$run"
  cp "$check/IWVestra.dll" "$work/kit_host.exe" "$run/"
  described=$work/described.txt
  (cd "$run" && wine_run kit_host.exe describe described.txt >"$work/describe.log" 2>&1) ||
    { cat "$work/describe.log" >&2; fail "kit_host.exe describe failed under Wine"; }
  mv "$run/described.txt" "$described"
}

# The proof that a host needs only the kit: the README's host code, linked
# with the kit's import library, exports the samples' goods through the kit's
# own simulated terminal and imports its count, and finds every file as the
# README says.
run_kit_host() {
  local run=$work/run
  (cd "$run" && WINEPATH="$(winpath "$check/$simulator")" wine_run kit_host.exe stocktake \
    "$(winpath "$work/Shop")" "$(winpath "$check/samples")" "$(winpath "$check/$simulator/terminal")" \
    >"$work/stocktake.log" 2>&1) || { cat "$work/stocktake.log" >&2; fail "the kit host's stocktake failed under Wine"; }
  step "$(tr -d '\r' <"$work/stocktake.log" | tail -1), through the $arch kit's DLL and simulated terminal under Wine ($1)"
}

# The tools print the version under Wine (WAY: wine64, native or emulated).
check_versions_shown() {
  local shown way=$1
  shown=$(wine_run "$check/iwvestra.exe" --version 2>"$work/wine.log") ||
    fail "iwvestra.exe --version failed: $shown $(cat "$work/wine.log")"
  [ "$(tr -d '\r' <<<"$shown")" = "iwvestra $version" ] ||
    fail "iwvestra.exe --version printed \"$shown\", not \"iwvestra $version\""
  shown=$(wine_run "$check/iwvestra-host.exe" info 2>"$work/wine.log") ||
    fail "iwvestra-host.exe info failed: $shown $(cat "$work/wine.log")"
  tr -d '\r' <<<"$shown" | grep -qx "library version: $file_version" &&
    tr -d '\r' <<<"$shown" | grep -qxF "library product version: $version" ||
    fail "iwvestra-host.exe info does not show \"library version: $file_version\" and \"library product version: $version\": $shown"
  step "iwvestra.exe and iwvestra-host.exe show version $version under Wine ($way)"
}

# Copies the sources as they stand (committed or not, ignored files left out)
# into a folder of their own.
copy_sources() {
  local to=$1
  mkdir -p "$to"
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z --cached --others --exclude-standard |
      tar --null --files-from=- --ignore-failed-read -cf - 2>/dev/null | tar -xf - -C "$to"
  else
    tar --exclude=./build -cf - . | tar -xf - -C "$to"
  fi
}

# Builds the programs once more from a copy of the sources in a temporary
# folder, without .git, lays the kit out again, and compares every byte of
# the programs as built and of the unsigned kit.
check_reproducible() {
  local build_type
  build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$windows/CMakeCache.txt")
  copy_sources "$work/src"
  cmake -S "$work/src" -B "$work/build" -DCMAKE_BUILD_TYPE="$build_type" \
    -DCMAKE_TOOLCHAIN_FILE="$work/src/$toolchain" -DIWV_TESTS=OFF >"$work/configure.log" 2>&1 ||
    { cat "$work/configure.log" >&2; fail "configuring the second build failed"; }
  build_programs "$work/build"
  (cd "$work/src" && stage "$work/build" "$work/kit-again")
  local i differ=0
  for i in "${!programs[@]}"; do
    if ! cmp -s "$windows/${built[$i]}" "$work/build/${built[$i]}"; then
      step "${built[$i]} differs between $windows and $work/build: $(cmp -l "$windows/${built[$i]}" "$work/build/${built[$i]}" 2>&1 | wc -l) byte(s)"
      differ=1
    fi
  done
  if ! diff -r "$work/kit" "$work/kit-again" >"$work/kit.diff"; then
    cat "$work/kit.diff"
    step "the unsigned kit differs between the two builds"
    differ=1
  fi
  [ $differ -eq 0 ] || fail "the build is not reproducible"
}

# make_kit ARCH: builds, lays out, signs, zips and checks one architecture's
# kit, and in full mode proves it reproducible. The functions above read its
# local variables.
make_kit() {
  local arch=$1 windows toolchain prefix
  case $arch in
    win32) windows=$root/build/windows toolchain=cmake/toolchain-mingw-i686.cmake prefix=i686-w64-mingw32 ;;
    win64) windows=$root/build/windows64 toolchain=cmake/toolchain-mingw-x86_64.cmake prefix=x86_64-w64-mingw32 ;;
  esac
  local name=IWVestra-$version-$arch work=$scratch/$arch check described
  local zip=$work/$name.zip
  mkdir -p "$work"
  [ -f "$windows/CMakeCache.txt" ] || fail "$windows is not configured (make dist does that)"
  step "building $name.zip"
  build_programs "$windows"
  stage "$windows" "$work/kit"
  if [ "$mode" = full ]; then
    step "building the $arch programs again in $work to compare"
    check_reproducible
    step "a second build in another folder gave the same bytes: ${programs[*]}, and the whole unsigned kit"
  fi
  cp -a "$work/kit" "$work/$name"
  sign_and_sum "$work/$name"
  zip_kit "$work/$name" "$zip"
  check_zip "$zip"
  step "the zip holds the kit in $name\\, its DLL passes the $arch checks, its sums verify, every program carries version $version, and its README says what it holds"
  mv "$zip" "$scratch/"
}

start=$SECONDS
check_sources
native=$root/build/native
tool=$native/iwvestra
[ -f "$native/CMakeCache.txt" ] || fail "$native is not configured (make dist does that)"
cmake --build "$native" -j "$jobs" --target iwvestra >"$scratch/native.log" 2>&1 ||
  { tail -40 "$scratch/native.log" >&2; fail "building the native iwvestra tool failed"; }
# libarchive writes DOS times in local time; UTC makes them the same everywhere.
mtime=$(date -u -d "@$epoch" '+%Y-%m-%d %H:%M:%S')

if [ "$mode" = quick ]; then
  out=$root/build/kit-test
  arches=(win64)
else
  out=$root/build/dist
  arches=(win32 win64)
fi
# A failed run leaves no kit behind, not even an earlier one.
rm -rf "$out"
zips=()
for arch in "${arches[@]}"; do
  make_kit "$arch"
  zips+=("IWVestra-$version-$arch.zip")
done

mkdir -p "$out"
for zip in "${zips[@]}"; do mv "$scratch/$zip" "$out/"; done
[ "$(ls -A "$out" | sort)" = "$(printf '%s\n' "${zips[@]}" | sort)" ] || fail "$out holds more than ${zips[*]}"
for zip in "${zips[@]}"; do
  step "$out/$zip ($(($(stat -c %s "$out/$zip") / 1024)) KiB)"
done
step "${#zips[@]} kit(s) in $((SECONDS - start)) s"
