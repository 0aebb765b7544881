"""Images of the skin engine: the internal skin's master bitmap, the form's
title-button bitmaps, the predefined border masks and the small glyphs.

A masked image is a picture half above a grey mask half.  Magenta marks
pixels that lie outside a shape (the engine lets the parent show there and
cuts them out of window regions); pixels inside a shape that the picture
leaves to the background keep a neutral colour with mask 255, so that they
are never mistaken for the key colour.  Border frames are drawn so that their
nine cells tile: edge cells are even along their edge, bands of colour change
only at cell boundaries.

Small glyph bitmaps (three frames: normal, mouse over, pressed; each a
picture above its mask):
  RCC, RUC, RCH, RUH  radio button checked/unchecked, cold/hot
  CCC, CUC, CCH, CUH  check box checked/unchecked, cold/hot
  SF  file page        SR  refresh arrow     SD  calendar (date)
  SE  ellipsis         SC  calculator
  COMBO  drop-down button
"""

from PIL import Image

import draw as D
from draw import MAGENTA

MASTER_SIZE = (200, 497)

# (section, property, (left, top, right, bottom), image count, mask type)
ENTRIES = [
    ('SCROLLBAR2V', 'BORDERSMASK', (21, 90, 42, 159), 1, 0),
    ('SCROLLBAR1V', 'BORDERSMASK', (0, 90, 21, 159), 1, 0),
    ('SCROLLBAR1H', 'BORDERSMASK', (42, 114, 111, 138), 1, 0),
    ('SCROLLSLIDERV', 'BORDERSMASK', (0, 42, 63, 90), 3, 1),
    ('SCROLLSLIDERH', 'BORDERSMASK', (0, 0, 72, 42), 3, 1),
    ('TSPANEL', 'BORDERSMASK', (111, 91, 132, 133), 1, 1),
    ('TSPAGECONTROL', 'BORDERSMASK', (0, 159, 18, 183), 1, 1),
    ('TSPAGECONTROLBOTTOM', 'BORDERSMASK', (19, 159, 37, 183), 1, 1),
    ('TSPAGECONTROLLEFT', 'BORDERSMASK', (165, 38, 177, 74), 1, 1),
    ('TSPAGECONTROLRIGHT', 'BORDERSMASK', (177, 38, 189, 74), 1, 1),
    ('ALPHAEDIT', 'BORDERSMASK', (163, 135, 190, 183), 1, 1),
    ('SCROLLBAR2H', 'BORDERSMASK', (42, 91, 111, 114), 1, 0),
    ('CALCPANEL', 'BORDERSMASK', (163, 135, 190, 183), 1, 1),
    ('TSRADIOBUTTON', 'GLYPHCHECKED', (152, 344, 200, 380), 3, 1),
    ('TSRADIOBUTTON', 'GLYPHUNCHECKED', (103, 344, 151, 380), 3, 1),
    ('SCROLLBTNBOTTOM', 'BORDERSMASK', (63, 67, 135, 91), 3, 0),
    ('SCROLLBTNBOTTOM', 'GLYPHMASK', (11, 244, 20, 262), 1, 1),
    ('SCROLLBTNLEFT', 'BORDERSMASK', (42, 138, 114, 162), 3, 0),
    ('SCROLLBTNLEFT', 'GLYPHMASK', (31, 244, 40, 262), 1, 1),
    ('SCROLLBTNRIGHT', 'BORDERSMASK', (42, 162, 114, 186), 3, 0),
    ('SCROLLBTNRIGHT', 'GLYPHMASK', (21, 244, 30, 262), 1, 1),
    ('SCROLLBTNTOP', 'BORDERSMASK', (63, 42, 135, 66), 3, 0),
    ('SCROLLBTNTOP', 'GLYPHMASK', (1, 244, 10, 262), 1, 1),
    ('TSGAUGE', 'BORDERSMASK', (170, 184, 182, 208), 1, 1),
    ('TSGAUGE', 'GAUGEPROGRESSMASK', (183, 184, 198, 226), 1, 1),
    ('SIMPLYEDIT', 'BORDERSMASK', (170, 184, 182, 208), 1, 1),
    ('TSGROUPBOX', 'BORDERSMASK', (192, 168, 198, 180), 1, 1),
    ('TSCHECKBOX', 'GLYPHCHECKED', (130, 0, 187, 38), 3, 1),
    ('TSCHECKBOX', 'GLYPHUNCHECKED', (72, 0, 129, 38), 3, 1),
    ('MAINMENU', 'IMAGEFILE', (103, 188, 169, 228), 1, 0),
    ('TSBUTTON_BIG', 'BORDERSMASK', (42, 228, 177, 300), 3, 1),
    ('TSPANEL_LOWERED', 'BORDERSMASK', (170, 184, 182, 208), 1, 1),
    ('TSCONTAINER', 'BORDERSMASK', (170, 184, 182, 208), 1, 1),
    ('TSCOLORBOX_1', 'GLYPHMASK', (0, 390, 45, 424), 3, 1),
    ('TSCOMBOBOXEX', 'GLYPHMASK', (0, 390, 45, 424), 3, 1),
    ('TSCOMBOBOXEX_1', 'GLYPHMASK', (0, 390, 45, 424), 3, 1),
    ('TSCOMBOBOX', 'GLYPHMASK', (0, 390, 45, 407), 3, 0),
    ('TSTRACKBAR', 'SLIDERCHANNEL', (192, 155, 198, 167), 1, 1),
    ('TSTRACKBAR', 'SLIDERMASK', (167, 301, 200, 322), 3, 0),
    ('TSTRACKBAR', 'SLIDERVMASK', (0, 378, 63, 389), 3, 0),
    ('TSCOLORBOX', 'GLYPHMASK', (0, 390, 45, 407), 3, 0),
    ('TSTABSHEET', 'ACTIVETABBORDERSMASK', (72, 186, 102, 228), 1, 1),
    ('TSTABCONTROL', 'ACTIVETABBORDERSMASK', (72, 186, 102, 228), 1, 1),
    ('TSTABSHEET', 'INACTIVETABBORDERSMASK', (136, 86, 163, 110), 1, 0),
    ('TSTABCONTROL', 'INACTIVETABBORDERSMASK', (136, 86, 163, 110), 1, 0),
    ('TSTABCONTROLBOTTOM', 'ACTIVETABBORDERSMASK', (42, 186, 72, 228), 1, 1),
    ('TSTABSHEETBOTTOM', 'ACTIVETABBORDERSMASK', (42, 186, 72, 228), 1, 1),
    ('TSTABCONTROLBOTTOM', 'INACTIVETABBORDERSMASK', (163, 86, 190, 110), 1, 0),
    ('TSTABSHEETBOTTOM', 'INACTIVETABBORDERSMASK', (163, 86, 190, 110), 1, 0),
    ('TSTABSHEETLEFT', 'ACTIVETABBORDERSMASK', (21, 183, 42, 243), 1, 1),
    ('TSTABCONTROLLEFT', 'ACTIVETABBORDERSMASK', (21, 183, 42, 243), 1, 1),
    ('TSTABSHEETLEFT', 'INACTIVETABBORDERSMASK', (114, 134, 138, 161), 1, 0),
    ('TSTABCONTROLLEFT', 'INACTIVETABBORDERSMASK', (114, 134, 138, 161), 1, 0),
    ('TSTABCONTROLRIGHT', 'ACTIVETABBORDERSMASK', (0, 183, 21, 243), 1, 1),
    ('TSTABSHEETRIGHT', 'ACTIVETABBORDERSMASK', (0, 183, 21, 243), 1, 1),
    ('TSTABCONTROLRIGHT', 'INACTIVETABBORDERSMASK', (138, 134, 162, 161), 1, 0),
    ('TSTABSHEETRIGHT', 'INACTIVETABBORDERSMASK', (138, 134, 162, 161), 1, 0),
    ('FORMTITLE', 'BORDERSMASK', (135, 38, 165, 86), 1, 1),
    ('FORM', 'BICONHELP', (0, 340, 51, 378), 3, 1),
    ('FORM', 'BORDERSMASK', (76, 38, 79, 41), 1, 0),
    ('FORM', 'GRIPIMAGE', (179, 227, 197, 245), 1, 0),
    ('FORM', 'HOTIMAGEFILE', (103, 188, 169, 228), 1, 0),
    ('FORM', 'IMAGEFILE', (103, 188, 169, 228), 1, 0),
    ('FORM', 'TITLEBUTTON', (103, 344, 151, 380), 3, 1),
    ('DIVIDER', 'BORDERSMASK', (191, 23, 194, 41), 1, 1),
    ('TFRAME', 'BORDERSMASK', (192, 168, 198, 180), 1, 1),
    ('TSSPEEDBUTTON_SMALL', 'BORDERSMASK', (1, 263, 28, 281), 3, 1),
    ('TSSTATUSBAR', 'GRIPIMAGE', (179, 227, 197, 245), 1, 0),
    ('TSTOOLBUTTON', 'BORDERSMASK', (56, 389, 200, 449), 3, 1),
    ('TSDRAGBAR', 'BORDERSMASK', (192, 168, 198, 180), 1, 1),
    ('TSSPEEDBUTTON', 'BORDERSMASK', (56, 389, 200, 449), 3, 1),
    ('TSBUTTON', 'BORDERSMASK', (0, 449, 72, 497), 3, 1),
    ('TSBUTTON', 'SBORDERSMASK', (50, 300, 104, 336), 3, 1),
]

# Colours of the skin: a light, softly shaded desktop theme.
OUTLINE = ['#8a8a8a', '#4f86c6', '#2f5f9e']          # normal, hot, pressed
OUTLINE_DARK = ['#707070', '#3b70b0', '#244d85']
FACE_BG = '#ececec'                                   # what most borders sit on
TRACK = '#dcdcdc'

# The picture colour of pixels that leave the background as it is (mask 255).
NEUTRAL = (236, 236, 236)


def masked(layer, outside=None, threshold=D.KEY_THRESHOLD):
    """Picture above mask.  outside: coverage of the area outside the shape;
    by default everything the layer does not cover counts as outside."""
    w, h = layer.size
    if outside is None:
        outside = Image.eval(layer.getchannel('A'), lambda v: 255 - v)
    out = Image.new('RGB', (w, h * 2))
    src = layer.load()
    out_px = outside.load()
    dst = out.load()
    for y in range(h):
        for x in range(w):
            r, g, b, a = src[x, y]
            if 255 - out_px[x, y] < threshold:
                pic, m = MAGENTA, 255
            elif a == 0:
                pic, m = NEUTRAL, 255
            else:
                pic, m = (r, g, b), 255 - a
                if pic == MAGENTA:
                    pic = (254, 0, 255)
            dst[x, y] = pic
            dst[x, y + h] = (m, m, m)
    return out


def opaque_keyed(layer, shape, matte, threshold=D.KEY_THRESHOLD):
    """A picture without mask: magenta outside the shape, elsewhere the layer
    over the matte colour."""
    w, h = layer.size
    base = Image.new('RGBA', (w, h), D.rgb(matte) + (255,))
    base.alpha_composite(layer)
    out = base.convert('RGB')
    px = out.load()
    s = shape.load()
    for y in range(h):
        for x in range(w):
            if s[x, y] < threshold:
                px[x, y] = MAGENTA
            elif px[x, y] == MAGENTA:
                px[x, y] = (254, 0, 255)
    return out


def band(w, h, y0, y1):
    return D.rrect(w, h, (0, y0, w, y1), 0)


def col_band(w, h, x0, x1):
    return D.rrect(w, h, (x0, 0, x1, h), 0)


# ------------------------------------------------------------------ borders

def soft_border(w, h, r, state, ch, body=None, solid=False):
    """Round-cornered frame with an even outline: outline colour and inner
    highlight change only at the cell rows ch and h - ch.  body, when given,
    is a fill (colour or layer) of the inside; solid makes it cover fully."""
    L = D.new(w, h)
    box = (0, 0, w, h)
    shape = D.rrect(w, h, box, r)
    if body is not None:
        D.paint(L, body, shape, 1.0 if solid else 0.5)
    outline = D.ring(w, h, box, r, 1)
    top, mid, bottom = band(w, h, 0, ch), band(w, h, ch, h - ch), band(w, h, h - ch, h)
    o_top = D.mix(OUTLINE[state], '#ffffff', 0.12) if state == 0 else OUTLINE[state]
    D.paint(L, o_top, D.intersect(outline, top))
    D.paint(L, OUTLINE[state], D.intersect(outline, mid))
    D.paint(L, OUTLINE_DARK[state], D.intersect(outline, bottom))
    inner = D.ring(w, h, (1, 1, w - 1, h - 1), max(0, r - 1), 1)
    if state < 2:
        D.paint(L, '#ffffff', D.intersect(inner, top), 0.85)
        D.paint(L, '#ffffff', D.intersect(inner, mid), 0.35)
        D.paint(L, '#000000', D.intersect(inner, bottom), 0.05)
    else:
        D.paint(L, '#000000', D.intersect(inner, top), 0.18)
        D.paint(L, '#000000', D.intersect(inner, mid), 0.06)
    outside = Image.eval(shape, lambda v: 255 - v)
    return L, outside


def border_strip(fw, fh, r, ch, frames=3):
    pics = []
    for s in range(frames):
        L, outside = soft_border(fw, fh, r, s, ch)
        pics.append(masked(L, outside))
    return _join_masked(pics)


def _join_masked(pics):
    """Join picture-above-mask frames side by side."""
    h2 = pics[0].size[1]
    h = h2 // 2
    tops = [p.crop((0, 0, p.size[0], h)) for p in pics]
    bots = [p.crop((0, h, p.size[0], h2)) for p in pics]
    top = D.hstrip(tops)
    bot = D.hstrip(bots)
    out = Image.new('RGB', (top.size[0], h2))
    out.paste(top, (0, 0))
    out.paste(bot, (0, h))
    return out


def tool_border(fw, fh, ch):
    """Tool buttons: flat until the mouse comes, then a soft glassy frame."""
    pics = []
    r = 4
    for s in range(3):
        L, outside = soft_border(fw, fh, r, s, ch)
        if s == 0:
            faint = D.new(fw, fh)
            D.paint(faint, '#9a9a9a', D.ring(fw, fh, (0, 0, fw, fh), r, 1), 0.3)
            L = faint
        elif s == 1:
            glow = D.new(fw, fh)
            D.paint(glow, '#ffffff', D.intersect(D.rrect(fw, fh, (1, 1, fw - 1, fh - 1), r - 1),
                                                 band(fw, fh, 0, ch)), 0.35)
            glow.alpha_composite(L)
            L = glow
        pics.append(masked(L, outside))
    return _join_masked(pics)


def bevel_border(w, h, raised=True):
    """Square soft bevel: light top-left, shadow bottom-right."""
    L = D.new(w, h)
    hi, lo = ('#ffffff', '#9c9c9c') if raised else ('#9c9c9c', '#ffffff')
    D.paint(L, hi, D.rrect(w, h, (0, 0, w, 1), 0))
    D.paint(L, hi, D.rrect(w, h, (0, 0, 1, h), 0))
    D.paint(L, lo, D.rrect(w, h, (0, h - 1, w, h), 0))
    D.paint(L, lo, D.rrect(w, h, (w - 1, 0, w, h), 0))
    return L


def panel_border():
    w = h = 21
    L = bevel_border(w, h, True)
    D.paint(L, '#ffffff', D.rrect(w, h, (1, 1, w - 1, 2), 0), 0.4)
    return masked(L, Image.new('L', (w, h), 0))


def thin_lowered():
    w = h = 12
    L = D.new(w, h)
    D.paint(L, '#9a9a9a', D.ring(w, h, (0, 0, w, h), 0, 1))
    D.paint(L, '#000000', D.rrect(w, h, (1, 1, w - 1, 2), 0), 0.10)
    D.paint(L, '#ffffff', D.rrect(w, h, (1, h - 2, w - 1, h - 1), 0), 0.5)
    return masked(L, Image.new('L', (w, h), 0))


def edit_border():
    w, h = 27, 24
    L = D.new(w, h)
    box = (0, 0, w, h)
    r = 3
    shape = D.rrect(w, h, box, r)
    D.paint(L, '#8e8e8e', D.intersect(D.ring(w, h, box, r, 1), band(w, h, 0, 8)))
    D.paint(L, '#a6a6a6', D.intersect(D.ring(w, h, box, r, 1), band(w, h, 8, h)))
    inner = D.ring(w, h, (1, 1, w - 1, h - 1), r - 1, 1)
    D.paint(L, '#000000', D.intersect(inner, band(w, h, 0, 8)), 0.12)
    return masked(L, Image.eval(shape, lambda v: 255 - v))


def etched():
    w = h = 6
    L = D.new(w, h)
    D.paint(L, '#a9a9a9', D.ring(w, h, (0, 0, w - 1, h - 1), 0, 1))
    D.paint(L, '#ffffff', D.ring(w, h, (1, 1, w, h), 0, 1))
    return masked(L, Image.new('L', (w, h), 0))


def page_border(side):
    """Page control frame; the lit edges face the tabs."""
    w, h = (18, 12) if side in ('top', 'bottom') else (12, 18)
    L = D.new(w, h)
    D.paint(L, '#989898', D.ring(w, h, (0, 0, w, h), 0, 1))
    hi = {'top': (1, 1, w - 1, 2), 'bottom': (1, h - 2, w - 1, h - 1),
          'left': (1, 1, 2, h - 1), 'right': (w - 2, 1, w - 1, h - 1)}[side]
    D.paint(L, '#ffffff', D.rrect(w, h, hi, 0), 0.9)
    return masked(L, Image.new('L', (w, h), 0))


def divider():
    w, h = 3, 9
    L = D.new(w, h)
    D.paint(L, '#a0a0a0', col_band(w, h, 0, 1))
    D.paint(L, '#ffffff', col_band(w, h, 1, 2))
    return masked(L, Image.new('L', (w, h), 0))


def slider_channel():
    w = h = 6
    L = D.new(w, h)
    box = (0, 0, w, h)
    shape = D.rrect(w, h, box, 2)
    D.paint(L, '#cfcfcf', shape)
    D.paint(L, '#000000', D.intersect(D.rrect(w, h, (1, 1, w - 1, 2), 0), shape), 0.12)
    D.paint(L, '#858585', D.ring(w, h, box, 2, 1))
    return masked(L, Image.eval(shape, lambda v: 255 - v))


# ------------------------------------------------------------------ scroll bars

def track(w, h, vertical):
    """Scroll track, even along its length, opaque (no mask)."""
    stops = [(0, '#c4c4c4'), (0.2, '#d8d8d8'), (0.75, '#efefef'), (1, '#e4e4e4')]
    L = D.hgradient(w, h, stops) if vertical else D.vgradient(w, h, stops)
    edge = '#a4a4a4'
    if vertical:
        D.paint(L, edge, col_band(w, h, 0, 1))
        D.paint(L, edge, col_band(w, h, w - 1, w))
    else:
        D.paint(L, edge, band(w, h, 0, 1))
        D.paint(L, edge, band(w, h, h - 1, h))
    return L.convert('RGB')


def slider(fw, fh, vertical):
    """Scroll bar thumb: a glossy capsule, three states, solid inside."""
    pics = []
    for s in range(3):
        L = D.new(fw, fh)
        box = (2, 0, fw - 2, fh) if vertical else (0, 2, fw, fh - 2)
        r = 7
        shape = D.rrect(fw, fh, box, r)
        body = [[(0, '#fdfdfd'), (0.45, '#e6e6e6'), (0.5, '#d9d9d9'), (1, '#f2f2f2')],
                [(0, '#e9f4ff'), (0.45, '#a9cff5'), (0.5, '#84b8ef'), (1, '#cbe6ff')],
                [(0, '#b6d3f2'), (0.45, '#6fa3de'), (0.5, '#4c88cf'), (1, '#8fc0f0')]][s]
        grad = D.hgradient(fw, fh, body, box[0], box[2]) if vertical else D.vgradient(fw, fh, body, box[1], box[3])
        D.paint(L, grad, shape)
        D.paint(L, OUTLINE[s], D.ring(fw, fh, box, r, 1))
        # a few grip lines in the middle cell
        c = fh // 2 if vertical else fw // 2
        for d in (-3, 0, 3):
            if vertical:
                D.paint(L, OUTLINE[s], D.rrect(fw, fh, (7, c + d - 1, fw - 7, c + d), 0), 0.45)
            else:
                D.paint(L, OUTLINE[s], D.rrect(fw, fh, (c + d - 1, 7, c + d, fh - 7), 0), 0.45)
        pics.append(masked(L, Image.eval(shape, lambda v: 255 - v)))
    return _join_masked(pics)


def scroll_button(side):
    """Arrow button frames (no mask): rounded at the outer end."""
    fw = fh = 24
    frames = []
    for s in range(3):
        L = D.new(fw, fh)
        r = 7
        ext = {'top': (0, 0, fw, fh + r + 1), 'bottom': (0, -r - 1, fw, fh),
               'left': (0, 0, fw + r + 1, fh), 'right': (-r - 1, 0, fw, fh)}[side]
        big_w = ext[2] - ext[0]
        big_h = ext[3] - ext[1]
        big = D.rrect(big_w, big_h, (0, 0, big_w, big_h), r)
        shape = Image.new('L', (fw, fh), 0)
        shape.paste(big, (ext[0], ext[1]))
        vertical = side in ('top', 'bottom')
        body = [[(0, '#fbfbfb'), (0.5, '#e4e4e4'), (1, '#cdcdcd')],
                [(0, '#eef6ff'), (0.5, '#c3dcf6'), (1, '#9cc4ee')],
                [(0, '#a9c9ec'), (0.5, '#7fadde'), (1, '#5b8fcc')]][s]
        grad = D.hgradient(fw, fh, body) if vertical else D.vgradient(fw, fh, body)
        D.paint(L, grad, shape)
        ring_big = D.ring(big_w, big_h, (0, 0, big_w, big_h), r, 1)
        ring = Image.new('L', (fw, fh), 0)
        ring.paste(ring_big, (ext[0], ext[1]))
        D.paint(L, OUTLINE[s], ring)
        frames.append(opaque_keyed(L, shape, TRACK))
    return D.hstrip(frames)


def arrow_glyph(direction):
    w = h = 9
    L = D.new(w, h)
    D.paint(L, '#3a3a3a', D.glyph_tri(w, h, 4.5, 4.5, 7, direction))
    return masked(L)


# ------------------------------------------------------------------ glyphs

def check_glyph(fw, fh, box, checked, state, radio, hot_rim=False):
    L = D.new(fw, fh)
    x0, y0, x1, y1 = box
    size = x1 - x0
    shape = D.ellipse(fw, fh, box) if radio else D.rrect(fw, fh, box, 3)
    outline = D.ellipse_ring(fw, fh, box, 1) if radio else D.ring(fw, fh, box, 3, 1)
    if checked:
        body = [[(0, '#8fc3f7'), (0.5, '#4a94e3'), (1, '#a6d6ff')],
                [(0, '#a9d4ff'), (0.5, '#62a8f0'), (1, '#c0e4ff')],
                [(0, '#5f95d4'), (0.5, '#3474c4'), (1, '#78b2ea')]][state]
        edge = ['#35689f', '#2f64a6', '#1e4c85'][state]
    else:
        body = [[(0, '#ffffff'), (1, '#dedede')], [(0, '#ffffff'), (1, '#e3eefb')],
                [(0, '#c9d6e6'), (1, '#eaf1fa')]][state]
        edge = [OUTLINE[0], OUTLINE[1], OUTLINE[2]][state]
    if hot_rim:
        D.paint(L, '#6aa8f0', D.ellipse(fw, fh, (x0 - 1, y0 - 1, x1 + 1, y1 + 1)) if radio
                else D.rrect(fw, fh, (x0 - 1, y0 - 1, x1 + 1, y1 + 1), 4), 0.45)
    D.paint(L, D.vgradient(fw, fh, body, y0, y1), shape)
    gloss = D.ellipse(fw, fh, (x0 + 2, y0 + 1, x1 - 2, y0 + size * 0.5)) if radio else \
        D.rrect(fw, fh, (x0 + 1, y0 + 1, x1 - 1, y0 + size * 0.48), 2)
    D.paint(L, '#ffffff', gloss, 0.55 if state < 2 else 0.3)
    D.paint(L, edge, outline)
    if checked:
        if radio:
            c = (x0 + x1) / 2.0
            cy = (y0 + y1) / 2.0
            d = size * 0.36
            D.paint(L, '#102a4a', D.ellipse(fw, fh, (c - d / 2, cy - d / 2, c + d / 2, cy + d / 2)))
        else:
            D.paint(L, '#102a4a', D.glyph_check(fw, fh, x0 + 1.5, y0 + 1, size - 2.5, 2.0))
    return L


def check_strip(fw, fh, box, checked, radio, hot_rim=False):
    return _join_masked([masked(check_glyph(fw, fh, box, checked, s, radio, hot_rim)) for s in range(3)])


def drop(fw, fh, box, base, state, glyph_mask=None):
    """Glossy round title button face."""
    L = D.new(fw, fh)
    x0, y0, x1, y1 = box
    base = D.rgb(base)
    if state == 1:
        base = D.lighten(base, 0.15)
    elif state == 2:
        base = D.darken(base, 0.25)
    body = D.ellipse(fw, fh, box)
    D.paint(L, D.vgradient(fw, fh, [(0, D.darken(base, 0.12)), (0.5, base), (1, D.lighten(base, 0.55))],
                           y0, y1), body)
    gloss = D.ellipse(fw, fh, (x0 + 2.5, y0 + 1, x1 - 2.5, y0 + (y1 - y0) * 0.5))
    D.paint(L, D.vgradient(fw, fh, [(0, '#ffffff'), (1, D.lighten(base, 0.2))], y0 + 1,
                           y0 + (y1 - y0) * 0.5), gloss, 0.85 if state < 2 else 0.5)
    D.paint(L, D.darken(base, 0.45), D.ellipse_ring(fw, fh, box, 1), 0.85)
    if glyph_mask is not None:
        D.paint(L, D.darken(base, 0.7), glyph_mask, 0.45 if state == 0 else 0.9)
    return L


TITLE_COLOURS = {'close': '#e5463c', 'min': '#e9a62a', 'max': '#3db34b', 'norm': '#3db34b',
                 'help': '#6f8fbf'}


def title_glyph(kind, fw, fh, cx, cy):
    if kind == 'close':
        return D.glyph_cross(fw, fh, cx, cy, 5.5, 1.6)
    if kind == 'min':
        return D.glyph_minus(fw, fh, cx, cy, 7, 1.7)
    if kind == 'max':
        return D.glyph_plus(fw, fh, cx, cy, 7, 1.7)
    if kind == 'norm':
        a = D.glyph_tri(fw, fh, cx - 1.2, cy - 1.2, 4.6, 'up')
        b = D.glyph_tri(fw, fh, cx + 1.2, cy + 1.2, 4.6, 'down')
        return D.union(D.intersect(a, D.polygon(fw, fh, [(cx - 5, cy - 5), (cx + 5, cy - 5), (cx - 5, cy + 5)])),
                       D.intersect(b, D.polygon(fw, fh, [(cx + 5, cy + 5), (cx + 5, cy - 5), (cx - 5, cy + 5)])),
                       D.thick_line(fw, fh, [(cx - 3, cy + 3), (cx + 3, cy - 3)], 1.2))
    return D.glyph_question(fw, fh, cx, cy - 4, 8.5, 1.7)


def title_button(kind):
    """51 x 38: three 17 x 19 faces above their masks."""
    fw, fh = 17, 19
    box = (1.5, 2.5, 15.5, 16.5)
    g = title_glyph(kind, fw, fh, 8.5, 9.5)
    return _join_masked([masked(drop(fw, fh, box, TITLE_COLOURS[kind], s, g)) for s in range(3)])


def combo_glyph():
    fw, fh = 15, 17
    pics = []
    for s in range(3):
        L = D.new(fw, fh)
        box = (0, 0, fw, fh)
        shape = D.rrect(fw, fh, box, 3)
        body = [[(0, '#b9d8f7'), (0.5, '#6aa6e6'), (1, '#a9d4ff')],
                [(0, '#cde6ff'), (0.5, '#7ab8f4'), (1, '#c0e4ff')],
                [(0, '#6e9fd8'), (0.5, '#3a78c6'), (1, '#7ab2ea')]][s]
        D.paint(L, D.vgradient(fw, fh, body), shape)
        D.paint(L, '#ffffff', D.rrect(fw, fh, (1, 1, fw - 1, fh * 0.45), 2), 0.45)
        D.paint(L, ['#3a6ea5', '#2f64a6', '#1e4c85'][s], D.ring(fw, fh, box, 3, 1))
        D.paint(L, '#123a6a', D.shift(D.glyph_tri(fw, fh, 7.5, 8.5, 7, 'down'), 0, 1), 0.35)
        D.paint(L, '#ffffff', D.glyph_tri(fw, fh, 7.5, 8.5, 7, 'down'))
        pics.append(masked(L))
    return _join_masked(pics)


def trackbar_slider(vertical):
    fw, fh = (21, 11) if vertical else (11, 21)
    frames = []
    for s in range(3):
        L = D.new(fw, fh)
        if vertical:
            body = D.rrect(fw, fh, (0, 0, fw - 5, fh), 2)
            tip = D.polygon(fw, fh, [(fw - 7, 0), (fw - 7, fh), (fw, fh / 2.0)])
        else:
            body = D.rrect(fw, fh, (0, 0, fw, fh - 5), 2)
            tip = D.polygon(fw, fh, [(0, fh - 7), (fw, fh - 7), (fw / 2.0, fh)])
        shape = D.union(body, tip)
        stops = [[(0, '#ffffff'), (0.5, '#e2e2e2'), (1, '#f4f4f4')],
                 [(0, '#eef6ff'), (0.5, '#9cc8f3'), (1, '#cfe6ff')],
                 [(0, '#b2d0f0'), (0.5, '#5f97d8'), (1, '#9fc8f2')]][s]
        grad = D.vgradient(fw, fh, stops) if vertical else D.hgradient(fw, fh, stops)
        D.paint(L, OUTLINE[s], shape)
        inner = D.subtract(shape, D.union(D.ring(fw, fh, (0, 0, fw - 5, fh), 2, 1) if vertical
                                          else D.ring(fw, fh, (0, 0, fw, fh - 5), 2, 1),
                                          D.subtract(tip, D.polygon(
                                              fw, fh, [(fw - 7, 1.3), (fw - 7, fh - 1.3), (fw - 1.5, fh / 2.0)]
                                              if vertical else
                                              [(1.3, fh - 7), (fw - 1.3, fh - 7), (fw / 2.0, fh - 1.5)]))))
        D.paint(L, grad, inner)
        frames.append(opaque_keyed(L, shape, FACE_BG))
    return D.hstrip(frames)


def grip():
    w = h = 18
    L = D.new(w, h)
    for i in range(3):
        for j in range(i + 1):
            x = w - 4 - 4 * (i - j) - 1
            y = h - 4 - 4 * j - 1
            x, y = x - 4 * 0, y
            D.paint(L, '#ffffff', D.rrect(w, h, (x + 1, y + 1, x + 3, y + 3), 0))
            D.paint(L, '#9a9a9a', D.rrect(w, h, (x, y, x + 2, y + 2), 0))
    return opaque_keyed(L, L.getchannel('A'), FACE_BG)


def pinstripe(w, h):
    return D.rows(w, (['#f2f2f2', '#f2f2f2', '#eaeaea', '#eaeaea'] * (h // 4 + 1))[:h]).convert('RGB')


def form_border():
    img = Image.new('RGB', (3, 3), D.rgb('#8c8c8c'))
    img.putpixel((1, 1), D.rgb(FACE_BG))
    return img


def form_title():
    """30 x 24 frame of the title bar: rounded top corners cut by magenta."""
    w, h = 30, 24
    r = 6
    L = D.new(w, h)
    big = D.rrect(w, h + r + 2, (0, 0, w, h + r + 2), r).crop((0, 0, w, h))
    outline_big = D.ring(w, h + r + 2, (0, 0, w, h + r + 2), r, 1).crop((0, 0, w, h))
    inner_big = D.ring(w, h + r + 2, (1, 1, w - 1, h + r + 1), r - 1, 1).crop((0, 0, w, h))
    D.paint(L, '#6e6e6e', D.intersect(outline_big, band(w, h, 0, 8)))
    D.paint(L, '#7c7c7c', D.intersect(outline_big, band(w, h, 8, h)))
    D.paint(L, '#ffffff', D.intersect(inner_big, band(w, h, 0, 8)), 0.9)
    D.paint(L, '#ffffff', D.intersect(inner_big, band(w, h, 8, 16)), 0.35)
    D.paint(L, '#ffffff', D.intersect(inner_big, band(w, h, 16, h - 1)), 0.35)
    D.paint(L, '#8a8a8a', D.intersect(big, band(w, h, h - 1, h)))
    return masked(L, Image.eval(big, lambda v: 255 - v))


def tabs():
    """Active (masked) and inactive (opaque) tab frames facing the top."""
    aw, ah = 30, 21
    r = 5
    L = D.new(aw, ah)
    big = D.rrect(aw, ah + 8, (0, 0, aw, ah + 8), r).crop((0, 0, aw, ah))
    ring = D.ring(aw, ah + 8, (0, 0, aw, ah + 8), r, 1).crop((0, 0, aw, ah))
    inner = D.ring(aw, ah + 8, (1, 1, aw - 1, ah + 7), r - 1, 1).crop((0, 0, aw, ah))
    D.paint(L, '#ffffff', D.intersect(big, band(aw, ah, 0, 7)), 0.55)
    D.paint(L, '#8a8a8a', ring)
    D.paint(L, '#ffffff', D.intersect(inner, band(aw, ah, 0, 7)), 0.9)
    active = masked(L, Image.eval(big, lambda v: 255 - v))

    iw, ih = 27, 24
    r = 4
    L = D.new(iw, ih)
    shape = D.rrect(iw, ih + 8, (0, 2, iw, ih + 8), r).crop((0, 0, iw, ih))
    ring = D.ring(iw, ih + 8, (0, 2, iw, ih + 8), r, 1).crop((0, 0, iw, ih))
    grad = D.vgradient(iw, ih, [(0, '#f2f2f2'), (1, '#dadada')], 2, 8)
    D.paint(L, grad, shape)
    D.paint(L, '#9a9a9a', ring)
    D.paint(L, '#8a8a8a', band(iw, ih, ih - 1, ih))
    inactive = opaque_keyed(L, shape, FACE_BG)
    return active, inactive


def _flip_masked(img, op):
    """Apply a transpose to the picture and mask halves separately."""
    w, h2 = img.size
    h = h2 // 2
    top = img.crop((0, 0, w, h)).transpose(op)
    bot = img.crop((0, h, w, h2)).transpose(op)
    out = Image.new('RGB', (top.size[0], top.size[1] * 2))
    out.paste(top, (0, 0))
    out.paste(bot, (0, top.size[1]))
    return out


def gauge_progress():
    w, h = 15, 21
    L = D.new(w, h)
    box = (0, 1, w, h - 1)
    shape = D.rrect(w, h, box, 3)
    D.paint(L, D.vgradient(w, h, [(0, '#cfe6ff'), (0.45, '#7ab8f2'), (0.5, '#3d8ee6'), (1, '#9fd3ff')], 1, h - 1),
            shape)
    D.paint(L, '#2f64a6', D.ring(w, h, box, 3, 1), 0.8)
    return masked(L, Image.eval(shape, lambda v: 255 - v))


def small_speed():
    fw = fh = 9
    pics = []
    for s in range(3):
        L, outside = soft_border(fw, fh, 2, s, 3)
        if s == 0:
            L = D.new(fw, fh)
            D.paint(L, '#9a9a9a', D.ring(fw, fh, (0, 0, fw, fh), 2, 1), 0.55)
        pics.append(masked(L, outside))
    return _join_masked(pics)


# ------------------------------------------------------------------ master bitmap

def master():
    img = Image.new('RGB', MASTER_SIZE, MAGENTA)

    def put(rect, pic):
        l, t, r, b = rect
        if pic.size != (r - l, b - t):
            raise AssertionError('%r: picture is %r' % (rect, pic.size))
        img.paste(pic, (l, t))

    put((0, 0, 72, 42), slider(24, 21, vertical=False))
    put((0, 42, 63, 90), slider(21, 24, vertical=True))
    put((0, 90, 21, 159), track(21, 69, True))
    put((21, 90, 42, 159), track(21, 69, True))
    put((42, 114, 111, 138), track(69, 24, False))
    put((42, 91, 111, 114), track(69, 23, False))
    put((111, 91, 132, 133), panel_border())
    put((0, 159, 18, 183), page_border('top'))
    put((19, 159, 37, 183), page_border('bottom'))
    put((165, 38, 177, 74), page_border('left'))
    put((177, 38, 189, 74), page_border('right'))
    put((163, 135, 190, 183), edit_border())
    put((152, 344, 200, 380), check_strip(16, 18, (1, 2, 15, 16), True, radio=True))
    put((103, 344, 151, 380), check_strip(16, 18, (1, 2, 15, 16), False, radio=True))
    put((63, 67, 135, 91), scroll_button('bottom'))
    put((42, 138, 114, 162), scroll_button('left'))
    put((42, 162, 114, 186), scroll_button('right'))
    put((63, 42, 135, 66), scroll_button('top'))
    put((11, 244, 20, 262), arrow_glyph('down'))
    put((31, 244, 40, 262), arrow_glyph('left'))
    put((21, 244, 30, 262), arrow_glyph('right'))
    put((1, 244, 10, 262), arrow_glyph('up'))
    put((170, 184, 182, 208), thin_lowered())
    put((183, 184, 198, 226), gauge_progress())
    put((192, 168, 198, 180), etched())
    put((130, 0, 187, 38), check_strip(19, 19, (2, 2, 17, 17), True, radio=False))
    put((72, 0, 129, 38), check_strip(19, 19, (2, 2, 17, 17), False, radio=False))
    put((103, 188, 169, 228), pinstripe(66, 40))
    put((42, 228, 177, 300), border_strip(45, 36, 8, 12))
    put((0, 390, 45, 424), combo_glyph())
    put((192, 155, 198, 167), slider_channel())
    put((167, 301, 200, 322), trackbar_slider(False))
    put((0, 378, 63, 389), trackbar_slider(True))
    active, inactive = tabs()
    put((72, 186, 102, 228), active)
    put((136, 86, 163, 110), inactive)
    put((42, 186, 72, 228), _flip_masked(active, Image.FLIP_TOP_BOTTOM))
    put((163, 86, 190, 110), inactive.transpose(Image.FLIP_TOP_BOTTOM))
    put((21, 183, 42, 243), _flip_masked(active, Image.TRANSPOSE))
    put((114, 134, 138, 161), inactive.transpose(Image.TRANSPOSE))
    put((0, 183, 21, 243), _flip_masked(active, Image.TRANSVERSE))
    put((138, 134, 162, 161), inactive.transpose(Image.TRANSVERSE))
    put((135, 38, 165, 86), form_title())
    put((0, 340, 51, 378), title_button('help'))
    put((76, 38, 79, 41), form_border())
    put((179, 227, 197, 245), grip())
    put((191, 23, 194, 41), divider())
    put((1, 263, 28, 281), small_speed())
    put((56, 389, 200, 449), tool_border(48, 30, 10))
    put((0, 449, 72, 497), border_strip(24, 24, 5, 8))
    put((50, 300, 104, 336), border_strip(18, 18, 4, 6))
    return img


# ------------------------------------------------------------------ built-ins

def predefined_borders():
    """BORD1..BORD6: 9 x 6 cells, three states of 3 x 3 cells above masks."""
    out = {}
    out['BORD1'] = border_strip(30, 30, 7, 10)
    # a square, raised bevel that sinks when pressed
    pics = []
    for s in range(3):
        L = D.new(30, 30)
        hi, lo = (('#ffffff', '#7a7a7a') if s < 2 else ('#7a7a7a', '#ffffff'))
        if s == 1:
            hi = '#eaf3ff'
        for i, a in ((0, 1.0), (1, 0.5)):
            D.paint(L, hi, D.rrect(30, 30, (i, i, 30 - i, i + 1), 0), a)
            D.paint(L, hi, D.rrect(30, 30, (i, i, i + 1, 30 - i), 0), a)
            D.paint(L, lo, D.rrect(30, 30, (i, 30 - i - 1, 30 - i, 30 - i), 0), a)
            D.paint(L, lo, D.rrect(30, 30, (30 - i - 1, i, 30 - i, 30 - i), 0), a)
        if s == 1:
            D.paint(L, OUTLINE[1], D.ring(30, 30, (0, 0, 30, 30), 0, 1))
        pics.append(masked(L, Image.new('L', (30, 30), 0)))
    out['BORD2'] = _join_masked(pics)
    out['BORD3'] = border_strip(30, 30, 10, 10)
    # glassy: a strong highlight over the top cells
    pics = []
    for s in range(3):
        L, outside = soft_border(30, 30, 5, s, 10)
        gl = D.new(30, 30)
        D.paint(gl, '#ffffff', D.intersect(D.rrect(30, 30, (1, 1, 29, 29), 4), band(30, 30, 0, 10)),
                [0.45, 0.55, 0.15][s])
        gl.alpha_composite(L)
        pics.append(masked(gl, outside))
    out['BORD4'] = _join_masked(pics)
    out['BORD5'] = border_strip(18, 18, 4, 6)
    pics = []
    for s in range(3):
        L, outside = soft_border(150, 48, 12, s, 16)
        gl = D.new(150, 48)
        D.paint(gl, '#ffffff', D.intersect(D.rrect(150, 48, (2, 1, 148, 47), 11), band(150, 48, 0, 16)),
                [0.35, 0.45, 0.1][s])
        gl.alpha_composite(L)
        pics.append(masked(gl, outside))
    out['BORD6'] = _join_masked(pics)
    return out


def _symbol(kind, w, h):
    if kind == 'SF':  # a page with a folded corner
        page = D.polygon(w, h, [(2.5, 1), (7.5, 1), (10, 3.5), (10, 11), (2.5, 11)])
        inner = D.polygon(w, h, [(3.5, 2), (7, 2), (9, 4), (9, 10), (3.5, 10)])
        fold = D.polygon(w, h, [(7, 1), (10, 4), (7, 4)])
        return D.union(D.subtract(page, inner), fold)
    if kind == 'SR':  # circular arrow
        a = D.arc(w, h, (2, 2, 10, 10), 330, 240, 1.6)
        head = D.polygon(w, h, [(7.6, 0.8), (11, 3.2), (7.4, 5)])
        return D.union(a, head)
    if kind == 'SD':  # calendar page
        frame = D.ring(w, h, (1.5, 2, 10.5, 11), 1, 1)
        top = D.rrect(w, h, (1.5, 2, 10.5, 4.5), 1)
        dots = D.union(*[D.rrect(w, h, (x, y, x + 1.5, y + 1.5), 0) for x in (3.5, 5.5, 7.5) for y in (6, 8)])
        rings = D.union(D.rrect(w, h, (3.5, 1, 4.5, 3), 0), D.rrect(w, h, (7.5, 1, 8.5, 3), 0))
        return D.union(frame, top, dots, rings)
    if kind == 'SE':  # ellipsis
        return D.union(*[D.ellipse(w, h, (x, 7.5, x + 2, 9.5)) for x in (1.5, 5, 8.5)])
    # SC: calculator
    frame = D.ring(w, h, (2, 1, 10, 11), 1, 1)
    screen = D.rrect(w, h, (3.5, 2.5, 8.5, 4.5), 0)
    keys = D.union(*[D.rrect(w, h, (x, y, x + 1.2, y + 1.2), 0) for x in (3.5, 5.5, 7.5) for y in (6, 8)])
    return D.union(frame, screen, keys)


def small_glyphs():
    out = {}
    for name, radio, checked, hot in (('RCC', True, True, False), ('RUC', True, False, False),
                                      ('RCH', True, True, True), ('RUH', True, False, True),
                                      ('CCC', False, True, False), ('CUC', False, False, False),
                                      ('CCH', False, True, True), ('CUH', False, False, True)):
        out[name] = check_strip(16, 16, (2, 2, 14, 14), checked, radio, hot_rim=hot)
    for name in ('SF', 'SR', 'SD', 'SE', 'SC'):
        pics = []
        for s in range(3):
            L = D.new(12, 12)
            col = ['#3c3c3c', '#1f5fae', '#143f78'][s]
            D.paint(L, col, _symbol(name, 12, 12))
            pics.append(masked(L))
        out[name] = _join_masked(pics)
    out['COMBO'] = combo_glyph()
    return out


def build():
    """Every skin image: name -> RGB image.  Names of the form 'skin/...'
    are data files; the rest are bitmap resources."""
    out = {}
    out['skin/MASTER'] = master()
    out['skin/BICLOSE'] = title_button('close')
    out['skin/BIMAX'] = title_button('max')
    out['skin/BIMIN'] = title_button('min')
    out['skin/BINORM'] = title_button('norm')
    out.update(predefined_borders())
    out.update(small_glyphs())
    return out
