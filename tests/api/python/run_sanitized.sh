#!/usr/bin/env bash
# Runs a Python command (the module's tests) against the library of a build
# with the address and undefined-behaviour sanitizers. The interpreter is not
# built with them, so the sanitizer runtime is preloaded, and the C++ runtime
# with it (the sanitizer intercepts its throw, and must find it at start-up).
# The interpreter keeps objects to its end, which the leak checker lists; only
# leaks whose stack runs through the library fail the run.
# usage: run_sanitized.sh ASAN_RUNTIME CXX_RUNTIME COMMAND...
set -uo pipefail
asan=$1 cxx=$2
shift 2
log=$(mktemp)
trap 'rm -f "$log"' EXIT
LD_PRELOAD="$asan $cxx" \
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=1:fast_unwind_on_malloc=0" \
  "$@" >"$log" 2>&1
cat "$log"
# A failed test, or a sanitizer report that ended the process, leaves no "OK".
grep -q '^OK' "$log" || exit 1
# A leak block runs from its "Direct/Indirect leak" line to the blank line.
if awk '/^(Direct|Indirect) leak/ { block = 1; hit = 0; next }
        block && /^$/ { if (hit) found = 1; block = 0 }
        block && /vxp2bmp|vx::/ { hit = 1 }
        END { if (block && hit) found = 1; exit found ? 0 : 1 }' "$log"; then
  echo "run_sanitized.sh: memory leaked through the library" >&2
  exit 1
fi
exit 0
