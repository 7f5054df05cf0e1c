#!/bin/sh
# Builds the keyed-unarchiver fuzzer with clang and runs it for a bounded time.
#   tools/fuzz_unarchiver.sh [seconds] [build dir]
# Inputs go up to 1 MB (FUZZ_MAX_LEN bytes) so that sizes where reading turns
# slow or memory-hungry are reached; an input taking longer than FUZZ_TIMEOUT
# seconds, or more memory than FUZZ_RSS_LIMIT_MB, counts as a failure.
# Inputs that make it fail are left in <build dir>/fuzz-artifacts; once the
# fault is mended, copy them to tests/platform/fuzz/regressions/ so that
# platform_archive_bad_input_test replays them.
set -eu
seconds=${1:-60}
max_len=${FUZZ_MAX_LEN:-1048576}
timeout=${FUZZ_TIMEOUT:-10}
rss_limit_mb=${FUZZ_RSS_LIMIT_MB:-2048}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${2:-$source_dir/../build-fuzz}
clang_c=$(command -v clang-14 || command -v clang || true)
clang_cxx=$(command -v clang++-14 || command -v clang++ || true)
if [ -z "$clang_c" ] || [ -z "$clang_cxx" ]; then
  echo "fuzz_unarchiver.sh: the fuzzer needs clang and clang++ (libFuzzer); none was found." >&2
  exit 1
fi

cmake -S "$source_dir" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER="$clang_c" -DCMAKE_CXX_COMPILER="$clang_cxx" -DQUORVEL_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build_dir" --target platform_unarchiver_fuzzer

corpus="$build_dir/fuzz-corpus"
artifacts="$build_dir/fuzz-artifacts"
mkdir -p "$corpus" "$artifacts"
cp "$source_dir"/tests/platform/fuzz/seeds/* "$source_dir"/tests/platform/fuzz/regressions/* "$corpus"/ 2>/dev/null || true

# Leaks are reported: the reader refuses objects that would hold themselves.
ASAN_OPTIONS=detect_leaks=1 QT_QPA_PLATFORM=offscreen \
  "$build_dir/tests/platform/platform_unarchiver_fuzzer" "$corpus" \
  -max_total_time="$seconds" -max_len="$max_len" -timeout="$timeout" -rss_limit_mb="$rss_limit_mb" \
  -artifact_prefix="$artifacts/" -print_final_stats=1
