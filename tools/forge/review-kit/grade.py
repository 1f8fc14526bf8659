#!/usr/bin/env python3
"""grade.py ROUND: table of key vs answers with automatic marks; manual verdicts in
REVIEW_DIR/keys/ROUND-manual.tsv (N<TAB>reviewer<TAB>S|M) override. Writes ROUND-verdicts.tsv."""
import os as _os
ROOT = _os.path.abspath(_os.path.join(_os.path.dirname(_os.path.abspath(__file__)), '..', '..', '..'))
W = _os.environ.get('REVIEW_DIR', 'review-work')  # sheets, keys and answers of the rounds
import sys, re, os, glob
rnd = sys.argv[1]
key = {int(l.split('\t')[0]): l.split('\t')[1] for l in open(f'{W}/keys/{rnd}.tsv')}
answers = {}
for f in sorted(glob.glob(f'{W}/{rnd}/answers-*.tsv')):
    r = re.search(r'answers-(\w+)\.tsv', f).group(1)
    for l in open(f):
        if rnd[0] in 'mbf':
            m = re.match(r'\s*(\d+)\t+\s*(\d+)\t+(.*)', l.rstrip('\n'))
            if m:
                sheet_no, pic = int(m.group(1)), int(m.group(2))
                # numbered per sheet, or straight through the round
                n = pic if pic > 16 or sheet_no == 1 else (sheet_no - 1) * 16 + pic
                answers.setdefault(n, {})[r] = m.group(3).strip()
            continue
        m = re.match(r'\s*(\d+)\s+(.*)', l.rstrip('\n'))
        if m:
            answers.setdefault(int(m.group(1)), {})[r] = m.group(2).strip()
manual = {}
mf = f'{W}/keys/{rnd}-manual.tsv'
if os.path.exists(mf):
    for l in open(mf):
        p = l.rstrip('\n').split('\t')
        if len(p) >= 3:
            manual[(int(p[0]), p[1])] = p[2]
GENERIC = {'head', 'face', 'old', 'open', 'the', 'a', 'of', 'and', 'can', 'glass', 'box', 'ball',
           'machine', 'light', 'pot', 'cup', 'sand', 'timer', 'shape', 'piece'}
SYN = {'automobile': ['car'], 'mug': ['mug', 'coffee cup', 'cup'], 'donut': ['doughnut'],
       'sailboat': ['sailing', 'sail boat', 'sailboat'], 'ship': ['boat', 'ship'],
       'hen': ['chicken', 'hen'], 'chick': ['chick', 'baby bird', 'chicken'],
       'television': ['tv', 'television'], 'computer-monitor': ['monitor', 'computer', 'screen'],
       'old-telephone': ['telephone', 'phone'], 'rubber-duck': ['duck'],
       'soccer-ball': ['soccer', 'football'], 'spade': ['spade'], 'club': ['club', 'clover'],
       'bowling-ball': ['bowling'], 'hot-air-balloon': ['hot air', 'hot-air'],
       'christmas-tree': ['christmas', 'xmas'], 'pine-tree': ['pine', 'fir', 'evergreen', 'conifer', 'spruce'],
       'paint-roller': ['roller'], 'fish-bone': ['fish', 'skeleton'], 'bull-head': ['bull'],
       'smiley-face': ['smiley', 'smiling', 'smile', 'happy face'], 'sad-face': ['sad', 'frown'],
       'rain-cloud': ['rain'], 'gift-box': ['gift', 'present'], 'cheese-wedge': ['cheese'],
       'teddy-bear-face': ['teddy', 'bear'], 'bear-face': ['bear'], 'deer-head': ['deer', 'reindeer', 'stag', 'moose', 'antler'],
       'robot-head': ['robot'], 'alien-head': ['alien'], 'horse-head': ['horse'],
       'trash-can': ['trash', 'bin', 'garbage', 'rubbish', 'waste'], 'wine-glass': ['wine', 'goblet'],
       'cocktail-glass': ['cocktail', 'martini'], 'high-heel': ['heel', 'stiletto', 'pump'],
       'key-old': ['key'], 'magnifying-glass': ['magnif'], 'flower-pot': ['pot plant', 'potted', 'flower pot', 'flowerpot', 'plant'],
       'hourglass-sand-timer': ['hourglass', 'sand timer', 'egg timer'], 'music-note': ['music', 'note', 'quaver'],
       'bow-and-arrow': ['bow and arrow', 'archery'], 'bow-tie': ['bow tie', 'bowtie'],
       'bowl-of-soup': ['soup', 'bowl'], 'scissors-open': ['scissor'], 'scissors': ['scissor'],
       'shopping-cart': ['cart', 'trolley'], 'table-lamp': ['lamp'], 'roller-skate': ['skate'],
       'ice-skate': ['skate'], 'chess-pawn': ['pawn'], 'chess-knight': ['knight', 'horse'],
       'rocking-horse': ['rocking'], 'washing-machine': ['washing', 'washer', 'laundry'],
       'traffic-light': ['traffic light', 'stoplight', 'stop light'], 'traffic-cone': ['cone'],
       'watering-can': ['watering'], 'picket-fence': ['fence'], 'candy-cane': ['candy cane'],
       'chicken-drumstick': ['drumstick', 'chicken leg'], 'clothes-iron': ['iron'],
       'gingerbread-man': ['gingerbread'], 'pizza-slice': ['pizza'], 'spinning-top': ['spinning top', 'top'],
       'tombstone': ['tombstone', 'gravestone', 'headstone', 'grave'], 'electric-plug': ['plug'],
       'light-bulb': ['bulb'], 'lightning-bolt': ['lightning', 'bolt'], 'palm-tree': ['palm'],
       'eiffel-tower': ['eiffel'], 'hiking-boot': ['boot'], 'cake': ['cake'], 'bug': ['bug', 'beetle', 'insect'],
       'toilet': ['toilet'], 'gear': ['gear', 'cog'], 'diamond': ['diamond', 'gem', 'jewel'],
       'airplane': ['plane', 'aeroplane', 'airplane', 'jet'], 'moon': ['moon', 'crescent'],
       'leaf': ['leaf'], 'tooth': ['tooth', 'molar'], 'brush': ['brush'], 'dog': ['dog', 'puppy'],
       'tree': ['tree'], 'house': ['house', 'home'], 'cat': ['cat', 'kitten'], 't-shirt': ['shirt', 'tee'],
       'necktie': ['tie'], 'moustache': ['moustache', 'mustache'], 'lips': ['lips', 'mouth', 'kiss'],
       'fork': ['fork'], 'sock': ['sock', 'stocking'], 'mitten': ['mitten', 'glove'], 'boot': ['boot'],
       'door': ['door'], 'rocket': ['rocket'], 'bell': ['bell'], 'anchor': ['anchor'],
       'headphones': ['headphone', 'headset'], 'glasses': ['glasses', 'spectacles', 'eyeglasses', 'sunglasses'],
       'birdhouse': ['birdhouse', 'bird house', 'nest box', 'nesting box'],
       'bathtub': ['bath'], 'submarine': ['submarine'], 'tank': ['tank'], 'tractor': ['tractor'],
       'fire-engine': ['fire engine', 'fire truck', 'firetruck', 'fire-engine'],
       'fish-skeleton': ['fish skeleton', 'fishbone', 'fish bone', 'skeleton of a fish'],
       'chess-king': ['king'], 'knight-helmet': ['helmet'], 'ice-cream-cone': ['ice cream', 'ice-cream', 'soft serve'],
       'grandfather-clock': ['clock'], 'corn-cob': ['corn', 'maize'], 'treasure-chest': ['chest'],
       'ferris-wheel': ['ferris', 'big wheel', 'observation wheel'],
       'street-lamp': ['street lamp', 'streetlamp', 'street light', 'streetlight', 'lamppost', 'lamp post'],
       'fire-hydrant': ['hydrant'], 'skyscraper': ['skyscraper', 'tower block', 'high-rise', 'high rise'],
       }
def auto(name, ans):
    a = ans.lower()
    if a.startswith('?'):
        return 'M'
    base = re.sub(r'-\d+(x\d+)?$', '', name.split(':')[1])
    cands = SYN.get(base, [])
    words = [] if len(base.split('-')) > 1 and cands else [w for w in base.split('-') if w not in GENERIC and len(w) > 2]
    for c in cands + words:
        if re.search(r'\b' + re.escape(c.lower()), a):
            return 'S'
    return ''
out = open(f'{W}/keys/{rnd}-verdicts.tsv', 'w')
revs = sorted({r for a in answers.values() for r in a})
undecided = 0
for n in sorted(key):
    name = key[n]
    row = []
    for r in revs:
        ans = answers.get(n, {}).get(r, '')
        if not ans:
            continue
        v = manual.get((n, r)) or auto(name, ans)
        if not v:
            undecided += 1
        row.append((r, ans, v))
        out.write(f'{n}\t{name}\t{r}\t{v or "?"}\t{ans}\n')
    if '-q' not in sys.argv or any(not v for _, _, v in row):
        print(f'{n} {name}: ' + ' | '.join(f'{r}{"["+v+"]" if v else "[ ]"} {ans}' for r, ans, v in row))
print('undecided', undecided, file=sys.stderr)
