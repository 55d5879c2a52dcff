#!/usr/bin/env bash
# The print preview on a real X server, timed from outside: from OK in the print options until
# the "Druckvorschau" window is visible, in turn with an empty window's start (exec of
# `fahrtenbuch` until its window is visible). Nine runs each; prints every run and the medians.
#
#   bench/preview_on_x.sh BUILD_DIR LOGBOOK.fbu
#
# Runs on a display of its own (Xvfb :86 with openbox, so that keys reach the focused dialog).
# Needs: Xvfb, openbox, xdotool.
set -euo pipefail
bin=$1/bin/fahrtenbuch
logbook=$2
display=:86
Xvfb $display -screen 0 1280x1024x24 >/dev/null 2>&1 & xvfb=$!
sleep 1
DISPLAY=$display openbox >/dev/null 2>&1 & wm=$!
export DISPLAY=$display
trap 'kill $app $wm $xvfb 2>/dev/null' EXIT
sleep 0.5

now() { date +%s%N; }
# Waits until a visible window matches; prints the nanoseconds it took from $1.
visible_after() {
  local start=$1
  shift
  until xdotool search --onlyvisible "$@" >/dev/null 2>&1; do sleep 0.01; done
  echo $(( ($(now) - start) / 1000 ))
}

"$bin" "$logbook" >/dev/null 2>&1 & app=$!
visible_after "$(now)" --pid $app >/dev/null
sleep 1
empty=() preview=()
for run in 1 2 3 4 5 6 7 8 9; do
  start=$(now)
  "$bin" >/dev/null 2>&1 & other=$!
  empty+=("$(visible_after "$start" --pid $other)")
  kill $other; wait $other 2>/dev/null || true

  xdotool key alt+d v
  visible_after "$(now)" --name '^Drucken$' >/dev/null
  sleep 0.3
  start=$(now)
  xdotool key Return
  preview+=("$(visible_after "$start" --name '^Druckvorschau$')")
  sleep 0.5
  xdotool key Escape
  while xdotool search --onlyvisible --name '^Druckvorschau$' >/dev/null 2>&1; do sleep 0.05; done
  sleep 0.3
  echo "run $run: empty window ${empty[-1]} us, preview ${preview[-1]} us"
done
median() { printf '%s\n' "$@" | sort -n | sed -n 5p; }
echo "median: empty window $(median "${empty[@]}") us, preview $(median "${preview[@]}") us"
