#!/bin/sh
# Builds the regex fuzzer with clang (libFuzzer, ASan, UBSan) from the dialect compiler's
# sources and runs it for a short time over a copy of the seed corpus.
#   run_fuzzer.sh SOURCE_DIR WORK_DIR SECONDS
# Exits 77, which CTest reports as skipped, when clang or its fuzzer runtime is missing.
set -eu

src=$1
work=$2
seconds=${3:-25}
if ! command -v clang++ >/dev/null 2>&1; then
  echo "clang++ not found: fuzzing skipped"
  exit 77
fi
mkdir -p "$work"
printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' \
  >"$work/runtime_check.cpp"
if ! clang++ -fsanitize=fuzzer "$work/runtime_check.cpp" -o "$work/runtime_check" 2>"$work/runtime_check.log"; then
  echo "clang's libFuzzer runtime is missing: fuzzing skipped"
  cat "$work/runtime_check.log"
  exit 77
fi
if ! pcre2=$(pkg-config --cflags --libs libpcre2-16); then
  echo "libpcre2-16 not found: fuzzing skipped"
  exit 77
fi

sources="
  $src/platform/regex/regex_syntax.cpp
  $src/platform/regex/regex_parser.cpp
  $src/platform/regex/regex_case.cpp
  $src/platform/regex/regex_emitter.cpp
  $src/platform/regex/regex_matcher.cpp
  $src/platform/regex/regexp_component.cpp
  $src/tests/regex/fuzz/regex_fuzzer.cpp"
fuzzer="$work/regex_fuzzer"

# Rebuild only when a source or header is newer than the binary.
rebuild=0
[ -x "$fuzzer" ] || rebuild=1
for f in $sources "$src"/platform/regex/*.h; do
  if [ "$f" -nt "$fuzzer" ]; then rebuild=1; fi
done
if [ "$rebuild" -eq 1 ]; then
  echo "building $fuzzer"
  # shellcheck disable=SC2086
  clang++ -std=c++20 -O1 -g -fno-omit-frame-pointer \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$src" $sources $pcre2 -o "$fuzzer"
fi

# Inputs the run finds go into the work directory, never into the source tree.
mkdir -p "$work/corpus"
cp "$src"/tests/regex/fuzz/corpus/* "$work/corpus/"
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -max_len=512 -print_final_stats=1 \
  "$work/corpus"
