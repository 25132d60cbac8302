#!/usr/bin/env bash
# ui_stall case (b): a 2 GB .TS opened from a simulated 30 MB/s card through the window's telemetry
# presenter (offscreen, with the G-sensor curve): the longest time the UI thread did not turn its
# event loop while the telemetry loaded, the load's time, and a second opening served from the kept
# telemetry. Medians of RUNS runs.
#   bench_ui_stall_open_ts [DIR]      MB=2048 MBPS=30 RUNS=3
set -euo pipefail
probe='@PROBE@'
card_lib='@CARD_LIB@'
dir=${1:-/tmp/veltrix-ui-stall}
mb=${MB:-2048}
mbps=${MBPS:-30}
runs=${RUNS:-3}
ts=$dir/card/DCIM/2024_06_01_130000_01.TS
mkdir -p "$(dirname "$ts")"
if [[ ! -f $ts ]] || (($(stat -c %s "$ts") < mb * 1048576)); then
  echo "making a ${mb} MB .TS in $ts" >&2
  "$probe" make-ts "$ts" "$mb"
fi
median() { sort -n | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
field() { sed -n "$1p" | tr ' ' '\n' | sed -n "s/^$2=//p"; }
: >"$dir/runs.txt"
for ((i = 0; i < runs; ++i)); do
  LD_PRELOAD=$card_lib VELTRIX_SLOW_CARD_DIR=$dir/card VELTRIX_SLOW_CARD_MBPS=$mbps \
    "$probe" open "$ts" "$ts" | grep '^open' | tee -a "$dir/runs.txt" >&2
done
size=$(($(stat -c %s "$ts") >> 20))
echo "(b) ${size} MB .TS from a ${mbps} MB/s card, ${runs} runs (medians)"
printf '  first opening: longest UI stall %s ms, telemetry shown after %s ms\n' \
  "$(awk 'NR%2==1' "$dir/runs.txt" | tr ' ' '\n' | sed -n 's/^gap_ms=//p' | median)" \
  "$(awk 'NR%2==1' "$dir/runs.txt" | tr ' ' '\n' | sed -n 's/^ms=//p' | median)"
printf '  opened again:  longest UI stall %s ms, telemetry shown after %s ms, %s card reads\n' \
  "$(awk 'NR%2==0' "$dir/runs.txt" | tr ' ' '\n' | sed -n 's/^gap_ms=//p' | median)" \
  "$(awk 'NR%2==0' "$dir/runs.txt" | tr ' ' '\n' | sed -n 's/^ms=//p' | median)" \
  "$(awk 'NR%2==0' "$dir/runs.txt" | tr ' ' '\n' | sed -n 's/^reads=//p' | median)"
