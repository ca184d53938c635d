#!/usr/bin/env bash
# Checks a built vexlor .deb without installing it: its contents and
# dependencies, the unpacked programs, the desktop entry, the AppStream data,
# the manual pages and lintian. Fails on the first problem; lintian's warnings
# are listed, its errors fail.
set -euo pipefail
deb=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "check-package: $*" >&2; exit 1; }

dpkg-deb -c "$deb" | awk '{print $6}' >"$root/contents"
for path in ./usr/bin/vexlor ./usr/bin/vexlor-sim ./usr/bin/vexlor-remote \
    ./usr/share/applications/vexlor.desktop ./usr/share/metainfo/org.vexlor.Vexlor.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/vexlor.svg ./usr/share/icons/hicolor/48x48/apps/vexlor.png \
    ./usr/share/man/man1/vexlor.1.gz ./usr/share/man/man1/vexlor-sim.1.gz ./usr/share/man/man1/vexlor-remote.1.gz \
    ./usr/share/doc/vexlor/README.md ./usr/share/doc/vexlor/copyright ./usr/share/doc/vexlor/changelog.gz; do
  grep -qxF "$path" "$root/contents" || fail "$path is not in the package"
done
depends=$(dpkg-deb -f "$deb" Depends)
for need in fonts-dseg libqt6core6 libqt6serialport6 libc6; do
  [[ $depends == *"$need"* ]] || fail "Depends lacks $need: $depends"
done

dpkg -x "$deb" "$root/tree"
version=$("$root/tree/usr/bin/vexlor" --version)
[[ $version == "Vexlor V "* ]] || fail "vexlor --version said: $version"
"$root/tree/usr/bin/vexlor-sim" --version | grep -q '^vexlor-sim ' || fail "vexlor-sim --version"
"$root/tree/usr/bin/vexlor-remote" --version | grep -q '^vexlor-remote ' || fail "vexlor-remote --version"

desktop-file-validate "$root/tree/usr/share/applications/vexlor.desktop"
appstreamcli validate --no-net "$root/tree/usr/share/metainfo/org.vexlor.Vexlor.metainfo.xml"
for page in "$root"/tree/usr/share/man/man1/*.1.gz; do
  LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" >/dev/null 2>"$root/man.err" || fail "man -l $(basename "$page") failed"
  [ ! -s "$root/man.err" ] || fail "man -l $(basename "$page") warned: $(cat "$root/man.err")"
done

# lintian refuses to fail on warnings alone only when asked; its tags go to stdout.
lintian --fail-on error --tag-display-limit 0 "$deb" | tee "$root/lintian" || fail "lintian found errors"
echo "check-package: $(basename "$deb") passed; lintian warnings: $(grep -c '^W:' "$root/lintian" || true)"
