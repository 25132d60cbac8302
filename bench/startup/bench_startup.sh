#!/usr/bin/env bash
# Start-up and memory figures of the real viewer on the demo card, on a virtual X display of its
# own. Prints figures; not a test.
#
#   bench_startup [--runs N] [--play S] [--recordings N] [--per-recording S] [--map K]
#                 [--display N] [--steps FILE] [--viewer PATH] [--keep]
#     --runs N            start-ups timed (default 5): median, fastest and slowest; 0: none
#     --play S            seconds of playing before the first memory figure (default 10)
#     --recordings N      recordings played in turn with next (Page Down) (default 100)
#     --per-recording S   seconds each of them plays (default 2)
#     --map K             map page: 0 gmap.html (default), 1 BMap.html, 2 OpenLayer.html
#     --display N         X display number for the virtual server (default: the first free one)
#     --steps FILE        write one line per recording played: PSS of the viewer and the helpers
#     --viewer PATH       another build of the viewer, to compare with (default: this build's)
#     --keep              keep the work folder (card, trace lines with their times)
#
# Times are taken from the exec of the viewer to:
#   window      the main window viewable on the X display (xdotool polling every 10 ms)
#   opened      the first recording's telemetry read (its "readGpsTrackInfo" trace line)
#   video out   libVLC's video output started for it (its first line on standard error)
#   time report the first time report of a player: a trace line matching $TIME_REPORT_PATTERN
#               (default below); when the viewer prints none, the figure is "not observable".
# Resident memory is VmRSS from /proc: the viewer, its QtWebEngine helper processes (every
# descendant) and the sum; PSS (smaps_rollup) as well, which counts shared pages once.
set -uo pipefail

viewer=@VELTRIX_VIEWER@
card_maker=@VELTRIX_DEMO_CARD@
res_dir=@VELTRIX_RES_DIR@
runs=5
play=10
recordings=100
per_recording=2
map_kind=0
display=
steps_file=
keep=false
TIME_REPORT_PATTERN=${TIME_REPORT_PATTERN:-'[Tt]ime ?[Rr]eport|TimeChanged|OnPlayerTime|WM_PLAYER_TIME'}

while [[ $# -gt 0 ]]; do
  case $1 in
  --runs) runs=${2:?}; shift 2 ;;
  --play) play=${2:?}; shift 2 ;;
  --recordings) recordings=${2:?}; shift 2 ;;
  --per-recording) per_recording=${2:?}; shift 2 ;;
  --map) map_kind=${2:?}; shift 2 ;;
  --display) display=${2:?}; shift 2 ;;
  --steps) steps_file=$(realpath -m "${2:?}"); shift 2 ;;
  --viewer) viewer=$(realpath "${2:?}"); shift 2 ;;
  --keep) keep=true; shift ;;
  *) sed -n '2,17p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//' >&2; exit 2 ;;
  esac
done
for tool in xvfb-run xdotool; do
  command -v "$tool" >/dev/null || { echo "bench_startup: $tool missing (Debian: xvfb, xdotool)" >&2; exit 2; }
done
[[ -x $viewer && -x $card_maker ]] || { echo "bench_startup: build veltrix and veltrix-demo-card first" >&2; exit 2; }

if [[ -z ${BENCH_STARTUP_DISPLAY:-} ]]; then
  export BENCH_STARTUP_DISPLAY=1
  export QTWEBENGINE_DISABLE_SANDBOX=1 QT_QUICK_BACKEND=software
  export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --disable-background-networking"
  args=(--runs "$runs" --play "$play" --recordings "$recordings" --per-recording "$per_recording"
    --map "$map_kind" --viewer "$viewer")
  [[ -n $steps_file ]] && args+=(--steps "$steps_file")
  $keep && args+=(--keep)
  server=(-a)
  [[ -n $display ]] && server=(-n "$display")
  exec xvfb-run "${server[@]}" -s "-screen 0 1920x1080x24 -noreset" bash "${BASH_SOURCE[0]}" "${args[@]}"
fi

root=$(mktemp -d "${TMPDIR:-/tmp}/veltrix-startup-XXXXXX")
card=$root/card
work=$root/work
viewer_pid=

cleanup() {
  stop_viewer
  if $keep; then echo "work folder kept: $root"; else rm -rf "$root"; fi
}
trap cleanup EXIT

now() { echo "$EPOCHREALTIME"; }
ms_since() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%d", (b - a) * 1000 + 0.5 }'; }

# Each line of a stream with the time it arrived.
stamp_lines() {
  local line
  while IFS= read -r line; do printf '%s %s\n' "$EPOCHREALTIME" "$line"; done
}

# Time (epoch seconds) of the first stamped line of $1 matching the ERE $2, or nothing.
first_match() {
  grep -m1 -E -- "$2" "$1" 2>/dev/null | cut -d' ' -f1
}

main_window() {
  xdotool search --onlyvisible --name '^(.* - )?Halvorn Veltrix$' 2>/dev/null | sort -n | tail -1
}

start_viewer() { # $1 = run name; sets viewer_pid, t_exec
  out=$root/$1.out err=$root/$1.err
  t_exec=$(now)
  (
    cd "$work" || exit 1
    exec env VELTRIX_TRACE=1 VELTRIX_RES_DIR="$res_dir" QT_QPA_PLATFORM=xcb \
      XDG_CONFIG_HOME="$root/config" "$viewer" "$card"
  ) > >(stamp_lines >"$out") 2> >(stamp_lines >"$err") &
  viewer_pid=$!
}

stop_viewer() {
  [[ -n $viewer_pid ]] || return 0
  kill "$viewer_pid" 2>/dev/null
  local i
  for i in $(seq 1 50); do
    kill -0 "$viewer_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -9 "$viewer_pid" 2>/dev/null
  wait "$viewer_pid" 2>/dev/null
  viewer_pid=
  sleep 0.5 # the web engine's helpers
}

# Waits up to $2 seconds for a stamped line matching $3 in file $1; prints its time.
wait_line() {
  local deadline t
  deadline=$(awk -v n="$(now)" -v s="$2" 'BEGIN { printf "%.3f", n + s }')
  while :; do
    t=$(first_match "$1" "$3")
    [[ -n $t ]] && { echo "$t"; return 0; }
    awk -v n="$(now)" -v d="$deadline" 'BEGIN { exit !(n > d) }' && return 1
    sleep 0.05
  done
}

# Memory in kB: "viewer_rss helpers_rss total_rss pss_total viewer_pss helpers_pss viewer_anon
# helpers_anon". The anonymous part of PSS is the processes' own memory (heaps, stacks, the script
# engine's heap); the rest are mapped files, whose PSS also falls and rises with how many other
# processes on the machine map the same libraries.
descendants() {
  local pid child
  for pid in "$@"; do
    for child in $(cat /proc/"$pid"/task/*/children 2>/dev/null); do
      echo "$child"
      descendants "$child"
    done
  done
}
pss_of() { # PID: "pss anon"
  awk '/^Pss:/ { p = $2 } /^Pss_Anon:/ { a = $2 } END { print p + 0, a + 0 }' /proc/"$1"/smaps_rollup 2>/dev/null
}
memory() {
  local viewer_kb helpers_kb=0 viewer_pss viewer_anon helpers_pss=0 helpers_anon=0 pid kb pss anon
  viewer_kb=$(awk '/^VmRSS:/ { print $2 }' /proc/"$viewer_pid"/status)
  read -r viewer_pss viewer_anon <<<"$(pss_of "$viewer_pid")"
  for pid in $(descendants "$viewer_pid"); do
    kb=$(awk '/^VmRSS:/ { print $2 }' /proc/"$pid"/status 2>/dev/null)
    helpers_kb=$((helpers_kb + ${kb:-0}))
    read -r pss anon <<<"$(pss_of "$pid")"
    helpers_pss=$((helpers_pss + ${pss:-0})) helpers_anon=$((helpers_anon + ${anon:-0}))
  done
  echo "${viewer_kb:-0} $helpers_kb $((${viewer_kb:-0} + helpers_kb)) $((${viewer_pss:-0} + helpers_pss))" \
    "${viewer_pss:-0} $helpers_pss ${viewer_anon:-0} $helpers_anon"
}

# CPU time (user + system) in clock ticks: "viewer helpers".
cpu_ticks() {
  local pid helpers=0 t
  ticks_of() { sed 's/.*) //' /proc/"$1"/stat 2>/dev/null | awk '{ print $12 + $13 }'; }
  for pid in $(descendants "$viewer_pid"); do
    t=$(ticks_of "$pid")
    helpers=$((helpers + ${t:-0}))
  done
  t=$(ticks_of "$viewer_pid")
  echo "${t:-0} $helpers"
}

mb() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }

# Median, fastest and slowest of a list of numbers ("-" entries skipped).
summary() {
  printf '%s\n' "$@" | grep -v '^-$' | sort -n | awk '
    { v[NR] = $1 }
    END {
      if (NR == 0) { print "not observed"; exit }
      m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
      printf "median %d ms (fastest %d, slowest %d, %d runs)", m, v[1], v[NR], NR
    }'
}

verdict() { # $1 value, $2 goal; both numbers
  awk -v v="$1" -v g="$2" 'BEGIN { print (v <= g) ? "goal met" : "GOAL MISSED" }'
}

# --- set-up -------------------------------------------------------------------------------------
"$card_maker" "$card" >"$root/card.log" 2>&1 || { cat "$root/card.log" >&2; exit 1; }
first=$(find "$card/Movie" -name '*.MP4' | sort | head -1)
mkdir -p "$work"
printf '[UI]\r\nLANGID=ENG\r\nFolder=%s\r\nMAP_ENABLE=1\r\nMAP=%s\r\n' "$card" "$map_kind" >"$work/Veltrix.ini"
echo "bench_startup: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg); card: $(find "$card" -type f | wc -l) files"

# --- start-ups ----------------------------------------------------------------------------------
window_ms=() opened_ms=() vout_ms=() report_ms=()
for run in $( ((runs > 0)) && seq 0 "$runs"); do
  start_viewer "run$run"
  t_window=
  for _ in $(seq 1 3000); do
    [[ -n $(main_window) ]] && { t_window=$(now); break; }
    kill -0 "$viewer_pid" 2>/dev/null || break
    sleep 0.01
  done
  [[ -n $t_window ]] || { echo "bench_startup: no window within 30 s (run $run)" >&2; tail "$err" >&2; exit 1; }
  t_opened=$(wait_line "$out" 15 "readGpsTrackInfo .*szFile= .*$(basename "$first")") || t_opened=
  t_vout=$(wait_line "$err" 10 'libplacebo|vout|video output') || t_vout=
  t_report=$(wait_line "$out" 5 "$TIME_REPORT_PATTERN") || t_report=
  stop_viewer
  ((run == 0)) && continue # the first start warms the caches and makes the web engine's profile
  window_ms+=("$(ms_since "$t_exec" "$t_window")")
  opened_ms+=("$([[ -n $t_opened ]] && ms_since "$t_exec" "$t_opened" || echo -)")
  vout_ms+=("$([[ -n $t_vout ]] && ms_since "$t_exec" "$t_vout" || echo -)")
  report_ms+=("$([[ -n $t_report ]] && ms_since "$t_exec" "$t_report" || echo -)")
done
median_of() { printf '%s\n' "$@" | grep -v '^-$' | sort -n | awk '{ v[NR] = $1 } END { if (NR) print (NR % 2) ? v[(NR + 1) / 2] : int((v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

((runs > 0)) && {
echo
echo "Start-up, exec to (after one warm-up start):"
w=$(median_of "${window_ms[@]}")
echo "  window shown:                 $(summary "${window_ms[@]}")  goal 1500 ms: $(verdict "$w" 1500)"
echo "  first recording opened:       $(summary "${opened_ms[@]}")"
echo "  its video output started:     $(summary "${vout_ms[@]}")"
r=$(median_of "${report_ms[@]}")
if [[ -n $r ]]; then
  echo "  first time report:            $(summary "${report_ms[@]}")  goal 3000 ms: $(verdict "$r" 3000)"
else
  v=$(median_of "${vout_ms[@]}")
  echo "  first time report:            not observable (no trace line matching '$TIME_REPORT_PATTERN');"
  echo "                                the video output's start comes just before it${v:+: ${v} ms, goal 3000 ms: $(verdict "$v" 3000)}"
fi

}

# --- memory -------------------------------------------------------------------------------------
start_viewer memory
for _ in $(seq 1 300); do
  win=$(main_window)
  [[ -n $win ]] && break
  sleep 0.1
done
[[ -n $win ]] || { echo "bench_startup: no window for the memory run" >&2; exit 1; }
wait_line "$err" 15 'libplacebo|vout|video output' >/dev/null || echo "(no video output seen; measuring anyway)"
sleep "$play"
win=$(main_window)
read -r m1_viewer m1_helpers m1_total m1_pss m1_vpss m1_hpss m1_vanon m1_hanon <<<"$(memory)"
title=$(xdotool getwindowname "$win" 2>/dev/null)
echo
echo "Memory after $play s of playing ${title%% - *} (both videos, map page $map_kind shown):"
echo "  resident: viewer $(mb "$m1_viewer") MB + web engine helpers $(mb "$m1_helpers") MB = $(mb "$m1_total") MB"
echo "  PSS: viewer $(mb "$m1_vpss") MB + helpers $(mb "$m1_hpss") MB = $(mb "$m1_pss") MB" \
  " goal 300 MB: $(verdict "$m1_pss" $((300 * 1024)))"
echo "  of which anonymous: viewer $(mb "$m1_vanon") MB + helpers $(mb "$m1_hanon") MB"

# One line per recording: number, PSS of the viewer, of the helpers and the sum, the anonymous part
# of the viewer's and of the helpers' (kB), and the viewer's threads.
[[ -n $steps_file ]] &&
  echo "# recording viewer_pss_kb helpers_pss_kb pss_kb viewer_anon_kb helpers_anon_kb threads" >"$steps_file"
played=0 missed=0 steps=() pss_steps=() anon_steps=()
read -r cpu1_viewer cpu1_helpers <<<"$(cpu_ticks)"
for i in $(seq 1 "$recordings"); do
  win=$(main_window)
  before=$(xdotool getwindowname "$win" 2>/dev/null)
  xdotool windowfocus "$win" key Next 2>/dev/null
  changed=false
  for _ in $(seq 1 100); do
    win=$(main_window)
    now_title=$(xdotool getwindowname "$win" 2>/dev/null)
    [[ -n $now_title && $now_title != "$before" ]] && { changed=true; break; }
    sleep 0.1
  done
  if $changed; then ((played++)); else ((missed++)); fi
  sleep "$per_recording"
  read -r _ _ _ step_pss step_vpss step_hpss step_vanon step_hanon <<<"$(memory)"
  threads=$(awk '/^Threads:/ { print $2 }' /proc/"$viewer_pid"/status)
  steps+=("$((step_pss / 1024))")
  pss_steps+=("$step_pss") anon_steps+=("$((step_vanon + step_hanon))")
  [[ -n $steps_file ]] && echo "$i $step_vpss $step_hpss $step_pss $step_vanon $step_hanon $threads" >>"$steps_file"
done
read -r m2_viewer m2_helpers m2_total m2_pss m2_vpss m2_hpss m2_vanon m2_hanon <<<"$(memory)"
read -r cpu2_viewer cpu2_helpers <<<"$(cpu_ticks)"
echo "Memory after $recordings recordings played in turn with next ($played opened, $missed" \
  "presses without a new recording; $per_recording s each):"
echo "  resident: viewer $(mb "$m2_viewer") MB + web engine helpers $(mb "$m2_helpers") MB = $(mb "$m2_total") MB"
echo "  PSS: viewer $(mb "$m2_vpss") MB + helpers $(mb "$m2_hpss") MB = $(mb "$m2_pss") MB"
echo "  of which anonymous: viewer $(mb "$m2_vanon") MB + helpers $(mb "$m2_hanon") MB"
echo "  PSS growth from the first figure: viewer $(mb $((m2_vpss - m1_vpss))) MB, helpers" \
  "$(mb $((m2_hpss - m1_hpss))) MB, total $(mb $((m2_pss - m1_pss))) MB"
# Growth from the 10th recording to the last, each taken as the median of the five figures around
# it, since the PSS of mapped files moves with what else runs on the machine.
median5() { # INDEX (1-based, centre) VALUES...: median of the values at INDEX-2..INDEX+2 that exist
  local centre=$1
  shift
  local values=("$@") picked=() k
  for ((k = centre - 3; k <= centre + 1; k++)); do
    ((k >= 0 && k < ${#values[@]})) && picked+=("${values[k]}")
  done
  median_of "${picked[@]}"
}
if ((recordings >= 20)); then
  pss10=$(median5 10 "${pss_steps[@]}") pss_end=$(median5 $((recordings - 2)) "${pss_steps[@]}")
  anon10=$(median5 10 "${anon_steps[@]}") anon_end=$(median5 $((recordings - 2)) "${anon_steps[@]}")
  echo "  PSS growth from the 10th to the ${recordings}th recording (medians of the 8th-12th and of the last" \
    "five): $(mb $((pss_end - pss10))) MB  goal 10 MB: $(verdict $((pss_end - pss10)) $((10 * 1024)))"
  echo "    of which anonymous (viewer and helpers): $(mb $((anon_end - anon10))) MB"
fi
hz=$(getconf CLK_TCK)
echo "  CPU time over the recordings: viewer $(awk -v t=$((cpu2_viewer - cpu1_viewer)) -v hz="$hz" 'BEGIN { printf "%.1f", t / hz }') s," \
  "helpers $(awk -v t=$((cpu2_helpers - cpu1_helpers)) -v hz="$hz" 'BEGIN { printf "%.1f", t / hz }') s" \
  "(helpers that ended in between not counted)"
echo "  PSS total in MB after each recording: ${steps[*]}"
