# Shared by run.sh and test.sh: install what is missing, then configure and build.
# Idempotent: installed packages, current npm modules and an up-to-date build are left alone.
#
#   prepare_veltrix run    what building and running the viewer needs (and the demo card)
#   prepare_veltrix test   that, plus the test tools, configured with the tests on
#
# Environment:
#   VELTRIX_BUILD_DIR   the build folder (default: <repository>/build). Any folder works; a
#                       folder configured before is reconfigured in place (never wiped) when the
#                       options this script passes differ from the ones in its cache.
set -euo pipefail

VELTRIX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${VELTRIX_BUILD_DIR:-$VELTRIX_ROOT/build}"

# Building and running: compiler and build tools, Qt with the web engine, libVLC, the fonts the
# skins name and the CJK fonts Chinese, Japanese and Korean texts fall back to (DejaVu covers the
# Latin and Cyrillic languages), npm for Leaflet; ffmpeg makes the clips of the demo card that
# run.sh starts on.
RUN_PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-webengine-dev libqt6opengl6-dev libgl-dev
  libvlc-dev libvlc5 vlc-plugin-base vlc-plugin-video-output
  fonts-dejavu-core fonts-liberation fonts-noto-cjk
  ffmpeg
  nodejs npm
)
# Testing adds GoogleTest, the virtual X display, exiftool for the scan benchmark and clang with
# its sanitizer and libFuzzer runtimes for the fuzz targets (the versions Debian's clang names).
# The install test validates the desktop entry and AppStream metadata and looks for the window;
# the random-input run and the start-up figures drive the window with xdotool. The package test
# checks the .deb with lintian (dpkg-shlibdeps comes with build-essential's dpkg-dev).
TEST_PACKAGES=(
  libgtest-dev libgmock-dev
  xvfb xauth
  libimage-exiftool-perl
  clang libclang-rt-dev
  desktop-file-utils appstream x11-utils lintian
  xdotool
)

missing_packages() {
  local pkg
  for pkg in "$@"; do
    # nodejs/npm may come from elsewhere (nvm, NodeSource): a working npm is enough.
    if [[ $pkg == nodejs || $pkg == npm ]] && command -v npm >/dev/null 2>&1; then
      continue
    fi
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      printf '%s\n' "$pkg"
    fi
  done
}

install_debian_packages() {
  local missing
  mapfile -t missing < <(missing_packages "$@")
  [[ ${#missing[@]} -eq 0 ]] && return 0
  if [[ $(id -u) -ne 0 ]]; then
    echo "Missing Debian packages. Run this, then start again:" >&2
    echo "  sudo apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

install_npm_packages() {
  cd "$VELTRIX_ROOT"
  [[ -f package-lock.json ]] || return 0
  local stamp=node_modules/.package-lock.json
  if [[ -f $stamp && $stamp -nt package-lock.json ]]; then
    return 0
  fi
  npm ci --no-audit --no-fund --loglevel=error
}

# The value of NAME in the build folder's CMake cache (empty when unset or not configured).
cached_option() {
  local cache="$BUILD_DIR/CMakeCache.txt"
  [[ -f $cache ]] || return 0
  sed -n "s/^$1:[A-Z]*=//p" "$cache" | head -1
}

# True when the build folder must be configured: never configured, or an option given as
# -DNAME=VALUE differs from its cached value.
needs_configure() {
  [[ -f $BUILD_DIR/build.ninja && -f $BUILD_DIR/CMakeCache.txt ]] || return 0
  local option name value
  for option in "$@"; do
    [[ $option == -D*=* ]] || continue
    name="${option#-D}"
    value="${name#*=}"
    name="${name%%=*}"
    name="${name%%:*}"
    [[ $(cached_option "$name") == "$value" ]] || return 0
  done
  return 1
}

build_veltrix() {
  local options=("$@")
  if needs_configure "${options[@]}"; then
    if [[ -f $BUILD_DIR/CMakeCache.txt ]]; then
      cmake -S "$VELTRIX_ROOT" -B "$BUILD_DIR" "${options[@]}"
    else
      cmake -S "$VELTRIX_ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}"
    fi
  fi
  cmake --build "$BUILD_DIR" --parallel "$(nproc)"
}

prepare_veltrix() {
  local mode="${1:-run}"
  if [[ $mode == test ]]; then
    install_debian_packages "${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
    install_npm_packages
    build_veltrix -DBUILD_TESTING=ON
  else
    install_debian_packages "${RUN_PACKAGES[@]}"
    install_npm_packages
    # A folder already configured with the tests keeps them (its test programs stay current);
    # a new one is configured without, so GoogleTest is not needed to run the viewer.
    if [[ -f $BUILD_DIR/CMakeCache.txt ]]; then
      build_veltrix
    else
      build_veltrix -DBUILD_TESTING=OFF
    fi
  fi
}
