#!/usr/bin/env bash
# Sets up, builds and runs every test (unit, offscreen widget and end-to-end under Xvfb),
# then runs the unit and widget tests once more in a build with AddressSanitizer and
# UndefinedBehaviorSanitizer, where any report fails the run, and last runs each fuzz target
# for a short while (scripts/fuzz.sh).
# SKRIBANDO_SKIP_SANITIZE=1 leaves out both sanitizer builds, SKRIBANDO_SKIP_FUZZ=1 only the
# fuzzing (quicker local runs).
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh"
(cd "$top/build" && ctest --output-on-failure -j"$(nproc)" "$@")

if [ "${SKRIBANDO_SKIP_SANITIZE:-0}" != 1 ]; then
    echo "test: the same tests under AddressSanitizer and UndefinedBehaviorSanitizer"
    "$top/scripts/build.sh" "$top/build-sanitize" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DSKRIBANDO_SANITIZE=ON -DSKRIBANDO_BENCH=OFF
    # Qt and fontconfig keep caches for the whole process; leak reports would be theirs.
    cd "$top/build-sanitize"
    ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --output-on-failure -j"$(nproc)" -LE e2e "$@"

    if [ "${SKRIBANDO_SKIP_FUZZ:-0}" != 1 ]; then
        echo "test: every fuzz target for 20 seconds from its seed corpus"
        "$top/scripts/fuzz.sh" 20
    fi
fi
