#!/usr/bin/env bash
# ui_stall case (d): the card's reads hang while a recording plays (the slow card library preloaded,
# its hang flag created), then the user stops and opens another recording, or opens another one at
# once. Figures: the longest time the UI thread did not turn its event loop (a 10 ms timer's longest
# gap, from the hang on), the time until the next recording (from a healthy folder) reports its
# first time, and the playback session's destruction with the hang still on. Medians of RUNS runs.
# Needs an X display (libVLC draws into native windows): run it under xvfb-run.
#   bench_ui_stall_hang [DIR]      RUNS=5 MBPS=3
set -euo pipefail
probe='@HANG_PROBE@'
card_lib='@CARD_LIB@'
dir=${1:-/tmp/veltrix-ui-stall-hang}
runs=${RUNS:-5}
mbps=${MBPS:-3}
card=$dir/card
clip=$card/20260101_120000_001.mp4
next=$dir/disk/20260101_130000_001.mp4
mkdir -p "$card" "$dir/disk"
# Noise keeps the stream large (about 1.3 MB/s), so the player is still reading when the card hangs.
[[ -f $clip ]] || ffmpeg -v error -y -f lavfi -i "testsrc2=s=320x240:r=25,noise=alls=100:allf=t" -t 12 \
  -c:v libx264 -preset ultrafast -pix_fmt yuv420p "$clip"
[[ -f $next ]] || ffmpeg -v error -y -f lavfi -i "testsrc2=s=320x240:r=25" -t 6 \
  -c:v libx264 -preset ultrafast -pix_fmt yuv420p "$next"
median() { sort -n | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
value() { tr ' ' '\n' | sed -n "s/^$1=//p"; }
echo "(d) the card's reads hang during playback (${mbps} MB/s card before the hang), ${runs} runs (medians)"
for action in stop open; do
  : >"$dir/runs-$action.txt"
  for ((i = 0; i < runs; ++i)); do
    rm -f "$dir/hang"
    LD_PRELOAD=$card_lib VELTRIX_SLOW_CARD_DIR=$card VELTRIX_SLOW_CARD_MBPS=$mbps \
      VELTRIX_SLOW_CARD_HANG_FLAG=$dir/hang "$probe" "$clip" "$next" "$dir/hang" "$action" 2>/dev/null |
      grep '^hang' | tee -a "$dir/runs-$action.txt" >&2 || true
  done
  rm -f "$dir/hang"
  label=$([[ $action == stop ]] && echo "stop, then the next recording" || echo "the next recording at once   ")
  printf '  %s: longest UI stall %s ms, next recording plays after %s ms, session ended in %s ms (%s of %s runs played it)\n' \
    "$label" "$(value gap_ms <"$dir/runs-$action.txt" | median)" "$(value next_ms <"$dir/runs-$action.txt" | median)" \
    "$(value exit_ms <"$dir/runs-$action.txt" | median)" "$(value next_ms <"$dir/runs-$action.txt" | grep -vc '^-1$' || true)" \
    "$(wc -l <"$dir/runs-$action.txt")"
done
