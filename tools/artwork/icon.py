"""The program icon: a database cylinder with a green arrow going in.

Each size is drawn on its own so that the small ones stay crisp, and the
icon file is written by hand with 32-bit images and their AND masks, which
every icon loader reads.
"""

import struct

from PIL import Image

import draw as D


def _cylinder(s):
    L = D.new(s, s)
    k = s / 48.0
    x0, x1 = 6 * k, 36 * k
    top, bottom = 7 * k, 42 * k
    ry = 5 * k if s > 16 else 2.6
    if s == 16:
        x0, x1, top, bottom = 1, 12, 2, 15
    body = D.union(D.rrect(s, s, (x0, top + ry, x1, bottom - ry), 0),
                   D.ellipse(s, s, (x0, bottom - 2 * ry, x1, bottom)),
                   D.ellipse(s, s, (x0, top, x1, top + 2 * ry)))
    side = D.hgradient(s, s, [(0, '#4a6d9c'), (0.35, '#8fb3e3'), (0.6, '#6f95cc'), (1, '#2d4f80')],
                       int(x0), int(round(x1)))
    D.paint(L, '#000000', D.shift(body, 1 if s > 16 else 0, 1), 0.25)
    D.paint(L, side, body)
    # the bands between the stacked discs
    n = 2
    for i in range(1, n + 1):
        y = top + ry + (bottom - top - 2 * ry) * i / (n + 1.0)
        seam = D.subtract(D.ellipse(s, s, (x0, y - ry, x1, y + ry)),
                          D.ellipse(s, s, (x0, y - ry - max(1.0, k * 1.2), x1, y + ry - max(1.0, k * 1.2))))
        D.paint(L, '#1f3b63', D.intersect(seam, body), 0.55)
        hi = D.subtract(D.ellipse(s, s, (x0, y - ry + max(1.0, k), x1, y + ry + max(1.0, k))),
                        D.ellipse(s, s, (x0, y - ry, x1, y + ry)))
        D.paint(L, '#d8e8ff', D.intersect(hi, body), 0.5)
    lid = D.ellipse(s, s, (x0, top, x1, top + 2 * ry))
    D.paint(L, D.vgradient(s, s, [(0, '#e6f0ff'), (1, '#a9c6ee')], int(top), int(top + 2 * ry)), lid)
    D.paint(L, '#27476f', D.ellipse_ring(s, s, (x0, top, x1, top + 2 * ry), 1), 0.7)
    outline = D.subtract(body, D.union(D.rrect(s, s, (x0 + 1, top + ry, x1 - 1, bottom - ry), 0),
                                       D.ellipse(s, s, (x0 + 1, bottom - 2 * ry, x1 - 1, bottom - 1)),
                                       D.ellipse(s, s, (x0 + 1, top + 1, x1 - 1, top + 2 * ry))))
    D.paint(L, '#1c355a', outline, 0.8)
    return L


def _arrow(s, L):
    k = s / 48.0
    if s == 16:
        cx, cy, r = 11.5, 11.0, 4.5
    else:
        cx, cy, r = 35 * k, 32 * k, 12 * k
    badge = D.ellipse(s, s, (cx - r, cy - r, cx + r, cy + r))
    D.paint(L, '#000000', D.shift(badge, 0, 1), 0.25)
    D.paint(L, D.vgradient(s, s, [(0, '#7fe07a'), (1, '#1f8f2a')], int(cy - r), int(cy + r)), badge)
    D.paint(L, '#156b1e', D.ellipse_ring(s, s, (cx - r, cy - r, cx + r, cy + r), 1), 0.9)
    if s > 16:
        gloss = D.ellipse(s, s, (cx - r * 0.7, cy - r * 0.9, cx + r * 0.7, cy))
        D.paint(L, '#ffffff', gloss, 0.35)
    # an arrow pointing down into the store
    a = r * 0.55
    head = D.polygon(s, s, [(cx - a, cy), (cx + a, cy), (cx, cy + a * 0.95)])
    stem = D.rrect(s, s, (cx - a * 0.38, cy - a * 0.95, cx + a * 0.38, cy + 0.5), 0)
    D.paint(L, '#ffffff', D.union(head, stem))
    return L


def draw_icon(s):
    return _arrow(s, _cylinder(s))


def _dib(img):
    w, h = img.size
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    px = img.load()
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = px[x, y]
            xor += bytes((b, g, r, a))
    stride = ((w + 31) // 32) * 4
    andm = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if px[x, y][3] < 128:
                row[x // 8] |= 0x80 >> (x % 8)
        andm += row
    return header + bytes(xor) + bytes(andm)


def write_ico(path, images):
    blobs = [_dib(im) for im in images]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for im, blob in zip(images, blobs):
        w, h = im.size
        out += struct.pack('<BBBBHHII', w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    with open(path, 'wb') as f:
        f.write(out + b''.join(blobs))


def build():
    return [draw_icon(s) for s in (16, 32, 48)]
