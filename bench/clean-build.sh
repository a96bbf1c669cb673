#!/usr/bin/env bash
# Times clean builds of a checkout, as ./run and ./test make them, on this machine:
#   - the application alone (./run's build) and everything (./test's build),
#     each in a fresh build folder with ccache off;
#   - everything with an empty ccache of its own, then again, with that cache warm,
#     in the same folder emptied.
# Usage: bench/clean-build.sh [CHECKOUT] (default: this one). Nothing else should
# be building meanwhile: the machine's cores are what is measured.
set -euo pipefail
checkout=$(realpath "${1:-$(dirname "${BASH_SOURCE[0]}")/..}")
work=$(mktemp -d /tmp/ormel-build-XXXXXX)
trap 'rm -rf "$work"' EXIT

configure() {
    local dir=$1 tests=$2
    cmake -S "$checkout" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DORMEL_WERROR=ON -DORMEL_TESTS="$tests" -DORMEL_BENCH="$tests" >/dev/null
}

# Seconds a build of TARGET (or everything) takes in the fresh folder DIR.
timed_build() {
    local name=$1 dir=$2 tests=$3 target=$4
    rm -rf "$dir"
    configure "$dir" "$tests"
    local start end
    start=$(date +%s.%N)
    if [ -n "$target" ]; then
        cmake --build "$dir" -j "$(nproc)" --target "$target" >/dev/null
    else
        cmake --build "$dir" -j "$(nproc)" >/dev/null
    fi
    end=$(date +%s.%N)
    awk -v name="$name" -v s="$start" -v e="$end" 'BEGIN { printf "%-38s %6.0f s\n", name, e - s }'
}

echo "clean builds of $checkout on $(nproc) cores"
CCACHE_DISABLE=1 timed_build "application (./run), no ccache" "$work/app" OFF ormel
CCACHE_DISABLE=1 timed_build "everything (./test), no ccache" "$work/all" ON ""
# ccache finds its entries by the build folder's path: the warm build reuses the folder.
export CCACHE_DIR="$work/ccache"
timed_build "everything, filling an empty ccache" "$work/cached" ON ""
timed_build "everything, warm ccache" "$work/cached" ON ""
