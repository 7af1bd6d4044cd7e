#!/usr/bin/env bash
# Instructions (callgrind Ir) of whole processes of two builds on the same
# files, side by side, with the ratio old / new and whether the outputs are
# the same bytes. Instruction counts hold under load, unlike seconds.
#
# usage: bench/callgrind_compare.sh OLD_VXP2BMP NEW_VXP2BMP DPI FILE...
# e.g.   bench/callgrind_compare.sh /work/baseline/before/vxp2bmp build/vxp2bmp 300 \
#          ../shared/corpus/files/npoi/embedded/Issue1252.xlsx__image3.emf
set -euo pipefail
[ $# -ge 4 ] || { sed -n 2,8p "$0"; exit 2; }
old=$1 new=$2 dpi=$3; shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
count() {  # binary, source, output
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$1" "$2" "$3" -D "$dpi" 2>&1 >/dev/null |
    sed -n 's/.*Collected : //p'
}
printf "%14s %14s %8s  %s\n" "old Ir" "new Ir" "old/new" "file"
for source in "$@"; do
  a=$(count "$old" "$source" "$work/old.bmp")
  b=$(count "$new" "$source" "$work/new.bmp")
  same="same output"
  cmp -s "$work/old.bmp" "$work/new.bmp" || same="OUTPUT DIFFERS"
  printf "%14s %14s %8.2f  %s (%s)\n" "$a" "$b" "$(echo "$a / $b" | bc -l)" "$(basename "$source")" "$same"
  rm -f "$work/old.bmp" "$work/new.bmp"
done
