#!/usr/bin/env bash
# Sets up, builds and runs every test (unit, offscreen widget and end-to-end under Xvfb),
# then runs the unit and widget tests once more in a build with AddressSanitizer and
# UndefinedBehaviorSanitizer, where any report fails the run, and last runs each fuzz target
# for a short while (scripts/fuzz.sh).
# SKRIBANDO_SKIP_SANITIZE=1 leaves out both sanitizer builds, SKRIBANDO_SKIP_FUZZ=1 only the
# fuzzing (quicker local runs). An end-to-end test whose X server, window manager or print
# server cannot start fails with the reason; SKRIBANDO_SKIP_E2E=1 leaves out every test that
# needs them, and the run says so at its start and its end.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)

skip_e2e_banner() {
    [ "${SKRIBANDO_SKIP_E2E:-0}" = 1 ] || return 0
    echo "********************************************************************************"
    echo "test: SKRIBANDO_SKIP_E2E=1: the END-TO-END TESTS ARE SKIPPED (and every test that"
    echo "test: needs Xvfb, a window manager or CUPS); nothing was tried on a real display."
    echo "********************************************************************************"
}
trap skip_e2e_banner EXIT
skip_e2e_banner

"$top/scripts/setup.sh" --tests
"$top/scripts/build.sh" "$top/build" -DSKRIBANDO_TESTS=ON
e2e=()
[ "${SKRIBANDO_SKIP_E2E:-0}" = 1 ] && e2e=(-LE e2e)
(cd "$top/build" && ctest --output-on-failure -j"$(nproc)" "${e2e[@]}" "$@")

if [ "${SKRIBANDO_SKIP_SANITIZE:-0}" != 1 ]; then
    echo "test: the same tests under AddressSanitizer and UndefinedBehaviorSanitizer"
    "$top/scripts/build.sh" "$top/build-sanitize" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DSKRIBANDO_SANITIZE=ON -DSKRIBANDO_BENCH=OFF -DSKRIBANDO_TESTS=ON
    # Qt and fontconfig keep caches for the whole process; leak reports would be theirs.
    # The Debian package is checked once, made from the Release build above.
    cd "$top/build-sanitize"
    ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --output-on-failure -j"$(nproc)" -LE 'e2e|package' "$@"

    if [ "${SKRIBANDO_SKIP_FUZZ:-0}" != 1 ]; then
        echo "test: every fuzz target for 20 seconds from its seed corpus"
        "$top/scripts/fuzz.sh" 20
    fi
fi
