import sys, re
# dec file "N LETTERS" + tograde file -> manual lines for the undecided columns in order
tog = {}
for l in open(sys.argv[1]):
    m = re.match(r'(\d+) (\S+): (.*)', l.rstrip('\n'))
    cols = [re.match(r'(\w+)\[ \]', p.strip()).group(1) for p in m.group(3).split(' | ') if re.match(r'\w+\[ \]', p.strip())]
    tog[int(m.group(1))] = cols
out = open(sys.argv[3], 'a')
for l in open(sys.argv[2]):
    n, v = l.split()
    n = int(n)
    cols = tog.pop(n)
    assert len(cols) == len(v), (n, cols, v)
    for r, c in zip(cols, v):
        out.write(f'{n}\t{r}\t{c}\n')
assert not tog, tog
