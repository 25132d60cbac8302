#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (CTest).
source "$(dirname "${BASH_SOURCE[0]}")/scripts/common.sh"
prepare_veltrix test
cd "$BUILD_DIR"
# The libVLC and web-map tests need an X display; everything runs inside one virtual screen,
# kept up between clients (-noreset) so that programs started one after another can connect.
export QTWEBENGINE_DISABLE_SANDBOX=1 QT_QUICK_BACKEND=software
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --disable-background-networking"
exec xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" ctest --output-on-failure --parallel "$(nproc)" "$@"
