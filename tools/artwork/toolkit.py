"""Bitmaps of the themed dialog toolkit: five styles and the shared extras.

Layouts of the strips (the callers split them into equal frames):

* ``*_BUTTON``        3 frames: normal, mouse over, pressed.  Nine-slice
                      stretched by the button; MacOS and BlueGlass keep magenta
                      outside the rounded shape, the others show the form colour.
* ``*_TITLEBTN``      18 frames, three (normal, mouse over, pressed) for each of
                      control box, help, maximise, restore, minimise, close.
* ``*_CHECKBOX``, ``*_RADIOBUTTON``, ``*_CHECKLIST``
                      4 frames: unchecked, checked, unchecked disabled,
                      checked disabled.
* ``*_SCROLLBAR_BUTTON``  6 frames: up (normal, over, pressed), down (same).
* ``*_SCROLLBUTTON``  4 frames: up, down, left, right.
* ``*_SCROLLBAR_TRACK`` a horizontal thumb (left cap, even middle, right cap).
* ``*_TRACKBAR_BAR``, ``*_TAB``  three-slice pieces with an even middle.
* ``*_TRACKBAR_SLIDER(_V)`` thumbs on magenta.
* ``*_PROGRESSBAR``   a tile repeated along the bar.
"""

from PIL import Image

import draw as D
from draw import MAGENTA

# name -> (width, height) of every toolkit bitmap resource
SIZES = {}


def _sizes():
    table = {
        'BUTTON': [(252, 23), (54, 21), (222, 21), (222, 21), (231, 27)],
        'CHECKBOX': [(60, 17), (52, 13), (52, 13), (52, 13), (52, 13)],
        'RADIOBUTTON': [(64, 17), (52, 13), (52, 13), (52, 13), (52, 13)],
        'TITLEBTN': [(306, 17), (378, 21), (342, 19), (342, 19), (342, 19)],
        'TITLE_LEFT': [(48, 23), (35, 29), (97, 32), (441, 23), (162, 33)],
        'TITLE_CLIENT': [(49, 23), (37, 29), (98, 32), (1, 23), (179, 33)],
        'TITLE_RIGHT': [(48, 23), (35, 29), (97, 32), (1, 23), (101, 33)],
        'PROGRESSBAR': [(13, 10), (6, 10), (1, 10), (1, 10), (1, 10)],
        'TRACKBAR_BAR': [(45, 5), (45, 8), (45, 4), (45, 4), (45, 4)],
        'TRACKBAR_SLIDER': [(11, 20), (11, 21), (11, 20), (11, 20), (11, 20)],
        'TRACKBAR_SLIDER_V': [(19, 11), (22, 11), (18, 11), (18, 11), (18, 11)],
        'SCROLLBAR_BUTTON': [(96, 22), (96, 17), (96, 16), (96, 16), (102, 16)],
        'SCROLLBAR_TRACK': [(33, 16), (21, 16), (21, 16), (21, 16), (21, 16)],
        'CHECKLIST': [(40, 11), (44, 11), (44, 11), (44, 11), (44, 11)],
        'SCROLLBUTTON': [(72, 18), (72, 18), None, None, None],
        'TAB': [(36, 27), (18, 18), (12, 17), (18, 17), (18, 17)],
        'TAB_LINE': [(17, 7), (8, 1), (5, 5), (10, 5), (10, 5)],
        'SIDECHENNEL_HANDLE': [(7, 84), (8, 86), (8, 83), (8, 83), (8, 86)],
        'SIDECHENNEL_BAR': [(1, 21), (1, 21), (1, 20), (1, 21), (1, 21)],
    }
    for elem, sizes in table.items():
        for style, size in zip(STYLES, sizes):
            if size:
                SIZES['%s_%s' % (style, elem)] = size
    SIZES.update({
        'MORE_SCROLLBUTTON': (72, 17),
        'MACOS_MENU_BAR': (1, 22),
        'MACOS_MENU_SELECT': (1, 21),
        'MENU_CHECKED': (16, 16),
        'MACOS_FORM_BACKGROUND': (8, 8),
        'PROTEIN_FORM_BACKGROUND': (8, 8),
        'MACOS_COMBOBOX_BUTTON': (16, 17),
        'WINXP_COMBOBOX_BUTTON': (16, 18),
        'MSGDLG': (168, 42),
    })


STYLES = ['MACOS', 'WINXP', 'DEEPBLUE', 'PROTEIN', 'BLUEGLASS']
_sizes()

TITLE_KINDS = ['controlbox', 'help', 'max', 'restore', 'min', 'close']

# ------------------------------------------------------------------ palettes

PAL = {
    'MACOS': dict(
        bg='#e7e7e7', sbg='#c9c9c9', border='#8b8b8b', mark='#1e1e1e',
        face=('#ffffff', '#e4e4e4'), accent=('#cfe6ff', '#3d8ee6', '#9fd0ff'),
        accent_border='#3a6ea5', arrow='#3c3c3c', radius=3, glossy=True),
    'WINXP': dict(
        bg='#efebde', sbg='#f9f9f9', border='#1c5180', mark='#21a121',
        face=('#dcdcd7', '#ffffff'), accent=('#aeeaae', '#2fd02f', '#9ae79a'),
        accent_border='#1c5180', arrow='#4d6185', radius=1, glossy=False,
        scroll=('#d8e5fd', '#b5cbf8'), scroll_border='#93b0f0'),
    'DEEPBLUE': dict(
        bg='#e8e8e8', sbg='#f5f5f5', border='#1f3b78', mark='#1f3b78',
        face=('#ffffff', '#dde3ee'), accent=('#6a8fd6', '#1f3b78', '#2e4f96'),
        accent_border='#142a5c', arrow='#1f3b78', radius=1, glossy=False,
        scroll=('#f4f6fb', '#d3dbeb'), scroll_border='#7d8fb5'),
    'PROTEIN': dict(
        bg='#fbfbfb', sbg='#f5f5f5', border='#a0a0a8', mark='#2d30c4',
        face=('#ffffff', '#f0f0f2'), accent=('#7c80ee', '#2d30c4', '#4a4fdc'),
        accent_border='#1e2090', arrow='#4b4f66', radius=2, glossy=False,
        scroll=('#ffffff', '#e9e9ee'), scroll_border='#b8b8c4'),
    'BLUEGLASS': dict(
        bg='#e7e7e7', sbg='#f4f4f4', border='#2b5e9e', mark='#143c78',
        face=('#f4faff', '#c9e3fb'), accent=('#bfe2ff', '#3f8fe0', '#8cc8ff'),
        accent_border='#1f4f8f', arrow='#1f4f8f', radius=3, glossy=True,
        scroll=('#e8f4ff', '#b6d8f8'), scroll_border='#5b8fcf'),
}


def _g(pal, key, i):
    return D.rgb(pal[key][i])


# ------------------------------------------------------------------ title bars

def _title_profile(style, h):
    """Colours of the title bar rows, top to bottom."""
    if style == 'MACOS':
        cols = []
        # brushed graphite: light enough for dark captions, dark enough for
        # the white caption font the message dialog sets
        ramp = D._ramp(h - 2, [(0, '#bdbdbd'), (0.5, '#a0a0a0'), (1, '#888888')])
        for i, c in enumerate(ramp):
            # a faint pin-stripe: every other pair of rows a touch darker
            cols.append(D.darken(c, 0.03) if (i // 2) % 2 else c)
        return [D.rgb('#dedede')] + cols + [D.rgb('#5c5c5c')]
    if style == 'WINXP':
        stops = [(0, '#3d8bf5'), (0.04, '#8dbcf8'), (0.11, '#4a90f5'), (0.25, '#166ae8'),
                 (0.5, '#0553dc'), (0.75, '#0556de'), (0.9, '#0b62ea'), (1, '#0a58db')]
        return D._ramp(h - 1, stops) + [D.rgb('#003dbe')]
    if style == 'DEEPBLUE':
        stops = [(0, '#3a5aa0'), (0.08, '#25438a'), (0.45, '#142a63'), (1, '#0b1a45')]
        return D._ramp(h - 2, stops) + [D.rgb('#4a74c9'), D.rgb('#050d24')]
    if style == 'PROTEIN':
        stops = [(0, '#7a80ee'), (0.1, '#5257dd'), (0.55, '#3a3ecf'), (1, '#2c2fb6')]
        return D._ramp(h - 1, stops) + [D.rgb('#1c1e80')]
    if style == 'BLUEGLASS':
        stops = [(0, '#8cc0f4'), (0.06, '#6ea9ea'), (0.45, '#4a8ddc'), (0.47, '#1d5fb5'),
                 (0.8, '#2a74cc'), (0.97, '#4d9aec'), (1, '#6fb4ff')]
        return D._ramp(h - 1, stops) + [D.rgb('#123e78')]
    raise KeyError(style)


def _protein_right(h):
    """Client colour of the Protein bar: the lighter end of its left piece."""
    return [D.mix(c, '#6c86dc', 0.55) for c in _title_profile('PROTEIN', h)]


def title_sections(style):
    """(left, client, right) RGB images of a style's title bar."""
    lw, h = SIZES[style + '_TITLE_LEFT']
    cw, _ = SIZES[style + '_TITLE_CLIENT']
    rw, _ = SIZES[style + '_TITLE_RIGHT']
    prof = _title_profile(style, h)
    if style == 'PROTEIN':
        right = _protein_right(h)
        left = D.new(lw, h)
        # deep accent at the left, easing into the lighter client colour
        for x in range(lw):
            t = max(0.0, (x - 150) / (lw - 1 - 150))
            t = t * t * (3 - 2 * t)
            for y in range(h):
                left.putpixel((x, y), D.mix(prof[y], right[y], t) + (255,))
        # a crisp light accent stripe near the left edge
        stripe = D.polygon(lw, h, [(28, 0), (33, 0), (27, h - 1), (22, h - 1)])
        D.paint(left, '#aab0ff', D.subtract(stripe, D.rrect(lw, h, (0, h - 1, lw, h), 0)), 0.35)
        client = D.rows(cw, right)
        rightimg = D.rows(rw, right)
        return left.convert('RGB'), client.convert('RGB'), rightimg.convert('RGB')

    left = D.rows(lw, prof)
    client = D.rows(cw, prof)
    right = D.rows(rw, prof)
    if style == 'MACOS':
        D.paint(left, '#ffffff', D.rrect(lw, h, (0, 1, 1, h - 1), 0), 0.35)
        D.paint(right, '#5c5c5c', D.rrect(rw, h, (rw - 1, 1, rw, h - 1), 0), 0.3)
    elif style == 'WINXP':
        D.paint(left, '#7fb2f7', D.rrect(lw, h, (0, 1, 2, h - 1), 0), 0.6)
        D.paint(right, '#0030a8', D.rrect(rw, h, (rw - 2, 1, rw, h - 1), 0), 0.5)
    elif style == 'DEEPBLUE':
        # a soft glow behind the start of the caption
        glow = D.ellipse(lw, h, (-40, -26, 120, 20))
        fade = D.hgradient(lw, h, [(0, '#ffffff'), (0.75, '#000000'), (1, '#000000')]).convert('L')
        D.paint(left, '#6f93e0', D.intersect(D.subtract(glow, D.rrect(lw, h, (0, h - 2, lw, h), 0)), fade), 0.22)
        D.paint(left, '#8fb0f0', D.rrect(lw, h, (0, 0, lw, 1), 0), 0.5)
        D.paint(client, '#8fb0f0', D.rrect(cw, h, (0, 0, cw, 1), 0), 0.5)
        D.paint(right, '#8fb0f0', D.rrect(rw, h, (0, 0, rw, 1), 0), 0.5)
    elif style == 'BLUEGLASS':
        # a sweeping reflection across the left piece, fading out to the right
        sweep = D.coverage(lw, h, lambda d, s: d.ellipse([-60 * s, -70 * s, 150 * s, 15 * s], fill=255))
        fade = D.hgradient(lw, h, [(0, '#ffffff'), (1, '#000000')]).convert('L')
        D.paint(left, '#d8ecff', D.intersect(sweep, fade), 0.28)
        D.paint(left, '#bfe0ff', D.rrect(lw, h, (0, 1, 1, h - 1), 0), 0.5)
        D.paint(right, '#0f3a75', D.rrect(rw, h, (rw - 1, 1, rw, h - 1), 0), 0.5)
    return left.convert('RGB'), client.convert('RGB'), right.convert('RGB')


def _glyph(kind, w, h, cx, cy, size):
    """Mask of a title-button symbol centred at (cx, cy), about size pixels."""
    x = cx - size / 2.0
    y = cy - size / 2.0
    if kind == 'close':
        return D.glyph_cross(w, h, cx, cy, size * 0.78, max(1.6, size * 0.2))
    if kind == 'max':
        return D.glyph_maximize(w, h, round(x), round(y), round(size), 2)
    if kind == 'restore':
        return D.glyph_restore(w, h, round(x), round(y), round(size), 2)
    if kind == 'min':
        return D.glyph_minimize(w, h, round(x), round(y), round(size), 2)
    if kind == 'help':
        return D.glyph_question(w, h, cx, y - 0.5, size + 1, max(1.7, size * 0.2))
    return D.glyph_controlbox(w, h, round(x), round(y), round(size))


def _title_frames(style, fw, fh, top, button):
    """18 frames; button(kind, state) -> RGBA layer fw x fh."""
    frames = []
    opaque = style in ('MACOS', 'WINXP', 'DEEPBLUE')
    prof = _title_profile(style, SIZES[style + '_TITLE_LEFT'][1])
    if style == 'PROTEIN':
        prof = _protein_right(len(prof))
    under = D.rows(fw, prof[top:top + fh])
    for kind in TITLE_KINDS:
        for state in range(3):
            layer = button(kind, state)
            if opaque:
                frames.append(_over(under, layer))
            else:
                frames.append(_keyed_over(under, layer))
    return D.hstrip(frames)


def _over(under, layer):
    base = under.copy()
    base.alpha_composite(layer)
    return base.convert('RGB')


def _keyed_over(under, layer):
    """Keyed picture whose anti-aliased rim suits the bar beneath it."""
    w, h = layer.size
    out = Image.new('RGB', (w, h))
    src = layer.load()
    bg = under.load()
    dst = out.load()
    for y in range(h):
        for x in range(w):
            r, g, b, a = src[x, y]
            if a < D.KEY_THRESHOLD:
                dst[x, y] = MAGENTA
            else:
                t = a / 255.0
                br, bgc, bb, _ = bg[x, y]
                dst[x, y] = (int(round(r * t + br * (1 - t))), int(round(g * t + bgc * (1 - t))),
                             int(round(b * t + bb * (1 - t))))
    return D.fix_false_key(out, layer)


def _drop(w, h, box, base, state, glyph_kind=None, glyph_col='#4a1010', show_glyph=None):
    """Glossy round drop (MacOS title buttons)."""
    L = D.new(w, h)
    x0, y0, x1, y1 = box
    body = D.ellipse(w, h, box)
    if state == 2:
        base = D.darken(base, 0.25)
    top = D.lighten(base, 0.15)
    bottom = D.lighten(base, 0.55)
    D.paint(L, '#000000', D.shift(body, 0, 1), 0.18)
    D.paint(L, D.vgradient(w, h, [(0, D.darken(base, 0.1)), (0.5, base), (1, bottom)], y0, y1), body)
    D.paint(L, D.darken(base, 0.45), D.ellipse_ring(w, h, box, 1), 0.8)
    gloss = D.ellipse(w, h, (x0 + 2.5, y0 + 1, x1 - 2.5, y0 + (y1 - y0) * 0.5))
    D.paint(L, D.vgradient(w, h, [(0, '#ffffff'), (1, top)], y0 + 1, int(y0 + (y1 - y0) * 0.5)), gloss, 0.85)
    if show_glyph if show_glyph is not None else state > 0:
        cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
        D.paint(L, glyph_col, _glyph(glyph_kind, w, h, cx, cy, (x1 - x0) * 0.5), 0.85)
    return L


def macos_titlebtn():
    fw, fh = 17, 17
    colours = {'close': '#e8483f', 'min': '#e8a72a', 'max': '#3cb04a', 'restore': '#3cb04a',
               'help': '#7a8ea8', 'controlbox': '#8f98a4'}
    glyphcol = {'close': '#5c0a06', 'min': '#6b4002', 'max': '#0d4a12', 'restore': '#0d4a12',
                'help': '#1f2c3c', 'controlbox': '#222a33'}

    def button(kind, state):
        base = D.rgb(colours[kind])
        if state == 1:
            base = D.lighten(base, 0.12)
        return _drop(fw, fh, (1.5, 1.5, 15.5, 15.5), base, state, kind, glyphcol[kind])
    return _title_frames('MACOS', fw, fh, 4, button)


def _square_button(w, h, box, r, fill, border, glyph_kind, glyph_col='#ffffff', gloss=0.0,
                   inner=None, glyph_size=None, shadow=0.0):
    L = D.new(w, h)
    x0, y0, x1, y1 = box
    shape = D.rrect(w, h, box, r)
    if shadow:
        D.paint(L, '#000000', D.shift(shape, 1, 1), shadow)
    D.paint(L, D.vgradient(w, h, [(0, fill[0]), (1, fill[1])], int(y0), int(y1)), shape)
    if inner:
        D.paint(L, inner[0], D.ring(w, h, (x0 + 1, y0 + 1, x1 - 1, y1 - 1), max(0, r - 1), 1), inner[1])
    if gloss:
        g = D.rrect(w, h, (x0 + 1, y0 + 1, x1 - 1, y0 + (y1 - y0) * 0.48), max(0, r - 1))
        D.paint(L, '#ffffff', g, gloss)
    if border:
        D.paint(L, border[0], D.ring(w, h, box, r, 1), border[1])
    if glyph_kind:
        cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
        size = glyph_size or (x1 - x0) * 0.5
        if glyph_kind in ('max', 'restore', 'min', 'controlbox'):
            cx, cy = round(cx - 0.01), round(cy - 0.01)
            size = round(size)
        D.paint(L, glyph_col, _glyph(glyph_kind, w, h, cx, cy, size))
    return L


def winxp_titlebtn():
    fw = fh = 21

    def button(kind, state):
        if kind == 'close':
            fills = [('#e37a55', '#c4441e'), ('#f79a78', '#db5a31'), ('#b8401c', '#d0623d')]
        else:
            fills = [('#5b94f4', '#2662de'), ('#82b0fa', '#3f7cec'), ('#2254c6', '#3f73dc')]
        L = _square_button(fw, fh, (0, 0, 21, 21), 3, fills[state], ('#ffffff', 0.95), kind,
                           inner=(('#ffffff', 0.25) if state < 2 else ('#00257a', 0.35)),
                           glyph_size=9)
        if state < 2:
            # XP buttons have a soft light glow in the upper left
            glow = D.ellipse(fw, fh, (-6, -8, 14, 10))
            D.paint(L, '#ffffff', D.intersect(glow, D.rrect(fw, fh, (1, 1, 20, 20), 2)), 0.22)
            D.paint(L, '#ffffff', _glyph(kind, fw, fh, 10 if kind in ('max', 'restore', 'min', 'controlbox') else 10.5,
                                          10 if kind in ('max', 'restore', 'min', 'controlbox') else 10.5, 9))
        return L
    return _title_frames('WINXP', fw, fh, 5, button)


def deepblue_titlebtn():
    fw = fh = 19

    def button(kind, state):
        if kind == 'close' and state:
            fills = [None, ('#d2535a', '#9a1f29'), ('#7a1720', '#a0303a')]
            border = ('#f0b0b4', 0.9)
        else:
            fills = [('#34569e', '#1b3574'), ('#4d75c6', '#2a4c98'), ('#0f2251', '#1d3a78')]
            border = [('#8aa3d8', 0.8), ('#b9cdf4', 0.95), ('#5a74ac', 0.8)][state]
        return _square_button(fw, fh, (1, 1, 18, 18), 2, fills[state], border, kind,
                              gloss=0.12 if state < 2 else 0.0, glyph_size=8)
    return _title_frames('DEEPBLUE', fw, fh, 2, button)


def protein_titlebtn():
    fw = fh = 19

    def button(kind, state):
        if state == 0:
            L = D.new(fw, fh)
            cx = cy = 9.5 if kind in ('close', 'help') else 9
            D.paint(L, '#10125a', D.shift(_glyph(kind, fw, fh, cx, cy, 8), 0, 1), 0.35)
            D.paint(L, '#ffffff', _glyph(kind, fw, fh, cx, cy, 8))
            return L
        if kind == 'close':
            fills = [None, ('#f06a62', '#d8392f'), ('#b02a22', '#c8433b')]
        else:
            fills = [None, ('#8d93f6', '#6a70ea'), ('#1c1e8a', '#282ba8')]
        return _square_button(fw, fh, (1, 1, 18, 18), 3, fills[state], ('#ffffff', 0.75), kind,
                              glyph_size=8)
    return _title_frames('PROTEIN', fw, fh, 2, button)


def _glass_bubble(w, h, box, base, state, glyph_kind, dark):
    L = D.new(w, h)
    x0, y0, x1, y1 = box
    if state == 1:
        base = D.lighten(base, 0.2)
    elif state == 2:
        base = D.darken(base, 0.3)
    body = D.ellipse(w, h, box)
    D.paint(L, D.vgradient(w, h, [(0, D.darken(base, 0.15)), (0.55, base), (1, D.lighten(base, 0.5))],
                           int(y0), int(y1)), body)
    gloss = D.ellipse(w, h, (x0 + 2, y0 + 0.8, x1 - 2, y0 + (y1 - y0) * 0.52))
    D.paint(L, D.vgradient(w, h, [(0, '#ffffff'), (1, D.lighten(base, 0.3))], int(y0), int(y0 + 9)),
            gloss, 0.8 if state < 2 else 0.45)
    D.paint(L, dark, D.ellipse_ring(w, h, box, 1), 0.9)
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    gk = _glyph(glyph_kind, w, h, round(cx) if glyph_kind in ('max', 'restore', 'min', 'controlbox') else cx,
                round(cy) if glyph_kind in ('max', 'restore', 'min', 'controlbox') else cy, 8)
    D.paint(L, dark, D.shift(gk, 0, 1), 0.5)
    D.paint(L, '#ffffff', gk)
    return L


def blueglass_titlebtn():
    fw = fh = 19

    def button(kind, state):
        if kind == 'close':
            return _glass_bubble(fw, fh, (1, 1, 18, 18), D.rgb('#d9463e'), state, kind, '#5a1010')
        return _glass_bubble(fw, fh, (1, 1, 18, 18), D.rgb('#3a86dc'), state, kind, '#0f3366')
    return _title_frames('BLUEGLASS', fw, fh, 6, button)


# ------------------------------------------------------------------ push buttons

def _aqua_pill(w, h, box, r, state, shadow=True):
    """Glossy aqua capsule: pale, vivid (mouse over) and deep (pressed)."""
    x0, y0, x1, y1 = box
    L = D.new(w, h)
    shape = D.rrect(w, h, box, r)
    body = [
        [(0, '#b9cfe8'), (0.5, '#d3e3f5'), (1, '#f4f9ff')],
        [(0, '#4f95e0'), (0.5, '#6aaef0'), (1, '#c6ecff')],
        [(0, '#2f6fc0'), (0.5, '#4187da'), (1, '#8ccbff')],
    ][state]
    border = ['#7f98b8', '#2f64a6', '#1e4c85'][state]
    if shadow:
        D.paint(L, '#000000', D.shift(shape, 0, 1), 0.12)
    D.paint(L, D.vgradient(w, h, body, int(y0), int(y1)), shape)
    gh = (y1 - y0) * 0.5
    gloss = D.rrect(w, h, (x0 + r * 0.45, y0 + 1, x1 - r * 0.45, y0 + 1 + gh), min(r, gh / 2.0))
    D.paint(L, D.vgradient(w, h, [(0, '#ffffff'), (1, '#ffffff')]), gloss, [0.92, 0.75, 0.6][state])
    glowtop = D.rrect(w, h, (x0 + r * 0.45, y0 + 1 + gh * 0.55, x1 - r * 0.45, y0 + 1 + gh), min(r, gh / 2.0))
    D.paint(L, body[1][1], glowtop, 0.35)
    D.paint(L, border, D.ring(w, h, box, r, 1))
    return L


def macos_button():
    w, h = 84, 23
    frames = [D.keyed(_aqua_pill(w, h, (0, 0, w, h - 1), 11, s), PAL['MACOS']['bg']) for s in range(3)]
    return D.hstrip(frames)


def _glass_button(w, h, state):
    L = D.new(w, h)
    box = (0, 0, w, h - 1)
    r = 8
    shape = D.rrect(w, h, box, r)
    body = [
        [(0, '#e6f3ff'), (0.48, '#c4e1fb'), (0.5, '#9cccf5'), (1, '#d4eeff')],
        [(0, '#e0f6ff'), (0.48, '#a9dcff'), (0.5, '#6fbcf6'), (1, '#b9ecff')],
        [(0, '#9cc6ee'), (0.48, '#7eb4e8'), (0.5, '#4f93d8'), (1, '#8fc8f4')],
    ][state]
    border = ['#3f6fa8', '#1f62b0', '#173f78'][state]
    D.paint(L, '#000000', D.shift(shape, 0, 1), 0.15)
    D.paint(L, D.vgradient(w, h, body, 0, h - 1), shape)
    D.paint(L, '#ffffff', D.ring(w, h, (1, 1, w - 1, h - 2), r - 1, 1), 0.6 if state < 2 else 0.2)
    D.paint(L, border, D.ring(w, h, box, r, 1))
    return L


def blueglass_button():
    w, h = 77, 27
    return D.hstrip([D.keyed(_glass_button(w, h, s), PAL['BLUEGLASS']['bg']) for s in range(3)])


def _flat_button(w, h, style, state):
    """Opaque nine-slice buttons of WinXP, DeepBlue and Protein."""
    pal = PAL[style]
    L = D.new(w, h)
    box = (0, 0, w, h)
    if style == 'WINXP':
        r = 3
        face = [[(0, '#ffffff'), (0.85, '#ecebe6'), (1, '#d6d0c5')],
                [(0, '#ffffff'), (0.85, '#ecebe6'), (1, '#d6d0c5')],
                [(0, '#e1ded5'), (0.2, '#e6e4dc'), (1, '#f2f1ee')]][state]
        D.paint(L, D.vgradient(w, h, face), D.rrect(w, h, box, r))
        if state == 1:
            D.paint(L, D.vgradient(w, h, [(0, '#fff0cf'), (0.4, '#fcd28a'), (1, '#e5a034')]),
                    D.ring(w, h, (1, 1, w - 1, h - 1), r - 1, 2))
        D.paint(L, '#003c74', D.ring(w, h, box, r, 1))
    elif style == 'DEEPBLUE':
        r = 2
        face = [[(0, '#ffffff'), (1, '#d9e0ee')], [(0, '#f2f7ff'), (1, '#c3d5f4')],
                [(0, '#b9c9e8'), (1, '#e2e9f6')]][state]
        border = ['#1f3b78', '#3b64b4', '#142a5c'][state]
        D.paint(L, D.vgradient(w, h, face), D.rrect(w, h, box, r))
        if state == 1:
            D.paint(L, '#7fa2e6', D.ring(w, h, (1, 1, w - 1, h - 1), r - 1, 1), 0.8)
        D.paint(L, border, D.ring(w, h, box, r, 1))
    else:  # PROTEIN
        r = 2
        face = [[(0, '#ffffff'), (1, '#eeeef2')], [(0, '#ffffff'), (1, '#eef0ff')],
                [(0, '#dcdef8'), (1, '#eceefe')]][state]
        border = ['#a8a8b4', '#2d30c4', '#1e2090'][state]
        D.paint(L, D.vgradient(w, h, face), D.rrect(w, h, box, r))
        if state == 1:
            D.paint(L, '#b9bcf5', D.ring(w, h, (1, 1, w - 1, h - 1), r - 1, 1))
        if state == 0:
            D.paint(L, '#d6d6de', D.rrect(w, h, (2, h - 2, w - 2, h - 1), 0))
        D.paint(L, border, D.ring(w, h, box, r, 1))
    return D.flatten(L, pal['bg'])


def flat_button(style):
    w, h = SIZES[style + '_BUTTON']
    fw = w // 3
    return D.hstrip([_flat_button(fw, h, style, s) for s in range(3)])


# ------------------------------------------------------------------ small controls

def _check_frames(style, fw, fh, radio):
    pal = PAL[style]
    size = min(fw, fh) - (2 if style == 'MACOS' else 0)
    x0 = (fw - size) // 2
    y0 = (fh - size) // 2 + (1 if style == 'MACOS' else 0)
    box = (x0, y0, x0 + size, y0 + size)
    frames = []
    for checked, disabled in ((0, 0), (1, 0), (0, 1), (1, 1)):
        L = D.new(fw, fh)
        shape = D.ellipse(fw, fh, box) if radio else D.rrect(fw, fh, box, pal['radius'])
        outline = (D.ellipse_ring(fw, fh, box, 1) if radio else D.ring(fw, fh, box, pal['radius'], 1))
        if checked and pal['glossy']:
            fill = [(0, pal['accent'][0]), (0.5, pal['accent'][1]), (1, pal['accent'][2])]
            border = pal['accent_border']
        else:
            fill = [(0, pal['face'][0]), (1, pal['face'][1])]
            border = pal['border']
        D.paint(L, D.vgradient(fw, fh, fill, y0, y0 + size), shape)
        if pal['glossy']:
            gl = D.ellipse(fw, fh, (x0 + 1.5, y0 + 0.8, x0 + size - 1.5, y0 + size * 0.5)) if radio else \
                D.rrect(fw, fh, (x0 + 1, y0 + 1, x0 + size - 1, y0 + size * 0.5), 1)
            D.paint(L, '#ffffff', gl, 0.55)
        D.paint(L, border, outline)
        if checked:
            mark = '#ffffff' if (pal['glossy'] and style == 'BLUEGLASS') else pal['mark']
            if style == 'MACOS':
                mark = '#102a4a'
            if radio:
                c = x0 + size / 2.0
                cy = y0 + size / 2.0
                d = size * 0.42
                dot = D.ellipse(fw, fh, (c - d / 2, cy - d / 2, c + d / 2, cy + d / 2))
                if style == 'WINXP':
                    D.paint(L, D.vgradient(fw, fh, [(0, '#7be37a'), (1, '#1c9a1c')], int(cy - d / 2), int(cy + d / 2) + 1), dot)
                else:
                    D.paint(L, mark, dot)
            else:
                D.paint(L, mark, D.glyph_check(fw, fh, x0 + size * 0.12, y0 + size * 0.1, size * 0.78,
                                               max(1.6, size * 0.16)))
        img = D.flatten(L, pal['bg'])
        if disabled:
            img = Image.blend(img, Image.new('RGB', img.size, D.rgb(pal['bg'])), 0.55)
        frames.append(img)
    return D.hstrip(frames)


def checkbox(style, elem='CHECKBOX'):
    w, h = SIZES['%s_%s' % (style, elem)]
    return _check_frames(style, w // 4, h, radio=(elem == 'RADIOBUTTON'))


def progress(style):
    w, h = SIZES[style + '_PROGRESSBAR']
    pal = PAL[style]
    if style == 'MACOS':
        L = D.vgradient(w, h, [(0, '#d5ebff'), (0.45, '#7ab8f2'), (0.55, '#3d8ee6'), (1, '#9fd3ff')])
        band = D.union(*[D.polygon(w, h, [(o, 0), (o + 5, 0), (o + 5 - h * 0.6, h), (o - h * 0.6, h)])
                         for o in (-13, 0, 13, 26)])
        D.paint(L, '#ffffff', band, 0.35)
        D.paint(L, '#2f66a8', D.rrect(w, h, (0, h - 1, w, h), 0), 0.5)
        return L.convert('RGB')
    if style == 'WINXP':
        L = D.new(w, h, '#ffffff')
        D.paint(L, D.vgradient(w, h, [(0, '#b2eeb2'), (0.45, '#2bd12b'), (0.6, '#21c021'), (1, '#9ae89a')]),
                D.rrect(w, h, (0, 1, w - 1, h - 1), 0))
        return L.convert('RGB')
    stops = {
        'DEEPBLUE': [(0, '#7c9be0'), (0.45, '#2e4f96'), (0.55, '#1f3b78'), (1, '#4d6fba')],
        'PROTEIN': [(0, '#a9adf8'), (0.45, '#4a4fdc'), (0.55, '#2d30c4'), (1, '#6c70e8')],
        'BLUEGLASS': [(0, '#e0f2ff'), (0.45, '#8cc8ff'), (0.5, '#3f8fe0'), (1, '#8fd0ff')],
    }[style]
    return D.vgradient(w, h, stops).convert('RGB')


def trackbar_bar(style):
    w, h = SIZES[style + '_TRACKBAR_BAR']
    pal = PAL[style]
    L = D.new(w, h)
    box = (0, 0, w, h)
    r = h / 2.0
    D.paint(L, D.vgradient(w, h, [(0, D.darken(pal['bg'], 0.18)), (1, D.lighten(pal['bg'], 0.6))]), D.rrect(w, h, box, r))
    D.paint(L, D.darken(pal['border'], 0.05) if style != 'WINXP' else '#9d9c99', D.ring(w, h, box, r, 1), 0.9)
    return D.flatten(L, pal['bg'])


def _pointer(w, h, direction, fill, border, gloss):
    """Slider thumb: a rounded body with a point."""
    L = D.new(w, h)
    if direction == 'down':
        body = D.rrect(w, h, (0, 0, w, h - 5), 2)
        tip = D.polygon(w, h, [(0, h - 7), (w, h - 7), (w / 2.0, h)])
        shape = D.union(body, tip)
        grad = D.vgradient(w, h, [(0, fill[0]), (1, fill[1])])
        inner = D.union(D.rrect(w, h, (1, 1, w - 1, h - 6), 1),
                        D.polygon(w, h, [(1, h - 7), (w - 1, h - 7), (w / 2.0, h - 1.4)]))
    else:
        body = D.rrect(w, h, (0, 0, w - 5, h), 2)
        tip = D.polygon(w, h, [(w - 7, 0), (w - 7, h), (w, h / 2.0)])
        shape = D.union(body, tip)
        grad = D.hgradient(w, h, [(0, fill[0]), (1, fill[1])])
        inner = D.union(D.rrect(w, h, (1, 1, w - 6, h - 1), 1),
                        D.polygon(w, h, [(w - 7, 1), (w - 7, h - 1), (w - 1.4, h / 2.0)]))
    D.paint(L, border, shape)
    D.paint(L, grad, inner)
    if gloss:
        D.paint(L, '#ffffff', D.intersect(inner, D.rrect(w, h, (0, 0, w, h / 2.5) if direction == 'down'
                                                        else (0, 0, w, h / 2.0), 0)), gloss)
    return L


def trackbar_slider(style, vertical):
    w, h = SIZES[style + ('_TRACKBAR_SLIDER_V' if vertical else '_TRACKBAR_SLIDER')]
    pal = PAL[style]
    if style == 'MACOS':
        fill, border, gloss = ('#9fd0ff', '#3d8ee6'), '#2f64a6', 0.5
    elif style == 'WINXP':
        fill, border, gloss = ('#ffffff', '#e3e1d8'), '#1c5180', 0.0
    elif style == 'BLUEGLASS':
        fill, border, gloss = ('#cfe9ff', '#5aa5ec'), '#1f4f8f', 0.5
    else:
        fill, border, gloss = (pal['face'][0], pal['face'][1]), pal['border'], 0.0
    L = _pointer(w, h, 'right' if vertical else 'down', fill, border, gloss)
    if style == 'WINXP':
        # the green accent strip of the classic thumb
        if vertical:
            D.paint(L, '#21a121', D.rrect(w, h, (w - 9, 1, w - 7, h - 1), 0), 0.8)
        else:
            D.paint(L, '#21a121', D.rrect(w, h, (1, h - 9, w - 1, h - 7), 0), 0.8)
    return D.keyed(L, pal['bg'])


def _scroll_face(w, h, style, state, vertical_bar=True, box=None):
    pal = PAL[style]
    L = D.new(w, h)
    box = box or (0, 0, w, h)
    if style == 'MACOS':
        body = [[(0, '#f7f7f7'), (0.5, '#e2e2e2'), (1, '#c8c8c8')],
                [(0, '#e3f0ff'), (0.5, '#b9d8f7'), (1, '#8cbcec')],
                [(0, '#9cc2ea'), (0.5, '#6ea3dc'), (1, '#4d87c9')]][state]
        grad = D.hgradient(w, h, body) if vertical_bar else D.vgradient(w, h, body)
        D.paint(L, grad, D.rrect(w, h, box, 0))
        D.paint(L, '#ffffff', D.rrect(w, h, (box[0] + 1, box[1], box[0] + 2, box[3]) if vertical_bar
                                      else (box[0], box[1] + 1, box[2], box[1] + 2), 0), 0.7)
        D.paint(L, '#8f8f8f', D.ring(w, h, box, 0, 1), 0.9)
        return L
    top, bottom = pal['scroll']
    if state == 1:
        top, bottom = D.lighten(top, 0.3), D.lighten(bottom, 0.3)
    if state == 2:
        top, bottom = D.darken(bottom, 0.12), D.darken(top, 0.1)
    r = 2 if style in ('WINXP', 'BLUEGLASS') else 1
    shape = D.rrect(w, h, box, r)
    grad = D.hgradient(w, h, [(0, top), (1, bottom)]) if vertical_bar else D.vgradient(w, h, [(0, top), (1, bottom)])
    D.paint(L, grad, shape)
    if style == 'BLUEGLASS':
        half = (box[0], box[1], box[2], (box[1] + box[3]) / 2.0)
        D.paint(L, '#ffffff', D.intersect(shape, D.rrect(w, h, half, 0)), 0.35)
    D.paint(L, pal['scroll_border'] if state != 1 or style != 'WINXP' else '#6f95e8', D.ring(w, h, box, r, 1))
    return L


def scrollbar_button(style):
    w, h = SIZES[style + '_SCROLLBAR_BUTTON']
    fw = w // 6
    pal = PAL[style]
    frames = []
    for direction in ('up', 'down'):
        for state in range(3):
            L = _scroll_face(fw, h, style, state)
            cx, cy = fw / 2.0, h / 2.0
            if style == 'WINXP':
                arrow = D.glyph_chevron(fw, h, cx, cy, 7, direction, 2)
            else:
                arrow = D.glyph_tri(fw, h, cx, cy, 7, direction)
            col = '#ffffff' if (style == 'MACOS' and state == 2) else pal['arrow']
            D.paint(L, col, arrow)
            frames.append(D.flatten(L, pal['sbg']))
    return D.hstrip(frames)


def scrollbar_track(style):
    """The slider of a horizontal bar: caps at both ends, an even middle."""
    w, h = SIZES[style + '_SCROLLBAR_TRACK']
    pal = PAL[style]
    L = D.new(w, h)
    if style == 'MACOS':
        L = _aqua_pill(w, h, (0, 1, w, h - 1), 7, 1, shadow=False)
        return D.flatten(L, pal['sbg'])
    L = _scroll_face(w, h, style, 0, vertical_bar=False, box=(0, 0, w, h))
    # grip lines in the middle third
    cx = w // 2
    for dx in (-2, 0, 2):
        D.paint(L, '#ffffff', D.rrect(w, h, (cx + dx - 1, 5, cx + dx, h - 5), 0), 0.9)
        D.paint(L, pal['scroll_border'], D.rrect(w, h, (cx + dx, 5, cx + dx + 1, h - 5), 0))
    return D.flatten(L, pal['sbg'])


def scrollbutton(style):
    """Four arrow buttons: up, down, left, right."""
    name = style + '_SCROLLBUTTON' if style in ('MACOS', 'WINXP') else 'MORE_SCROLLBUTTON'
    w, h = SIZES[name]
    fw = w // 4
    pal = PAL[style]
    frames = []
    for direction in ('up', 'down', 'left', 'right'):
        if style == 'MACOS':
            L = _aqua_pill(fw, h, (1, 1, fw - 1, h - 1), 4, 0)
            D.paint(L, '#2b4f80', D.glyph_tri(fw, h, fw / 2.0, h / 2.0, 7, direction))
        elif style == 'WINXP':
            L = _scroll_face(fw, h, style, 0, box=(1, 1, fw - 1, h - 1))
            D.paint(L, pal['arrow'], D.glyph_chevron(fw, h, fw / 2.0, h / 2.0, 7, direction, 2))
        else:
            L = D.new(fw, h)
            box = (1, 1, fw - 1, h - 1)
            D.paint(L, D.vgradient(fw, h, [(0, '#ffffff'), (1, '#dfe4ee')]), D.rrect(fw, h, box, 2))
            D.paint(L, '#8a98b8', D.ring(fw, h, box, 2, 1))
            D.paint(L, '#3c4a6e', D.glyph_tri(fw, h, fw / 2.0, h / 2.0, 7, direction))
        frames.append(D.flatten(L, pal['bg']))
    return D.hstrip(frames)


def tab(style):
    w, h = SIZES[style + '_TAB']
    pal = PAL[style]
    L = D.new(w, h)
    r = min(5, w // 3)
    shape = D.rrect(w, h + r, (0, 0, w, h + r), r).crop((0, 0, w, h))
    if style == 'MACOS':
        D.paint(L, D.vgradient(w, h, [(0, '#ffffff'), (0.5, '#e9eef5'), (0.52, '#d7e2f0'), (1, '#f3f7fc')]), shape)
        D.paint(L, '#8b8b8b', _top_ring(w, h, r))
    elif style == 'WINXP':
        D.paint(L, D.vgradient(w, h, [(0, '#ffffff'), (1, '#f4f3ee')]), shape)
        D.paint(L, '#919b9c', _top_ring(w, h, r))
        D.paint(L, '#e68b2c', D.intersect(shape, D.rrect(w, h, (0, 0, w, 1), 0)))
        D.paint(L, '#ffc73c', D.intersect(shape, D.rrect(w, h, (1, 1, w - 1, 3), 0)))
    else:
        top = {'DEEPBLUE': '#ffffff', 'PROTEIN': '#ffffff', 'BLUEGLASS': '#e6f3ff'}[style]
        bottom = {'DEEPBLUE': '#dde3ee', 'PROTEIN': '#f2f2f6', 'BLUEGLASS': '#b5dafc'}[style]
        D.paint(L, D.vgradient(w, h, [(0, top), (1, bottom)]), shape)
        D.paint(L, pal['border'], _top_ring(w, h, r))
        if style == 'PROTEIN':
            D.paint(L, '#2d30c4', D.intersect(shape, D.rrect(w, h, (0, 0, w, 2), 0)))
    return D.flatten(L, pal['bg'])


def _top_ring(w, h, r):
    full = D.ring(w, h + r + 2, (0, 0, w, h + r + 2), r, 1)
    return full.crop((0, 0, w, h))


def tab_line(style):
    w, h = SIZES[style + '_TAB_LINE']
    pal = PAL[style]
    if style == 'WINXP':
        return Image.new('RGB', (w, h), D.rgb('#919b9c'))
    L = D.new(w, h, pal['bg'])
    body = {'MACOS': [(0, '#f8f8f8'), (1, '#dedede')], 'DEEPBLUE': [(0, '#ffffff'), (1, '#dde3ee')],
            'PROTEIN': [(0, '#ffffff'), (1, '#f2f2f6')], 'BLUEGLASS': [(0, '#d4ebff'), (1, '#b5dafc')]}[style]
    D.paint(L, D.vgradient(w, h, body))
    D.paint(L, '#8b8b8b' if style == 'MACOS' else pal['border'], D.rrect(w, h, (0, 0, w, 1), 0))
    if style == 'PROTEIN':
        D.paint(L, '#2d30c4', D.rrect(w, h, (0, 0, w, 1), 0))
    return L.convert('RGB')


def side_handle(style):
    w, h = SIZES[style + '_SIDECHENNEL_HANDLE']
    pal = PAL[style]
    L = D.new(w, h)
    box = (0, 0, w, h)
    if style == 'MACOS':
        grad = D.hgradient(w, h, [(0, '#f8f8f8'), (1, '#cfcfcf')])
    elif style == 'WINXP':
        grad = D.hgradient(w, h, [(0, '#d8e5fd'), (1, '#a9c2f6')])
    elif style == 'BLUEGLASS':
        grad = D.hgradient(w, h, [(0, '#d4ebff'), (0.5, '#8cc8ff'), (0.52, '#4a96e4'), (1, '#8fd0ff')])
    else:
        grad = D.hgradient(w, h, [(0, pal['face'][0]), (1, pal['face'][1])])
    D.paint(L, grad, D.rrect(w, h, box, 2))
    D.paint(L, pal['border'] if style != 'MACOS' else '#8b8b8b', D.ring(w, h, box, 2, 1))
    # grip dots and a small arrow in the middle
    cx = w / 2.0
    for i in range(-3, 4):
        y = h / 2.0 + i * 3 - 9
        if abs(i) <= 3:
            D.paint(L, '#ffffff', D.ellipse(w, h, (cx - 1, y, cx + 1, y + 2)), 0.9)
            D.paint(L, pal['arrow'], D.ellipse(w, h, (cx - 1.5, y - 0.5, cx + 0.5, y + 1.5)), 0.7)
    D.paint(L, pal['arrow'], D.glyph_tri(w, h, cx, h / 2.0 + 10, 4, 'right'))
    return D.flatten(L, pal['bg'])


def side_bar(style):
    w, h = SIZES[style + '_SIDECHENNEL_BAR']
    return D.rows(w, _title_profile(style, h) if style != 'PROTEIN' else _protein_right(h)).convert('RGB')


def combobox_button(style):
    w, h = SIZES[style + '_COMBOBOX_BUTTON']
    pal = PAL[style]
    if style == 'MACOS':
        L = _aqua_pill(w, h, (0, 0, w, h - 1), 4, 1, shadow=False)
        D.paint(L, '#ffffff', D.glyph_tri(w, h, w / 2.0, h / 2.0 - 3, 6, 'up'))
        D.paint(L, '#ffffff', D.glyph_tri(w, h, w / 2.0, h / 2.0 + 2.5, 6, 'down'))
        D.paint(L, '#1e4c85', D.rrect(w, h, (0, 0, w, h - 1), 0), 0)
    else:
        L = _scroll_face(w, h, style, 0, box=(0, 0, w, h))
        D.paint(L, pal['arrow'], D.glyph_chevron(w, h, w / 2.0, h / 2.0, 7, 'down', 2))
    return D.flatten(L, '#ffffff')


# ------------------------------------------------------------------ extras

def menu_bar():
    return D.vgradient(1, 22, [(0, '#fbfbfb'), (1, '#ebebeb')]).convert('RGB')


def menu_select():
    return D.vgradient(1, 21, [(0, '#8ab6ee'), (0.08, '#6a9fe6'), (0.5, '#3d7ddb'),
                               (0.52, '#2e6dd0'), (1, '#4f8fe6')]).convert('RGB')


def menu_checked():
    w = h = 16
    L = D.new(w, h, '#ffffff')
    D.paint(L, '#202020', D.glyph_check(w, h, 3, 3, 10, 2.1))
    img = L.convert('RGB')
    # only the background may be pure white: it is the transparent colour
    px = img.load()
    m = D.glyph_check(w, h, 3, 3, 10, 2.1).load()
    for y in range(h):
        for x in range(w):
            if m[x, y] and px[x, y] == (255, 255, 255):
                px[x, y] = (254, 254, 254)
    return img


def macos_form_background():
    # light pin-stripes, two rows light and two rows a shade darker
    cols = ['#ededed', '#ededed', '#e5e5e5', '#e5e5e5'] * 2
    return D.rows(8, cols).convert('RGB')


def protein_form_background():
    img = Image.new('RGB', (8, 8), D.rgb('#fbfbfb'))
    for i in range(8):
        img.putpixel(((i + 4) % 8, 7 - i), D.rgb('#f5f5f7'))
    return img


# ------------------------------------------------------------------ message icons

def _round_badge(s, base, glyph):
    L = D.new(s, s)
    box = (3, 3, s - 3, s - 3)
    body = D.ellipse(s, s, box)
    D.paint(L, '#000000', D.shift(D.ellipse(s, s, (3, 4, s - 3, s - 2)), 0, 1), 0.18)
    D.paint(L, D.vgradient(s, s, [(0, D.lighten(base, 0.25)), (0.5, base), (1, D.darken(base, 0.2))], 3, s - 3), body)
    glow = D.ellipse(s, s, (8, s * 0.45, s - 8, s - 4))
    D.paint(L, D.lighten(base, 0.45), D.intersect(glow, body), 0.45)
    gloss = D.ellipse(s, s, (8, 4.5, s - 8, s * 0.5))
    D.paint(L, D.vgradient(s, s, [(0, '#ffffff'), (1, D.lighten(base, 0.4))], 4, int(s * 0.5)), gloss, 0.6)
    D.paint(L, D.darken(base, 0.45), D.ellipse_ring(s, s, box, 1), 0.8)
    D.paint(L, D.darken(base, 0.5), D.shift(glyph, 0, 1), 0.45)
    D.paint(L, '#ffffff', glyph)
    return L


def _warning_badge(s, base):
    L = D.new(s, s)
    pts = [(s / 2.0, 3.5), (s - 2.5, s - 5), (2.5, s - 5)]
    tri = D.thick_line(s, s, pts + [pts[0]], 5)
    tri = D.union(tri, D.polygon(s, s, pts))
    D.paint(L, '#000000', D.shift(tri, 0, 1), 0.2)
    D.paint(L, D.vgradient(s, s, [(0, '#ffe680'), (0.55, base), (1, '#e89400')], 2, s - 2), tri)
    D.paint(L, '#ffffff', D.intersect(tri, D.ellipse(s, s, (12, 5, s - 12, s * 0.55))), 0.35)
    edge = D.subtract(tri, D.coverage(s, s, lambda d, k: (d.polygon(
        [(s / 2.0 * k, 6.2 * k), ((s - 5.4) * k, (s - 6.4) * k), (5.4 * k, (s - 6.4) * k)], fill=255))))
    D.paint(L, '#b86e00', edge, 0.55)
    g = D.glyph_exclaim(s, s, s / 2.0, 13, 19, 4.2)
    D.paint(L, '#9a5a00', D.shift(g, 0, 1), 0.6)
    D.paint(L, '#ffffff', g)
    return L


def msg_icons():
    s = 42
    warn = _warning_badge(s, D.rgb('#ffc21a'))
    stop = _round_badge(s, D.rgb('#d8261c'), D.glyph_cross(s, s, 21, 21, 13, 4.4))
    info = _round_badge(s, D.rgb('#1d6fd8'), D.glyph_info(s, s, 21, 9.5, 23, 4.4))
    help_ = _round_badge(s, D.rgb('#2ea43a'), D.glyph_question(s, s, 21, 9.5, 23, 4.2))
    back = D.tile(macos_form_background(), s, s).convert('RGBA')
    frames = []
    for icon in (warn, stop, info, help_):
        b = back.copy()
        b.alpha_composite(icon)
        frames.append(b.convert('RGB'))
    return D.hstrip(frames)


# ------------------------------------------------------------------ all of it

def build():
    """name -> RGB image (MSGDLG is returned as RGB and written with 8 bits)."""
    out = {}
    out['MACOS_BUTTON'] = macos_button()
    out['BLUEGLASS_BUTTON'] = blueglass_button()
    for st in ('WINXP', 'DEEPBLUE', 'PROTEIN'):
        out[st + '_BUTTON'] = flat_button(st)
    out['MACOS_TITLEBTN'] = macos_titlebtn()
    out['WINXP_TITLEBTN'] = winxp_titlebtn()
    out['DEEPBLUE_TITLEBTN'] = deepblue_titlebtn()
    out['PROTEIN_TITLEBTN'] = protein_titlebtn()
    out['BLUEGLASS_TITLEBTN'] = blueglass_titlebtn()
    for st in STYLES:
        left, client, right = title_sections(st)
        out[st + '_TITLE_LEFT'] = left
        out[st + '_TITLE_CLIENT'] = client
        out[st + '_TITLE_RIGHT'] = right
        out[st + '_CHECKBOX'] = checkbox(st, 'CHECKBOX')
        out[st + '_RADIOBUTTON'] = checkbox(st, 'RADIOBUTTON')
        out[st + '_CHECKLIST'] = checkbox(st, 'CHECKLIST')
        out[st + '_PROGRESSBAR'] = progress(st)
        out[st + '_TRACKBAR_BAR'] = trackbar_bar(st)
        out[st + '_TRACKBAR_SLIDER'] = trackbar_slider(st, False)
        out[st + '_TRACKBAR_SLIDER_V'] = trackbar_slider(st, True)
        out[st + '_SCROLLBAR_BUTTON'] = scrollbar_button(st)
        out[st + '_SCROLLBAR_TRACK'] = scrollbar_track(st)
        out[st + '_TAB'] = tab(st)
        out[st + '_TAB_LINE'] = tab_line(st)
        out[st + '_SIDECHENNEL_HANDLE'] = side_handle(st)
        out[st + '_SIDECHENNEL_BAR'] = side_bar(st)
    out['MACOS_SCROLLBUTTON'] = scrollbutton('MACOS')
    out['WINXP_SCROLLBUTTON'] = scrollbutton('WINXP')
    out['MORE_SCROLLBUTTON'] = scrollbutton('DEEPBLUE')
    out['MACOS_MENU_BAR'] = menu_bar()
    out['MACOS_MENU_SELECT'] = menu_select()
    out['MENU_CHECKED'] = menu_checked()
    out['MACOS_FORM_BACKGROUND'] = macos_form_background()
    out['PROTEIN_FORM_BACKGROUND'] = protein_form_background()
    out['MACOS_COMBOBOX_BUTTON'] = combobox_button('MACOS')
    out['WINXP_COMBOBOX_BUTTON'] = combobox_button('WINXP')
    out['MSGDLG'] = msg_icons()
    for name, img in out.items():
        if img.size != SIZES[name]:
            raise AssertionError('%s is %r, must be %r' % (name, img.size, SIZES[name]))
    missing = set(SIZES) - set(out)
    if missing:
        raise AssertionError('not drawn: %s' % sorted(missing))
    return out


def msgdlg_pictures(images):
    """The WinXP-look pictures of the message dialog window's stored frame."""
    strip = images['WINXP_TITLEBTN']
    close = [strip.crop((21 * i, 0, 21 * (i + 1), 21)) for i in (15, 16, 17)]
    return {
        'close_normal': close[0], 'close_over': close[1], 'close_down': close[2],
        'title_left': images['WINXP_TITLE_LEFT'],
        'title_right': images['WINXP_TITLE_RIGHT'],
        'title_client': images['WINXP_TITLE_CLIENT'],
    }
