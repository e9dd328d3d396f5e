#!/usr/bin/env bash
# Makes the kits that host vendors and shop integrators receive, one per host
# architecture: build/dist/IWVestra-<version>-win32.zip for 32-bit hosts and
# IWVestra-<version>-win64.zip for 64-bit ones, with the same layout. It
# refuses to leave them unless each passes its own checks:
#   - it holds exactly the kit's files, and SHA256SUMS verifies every other one;
#   - its DLL passes the binary checks of its architecture;
#   - the version in its name is the project's version, the version resource of
#     the DLL inside, the one the tools print and one with a CHANGELOG.md entry;
#   - INSTALACJA.txt is Windows-1250 with CR LF and says what its source says;
#   - no folder of this machine is named inside the programs;
#   - the same sources built once more in a temporary folder, with the same
#     toolchain, give the same bytes: the build is reproducible.
#
# Run by `make dist`, which configures build/windows and build/windows64 first. JOBS sets the
# build's parallelism; SOURCE_DATE_EPOCH, when set, replaces the last commit's
# time as the date of the zip's entries.
set -euo pipefail
cd "$(dirname "$0")/.."

root=$PWD
out=$root/build/dist
jobs=${JOBS:-2}
targets=(iwvestra_dll iwvestra iwvestra-host)
# The kit, in the order of the zip.
programs=(IWVestra.dll iwvestra-host.exe iwvestra.exe)
kit=(IWVestra.dll IWVestra.h iwvestra-host.exe iwvestra.exe INSTALACJA.txt README.md SHA256SUMS)

fail() {
  echo "dist: $*" >&2
  exit 1
}
step() { printf 'dist: %s\n' "$*"; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

version=$(sed -nE 's/^project\(IWVestra VERSION ([0-9]+\.[0-9]+\.[0-9]+)[ )].*/\1/p' CMakeLists.txt)
[ -n "$version" ] || fail "no version in CMakeLists.txt's project()"
# Windows writes file versions with four numbers; the fourth is always 0 here.
file_version=$version.0

if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
  epoch=$SOURCE_DATE_EPOCH
elif epoch=$(git log -1 --format=%ct 2>/dev/null) && [ -n "$epoch" ]; then
  :
else
  fail "not a git checkout: set SOURCE_DATE_EPOCH to the release's time"
fi
if [ -n "$(git status --porcelain --untracked-files=no 2>/dev/null)" ]; then
  step "note: the working tree has uncommitted changes; the kit is built from them as they are"
fi

# Builds the shipped programs in a configured tree.
build_programs() {
  cmake --build "$1" -j "$jobs" --target "${targets[@]}" >"$work/build.log" 2>&1 ||
    { tail -40 "$work/build.log" >&2; fail "the build in $1 failed"; }
}

# Lays out the kit from a build tree in a folder, with SHA256SUMS last. The
# executables lose their debug information, which only a developer with the
# sources could use. Stripping would stamp the current time into the PE header;
# SOURCE_DATE_EPOCH=0 keeps it empty, as the linker leaves it.
stage() {
  local tree=$1 folder=$2
  mkdir -p "$folder"
  cp "$tree/dist/IWVestra.dll" "$folder/"
  SOURCE_DATE_EPOCH=0 "$strip" --strip-all -o "$folder/iwvestra-host.exe" "$tree/dist/iwvestra-host.exe"
  SOURCE_DATE_EPOCH=0 "$strip" --strip-all -o "$folder/iwvestra.exe" "$tree/dist/iwvestra.exe"
  cp include/IWVestra.h README.md "$folder/"
  guide >"$folder/INSTALACJA.txt"
  (cd "$folder" && sha256sum "${kit[@]:0:${#kit[@]}-1}" >SHA256SUMS)
  chmod 644 "$folder"/*
}

# The Polish install guide as Notepad wants it: Windows-1250, CR LF. iconv
# fails on any character that Windows-1250 lacks.
guide() {
  sed "s/@VERSION@/$version/g" docs/INSTALACJA.txt | iconv -f UTF-8 -t WINDOWS-1250 | sed 's/$/\r/'
}

check_sources() {
  local tool
  for tool in python3 iconv sha256sum i686-w64-mingw32-strip x86_64-w64-mingw32-strip; do
    command -v "$tool" >/dev/null || fail "$tool is needed and not installed"
  done
  [ -f include/IWVestra.h ] || fail "include/IWVestra.h is missing"
  [ -f docs/INSTALACJA.txt ] || fail "docs/INSTALACJA.txt is missing"
  [ "$(tail -c1 docs/INSTALACJA.txt | od -An -c | tr -d ' ')" = '\n' ] ||
    fail "docs/INSTALACJA.txt must end with a line end"
  ! grep -q $'\r' docs/INSTALACJA.txt || fail "docs/INSTALACJA.txt must have LF line ends; the kit gets CR LF"
  grep -Eq "^## \[?${version//./\\.}\]?([[:space:]]|$)" CHANGELOG.md ||
    fail "CHANGELOG.md has no entry \"## $version\""
}

# Checks the zip as a recipient gets it, from a fresh extraction.
check_zip() {
  local zip=$1 check=$work/check
  mkdir -p "$check"
  diff <(printf '%s\n' "${kit[@]}" | sort) <(cmake -E tar tf "$zip" | sort) >"$work/listing.diff" ||
    { cat "$work/listing.diff" >&2; fail "the zip does not hold exactly the kit's files (< missing, > extra)"; }
  (cd "$check" && cmake -E tar xf "$zip")

  (cd "$check" && sha256sum --check --strict --quiet SHA256SUMS) || fail "SHA256SUMS does not verify"
  diff <(printf '%s\n' "${kit[@]}" | grep -vx SHA256SUMS | sort) <(sed -E 's/^[0-9a-f]{64}  //' "$check/SHA256SUMS" | sort) \
    >"$work/sums.diff" || { cat "$work/sums.diff" >&2; fail "SHA256SUMS does not cover exactly the other files"; }

  OBJDUMP=$prefix-objdump STRINGS=$prefix-strings ARCH=$arch MACHINE_PATH=$root \
    bash scripts/check-dll.sh "$check/IWVestra.dll" IWVestra "$windows/src/plugin/exports.txt" >"$work/check-dll.log" ||
    { cat "$work/check-dll.log" >&2; fail "the $arch kit's IWVestra.dll fails its binary checks"; }

  local facts key
  facts=$(scripts/pe-version.py "$check/IWVestra.dll") || fail "IWVestra.dll has no readable version resource"
  for key in FixedFileVersion FixedProductVersion FileVersion ProductVersion; do
    grep -qx "$key=$file_version" <<<"$facts" ||
      fail "IWVestra.dll's $key is \"$(sed -n "s/^$key=//p" <<<"$facts")\", the zip's name says $file_version"
  done

  local lines crs
  lines=$(tr -cd '\n' <"$check/INSTALACJA.txt" | wc -c)
  crs=$(grep -c $'\r$' "$check/INSTALACJA.txt" || true)
  [ "$lines" -gt 0 ] && [ "$crs" -eq "$lines" ] && [ "$(tr -cd '\r' <"$check/INSTALACJA.txt" | wc -c)" -eq "$lines" ] ||
    fail "INSTALACJA.txt does not end every line with CR LF"
  iconv -f WINDOWS-1250 -t UTF-8 "$check/INSTALACJA.txt" | tr -d '\r' |
    cmp -s - <(sed "s/@VERSION@/$version/g" docs/INSTALACJA.txt) ||
    fail "INSTALACJA.txt does not read back as docs/INSTALACJA.txt in Windows-1250"

  local program
  for program in "${programs[@]}"; do
    if grep -qaF -e "$root" -e "$work" "$check/$program"; then
      fail "$program names a folder of this machine ($root or $work)"
    fi
  done
  check_versions_shown "$check"
}

# The tools print the version under Wine. wine64 runs the 64-bit kit's
# wherever the kernel runs 64-bit programs; the 32-bit kit's run where the
# kernel runs 32-bit programs or qemu-i386 runs them for it. Where no 32-bit
# Windows program starts, this part alone is skipped for the 32-bit kit, and
# says why.
check_versions_shown() {
  local check=$1 run=$windows/wine-run.sh shown way=wine64
  if [ "$arch" = win32 ] && ! way=$(scripts/wine-runs.sh 2>"$work/wine-runs.log"); then
    step "NOT CHECKED: no 32-bit Windows program starts here ($(tail -1 "$work/wine-runs.log")), so the versions that the $arch kit's iwvestra.exe and iwvestra-host.exe print were not read"
    return
  fi
  shown=$("$run" "$check/iwvestra.exe" --version 2>"$work/wine.log") ||
    fail "iwvestra.exe --version failed: $shown $(cat "$work/wine.log")"
  [ "$(tr -d '\r' <<<"$shown")" = "iwvestra $version" ] ||
    fail "iwvestra.exe --version printed \"$shown\", not \"iwvestra $version\""
  shown=$("$run" "$check/iwvestra-host.exe" info 2>"$work/wine.log") ||
    fail "iwvestra-host.exe info failed: $shown $(cat "$work/wine.log")"
  tr -d '\r' <<<"$shown" | grep -qx "library version: $file_version" ||
    fail "iwvestra-host.exe info does not show \"library version: $file_version\": $shown"
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
# folder and compares every byte, as built and as shipped.
check_reproducible() {
  local build_type
  build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$windows/CMakeCache.txt")
  copy_sources "$work/src"
  cmake -S "$work/src" -B "$work/build" -DCMAKE_BUILD_TYPE="$build_type" \
    -DCMAKE_TOOLCHAIN_FILE="$work/src/$toolchain" -DIWV_TESTS=OFF >"$work/configure.log" 2>&1 ||
    { cat "$work/configure.log" >&2; fail "configuring the second build failed"; }
  build_programs "$work/build"
  (cd "$work/src" && stage "$work/build" "$work/kit-again")
  local program differ=0
  for program in "${programs[@]}"; do
    if ! cmp -s "$windows/dist/$program" "$work/build/dist/$program"; then
      step "$program differs between $windows and $work/build: $(cmp -l "$windows/dist/$program" "$work/build/dist/$program" 2>&1 | wc -l) byte(s)"
      differ=1
    elif ! cmp -s "$work/kit/$program" "$work/kit-again/$program"; then
      step "the shipped $program differs between the two builds"
      differ=1
    fi
  done
  [ $differ -eq 0 ] || fail "the build is not reproducible"
}

# make_kit ARCH: builds, lays out, zips and checks one architecture's kit and
# proves it reproducible. The functions above read its local variables.
make_kit() {
  local arch=$1 windows toolchain prefix
  case $arch in
    win32) windows=$root/build/windows toolchain=cmake/toolchain-mingw-i686.cmake prefix=i686-w64-mingw32 ;;
    win64) windows=$root/build/windows64 toolchain=cmake/toolchain-mingw-x86_64.cmake prefix=x86_64-w64-mingw32 ;;
  esac
  local strip=$prefix-strip zip_name=IWVestra-$version-$arch.zip work=$scratch/$arch
  mkdir -p "$work"
  [ -f "$windows/CMakeCache.txt" ] || fail "$windows is not configured (make dist does that)"
  step "building $zip_name"
  build_programs "$windows"
  stage "$windows" "$work/kit"
  (cd "$work/kit" && TZ=UTC cmake -E tar cf "$work/$zip_name" --format=zip "--mtime=$mtime UTC" "${kit[@]}")
  check_zip "$work/$zip_name"
  step "the zip holds the kit, its DLL passes the $arch checks, its sums verify, and its version $version is the DLL's"
  step "building the $arch programs again in $work to compare"
  check_reproducible
  step "a second build in another folder gave the same bytes: ${programs[*]}"
  mv "$work/$zip_name" "$scratch/"
}

start=$SECONDS
# A failed run leaves no kit behind, not even an earlier one.
rm -rf "$out"
check_sources
# libarchive writes DOS times in local time; UTC makes them the same everywhere.
mtime=$(date -u -d "@$epoch" '+%Y-%m-%d %H:%M:%S')
zips=(IWVestra-$version-win32.zip IWVestra-$version-win64.zip)
make_kit win32
make_kit win64

mkdir -p "$out"
for zip in "${zips[@]}"; do mv "$scratch/$zip" "$out/"; done
[ "$(ls -A "$out" | sort)" = "$(printf '%s\n' "${zips[@]}" | sort)" ] || fail "$out holds more than ${zips[*]}"
for zip in "${zips[@]}"; do
  step "$out/$zip ($(($(stat -c %s "$out/$zip") / 1024)) KiB)"
done
step "both kits in $((SECONDS - start)) s"
