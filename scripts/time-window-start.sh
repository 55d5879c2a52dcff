#!/usr/bin/env bash
# Times the window's start from outside, as a person sees it: on a fresh X server (Xvfb, no
# window manager), from the program's exec until its main window is mapped and until the
# program has drawn into it. An empty window and one opening 100,000 trips take turns, nine
# runs each; prints the medians and the ratio of the drawn figures.
#   scripts/time-window-start.sh [BUILD_DIR]
set -euo pipefail
build_dir=${1:-build}
bin="$build_dir/bin"
if [ ! -x "$bin/window_start_time" ]; then
  echo "time-window-start: no $bin/window_start_time (it needs libxcb-damage0-dev)" >&2
  exit 1
fi

work=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
"$bin/write_sample_logbook" "$work/trips100k.fbu" 100000
# Settings, recent files and recovery journals of the runs go to a folder of their own.
mkdir -m 700 "$work/home" "$work/runtime"

# Xvfb picks a free display and names it on the descriptor given.
exec 3<> "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
display=":$(head -n1 "$work/display")"

HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" DISPLAY="$display" python3 - \
  "$bin/window_start_time" "$bin/fahrtenbuch" "$work/trips100k.fbu" <<'PY'
import statistics, subprocess, sys
timer, program, logbook = sys.argv[1:4]
runs = {"empty window": [], "100,000 trips": []}
commands = {"empty window": [program], "100,000 trips": [program, logbook]}
# One run of each first, not counted: the files and libraries come into the page cache.
for command in commands.values():
    subprocess.run([timer] + command, check=True, capture_output=True)
for _ in range(9):
    for label, command in commands.items():
        out = subprocess.run([timer] + command, check=True, capture_output=True, text=True).stdout
        fields = out.split()
        runs[label].append((float(fields[1]), float(fields[3])))
for label, times in runs.items():
    mapped = statistics.median(t[0] for t in times)
    drawn = statistics.median(t[1] for t in times)
    print(f"window start, {label}: mapped {mapped:.0f} ms, drawn {drawn:.0f} ms (medians of 9; "
          f"drawn {min(t[1] for t in times):.0f}-{max(t[1] for t in times):.0f} ms)")
empty = statistics.median(t[1] for t in runs["empty window"])
full = statistics.median(t[1] for t in runs["100,000 trips"])
print(f"window start, 100,000 trips against an empty window: {full / empty:.2f} times")
PY
