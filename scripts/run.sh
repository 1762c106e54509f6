#!/usr/bin/env bash
# Installs what is missing, builds tenmark.exe and starts it under Wine on $DISPLAY. Without a
# display it runs on a virtual one, leaves a screenshot of the window at the path it prints, and
# ends the program cleanly. Extra arguments go to tenmark.exe (e.g. a picture to open).
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TENMARK_BUILD:-$top/build}"

bash "$top/scripts/setup.sh"
cmake -S "$top" -B "$build/mingw" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build/mingw" -j"$(nproc)" >/dev/null

# The program keeps tenmark.ini (and its automatic saves) beside the executable.
folder="$build/run"
mkdir -p "$folder"
cp "$build/mingw/tenmark.exe" "$folder/tenmark.exe"

exec python3 "$top/scripts/run_wine.py" "$folder/tenmark.exe" \
  "$build/mingw/tests/e2e/probe/tenmark_probe.exe" "$build/wine" "$@"
