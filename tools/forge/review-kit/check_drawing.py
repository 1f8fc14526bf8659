#!/usr/bin/env python3
"""check_drawing.py FILE.txt [NAME]: an ASCII drawing ('#' filled, '.' empty) -> is it
solvable by line logic alone (hence unique)? Writes FILE.non beside it when it is, and a
preview FILE.png (300 px)."""
import sys, os
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from nonlib import *
for path in sys.argv[1:]:
    g = parse_ascii(open(path).read())
    R, C = len(g), len(g[0])
    rows, cols = clues(g)
    sol, done = solve(rows, cols)
    name = os.path.splitext(os.path.basename(path))[0]
    bad = [l for l in g if len(l) != C]
    if bad:
        print(f"{path}: rows of unequal width"); continue
    if done and sol == g:
        open(os.path.splitext(path)[0] + '.non', 'w').write(grid_to_non(g, name))
        sheet(os.path.splitext(path)[0] + '.png', [g], 1, per_row=1)
        lines = rows + cols
        cpl = sum(len(l) for l in lines) / len(lines)
        filled = sum(map(sum, g))
        specks = speckle(g)
        warn = ''
        if specks > 0.03 * filled: warn += f'  TOO SPECKLED: {specks} filled cells lie in pieces under 5 cells (at most {int(0.03 * filled)} allowed)'
        print(f"{path}: {C}x{R} OK, line-solvable, {cpl:.2f} clues per line{warn}")
    else:
        unk = sum(1 for row in sol for v in row if v is None) if sol else -1
        print(f"{path}: {C}x{R} NOT line-solvable ({unk} cells undecided): change the drawing")
