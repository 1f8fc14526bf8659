#!/usr/bin/env python3
"""fix_drawing.py FILE.txt: when line logic leaves cells undecided, flip as few cells as it
can (one at a time, each time the flip that leaves the fewest undecided) until it solves.
Writes FILE.txt back only when it succeeds (the old one kept as FILE.txt.orig) and prints
the flipped cells as (row, column), counted from 0. Then run check_drawing.py again and
look at the picture: undo by hand any flip that spoils it, and try another."""
import sys, os
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from nonlib import *

def undecided(g):
    R, C = len(g), len(g[0])
    sol, done = solve(*clues(g))
    if sol is None: return 10**9, []
    return sum(v is None for row in sol for v in row), [(r, c) for r in range(R) for c in range(C) if sol[r][c] is None]

path = sys.argv[1]
g = parse_ascii(open(path).read())
R, C = len(g), len(g[0])
limit = max(int(0.03 * sum(map(sum, g))), speckle(g))
left, cand = undecided(g)
flips = []
while left and len(flips) < 12:
    best = None
    near = {(r + dr, c + dc) for (r, c) in cand for dr, dc in ((0, 0), (0, 1), (1, 0), (0, -1), (-1, 0))}
    for (r, c) in sorted(q for q in near if 0 <= q[0] < R and 0 <= q[1] < C):
        g[r][c] ^= 1
        n, _ = undecided(g)
        if speckle(g) <= limit and (best is None or n < best[0]):
            best = (n, r, c)
        g[r][c] ^= 1
    if best is None or best[0] >= left: break
    g[best[1]][best[2]] ^= 1
    flips.append((best[1], best[2]))
    left, cand = undecided(g)
    print(f'flipped ({best[1]}, {best[2]}): {left} undecided')
if left:
    print(f'{path}: could not make it line-solvable ({left} undecided after {len(flips)} flips); change the drawing by hand')
else:
    os.replace(path, path + '.orig')
    open(path, 'w').write('\n'.join(''.join('#' if v else '.' for v in row) for row in g) + '\n')
    print(f'{path}: line-solvable after flipping {flips}; run check_drawing.py and look')
