"""Read .non clue files and ASCII drawings, solve by line logic, draw numbered sheets."""
import struct, zlib, re, sys, os

def parse_non(text):
    lines = [l.strip() for l in text.splitlines()]
    meta, rows, cols, mode = {}, [], [], None
    for l in lines:
        if not l:
            continue
        m = re.match(r'(\w+)\s+(.*)', l)
        if l in ('rows', 'columns'):
            mode = l; continue
        if mode is None and m:
            meta[m.group(1)] = m.group(2).strip('"'); continue
        if mode and re.match(r'^[0-9,\s]+$', l):
            clue = [int(x) for x in l.split(',') if x.strip() and int(x) > 0]
            (rows if mode == 'rows' else cols).append(clue)
        elif mode and m:
            mode = None; meta[m.group(1)] = m.group(2)
    return meta, rows, cols

def review_band(rows, cols):
    """The band review.tsv judges a board of this size in, by its longer side."""
    side = max(rows, cols)
    return 'small' if side < 15 else 'mid' if side < 30 else 'big'

def line_solve(clue, cells):
    """cells: 1 filled, 0 empty, None unknown. Returns the refined line, or None on a contradiction."""
    n, k = len(cells), len(clue)
    def fits(s, L):
        return s + L <= n and all(c != 0 for c in cells[s:s + L])
    # G[p][j]: cells p.. hold runs j.. (nothing asked of cell p)
    G = [[False] * (k + 1) for _ in range(n + 2)]
    G[n][k] = True
    for p in range(n - 1, -1, -1):
        for j in range(k + 1):
            v = cells[p] != 1 and G[p + 1][j]
            if not v and j < k and fits(p, clue[j]):
                e = p + clue[j]
                v = (e == n and j == k - 1) or (e < n and cells[e] != 1 and G[e + 1][j + 1])
            G[p][j] = v
    if not G[0][0]:
        return None
    # F[i][j]: cells ..i-1 hold runs ..j-1 and cell i-1 is empty (or i == 0)
    F = [[False] * (k + 1) for _ in range(n + 1)]
    F[0][0] = True
    for i in range(n):
        for j in range(k + 1):
            if not F[i][j]:
                continue
            if cells[i] != 1:
                F[i + 1][j] = True
            if j < k and fits(i, clue[j]):
                e = i + clue[j]
                if e < n and cells[e] != 1:
                    F[e + 1][j + 1] = True
    canfill, canempty = [False] * n, [False] * n
    for i in range(n):
        if cells[i] != 1 and any(F[i + 1][j] and G[i + 1][j] for j in range(k + 1)):
            canempty[i] = True
    for j in range(k):
        L = clue[j]
        for s in range(n - L + 1):
            if not F[s][j] or not fits(s, L):
                continue
            e = s + L
            if (e == n and j == k - 1) or (e < n and cells[e] != 1 and G[e + 1][j + 1]):
                for t in range(s, e):
                    canfill[t] = True
    out = []
    for i in range(n):
        if not canfill[i] and not canempty[i]:
            return None
        out.append(1 if not canempty[i] else (0 if not canfill[i] else None))
    return out

def solve(rows, cols):
    R, C = len(rows), len(cols)
    g = [[None] * C for _ in range(R)]
    changed = True
    while changed:
        changed = False
        for r in range(R):
            new = line_solve(rows[r], g[r])
            if new is None:
                return None, False
            if new != g[r]:
                g[r] = new; changed = True
        for c in range(C):
            col = [g[r][c] for r in range(R)]
            new = line_solve(cols[c], col)
            if new is None:
                return None, False
            if new != col:
                for r in range(R):
                    g[r][c] = new[r]
                changed = True
    done = all(v is not None for row in g for v in row)
    return g, done

def runs(line):
    out, n = [], 0
    for v in line:
        if v: n += 1
        elif n: out.append(n); n = 0
    if n: out.append(n)
    return out

def clues(g):
    """The row and column clues of a solved grid."""
    return [runs(r) for r in g], [runs([row[c] for row in g]) for c in range(len(g[0]))]

def parse_ascii(text):
    """'#' or 'X' filled, '.' or ' ' empty."""
    rows = [l.rstrip('\n') for l in text.splitlines() if l.strip() and not l.startswith(';')]
    w = max(len(r) for r in rows)
    return [[1 if ch in '#X@' else 0 for ch in r.ljust(w)] for r in rows]

def grid_to_non(grid, title):
    R, C = len(grid), len(grid[0])
    out = ['title "%s"' % title, 'by "the game\'s developers, drawn for it"', 'license "CC0-1.0"',
           'width %d' % C, 'height %d' % R, '', 'rows']
    rows, cols = clues(grid)
    out += [','.join(map(str, l)) or '0' for l in rows]
    out += ['', 'columns']
    out += [','.join(map(str, l)) or '0' for l in cols]
    return '\n'.join(out) + '\n'

FONT = {  # 5x7 digits
    '0': ['01110', '10001', '10011', '10101', '11001', '10001', '01110'],
    '1': ['00100', '01100', '00100', '00100', '00100', '00100', '01110'],
    '2': ['01110', '10001', '00001', '00010', '00100', '01000', '11111'],
    '3': ['11110', '00001', '00001', '01110', '00001', '00001', '11110'],
    '4': ['00010', '00110', '01010', '10010', '11111', '00010', '00010'],
    '5': ['11111', '10000', '11110', '00001', '00001', '10001', '01110'],
    '6': ['00110', '01000', '10000', '11110', '10001', '10001', '01110'],
    '7': ['11111', '00001', '00010', '00100', '01000', '01000', '01000'],
    '8': ['01110', '10001', '10001', '01110', '10001', '10001', '01110'],
    '9': ['01110', '10001', '10001', '01111', '00001', '00010', '01100'],
}

def write_png(path, w, h, pix):
    raw = b''.join(b'\x00' + bytes(pix[y * w:(y + 1) * w]) for y in range(h))
    def chunk(t, d):
        return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
    png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 0, 0, 0, 0))
    png += chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')
    open(path, 'wb').write(png)

def sheet(path, grids, first_number, per_row=4, tile=300, numbered=True):
    cap = 40 if numbered else 0
    n = len(grids)
    nrows = (n + per_row - 1) // per_row
    W, H = per_row * (tile + 20) + 20, nrows * (tile + cap + 20) + 20
    pix = bytearray([255]) * (W * H)
    for i, g in enumerate(grids):
        x0 = 20 + (i % per_row) * (tile + 20)
        y0 = 20 + (i // per_row) * (tile + cap + 20)
        label = str(first_number + i) if numbered else ''
        s = 4
        for d, ch in enumerate(label):
            for yy, bits in enumerate(FONT[ch]):
                for xx, b in enumerate(bits):
                    if b == '1':
                        for a in range(s):
                            for bb in range(s):
                                X = x0 + d * 6 * s + xx * s + bb
                                Y = y0 + yy * s + a
                                pix[Y * W + X] = 0
        if g is None:
            continue
        R, C = len(g), len(g[0])
        cell = max(1, min(tile // C, tile // R))
        ox = x0 + (tile - cell * C) // 2
        oy = y0 + cap + (tile - cell * R) // 2
        # light frame so the board's extent is visible
        for X in range(ox - 1, ox + cell * C + 1):
            pix[(oy - 1) * W + X] = 190; pix[(oy + cell * R) * W + X] = 190
        for Y in range(oy - 1, oy + cell * R + 1):
            pix[Y * W + ox - 1] = 190; pix[Y * W + ox + cell * C] = 190
        for r in range(R):
            for c in range(C):
                if g[r][c]:
                    for Y in range(oy + r * cell, oy + (r + 1) * cell):
                        base = Y * W
                        for X in range(ox + c * cell, ox + (c + 1) * cell):
                            pix[base + X] = 0
    write_png(path, W, H, pix)

def speckle(g):
    """Filled cells in pieces (8-connected) of fewer than five cells."""
    R, C = len(g), len(g[0]); seen = set(); out = 0
    for r0 in range(R):
        for c0 in range(C):
            if not g[r0][c0] or (r0, c0) in seen: continue
            stack = [(r0, c0)]; seen.add((r0, c0)); piece = 0
            while stack:
                r, c = stack.pop(); piece += 1
                for dr in (-1, 0, 1):
                    for dc in (-1, 0, 1):
                        q = (r + dr, c + dc)
                        if 0 <= q[0] < R and 0 <= q[1] < C and g[q[0]][q[1]] and q not in seen:
                            seen.add(q); stack.append(q)
            if piece < 5: out += piece
    return out
