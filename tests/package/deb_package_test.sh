#!/usr/bin/env bash
# Builds the Debian package from a build folder as the README says and checks it: the files
# it installs, its control data with the dependencies dpkg-shlibdeps found, and its desktop
# entry, software-centre description and manual page as their own validators see them.
# Usage: deb_package_test.sh BUILD_FOLDER VERSION
set -euo pipefail
build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    echo "FAIL: cpack -G DEB" >&2
    exit 1
fi
deb=$work/skribando_${version}_amd64.deb
[ -f "$deb" ] || { echo "FAIL: no $(basename "$deb") among: $(ls "$work")" >&2; exit 1; }

metainfo=usr/share/metainfo/org.example.brenholtsoft.skribando.metainfo.xml
contents=$(dpkg-deb -c "$deb")
for file in usr/lib/skribando/skribando usr/lib/skribando/Hilfe/hilfe-fr.html \
    usr/share/applications/skribando.desktop usr/share/icons/hicolor/256x256/apps/skribando.png \
    "$metainfo" usr/share/man/man1/skribando.1.gz usr/share/doc/skribando/copyright; do
    grep -Eq "^-[-rwx]{9} root/root .* \./$file\$" <<<"$contents" || fail "no $file owned by root"
done
grep -q ' \./usr/bin/skribando -> \.\./lib/skribando/skribando$' <<<"$contents" ||
    fail "usr/bin/skribando is no link to the program"
if grep -Ev ' \./(usr/|$)' <<<"$contents"; then
    fail "files outside /usr"
fi

info=$(dpkg-deb -I "$deb")
for field in "Package: skribando" "Version: $version" "Architecture: amd64" "Section: graphics"; do
    grep -q "^ $field\$" <<<"$info" || fail "control field '$field' missing"
done
depends=$(sed -n 's/^ Depends: //p' <<<"$info")
for package in libc6 libqt6widgets6 libqt6printsupport6 libpng16-16 libjpeg62-turbo libxcb-shm0 \
    qt6-qpa-plugins; do
    grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done
grep -q 'libc6 (>= ' <<<"$depends" || fail "Depends has no versions worked out: $depends"
recommends=$(sed -n 's/^ Recommends: //p' <<<"$info")
grep -Eq "(^|, )qt6-wayland( |,|$)" <<<"$recommends" || fail "Recommends lacks qt6-wayland: $recommends"

dpkg-deb -x "$deb" "$work/root"
appstreamcli validate --no-net --pedantic "$work/root/$metainfo" >"$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log" >&2; fail "appstreamcli validate"; }
entry=$work/root/usr/share/applications/skribando.desktop
notes=$(desktop-file-validate "$entry" 2>&1) && [ -z "$notes" ] || fail "desktop-file-validate: $notes"
grep -Pzq '\[Desktop Action lancer\]\nName=Lancer le dessin\nExec=skribando --lancer\n' "$entry" ||
    fail "no desktop action Lancer le dessin"
warnings=$(zcat "$work/root/usr/share/man/man1/skribando.1.gz" | groff -man -ww -z -Tutf8 2>&1)
[ -z "$warnings" ] || fail "manual page: $warnings"
usage=$("$work/root/usr/lib/skribando/skribando" --help) || fail "the packed program does not run"
grep -q '^Usage : skribando' <<<"$usage" || fail "the packed program's usage: $usage"

[ "$failures" -eq 0 ] || exit 1
echo "$(basename "$deb"): files, control data, desktop entry, metainfo and manual page are sound"
