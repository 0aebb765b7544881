"""Assembled previews for the contact sheet: the message dialog in each
toolkit style and a window in the internal skin, put together from the
written bitmaps the way the engines use them (nine-slice stretching, title
sections, masked borders), so the pieces can be judged together.
"""

import os

from PIL import Image, ImageDraw, ImageFont

import draw as D

CJK = '/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc'


def _font(size):
    try:
        return ImageFont.truetype(CJK, size)
    except OSError:
        return ImageFont.load_default()


def _keyed_rgba(img):
    rgba = img.convert('RGBA')
    px = rgba.load()
    for y in range(rgba.size[1]):
        for x in range(rgba.size[0]):
            if px[x, y][:3] == D.MAGENTA:
                px[x, y] = (0, 0, 0, 0)
    return rgba


def sliced(bmp, w, h, transparent):
    """Nine-piece stretch of a state image over a w x h button."""
    W, H = bmp.size
    src = _keyed_rgba(bmp)
    opaque = bmp.convert('RGBA')
    out = Image.new('RGBA', (w, h), (0, 0, 0, 0))
    corner_src = src if transparent else opaque

    def corner(sx0, sy0, sx1, sy1, ax, ay, right, bottom):
        pw = max(0, min(sx1 - sx0, ax))
        ph = max(0, min(sy1 - sy0, ay))
        if not pw or not ph:
            return (0, 0)
        cx0 = sx1 - pw if right else sx0
        cy0 = sy1 - ph if bottom else sy0
        piece = corner_src.crop((cx0, cy0, cx0 + pw, cy0 + ph))
        out.alpha_composite(piece, (w - pw if right else 0, h - ph if bottom else 0))
        return (pw, ph)

    def stretch(box, target):
        x0, y0, x1, y1 = target
        if x1 <= x0 or y1 <= y0 or box[2] <= box[0] or box[3] <= box[1]:
            return
        piece = src.crop(box).resize((x1 - x0, y1 - y0), Image.NEAREST)
        out.alpha_composite(piece, (x0, y0))

    tl = corner(0, 0, W // 2, H // 2, w // 2, h // 2, False, False)
    bl = corner(0, H - H // 2 + 1, W // 2, H, w // 2, h // 2 - 1, False, True)
    tr = corner(W - W // 2 + 1, 0, W, H // 2, w // 2 - 1, h // 2, True, False)
    br = corner(W - W // 2 + 1, H - H // 2 + 1, W, H, w // 2 - 1, h // 2 - 1, True, True)
    stretch((0, H // 2, min(W // 2, tl[0]), H - H // 2), (0, tl[1], tl[0], h - bl[1]))
    stretch((W - tr[0], H // 2, W, H // 2 + 1), (w - tr[0], tr[1], w, h - br[1]))
    stretch((W // 2, 0, W - W // 2 + 1, tl[1]), (tl[0], 0, w - tr[0], tl[1]))
    stretch((W // 2, H // 2, W - W // 2 + 1, H - H // 2), (tl[0], tl[1], w - tr[0], h - br[1]))
    stretch((W // 2, H - bl[1], W - W // 2 + 1, H), (tl[0], h - bl[1], w - br[0], h))
    return out


STYLE = {
    # border colour, border width, background, round corner, button row top,
    # right offset, left offset, transparent title buttons, transparent button
    'MACOS': ('#7f7f7f', 1, '#e7e7e7', 0, 4, -2, 3, False, True),
    'WINXP': ('#002cc8', 3, '#efebde', 13, 5, -2, 2, False, False),
    'DEEPBLUE': ('#000000', 1, '#e8e8e8', 0, 2, 0, 0, False, False),
    'PROTEIN': ('#000000', 1, '#fbfbfb', 0, 2, 0, 0, True, False),
    'BLUEGLASS': ('#000000', 1, '#e7e7e7', 11, 6, -3, 4, True, True),
}


def dialog(style, images, caption_colour='#ffffff'):
    border, bw, bg, rc, btop, roff, loff, tbtn, tbutton = STYLE[style]
    W, H = 266 + 2 * bw, 169
    win = Image.new('RGBA', (W, H), D.rgb(border) + (255,))
    pw, ph = W - 2 * bw, H - bw
    panel = Image.new('RGBA', (pw, ph), D.rgb(bg) + (255,))
    if style in ('MACOS', 'PROTEIN'):
        panel = D.tile(images[style + '_FORM_BACKGROUND'], pw, ph).convert('RGBA')
    left, client, right = (images['%s_TITLE_%s' % (style, p)] for p in ('LEFT', 'CLIENT', 'RIGHT'))
    th = left.size[1]
    bar = Image.new('RGBA', (pw, th))
    bar.paste(left, (0, 0))
    cx0, cx1 = left.size[0], pw
    if pw - (left.size[0] - 1) >= right.size[0]:
        bar.paste(right, (pw - right.size[0], 0))
        cx1 = pw - right.size[0]
    if cx1 > cx0:
        bar.paste(client.resize((cx1 - cx0, th), Image.NEAREST), (cx0, 0))
    strip = images[style + '_TITLEBTN']
    fw = strip.size[0] // 18
    close = strip.crop((15 * fw, 0, 16 * fw, fw))
    x = pw + roff - fw
    bar.alpha_composite(_keyed_rgba(close) if tbtn else close.convert('RGBA'), (x, btop))
    d = ImageDraw.Draw(bar)
    f = _font(12)
    l = loff or 6
    d.text((l, (fw - 12) // 2 + btop), '提醒', font=f, fill=D.rgb(caption_colour))
    if style != 'WINXP' and rc:
        d.rounded_rectangle([-1, 0, pw, th + 50], radius=rc // 2, outline=D.rgb(border))
    panel.alpha_composite(bar, (0, 0))
    ImageDraw.Draw(panel).text((24, 64), '数据库安装成功！', font=f, fill=(0, 0, 0))
    bstrip = images[style + '_BUTTON']
    bwid = bstrip.size[0] // 3
    face = sliced(bstrip.crop((0, 0, bwid, bstrip.size[1])), 73, 25, tbutton)
    if not tbutton:
        back = Image.new('RGBA', face.size, D.rgb(bg) + (255,))
        back.alpha_composite(face)
        face = back
    ImageDraw.Draw(face).text((36 - 12, 6), '确定', font=f, fill=(0, 0, 0))
    panel.alpha_composite(face, (W - 97 - bw, 124))
    win.alpha_composite(panel, (bw, 0))
    if rc:
        # the window region: top corners cut by an rc x rc ellipse
        cut = Image.new('L', (W, H), 0)
        cd = ImageDraw.Draw(cut)
        cd.rounded_rectangle([0, 0, W, H + 2 * rc], radius=rc // 2, fill=255)
        white = Image.new('RGBA', (W, H), (255, 255, 255, 255))
        white.paste(win, (0, 0), cut)
        win = white
    return win.convert('RGB')


def button_states(style, images):
    _, _, bg, _, _, _, _, _, tbutton = STYLE[style]
    bstrip = images[style + '_BUTTON']
    bwid = bstrip.size[0] // 3
    row = Image.new('RGB', (3 * 83 + 8, 33), D.rgb(bg))
    if style in ('MACOS', 'PROTEIN'):
        row = D.tile(images[style + '_FORM_BACKGROUND'], *row.size)
    f = _font(12)
    for i in range(3):
        face = sliced(bstrip.crop((bwid * i, 0, bwid * (i + 1), bstrip.size[1])), 73, 25, tbutton)
        ImageDraw.Draw(face).text((24 + (i == 2), 6 + (i == 2)), '确定', font=f, fill=(0, 0, 0))
        tmp = row.convert('RGBA')
        tmp.alpha_composite(face, (4 + 83 * i, 4))
        row = tmp.convert('RGB')
    return row


# ------------------------------------------------------------------ skin

def _grad(h, segments):
    """Vertical gradient from 'c1;c2;percent;0;0;...' segments (colours $BBGGRR)."""
    parts = segments.split(';')
    stops = []
    y = 0.0
    for i in range(0, len(parts) - 4, 5):
        c1, c2, pc = int(parts[i]), int(parts[i + 1]), int(parts[i + 2])
        stops.append((y, D.rgb(c1)))
        y += pc / 100.0
        stops.append((min(y, 1.0), D.rgb(c2)))
    stops.append((1.0, stops[-1][1]))
    return D._ramp(h, stops)


def _rule(dst, pic, m):
    return tuple((d * mm + s * (256 - mm)) >> 8 for d, s, mm in zip(dst, pic, (m, m, m)))


def nine(dst, x0, y0, w, h, src, sx, sy, fw, ph, masked, parent=None):
    """Nine-part border of one frame (picture at sx, sy; mask ph rows below)."""
    cw, ch = fw // 3, ph // 3
    L = cw if w >= 2 * cw else w // 2
    R = cw if w >= 2 * cw else L + (w % 2)
    T = ch if h >= 2 * ch else h // 2
    B = ch if h >= 2 * ch else T + (h % 2)
    px = dst.load()
    sp = src.load()

    def put(dx, dy, qx, qy):
        p = sp[sx + qx, sy + qy]
        if p == D.MAGENTA:
            if parent is not None:
                px[x0 + dx, y0 + dy] = parent
            return
        if masked:
            m = sp[sx + qx, sy + qy + ph][0]
            px[x0 + dx, y0 + dy] = _rule(px[x0 + dx, y0 + dy], p, m)
        else:
            px[x0 + dx, y0 + dy] = p

    def span(n, cell, corner_far):
        # positions and source offsets along one axis: near corner, tiles, far corner
        out = []
        near = corner_far[0]
        far = corner_far[1]
        for i in range(near):
            out.append((i, i))
        p = near
        while p < n - far:
            for k in range(cell):
                if p + k < n - far:
                    out.append((p + k, cell + k))
            p += cell
        for i in range(far):
            out.append((n - far + i, 3 * cell - far + i))
        return out

    xs = span(w, cw, (L, R))
    ys = span(h, ch, (T, B))
    for dy, qy in ys:
        for dx, qx in xs:
            put(dx, dy, qx, qy)


def skin_window(images, skin_dir):
    master = Image.open(os.path.join(skin_dir, 'MASTER.bmp')).convert('RGB')
    W, H = 300, 150
    sysb, cap = 3, 19
    th = sysb + cap
    win = Image.new('RGB', (W, H), (255, 255, 255))
    # FORM: 3 x 3 border picture, no mask, centre filled
    nine(win, 0, 0, W, H, master, 76, 38, 3, 3, False)
    # FORMTITLE: active gradient at 50 % over the frame, then its border
    title = _grad(th, '16777215;16777215;19;0;0;16777215;12632256;60;0;0;12632256;11382189;20;0;0;'
                      '11382189;11382189;0;0;0')
    px = win.load()
    for y in range(th):
        for x in range(W):
            px[x, y] = tuple((a + b + 1) // 2 for a, b in zip(px[x, y], title[y]))
    nine(win, 0, 0, W, th, master, 135, 38, 30, 24, True, parent=(255, 255, 255))
    d = ImageDraw.Draw(win)
    f = _font(12)
    text = '数据库安装'
    tx, ty = sysb + 16 + 4 + 4, sysb + 3
    for ox, oy in ((-1, 0), (0, -1)):
        d.text((tx + ox, ty + oy), text, font=f, fill=(255, 255, 255))
    d.text((tx, ty), text, font=f, fill=(0, 0, 0))
    # title buttons: close, maximise, minimise from the right
    btop = (sysb + cap - 19) // 2
    for slot, name in enumerate(('BICLOSE', 'BIMAX', 'BIMIN'), 1):
        strip = Image.open(os.path.join(skin_dir, name + '.bmp')).convert('RGB')
        x = W - sysb - slot * 18
        nine_glyph(win, x, btop, strip, 1 if slot == 1 else 0)
    # the button in its three states
    seg_n = '16777215;14211288;75;0;0;14211288;16777215;24;0;0;16777215;16777215;0;0;0'
    seg_h = ('16775664;12358776;17;0;0;12358776;16758114;29;0;0;16758114;16777215;53;0;0;'
             '16777215;16777215;0;0;0')
    for i in range(3):
        bx, by, bwid, bh = 20 + 88 * i, 95, 75, 25
        rows = _grad(bh, seg_n if i == 0 else seg_h)
        for y in range(bh):
            for x in range(bwid):
                px[bx + x, by + y] = rows[y]
        nine(win, bx, by, bwid, bh, master, 24 * i, 449, 24, 24, True, parent=D.rgb('#ececec'))
        d.text((bx + 24 + (i == 2), by + 6 + (i == 2)), '安装', font=f, fill=(0, 0, 0))
    d.text((20, 50), '请先安装数据库服务器', font=f, fill=(0, 0, 0))
    return win


def nine_glyph(dst, x0, y0, strip, state):
    fw, fh = strip.size[0] // 3, strip.size[1] // 2
    px = dst.load()
    sp = strip.load()
    for y in range(fh):
        for x in range(fw):
            p = sp[state * fw + x, y]
            if p == D.MAGENTA:
                continue
            m = sp[state * fw + x, y + fh][0]
            px[x0 + x, y0 + y] = _rule(px[x0 + x, y0 + y], p, m)


def build(images, skin_dir):
    out = []
    for style in ('MACOS', 'WINXP', 'DEEPBLUE', 'PROTEIN', 'BLUEGLASS'):
        dlg = dialog(style, images)
        out.append((style + ' dialog 1:1', dlg))
    out.append(('MACOS dialog 2:1', dialog('MACOS', images).resize((268 * 2, 338), Image.NEAREST)))
    win = skin_window(images, skin_dir)
    out.append(('internal skin 1:1', win))
    out.append(('internal skin 2:1', win.resize((600, 300), Image.NEAREST)))
    for style in ('MACOS', 'WINXP', 'DEEPBLUE', 'PROTEIN', 'BLUEGLASS'):
        out.append((style + ' button states 2:1', button_states(style, images).resize((257 * 2, 66), Image.NEAREST)))
    return out
