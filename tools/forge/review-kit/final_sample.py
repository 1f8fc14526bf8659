#!/usr/bin/env python3
"""final_sample.py NAME SEED PER_BAND: a fresh random sample per band of the issue, shuffled together."""
import os as _os
ROOT = _os.path.abspath(_os.path.join(_os.path.dirname(_os.path.abspath(__file__)), '..', '..', '..'))
W = _os.environ.get('REVIEW_DIR', 'review-work')  # sheets, keys and answers of the rounds
import csv, random, sys
name, seed, per = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
rng = random.Random(seed)
bands = {'u15': [], '15-29': [], '30-44': [], '45+': []}
for r in csv.reader(open(ROOT + '/data/tasks/MANIFEST.tsv'), delimiter='\t'):
    if r[0] == 'class': continue
    R, C = int(r[5]), int(r[6])
    lo, hi = min(R, C), max(R, C)
    if hi < 15: bands['u15'].append(r)
    elif hi < 30: bands['15-29'].append(r)
    elif lo >= 45: bands['45+'].append(r)
    elif lo >= 30: bands['30-44'].append(r)
pick = []
for b, rows in bands.items():
    for r in rng.sample(rows, per):
        pick.append((b, r))
rng.shuffle(pick)
with open(f'{W}/{name}.stems', 'w') as s, open(f'{W}/keys/{name}.tsv', 'w') as k:
    for n, (b, r) in enumerate(pick, 1):
        s.write(f'{r[2]}/{r[4]}\n'); k.write(f'{n}\t{r[7]}:{r[8]}\t{r[2]}/{r[4]}\t{b}\n')
print(len(pick))
