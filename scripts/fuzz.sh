#!/usr/bin/env bash
# Builds the libFuzzer targets with Clang in ./build-fuzz and runs each for
# the given number of seconds (default 60), starting from its seed corpus in
# fuzz/corpus/<target>. Any crash, sanitizer report or disagreement stops the
# run with a failure; the input that found it is kept as
# build-fuzz/findings/<target>-crash-*, to become a row of the ordinary tests.
#   scripts/fuzz.sh [seconds] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
seconds=${1:-60}
shift || true

export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
[ -f build-fuzz/build.ninja ] ||
    CXX=clang++ CC=clang cmake -S . -B build-fuzz -G Ninja -DTUBERON_FUZZ=ON "${launcher[@]}"
cmake --build build-fuzz

if [ $# -gt 0 ]; then
    targets=("$@")
else
    mapfile -t targets < <(find build-fuzz/fuzz -maxdepth 1 -type f -executable -name 'fuzz_*' -printf '%f\n' | sort)
fi
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets built" >&2; exit 1; }

mkdir -p build-fuzz/findings
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
status=0
for t in "${targets[@]}"; do
    seeds=fuzz/corpus/$t
    [ -d "$seeds" ] || { echo "$t: no seed corpus in $seeds" >&2; exit 1; }
    # New inputs go to a scratch corpus, so the committed seeds stay small.
    work=build-fuzz/corpus/$t
    mkdir -p "$work"
    dict=()
    [ -f fuzz/$t.dict ] && dict=(-dict=fuzz/$t.dict)
    echo "== $t: $seconds s"
    if ! build-fuzz/fuzz/$t "$work" "$seeds" "${dict[@]}" -max_total_time="$seconds" -timeout=10 \
            -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=build-fuzz/findings/$t- \
            > build-fuzz/$t.log 2>&1; then
        status=1
        tail -n 60 build-fuzz/$t.log
        echo "FAILED: $t (input kept in build-fuzz/findings/)" >&2
    fi
    grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb|^#[0-9]+ +DONE' build-fuzz/$t.log || true
done
exit $status
