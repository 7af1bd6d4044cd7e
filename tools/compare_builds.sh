#!/usr/bin/env bash
# Renders every corpus metafile with two builds of vxp2bmp and compares the
# outputs byte for byte; a refactoring must leave every output unchanged.
#
# usage: tools/compare_builds.sh OLD_VXP2BMP NEW_VXP2BMP [CORPUS_DIR] [DPI...]
# Prints one line per differing file and a summary; exit status 1 on any difference.
set -euo pipefail
old=$(realpath "$1"); new=$(realpath "$2"); shift 2
corpus=${1:-$(dirname "$0")/../../shared/corpus/files}; [ $# -gt 0 ] && shift
dpis=("$@"); [ ${#dpis[@]} -eq 0 ] && dpis=(96 300)
work=$(mktemp -d "${TMPDIR:-/tmp}/vxp-compare.XXXXXX")
trap 'rm -rf "$work"' EXIT
find "$corpus" -type f \( -iname '*.emf' -o -iname '*.wmf' \) | sort > "$work/list"
export old new work
render_one() {  # $1 index, $2 source, $3 dpi
  local a="$work/$1-$3-old.bmp" b="$work/$1-$3-new.bmp" sa sb
  sa=0; sb=0
  timeout 120 "$old" "$2" "$a" -D "$3" >"$a.out" 2>&1 || sa=$?
  timeout 120 "$new" "$2" "$b" -D "$3" >"$b.out" 2>&1 || sb=$?
  if [ "$sa" != "$sb" ]; then echo "DIFF status $sa/$sb $3dpi $2"
  elif [ -e "$a" ] || [ -e "$b" ]; then
    cmp -s "$a" "$b" || echo "DIFF pixels $3dpi $2"
  else
    # Both failed: the error report must be the same apart from the address.
    diff -q <(sed 's/[0-9A-F]\{8\}//g' "$a.out") <(sed 's/[0-9A-F]\{8\}//g' "$b.out") >/dev/null || echo "DIFF message $3dpi $2"
  fi
  echo "OK" > /dev/null
  rm -f "$a" "$b" "$a.out" "$b.out"
}
export -f render_one
total=0
for dpi in "${dpis[@]}"; do
  n=0
  while read -r f; do n=$((n+1)); printf '%s\t%s\t%s\n' "$n" "$f" "$dpi"; done < "$work/list"
done | xargs -P "$(nproc)" -d '\n' -n 1 bash -c 'IFS=$'"'"'\t'"'"' read -r i f d <<<"$1"; render_one "$i" "$f" "$d"' _ | tee "$work/diffs"
files=$(wc -l < "$work/list"); differ=$(grep -c '^DIFF' "$work/diffs" || true)
echo "compared $files files at ${dpis[*]} dpi: $differ renders differ"
[ "$differ" -eq 0 ]
