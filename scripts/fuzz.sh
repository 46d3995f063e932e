#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each one for SECONDS
# (default 600), starting from a copy of its seed corpus in fuzz/corpus/<target>/, as many
# at a time as there are cores. A crash, a sanitizer report or a broken check fails the run;
# the input that caused it is kept in build-fuzz/findings/.
# Usage: scripts/fuzz.sh [seconds] [target...]   (targets: num_edit settings_loader
#        save_extension raster; all by default)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
targets=("${@:2}")
[ ${#targets[@]} -gt 0 ] || targets=(num_edit settings_loader save_extension raster)
dir=$top/build-fuzz

CC=clang CXX=clang++ cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=Fuzz -DSKRIBANDO_FUZZ=ON \
    -DSKRIBANDO_BENCH=OFF >/dev/null
cmake --build "$dir" --target fuzzers -j"$(nproc)"

# In memory where possible: the targets write and flush files on every input.
work=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMPDIR=$work
mkdir -p "$dir/findings"

# One target: new inputs go to the copy, so the committed corpus never changes; it runs in
# the scratch folder, so whatever a target writes by mistake lands there.
fuzz_one() {
    local target=$1
    cp -r "$top/fuzz/corpus/$target" "$work/$target"
    (cd "$work" && "$dir/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=30 \
        -artifact_prefix="$dir/findings/$target-" "$work/$target" >"$work/$target.log" 2>&1)
}

pids=()
for target in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do
        wait -n || true
    done
    fuzz_one "$target" &
    pids+=($!)
done

failed=0
for i in "${!targets[@]}"; do
    target=${targets[$i]}
    if wait "${pids[$i]}"; then
        runs=$(grep -o 'Done [0-9]* runs in [0-9]* second' "$work/$target.log" | tail -1)
        echo "fuzz: $target: ${runs:-no run count}s, no findings"
    else
        failed=1
        echo "fuzz: $target FAILED; the end of its log:"
        tail -n 60 "$work/$target.log"
    fi
done
exit $failed
