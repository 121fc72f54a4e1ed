#!/usr/bin/env bash
# Builds the Debian package (scripts/dev.sh package), installs it as a person would, checks
# the installed programs and desktop entry, and removes the package again, so the machine
# is left as it was found.
set -euo pipefail
cd "$(dirname "$0")/.."

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

fail() {
  echo "check-package: $*" >&2
  exit 1
}

bash scripts/dev.sh package
package=$(ls build-pkg/quillon_*.deb)
version=$(dpkg-deb --field "$package" Version)
# Qt's plugins are loaded at run time, so only the package can say it needs them.
for plugin in qt6-qpa-plugins qt6-image-formats-plugins libqt6svg6; do
  dpkg-deb --field "$package" Depends | grep -qw "$plugin" || fail "the package does not depend on $plugin"
done

# --reinstall: a package of the same version left behind must not hide this build.
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --reinstall "./$package"
work=$(mktemp -d)
trap 'rm -rf "$work"; as_root env DEBIAN_FRONTEND=noninteractive apt-get remove -y quillon' EXIT

[ "$(/usr/bin/quillon-fx --version)" = "quillon-fx $version" ] ||
  fail "quillon-fx --version does not print 'quillon-fx $version'"

# Two pixels, blue-green-red-reserved, brightened by 40 on every colour.
printf '\x0a\x14\x1e\x00\xc8\xdc\xf0\x00' > "$work/in.raw"
printf '\x32\x3c\x46\x00\xf0\xff\xff\x00' > "$work/expected.raw"
/usr/bin/quillon-fx "$work/in.raw" "$work/out.raw" --size 2x1 incpal:6,40
cmp "$work/out.raw" "$work/expected.raw" || fail "quillon-fx incpal:6,40 gave other pixels"
/usr/bin/quillon-fx "$work/in.raw" "$work/out.png" --size 2x1 incpal:6,40
[ "$(head -c 4 "$work/out.png" | od -An -tx1 | tr -d ' ')" = "89504e47" ] ||
  fail "quillon-fx did not write a PNG"

# A desktop entry the desktop takes as it is draws no remark at all, not even a hint.
remarks=$(desktop-file-validate /usr/share/applications/org.quillon.Quillon.desktop 2>&1) &&
  [ -z "$remarks" ] || fail "desktop-file-validate: $remarks"
appstreamcli validate --no-net /usr/share/metainfo/org.quillon.Quillon.metainfo.xml
for file in /usr/share/icons/hicolor/{scalable/apps/quillon.svg,256x256/apps/quillon.png} \
  /usr/share/man/man1/quillon-fx.1.gz /usr/share/doc/quillon/{copyright,README.md}; do
  [ -s "$file" ] || fail "$file is not installed"
done

# The installed program starts and keeps running until it is stopped.
status=0
QT_QPA_PLATFORM=offscreen HOME="$work" timeout 5 /usr/bin/quillon || status=$?
[ "$status" -eq 124 ] || fail "/usr/bin/quillon stopped by itself with status $status"
echo "check-package: $package installs, runs and validates"
