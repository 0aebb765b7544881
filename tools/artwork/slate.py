"""The skin "Slate", shipped as a folder beside the program: a cool
blue-grey frame with a flat slate title bar, square title buttons and a
brushed background.  Written as a skin folder: "Options.dat" and the
pictures it names.

Sections of the window frame and the push button, as the internal skin has
them: FORM, FORMTITLE, MENULINE, MAINMENU, MENUITEM, TSBUTTON, plus button
kinds that inherit from TSBUTTON through ParentClassName.  Own bitmaps are
three state frames above their masks; the master bitmap holds the pictures
named by "#" rectangles; the form background is a JPEG pattern.
"""

import io

from PIL import Image

import draw as D
from draw import MAGENTA
import skin

# Colours, light to dark.
MIST = '#e4e9ef'
PALE = '#cbd4de'
STEEL = '#8797a8'
SLATE = '#52647a'
DEEP = '#34445a'
INK = '#1f2a37'
ACCENT = '#6f98c6'   # hot
PRESS = '#3f6c9c'    # pressed
ALERT = '#c4574f'    # hot close button

MASTER_SIZE = (181, 38)
HELP_RECT = (0, 0, 51, 38)
TITLEBUTTON_RECT = (51, 0, 99, 36)
GRIP_RECT = (99, 0, 117, 18)
MENUBAR_RECT = (117, 0, 181, 22)


def colour_value(c):
    """'#rrggbb' as the $00BBGGRR integer of the description file."""
    r, g, b = D.rgb(c)
    return r | g << 8 | b << 16


def gradient_text(stops):
    """A gradient text of (start, end, percent) bands, top to bottom."""
    return ';'.join('%d;%d;%d;0;0' % (colour_value(a), colour_value(b), p) for a, b, p in stops)


def frames(draw_state, fw, fh, outside=None):
    """Three states side by side above their masks; draw_state(state) gives
    the layer, outside(state) its outside-the-shape coverage (default: what
    the layer leaves uncovered)."""
    return skin._join_masked([skin.masked(draw_state(s), outside(s) if outside else None) for s in range(3)])


# ------------------------------------------------------------------ frame

def form_border():
    """9 x 9 frames, 3 x 3 cells: a dark outer line, slate, a pale inner line.
    State 0 is the inactive frame, 1 and 2 the active one."""
    def state(s):
        w = h = 9
        L = D.new(w, h)
        D.paint(L, STEEL if s == 0 else DEEP, D.ring(w, h, (0, 0, w, h), 0, 1))
        D.paint(L, PALE if s == 0 else SLATE, D.ring(w, h, (1, 1, w - 1, h - 1), 0, 1))
        D.paint(L, MIST if s == 0 else STEEL, D.ring(w, h, (2, 2, w - 2, h - 2), 0, 1))
        return L
    return frames(state, 9, 9, lambda s: Image.new('L', (9, 9), 0))


def form_title():
    """30 x 24 frames of the title bar, cells 10 x 8: square-ish top corners
    (radius 3) cut by magenta, a light top line and a dark bottom rule; the
    rest lets the section's gradient show."""
    w, h, r = 30, 24, 3

    def shape():
        return D.rrect(w, h + r + 2, (0, 0, w, h + r + 2), r).crop((0, 0, w, h))

    def state(s):
        L = D.new(w, h)
        outline = D.ring(w, h + r + 2, (0, 0, w, h + r + 2), r, 1).crop((0, 0, w, h))
        inner = D.ring(w, h + r + 2, (1, 1, w - 1, h + r + 1), r - 1, 1).crop((0, 0, w, h))
        D.paint(L, STEEL if s == 0 else INK, outline)
        D.paint(L, '#ffffff', D.intersect(inner, skin.band(w, h, 0, 8)), 0.45 if s == 0 else 0.3)
        D.paint(L, STEEL if s == 0 else INK, D.intersect(shape(), skin.band(w, h, h - 1, h)))
        return L
    return frames(state, w, h, lambda s: Image.eval(shape(), lambda v: 255 - v))


GLYPHS = {
    'close': lambda w, h: D.glyph_cross(w, h, 8.5, 9.5, 5.0, 1.7),
    'max': lambda w, h: D.glyph_maximize(w, h, 4.5, 5.5, 8),
    'min': lambda w, h: D.glyph_minimize(w, h, 4.5, 5.5, 8),
    'norm': lambda w, h: D.glyph_restore(w, h, 4.5, 5.5, 8),
    'help': lambda w, h: D.glyph_question(w, h, 8.5, 5.0, 8.5, 1.6),
}


def title_button(kind, fw=17, fh=19, glyph=True):
    """Flat square buttons: a faint frame at rest, a filled tile when hot
    (red for close), darker when pressed; the glyph in white."""
    box = (1, 2, fw - 1, fh - 1)

    def state(s):
        L = D.new(fw, fh)
        tile = D.rrect(fw, fh, box, 2)
        if s == 0:
            D.paint(L, '#ffffff', tile, 0.12)
            D.paint(L, '#ffffff', D.ring(fw, fh, box, 2, 1), 0.35)
        else:
            fill = (ALERT if kind == 'close' else ACCENT) if s == 1 else (D.darken(ALERT, 0.25) if kind == 'close'
                                                                            else PRESS)
            D.paint(L, D.vgradient(fw, fh, [(0, D.lighten(fill, 0.2)), (1, fill)], box[1], box[3]), tile)
            D.paint(L, INK, D.ring(fw, fh, box, 2, 1), 0.6)
        if glyph:
            D.paint(L, '#ffffff', GLYPHS[kind](fw, fh), 0.9 if s == 0 else 1.0)
        return L
    # The faint tile at rest is kept (see-through) rather than keyed out.
    return frames(state, fw, fh, lambda s: Image.eval(D.rrect(fw, fh, box, 2), lambda v: 255 - v))


def grip():
    w = h = 18
    L = D.new(w, h)
    for i in range(3):
        for j in range(i + 1):
            x, y = w - 5 - 4 * (i - j), h - 5 - 4 * j
            D.paint(L, '#ffffff', D.rrect(w, h, (x + 1, y + 1, x + 3, y + 3), 0))
            D.paint(L, SLATE, D.rrect(w, h, (x, y, x + 2, y + 2), 0))
    return skin.opaque_keyed(L, L.getchannel('A'), MIST)


def menu_bar():
    w, h = MENUBAR_RECT[2] - MENUBAR_RECT[0], MENUBAR_RECT[3] - MENUBAR_RECT[1]
    L = D.vgradient(w, h, [(0, '#f1f4f7'), (1, PALE)])
    D.paint(L, STEEL, skin.band(w, h, h - 1, h))
    return L.convert('RGB')


def master():
    img = Image.new('RGB', MASTER_SIZE, MAGENTA)
    for rect, pic in ((HELP_RECT, title_button('help')), (TITLEBUTTON_RECT, title_button('max', 16, 18, False)),
                      (GRIP_RECT, grip()), (MENUBAR_RECT, menu_bar())):
        l, t, r, b = rect
        if pic.size != (r - l, b - t):
            raise AssertionError('%r: picture is %r' % (rect, pic.size))
        img.paste(pic, (l, t))
    return img


# ------------------------------------------------------------------ button

def button_border():
    """24 x 24 frames, cells 8 x 8: rounded (radius 3) outline, steel at
    rest, accent blue when hot, deep blue with a sunken top when pressed."""
    w = h = 24
    r = 3

    def state(s):
        L = D.new(w, h)
        box = (0, 0, w, h)
        outline = [STEEL, '#4f78a6', '#2f527a'][s]
        D.paint(L, outline, D.ring(w, h, box, r, 1))
        inner = D.ring(w, h, (1, 1, w - 1, h - 1), r - 1, 1)
        if s < 2:
            D.paint(L, '#ffffff', D.intersect(inner, skin.band(w, h, 0, 8)), 0.8)
            D.paint(L, '#ffffff', D.intersect(inner, skin.band(w, h, 8, 16)), 0.3)
        else:
            D.paint(L, INK, D.intersect(inner, skin.band(w, h, 0, 8)), 0.25)
        return L
    return frames(state, w, h, lambda s: Image.eval(D.rrect(w, h, (0, 0, w, h), r), lambda v: 255 - v))


# ------------------------------------------------------------------ pattern

def background():
    """64 x 64 brushed blue-grey: horizontal strokes of varying lightness,
    from a fixed pseudo-random sequence so every run draws the same."""
    w = h = 64
    img = Image.new('RGB', (w, h), D.rgb('#dde3ea'))
    px = img.load()
    seed = 12345
    for y in range(h):
        for x in range(w):
            seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
            streak = ((seed >> 16) % 9) - 4 + (2 if y % 4 == 0 else 0)
            base = px[x, y]
            px[x, y] = tuple(max(0, min(255, c + streak)) for c in base)
    return img


def jpeg_bytes(img):
    out = io.BytesIO()
    img.save(out, 'JPEG', quality=92, subsampling=0, optimize=False)
    return out.getvalue()


# ------------------------------------------------------------------ description

TITLE_NORMAL = gradient_text([('#aab5c1', '#919eac', 100)])
TITLE_ACTIVE = gradient_text([('#62778f', '#4a5d74', 55), ('#4a5d74', '#3c4d62', 45)])
BUTTON_NORMAL = gradient_text([('#f6f8fa', '#dfe5ec', 60), ('#dfe5ec', '#cdd6e0', 40)])
BUTTON_HOT = gradient_text([('#eef4fb', '#c9dbef', 50), ('#c9dbef', '#a9c4e2', 50)])
MENU_LINE = gradient_text([('#eef1f5', '#d3dbe4', 100)])


def hex_colour(c):
    return '$%06X' % colour_value(c)


def options():
    """The description file: GlobalInfo, the frame sections, the button
    and button kinds that inherit from it."""
    m = 'Master.bmp'

    def rect(r, count, mask):
        return '#%s (%d,%d,%d,%d) (%d,%d)' % (m, r[0], r[1], r[2], r[3], count, mask)

    sections = [
        ('GlobalInfo', [('MasterBitmap', m)]),
        ('FORM', [
            ('PaintingColor', hex_colour('#dde3ea')),
            ('ReservedBoolean', 'TRUE'),
            ('ImagePercent', 100), ('HotImagePercent', 100),
            ('BordersMask', 'FormBorder.bmp'),
            ('ImageFile', 'Background.jpg'), ('HotImageFile', 'Background.jpg'),
            ('BIconClose', 'Close.bmp'), ('BIconMax', 'Max.bmp'), ('BIconMin', 'Min.bmp'),
            ('BIconNorm', 'Norm.bmp'),
            ('BIconHelp', rect(HELP_RECT, 3, 1)),
            ('TitleButton', rect(TITLEBUTTON_RECT, 3, 1)),
            ('GripImage', rect(GRIP_RECT, 1, 0)),
        ]),
        ('FORMTITLE', [
            ('PaintingColor', hex_colour('#4a5d74')),
            ('FontColor', colour_value('#eef2f6')), ('TCBottom', colour_value('#7d8a98')),
            ('HotFontColor', colour_value('#ffffff')), ('HotTCBottom', colour_value(INK)),
            ('GradientPercent', 100), ('GradientData', TITLE_NORMAL),
            ('HotGradientPercent', 100), ('HotGradientData', TITLE_ACTIVE),
            ('BordersMask', 'Title.bmp'),
        ]),
        ('MENULINE', [
            ('PaintingColor', hex_colour(PALE)),
            ('GradientPercent', 100), ('GradientData', MENU_LINE),
        ]),
        ('MAINMENU', [
            ('PaintingColor', hex_colour(MIST)),
            ('GradientData', ''),
            ('ImagePercent', 100),
            ('ImageFile', rect(MENUBAR_RECT, 1, 0)),
        ]),
        ('MENUITEM', [
            ('PaintingColor', hex_colour(MIST)),
            ('FontColor', colour_value(INK)),
            ('HotFontColor', colour_value('#ffffff')),
            ('PaintingTransparency', 100),
            ('GradientData', ''),
            ('HotPaintingColor', hex_colour(SLATE)),
            ('HotPaintingTransparency', 15),
            ('HotGradientData', ''),
        ]),
        ('TSBUTTON', [
            ('PaintingColor', hex_colour('#e6ebf0')),
            ('FontColor', colour_value(INK)),
            ('HotFontColor', colour_value('#16304f')),
            ('GradientPercent', 100), ('GradientData', BUTTON_NORMAL),
            ('ShowFocus', 'TRUE'),
            ('FadingEnabled', 'TRUE'), ('FadingIterations', 3),
            ('HotPaintingColor', hex_colour('#c9dbef')),
            ('HotGradientPercent', 100), ('HotGradientData', BUTTON_HOT),
            ('BordersMask', 'Button.bmp'),
        ]),
        ('TSBITBTN', [
            ('ParentClassName', 'TSBUTTON'),
            ('HotPaintingBevel', 1), ('HotPaintingBevelWidth', 3),
        ]),
        ('TSSPEEDBUTTON', [
            ('ParentClassName', 'TSBUTTON'),
            ('PaintingTransparency', 50), ('HotPaintingTransparency', 20),
            ('GradientPercent', 0), ('HotGradientPercent', 0),
            ('FadingIterations', 2),
        ]),
        ('TSSPEEDBUTTON_SMALL', [
            ('ParentClassName', 'TSSPEEDBUTTON'),
            ('PaintingTransparency', 100), ('FadingIterations', 1),
        ]),
        ('COLHEADER', [('ParentClassName', 'TSBUTTON')]),
    ]
    lines = ['; Skin "Slate": drawn by tools/artwork/generate.py; do not edit by hand.']
    for name, keys in sections:
        lines += ['', '[%s]' % name] + ['%s=%s' % (k, v) for k, v in keys]
    return '\r\n'.join(lines) + '\r\n'


def build():
    """Every file of the skin folder: name -> RGB image, or bytes for the
    JPEG pattern and the description."""
    return {
        'Options.dat': options().encode('ascii'),
        'Master.bmp': master(),
        'FormBorder.bmp': form_border(),
        'Title.bmp': form_title(),
        'Close.bmp': title_button('close'),
        'Max.bmp': title_button('max'),
        'Min.bmp': title_button('min'),
        'Norm.bmp': title_button('norm'),
        'Button.bmp': button_border(),
        'Background.jpg': jpeg_bytes(background()),
    }
