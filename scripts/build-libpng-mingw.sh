#!/usr/bin/env bash
# Builds a static libpng for mingw-w64 from Debian's source package, with Debian's patches applied,
# so that the executable carries Debian's security fixes. Nothing comes from anywhere but the
# configured Debian archive. The version that went in is recorded in $prefix/VERSION.
set -euo pipefail
prefix="${TENMARK_DEPS:-/opt/tenmark-deps}/libpng-mingw"
host=x86_64-w64-mingw32

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

enable_source_entries
apt-get update -qq

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

mapfile -t versions < <(apt-cache showsrc libpng1.6 | sed -n 's/^Version: //p' | sort -u)
# Newest first, in Debian's own version order.
sorted=()
for v in "${versions[@]}"; do
  i=0
  while ((i < ${#sorted[@]})) && dpkg --compare-versions "${sorted[i]}" gt "$v"; do ((i++)) || true; done
  sorted=("${sorted[@]:0:i}" "$v" "${sorted[@]:i}")
done

chosen=""
for v in "${sorted[@]}"; do
  rm -rf "$work/src" && mkdir "$work/src" && cd "$work/src"
  if apt-get source -qq "libpng1.6=$v" >/dev/null 2>&1; then
    chosen=$v
    break
  fi
  echo "build-libpng-mingw: libpng1.6 $v is not served completely, trying an older one" >&2
done
[[ -n $chosen ]] || { echo "build-libpng-mingw: no libpng1.6 source could be fetched" >&2; exit 1; }

srcdir=$(find "$work/src" -mindepth 1 -maxdepth 1 -type d -name 'libpng*' | head -n 1)
cd "$srcdir"
echo "build-libpng-mingw: building libpng1.6 $chosen for $host"
# dpkg-source applies Debian's patch series while unpacking; refuse a tree where it did not.
if [[ -s debian/patches/series ]]; then
  applied=$(grep -c . .pc/applied-patches 2>/dev/null || echo 0)
  expected=$(grep -cvE '^\s*(#|$)' debian/patches/series)
  [[ $applied == "$expected" ]] || { echo "build-libpng-mingw: Debian patches not applied ($applied of $expected)" >&2; exit 1; }
fi
./configure -q --host=$host --prefix="$prefix" --disable-shared --enable-static CFLAGS="-O2" >/dev/null 2>&1
make -s -j"$(nproc)" install >/dev/null 2>&1
echo "$chosen (Debian patches applied: ${applied:-0})" >"$prefix/VERSION"
echo "build-libpng-mingw: libpng1.6 $chosen installed in $prefix"
