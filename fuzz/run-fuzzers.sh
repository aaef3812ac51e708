#!/usr/bin/env bash
# Builds the libFuzzer targets of the file readers with clang and runs each one
# for a bounded time on a copy of its seed corpus (the repository is never
# written). Any crash, sanitizer report or broken round trip fails the script;
# the input that caused it is kept under build-fuzz/artifacts/.
#
#   fuzz/run-fuzzers.sh                 60 s per target
#   ZHR_FUZZ_SECONDS=10 fuzz/run-fuzzers.sh
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$here/scripts/ensure-deps.sh"
zhr_ensure_packages cmake make qt6-base-dev clang-14 libclang-rt-14-dev

seconds="${ZHR_FUZZ_SECONDS:-60}"
build="${ZHR_FUZZ_BUILD_DIR:-$here/build-fuzz}"
targets=(bilet tirag settings result)

cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER=clang++-14 -DZHR_FUZZ=ON \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
artifacts="$build/artifacts"
mkdir -p "$artifacts"

# The options of .ci/run are for the test suite; the fuzzers get their own.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
unset LSAN_OPTIONS

# The targets run side by side, each on its own copy of its seeds.
declare -A pids
for t in "${targets[@]}"; do
    cp -r "$here/fuzz/corpus/$t" "$work/$t"
    "$build/fuzz/fuzz_$t" "$work/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$artifacts/$t-" >"$work/$t.log" 2>&1 &
    pids[$t]=$!
done

failed=()
for t in "${targets[@]}"; do
    if wait "${pids[$t]}"; then
        echo "== fuzz_$t: no failure in ${seconds} s ($(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' \
            "$work/$t.log" | grep -o '[0-9]*$' || echo '?') runs, corpus $(find "$work/$t" -type f | wc -l) files)"
    else
        failed+=("$t")
        echo "== fuzz_$t FAILED; the last of its log:" >&2
        tail -n 60 "$work/$t.log" >&2
    fi
done

if [ ${#failed[@]} -ne 0 ]; then
    echo "Fuzzing found failures in: ${failed[*]} (inputs in $artifacts)" >&2
    exit 1
fi
