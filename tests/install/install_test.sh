#!/usr/bin/env bash
# Installs the viewer into a temporary prefix as a user would, checks the installed tree, the
# desktop entry and the AppStream metadata, then starts the installed program from an empty
# folder with a new user's home and checks that it shows its window, takes its map pages from
# the prefix, and writes nothing into the working folder or the home folder's root.
#   install_test.sh <build folder> [cmake]
set -euo pipefail

build=$1
cmake=${2:-cmake}
id=io.github.halvorn.Veltrix
root=$(mktemp -d "${TMPDIR:-/tmp}/veltrix-install-XXXXXX")
prefix=$root/usr
viewer_pid=

cleanup() {
  if [[ -n $viewer_pid ]] && kill -0 "$viewer_pid" 2>/dev/null; then
    kill "$viewer_pid" 2>/dev/null || true
    sleep 1
    kill -9 "$viewer_pid" 2>/dev/null || true
  fi
  rm -rf "$root"
}
trap cleanup EXIT

fail() {
  echo "install test: $*" >&2
  for log in "$root"/trace.log "$root"/viewer.err; do
    [[ -s $log ]] && { echo "--- $(basename "$log") (last lines)" >&2; tail -n 30 "$log" >&2; }
  done
  exit 1
}

# Width x height from a PNG's header.
png_size() {
  od -An -tu1 -j16 -N8 "$1" | awk '{ print $1*16777216 + $2*65536 + $3*256 + $4 "x" $5*16777216 + $6*65536 + $7*256 + $8 }'
}

# --- the installed tree -------------------------------------------------------------------------
"$cmake" --install "$build" --prefix "$prefix" >"$root/install.log" || fail "cmake --install failed"

expected=(
  bin/veltrix bin/veltrix-probe bin/veltrix-export
  share/veltrix/res/OpenLayer.html share/veltrix/res/gmap.html share/veltrix/res/BMap.html
  share/veltrix/res/track_bridge.js share/veltrix/res/plain_map.js share/veltrix/res/gmap_ufo.png
  share/veltrix/res/leaflet/leaflet.js share/veltrix/res/leaflet/leaflet.css
  share/icons/hicolor/scalable/apps/$id.svg
  share/applications/$id.desktop share/metainfo/$id.metainfo.xml
)
for size in 48 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for file in "${expected[@]}"; do
  [[ -f $prefix/$file ]] || fail "not installed: $file"
done
[[ -x $prefix/bin/veltrix && -x $prefix/bin/veltrix-probe ]] || fail "programs installed without execute permission"
[[ ! -e $prefix/bin/res ]] || fail "map pages installed beside the program instead of under share/"
for size in 48 128 256; do
  got=$(png_size "$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png")
  [[ $got == "${size}x${size}" ]] || fail "hicolor ${size}x${size} icon is $got"
done
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/$id.svg" || fail "scalable icon is not an SVG"

# --- desktop entry and AppStream metadata -------------------------------------------------------
command -v desktop-file-validate >/dev/null || fail "desktop-file-validate missing (Debian: desktop-file-utils)"
command -v appstreamcli >/dev/null || fail "appstreamcli missing (Debian: appstream)"
desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop entry not valid"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >"$root/appstream.log" ||
  { cat "$root/appstream.log" >&2; fail "AppStream metadata not valid"; }
entry=$prefix/share/applications/$id.desktop
grep -qx 'Exec=veltrix %f' "$entry" || fail "desktop entry does not start 'veltrix %f'"
grep -qx "Icon=$id" "$entry" || fail "desktop entry names another icon"
grep -qx 'Categories=AudioVideo;Video;Player;' "$entry" || fail "desktop entry categories"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$prefix/share/metainfo/$id.metainfo.xml" ||
  fail "metadata does not launch the desktop entry"

# --- the installed probe ------------------------------------------------------------------------
mkdir -p "$root/card"
"$prefix/bin/veltrix-probe" --scan "$root/card" >"$root/probe.out" 2>&1 || fail "installed veltrix-probe --scan failed: $(cat "$root/probe.out")"

# --- the installed viewer, started as from the desktop menu -------------------------------------
if [[ -z ${DISPLAY:-} ]]; then
  echo "install test: no X display; the installed tree was checked, the viewer not started" >&2
  exit 77
fi
home=$root/home
work=$root/work
mkdir -p "$home" "$work"
(
  cd "$work"
  # The program is found on PATH, as the desktop entry's Exec line finds it; nothing points it at
  # the build or source tree.
  exec env -u VELTRIX_RES_DIR -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_CACHE_HOME \
    HOME="$home" PATH="$prefix/bin:/usr/bin:/bin" VELTRIX_TRACE=1 QT_QPA_PLATFORM=xcb \
    veltrix >"$root/trace.log" 2>"$root/viewer.err"
) &
viewer_pid=$!

# The window is up when the start-up has shown it and the X server has it mapped by its title.
shown=false
for _ in $(seq 1 120); do
  kill -0 "$viewer_pid" 2>/dev/null || fail "the installed viewer ended during start-up"
  if grep -q 'COrvexApp::InitInstance \*\*\*\*\*\*\*\*\*\* 444' "$root/trace.log" &&
    xwininfo -root -tree 2>/dev/null | grep -q '"Halvorn Veltrix"'; then
    shown=true
    break
  fi
  sleep 0.5
done
$shown || fail "no window of the installed viewer within 60 s"
xwininfo -name "Halvorn Veltrix" | grep -q 'Map State: IsViewable' || fail "the viewer's window is not viewable"

pages=$(sed -n 's/^==>> map pages in //p' "$root/trace.log" | head -1)
[[ $(realpath -m "$pages") == $(realpath "$prefix/share/veltrix/res") ]] ||
  fail "map pages taken from '${pages}' instead of the prefix"
sleep 2 # the map page's first load
grep -q 'OnLoadError' "$root/trace.log" && fail "a map page failed to load"
kill -0 "$viewer_pid" 2>/dev/null || fail "the installed viewer ended after showing its window"

kill "$viewer_pid"
wait "$viewer_pid" 2>/dev/null || true
viewer_pid=

[[ -z $(ls -A "$work") ]] || fail "the viewer wrote into its working folder: $(ls -A "$work")"
[[ -d $home/.cache/veltrix/http ]] || fail "the map's tile cache is not in ~/.cache/veltrix/http"
stray=$(find "$home" -maxdepth 1 -mindepth 1 ! -name '.config' ! -name '.local' ! -name '.cache' -printf '%f ')
[[ -z $stray ]] || fail "the viewer wrote into the home folder's root: $stray"
echo "install test: installed into $prefix, window shown, map pages from the prefix"
