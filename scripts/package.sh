#!/usr/bin/env bash
# Builds the Debian package (cpack -G DEB), installs it on this machine with
# apt-get, checks the installed program and files, and removes it again.
# Exits non-zero at the first check that fails. Needs root or sudo.
#
# Usage: scripts/package.sh [build-dir]   (default: build-package)
# Environment: KEEP_INSTALLED=1 leaves the package installed.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build-package}

# shellcheck source=scripts/packages.sh
source scripts/packages.sh
ensure_packages cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev libgl-dev \
  python3 dpkg-dev file desktop-file-utils appstream shared-mime-info man-db groff-base
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

step() { echo "--- $1"; }
fail() { echo "package.sh: FAILED: $1" >&2; exit 1; }

# --- build only what is installed, then the package ----------------------------------
step "build ($BUILD_DIR, Release, prefix /usr)"
# CMAKE_SKIP_INSTALL_ALL_DEPENDENCY: cpack installs what is built without
# building every other target (tests, benchmarks, screenshots) first.
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
      -DBUILD_TESTING=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build "$BUILD_DIR" --parallel "$(nproc)" --target kpr5 kpr5-radio-sim
rm -f "$BUILD_DIR"/kpr5_*.deb
(cd "$BUILD_DIR" && cpack -G DEB >cpack.log 2>&1) || { cat "$BUILD_DIR/cpack.log"; fail "cpack"; }
debs=("$BUILD_DIR"/kpr5_*.deb)
[ -f "${debs[0]}" ] || fail "cpack made no kpr5_*.deb"
DEB=$(realpath "${debs[0]}")
dpkg-deb --info "$DEB" | sed -n '/Package:/,$p'
depends=$(dpkg-deb --field "$DEB" Depends)
echo "$depends" | grep -q "libqt6core6" || fail "Depends does not name the Qt libraries: $depends"

# --- install ---------------------------------------------------------------------------
step "install $(basename "$DEB")"
# A package left from an earlier run would hide files this one lacks.
if dpkg-query -W -f='${Status}' kpr5 2>/dev/null | grep -q "install ok installed"; then
  $sudo apt-get remove -y -qq kpr5 >/dev/null
fi
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$DEB" >/dev/null
mapfile -t installed < <(dpkg -L kpr5 | while read -r f; do [ -f "$f" ] && echo "$f"; done)
printf '  %s\n' "${installed[@]}"

# --- check what was installed ----------------------------------------------------------
step "kpr5 --version and --help from PATH, without a display"
hash -r
[ "$(command -v kpr5)" = /usr/bin/kpr5 ] || fail "kpr5 is not /usr/bin/kpr5 on PATH"
[ "$(command -v kpr5-radio-sim)" = /usr/bin/kpr5-radio-sim ] || fail "kpr5-radio-sim not on PATH"
version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM kpr5 --version) \
  || fail "kpr5 --version exits non-zero"
want="kpr5 $(dpkg-deb --field "$DEB" Version)"
[ "$version" = "$want" ] || fail "kpr5 --version says \"$version\", the package is \"$want\""
echo "  $version"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM kpr5 --help | grep -q "^Usage:" \
  || fail "kpr5 --help"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM kpr5-radio-sim --help | grep -q -- "--link" \
  || fail "kpr5-radio-sim --help"

step "desktop entry, metainfo, icons"
desktop=/usr/share/applications/io.github.kpr5.kpr5.desktop
metainfo=/usr/share/metainfo/io.github.kpr5.kpr5.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$metainfo" || fail "appstreamcli validate"
for size in 16 32 48 64 128 256; do
  f=/usr/share/icons/hicolor/${size}x${size}/apps/kpr5.png
  file "$f" | grep -q "PNG image data, $size x $size" || fail "$f is not a $size px PNG"
done
[ -f /usr/share/icons/hicolor/scalable/apps/kpr5.svg ] || fail "no scalable icon"

step "manual pages render without warnings"
for page in kpr5 kpr5-radio-sim; do
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
             man --warnings -E UTF-8 -l -Tutf8 -Z "/usr/share/man/man1/$page.1" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man $page: $warnings"
  man -P cat "$page" 2>/dev/null | grep -q "^NAME" || fail "man $page does not find the page"
done

step "MIME types"
mime=/usr/share/mime/packages/kpr5.xml
python3 -c "import sys, xml.dom.minidom as m; m.parse(sys.argv[1])" "$mime" \
  || fail "$mime is not well-formed"
# The shared MIME database, as the package's trigger rebuilt it, knows both types.
for t in application/x-kpr5-data application/x-kpr5-font; do
  [ -f "/usr/share/mime/${t}.xml" ] || fail "the MIME database has no $t"
done
grep -q "application/x-kpr5-data.*\*\.r5\|\*\.r5.*application/x-kpr5-data" /usr/share/mime/globs2 \
  || fail "the MIME database does not map *.r5 to application/x-kpr5-data"
grep -q "^MimeType=application/x-kpr5-data;application/x-kpr5-font;" "$desktop" \
  || fail "the desktop entry does not open both types"

step "documentation"
for f in /usr/share/doc/kpr5/README.md /usr/share/doc/kpr5/LICENSE; do
  [ -s "$f" ] || fail "$f missing"
done

# --- remove ----------------------------------------------------------------------------
if [ "${KEEP_INSTALLED:-}" = 1 ]; then
  echo "package.sh: $DEB installed and checked (left installed)"
  exit 0
fi
step "remove"
$sudo apt-get remove -y -qq kpr5 >/dev/null
! dpkg-query -W -f='${Status}' kpr5 2>/dev/null | grep -q "install ok installed" \
  || fail "kpr5 still installed"
left=()
for f in "${installed[@]}"; do [ -e "$f" ] && left+=("$f"); done
[ ${#left[@]} -eq 0 ] || fail "left behind: ${left[*]}"
[ ! -e /usr/share/mime/application/x-kpr5-data.xml ] || fail "the MIME database still has x-kpr5-data"
hash -r
! command -v kpr5 >/dev/null || fail "kpr5 still on PATH"
echo "package.sh: $(basename "$DEB") built, installed, checked (${#installed[@]} files) and removed"
