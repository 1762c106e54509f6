#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: format check, unit tests
# natively and under ASan/UBSan, interoperability tests, fuzzers, and the end-to-end tests of
# tenmark.exe under Wine. Ends with one line "tests: N passed, N failed".
set -uo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$top"
build="${TENMARK_BUILD:-$top/build}"
logs="$build/logs"
jobs=$(nproc)

bash scripts/setup.sh || { echo "tests: 0 passed, 1 failed"; exit 1; }
mkdir -p "$logs"

passed=0
failed=0
failures=()

# stage NAME COMMAND...: runs one stage, its output in $logs/NAME.log, and counts its tests.
stage() {
  local name=$1 started=$SECONDS
  shift
  echo "== $name"
  "$@" >"$logs/$name.log" 2>&1
  report "$name" $? $((SECONDS - started))
}

# start_stage NAME COMMAND...: starts a stage that runs beside the next ones at a lower
# priority; end_stage NAME waits for it and reports it as stage would.
declare -A stage_pid stage_start
start_stage() {
  local name=$1
  shift
  stage_start[$name]=$SECONDS
  "$@" >"$logs/$name.log" 2>&1 &
  stage_pid[$name]=$!
  renice -n 10 -p "${stage_pid[$name]}" >/dev/null
}
end_stage() {
  local name=$1
  echo "== $name"
  wait "${stage_pid[$name]}"
  report "$name" $? $((SECONDS - stage_start[$name]))
}

# report NAME STATUS SECONDS
report() {
  local name=$1 log="$logs/$1.log"
  if (($2 == 0)); then
    echo "   ok ($(count_line "$log")) in $3 s"
  else
    echo "   FAILED after $3 s — last lines of $log:"
    tail -n 40 "$log" | sed 's/^/   | /'
    failures+=("$name")
  fi
  add_counts "$log" "$name"
}

# Test counts as each runner reports them; a stage without a runner counts as one test.
count_line() {
  grep -E 'tests passed, [0-9]+ tests failed out of|^\[  PASSED  \]|^(e2e|fuzz): [0-9]+ passed' "$1" | tail -n 1
}
add_counts() {
  local log=$1 name=$2 p=0 f=0 line
  if line=$(grep -E 'tests failed out of [0-9]+' "$log" | tail -n 1) && [[ -n $line ]]; then
    local total; total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    f=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$line"); p=$((total - f))
  elif line=$(grep -E '^(e2e|fuzz): [0-9]+ passed, [0-9]+ failed' "$log" | tail -n 1) && [[ -n $line ]]; then
    p=$(sed -E 's/^[a-z0-9]+: ([0-9]+) passed.*/\1/' <<<"$line"); f=$(sed -E 's/.* ([0-9]+) failed.*/\1/' <<<"$line")
  elif line=$(grep -E '^\[  PASSED  \] [0-9]+ test' "$log" | tail -n 1) && [[ -n $line ]]; then
    p=$(sed -E 's/^\[  PASSED  \] ([0-9]+).*/\1/' <<<"$line")
    f=$(grep -cE '^\[  FAILED  \] [A-Za-z]' "$log" || true)
  fi
  if ((p + f == 0)); then
    if [[ " ${failures[*]-} " == *" $name "* ]]; then f=1; else p=1; fi
  elif [[ " ${failures[*]-} " == *" $name "* ]] && ((f == 0)); then
    f=1
  fi
  passed=$((passed + p))
  failed=$((failed + f))
}

configure() {
  local dir=$1
  shift
  cmake -S "$top" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTENMARK_WERROR=ON "$@"
}
configure_and_build() {
  configure "$@" && cmake --build "$1" -j"$jobs"
}

format_check() {
  git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
}

native_tests() {
  configure_and_build "$build/native" -DTENMARK_BENCH=ON &&
    ctest --test-dir "$build/native" --output-on-failure -j"$jobs"
}

# -O1, as the sanitizers advise: a quarter of the build time of -O3, and nothing optimised away.
sanitizer_tests() {
  configure "$build/sanitize" -DTENMARK_SANITIZE=ON -DTENMARK_BENCH=OFF \
    -DCMAKE_CXX_FLAGS_RELEASE="-O1 -DNDEBUG" -DCMAKE_C_FLAGS_RELEASE="-O1 -DNDEBUG" &&
    cmake --build "$build/sanitize" -j"$jobs" --target tenmark_unit_tests &&
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
      "$build/sanitize/tests/tenmark_unit_tests"
}

fuzzers() {
  CC=clang CXX=clang++ configure_and_build "$build/fuzz" -DTENMARK_FUZZ=ON -DTENMARK_BENCH=OFF &&
    bash scripts/run-fuzzers.sh "$build/fuzz"
}

windows_build() {
  configure_and_build "$build/mingw" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
    -DTENMARK_FAULT_DRILL=ON &&
    echo "libpng in tenmark.exe: $(cat "${TENMARK_DEPS:-/opt/tenmark-deps}/libpng-mingw/VERSION")" &&
    no_pointer_imports "$build/mingw/tenmark.exe"
}

# The pointer functions are looked up at run time: a program importing one would not start on a
# system without it (Windows 7), and the mouse must stay on mouse messages.
no_pointer_imports() {
  if x86_64-w64-mingw32-objdump -p "$1" |
    grep -Ew 'GetPointer[A-Za-z]*|SetWindowFeedbackSetting|EnableMouseInPointer'; then
    echo "$1 imports a pointer function" >&2
    return 1
  fi
}

# The download, made by scripts/package.sh twice from two copies of the working tree in
# different folders: both must give the same executable and the same zip, byte for byte, with no
# time stamp in the executable and no folder of either build in it. The e2e stage tests the zip
# (copied to $build/dist).
package_check() {
  local work="$build/package-check" epoch run
  epoch=$(git log -1 --format=%ct) || return 1
  rm -rf "$work" "$build/dist"
  mkdir -p "$work/one/tenmark" "$work/second-run/sources/tenmark-copy"
  git ls-files -z -co --exclude-standard |
    while IFS= read -r -d '' f; do [[ -e $f ]] && printf '%s\0' "$f"; done |
    tar --null -T - -cf - | tar -C "$work/one/tenmark" -xf - || return 1
  cp -a "$work/one/tenmark/." "$work/second-run/sources/tenmark-copy/" || return 1
  for run in one/tenmark second-run/sources/tenmark-copy; do
    TENMARK_BUILD="$work/$run-build" TENMARK_DIST="$work/$run-dist" SOURCE_DATE_EPOCH=$epoch \
      bash "$work/$run/scripts/package.sh" || return 1
  done
  local a="$work/one/tenmark" b="$work/second-run/sources/tenmark-copy"
  sha256sum "$a-build/package/tenmark.exe" "$b-build/package/tenmark.exe" \
    "$a-dist"/*.zip "$b-dist"/*.zip
  cmp "$a-build/package/tenmark.exe" "$b-build/package/tenmark.exe" &&
    cmp "$a-dist"/*.zip "$b-dist"/*.zip &&
    cmp "$a-dist"/*.zip.sha256 "$b-dist"/*.zip.sha256 || { echo "package: the two builds differ"; return 1; }
  (cd "$a-dist" && sha256sum -c ./*.sha256) || return 1
  [[ $(python3 scripts/pe_resources.py timestamp "$a-build/package/tenmark.exe") == 0 ]] ||
    { echo "package: the executable carries a time stamp"; return 1; }
  if strings -a "$a-build/package/tenmark.exe" | grep -F -e "$work" -e "$top"; then
    echo "package: the executable names a build or source folder"
    return 1
  fi
  mkdir -p "$build/dist" && cp "$a-dist"/* "$build/dist/"
}

e2e_tests() {
  python3 tests/e2e/run_e2e.py "$build/mingw/tenmark.exe" "$build/mingw/tests/e2e/probe/tenmark_probe.exe"
}

stage format format_check
stage unit native_tests
stage sanitizers sanitizer_tests
stage windows windows_build
stage package package_check
# The e2e tests mostly wait for Wine and the X server: the fuzz build and run go beside them.
start_stage fuzz fuzzers
if [[ " ${failures[*]-} " != *" windows "* ]]; then
  stage e2e e2e_tests
fi
end_stage fuzz

if ((${#failures[@]})); then echo "failed stages: ${failures[*]}"; fi
echo "tests: $passed passed, $failed failed"
((failed == 0 && ${#failures[@]} == 0))
