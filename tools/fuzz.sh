#!/bin/bash
# Builds the libFuzzer targets with clang and the sanitizers, then runs each for
# a number of seconds (first argument, default 5). Exits non-zero when any target
# finds a crash or breaks an invariant; the failing input is kept in the build
# folder's fuzz-artifacts/ for replay (./fuzz_<family> <input>).
set -u

seconds=${1:-5}
case $seconds in
'' | *[!0-9]*)
    echo "usage: $0 [seconds per target]" >&2
    exit 2
    ;;
esac

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${HUSHMARK_FUZZ_BUILD:-$source_dir/build-fuzz}
families="convert information update parameters bufferrecord datafile memoryblock"

CXX=clang++ cmake -S "$source_dir" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DHUSHMARK_FUZZ=ON -DHUSHMARK_SANITIZE=ON -DBUILD_TESTING=OFF >/dev/null || exit 1
cmake --build "$build_dir" --target fuzzers -j2 || exit 1

artifacts=$build_dir/fuzz-artifacts
mkdir -p "$artifacts"
failed=""
for family in $families; do
    corpus=$build_dir/fuzz-corpus/$family
    mkdir -p "$corpus"
    # The starting inputs reach the deeper branches within a few seconds.
    index=0
    while read -r name hex; do
        [ "$name" = "$family" ] || continue
        index=$((index + 1))
        printf "$(sed 's/../\\x&/g' <<<"$hex")" >"$corpus/seed-$index"
    done <"$source_dir/fuzz/seeds.txt"
    # The data file reader starts from the sample files.
    [ "$family" = datafile ] && cp "$source_dir"/samples/*.csv "$source_dir"/samples/*.log "$corpus/"
    echo "== fuzz_$family for ${seconds}s"
    if ! "$build_dir/bin/fuzz_$family" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$artifacts/${family}-" "$corpus" 2>"$build_dir/fuzz_$family.log"; then
        grep -m 1 -E 'invariant failed|ERROR:|runtime error' "$build_dir/fuzz_$family.log" >&2
        tail -n 20 "$build_dir/fuzz_$family.log" >&2
        failed="$failed $family"
    else
        grep -E 'stat::number_of_executed_units|stat::new_units_added' "$build_dir/fuzz_$family.log"
    fi
done

if [ -n "$failed" ]; then
    echo "fuzzing found problems in:$failed (inputs in $artifacts)" >&2
    exit 1
fi
echo "all fuzz targets ran ${seconds}s without a finding"
