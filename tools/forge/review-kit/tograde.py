import sys, re
# grade.py full output -> lines with at least one undecided non-empty answer, empty columns dropped
lo, hi = int(sys.argv[2]), int(sys.argv[3])
for l in open(sys.argv[1]):
    m = re.match(r'(\d+) (\S+): (.*)', l.rstrip('\n'))
    if not m or not (lo <= int(m.group(1)) <= hi): continue
    parts = [p.strip() for p in m.group(3).split(' | ')]
    parts = [p for p in parts if not re.match(r'^\w+\[.?\]$', p)]
    if any(re.match(r'^\w+\[ \]', p) for p in parts):
        print(f'{m.group(1)} {m.group(2)}: ' + ' | '.join(parts))
