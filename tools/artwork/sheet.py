"""Contact sheet: every written image enlarged three times on a checkerboard,
with its name, plus a few assembled previews at 1:1 and 2:1.

Magenta pixels are shown as the checkerboard, so what the engines treat as
transparent can be seen at a glance.  The images are read back from the
files the generator wrote, so the sheet shows exactly what is committed.
"""

import os

from PIL import Image, ImageDraw, ImageFont

import draw as D
import preview

SCALE = 3
WIDTH = 1420
PAD = 12
FONT = ImageFont.load_default()


def checker(w, h, cell=6):
    img = Image.new('RGB', (w, h), (204, 204, 204))
    d = ImageDraw.Draw(img)
    for y in range(0, h, cell):
        for x in range((y // cell) % 2 * cell, w, cell * 2):
            d.rectangle([x, y, x + cell - 1, y + cell - 1], fill=(244, 244, 244))
    return img


def show(img, scale=SCALE):
    """Image on a checkerboard, magenta made see-through, enlarged."""
    rgb = img.convert('RGB')
    alpha = Image.new('L', rgb.size, 255)
    ap = alpha.load()
    px = rgb.load()
    for y in range(rgb.size[1]):
        for x in range(rgb.size[0]):
            if px[x, y] == D.MAGENTA:
                ap[x, y] = 0
    big = rgb.resize((rgb.size[0] * scale, rgb.size[1] * scale), Image.NEAREST)
    bigalpha = alpha.resize(big.size, Image.NEAREST)
    out = checker(*big.size)
    out.paste(big, (0, 0), bigalpha)
    return out


class Flow:
    def __init__(self):
        self.items = []  # (y, x, image)
        self.x = PAD
        self.y = PAD
        self.row_h = 0

    def heading(self, text):
        self.newline()
        self.items.append((self.y, PAD, ('text', text, (40, 40, 40))))
        self.y += 18

    def add(self, label, tile):
        w, h = tile.size
        if self.x + w > WIDTH - PAD and self.x > PAD:
            self.newline()
        self.items.append((self.y, self.x, tile))
        self.items.append((self.y + h + 2, self.x, ('text', label, (70, 70, 70))))
        self.x += max(w, len(label) * 6) + PAD
        self.row_h = max(self.row_h, h + 16)

    def newline(self):
        if self.row_h:
            self.y += self.row_h + 6
        self.x = PAD
        self.row_h = 0

    def render(self):
        self.newline()
        out = Image.new('RGB', (WIDTH, self.y + PAD), (255, 255, 255))
        d = ImageDraw.Draw(out)
        for y, x, item in self.items:
            if isinstance(item, tuple):
                d.text((x, y), item[1], fill=item[2], font=FONT)
            else:
                out.paste(item, (x, y))
        return out


def _load(path):
    img = Image.open(path)
    img.load()
    return img.convert('RGB')


def build(art, icons):
    names = sorted(n[:-4] for n in os.listdir(art) if n.endswith('.bmp'))
    images = {n: _load(os.path.join(art, n + '.bmp')) for n in names}
    f = Flow()
    f.heading('Assembled previews (1:1 and 2:1)')
    for label, img in preview.build(images, os.path.join(art, 'skin')):
        f.add(label, img)
    styles = ['MACOS', 'WINXP', 'DEEPBLUE', 'PROTEIN', 'BLUEGLASS']
    used = set()
    for st in styles:
        f.heading('Toolkit style %s (x%d)' % (st, SCALE))
        for n in names:
            if n.startswith(st + '_'):
                f.add(n, show(images[n]))
                used.add(n)
    f.heading('Toolkit, shared (x%d)' % SCALE)
    for n in ('MORE_SCROLLBUTTON', 'MENU_CHECKED', 'MSGDLG'):
        f.add(n, show(images[n]))
        used.add(n)
    f.heading('Skin engine built-ins: picture above mask (x%d)' % SCALE)
    for n in names:
        if n not in used:
            f.add(n, show(images[n]))
    f.heading('Internal skin: form title buttons and master bitmap (x%d)' % SCALE)
    skin_dir = os.path.join(art, 'skin')
    for n in sorted(os.listdir(skin_dir)):
        if n != 'MASTER.bmp':
            f.add('skin/' + n, show(_load(os.path.join(skin_dir, n))))
    f.add('skin/MASTER.bmp', show(_load(os.path.join(skin_dir, 'MASTER.bmp'))))
    f.heading('Message dialog frame pictures, program icon (x%d)' % SCALE)
    md = os.path.join(art, 'msgdlg')
    for n in sorted(os.listdir(md)):
        f.add('msgdlg/' + n, show(_load(os.path.join(md, n))))
    for im in icons:
        f.add('MAINICON %d' % im.size[0], _icon_tile(im))
    return f.render()


def _icon_tile(im):
    big = im.resize((im.size[0] * SCALE, im.size[1] * SCALE), Image.NEAREST)
    out = checker(*big.size).convert('RGBA')
    out.alpha_composite(big)
    return out.convert('RGB')
