#!/usr/bin/env python3
"""apply.py ROUND BAND: append the round's verdicts to review.tsv (one line per answer), keep it sorted.
BAND auto: each picture's band from the size of the .non file its key line names (mixed
rounds), or from the band a final check's key gives."""
import os as _os
ROOT = _os.path.abspath(_os.path.join(_os.path.dirname(_os.path.abspath(__file__)), '..', '..', '..'))
W = _os.environ.get('REVIEW_DIR', 'review-work')  # sheets, keys and answers of the rounds
import sys
sys.path.insert(0, _os.path.dirname(_os.path.abspath(__file__)))
from nonlib import parse_non, review_band
rnd, band = sys.argv[1], sys.argv[2]
path = ROOT + '/tools/forge/review.tsv'
lines = open(path).read().splitlines()
n = 0
bands = {}
if band == 'auto':
    for l in open(f'{W}/keys/{rnd}.tsv'):
        f = l.rstrip('\n').split('\t')
        if len(f) > 3:  # a final check's key names the band of the board's sides
            bands[f[0]] = {'u15': 'small', '15-29': 'mid'}.get(f[3], 'big')
            continue
        _, rows, cols = parse_non(open(f[2]).read())
        bands[f[0]] = review_band(len(rows), len(cols))
for l in open(f'{W}/keys/{rnd}-verdicts.tsv'):
    f = l.rstrip('\n').split('\t')
    v = f[3]
    if v not in ('S', 'M'):
        sys.exit(f'undecided: {l}')
    src, name = f[1].split(':', 1)
    lines.append(f'{src}\t{name}\t{bands.get(f[0], band)}\t{"seen" if v == "S" else "missed"}')
    n += 1
lines.sort(key=lambda x: x.split('\t')[:3])
open(path, 'w').write('\n'.join(lines) + '\n')
print('appended', n)
