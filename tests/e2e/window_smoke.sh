#!/usr/bin/env bash
# Smoke test of the real program on a virtual X server: start it with a fresh temporary
# directory and no network, wait for its window, check the title, the outer size and the
# centred place, close it with Esc, and check the exit code and the two bank files.
#
#   window_smoke.sh PROGRAM [--window-manager]
#
# With --window-manager the window is checked inside the frame a window manager (openbox)
# draws. Exit code 77 means skipped: a needed tool is missing.
set -uo pipefail

program=$1
with_wm=${2:-}
readonly skip=77
readonly screen_width=1366 screen_height=768   # odd halves: the place is truncated
readonly poll=0.1 polls=300                     # at most 30 s for any one wait

need=(Xvfb xdotool xwininfo)
[ "$with_wm" = --window-manager ] && need+=(openbox xprop)
for tool in "${need[@]}"; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed"
    exit $skip
  fi
done

# The program reads the network clock at start; a test must not reach a public host. A
# private network namespace has no route anywhere, so the fetch fails at once.
if unshare -n true 2>/dev/null; then
  isolate=(unshare -n)
elif unshare -rn true 2>/dev/null; then
  isolate=(unshare -rn)
else
  echo "SKIP: cannot start the program without network access (unshare -n is not permitted)"
  exit $skip
fi

# Under AddressSanitizer, pass over a false report inside the X keyboard library.
if [ -n "${ASAN_OPTIONS:-}" ]; then
  export ASAN_OPTIONS="$ASAN_OPTIONS:suppressions=$(cd "$(dirname "$0")" && pwd)/asan.supp"
fi

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  for log in "$work"/*.log; do [ -s "$log" ] && { echo "--- $log"; cat "$log"; }; done
  exit 1
}

# Waits until the command succeeds, polling; fails with the message when it never does.
wait_for() {
  local message=$1
  shift
  for _ in $(seq $polls); do
    "$@" && return 0
    sleep $poll
  done
  fail "$message"
}

# A virtual X server on a free display, which it reports on descriptor 3.
Xvfb -displayfd 3 -screen 0 ${screen_width}x${screen_height}x24 -nolisten tcp \
  3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for "the X server did not start" test -s "$work/display"
export DISPLAY=":$(head -n1 "$work/display")"

if [ "$with_wm" = --window-manager ]; then
  openbox >"$work/openbox.log" 2>&1 &
  pids+=($!)
  wait_for "the window manager did not start" \
    sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"'
fi

mkdir -m 700 "$work/tmp" "$work/runtime"
TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb \
  "${isolate[@]}" "$program" >"$work/program.log" 2>&1 &
program_pid=$!

find_window() { window=$(xdotool search --name '^Quivella3\.0 $' 2>/dev/null | head -n1); [ -n "$window" ]; }
viewable() { xwininfo -id "$window" 2>/dev/null | grep -q 'Map State: IsViewable'; }
wait_for "no window titled \"Quivella3.0 \" appeared" find_window
wait_for "the window was never shown" viewable

# The outer window: the frame the window manager made around it, or the window itself.
outer=$window
if [ "$with_wm" = --window-manager ]; then
  root=$(xwininfo -root | awk '/Window id/ {print $4}')
  framed() {
    local parent
    parent=$(xwininfo -children -id "$window" | awk '/Parent window id/ {print $4}')
    [ -n "$parent" ] && [ "$parent" != "$root" ] && outer=$parent
  }
  wait_for "the window manager never framed the window" framed
fi

geometry() { xwininfo -id "$outer" | awk -F: "/$1/ {gsub(/ /, \"\", \$2); print \$2}"; }
expected="599x387+$(( (screen_width - 599) / 2 ))+$(( (screen_height - 387) / 2 ))"
matches_expected() {
  actual="$(geometry Width)x$(geometry Height)+$(geometry 'Absolute upper-left X')+$(geometry 'Absolute upper-left Y')"
  [ "$actual" = "$expected" ]
}
# A window manager may settle the frame in a few steps.
for _ in $(seq $polls); do matches_expected && break; sleep $poll; done
[ "$actual" = "$expected" ] || fail "outer geometry $actual, expected $expected"

# Esc closes the window; its key-up may find the window gone already.
xdotool key --window "$window" Escape 2>/dev/null
wait_for "the program did not end after Esc" sh -c "! kill -0 $program_pid 2>/dev/null"
wait "$program_pid"
status=$?
[ $status -eq 0 ] || fail "exit code $status, expected 0"

for bank in sjqy.txt kjxs.txt; do
  [ -s "$work/tmp/$bank" ] || fail "the bank file $bank was not written to TMPDIR"
done
echo "PASS: window $expected, closed with Esc, exit code 0, bank files written"
