#!/usr/bin/env python3
"""make_round.py POOL.tsv ROUNDDIR SEED: shuffled numbered sheets of 16 + key (kept outside ROUNDDIR)."""
import os as _os
ROOT = _os.path.abspath(_os.path.join(_os.path.dirname(_os.path.abspath(__file__)), '..', '..', '..'))
W = _os.environ.get('REVIEW_DIR', 'review-work')  # sheets, keys and answers of the rounds
import sys, os, random
sys.path.insert(0, _os.path.dirname(_os.path.abspath(__file__)))
from nonlib import *
pool, rd, seed = sys.argv[1], sys.argv[2], int(sys.argv[3])
items = [l.rstrip('\n').split('\t') for l in open(pool) if l.strip()]
random.Random(seed).shuffle(items)
os.makedirs(rd, exist_ok=True)
os.makedirs(W + '/keys', exist_ok=True)
key = open(W + '/keys/' + os.path.basename(rd.rstrip('/')) + '.tsv', 'w')
grids = []
for n, it in enumerate(items, 1):
    m, r, c = parse_non(open(it[1]).read())
    g, done = solve(r, c)
    assert done, it
    grids.append(g)
    key.write(f'{n}\t{it[0]}\t{it[1]}\n')
for s in range(0, len(grids), 16):
    sheet(f'{rd}/sheet{s // 16 + 1:02d}.png', grids[s:s + 16], s + 1)
print(len(grids), 'pictures,', (len(grids) + 15) // 16, 'sheets')
