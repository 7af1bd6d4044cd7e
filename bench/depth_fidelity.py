#!/usr/bin/python3
"""Scores vxp2bmp's true-colour output against the reference renderer drawing
into a DIB of the same depth, over many files.

usage: /usr/bin/python3 depth_fidelity.py VXP2BMP DPI SOURCE... [--depth=24] [--oracle=DIR]
                                          [--refs=DIR] [--out=DIR] [--jobs=N] [--worst=N]
                                          [--leave-out=LIST]

SOURCE: files or folders (searched recursively); every file whose bytes are an
EMF or a placeable WMF is taken. The references are rendered once with
`VXP_ORACLE_DEPTH=DEPTH nice -n 10 bash ORACLE/render.sh --batch` and cached
in --refs (default ~/.cache/vxp-oracle-refs/depthDEPTH/DPI), keyed by the
file's path, size and mtime. Ours: `VXP2BMP SRC DST -D DPI --depth=DEPTH`.
--leave-out: a file whose lines start with paths (a scores.tsv of the oracle's
fidelity.py: the rows without a score) not to send to the reference renderer,
such as files known to crash or hang it; they count as left out.
REFRENDER_TIMEOUT (seconds a reference may take, default 120 here) should stay
well above the start-up of a Wine worker on a loaded machine.

Per file, with the rules of the oracle's compare.py:
  ink   = share of the positions where either picture is not white at which
          each picture's colour occurs in the other within 3x3;
  exact = share of identical pixels.
A file the reference cannot draw is left out; ours failing or writing another
size scores 0. Rows go to OUT/scores.tsv (path, ink, exact, note); the worst
files and the median, 10th percentile, mean and count >= 99.9 % are printed.
"""
import concurrent.futures as cf
import hashlib
import os
import statistics
import struct
import subprocess
import sys

import numpy as np
from PIL import Image

Image.MAX_IMAGE_PIXELS = None
TOO_LARGE = 150_000_000  # pixels; larger pictures are not compared


def metafile_kind(path):
    try:
        with open(path, 'rb') as f:
            head = f.read(44)
    except OSError:
        return None
    if len(head) >= 44 and struct.unpack_from('<I', head)[0] == 1 and head[40:44] == b' EMF':
        return 'emf'
    if head[:4] == b'\xd7\xcd\xc6\x9a':
        return 'wmf'
    return None


def collect(sources):
    for s in sources:
        if os.path.isdir(s):
            for d, dirs, names in os.walk(s):
                dirs.sort()
                for n in sorted(names):
                    yield os.path.join(d, n)
        else:
            yield s


def ref_name(refs, path):
    st = os.stat(path)
    h = hashlib.sha1(('%s|%d|%d' % (os.path.abspath(path), st.st_size, int(st.st_mtime))).encode())
    return os.path.join(refs, h.hexdigest()[:20] + '.bmp')


def pixels(path):
    with open(path, 'rb') as f:
        head = f.read(26)
    if len(head) < 26:
        return 0
    w, h = struct.unpack_from('<ii', head, 18)
    return abs(w) * abs(h)


def rgb(path):
    return np.asarray(Image.open(path).convert('RGB'))


def near(a, b):
    """True where a's colour occurs in b's 3x3 neighbourhood."""
    h, w = a.shape[:2]
    pb = np.pad(b, ((1, 1), (1, 1), (0, 0)), mode='edge')
    ok = np.zeros((h, w), bool)
    for dy in range(3):
        for dx in range(3):
            ok |= np.all(pb[dy:dy + h, dx:dx + w] == a, axis=2)
    return ok


def score(ours, ref):
    a, b = rgb(ours), rgb(ref)
    if a.shape != b.shape:
        return 0.0, 0.0, 'size %dx%d, reference %dx%d' % (a.shape[1], a.shape[0], b.shape[1], b.shape[0])
    exact = float(np.mean(np.all(a == b, axis=2)))
    ink = np.any(a != 255, axis=2) | np.any(b != 255, axis=2)
    n = int(ink.sum())
    if n == 0:
        return 1.0, exact, ''
    m = near(a, b) & near(b, a)
    return float(np.sum(m & ink)) / n, exact, ''


def render_references(oracle, todo, refs, out, dpi, depth):
    batch = os.path.join(out, 'batch.txt')
    with open(batch, 'w') as f:
        for p in todo:
            f.write('%s\t%s\t%d\n' % (os.path.abspath(p), ref_name(refs, p), dpi))
    env = dict(os.environ, VXP_ORACLE_DEPTH=str(depth),
               REFRENDER_TIMEOUT=os.environ.get('REFRENDER_TIMEOUT', '120'))
    with open(os.path.join(out, 'references.log'), 'w') as log:
        subprocess.run(['nice', '-n', '10', 'bash', os.path.join(oracle, 'render.sh'), '--batch', batch],
                       stdout=log, stderr=log, env=env)
    for p in todo:
        if not os.path.exists(ref_name(refs, p)):
            open(ref_name(refs, p) + '.fail', 'w').close()


def main(argv):
    args = [a for a in argv if not a.startswith('--')]
    opts = dict((a[2:].split('=', 1) + [''])[:2] for a in argv if a.startswith('--'))
    if len(args) < 3:
        sys.exit(__doc__)
    binary, dpi = os.path.abspath(args[0]), int(args[1])
    depth = int(opts.get('depth') or 24)
    here = os.path.dirname(os.path.abspath(__file__))
    oracle = opts.get('oracle') or os.path.normpath(os.path.join(here, '..', '..', 'shared', 'oracle'))
    refs = opts.get('refs') or os.path.expanduser('~/.cache/vxp-oracle-refs/depth%d/%d' % (depth, dpi))
    out = opts.get('out') or '/tmp/vxp-depth-fidelity/%d-%d' % (depth, dpi)
    os.makedirs(refs, exist_ok=True)
    os.makedirs(out, exist_ok=True)
    files = [(p, k) for p in collect(args[2:]) for k in [metafile_kind(p)] if k]
    if opts.get('leave-out'):
        with open(opts['leave-out']) as f:
            rows = [line.rstrip('\n').split('\t') for line in f if line.strip()]
        # A scores table: only the rows without a score; a plain list: every line.
        unscored = set(os.path.abspath(r[0]) for r in rows if len(r) < 2 or r[1] == '')
        files = [(p, k) for p, k in files if os.path.abspath(p) not in unscored]
    todo = [p for p, _ in files if not os.path.exists(ref_name(refs, p))
            and not os.path.exists(ref_name(refs, p) + '.fail')]
    if todo:
        print('rendering %d references at %d bits ...' % (len(todo), depth), file=sys.stderr)
        render_references(oracle, todo, refs, out, dpi, depth)

    def one(item):
        path, kind = item
        ref = ref_name(refs, path)
        if not os.path.exists(ref) or os.path.getsize(ref) == 0:
            return path, None, None, 'no reference'
        if pixels(ref) > TOO_LARGE:
            return path, None, None, 'too large to compare'
        tag = hashlib.sha1(path.encode()).hexdigest()[:16]
        src = path
        if not path.lower().endswith('.' + kind):  # the converter goes by the extension
            src = os.path.join(out, tag + '.' + kind)
            if not os.path.exists(src):
                os.symlink(os.path.abspath(path), src)
        dst = os.path.join(out, tag + '.bmp')
        if os.path.exists(dst):
            os.unlink(dst)
        try:
            r = subprocess.run([binary, src, dst, '-D%d' % dpi, '--depth=%d' % depth],
                               capture_output=True, timeout=120)
        except subprocess.TimeoutExpired:
            return path, 0.0, 0.0, 'timeout'
        if r.returncode != 0 or not os.path.exists(dst):
            msg = r.stderr.decode('latin1').strip().replace('\r\n', ' ').replace('\n', ' ')
            return path, 0.0, 0.0, 'exit %d %s' % (r.returncode, msg[:100])
        try:
            ink, exact, note = score(dst, ref)
        except Exception as e:  # noqa: BLE001 - an unreadable picture is a result
            ink, exact, note = 0.0, 0.0, 'unreadable: %s' % e
        if 'keep' not in opts:
            os.unlink(dst)
        return path, ink, exact, note

    with cf.ThreadPoolExecutor(int(opts.get('jobs') or 2)) as pool:
        rows = list(pool.map(one, files))
    with open(os.path.join(out, 'scores.tsv'), 'w') as f:
        for path, ink, exact, note in rows:
            f.write('%s\t%s\t%s\t%s\n' % (path, '' if ink is None else '%.5f' % ink,
                                          '' if exact is None else '%.5f' % exact, note))
    scored = [r for r in rows if r[1] is not None]
    if not scored:
        print('no file could be scored')
        return 1
    inks = sorted(r[1] for r in scored)
    p10 = inks[max(0, int(len(inks) * 0.1) - 1)]
    for path, ink, _, note in sorted(scored, key=lambda r: r[1])[:int(opts.get('worst') or 10)]:
        print('%6.2f%%  %s  %s' % (100 * ink, path, note))
    print('%d bits, %d dpi: %d files scored (%d left out), median ink %.2f%%, 10th percentile %.2f%%, '
          'mean %.2f%%, %d at >= 99.9%%, %d identical, %d failed; scores in %s' % (
              depth, dpi, len(scored), len(rows) - len(scored), 100 * statistics.median(inks), 100 * p10,
              100 * statistics.mean(inks), sum(v >= 0.999 for v in inks), sum(r[2] == 1.0 for r in scored),
              sum(1 for r in scored if r[1] == 0.0 and r[3]), os.path.join(out, 'scores.tsv')))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
