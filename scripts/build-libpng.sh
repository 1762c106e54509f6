#!/usr/bin/env bash
# Builds a static libpng from Debian's source package, with Debian's patches applied, in one of
# two variants:
#   build-libpng.sh mingw   for tenmark.exe (x86_64-w64-mingw32), so that the executable carries
#                           Debian's security fixes                  -> $deps/libpng-mingw
#   build-libpng.sh fuzz    for the libFuzzer build (clang with the fuzzer's instrumentation
#                           and AddressSanitizer/UBSan), so that coverage sees inside libpng
#                                                                    -> $deps/libpng-fuzz
# The source is fetched once from the configured Debian archive and kept in $deps/libpng-source
# for both; nothing comes from anywhere else. The version that went in is recorded in
# <prefix>/VERSION.
set -euo pipefail
variant="${1:-mingw}"
deps="${TENMARK_DEPS:-/opt/tenmark-deps}"
prefix="$deps/libpng-$variant"
source_dir="$deps/libpng-source"

case $variant in
  mingw) configure_args=(--host=x86_64-w64-mingw32) cflags="-O2" cc="" ;;
  fuzz)
    configure_args=()
    cflags="-O1 -g -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all"
    cc=clang
    ;;
  *) echo "usage: build-libpng.sh mingw|fuzz" >&2; exit 2 ;;
esac

if [[ -f "$prefix/VERSION" && -f "$prefix/lib/libpng16.a" ]]; then
  exit 0
fi

enable_source_entries() {
  local list=/etc/apt/sources.list.d/tenmark-deb-src.sources
  [[ -f $list ]] && return 0
  local f
  : >"$list.tmp"
  for f in /etc/apt/sources.list.d/*.sources; do
    [[ $f == "$list" ]] && continue
    # Same archives and suites, source packages only.
    sed -e 's/^Types:.*/Types: deb-src/' "$f" >>"$list.tmp"
    echo >>"$list.tmp"
  done
  if [[ -f /etc/apt/sources.list ]]; then
    grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' >/etc/apt/sources.list.d/tenmark-deb-src.list || true
  fi
  mv "$list.tmp" "$list"
}

# Fetches and unpacks the newest libpng1.6 source the archive serves completely into
# $source_dir, with Debian's patch series applied, and records its version there.
fetch_source() {
  enable_source_entries
  apt-get update -qq
  local work
  work=$(mktemp -d)
  mapfile -t versions < <(apt-cache showsrc libpng1.6 | sed -n 's/^Version: //p' | sort -u)
  # Newest first, in Debian's own version order.
  local sorted=() v i
  for v in "${versions[@]}"; do
    i=0
    while ((i < ${#sorted[@]})) && dpkg --compare-versions "${sorted[i]}" gt "$v"; do ((i++)) || true; done
    sorted=("${sorted[@]:0:i}" "$v" "${sorted[@]:i}")
  done

  local chosen=""
  for v in "${sorted[@]}"; do
    rm -rf "$work/src" && mkdir "$work/src"
    if (cd "$work/src" && apt-get source -qq "libpng1.6=$v" >/dev/null 2>&1); then
      chosen=$v
      break
    fi
    echo "build-libpng: libpng1.6 $v is not served completely, trying an older one" >&2
  done
  [[ -n $chosen ]] || { echo "build-libpng: no libpng1.6 source could be fetched" >&2; rm -rf "$work"; exit 1; }

  local unpacked applied=0 expected
  unpacked=$(find "$work/src" -mindepth 1 -maxdepth 1 -type d -name 'libpng*' | head -n 1)
  # dpkg-source applies Debian's patch series while unpacking; refuse a tree where it did not.
  if [[ -s $unpacked/debian/patches/series ]]; then
    applied=$(grep -c . "$unpacked/.pc/applied-patches" 2>/dev/null || echo 0)
    expected=$(grep -cvE '^\s*(#|$)' "$unpacked/debian/patches/series")
    [[ $applied == "$expected" ]] || { echo "build-libpng: Debian patches not applied ($applied of $expected)" >&2; rm -rf "$work"; exit 1; }
  fi
  echo "$chosen (Debian patches applied: $applied)" >"$unpacked/TENMARK_SOURCE_VERSION"
  mkdir -p "$deps"
  rm -rf "$source_dir"
  mv "$unpacked" "$source_dir"
  rm -rf "$work"
}

[[ -f "$source_dir/TENMARK_SOURCE_VERSION" ]] || fetch_source
version=$(cat "$source_dir/TENMARK_SOURCE_VERSION")

# Out of the source tree, so that both variants build from the same unpacked source.
build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT
cd "$build"
echo "build-libpng: building libpng1.6 $version ($variant)"
env ${cc:+CC=$cc} "$source_dir/configure" -q "${configure_args[@]}" --prefix="$prefix" \
  --disable-shared --enable-static CFLAGS="$cflags" >/dev/null 2>&1
make -s -j"$(nproc)" install >/dev/null 2>&1
echo "$version" >"$prefix/VERSION"
echo "build-libpng: libpng1.6 $version ($variant) installed in $prefix"
