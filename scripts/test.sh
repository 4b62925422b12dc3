#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# Builds the program and its benchmarks, then the whole test suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs it: the core's tests, every window's, and the real program
# on a virtual X screen. Where clang is installed, the core's fuzz targets then run briefly
# (FAVORIZER_FUZZ_SECONDS each, 10 by default). Exits with the tests' status.
set -euo pipefail
# shellcheck source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$FAVORIZER_ROOT"

ensure_packages "${FAVORIZER_PACKAGES[@]}" "${FAVORIZER_TEST_PACKAGES[@]}"
cmake --preset default
cmake --build --preset default --target favorizer benchmarks
cmake --preset sanitize
cmake --build --preset sanitize
ctest --preset sanitize

if command -v clang++ >/dev/null 2>&1 && [[ -n "$(clang++ -print-file-name=libclang_rt.fuzzer-x86_64.a 2>/dev/null | grep /)" ]]; then
    cmake --preset fuzz
    cmake --build --preset fuzz
    seconds="${FAVORIZER_FUZZ_SECONDS:-10}"
    for target in rewrite game_lines; do
        corpus="$(mktemp -d)"
        cp fuzz/corpus/"$target"/* "$corpus"/
        echo "Fuzzing $target for ${seconds}s"
        status=0
        "build/fuzz/fuzz/${target}_fuzz" -max_total_time="$seconds" -max_len=4096 \
            -print_final_stats=1 "$corpus" >"$corpus.log" 2>&1 || status=$?
        grep -E 'stat::number_of_executed_units' "$corpus.log" || true
        if [[ "$status" != 0 ]]; then
            cat "$corpus.log" >&2
            echo "fuzz target $target failed" >&2
            exit 1
        fi
        rm -rf "$corpus" "$corpus.log"
    done
else
    echo "clang with libFuzzer is not installed: the fuzz targets are skipped"
fi
