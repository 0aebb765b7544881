"""Shared drawing helpers of the artwork generator.

Everything is drawn into RGBA layers at final size.  Shapes are rendered
four times larger and reduced with a box filter, which gives exact coverage
anti-aliasing and the same bytes on every run.  A finished layer becomes a
picture in one of three ways:

* ``flatten``  - composited over an opaque background colour;
* ``keyed``    - pixels that are mostly transparent become magenta, the rest
                 are composited over the colour the image is expected to sit
                 on (its "matte"), so the anti-aliased rim suits that colour;
* ``with_mask`` - a picture half above a grey mask half, mask 0 where the
                 picture covers fully and 255 where the destination stays.
"""

from PIL import Image, ImageChops, ImageDraw

MAGENTA = (255, 0, 255)
SS = 4  # supersampling factor of shape coverage

# A pixel whose coverage is below this becomes magenta in keyed pictures.
KEY_THRESHOLD = 110


def rgb(c):
    """'#rrggbb', (r, g, b) or a $00BBGGRR integer -> (r, g, b)."""
    if isinstance(c, str):
        c = c.lstrip('#')
        return (int(c[0:2], 16), int(c[2:4], 16), int(c[4:6], 16))
    if isinstance(c, int):
        return (c & 255, (c >> 8) & 255, (c >> 16) & 255)
    return tuple(c[:3])


def mix(a, b, t):
    """Colour between a (t = 0) and b (t = 1)."""
    a, b = rgb(a), rgb(b)
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def lighten(c, t):
    return mix(c, (255, 255, 255), t)


def darken(c, t):
    return mix(c, (0, 0, 0), t)


def new(w, h, color=None):
    if color is None:
        return Image.new('RGBA', (w, h), (0, 0, 0, 0))
    return Image.new('RGBA', (w, h), rgb(color) + (255,))


# ---------------------------------------------------------------- coverage

def coverage(w, h, fn, ss=SS):
    """Anti-aliased coverage mask; fn(draw, s) draws with fill 255 at scale s."""
    m = Image.new('L', (w * ss, h * ss), 0)
    fn(ImageDraw.Draw(m), ss)
    return m.resize((w, h), Image.BOX)


def _box(b, s):
    x0, y0, x1, y1 = b
    return [x0 * s, y0 * s, x1 * s - 1, y1 * s - 1]


def rrect(w, h, box, r):
    """Rounded rectangle covering box (x0, y0, x1, y1), right/bottom exclusive."""
    def fn(d, s):
        bb = _box(box, s)
        if r <= 0:
            d.rectangle(bb, fill=255)
        else:
            d.rounded_rectangle(bb, radius=r * s, fill=255)
    return coverage(w, h, fn)


def ellipse(w, h, box):
    return coverage(w, h, lambda d, s: d.ellipse(_box(box, s), fill=255))


def polygon(w, h, pts):
    return coverage(w, h, lambda d, s: d.polygon([(x * s, y * s) for x, y in pts], fill=255))


def thick_line(w, h, pts, width):
    """Polyline of the given width with round joins and caps."""
    def fn(d, s):
        sp = [(x * s, y * s) for x, y in pts]
        d.line(sp, fill=255, width=int(round(width * s)), joint='curve')
        r = width * s / 2
        for x, y in (sp[0], sp[-1]):
            d.ellipse([x - r, y - r, x + r, y + r], fill=255)
    return coverage(w, h, fn)


def arc(w, h, box, start, end, width):
    def fn(d, s):
        d.arc(_box(box, s), start, end, fill=255, width=int(round(width * s)))
    return coverage(w, h, fn)


def union(*masks):
    out = masks[0]
    for m in masks[1:]:
        out = ImageChops.lighter(out, m)
    return out


def subtract(a, b):
    return ImageChops.subtract(a, b)


def intersect(a, b):
    return ImageChops.multiply(a, b)


def scale_mask(m, f):
    return m.point(lambda v: int(round(v * f)))


def ring(w, h, box, r, width):
    """Outline of a rounded rectangle, width pixels wide, inside box."""
    x0, y0, x1, y1 = box
    outer = rrect(w, h, box, r)
    inner = rrect(w, h, (x0 + width, y0 + width, x1 - width, y1 - width), max(0, r - width))
    return subtract(outer, inner)


def ellipse_ring(w, h, box, width):
    x0, y0, x1, y1 = box
    return subtract(ellipse(w, h, box), ellipse(w, h, (x0 + width, y0 + width, x1 - width, y1 - width)))


def shift(m, dx, dy):
    out = Image.new(m.mode, m.size, 0)
    out.paste(m, (dx, dy))
    return out


# ---------------------------------------------------------------- fills

def _ramp(n, stops):
    """n colours sampled at pixel centres along stops [(t, colour), ...]."""
    stops = [(t, rgb(c)) for t, c in stops]
    out = []
    for i in range(n):
        t = (i + 0.5) / n
        if t <= stops[0][0]:
            out.append(stops[0][1])
            continue
        for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
            if t0 <= t <= t1:
                out.append(mix(c0, c1, (t - t0) / (t1 - t0) if t1 > t0 else 0))
                break
        else:
            out.append(stops[-1][1])
    return out


def vgradient(w, h, stops, y0=0, y1=None):
    """Layer with a vertical gradient spanning rows y0..y1 (clamped outside)."""
    y1 = h if y1 is None else int(round(y1))
    y0 = int(round(y0))
    img = new(w, h)
    d = ImageDraw.Draw(img)
    cols = _ramp(max(1, y1 - y0), stops)
    for y in range(h):
        c = cols[min(max(y - y0, 0), len(cols) - 1)]
        d.line([(0, y), (w - 1, y)], fill=c + (255,))
    return img


def hgradient(w, h, stops, x0=0, x1=None):
    x1 = w if x1 is None else int(round(x1))
    x0 = int(round(x0))
    img = new(w, h)
    d = ImageDraw.Draw(img)
    cols = _ramp(max(1, x1 - x0), stops)
    for x in range(w):
        c = cols[min(max(x - x0, 0), len(cols) - 1)]
        d.line([(x, 0), (x, h - 1)], fill=c + (255,))
    return img


def rows(w, colours):
    """Layer whose row y is colours[y] (a vertical profile)."""
    img = new(w, len(colours))
    d = ImageDraw.Draw(img)
    for y, c in enumerate(colours):
        d.line([(0, y), (w - 1, y)], fill=rgb(c) + (255,))
    return img


def paint(dst, src, mask=None, opacity=1.0):
    """Composite src (a colour or an RGBA layer) over dst through mask, in place."""
    if not isinstance(src, Image.Image):
        src = Image.new('RGBA', dst.size, rgb(src) + (255,))
    a = src.getchannel('A')
    if mask is not None:
        a = ImageChops.multiply(a, mask)
    if opacity != 1.0:
        a = scale_mask(a, opacity)
    layer = src.copy()
    layer.putalpha(a)
    dst.alpha_composite(layer)
    return dst


def erase(dst, mask):
    """Take coverage away from dst where mask is set (cut a hole)."""
    a = ImageChops.multiply(dst.getchannel('A'), ImageChops.invert(mask))
    dst.putalpha(a)
    return dst


def clip(dst, mask):
    """Keep dst only where mask is set."""
    dst.putalpha(ImageChops.multiply(dst.getchannel('A'), mask))
    return dst


# ---------------------------------------------------------------- output forms

def flatten(img, background):
    base = Image.new('RGBA', img.size, rgb(background) + (255,))
    base.alpha_composite(img)
    return base.convert('RGB')


def keyed(img, matte=None, threshold=KEY_THRESHOLD):
    """Magenta where coverage < threshold; elsewhere over matte (or as is)."""
    w, h = img.size
    out = Image.new('RGB', (w, h))
    src = img.load()
    dst = out.load()
    m = rgb(matte) if matte is not None else None
    for y in range(h):
        for x in range(w):
            r, g, b, a = src[x, y]
            if a < threshold:
                dst[x, y] = MAGENTA
            elif m is None or a == 255:
                dst[x, y] = (r, g, b)
            else:
                t = a / 255.0
                dst[x, y] = tuple(int(round(c * t + mc * (1 - t))) for c, mc in zip((r, g, b), m))
    return fix_false_key(out, img)


def fix_false_key(out, img):
    """A drawn pixel that happens to be magenta is nudged off the key colour."""
    px = out.load()
    a = img.getchannel('A').load()
    w, h = out.size
    for y in range(h):
        for x in range(w):
            if px[x, y] == MAGENTA and a[x, y] >= KEY_THRESHOLD:
                px[x, y] = (254, 0, 255)
    return out


def with_mask(img, threshold=None, solid=False):
    """Picture above mask.  The mask is 255 - coverage; uncovered pixels are
    magenta in the picture.  With threshold, weak pixels become fully keyed
    (magenta, mask 255) so that a window region cut by key colour has a clean
    edge.  With solid, every kept pixel is opaque (mask 0)."""
    w, h = img.size
    out = Image.new('RGB', (w, h * 2))
    src = img.load()
    dst = out.load()
    thr = 1 if threshold is None else threshold
    for y in range(h):
        for x in range(w):
            r, g, b, a = src[x, y]
            if a < thr:
                dst[x, y] = MAGENTA
                m = 255
            else:
                dst[x, y] = (r, g, b) if (r, g, b) != MAGENTA else (254, 0, 255)
                m = 0 if solid else 255 - a
            dst[x, y + h] = (m, m, m)
    return out


def hstrip(frames):
    w = sum(f.size[0] for f in frames)
    h = max(f.size[1] for f in frames)
    out = Image.new(frames[0].mode, (w, h))
    x = 0
    for f in frames:
        out.paste(f, (x, 0))
        x += f.size[0]
    return out


def stack_masked(frames_rgba, **kw):
    """Strip of frames, each a picture above its mask, all picture halves on top.
    Equivalent to with_mask of the joined frames."""
    return with_mask(hstrip(frames_rgba), **kw)


def tile(img, w, h):
    out = Image.new(img.mode, (w, h))
    tw, th = img.size
    for y in range(0, h, th):
        for x in range(0, w, tw):
            out.paste(img, (x, y))
    return out


def save_bmp(img, path):
    img.convert('RGB').save(path, 'BMP')


def save_bmp8(img, path):
    """8-bit palette BMP; the palette is chosen deterministically."""
    q = img.convert('RGB').quantize(colors=256, method=Image.Quantize.MEDIANCUT,
                                    dither=Image.Dither.NONE)
    q.save(path, 'BMP')


# ---------------------------------------------------------------- symbols

def glyph_cross(w, h, cx, cy, size, width):
    d = size / 2.0
    return union(thick_line(w, h, [(cx - d, cy - d), (cx + d, cy + d)], width),
                 thick_line(w, h, [(cx - d, cy + d), (cx + d, cy - d)], width))


def glyph_check(w, h, x, y, size, width):
    """Tick mark inside the square (x, y, x+size, y+size)."""
    s = size
    return thick_line(w, h, [(x + 0.12 * s, y + 0.52 * s), (x + 0.40 * s, y + 0.80 * s),
                             (x + 0.90 * s, y + 0.16 * s)], width)


def glyph_tri(w, h, cx, cy, size, direction):
    """Filled arrow head pointing 'up', 'down', 'left' or 'right'."""
    a = size / 2.0
    b = size / 4.0 + 0.25
    if direction == 'down':
        pts = [(cx - a, cy - b), (cx + a, cy - b), (cx, cy + b + 0.5)]
    elif direction == 'up':
        pts = [(cx - a, cy + b), (cx + a, cy + b), (cx, cy - b - 0.5)]
    elif direction == 'left':
        pts = [(cx + b, cy - a), (cx + b, cy + a), (cx - b - 0.5, cy)]
    else:
        pts = [(cx - b, cy - a), (cx - b, cy + a), (cx + b + 0.5, cy)]
    return polygon(w, h, pts)


def glyph_chevron(w, h, cx, cy, size, direction, width):
    a = size / 2.0
    b = size / 4.0
    if direction == 'down':
        pts = [(cx - a, cy - b), (cx, cy + b), (cx + a, cy - b)]
    elif direction == 'up':
        pts = [(cx - a, cy + b), (cx, cy - b), (cx + a, cy + b)]
    elif direction == 'left':
        pts = [(cx + b, cy - a), (cx - b, cy), (cx + b, cy + a)]
    else:
        pts = [(cx - b, cy - a), (cx + b, cy), (cx - b, cy + a)]
    return thick_line(w, h, pts, width)


def glyph_exclaim(w, h, cx, top, height, width):
    """'!' : tapered bar and a round dot, total height given."""
    dot = width * 1.05
    bar_bottom = top + height - dot - width * 0.55
    bar = polygon(w, h, [(cx - width / 2, top), (cx + width / 2, top),
                         (cx + width * 0.32, bar_bottom), (cx - width * 0.32, bar_bottom)])
    cap = ellipse(w, h, (cx - width / 2, top - width / 2 + 0.01, cx + width / 2, top + width / 2))
    d = ellipse(w, h, (cx - dot / 2, top + height - dot, cx + dot / 2, top + height))
    return union(bar, cap, d)


def glyph_info(w, h, cx, top, height, width):
    """'i' : dot above a stem with small serifs."""
    dot = width * 1.1
    d = ellipse(w, h, (cx - dot / 2, top, cx + dot / 2, top + dot))
    stem_top = top + dot + width * 0.45
    bottom = top + height
    stem = rrect(w, h, (cx - width / 2, stem_top, cx + width / 2, bottom), 0)
    serif_t = rrect(w, h, (cx - width * 1.05, stem_top, cx + width / 2, stem_top + width * 0.45), 0)
    serif_b = rrect(w, h, (cx - width * 1.1, bottom - width * 0.5, cx + width * 1.1, bottom), 0)
    return union(d, stem, serif_t, serif_b)


def glyph_question(w, h, cx, top, height, width):
    """'?' : hook, short stem and a round dot."""
    r = height * 0.27
    cy = top + r + width / 2
    hook = arc(w, h, (cx - r, cy - r, cx + r, cy + r), 180, 405, width)
    # from the end of the hook (about 45 degrees below the right) down to the stem
    import math
    ex = cx + r * math.cos(math.radians(45)) - width * 0.15
    ey = cy + r * math.sin(math.radians(45)) - width * 0.15
    stem_bottom = top + height - width * 1.05 - width * 0.5
    stem = thick_line(w, h, [(ex, ey), (cx, ey + width * 0.55), (cx, stem_bottom)], width)
    dot = width * 1.05
    d = ellipse(w, h, (cx - dot / 2, top + height - dot, cx + dot / 2, top + height))
    return union(hook, stem, d)


def glyph_minus(w, h, cx, cy, size, width):
    return rrect(w, h, (cx - size / 2, cy - width / 2, cx + size / 2, cy + width / 2), 0)


def glyph_plus(w, h, cx, cy, size, width):
    return union(glyph_minus(w, h, cx, cy, size, width),
                 rrect(w, h, (cx - width / 2, cy - size / 2, cx + width / 2, cy + size / 2), 0))


def glyph_maximize(w, h, x, y, size, thick=2):
    """Window outline with a heavier top edge."""
    outer = rrect(w, h, (x, y, x + size, y + size), 0)
    inner = rrect(w, h, (x + 1, y + thick, x + size - 1, y + size - 1), 0)
    return subtract(outer, inner)


def glyph_restore(w, h, x, y, size, thick=2):
    """Two overlapping window outlines."""
    s = int(round(size * 0.72))
    off = size - s
    back = glyph_maximize(w, h, x + off, y, s, thick)
    front_box = (x, y + off, x + s, y + off + s)
    back = subtract(back, rrect(w, h, front_box, 0))
    front = glyph_maximize(w, h, x, y + off, s, thick)
    return union(back, front)


def glyph_minimize(w, h, x, y, size, thick=2):
    return rrect(w, h, (x, y + size - thick, x + size * 0.75, y + size), 0)


def glyph_controlbox(w, h, x, y, size):
    """Small window with a title band: the window-menu button."""
    outer = rrect(w, h, (x, y, x + size, y + size), 1.2)
    inner = rrect(w, h, (x + 1, y + 3, x + size - 1, y + size - 1), 0.6)
    return subtract(outer, inner)
