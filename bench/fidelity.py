#!/usr/bin/env python3
"""Renders corpus files with vxp2bmp and compares them with reference renders.

usage: fidelity.py VXP2BMP BATCH_LIST OUT_DIR [--compare PATH_TO_compare.py] [--every N] [--rows TSV]

BATCH_LIST holds lines "SOURCE<TAB>REFERENCE_BMP<TAB>DPI" (the reference renderer's
--batch format, already rendered). Prints the ink-match distribution.
"""
import filecmp
import os
import re
import statistics
import subprocess
import sys


def main(argv):
    binary, batch, out_dir = argv[1:4]
    compare = "/work/shared/oracle/compare.py"
    every = 1
    if "--compare" in argv:
        compare = argv[argv.index("--compare") + 1]
    if "--every" in argv:
        every = int(argv[argv.index("--every") + 1])
    os.makedirs(out_dir, exist_ok=True)
    rows = []
    lines = [l.rstrip("\n").split("\t") for l in open(batch) if l.strip()]
    for index, (src, ref, dpi) in enumerate(lines):
        if index % every:
            continue
        ours = os.path.join(out_dir, os.path.basename(ref))
        if os.path.exists(ours):
            os.remove(ours)
        try:
            run = subprocess.run([binary, src, ours, "-D", dpi], capture_output=True, timeout=120)
            status = run.returncode
            err = run.stderr.decode(errors="replace").strip().splitlines()
        except subprocess.TimeoutExpired:
            status, err = "timeout", []
        ref_ok = os.path.exists(ref)
        ours_ok = os.path.exists(ours)
        if not ref_ok and not ours_ok:
            rows.append((src, None, "both refuse"))
            continue
        if ref_ok != ours_ok:
            rows.append((src, 0.0, "only %s rendered (%s)" % ("reference" if ref_ok else "ours", " ".join(err[-1:]))))
            continue
        if filecmp.cmp(ref, ours, shallow=False):
            rows.append((src, 100.0, "identical" if os.path.getsize(ref) else "both empty"))
            os.remove(ours)
            continue
        result = subprocess.run(["/usr/bin/python3", compare, ours, ref, "--quiet"], capture_output=True)
        summary = result.stdout.decode(errors="replace").strip().splitlines()[-1:]
        match = re.search(r"ink ([0-9.]+)%", summary[0] if summary else "")
        ink = float(match.group(1)) if match else 0.0
        rows.append((src, ink, summary[0] if summary else "no summary"))
        os.remove(ours)
    scored = sorted((r for r in rows if r[1] is not None), key=lambda r: r[1])
    inks = [r[1] for r in scored]
    print("files: %d compared, %d refused by both" % (len(scored), len(rows) - len(scored)))
    if inks:
        print("ink match median %.2f%%, 10th percentile %.2f%%, mean %.2f%%" % (
            statistics.median(inks), inks[max(0, len(inks) // 10 - 1)] if len(inks) >= 10 else inks[0],
            statistics.mean(inks)))
    if "--rows" in argv:
        with open(argv[argv.index("--rows") + 1], "w") as out:
            for src, ink, note in rows:
                out.write("%s\t%s\t%s\n" % (src, "" if ink is None else "%.4f" % ink, note))
    print("worst files:")
    for src, ink, note in scored[:10]:
        print("  %6.2f%%  %s  %s" % (ink, src, note[:160]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
