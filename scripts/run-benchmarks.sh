#!/usr/bin/env bash
# Runs every benchmark of the build folder given as the first argument, then measures the
# command line on a generated logbook: wall time and peak memory of whole runs.
set -euo pipefail
build_dir=${1:-build}
bin="$build_dir/bin"
shopt -s nullglob
for bench in "$bin"/*_bench; do
  echo "== $(basename "$bench")"
  "$bench" --benchmark_counters_tabular=true
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bin/write_sample_logbook" "$work/trips100k.fbu" 100000

# Runs commands nine times each; prints the best and the median wall time and the peak resident
# memory of each. "{run}" in an argument becomes the number of the run, so that each run can
# write a file of its own. Several commands, separated by a lone "::" and each with a label
# before it, run in turn (the first, the second, ..., the first again), so that all meet the
# same load of the machine, and the first one's medians are compared with the others'. With
# MEASURE_ORDER=one-after-another each command runs its nine times before the next begins.
measure() {
  python3 - "$@" <<'PY'
import os, statistics, subprocess, sys, time

def parse(arguments):
    sides, current = [], []
    for argument in arguments + ["::"]:
        if argument != "::":
            current.append(argument)
            continue
        sides.append({"label": current[0], "command": current[1:], "times": [], "peak": 0})
        current = []
    return sides

def run_once(side, run):
    command = [a.replace("{run}", str(run)) for a in side["command"]]
    start = time.perf_counter()
    child = subprocess.Popen(command, stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    side["times"].append(time.perf_counter() - start)
    side["peak"] = max(side["peak"], usage.ru_maxrss)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{side['label']}: exit status {os.waitstatus_to_exitcode(status)}")

sides = parse(sys.argv[1:])
one_after_another = os.environ.get("MEASURE_ORDER") == "one-after-another"
if one_after_another:
    for side in sides:
        for run in range(9):
            run_once(side, run)
else:
    for run in range(9):
        for side in sides:
            run_once(side, run)
for side in sides:
    times = side["times"]
    print(f"{side['label']}: best of 9 {min(times) * 1000:.0f} ms, "
          f"median {statistics.median(times) * 1000:.0f} ms, peak memory {side['peak'] / 1024:.0f} MB")
first = sides[0]
for other in sides[1:]:
    order = "one after another" if one_after_another else "in turn"
    print(f"  {order}, {first['label']} is {statistics.median(other['times']) / statistics.median(first['times']):.1f} "
          f"times as fast as {other['label']} at the median, "
          f"{min(other['times']) / min(first['times']):.1f} times at best")
PY
}

echo "== command line, 100,000 trips"
measure "--resave" "$bin/fahrtenbuch" --resave "$work/out.fbu" "$work/trips100k.fbu"
if "$bin/fahrtenbuch" --help | grep -q -- --export-xls; then
  "$bin/write_sample_logbook" "$work/trips65535.fbu" 65535
  # A new file each run, and the same file replaced each run: replacing a file makes the file
  # system write the new one out before the rename, which costs some milliseconds.
  measure "--export-xls (65,535 trips), new file" "$bin/fahrtenbuch" --export-xls "$work/new{run}.xls" "$work/trips65535.fbu"
  measure "--export-xls (65,535 trips), replacing" "$bin/fahrtenbuch" --export-xls "$work/out.xls" "$work/trips65535.fbu"
  # The same sheet from the pure-Python writer, in turn with the export, so that both meet the
  # same load of the machine; its input is the logbook's JSON dump, made beforehand.
  if /usr/bin/python3 -c 'import xlwt' 2>/dev/null; then
    "$bin/fahrtenbuch" --dump-json "$work/trips65535.fbu" >"$work/trips65535.json"
    python_writer=("pure-Python writer (xlwt), the same trips" /usr/bin/python3
      "$(dirname "$0")/../bench/xls_reference_writer.py" "$work/trips65535.json" "$work/py{run}.xls")
    measure "--export-xls (65,535 trips), new file" \
      "$bin/fahrtenbuch" --export-xls "$work/turn{run}.xls" "$work/trips65535.fbu" :: \
      "${python_writer[@]}"
    # The same two, each nine times before the other. On a virtual machine that hands memory
    # left free for two seconds back to its host, a run in turn starts on such memory (the
    # Python writer takes longer than that), a run after its own kind on memory still at hand.
    MEASURE_ORDER=one-after-another measure "--export-xls (65,535 trips), new file" \
      "$bin/fahrtenbuch" --export-xls "$work/own{run}.xls" "$work/trips65535.fbu" :: \
      "${python_writer[@]}"
  fi
fi
if "$bin/fahrtenbuch" --help | grep -q -- --print-pdf; then
  "$bin/write_sample_logbook" "$work/trips10k.fbu" 10000
  echo "== printed logbook and evaluation"
  measure "--print-pdf (10,000 trips)" "$bin/fahrtenbuch" --print-pdf "$work/out.pdf" "$work/trips10k.fbu"
  measure "--evaluate (100,000 trips)" "$bin/fahrtenbuch" --evaluate "$work/trips100k.fbu"
fi

# --check exits with 3 when it finds doubtful trips, which the generated logbook may hold.
measure "--check (100,000 trips, whole process)" bash -c '"$0" --check "$1" >/dev/null; code=$?; [ $code = 0 ] || [ $code = 3 ]' "$bin/fahrtenbuch" "$work/trips100k.fbu"

# Entry logs as large as forged ones: every event kept compactly, the printed appendix sums up
# a run of changes of one field at one moment in one line.
echo "== command line, large entry logs"
"$bin/write_sample_logbook" "$work/events2m.fbu" 10 2000000
measure "--verify (2,000,000 master data events, $(( $(stat -c %s "$work/events2m.fbu") / 1000000 )) MB)" "$bin/fahrtenbuch" --verify "$work/events2m.fbu"
if "$bin/fahrtenbuch" --help | grep -q -- --print-pdf; then
  "$bin/write_sample_logbook" "$work/events450k.fbu" 10 450000
  measure "--print-pdf (450,000 master data events)" "$bin/fahrtenbuch" --print-pdf "$work/events.pdf" "$work/events450k.fbu"
fi

# The window's start from outside, on an X server of its own: empty, and with 100,000 trips.
if [ -x "$bin/window_start_time" ] && command -v Xvfb >/dev/null; then
  echo "== window start"
  "$(dirname "$0")/time-window-start.sh" "$build_dir"
fi

echo "== command line, 1,000,000 trips"
"$bin/write_sample_logbook" "$work/trips1m.fbu" 1000000
measure "--dump-json (1,000,000 trips, output to /dev/null)" "$bin/fahrtenbuch" --dump-json "$work/trips1m.fbu"
