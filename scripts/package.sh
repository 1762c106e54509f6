#!/usr/bin/env bash
# Installs what is missing, builds tenmark.exe from a clean build folder and packs the download:
#   dist/tenmark-VERSION-win64.zip         one folder tenmark-VERSION/ with tenmark.exe,
#                                          README.txt, LICENSE.txt and THIRD-PARTY.txt
#   dist/tenmark-VERSION-win64.zip.sha256  its SHA-256, as sha256sum writes it
# VERSION is the one in the version text of src/resources/texts.txt. The same commit gives the
# same bytes in any folder and at any time: the zip's entries carry the time of the last commit
# (SOURCE_DATE_EPOCH, when set, instead).
# TENMARK_BUILD (default build/) gets the build in package/; TENMARK_DIST (default dist/) the
# download.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TENMARK_BUILD:-$top/build}/package"
dist="${TENMARK_DIST:-$top/dist}"
deps="${TENMARK_DEPS:-/opt/tenmark-deps}"

bash "$top/scripts/setup.sh"

if [[ -z ${SOURCE_DATE_EPOCH:-} ]]; then
  if ! SOURCE_DATE_EPOCH=$(git -C "$top" log -1 --format=%ct 2>/dev/null) || [[ -z $SOURCE_DATE_EPOCH ]]; then
    echo "package: no git history in $top; set SOURCE_DATE_EPOCH to the time the files carry" >&2
    exit 1
  fi
fi

echo "package: building tenmark.exe in $build"
rm -rf "$build"
mkdir -p "$build"
if ! { cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" &&
  cmake --build "$build" -j"$(nproc)" --target tenmark; } >"$build/build.log" 2>&1; then
  tail -n 60 "$build/build.log" >&2
  exit 1
fi

mkdir -p "$dist"
rm -f "$dist"/tenmark-*-win64.zip "$dist"/tenmark-*-win64.zip.sha256
python3 "$top/scripts/make_package.py" --exe "$build/tenmark.exe" --link-map "$build/tenmark.map" \
  --source "$top" --deps "$deps" --epoch "$SOURCE_DATE_EPOCH" --out "$dist"
