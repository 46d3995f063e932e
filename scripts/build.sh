#!/usr/bin/env bash
# Configures and builds a Release build in build/ (or the folder given as $1).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$top/build}
cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=Release "${@:2}" >/dev/null
cmake --build "$dir" -j"$(nproc)"
