#!/usr/bin/env bash
# Sets up, builds and runs every test (unit, offscreen widget and end-to-end under Xvfb).
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh"
cd "$top/build"
ctest --output-on-failure -j"$(nproc)" "$@"
