#!/usr/bin/env python3
"""single_images.py NAME EXPORTDIR: one image per puzzle of a check (REVIEW_DIR/keys/NAME.tsv,
from final_sample.py), REVIEW_DIR/NAME/001.png on, from the `.non` files of
`nonogram-forge export --format non EXPORTDIR`. A picture on its own, named only by its file's
number, is how a player sees it; reviewers named pictures on these as often as on
make_round.py's sheets."""
import os, sys
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from nonlib import parse_non, solve, sheet
W = os.environ.get('REVIEW_DIR', 'review-work')
name, export = sys.argv[1], sys.argv[2]
os.makedirs(f'{W}/{name}', exist_ok=True)
for l in open(f'{W}/keys/{name}.tsv'):
    f = l.rstrip('\n').split('\t')
    _, rows, cols = parse_non(open(f'{export}/{f[2]}.non').read())
    grid, done = solve(rows, cols)
    assert done, f[2]
    sheet(f'{W}/{name}/{int(f[0]):03d}.png', [grid], 1, per_row=1, tile=480, numbered=False)
print('images in', f'{W}/{name}')
