#!/usr/bin/env bash
# The desktop metadata and the Debian package, checked with their own validators; then, where
# the test runs as root, the package installed for real, started, and removed again.
#
#   check_package.sh <source dir> <build dir> <version> <application id>
set -euo pipefail
source_dir=$1 build_dir=$2 version=$3 app_id=$4
work=$(mktemp -d)
installed=
cleanup() {
    status=$?
    stop_melkora
    if [ -n "$installed" ]; then
        dpkg --purge melkora >/dev/null 2>&1 || true
    fi
    rm -rf "$work"
    exit $status
}
trap cleanup EXIT
. "$source_dir/tests/e2e/lib.sh"

desktop=$source_dir/app/$app_id.desktop
metainfo=$source_dir/app/$app_id.metainfo.xml

echo "== desktop-file-validate"
desktop-file-validate "$desktop"

echo "== appstreamcli validate"
appstreamcli validate --no-net "$metainfo" | tee "$work/appstream"
if grep -E '^(E|W):' "$work/appstream"; then
    fail "the metainfo has errors or warnings"
fi

echo "== metadata agrees with the program"
# The newest release everywhere that lists releases is the one the build names.
newest=(
    "AppStream $(grep -m1 -o '<release version="[^"]*"' "$metainfo" | cut -d'"' -f2)"
    "debian/changelog $(sed -n '1s/^melkora (\(.*\)-[0-9]*).*/\1/p' "$source_dir/packaging/debian/changelog")"
    "CHANGELOG.md $(grep -m1 -o '^## \[[0-9][^]]*' "$source_dir/CHANGELOG.md" | cut -c5-)"
    "melkora.1 $(sed -n '1s/.*"Melkora \([^"]*\)".*/\1/p' "$source_dir/app/melkora.1")"
)
for entry in "${newest[@]}"; do
    [ "${entry#* }" = "$version" ] || fail "the newest release in ${entry% *} is not $version"
done
homepage=$(sed -n 's/.*kHomePage\[\] = u"\([^"]*\)".*/\1/p' "$build_dir/generated/app/version.h")
grep -q "<url type=\"homepage\">$homepage</url>" "$metainfo" ||
    fail "the metainfo's homepage is not the link's address $homepage"
grep -q "^Icon=$app_id\$" "$desktop" || fail "the desktop entry's icon is not $app_id"

echo "== cpack"
(cd "$work" && cpack --config "$build_dir/CPackConfig.cmake" -B "$work" >/dev/null)
deb=$(ls "$work"/melkora_*.deb)
echo "built $(basename "$deb")"
dpkg-deb -f "$deb" Depends | grep -q 'fonts-liberation2' || fail "no dependency on fonts-liberation2"
dpkg-deb -f "$deb" Recommends | grep -q 'xdg-utils' || fail "xdg-utils is not recommended"

echo "== hardening-check, the built program and the packaged one"
# Stack-clash protection shows only in a function whose frame could jump the guard page; where
# the program has none, hardening-check cannot tell, and says "unknown". The linker marks a
# program as built for control-flow protection only when every object in it is, the C library's
# start files too, which Debian 12's are not: there the mark is not asked for (our own code
# carries the instructions all the same). hardening-check reads x86's mark alone: of a package
# for another processor (arm64), it is not asked either.
arch=$(dpkg-deb -f "$deb" Architecture)
skip=--nocfprotection
if [ "$arch" = amd64 ] &&
   readelf -n "$(c++ -print-file-name=Scrt1.o)" | grep -q 'x86 feature: IBT, SHSTK'; then
    skip=
fi
dpkg-deb -x "$deb" "$work/root"
for program in "$build_dir/app/melkora" "$work/root/usr/bin/melkora"; do
    hardening-check $skip "$program" || fail "$program lacks a protection"
done

echo "== lintian"
lintian -I --pedantic "$deb" 2>&1 | grep -v 'running with root privileges' | tee "$work/lintian" || true
if grep -E '^E:' "$work/lintian"; then
    fail "lintian reports errors"
fi
if grep -E 'hardening-|binary-has-unneeded-section' "$work/lintian"; then
    fail "the packaged program is not built or stripped as Debian's are"
fi

if [ "$arch" != "$(dpkg --print-architecture)" ]; then
    echo "SKIPPED: a package for $arch is not installed on this machine"
    echo "package: 1 passed, 0 failed, 1 skipped"
    exit 0
elif [ "$(id -u)" -ne 0 ]; then
    echo "SKIPPED: installing the package needs root"
    echo "package: 1 passed, 0 failed, 1 skipped"
    exit 0
fi

echo "== dpkg -i"
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' | grep -v '/$' >"$work/files"
installed=yes
if ! dpkg -i "$deb" >/dev/null; then
    DEBIAN_FRONTEND=noninteractive apt-get -f install -y -qq </dev/null >/dev/null
fi
dpkg-query -W -f='${db:Status-Status}' melkora | grep -q installed || fail "melkora is not installed"
[ -x /usr/bin/melkora ] || fail "no /usr/bin/melkora"

echo "== the installed program"
xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" bash -c '
    set -euo pipefail
    work='"$work"'
    . '"$source_dir"'/tests/e2e/lib.sh
    start_melkora /usr/bin/melkora
    xprop -id "$window" WM_NAME >"$work/name"
    xprop -id "$window" _NET_WM_ICON >"$work/icon"
    stop_melkora
'
grep -q '"Melkora"' "$work/name" || fail "the window is called $(cat "$work/name")"
grep -q 'Icon (16 x 16)' "$work/icon" || fail "the window has no 16 x 16 icon"

echo "== dpkg --purge"
dpkg --purge melkora >/dev/null
installed=
if dpkg-query -W melkora >/dev/null 2>&1 && dpkg-query -W -f='${db:Status-Status}' melkora | grep -q installed; then
    fail "melkora is still installed"
fi
while read -r file; do
    [ ! -e "$file" ] || fail "$file is left behind"
done <"$work/files"

echo "package: 1 passed, 0 failed"
