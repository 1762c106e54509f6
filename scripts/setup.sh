#!/usr/bin/env bash
# Installs everything the build, the program and the tests need on a Debian 12 machine (as root).
# Idempotent and quiet: packages already present are not touched again.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

packages=(
  build-essential cmake ninja-build pkg-config git dpkg-dev
  clang libclang-rt-14-dev clang-format
  libgtest-dev libbenchmark-dev libpng-dev zlib1g-dev
  mingw-w64 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 libz-mingw-w64-dev
  wine wine64 fonts-wine xvfb xdotool x11-utils imagemagick python3
  locales fonts-ipafont-gothic
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
  sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
  locale-gen >/dev/null
fi

"$here/build-libpng.sh" mingw
"$here/build-libpng.sh" fuzz
