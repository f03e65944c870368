#!/usr/bin/env bash
# Builds and runs every test: the normal build, the AddressSanitizer + UndefinedBehaviorSanitizer
# build (with a short run of every fuzz target), and the core's tests under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc)
# The three builds' objects together outgrow the cache's default 5 GB: with that limit the third
# build evicts the first, and every run compiles most of the project again.
export CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-20G}
fuzz_seconds=${MAV_FUZZ_SECONDS:-20}
export QT_QPA_PLATFORM=offscreen

configure_and_test() {
  local dir=$1
  shift
  echo "=== $dir (at ${SECONDS}s)"
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

configure_and_test build/normal -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMAV_BUILD_BENCH=ON

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
configure_and_test build/asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  -DMAV_SANITIZE=address -DMAV_BUILD_FUZZ=ON

# Each fuzzer starts from a copy of its committed seeds (fuzz/corpus/<target>/), so what a run
# finds stays out of the repository, and mutates with the protocol's keywords. One fuzzer per core
# runs at a time; each prints its last lines together once it ends.
run_fuzzer() {
  local fuzzer=$1 name corpus seeds output status=0
  name=$(basename "$fuzzer")
  corpus=$(mktemp -d)
  seeds=fuzz/corpus/${name#fuzz_}
  if [ -d "$seeds" ]; then cp -r "$seeds"/. "$corpus"; fi
  output=$("$fuzzer" -max_total_time="$fuzz_seconds" -print_final_stats=0 \
    -dict=fuzz/protocol.dict "$corpus" 2>&1) || status=$?
  rm -rf "$corpus"
  echo "=== $name for ${fuzz_seconds}s"
  # A finding is shown whole; a clean run only by its closing lines.
  if [ "$status" -eq 0 ]; then tail -n 3 <<<"$output"; else echo "$output"; fi
  return "$status"
}
export -f run_fuzzer
export fuzz_seconds
echo "=== fuzz targets (at ${SECONDS}s)"
find build/asan/fuzz -maxdepth 1 -name 'fuzz_*' -type f -executable -print0 | sort -z |
  xargs -0 -P "$jobs" -I{} bash -c 'run_fuzzer "$1"' _ {}

export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/scripts/tsan.supp"
configure_and_test build/tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DMAV_SANITIZE=thread -DMAV_BUILD_GUI=OFF
echo "=== all tests passed (in ${SECONDS}s)"
