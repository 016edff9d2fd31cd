#!/usr/bin/env bash
# Builds the libFuzzer targets with clang++ into ./build-fuzz and runs each
# for a short while on a copy of its seed corpus; fails if any finds a crash,
# undefined behaviour or a broken round trip. Skips when clang++ or its
# libFuzzer runtime is missing. An input that fails is kept in ./build-fuzz.
#   scripts/fuzz-smoke.sh [seconds per target, default 15]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-15}
targets=(textcodec rtfwriter clean settings printlayout)

if ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz-smoke: clang++ is not installed, skipping the fuzz targets (scripts/deps.sh test installs it)"
    exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
probe='extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }'
if ! clang++ -fsanitize=fuzzer -x c++ -o "$work/probe" - <<<"$probe" >/dev/null 2>&1; then
    echo "fuzz-smoke: clang++ has no libFuzzer runtime, skipping the fuzz targets (apt-get install libclang-rt-14-dev)"
    exit 0
fi

launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Debug keeps the assertions in the Qt headers.
cmake -S "$root" -B "$root/build-fuzz" -DPAGEWELL_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=Debug "${launcher[@]}" >/dev/null
cmake --build "$root/build-fuzz" --parallel "$(nproc)" --target "${targets[@]/#/fuzz_}"

# Runs one target on a copy of its corpus; its log says how it went.
run_target() {
    local target=$1
    cp -r "$root/tests/fuzz/corpus/$target" "$work/$target"
    QT_QPA_PLATFORM=offscreen "$root/build-fuzz/tests/fuzz/fuzz_$target" \
        -max_total_time="$seconds" -max_len=4096 -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$root/build-fuzz/$target-" "$work/$target" >"$work/$target.log" 2>&1
}

# One target per core at a time: each still gets a whole core for its seconds.
declare -A pid_of
for target in "${targets[@]}"; do
    while [[ $(jobs -rp | wc -l) -ge $(nproc) ]]; do wait -n || true; done
    echo "fuzz-smoke: $target for ${seconds}s"
    run_target "$target" &
    pid_of[$target]=$!
done

failed=()
for target in "${targets[@]}"; do
    if wait "${pid_of[$target]}"; then
        grep -E '^(Done|stat::number_of_executed_units)' "$work/$target.log" | sed "s/^/$target: /" || true
    else
        tail -n 40 "$work/$target.log"
        failed+=("$target")
    fi
done

if [[ ${#failed[@]} -gt 0 ]]; then
    echo "fuzz-smoke: FAILED: ${failed[*]}" >&2
    exit 1
fi
echo "fuzz-smoke: all ${#targets[@]} targets ran ${seconds}s without a finding"
