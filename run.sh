#!/usr/bin/env bash
# Installs what is missing, builds, makes a demo card once and starts the viewer on it.
source "$(dirname "${BASH_SOURCE[0]}")/scripts/common.sh"
prepare_veltrix run

DEMO_DIR="$VELTRIX_ROOT/demo"
WORK_DIR="$VELTRIX_ROOT/run"
mkdir -p "$WORK_DIR"
if [[ -x $BUILD_DIR/tools/demo_card/veltrix-demo-card && ! -f $DEMO_DIR/.complete ]]; then
  "$BUILD_DIR/tools/demo_card/veltrix-demo-card" "$DEMO_DIR" && touch "$DEMO_DIR/.complete"
fi
# The viewer keeps its settings in the working folder; point its last folder at the demo card.
if [[ ! -f $WORK_DIR/Veltrix.ini ]]; then
  printf '[UI]\r\nLANGID=ENG\r\nFolder=%s\r\n' "$DEMO_DIR" >"$WORK_DIR/Veltrix.ini"
fi
cd "$WORK_DIR"
# Without a folder of the caller's, the viewer opens the demo card and plays it at once.
if [[ $# -eq 0 && -f $DEMO_DIR/.complete ]]; then
  set -- "$DEMO_DIR"
fi
exec "$BUILD_DIR/veltrix" "$@"
