#!/usr/bin/env bash
# Random-input run: starts the viewer on its own virtual X display on a card of good, broken and
# zero-length recordings and drives it with random clicks, double clicks, drags (sliders,
# splitters, size grip), window resizes, keys and context-menu commands, checking every few
# seconds that the viewer is alive and answers. Dialogs it opens are cancelled with Escape; the
# close command (the close button, Ctrl+Q, Alt+F4, the menu's last entry) is never given.
#
#   scripts/monkey.sh [options] [MINUTES]        (default 1 minute; decimals allowed)
#     --seconds N     run N seconds instead of minutes
#     --build DIR     build folder with veltrix and tools/demo_card (default: $VELTRIX_BUILD_DIR
#                     or <repository>/build)
#     --seed N        seed of the random choices (printed at the start; the same seed gives the
#                     same command sequence, not the same timing)
#     --keep          keep the work folder (card, trace, action log) even when the run passed
#
# Prints the commands sent, crashes and freezes (no answer for more than 2 s). Exits 1 when the
# viewer crashed, froze or ended by itself, 2 on a usage or set-up error, 0 otherwise. A crashed
# viewer leaves a core file in the work folder; with gdb installed its backtrace is printed.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${VELTRIX_BUILD_DIR:-$here/../build}
seconds=60
seed=$(((RANDOM << 15) | RANDOM))
keep=false

usage() {
  sed -n '2,18p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//' >&2
  exit 2
}

while [[ $# -gt 0 ]]; do
  case $1 in
  --seconds) seconds=${2:?}; shift 2 ;;
  --build) build=${2:?}; shift 2 ;;
  --seed) seed=${2:?}; shift 2 ;;
  --keep) keep=true; shift ;;
  -h | --help) usage ;;
  -*) usage ;;
  *) seconds=$(awk -v m="$1" 'BEGIN { if (m !~ /^[0-9]+(\.[0-9]+)?$/) exit 1; printf "%d", m * 60 }') || usage
     shift ;;
  esac
done
build=$(cd "$build" 2>/dev/null && pwd) || { echo "monkey: no build folder $build" >&2; exit 2; }
viewer=$build/veltrix
card_maker=$build/tools/demo_card/veltrix-demo-card
pinger=$build/tests/monkey/veltrix-window-ping
for tool in xvfb-run xdotool xwininfo; do
  command -v "$tool" >/dev/null || { echo "monkey: $tool missing (Debian: xvfb, xdotool, x11-utils)" >&2; exit 2; }
done
[[ -x $viewer && -x $card_maker ]] || { echo "monkey: build veltrix and veltrix-demo-card first" >&2; exit 2; }

# Always a display of our own: the run must neither see nor disturb windows of other tests.
if [[ -z ${MONKEY_OWN_DISPLAY:-} ]]; then
  export MONKEY_OWN_DISPLAY=1
  export QTWEBENGINE_DISABLE_SANDBOX=1 QT_QUICK_BACKEND=software
  export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --disable-background-networking"
  exec xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" \
    bash "${BASH_SOURCE[0]}" --seconds "$seconds" --build "$build" --seed "$seed" $($keep && echo --keep)
fi

RANDOM=$seed
root_window=$(($(xwininfo -root | awk '/Window id:/ { print $4 }')))
root=$(mktemp -d "${TMPDIR:-/tmp}/veltrix-monkey-XXXXXX")
card=$root/card
work=$root/work
log=$root/actions.log
trace=$root/trace.log
screen_w=1920
screen_h=1080

viewer_pid=   # the viewer being driven (ours, or the one a restart of the program started)
own_pid=      # the viewer this script started, whose exit status it can read
win=          # its main window
commands=0 clicks=0 doubles=0 drags=0 resizes=0 keys=0 wheels=0 menus=0 menu_commands=0
dialogs=0 crashes=0 freezes=0 ended=0 restarts=0 probes=0 remaps=0
longest_answer_ms=0
hung=false    # the viewer was aborted for not answering: its end is not counted again as a crash
failures=()

note() { printf '%s %s\n' "$(date +%T.%3N)" "$*" >>"$log"; }
say() { echo "monkey: $*"; note "$*"; }
rnd() { echo $((RANDOM % ($2 - $1 + 1) + $1)); } # uniform in [$1, $2]
pause_ms() { sleep "$(awk -v ms="$1" 'BEGIN { printf "%.3f", ms / 1000 }')"; }
now_ms() { echo $(((${EPOCHREALTIME/./} + 500) / 1000)); }

# --- the card: the demo card plus recordings that cannot be played ------------------------------
make_card() {
  "$card_maker" "$card" >"$root/card.log" 2>&1 || { cat "$root/card.log" >&2; return 1; }
  local front=$card/Movie rear=$card/Movi_be good
  good=$(find "$front" -name '*.MP4' | sort | head -1)
  # Zero-length front and rear files of one recording, and a zero-length front alone.
  : >"$front/2024_06_02_080000_20.MP4"
  : >"$rear/2024_06_02_080000_20_b.MP4"
  : >"$front/2024_06_02_080030_21.MP4"
  # Random bytes under a recording's name, in every container the scan reads.
  head -c 300000 /dev/urandom >"$front/2024_06_02_081000_22.MP4"
  head -c 200000 /dev/urandom >"$front/2024_06_02_081030_23.AVI"
  head -c 188000 /dev/urandom >"$front/2024_06_02_081100_24.TS"
  # A good recording cut short: the head only, and the last 40 % missing.
  head -c 65536 "$good" >"$front/2024_06_02_082000_25.MP4"
  head -c $(($(stat -c %s "$good") * 6 / 10)) "$good" >"$front/2024_06_02_082030_26.MP4"
  cp "$front/2024_06_02_082030_26.MP4" "$rear/2024_06_02_082030_26_b.MP4"
  # A good recording with 16 kB of garbage in the middle of its video.
  cp "$good" "$front/2024_06_02_083000_27.MP4"
  dd if=/dev/urandom of="$front/2024_06_02_083000_27.MP4" bs=4096 count=4 \
    seek=$(($(stat -c %s "$good") / 8192)) conv=notrunc status=none
  # A good rear file whose front is missing.
  cp "$(find "$rear" -name '*_b.MP4' | sort | tail -1)" "$rear/2024_06_02_084000_28_b.MP4"
}

# --- windows ------------------------------------------------------------------------------------
# The main window's title is the program's name, after "<recording> - " while one plays. During
# start-up a first native window is replaced by a newer one: the newest visible one is taken.
find_main_window() {
  xdotool search --onlyvisible --name '^(.* - )?Halvorn Veltrix$' 2>/dev/null | sort -n | tail -1
}

# Position and size of a window: sets gx gy gw gh; false when it is gone.
geometry() {
  local out
  out=$(xdotool getwindowgeometry --shell "$1" 2>/dev/null) || return 1
  eval "$(grep -E '^(X|Y|WIDTH|HEIGHT)=' <<<"$out")"
  gx=$X gy=$Y gw=$WIDTH gh=$HEIGHT
}

# Viewable top-level windows other than the main window and Qt's tiny helper windows: dialogs,
# message boxes, menus, tool tips.
other_windows() {
  local w
  for w in $(xdotool search --onlyvisible --maxdepth 1 --name '' 2>/dev/null); do
    [[ $w == "$win" || $w == "$root_window" ]] && continue
    geometry "$w" || continue
    ((gw > 4 && gh > 4)) && echo "$w"
  done
}

# What the viewer changes when it takes a new size: its children's places (the layout) and its
# window's outline (the shape it sets for every size).
layout_state() {
  {
    xwininfo -children -id "$win" 2>/dev/null | grep -E '^ +0x' | awk '{ print $(NF-1) }'
    xwininfo -shape -id "$win" 2>/dev/null | grep -A4 'Bounding shape extents'
  } | md5sum
}

# Children of the main window as "x y w h" lines (window coordinates).
children_boxes() {
  xwininfo -children -id "$win" 2>/dev/null | grep -E '^ +0x' |
    sed -nE 's/.* ([0-9]+)x([0-9]+)\+(-?[0-9]+)\+(-?[0-9]+) +\+-?[0-9]+\+-?[0-9]+$/\3 \4 \1 \2/p'
}

# --- the viewer ---------------------------------------------------------------------------------
start_viewer() {
  mkdir -p "$work"
  # The last folder in the settings as well, for the open command's picker.
  [[ -f $work/Veltrix.ini ]] || printf '[UI]\r\nLANGID=ENG\r\nFolder=%s\r\n' "$card" >"$work/Veltrix.ini"
  (
    cd "$work" || exit 1
    ulimit -c unlimited 2>/dev/null
    exec env VELTRIX_TRACE=1 QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$root/config" "$viewer" "$card"
  ) >>"$trace" 2>>"$root/viewer.err" &
  own_pid=$!
  viewer_pid=$own_pid
  win=
  local t
  for t in $(seq 1 300); do
    win=$(find_main_window)
    [[ -n $win ]] && break
    kill -0 "$own_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [[ -z $win ]]; then
    say "the viewer showed no window within 30 s"
    return 1
  fi
  sleep 2 # the folder scan and the first recording's open
  win=$(find_main_window)
  [[ -n $win ]] || { say "the viewer's window went during start-up"; return 1; }
  note "viewer $viewer_pid window $win"
}

backtrace_from_core() {
  local core
  core=$(find "$work" -maxdepth 1 -name 'core*' -newer "$log" -type f 2>/dev/null | head -1)
  [[ -n $core ]] || core=$(find "$work" -maxdepth 1 -name 'core*' -type f 2>/dev/null | head -1)
  if [[ -z $core ]]; then
    say "no core file (ulimit -c or core_pattern keeps it elsewhere)"
    return
  fi
  if command -v gdb >/dev/null; then
    gdb -q -batch -ex 'set pagination off' -ex 'info threads' -ex 'bt full 25' \
      -ex 'thread apply all bt 30' "$viewer" "$core" >"$root/backtrace.txt" 2>&1
    echo "--- backtrace ($core)"
    sed -n '/^#0/,/^$/p' "$root/backtrace.txt" | head -60
    echo "--- all threads: $root/backtrace.txt"
  else
    say "core file $core (install gdb for its backtrace)"
  fi
  mv "$core" "$root/" 2>/dev/null
}

# The viewer is gone: crash (signal or non-zero status), or an end by itself. A restart of the
# program (the configuration dialog's) shows a new window from another process: that one is
# driven on.
viewer_gone() {
  local status=0 t
  if process_alive; then
    # The window went but the process lives on: a window the viewer made anew, or a lost one.
    for t in $(seq 1 50); do
      win=$(find_main_window)
      # A new window not mapped (yet): keep_mapped maps it.
      [[ -n $win ]] || win=$(xdotool search --pid "$viewer_pid" --name '^(.* - )?Halvorn Veltrix$' 2>/dev/null | sort -n | tail -1)
      [[ -n $win ]] && { note "main window is now $win"; return 0; }
      sleep 0.1
    done
    ((freezes++))
    say "FREEZE: the viewer runs but shows no window after $commands commands; aborting it for a core"
    failures+=("no window")
    hung=true
    kill -ABRT "$viewer_pid" 2>/dev/null
    sleep 2
    kill -9 "$viewer_pid" 2>/dev/null
  fi
  if [[ $viewer_pid == "$own_pid" ]]; then
    wait "$own_pid" 2>/dev/null
    status=$?
  fi
  note "viewer $viewer_pid gone, status $status"
  local next next_pid
  for t in $(seq 1 50); do
    next=$(find_main_window)
    [[ -n $next ]] && break
    sleep 0.1
  done
  if [[ -n $next ]] && next_pid=$(xdotool getwindowpid "$next" 2>/dev/null) && [[ $next_pid != "$viewer_pid" ]]; then
    say "the viewer restarted itself (process $next_pid)"
    ((restarts++))
    viewer_pid=$next_pid
    win=$next
    return 0
  fi
  if $hung; then
    hung=false
    say "the hung viewer ended with status $status"
  elif ((status > 128)); then
    ((crashes++))
    say "CRASH: the viewer died of signal $((status - 128)) after $commands commands"
    failures+=("crash, signal $((status - 128))")
  elif ((status != 0)); then
    ((crashes++))
    say "CRASH: the viewer ended with status $status after $commands commands"
    failures+=("ended with status $status")
  else
    ((ended++))
    say "the viewer ended by itself (status 0) after $commands commands"
    failures+=("ended by itself")
  fi
  echo "--- last actions"
  tail -n 15 "$log"
  echo "--- last trace lines"
  tail -n 15 "$trace"
  backtrace_from_core
  start_viewer
}

process_alive() { [[ -n $viewer_pid ]] && kill -0 "$viewer_pid" 2>/dev/null; }
alive() { process_alive && xwininfo -id "$win" >/dev/null 2>&1; }

# Without the ping helper: a resize that the viewer answers by laying its children out again and
# setting a new outline, or by putting its window back to the size it keeps. A second size is
# tried when the first changes nothing within 2 s.
answered_since() { # $1 = layout state before, $2 = the size asked for as WxH
  [[ $(layout_state) != "$1" ]] && return 0
  geometry "$win" || return 1
  [[ ${gw}x${gh} != "$2" ]]
}

resize_probe() {
  geometry "$win" || return 1
  local before w h deadline asked
  before=$(layout_state)
  deadline=$(($(now_ms) + 2000))
  w=$((gw >= 1850 ? gw - $(rnd 8 40) : gw + $(rnd 8 40)))
  asked=${w}x${gh}
  xdotool windowsize "$win" "$w" "$gh" 2>/dev/null
  while (($(now_ms) < deadline)); do
    answered_since "$before" "$asked" && return 0
    sleep 0.02
  done
  h=$((gh >= 1000 ? gh - 30 : gh + 30))
  asked=${gw}x${h}
  xdotool windowsize "$win" "$gw" "$h" 2>/dev/null
  deadline=$(($(now_ms) + 58000))
  while (($(now_ms) < deadline)); do
    answered_since "$before" "$asked" && return 0
    alive || return 1
    sleep 0.05
  done
  return 1
}

# Is the viewer's user-interface thread running its event loop? The window ping helper sends the
# window manager's ping, which the toolkit answers from that thread; without the helper, a resize
# stands in (answered by a new layout or outline). No answer within 2 s is a freeze: the wait
# goes on, up to 60 s, to measure it; a viewer still silent then is aborted for a core.
probe() {
  ((probes++))
  local start elapsed answered=false
  start=$(now_ms)
  if [[ -x $pinger ]]; then
    local out status
    out=$("$pinger" "$win" 2000 2>&1)
    status=$?
    if ((status == 1)); then
      alive || return 1
      note "probe: no answer to a ping within 2 s"
      out=$("$pinger" "$win" 58000 2>&1) && answered=true
      # The first ping's answer may come first and be dropped: the second one measures the rest.
    elif ((status == 0)); then
      answered=true
    else
      note "probe: $out"
      return 0 # the window went between the check and the ping: the main loop sees to it
    fi
  else
    resize_probe && answered=true
  fi
  elapsed=$(($(now_ms) - start))
  ((elapsed > longest_answer_ms)) && longest_answer_ms=$elapsed
  ((elapsed <= 2000)) && return 0
  ((freezes++))
  if $answered; then
    say "FREEZE: no answer for $elapsed ms after $commands commands"
    failures+=("freeze of $elapsed ms")
    echo "--- last actions"
    tail -n 10 "$log"
    return 0
  fi
  alive || return 1
  say "FREEZE: no answer for 60 s after $commands commands; aborting the viewer for a core"
  failures+=("hang")
  echo "--- last actions"
  tail -n 15 "$log"
  hung=true
  kill -ABRT "$viewer_pid" 2>/dev/null
  return 1
}

# --- inputs -------------------------------------------------------------------------------------
# A random point of the main window (screen coordinates) outside the close button:
# sets px py. The close button sits in the top right corner: x = W-32..W-7, y = 2..27.
random_point() {
  local x y
  while :; do
    x=$(rnd 1 $((gw - 2)))
    y=$(rnd 1 $((gh - 2)))
    ((x >= gw - 36 && x <= gw - 3 && y <= 31)) || break
  done
  px=$((gx + x)) py=$((gy + y))
}

# A random point inside one of the children that look like sliders (wide and low): sets px py and
# the slider's screen box sx sw.
slider_point() {
  local boxes
  mapfile -t boxes < <(children_boxes | awk '$3 >= 80 && $4 <= 30 && $3 >= 4 * $4')
  ((${#boxes[@]} > 0)) || return 1
  read -r bx by bw bh <<<"${boxes[$((RANDOM % ${#boxes[@]}))]}"
  sx=$((gx + bx)) sw=$bw
  px=$((sx + $(rnd 0 $((bw - 1))))) py=$((gy + by + bh / 2))
}

# A point of the bare background (no child under it): the splitters and the size grip live there,
# in the narrow gaps between children, so half of the tries look just past a child's right or
# bottom edge.
background_point() {
  local boxes try x y hit
  mapfile -t boxes < <(children_boxes)
  ((${#boxes[@]} > 0)) || return 1
  for try in $(seq 1 40); do
    if ((RANDOM % 2)); then
      read -r bx by bw bh <<<"${boxes[$((RANDOM % ${#boxes[@]}))]}"
      if ((RANDOM % 2)); then
        x=$((bx + bw + $(rnd 0 4))) y=$((by + $(rnd 0 $((bh > 1 ? bh - 1 : 0)))))
      else
        x=$((bx + $(rnd 0 $((bw > 1 ? bw - 1 : 0))))) y=$((by + bh + $(rnd 0 4)))
      fi
      ((x >= 1 && x < gw - 1 && y >= 1 && y < gh - 1)) || continue
      ((x >= gw - 36 && x <= gw - 3 && y <= 31)) && continue
      px=$((gx + x)) py=$((gy + y))
    else
      random_point
      x=$((px - gx)) y=$((py - gy))
    fi
    hit=false
    for box in "${boxes[@]}"; do
      read -r bx by bw bh <<<"$box"
      ((x >= bx && x < bx + bw && y >= by && y < by + bh)) && { hit=true; break; }
    done
    $hit || return 0
  done
  return 1
}

clamp_to_window() {
  ((px < gx + 1)) && px=$((gx + 1))
  ((py < gy + 1)) && py=$((gy + 1))
  ((px > gx + gw - 2)) && px=$((gx + gw - 2))
  ((py > gy + gh - 2)) && py=$((gy + gh - 2))
  # Never release over the close button.
  if ((px - gx >= gw - 36 && py - gy <= 31)); then py=$((gy + 40)); fi
}

send() {
  ((commands++))
  note "$*"
  xdotool "$@" 2>>"$root/xdotool.err"
}

do_click() {
  random_point
  ((clicks++))
  send mousemove --sync "$px" "$py" click "$(((RANDOM % 8) == 0 ? 2 : 1))"
}

do_double_click() {
  random_point
  ((doubles++))
  send mousemove --sync "$px" "$py" click --repeat 2 --delay 80 1
}

do_drag() {
  local kind=$((RANDOM % 3)) x0 y0 steps i
  case $kind in
  0) slider_point || random_point ;;
  1) background_point || random_point ;;
  2) random_point ;;
  esac
  x0=$px y0=$py
  ((drags++))
  ((commands++))
  note "drag from $x0,$y0 (kind $kind)"
  xdotool mousemove --sync "$x0" "$y0" mousedown 1 2>>"$root/xdotool.err"
  steps=$(rnd 2 6)
  for i in $(seq 1 "$steps"); do
    if ((kind == 0)); then
      px=$((sx + $(rnd 0 $((sw - 1))))) py=$y0
    else
      px=$((x0 + $(rnd -300 300))) py=$((y0 + $(rnd -200 200)))
    fi
    clamp_to_window
    xdotool mousemove "$px" "$py" sleep 0.03 2>>"$root/xdotool.err"
  done
  xdotool mouseup 1 2>>"$root/xdotool.err"
  note "  released at $px,$py"
}

do_wheel() {
  random_point
  ((wheels++))
  send mousemove --sync "$px" "$py" click --repeat "$(rnd 1 4)" "$(((RANDOM % 2) ? 4 : 5))"
}

do_resize() {
  ((resizes++))
  if ((RANDOM % 5 == 0)); then
    send windowmove "$win" "$(rnd 0 200)" "$(rnd 0 100)"
  else
    send windowsize "$win" "$(rnd 900 $screen_w)" "$(rnd 450 $screen_h)"
  fi
}

# The window's commands from the viewer itself: their keys, and which menu entry ends the program.
command_list=$("$viewer" --list-commands) || { echo "monkey: $viewer --list-commands failed" >&2; exit 2; }
# Keys of the window's shortcuts (never the quitting command's) and a few others; never Alt+F4.
KEYS=($(awk -F'\t' '$3 != "quit" && $4 != "-" { print $4 }' <<<"$command_list")
  space Escape Tab shift+Tab Home End Return a z 1 F1 F5 ctrl+a ctrl+c ctrl+z alt+Left alt+Right)
MENU_ENTRIES=$(wc -l <<<"$command_list")
QUIT_ENTRY=$(awk -F'\t' '$3 == "quit" { print $1 }' <<<"$command_list")
do_key() {
  ((keys++))
  xdotool windowfocus "$win" 2>/dev/null
  send key --clearmodifiers "${KEYS[$((RANDOM % ${#KEYS[@]}))]}"
}

# The context menu: opened with a right click on the background, a video pane or a list, then
# either dismissed or one of its commands chosen with the arrow keys: Down N times from no
# selection selects the Nth entry, never the quitting one. The pointer leaves the menu first so
# that no entry is selected by hovering.
do_menu() {
  local before after menu t down
  random_point
  before=$(other_windows | sort)
  ((menus++))
  send mousemove --sync "$px" "$py" click 3
  menu=
  for t in $(seq 1 20); do
    after=$(other_windows | sort)
    menu=$(comm -13 <(echo "$before") <(echo "$after") | head -1)
    [[ -n $menu ]] && break
    sleep 0.05
  done
  [[ -n $menu ]] || return 0
  geometry "$menu" || return 0
  # Away from the menu: the screen corner farthest from it.
  xdotool mousemove $((gx > screen_w / 2 ? 5 : screen_w - 5)) $((gy > screen_h / 2 ? 5 : screen_h - 5)) 2>/dev/null
  sleep 0.05
  if ((RANDOM % 4 == 0)); then
    send key Escape
    return 0
  fi
  down=$(rnd 1 "$MENU_ENTRIES")
  ((down == QUIT_ENTRY)) && down=$((down > 1 ? down - 1 : down + 1))
  ((menu_commands++))
  send key --delay 15 $(printf 'Down %.0s' $(seq 1 "$down")) Return
  note "  menu entry $down"
}

# Cancels whatever dialog, message box or menu is open: Escape into it, up to three times.
cancel_dialogs() {
  local w tries
  for tries in 1 2 3; do
    w=$(other_windows | head -1)
    [[ -n $w ]] || return 0
    ((tries == 1)) && { ((dialogs++)); note "cancel window $w: $(xdotool getwindowname "$w" 2>/dev/null)"; }
    xdotool windowfocus "$w" key Escape 2>/dev/null
    sleep 0.2
  done
  note "window $w still open after three Escapes"
}

# A window the viewer minimised has no window manager to restore it: map it again.
keep_mapped() {
  if ! xwininfo -id "$win" 2>/dev/null | grep -q 'IsViewable'; then
    local other
    other=$(find_main_window)
    if [[ -n $other && $other != "$win" ]]; then
      note "main window is now $other"
      win=$other
      return
    fi
    ((remaps++))
    note "main window not viewable: mapped again"
    xdotool windowmap "$win" 2>/dev/null
    sleep 0.3
  fi
}

act() {
  geometry "$win" || return 0
  local r=$((RANDOM % 100))
  if ((r < 30)); then do_click
  elif ((r < 40)); then do_double_click
  elif ((r < 58)); then do_drag
  elif ((r < 63)); then do_wheel
  elif ((r < 70)); then do_resize
  elif ((r < 90)); then do_key
  else do_menu
  fi
}

# --- the run ------------------------------------------------------------------------------------
finish() {
  local status=0
  ((crashes + freezes + ended > 0)) && status=1
  if [[ -n $viewer_pid ]] && kill -0 "$viewer_pid" 2>/dev/null; then
    kill "$viewer_pid" 2>/dev/null
    sleep 1
    kill -9 "$viewer_pid" 2>/dev/null
  fi
  # The web engine's helper processes end with the viewer; wait for ours only.
  [[ -n $own_pid ]] && wait "$own_pid" 2>/dev/null
  echo "monkey: $elapsed_s s, seed $seed"
  echo "monkey: commands sent $commands (clicks $clicks, double clicks $doubles, drags $drags," \
    "wheel turns $wheels, resizes and moves $resizes, keys $keys, context menus $menus with" \
    "$menu_commands commands chosen); dialogs and menus cancelled $dialogs; windows mapped again $remaps"
  echo "monkey: responsiveness probes $probes, slowest answer $longest_answer_ms ms; restarts of the program $restarts"
  echo "monkey: crashes $crashes, freezes $freezes, ended by itself $ended"
  if ((status != 0)) || $keep; then
    echo "monkey: work folder kept: $root (actions.log, trace.log, viewer.err)"
  else
    rm -rf "$root"
  fi
  exit $status
}

# The whole run is one function, read before it starts: editing this file during a long run
# does not change the run.
main() {
  elapsed_s=0
  trap 'echo "monkey: interrupted"; finish' INT TERM
  make_card || { echo "monkey: could not make the card" >&2; exit 2; }
  # A copy of the program: a rebuild during a long run changes neither the viewer started after a
  # crash nor the binary the core is read with. Its map pages stay in the build folder.
  cp "$viewer" "$root/veltrix" && viewer=$root/veltrix
  export VELTRIX_RES_DIR=$build/res
  say "seed $seed, $seconds s, card $card"
  start_viewer || { ((crashes++)); failures+=("no window"); finish; }

  begin=$(now_ms)
  next_probe=$((begin + 3000))
  while :; do
    elapsed_s=$((($(now_ms) - begin) / 1000))
    ((elapsed_s >= seconds)) && break
    if ! alive; then
      viewer_gone || break
      next_probe=$(($(now_ms) + 3000))
      continue
    fi
    keep_mapped
    cancel_dialogs
    if (($(now_ms) >= next_probe)); then
      if ! probe; then
        alive || continue
      fi
      next_probe=$(($(now_ms) + $(rnd 2500 4000)))
      continue
    fi
    act
    pause_ms "$(rnd 20 250)"
  done
  finish
}

main
exit
