#!/usr/bin/python3
"""Draws the gallery program's pictures and its theme file.

    /usr/bin/python3 tools/artwork/gallery.py

Outputs (paths relative to the repository root):
  resources/gallery/GALLERY_MENU.bmp     menu images, 16 x 16 each, magenta key
  resources/gallery/GLYPH_*.bmp          push-button glyphs, 16 x 16, one per
                                         glyph layout
  resources/gallery/TITLE_*.bmp          title-button glyphs, 11 x 11
  resources/themes/Meadow.theme          a toolkit theme file of our own: the
                                         WinXP pictures turned green, with
                                         colours of its own
The built-in style pictures it recolours are read from resources/artwork/,
which tools/artwork/generate.py writes. The output is the same on every run.
"""

import colorsys
import io
import os
import struct
import sys

from PIL import Image

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import draw as D  # noqa: E402

ROOT = os.path.normpath(os.path.join(HERE, '..', '..'))
RES = os.path.join(ROOT, 'resources')
OUT = os.path.join(RES, 'gallery')


def _keyed_icon(size, shapes):
    """shapes: (mask, colour) pairs painted in order over transparency."""
    layer = D.new(size, size)
    for mask, colour in shapes:
        D.paint(layer, D.new(size, size, colour), mask)
    return D.keyed(layer, matte=(240, 240, 240))


def _page(s):
    body = D.rrect(s, s, (3, 1, 13, 15), 1)
    fold = D.polygon(s, s, [(10, 1), (13, 4), (10, 4)])
    lines = D.union(*[D.rrect(s, s, (5, y, 11, y + 1), 0) for y in (6, 9, 12)])
    return [(body, '#5b7fa6'), (D.rrect(s, s, (4, 2, 12, 14), 0), '#ffffff'), (lines, '#7d97b3'),
            (fold, '#5b7fa6')]


def _scroll(s):
    return [(D.rrect(s, s, (1, 1, 15, 15), 2), '#3d7a3d'), (D.rrect(s, s, (11, 3, 14, 13), 1), '#ffffff'),
            (D.rrect(s, s, (11, 5, 14, 8), 1), '#3d7a3d'), (D.rrect(s, s, (3, 3, 10, 13), 1), '#e8f3e8')]


def _palette(s):
    return [(D.ellipse(s, s, (1, 1, 15, 15)), '#b57a3c'), (D.ellipse(s, s, (3, 3, 7, 7)), '#d63a3a'),
            (D.ellipse(s, s, (8, 3, 12, 7)), '#3a6ad6'), (D.ellipse(s, s, (3, 8, 7, 12)), '#3ab54a'),
            (D.ellipse(s, s, (9, 9, 13, 13)), '#ffffff')]


def _exit(s):
    door = D.rrect(s, s, (2, 1, 10, 15), 1)
    arrow = D.union(D.thick_line(s, s, [(7, 8), (14, 8)], 2), D.polygon(s, s, [(11, 4), (15, 8), (11, 12)]))
    return [(door, '#8a5a2b'), (D.rrect(s, s, (3, 2, 9, 14), 0), '#c48a4f'), (arrow, '#c0392b')]


def _arrow(direction):
    def shapes(s):
        body = D.ellipse(s, s, (1, 1, 15, 15))
        return [(body, '#2f6db5'), (D.glyph_tri(s, s, 8, 8, 8, direction), '#ffffff')]
    return shapes


def menu_images():
    """File: controls window, scrolling window, exit; Toolkit: the theme file."""
    return D.hstrip([_keyed_icon(16, f(16)) for f in (_page, _scroll, _exit, _palette)])


def button_glyphs():
    """One glyph per glyph layout, an arrow pointing from the text to it."""
    return {'GLYPH_' + name.upper(): _keyed_icon(16, _arrow(d)(16))
            for name, d in (('left', 'left'), ('right', 'right'), ('top', 'up'), ('bottom', 'down'))}


def title_glyphs():
    """User title buttons: a pin and a question mark, drawn on the key colour
    (the title bar takes the bottom-left pixel as transparent)."""
    s = 11
    pin = [(D.ellipse(s, s, (2, 1, 9, 7)), '#ffffff'), (D.thick_line(s, s, [(5.5, 6), (5.5, 10)], 1.6), '#ffffff')]
    dot = D.ellipse(s, s, (4.5, 8.5, 6.5, 10.5))
    hook = D.arc(s, s, (2, 0.5, 9, 6.5), 180, 90, 1.8)
    stem = D.thick_line(s, s, [(5.5, 5.5), (5.5, 7.5)], 1.8)
    question = [(D.union(hook, stem, dot), '#ffffff')]
    glyphs = {}
    for name, shapes in (('TITLE_PIN', pin), ('TITLE_HELP', question)):
        layer = D.new(s, s)
        for mask, colour in shapes:
            D.paint(layer, D.new(s, s, colour), mask)
        glyphs[name] = D.keyed(layer, matte=(90, 90, 90))
    return glyphs


# ---------------------------------------------------------------- theme file

def _green(img):
    """Turns a picture's blues to a soft green (hue turned by a quarter, colour
    halved), keeping the magenta key."""
    img = img.convert('RGB')
    out = img.copy()
    px, po = img.load(), out.load()
    for y in range(img.height):
        for x in range(img.width):
            if px[x, y] == D.MAGENTA:
                continue
            h, s, v = colorsys.rgb_to_hsv(*(c / 255.0 for c in px[x, y]))
            r, g, b = colorsys.hsv_to_rgb((h - 0.25) % 1.0, s * 0.5, v)
            po[x, y] = (int(round(r * 255)), int(round(g * 255)), int(round(b * 255)))
    return out


def _bmp_bytes(img):
    data = io.BytesIO()
    img.convert('RGB').save(data, 'BMP')
    return data.getvalue()


# The theme's pictures: (element, built-in picture it is drawn from).
THEME_PICTURES = [
    ('ButtonImage', 'WINXP_BUTTON'), ('CheckBoxImage', 'WINXP_CHECKBOX'),
    ('RadioButtonImage', 'WINXP_RADIOBUTTON'), ('TitleBarButtonImage', 'WINXP_TITLEBTN'),
    ('TitleBarLeftImage', 'WINXP_TITLE_LEFT'), ('TitleBarClientImage', 'WINXP_TITLE_CLIENT'),
    ('TitleBarRightImage', 'WINXP_TITLE_RIGHT'), ('ProgressBarImage', 'WINXP_PROGRESSBAR'),
    ('TrackBarBarImage', 'WINXP_TRACKBAR_BAR'), ('TrackBarSliderImage', 'WINXP_TRACKBAR_SLIDER'),
    ('TrackBarSliderVImage', 'WINXP_TRACKBAR_SLIDER_V'), ('ScrollBarButtonImage', 'WINXP_SCROLLBAR_BUTTON'),
    ('ScrollBarSliderImage', 'WINXP_SCROLLBAR_TRACK'), ('CheckListBoxImage', 'WINXP_CHECKLIST'),
    ('ScrollButtonImage', 'WINXP_SCROLLBUTTON'), ('TabControlTabImage', 'WINXP_TAB'),
    ('TabControlBarImage', 'WINXP_TAB_LINE'), ('SideChannelHandleImage', 'WINXP_SIDECHENNEL_HANDLE'),
    ('SideChannelBarImage', 'WINXP_SIDECHENNEL_BAR'),
]

# Colours as $00BBGGRR, integers, booleans.
THEME_VALUES = [
    ('ButtonTransparentBool', 2, 0), ('TitleBarButtonTransparentBool', 2, 0),
    ('TitleBarButtonLeftOffsetInt', 1, 2), ('TitleBarButtonRightOffsetInt', 1, -2),
    ('TitleBarButtonTopInt', 1, 5), ('FormMinWidthInt', 1, 150), ('FormRoundCornerInt', 1, 13),
    ('FormBackgroundColor', 1, 0x00E4F0E6), ('FormBorderColor', 1, 0x00307A2C), ('FormBorderWidthInt', 1, 3),
    ('MenuSelectedBorderColor', 1, 0x00409A3A), ('MenuSelectedBackgroundColor', 1, 0x00C8EBC9),
    ('MenuSelectedFontColor', 1, 0x00000000), ('MenuBackgroundColor', 1, 0x00FFFFFF),
    ('MenuFontColor', 1, 0x00000000), ('MenuBarColor', 1, 0x00CFE3D2), ('ControlBorderColor', 1, 0x00507A56),
    ('ControlBackgroundColor', 1, 0x00E4F0E6), ('ControlFontColor', 1, 0x00206A1E),
    ('ScrollBarBackgroundColor', 1, 0x00F4FAF5), ('ToolBarButtonBorderColor', 1, 0x00409A3A),
    ('ToolBarButtonBackgroundColor', 1, 0x00C8EBC9), ('ToolBarButtonDownBackgroundColor', 1, 0x0093CF96),
]

HEADER_LENGTH = 24
RECORD_LENGTH = 77


def theme_file(pictures, values):
    """A theme file: the header, then each entry record followed by its data,
    then a terminating record (next offset 0)."""
    entries = [(name, 0, _bmp_bytes(img)) for name, img in pictures]
    for name, kind, value in values:
        entries.append((name, kind, struct.pack('<i', value) if kind == 1 else bytes([value])))
    out = bytearray(b'KestuTheme\0\0' + struct.pack('<III', HEADER_LENGTH, 1, HEADER_LENGTH))
    for name, kind, data in entries + [('', 0, b'')]:
        record = len(out)
        data_offset = record + RECORD_LENGTH
        following = data_offset + len(data) if name else 0
        out += name.encode('ascii').ljust(64, b'\0')
        out += struct.pack('<BIII', kind, data_offset, len(data), following)
        out += data
    return bytes(out)


def main():
    os.makedirs(OUT, exist_ok=True)
    os.makedirs(os.path.join(RES, 'themes'), exist_ok=True)
    pictures = {'GALLERY_MENU': menu_images(), **button_glyphs(), **title_glyphs()}
    for name, img in pictures.items():
        D.save_bmp(img, os.path.join(OUT, name + '.bmp'))
    art = os.path.join(RES, 'artwork')
    theme = [(element, _green(Image.open(os.path.join(art, source + '.bmp'))))
                for element, source in THEME_PICTURES]
    with open(os.path.join(RES, 'themes', 'Meadow.theme'), 'wb') as f:
        f.write(theme_file(theme, THEME_VALUES))


if __name__ == '__main__':
    main()
