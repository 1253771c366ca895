#!/bin/bash
# Builds the .deb from a configured and built tree into a scratch folder and checks what a
# Debian system will see: the libraries and fonts it depends on, the files it installs, the
# desktop entry as installed, and lintian's verdict (no errors, no warnings).
#   check-package.sh <build dir>
set -euo pipefail
export LC_ALL=C
build=$(realpath "$1")
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
  { cat "$out/cpack.log"; fail "cpack"; }
deb=$(ls "$out"/kaperfahrt_*_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for need in libsdl2-2.0-0 libsdl2-ttf-2.0-0 libqt6widgets6 libqt6gui6 libqt6core6 \
  libjpeg62-turbo libfontconfig1 libminiupnpc17 libnatpmp1 libc6 \
  fonts-dejavu-core fonts-dejavu-extra fonts-liberation2; do
  [[ ", $depends," == *", $need "* || ", $depends," == *", $need,"* ]] || fail "Depends lacks $need"
done

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's#^\./#/#' | grep -v '/$' | sort >"$out/files"
cat "$out/files"
expected="/usr/games/kaperfahrt
/usr/share/applications/kaperfahrt.desktop
/usr/share/doc/kaperfahrt/changelog.gz
/usr/share/doc/kaperfahrt/copyright
/usr/share/icons/hicolor/128x128/apps/kaperfahrt.png
/usr/share/icons/hicolor/16x16/apps/kaperfahrt.png
/usr/share/icons/hicolor/24x24/apps/kaperfahrt.png
/usr/share/icons/hicolor/32x32/apps/kaperfahrt.png
/usr/share/icons/hicolor/48x48/apps/kaperfahrt.png
/usr/share/icons/hicolor/64x64/apps/kaperfahrt.png
/usr/share/icons/hicolor/scalable/apps/kaperfahrt.svg
/usr/share/man/de/man6/kaperfahrt.6.gz
/usr/share/man/man6/kaperfahrt.6.gz
/usr/share/metainfo/example.kaperfahrt.Kaperfahrt.metainfo.xml"
diff <(echo "$expected") "$out/files" || fail "the file list differs"

dpkg-deb -x "$deb" "$out/root"
for size in 16 24 32 48 64 128; do
  file -b "$out/root/usr/share/icons/hicolor/${size}x$size/apps/kaperfahrt.png" |
    grep -q "PNG image data, $size x $size, 8-bit/color RGBA" || fail "icon $size"
done
desktop-file-validate "$out/root/usr/share/applications/kaperfahrt.desktop" || fail "desktop entry"
grep -qx 'Exec=kaperfahrt --desktop' "$out/root/usr/share/applications/kaperfahrt.desktop" ||
  fail "the entry does not start the game with --desktop"

# Lintian refuses nothing as root, but says so on stderr.
lintian "$deb" 2>/dev/null | tee "$out/lintian" || true
! grep -qE '^[EW]:' "$out/lintian" || fail "lintian"
echo "ok: package"
