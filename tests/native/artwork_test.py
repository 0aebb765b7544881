#!/usr/bin/env python3
"""Checks the committed artwork against the sizes and layouts the engines
rely on.  Plain Python: a small BMP reader, no imaging library.

    python3 tests/native/artwork_test.py
"""

import os
import re
import struct
import unittest

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..'))
RES = os.path.join(ROOT, 'resources')
ART = os.path.join(RES, 'artwork')
MAGENTA = (255, 0, 255)

# ---------------------------------------------------------------- expected data
# Toolkit bitmaps by element, in style order MacOS, WinXP, DeepBlue, Protein,
# BlueGlass (None: the style names a shared bitmap instead).
STYLES = ['MACOS', 'WINXP', 'DEEPBLUE', 'PROTEIN', 'BLUEGLASS']
ELEMENTS = {
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
OTHER = {
    'MORE_SCROLLBUTTON': (72, 17),
    'MACOS_MENU_BAR': (1, 22),
    'MACOS_MENU_SELECT': (1, 21),
    'MENU_CHECKED': (16, 16),
    'MACOS_FORM_BACKGROUND': (8, 8),
    'PROTEIN_FORM_BACKGROUND': (8, 8),
    'MACOS_COMBOBOX_BUTTON': (16, 17),
    'WINXP_COMBOBOX_BUTTON': (16, 18),
    'MSGDLG': (168, 42),
    'BORD1': (90, 60), 'BORD2': (90, 60), 'BORD3': (90, 60), 'BORD4': (90, 60),
    'BORD5': (54, 36), 'BORD6': (450, 96),
}
# Built-in glyph strips whose size is ours to choose: three frames, each a
# picture above its mask.
GLYPHS = ['COMBO', 'SF', 'SR', 'SD', 'SE', 'SC',
          'RCC', 'RUC', 'RCH', 'RUH', 'CCC', 'CUC', 'CCH', 'CUH']
# How the users split the strips.
FRAMES = {'BUTTON': 3, 'TITLEBTN': 18, 'CHECKBOX': 4, 'RADIOBUTTON': 4, 'CHECKLIST': 4,
          'SCROLLBAR_BUTTON': 6, 'SCROLLBUTTON': 4}

# The internal skin: (section, property, rectangle, image count, mask type).
MASTER_SIZE = (200, 497)
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
    ('TSTABSHEET', 'INACTIVETABBORDERSMASK', (136, 86, 163, 110), 1, 0),
    ('TSTABCONTROLBOTTOM', 'ACTIVETABBORDERSMASK', (42, 186, 72, 228), 1, 1),
    ('TSTABCONTROLBOTTOM', 'INACTIVETABBORDERSMASK', (163, 86, 190, 110), 1, 0),
    ('TSTABSHEETLEFT', 'ACTIVETABBORDERSMASK', (21, 183, 42, 243), 1, 1),
    ('TSTABSHEETLEFT', 'INACTIVETABBORDERSMASK', (114, 134, 138, 161), 1, 0),
    ('TSTABCONTROLRIGHT', 'ACTIVETABBORDERSMASK', (0, 183, 21, 243), 1, 1),
    ('TSTABCONTROLRIGHT', 'INACTIVETABBORDERSMASK', (138, 134, 162, 161), 1, 0),
    ('FORMTITLE', 'BORDERSMASK', (135, 38, 165, 86), 1, 1),
    ('FORM', 'BICONHELP', (0, 340, 51, 378), 3, 1),
    ('FORM', 'BORDERSMASK', (76, 38, 79, 41), 1, 0),
    ('FORM', 'GRIPIMAGE', (179, 227, 197, 245), 1, 0),
    ('FORM', 'IMAGEFILE', (103, 188, 169, 228), 1, 0),
    ('FORM', 'TITLEBUTTON', (103, 344, 151, 380), 3, 1),
    ('DIVIDER', 'BORDERSMASK', (191, 23, 194, 41), 1, 1),
    ('TFRAME', 'BORDERSMASK', (192, 168, 198, 180), 1, 1),
    ('TSSPEEDBUTTON_SMALL', 'BORDERSMASK', (1, 263, 28, 281), 3, 1),
    ('TSTOOLBUTTON', 'BORDERSMASK', (56, 389, 200, 449), 3, 1),
    ('TSBUTTON', 'BORDERSMASK', (0, 449, 72, 497), 3, 1),
    ('TSBUTTON', 'SBORDERSMASK', (50, 300, 104, 336), 3, 1),
]


# ---------------------------------------------------------------- BMP reader

class Bmp:
    """Uncompressed 8- or 24-bit BMP as rows of (r, g, b)."""

    def __init__(self, path):
        with open(path, 'rb') as f:
            data = f.read()
        if data[:2] != b'BM':
            raise ValueError('%s: not a BMP file' % path)
        offset = struct.unpack_from('<I', data, 10)[0]
        (size, w, h, planes, bpp, compression) = struct.unpack_from('<IiiHHI', data, 14)
        if compression != 0 or bpp not in (8, 24):
            raise ValueError('%s: %d bits, compression %d' % (path, bpp, compression))
        self.width, self.height, self.bpp = w, abs(h), bpp
        palette = []
        if bpp == 8:
            count = struct.unpack_from('<I', data, 46)[0] or 256
            base = 14 + size
            palette = [tuple(reversed(data[base + 4 * i: base + 4 * i + 3])) for i in range(count)]
        stride = ((w * bpp + 31) // 32) * 4
        self.rows = []
        for y in range(self.height):
            src_y = self.height - 1 - y if h > 0 else y
            row = data[offset + src_y * stride: offset + src_y * stride + stride]
            if bpp == 24:
                self.rows.append([(row[3 * x + 2], row[3 * x + 1], row[3 * x]) for x in range(w)])
            else:
                self.rows.append([palette[row[x]] for x in range(w)])

    @property
    def size(self):
        return (self.width, self.height)

    def px(self, x, y):
        return self.rows[y][x]


def read_rc(path=os.path.join(RES, 'artwork.rc')):
    """The bitmap resources a script names; other lines are refused."""
    names = {}
    with open(path) as f:
        for line in f:
            line = line.split('//')[0].strip()
            if not line or line.startswith('#include') or re.match(r'^\w+\s+RCDATA\s', line):
                continue
            m = re.match(r'^(\w+)\s+BITMAP\s+"([^"]+)"$', line)
            if not m:
                raise AssertionError('unexpected line in %s: %r' % (path, line))
            names[m.group(1)] = m.group(2)
    return names


def expected_sizes():
    out = dict(OTHER)
    for elem, sizes in ELEMENTS.items():
        for style, size in zip(STYLES, sizes):
            if size:
                out['%s_%s' % (style, elem)] = size
    return out


_cache = {}


def load(rel):
    if rel not in _cache:
        _cache[rel] = Bmp(os.path.join(RES, rel))
    return _cache[rel]


def is_grey(p):
    return p[0] == p[1] == p[2]


def check_masked(case, img, label, x0=0, y0=0, w=None, h=None):
    """The lower half of the area is a grey mask; magenta picture pixels have
    mask 255 (the destination stays)."""
    w = img.width if w is None else w
    h = img.height if h is None else h
    case.assertEqual(h % 2, 0, '%s: odd height %d' % (label, h))
    half = h // 2
    for y in range(half):
        for x in range(w):
            pic = img.px(x0 + x, y0 + y)
            m = img.px(x0 + x, y0 + half + y)
            case.assertTrue(is_grey(m), '%s: mask pixel (%d,%d) is %r' % (label, x, half + y, m))
            if pic == MAGENTA:
                case.assertEqual(m[0], 255, '%s: keyed pixel (%d,%d) has mask %d' % (label, x, y, m[0]))


# The internal skin's pictures, which the test programs carry as resources
# to compare the stored skin with.
TEST_RC = os.path.join(ROOT, 'tests', 'windows', 'resources', 'TestResources.rc')
INTERNAL_SKIN = {'SKIN_MASTER': (200, 497), 'SKIN_BICLOSE': (51, 38), 'SKIN_BIMAX': (51, 38),
                 'SKIN_BIMIN': (51, 38), 'SKIN_BINORM': (51, 38)}


# ---------------------------------------------------------------- tests

class ResourceScriptTest(unittest.TestCase):
    def test_names_files_and_sizes(self):
        rc = read_rc()
        expected = expected_sizes()
        self.assertNotIn('MAINICON', rc, 'the program icon is named by the main script')
        missing = sorted((set(expected) | set(GLYPHS)) - set(rc))
        self.assertEqual(missing, [], 'resources missing from artwork.rc')
        self.assertEqual(set(rc) & set(INTERNAL_SKIN), set(), 'the program carries no test pictures')
        for name, rel in rc.items():
            self.assertEqual(rel, 'artwork/%s.bmp' % name)
            img = load(rel)
            if name in expected:
                self.assertEqual(img.size, expected[name], name)
            self.assertEqual(img.bpp, 8 if name == 'MSGDLG' else 24, name)

    def test_internal_skin_pictures_of_the_tests(self):
        rc = read_rc(TEST_RC)
        self.assertEqual(set(rc), set(INTERNAL_SKIN))
        for name, rel in rc.items():
            self.assertEqual(rel, 'artwork/skin/%s.bmp' % name[len('SKIN_'):])
            self.assertEqual(load(rel).size, INTERNAL_SKIN[name], name)

    def test_strips_split_into_equal_frames(self):
        for elem, count in FRAMES.items():
            for style, size in zip(STYLES, ELEMENTS[elem]):
                if size:
                    self.assertEqual(size[0] % count, 0, '%s_%s' % (style, elem))
                    self.assertEqual(load('artwork/%s_%s.bmp' % (style, elem)).width % count, 0)
        self.assertEqual(load('artwork/MORE_SCROLLBUTTON.bmp').width % 4, 0)
        # title buttons are square, the button row height of their style
        for style, size in zip(STYLES, ELEMENTS['TITLEBTN']):
            self.assertEqual(size[0] // 18, size[1], style)
        for name in GLYPHS:
            img = load('artwork/%s.bmp' % name)
            self.assertEqual(img.width % 3, 0, name)
            self.assertEqual(img.height % 2, 0, name)
        for name in ('BORD1', 'BORD2', 'BORD3', 'BORD4', 'BORD5', 'BORD6'):
            img = load('artwork/%s.bmp' % name)
            self.assertEqual((img.width % 9, img.height % 6), (0, 0), name)

    def test_masks_are_grey(self):
        for name in GLYPHS + ['BORD1', 'BORD2', 'BORD3', 'BORD4', 'BORD5', 'BORD6']:
            check_masked(self, load('artwork/%s.bmp' % name), name)

    def test_transparent_colour_only_where_drawn_transparent(self):
        def frames(name, count):
            img = load('artwork/%s.bmp' % name)
            fw = img.width // count
            return img, fw
        # buttons drawn with transparent corners: every frame's corners are keyed
        for style in ('MACOS', 'BLUEGLASS'):
            img, fw = frames(style + '_BUTTON', 3)
            for i in range(3):
                for x, y in ((0, 0), (fw - 1, 0), (0, img.height - 1), (fw - 1, img.height - 1)):
                    self.assertEqual(img.px(i * fw + x, y), MAGENTA, '%s frame %d' % (style, i))
                self.assertNotEqual(img.px(i * fw + fw // 2, img.height // 2), MAGENTA)
        # opaque pieces never carry the key colour
        opaque = ['%s_%s' % (s, e) for s in ('WINXP', 'DEEPBLUE', 'PROTEIN')
                  for e in ('BUTTON',)]
        opaque += ['%s_TITLE_%s' % (s, p) for s in STYLES for p in ('LEFT', 'CLIENT', 'RIGHT')]
        opaque += ['%s_TITLEBTN' % s for s in ('MACOS', 'WINXP', 'DEEPBLUE')]
        opaque += ['MACOS_FORM_BACKGROUND', 'PROTEIN_FORM_BACKGROUND', 'MSGDLG',
                   'MACOS_MENU_BAR', 'MACOS_MENU_SELECT']
        for name in opaque:
            img = load('artwork/%s.bmp' % name)
            self.assertFalse(any(p == MAGENTA for row in img.rows for p in row), name)
        # title buttons drawn transparently: the bottom-left pixel of each frame is keyed
        for style in ('PROTEIN', 'BLUEGLASS'):
            img, fw = frames(style + '_TITLEBTN', 18)
            for i in range(18):
                self.assertEqual(img.px(i * fw, img.height - 1), MAGENTA, '%s frame %d' % (style, i))

    def test_menu_check_mark_on_white(self):
        img = load('artwork/MENU_CHECKED.bmp')
        edge = [img.px(x, 0) for x in range(16)] + [img.px(0, y) for y in range(16)]
        self.assertTrue(all(p == (255, 255, 255) for p in edge))
        self.assertTrue(any(max(p) < 96 for row in img.rows for p in row), 'no dark mark')

    def test_message_icons_in_order(self):
        img = load('artwork/MSGDLG.bmp')
        hues = []
        for i in range(4):
            counts = {'yellow': 0, 'red': 0, 'blue': 0, 'green': 0}
            for y in range(42):
                for x in range(42 * i, 42 * i + 42):
                    r, g, b = img.px(x, y)
                    if max(r, g, b) - min(r, g, b) < 90:
                        continue
                    if r > 150 and g > 120 and b < 100:
                        counts['yellow'] += 1
                    elif r > g + 60 and r > b + 60:
                        counts['red'] += 1
                    elif b > r + 60 and b > g:
                        counts['blue'] += 1
                    elif g > r + 40 and g > b + 40:
                        counts['green'] += 1
            hues.append(max(counts, key=counts.get))
        self.assertEqual(hues, ['yellow', 'red', 'blue', 'green'])


class InternalSkinTest(unittest.TestCase):
    def setUp(self):
        self.master = load('artwork/skin/MASTER.bmp')

    def test_size_and_magenta_outside_rectangles(self):
        self.assertEqual(self.master.size, MASTER_SIZE)
        inside = set()
        for _, _, (l, t, r, b), _, _ in ENTRIES:
            self.assertTrue(0 <= l < r <= MASTER_SIZE[0] and 0 <= t < b <= MASTER_SIZE[1])
            for y in range(t, b):
                for x in range(l, r):
                    inside.add((x, y))
        for y in range(MASTER_SIZE[1]):
            for x in range(MASTER_SIZE[0]):
                if (x, y) not in inside:
                    self.assertEqual(self.master.px(x, y), MAGENTA, 'pixel (%d,%d)' % (x, y))

    def test_entries_hold_pictures_and_grey_masks(self):
        for section, prop, (l, t, r, b), count, mask in ENTRIES:
            label = '%s.%s' % (section, prop)
            w, h = r - l, b - t
            self.assertEqual(w % count, 0, label)
            drawn = sum(1 for y in range(t, t + h // (mask + 1)) for x in range(l, r)
                        if self.master.px(x, y) != MAGENTA)
            self.assertGreater(drawn, 0, label + ' is empty')
            if mask:
                check_masked(self, self.master, label, l, t, w, h)

    # scroll bar pieces are shaded across the bar and only ever stretched along it
    ALONG = {'SCROLLBAR1V': 'v', 'SCROLLBAR2V': 'v', 'SCROLLSLIDERV': 'v', 'SCROLLBTNTOP': 'v',
             'SCROLLBTNBOTTOM': 'v', 'SCROLLBAR1H': 'h', 'SCROLLBAR2H': 'h', 'SCROLLSLIDERH': 'h',
             'SCROLLBTNLEFT': 'h', 'SCROLLBTNRIGHT': 'h'}

    def test_border_frames_tile(self):
        """Edge cells of nine-part borders are even along their edge, so that
        tiling them shows no seams."""
        for section, prop, (l, t, r, b), count, mask in ENTRIES:
            if 'BORDERSMASK' not in prop:
                continue
            fw = (r - l) // count
            ph = (b - t) // (mask + 1)
            cw, ch = fw // 3, ph // 3
            for i in range(count):
                x0 = l + i * fw
                self._even_edges('%s.%s[%d]' % (section, prop, i), self.master, x0, t, fw, ph, cw, ch,
                                 self.ALONG.get(section, 'hv'))
        for name in ('BORD1', 'BORD2', 'BORD3', 'BORD4', 'BORD5', 'BORD6'):
            img = load('artwork/%s.bmp' % name)
            cw, ch = img.width // 9, img.height // 6
            for i in range(3):
                self._even_edges(name, img, i * 3 * cw, 0, 3 * cw, 3 * ch, cw, ch)

    def _even_edges(self, label, img, x0, y0, fw, ph, cw, ch, along='hv'):
        for y in range(ch if 'h' in along else 0):      # top and bottom edge cell rows
            row = {img.px(x0 + x, y0 + y) for x in range(cw, 2 * cw)}
            self.assertEqual(len(row), 1, '%s: top edge row %d varies' % (label, y))
            row = {img.px(x0 + x, y0 + ph - 1 - y) for x in range(cw, 2 * cw)}
            self.assertEqual(len(row), 1, '%s: bottom edge row %d varies' % (label, y))
        for x in range(cw if 'v' in along else 0):      # left and right edge cell columns
            col = {img.px(x0 + x, y0 + y) for y in range(ch, 2 * ch)}
            self.assertEqual(len(col), 1, '%s: left edge column %d varies' % (label, x))
            col = {img.px(x0 + fw - 1 - x, y0 + y) for y in range(ch, 2 * ch)}
            self.assertEqual(len(col), 1, '%s: right edge column %d varies' % (label, x))

    def test_button_and_title_corners_are_cut(self):
        # TSBUTTON: three 24 x 24 states above their masks, round corners keyed
        for i in range(3):
            x0 = i * 24
            for x, y in ((0, 0), (23, 0), (0, 23), (23, 23)):
                self.assertEqual(self.master.px(x0 + x, 449 + y), MAGENTA, 'TSBUTTON state %d' % i)
            self.assertNotEqual(self.master.px(x0 + 12, 449 + 0), MAGENTA)
        # FORMTITLE: only the two top corners are cut out of the window shape
        l, t = 135, 38
        self.assertEqual(self.master.px(l, t), MAGENTA)
        self.assertEqual(self.master.px(l + 29, t), MAGENTA)
        for x in range(30):
            self.assertNotEqual(self.master.px(l + x, t + 23), MAGENTA, 'bottom row of the title')
        for y in range(8, 24):
            self.assertNotEqual(self.master.px(l, t + y), MAGENTA, 'left side of the title')

    def test_title_button_bitmaps(self):
        for name in ('BICLOSE', 'BIMAX', 'BIMIN', 'BINORM'):
            img = load('artwork/skin/%s.bmp' % name)
            self.assertEqual(img.size, (51, 38), name)
            check_masked(self, img, name)
        self.assertNotEqual(load('artwork/skin/BIMAX.bmp').rows, load('artwork/skin/BINORM.bmp').rows,
                            'the restore face differs from the maximise face')


class SlateSkinTest(unittest.TestCase):
    """The skin folder beside the program: its own pictures are three states
    above grey masks, like every own picture of a skin."""
    FOLDER = os.path.join(RES, 'skins', 'Slate')

    def test_own_pictures_are_masked_state_strips(self):
        for name in ('FormBorder', 'Title', 'Close', 'Max', 'Min', 'Norm', 'Button'):
            img = Bmp(os.path.join(self.FOLDER, name + '.bmp'))
            self.assertEqual((img.width % 3, img.bpp), (0, 24), name)
            check_masked(self, img, name)

    def test_master_rectangles_hold_pictures_and_magenta_elsewhere(self):
        master = Bmp(os.path.join(self.FOLDER, 'Master.bmp'))
        with open(os.path.join(self.FOLDER, 'Options.dat')) as f:
            rects = [tuple(int(v) for v in m.groups())
                     for m in re.finditer(r'#Master\.bmp \((\d+),(\d+),(\d+),(\d+)\) \((\d+),(\d+)\)', f.read())]
        self.assertEqual(len(rects), 4)
        inside = set()
        for l, t, r, b, count, mask in rects:
            self.assertTrue(0 <= l < r <= master.width and 0 <= t < b <= master.height)
            self.assertEqual((r - l) % count, 0)
            if mask:
                check_masked(self, master, 'Master.bmp (%d,%d)' % (l, t), l, t, r - l, b - t)
            inside |= {(x, y) for y in range(t, b) for x in range(l, r)}
        for y in range(master.height):
            for x in range(master.width):
                if (x, y) not in inside:
                    self.assertEqual(master.px(x, y), MAGENTA, 'pixel (%d,%d)' % (x, y))


class OtherFilesTest(unittest.TestCase):
    def test_dialog_frame_pictures(self):
        sizes = {'close_normal': 21, 'close_over': 21, 'close_down': 21,
                 'title_left': 35, 'title_right': 35, 'title_client': 37}
        for name, width in sizes.items():
            self.assertEqual(load('artwork/msgdlg/%s.bmp' % name).width, width, name)

    def test_icon_sizes(self):
        with open(os.path.join(RES, 'MAINICON.ico'), 'rb') as f:
            data = f.read()
        reserved, kind, count = struct.unpack_from('<HHH', data, 0)
        self.assertEqual((reserved, kind), (0, 1))
        sizes = set()
        for i in range(count):
            w, h, _, _, _, bpp, length, offset = struct.unpack_from('<BBBBHHII', data, 6 + 16 * i)
            self.assertLessEqual(offset + length, len(data))
            sizes.add((w or 256, h or 256))
        self.assertTrue({(16, 16), (32, 32), (48, 48)} <= sizes, sizes)


if __name__ == '__main__':
    unittest.main()
