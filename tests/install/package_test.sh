#!/usr/bin/env bash
# Builds the Debian package from the build folder with CPack (from what the build already made:
# the build itself is not run again), then checks what dpkg-deb says of it (name, version,
# dependencies, the files it installs) and that lintian finds no error. Lintian's warnings are
# printed.
#   package_test.sh <build folder> [cpack]
set -euo pipefail

build=$1
cpack=${2:-cpack}
id=io.github.halvorn.Veltrix
root=$(mktemp -d "${TMPDIR:-/tmp}/veltrix-package-XXXXXX")
trap 'rm -rf "$root"' EXIT

fail() {
  echo "package test: $*" >&2
  exit 1
}

for tool in dpkg-deb dpkg-shlibdeps lintian; do
  command -v "$tool" >/dev/null || fail "$tool missing (Debian: dpkg-dev, lintian)"
done
[[ -f $build/CPackConfig.cmake ]] || fail "no CPackConfig.cmake in $build (configured without the viewer?)"

# An empty generator keeps CPack from building the project first (the tests run on a finished
# build; several builds at once would fight over it).
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$root/out" \
  >"$root/cpack.log" 2>&1 || { cat "$root/cpack.log" >&2; fail "cpack failed"; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
arch=$(dpkg --print-architecture)
deb=$root/out/veltrix_${version}_${arch}.deb
[[ -f $deb ]] || fail "no veltrix_${version}_${arch}.deb; CPack wrote: $(ls "$root/out")"

# --- control fields ------------------------------------------------------------------------------
field() { dpkg-deb --field "$deb" "$1"; }
[[ $(field Package) == veltrix ]] || fail "package name is '$(field Package)'"
[[ $(field Version) == "$version" ]] || fail "version '$(field Version)' is not the project's $version"
[[ $(field Architecture) == "$arch" ]] || fail "architecture '$(field Architecture)'"
[[ $(field Maintainer) == *@* ]] || fail "no maintainer address: '$(field Maintainer)'"
[[ $(field Section) == video ]] || fail "section '$(field Section)'"
dpkg-deb --info "$deb" >"$root/info.txt" || fail "dpkg-deb --info failed"
grep -q '^ Description: viewer for the recordings of car dash cameras$' "$root/info.txt" ||
  fail "short description missing"
grep -q '^  Veltrix plays the front and rear recordings' "$root/info.txt" || fail "long description missing"

# One dependency per comma-separated entry, without its version.
depends=$(field Depends | tr ',' '\n' | sed 's/^ *//; s/ *(.*//')
for pkg in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6webenginewidgets6 \
  libvlc5 vlc-plugin-base vlc-plugin-video-output libqt6webenginecore6-bin \
  fonts-dejavu-core fonts-liberation; do
  grep -qx "$pkg" <<<"$depends" || fail "Depends lacks $pkg: $(field Depends)"
done
# Taken from the binaries, so they carry the versions the build linked against.
field Depends | grep -q 'libqt6core6 (>= ' || fail "the Qt dependency has no version (shlibdeps not run?)"
grep -qx fonts-noto-cjk <<<"$(field Recommends | tr ',' '\n' | sed 's/^ *//')" ||
  fail "Recommends lacks fonts-noto-cjk: $(field Recommends)"

# --- files ---------------------------------------------------------------------------------------
dpkg-deb --contents "$deb" >"$root/contents.txt" || fail "dpkg-deb --contents failed"
files=$(awk '{ print $NF }' "$root/contents.txt")
expected=(
  ./usr/bin/veltrix ./usr/bin/veltrix-probe
  ./usr/share/veltrix/res/OpenLayer.html ./usr/share/veltrix/res/gmap.html ./usr/share/veltrix/res/BMap.html
  ./usr/share/veltrix/res/leaflet/leaflet.js ./usr/share/veltrix/res/leaflet/leaflet.css
  ./usr/share/applications/$id.desktop ./usr/share/metainfo/$id.metainfo.xml
  ./usr/share/icons/hicolor/scalable/apps/$id.svg
  ./usr/share/doc/veltrix/copyright ./usr/share/doc/veltrix/changelog.gz
)
for size in 48 128 256; do
  expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for file in "${expected[@]}"; do
  grep -qx -- "$file" <<<"$files" || fail "the package lacks $file"
done
grep -q '^-rwxr-xr-x root/root .* ./usr/bin/veltrix$' "$root/contents.txt" ||
  fail "the viewer is not an executable owned by root: $(grep ' ./usr/bin/veltrix$' "$root/contents.txt")"
stray=$(grep -v -e '^\./usr/bin/' -e '^\./usr/share/' -e '^\./usr/$' -e '^\./$' <<<"$files" || true)
[[ -z $stray ]] || fail "files outside /usr/bin and /usr/share: $stray"
grep -q -e '/build/' -e 'node_modules' <<<"$files" && fail "build-tree paths in the package"

# The programs are stripped: their debugging sections stay in the build.
mkdir "$root/tree"
dpkg-deb --extract "$deb" "$root/tree"
for program in veltrix veltrix-probe; do
  if readelf -S "$root/tree/usr/bin/$program" | grep -q '\.debug_info'; then
    fail "$program is not stripped"
  fi
done

# --- lintian -------------------------------------------------------------------------------------
lintian --tag-display-limit 0 "$deb" >"$root/lintian.txt" 2>&1 || true
errors=$(grep '^E:' "$root/lintian.txt" || true)
warnings=$(grep '^W:' "$root/lintian.txt" || true)
[[ -n $warnings ]] && printf 'package test: lintian warnings:\n%s\n' "$warnings"
[[ -z $errors ]] || fail "lintian errors:
$errors"
size=$(stat -c %s "$deb")
echo "package test: $(basename "$deb"), $size bytes, $(wc -l <<<"$files") entries, lintian: no error, $(grep -c . <<<"$warnings") warnings"
