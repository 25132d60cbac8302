# Shared by run.sh and test.sh: install what is missing, then configure and build.
# Idempotent: installed packages, current npm modules and an up-to-date build are left alone.
set -euo pipefail

VELTRIX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${VELTRIX_BUILD_DIR:-$VELTRIX_ROOT/build}"

DEBIAN_PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-webengine-dev libqt6opengl6-dev libgl-dev
  libvlc-dev libvlc5 vlc-plugin-base vlc-plugin-video-output
  ffmpeg libimage-exiftool-perl
  libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
  xvfb xauth fonts-dejavu-core fonts-liberation
  nodejs npm
)

missing_packages() {
  local pkg
  for pkg in "${DEBIAN_PACKAGES[@]}"; do
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
  mapfile -t missing < <(missing_packages)
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

build_veltrix() {
  if [[ ! -f $BUILD_DIR/build.ninja ]]; then
    cmake -S "$VELTRIX_ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  fi
  cmake --build "$BUILD_DIR" --parallel "$(nproc)"
}

prepare_veltrix() {
  install_debian_packages
  install_npm_packages
  build_veltrix
}
