#!/usr/bin/env bash
# The fixed cost of one process: CPU time (task-clock), page faults and
# instructions (callgrind) of /bin/true, a one-line text page and the
# shapes sample at 96 dpi, for each binary given, side by side.
#
# usage: bench/fixed_cost.sh VXP2BMP... [-r RUNS]
# Task-clock is the mean of RUNS runs (perf stat -r); on a loaded machine
# read it beside the page faults and instruction counts, which do not move.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
RUNS=40
BINARIES=()
while [ $# -gt 0 ]; do
  case "$1" in
    -r) RUNS=$2; shift 2 ;;
    *) BINARIES+=("$1"); shift ;;
  esac
done
[ ${#BINARIES[@]} -gt 0 ] || { sed -n 2,8p "$0"; exit 2; }
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
python3 "$HERE/one_line_page.py" "$WORK/line.emf"
cp "$HERE/../samples/shapes.emf" "$WORK/shapes.emf"

measure() {  # label, command...
  local label=$1; shift
  local stat
  stat=$(perf stat -x, -r "$RUNS" -e task-clock,page-faults "$@" 2>&1 >/dev/null | grep -E "task-clock|page-faults")
  local clock faults ir
  clock=$(echo "$stat" | grep task-clock | cut -d, -f1)
  faults=$(echo "$stat" | grep page-faults | cut -d, -f1)
  ir=$(valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null | sed -n 's/.*Collected : //p')
  printf "%-48s %10.3f ms %8s faults %12s Ir\n" "$label" "$clock" "$faults" "$ir"
}

measure "/bin/true" /bin/true
for binary in "${BINARIES[@]}"; do
  for page in line shapes; do
    measure "$binary $page.emf 96 dpi" "$binary" "$WORK/$page.emf" "$WORK/$page.bmp" -D 96
  done
done
