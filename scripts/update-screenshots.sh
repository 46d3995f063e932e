#!/usr/bin/env bash
# Takes the README's screenshots again: builds (in build/ or the folder given as $1), runs the
# end-to-end tests that bring the program into each pictured state, and lets them replace the
# pictures in docs/screenshots. Review the new pictures before committing them.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$top/build}
"$top/scripts/build.sh" "$dir"
mkdir -p "$dir/screenshots"
started="$dir/screenshots/.started"
touch "$started"
(cd "$dir" && SKRIBANDO_UPDATE_SCREENSHOTS=1 \
    ctest --output-on-failure -L e2e -R '^(ReadmeTour|PrintJourney)\.')

# A skipped test (no CUPS server for the print dialog, say) leaves its picture as it was.
stale=0
for name in palette-idle palette drawing-phase info-box print-dialog settings-dialog; do
    if [ ! "$dir/screenshots/$name.png" -nt "$started" ]; then
        echo "update-screenshots: $name.png was not taken again" >&2
        stale=1
    fi
done
exit $stale
