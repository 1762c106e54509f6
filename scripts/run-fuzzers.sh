#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for a bounded time and fails on any finding.
#   scripts/run-fuzzers.sh <fuzz build dir>      (FUZZ_SECONDS per target, default 20;
#   FUZZ_SECONDS=600 for a longer search)
# The build is configured with CC=clang CXX=clang++ and -DTENMARK_FUZZ=ON. Picture targets get a
# small starter corpus of valid files made with ImageMagick, beside the files kept in
# fuzz/corpus/<target> (which the unit tests also read); findings land in <build>/fuzz-findings.
set -euo pipefail
# ImageMagick itself, ahead of any wrapper an earlier PATH entry may hold.
export PATH="/usr/bin:$PATH"

top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:?usage: run-fuzzers.sh <fuzz build dir>}" && pwd)"
seconds="${FUZZ_SECONDS:-20}"
corpora="$build/fuzz-corpus"
findings="$build/fuzz-findings"

# A greyscale source picture with hard edges and mid-tones, as a binary PGM.
make_source() {
  python3 - "$1" <<'PY'
import sys
w, h = 23, 9
pixels = bytes((0 if (x // 3 + y) % 2 else 255) if x < 16 else (x * 37 + y * 11) % 256
               for y in range(h) for x in range(w))
open(sys.argv[1], "wb").write(b"P5\n%d %d\n255\n" % (w, h) + pixels)
PY
}

make_bmp_corpus() {
  local dir="$1" src="$1/source.pgm"
  make_source "$src"
  convert "$src" -type bilevel "bmp3:$dir/one-bit.bmp"
  convert "$src" -type bilevel "bmp:$dir/one-bit-v4.bmp"
  convert "$src" -colors 16 -type palette "bmp3:$dir/four-bit.bmp"
  convert "$src" -type palette "bmp3:$dir/eight-bit.bmp"
  convert "$src" -colors 16 -type palette -compress rle "bmp3:$dir/rle4.bmp"
  convert "$src" -type palette -compress rle "bmp3:$dir/rle8.bmp"
  convert "$src" -type truecolor "bmp3:$dir/rgb24.bmp"
  convert "$src" -type truecolor "bmp2:$dir/core.bmp"
  convert "$src" -type truecolormatte -alpha on "bmp:$dir/bitfields32.bmp"
  rm "$src"
}

# The BMP files as the clipboard holds them: without the file header, after the byte that
# chooses the target's paper.
make_dib_corpus() {
  local dir="$1" file
  make_bmp_corpus "$dir"
  for file in "$dir"/*.bmp; do
    { printf '\001'; tail -c +15 "$file"; } >"${file%.bmp}.dib"
    rm "$file"
  done
}

make_png_corpus() {
  local dir="$1" src="$1/source.pgm" one="-define png:bit-depth=1"
  make_source "$src"
  convert "$src" -threshold 50% -define png:color-type=3 $one "$dir/palette.png"
  convert "$src" -threshold 50% -negate -define png:color-type=3 $one "$dir/black-white.png"
  convert "$src" -threshold 50% -interlace PNG -define png:color-type=3 $one "$dir/interlaced.png"
  convert "$src" -threshold 50% -define png:color-type=0 $one "$dir/grey.png"
  convert "$src" -threshold 50% -interlace PNG -define png:color-type=0 $one "$dir/grey-interlaced.png"
  convert "$src" -define png:color-type=0 "$dir/grey8.png"
  rm "$src"
}

passed=0
failed=0
shopt -s nullglob
for fuzzer in "$build"/fuzz/*_fuzz; do
  name="$(basename "$fuzzer" _fuzz)"
  mkdir -p "$corpora/$name" "$findings/$name"
  if [ -z "$(ls -A "$corpora/$name")" ] && declare -F "make_${name}_corpus" >/dev/null; then
    "make_${name}_corpus" "$corpora/$name"
  fi
  kept=()
  if [ -d "$top/fuzz/corpus/$name" ]; then kept=("$top/fuzz/corpus/$name"); fi
  echo "== $name: ${seconds}s"
  if ! "$fuzzer" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$findings/$name/" "$corpora/$name" "${kept[@]}" 2>"$findings/$name.log"; then
    echo "!! $name found a problem: see $findings/$name.log and $findings/$name/" >&2
    tail -n 30 "$findings/$name.log" >&2
    failed=$((failed + 1))
  else
    passed=$((passed + 1))
  fi
  grep -E '^stat::number_of_executed_units|^Done' "$findings/$name.log" || true
done
echo "fuzz: $passed passed, $failed failed"
((failed == 0 && passed > 0))
