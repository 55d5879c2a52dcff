#!/usr/bin/env bash
# Makes the README's screenshot of the main window, docs/hauptfenster.png, with a sample
# logbook the build writes (data/make_sample_logbook.cpp), on a virtual X server.
#
#   scripts/make-screenshot.sh [BUILD_DIR] [OUT.png]
#
# Needs the build (cmake --build BUILD_DIR) and xvfb-run, xdotool and ImageMagick's import
# (scripts/install-deps.sh --screenshot); openbox, where installed, draws the title bar.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath -m "${1:-build}")
out=$(realpath -m "${2:-docs/hauptfenster.png}")
for tool in xvfb-run xdotool import; do
  command -v "$tool" >/dev/null ||
    { echo "make-screenshot: needs $tool (scripts/install-deps.sh --screenshot)" >&2; exit 1; }
done
cmake --build "$build" --target fahrtenbuch make_sample_logbook >/dev/null
work=$(mktemp -d /tmp/fahrtenbuch-shot.XXXXXX)
trap 'rm -rf "$work"' EXIT
"$build/bin/make_sample_logbook" "$work/beispiel.fbu"
mkdir -p "$(dirname "$out")"

SHOT_OUT=$out SHOT_PROGRAM=$build/bin/fahrtenbuch SHOT_FILE=$work/beispiel.fbu \
  xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
  set -euo pipefail
  if command -v openbox >/dev/null; then openbox >/dev/null 2>&1 & sleep 0.5; fi
  "$SHOT_PROGRAM" "$SHOT_FILE" >/dev/null 2>&1 & pid=$!
  trap "kill $pid 2>/dev/null || true" EXIT
  win=""
  for i in $(seq 1 80); do
    win=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1) || true
    [ -n "$win" ] && break
    sleep 0.25
  done
  [ -n "$win" ] || { echo "make-screenshot: no window appeared" >&2; exit 1; }
  sleep 1.5
  # The whole screen, cut down to the window and the frame the window manager draws around
  # it: the rest of the screen is black.
  import -window root "$SHOT_OUT.full.png"
  convert "$SHOT_OUT.full.png" -bordercolor black -border 1 -trim +repage "$SHOT_OUT"
  rm -f "$SHOT_OUT.full.png"
'
echo "make-screenshot: wrote $out"
