#!/usr/bin/env python3
"""unreviewed.py BAND OUTSTEMS OUTKEY SEED: catalogue puzzles of a band whose picture the new rounds have not judged at that band."""
import os as _os
ROOT = _os.path.abspath(_os.path.join(_os.path.dirname(_os.path.abspath(__file__)), '..', '..', '..'))
W = _os.environ.get('REVIEW_DIR', 'review-work')  # sheets, keys and answers of the rounds
import csv, glob, random, sys
sys.path.insert(0, _os.path.dirname(_os.path.abspath(__file__)))
from nonlib import review_band
band, out, keyout, seed = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
judged = set()
rounds = {'small': ['r1', 'r2', 'r3', 's2', 's3'], 'mid': ['m1', 'm2', 'm3', 'm4'], 'big': ['b1', 'b2', 'b3']}[band]
for r in rounds:
    for f in glob.glob(f'{W}/keys/{r}-verdicts.tsv'):
        for l in open(f):
            judged.add(l.split('\t')[1])
rows = []
for r in csv.reader(open(ROOT + '/data/tasks/MANIFEST.tsv'), delimiter='\t'):
    if r[0] == 'class': continue
    R, C = int(r[5]), int(r[6])
    b = review_band(R, C)
    if b != band: continue
    if band == 'big' and min(R, C) < 30: continue  # mixed boards are outside the bands we measure
    if f'{r[7]}:{r[8]}' in judged: continue
    rows.append(r)
random.Random(seed).shuffle(rows)
with open(out, 'w') as s, open(keyout, 'w') as k:
    for n, r in enumerate(rows, 1):
        s.write(f'{r[2]}/{r[4]}\n'); k.write(f'{n}\t{r[7]}:{r[8]}\t{r[2]}/{r[4]}\t{r[1]}\n')
print(len(rows), 'unjudged in', band)
