#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs one: ./scripts/fuzz.sh TARGET [SECONDS]
# TARGET is fuzz_load_save, fuzz_commit, fuzz_edit_ops or fuzz_quick_parse; SECONDS defaults to 60. Findings are
# written to build-fuzz/findings/TARGET; the corpus grows in build-fuzz/corpus/TARGET, seeded
# from fuzz/corpus and samples/.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: scripts/fuzz.sh fuzz_load_save|fuzz_commit|fuzz_edit_ops|fuzz_quick_parse [SECONDS]}
seconds=${2:-60}
command -v clang++ >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -q clang >/dev/null
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPELLIX_FUZZ=ON -DPELLIX_SANITIZE=ON -DPELLIX_WERROR=OFF >/dev/null
cmake --build build-fuzz --target "$target" -j "$(nproc)"
corpus=build-fuzz/corpus/$target
findings=build-fuzz/findings/$target
mkdir -p "$corpus" "$findings"
seeds=(fuzz/corpus/"${target#fuzz_}")
[ "$target" = fuzz_load_save ] && seeds+=(samples)
[ "$target" = fuzz_quick_parse ] && seeds=(build-fuzz/corpus/fuzz_load_save fuzz/corpus/load_save samples)
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
exec build-fuzz/fuzz/"$target" -dict=fuzz/xml.dict -max_total_time="$seconds" -max_len=4096 \
  -rss_limit_mb=2048 -artifact_prefix="$findings/" -print_final_stats=1 "$corpus" "${seeds[@]}"
