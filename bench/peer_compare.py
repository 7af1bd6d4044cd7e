#!/usr/bin/env python3
"""Whole-process speed of vxp2bmp against peer converters, one file at a time.

usage: peer_compare.py VXP2BMP [--sample TSV] [--corpus DIR] [--dpi N] [--rounds N]
                         [--wmf-fontdir DIR]

The sample (default ../shared/bench/peer-sample.tsv beside the project) lists
"PATH<TAB>KIND<TAB>NOTE" lines, PATH under the corpus folder, KIND emf or
wmf... (wmf-placeable); the kind names the format of the contents.
WMF files are compared with wmf2gd (libwmf-bin), EMF files with emf2svg-conv
followed by rsvg-convert (emf2svg, librsvg2-bin); a peer that is not installed
is skipped with a note. wmf2gd needs the URW base 35 Type 1 fonts
(fonts-urw-base35); --wmf-fontdir points it at them where they are not installed. Every peer renders to the pixel size of our output, so
all draw the same number of pixels. Runs alternate ours / peer per file for
--rounds rounds (the order flips every round); the figure per file is the
median wall time of its runs, the ratio peer / ours. Prints per-file times,
the median ratio per peer and the files on which we are slower.
"""
import os
import shutil
import statistics
import struct
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SHARED = os.path.normpath(os.path.join(HERE, "..", "..", "shared"))


def option(argv, name, default):
    if name in argv:
        return argv[argv.index(name) + 1]
    return default


def run_timed(commands):
    """Wall time of the commands run one after the other; None if one fails."""
    start = time.perf_counter()
    for command in commands:
        result = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if result.returncode != 0:
            return None
    return time.perf_counter() - start


def bmp_size(path):
    with open(path, "rb") as f:
        head = f.read(26)
    if len(head) < 26 or head[:2] != b"BM":
        return None
    width, height = struct.unpack_from("<ii", head, 18)
    return width, abs(height)


def peer_commands(kind, source, out_dir, width, height, wmf_fontdir):
    if kind.startswith("wmf"):
        if not shutil.which("wmf2gd"):
            return None, "wmf2gd"
        fonts = [f"--wmf-fontdir={wmf_fontdir}"] if wmf_fontdir else []
        return [["wmf2gd", *fonts, "-t", "png", f"--maxwidth={width}", f"--maxheight={height}", "--maxsize",
                 "-o", os.path.join(out_dir, "peer.png"), source]], "wmf2gd"
    if not (shutil.which("emf2svg-conv") and shutil.which("rsvg-convert")):
        return None, "emf2svg+rsvg"
    svg = os.path.join(out_dir, "peer.svg")
    return [["emf2svg-conv", "-i", source, "-o", svg, "-w", str(width), "-h", str(height)],
            ["rsvg-convert", "-w", str(width), "-h", str(height), "-o",
             os.path.join(out_dir, "peer.png"), svg]], "emf2svg+rsvg"


def main(argv):
    if len(argv) < 2 or argv[1].startswith("-"):
        print(__doc__)
        return 2
    binary = os.path.abspath(argv[1])
    sample = option(argv, "--sample", os.path.join(SHARED, "bench", "peer-sample.tsv"))
    corpus = option(argv, "--corpus", os.path.join(SHARED, "corpus"))
    dpi = option(argv, "--dpi", "300")
    rounds = int(option(argv, "--rounds", "5"))
    wmf_fontdir = option(argv, "--wmf-fontdir", None)

    rows = []
    for line in open(sample):
        if line.startswith("#") or not line.strip():
            continue
        fields = line.rstrip("\n").split("\t")
        rows.append((fields[0], fields[1] if len(fields) > 1 else "emf"))

    out_dir = tempfile.mkdtemp(prefix="vxp-peer-")
    ours_out = os.path.join(out_dir, "ours.bmp")
    plans, skipped = [], []
    try:
        for path, kind in rows:
            source = os.path.join(corpus, path)
            ours = [[binary, source, ours_out, "-D", dpi]]
            if run_timed(ours) is None or not bmp_size(ours_out):
                skipped.append((path, "vxp2bmp failed"))
                continue
            width, height = bmp_size(ours_out)
            peer, peer_name = peer_commands(kind, source, out_dir, max(width, 1), max(height, 1), wmf_fontdir)
            if peer is None:
                skipped.append((path, peer_name + " not installed"))
                continue
            if run_timed(peer) is None:
                skipped.append((path, peer_name + " failed"))
                continue
            plans.append({"path": path, "peer": peer_name, "ours_cmd": ours, "peer_cmd": peer,
                          "ours": [], "theirs": []})

        for round_index in range(rounds):
            for plan in plans:
                pair = [("ours", plan["ours_cmd"]), ("theirs", plan["peer_cmd"])]
                if round_index % 2:
                    pair.reverse()
                for key, commands in pair:
                    elapsed = run_timed(commands)
                    if elapsed is not None:
                        plan[key].append(elapsed)
    finally:
        shutil.rmtree(out_dir, ignore_errors=True)

    print(f"# {len(plans)} files at {dpi} dpi, {rounds} alternating rounds, cores: {os.cpu_count()}, "
          f"load average at the end: {os.getloadavg()[0]:.2f}")
    print(f"{'ours s':>9} {'peer s':>9} {'ratio':>7}  peer          file")
    ratios = {}
    slower = []
    for plan in plans:
        if not plan["ours"] or not plan["theirs"]:
            continue
        ours = statistics.median(plan["ours"])
        theirs = statistics.median(plan["theirs"])
        ratio = theirs / ours
        ratios.setdefault(plan["peer"], []).append(ratio)
        if ratio < 1:
            slower.append((plan["path"], plan["peer"], ratio))
        print(f"{ours:9.4f} {theirs:9.4f} {ratio:7.2f}  {plan['peer']:<13} {plan['path']}")
    print()
    for peer, values in sorted(ratios.items()):
        print(f"median ratio {peer}: {statistics.median(values):.2f}x over {len(values)} files "
              f"(min {min(values):.2f}x, max {max(values):.2f}x)")
    print(f"files where we are slower: {len(slower)}")
    for path, peer, ratio in slower:
        print(f"  {ratio:.2f}x  {peer:<13} {path}")
    for path, why in skipped:
        print(f"skipped: {path}: {why}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
