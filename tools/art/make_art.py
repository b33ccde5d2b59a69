#!/usr/bin/python3
"""Draws all of Quarvel's artwork: console, panels, buttons, game logos, marks,
viewer frame, wait window, cursors and the application icon.

Run from anywhere:  /usr/bin/python3 tools/art/make_art.py
Reads  src/product/panel_layout.def (where the panel controls sit).
Writes src/resources/bitmaps/*.bmp, src/resources/cursors/*.cur,
       src/resources/quarvel.ico, and previews in build/art-preview/.
The output is the same on every run: all noise comes from seeded generators.
"""

import math
import os
import random
import re
import struct

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
LAYOUT_DEF = os.path.join(ROOT, "src", "product", "panel_layout.def")
RES_DIR = os.path.join(ROOT, "src", "resources")
BMP_DIR = os.path.join(RES_DIR, "bitmaps")
BMP_TWICE_DIR = os.path.join(BMP_DIR, "2x")  # the same bitmaps drawn at twice the size
# Pictures the program shows only from their 96-DPI drawing at every scale:
# the wait window's frame is whole pixels that enlarge exactly, and the scan
# report's frame would add two thirds of a megabyte to the program for one title.
ONLY_ONCE = {"_F_WAIT", "_F_SCAN", "_B_SCANE"}
CUR_DIR = os.path.join(RES_DIR, "cursors")
PREVIEW_DIR = os.path.join(ROOT, "build", "art-preview")
FONT_DIR = "/usr/share/fonts/truetype/dejavu"

MAIN_W, MAIN_H = 400, 395
PANEL_W, PANEL_H = 255, 275
PANEL_AT = {"PA": (147, 120), "PP": (146, 120), "PK": (147, 120),
            "PJ": (147, 120), "PI": (147, 120)}
PANEL_TITLE = {"PA": "OPTIONS", "PP": "PLAYER INPUT DEVICES", "PK": "KEYBOARD SET-UP",
               "PJ": "JOYSTICK SET-UP", "PI": "INFORMATION"}
PANEL_PICTURE = {"PP": "_M_Pid", "PK": "_M_Key", "PJ": "_M_Joy", "PI": "_M_Info"}

# Panel buttons of the console: (suffix, left, cap colour, pictogram).
NAV_BUTTONS = [("_PA", 153, (40, 110, 225), "sliders"),
               ("_Pp", 201, (38, 160, 80), "players"),
               ("_Pk", 249, (225, 150, 30), "key"),
               ("_Pj", 297, (205, 45, 45), "stick"),
               ("_Pi", 345, (40, 160, 200), "info")]
NAV_TOP, NAV_W, NAV_H = 80, 46, 40
EXIT_RECT = (354, 52, 35, 21)

# Link pictures of the information panel: control, text, icon.
LINKS = [("Img_Ostrel", "_G_Ostrel", "ostrel@ostrel.example", "mail"),
         ("Img_Tev", "_G_Tev", "tev@ostrel.example", "mail"),
         ("Img_Int", "_G_Int", "www.ostrel.example", "globe")]

# Colours shared by all pictures (the palette family).
BLACK = (0, 0, 0)
METAL = (50, 53, 60)
PLATE = (24, 26, 31)
EDGE_LIGHT = (122, 128, 140)
EDGE_DARK = (8, 9, 12)
TEXT = (214, 218, 226)
TEXT_DIM = (150, 156, 168)
AMBER = (255, 186, 72)
CYAN = (96, 196, 240)
LCD = (190, 206, 192)
LCD_EDGE = (120, 136, 124)
TRANSPARENT_GREEN = (0, 255, 0)


# ---------------------------------------------------------------- fonts, text

_fonts = {}


def font(name, size):
    key = (name, size)
    if key not in _fonts:
        _fonts[key] = ImageFont.truetype(os.path.join(FONT_DIR, name + ".ttf"), size)
    return _fonts[key]


SANS = "DejaVuSans"
SANS_B = "DejaVuSans-Bold"
COND = "DejaVuSansCondensed"
COND_B = "DejaVuSansCondensed-Bold"
COND_BI = "DejaVuSansCondensed-BoldOblique"
SERIF_B = "DejaVuSerifCondensed-Bold"
SANS_BI = "DejaVuSans-BoldOblique"


def at_scale(fnt, s):
    """The same face s times as large."""
    if s == 1:
        return fnt
    return font(os.path.splitext(os.path.basename(fnt.path))[0], fnt.size * s)


def unscale(value, s):
    """A pixel position on a picture drawn s times as large, in design pixels."""
    return value if s == 1 else value / s


def text_width(text, fnt, spacing=0):
    return fnt.getlength(text) + spacing * max(0, len(text) - 1)


def cap_height(fnt):
    """Height of a capital letter, used to centre text on a control's middle."""
    box = fnt.getbbox("H", anchor="ls")
    return -box[1]


def draw_text(pen, x, y_mid, text, fnt, fill, spacing=0, align="left", shadow=None):
    """Draws text whose capitals are centred on y_mid; x is its left, centre or
    right end depending on align. Returns the left and right ends. Positions
    and fnt are at the design size; the text is set in the pen's size."""
    s = pen.s
    fnt = at_scale(fnt, s)
    spacing *= s
    width = text_width(text, fnt, spacing)
    x *= s
    if align == "right":
        x -= width
    elif align == "center":
        x -= width / 2
    x = round(x)
    base = round(y_mid * s + cap_height(fnt) / 2)
    pos = x
    for ch in (text if spacing else [text]):
        if shadow:
            pen.raw.text((pos + s, base + s), ch, font=fnt, fill=shadow, anchor="ls")
        pen.raw.text((pos, base), ch, font=fnt, fill=fill, anchor="ls")
        pos += fnt.getlength(ch) + spacing
    return unscale(x, s), unscale(x + width, s)


def text_mask(size, xy, text, fnt, stroke=0, anchor="ls"):
    mask = Image.new("L", size, 0)
    ImageDraw.Draw(mask).text(xy, text, font=fnt, fill=255, anchor=anchor, stroke_width=stroke,
                              stroke_fill=255)
    return mask


def vertical_gradient(size, stops, s=1):
    """An RGB image of s times size filled top to bottom through the colour
    stops [(t, rgb), ...]."""
    w, h = size[0] * s, size[1] * s
    img = Image.new("RGB", (1, h))
    for y in range(h):
        t = y / max(1, h - 1)
        for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
            if t0 <= t <= t1:
                f = (t - t0) / max(1e-9, t1 - t0)
                img.putpixel((0, y), tuple(round(a + (b - a) * f) for a, b in zip(c0, c1)))
                break
    return img.resize((w, h), Image.NEAREST)


def shade(rgb, factor):
    return tuple(max(0, min(255, round(c * factor))) for c in rgb)


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


# ------------------------------------------------------------------ canvas

class Canvas:
    """A picture drawn in design pixels (its size at 96 DPI) onto an image s
    times as large. Positions and boxes are given at the design size; images
    pasted in and masks are at the drawn size."""

    def __init__(self, im, s):
        self.im, self.s = im, s

    @classmethod
    def new(cls, size, colour, s):
        return cls(Image.new("RGB", (size[0] * s, size[1] * s), colour), s)

    def at(self, *values):
        """Design positions as pixels of the drawn image."""
        return tuple(v if self.s == 1 else round(v * self.s) for v in values)

    def paste(self, source, pos, mask=None):
        source = source.im if isinstance(source, Canvas) else source
        self.im.paste(source, self.at(*pos), mask)

    def crop(self, box):
        return Canvas(self.im.crop(self.at(*box)), self.s)

    def copy(self):
        return Canvas(self.im.copy(), self.s)

    def draw(self):
        return Pen(self)


class Pen:
    """ImageDraw's shapes in design pixels. Lines are one design pixel wide and
    boxes include their last row and column, so at s times the size each
    design pixel they cover becomes an s by s block; at the design size the
    calls pass straight through."""

    def __init__(self, canvas):
        self.s = canvas.s
        self.raw = ImageDraw.Draw(canvas.im)

    def box(self, box):
        s = self.s
        x0, y0, x1, y1 = box
        return round(x0 * s), round(y0 * s), round(x1 * s) + s - 1, round(y1 * s) + s - 1

    def line(self, pts, fill):
        if self.s == 1:
            return self.raw.line(pts, fill=fill)
        for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
            if x0 != x1 and y0 != y1:
                raise ValueError("only straight lines scale: %r" % (pts,))
            self.raw.rectangle(self.box((min(x0, x1), min(y0, y1), max(x0, x1), max(y0, y1))), fill=fill)

    def point(self, pts, fill):
        if self.s == 1:
            return self.raw.point(pts, fill=fill)
        for x, y in (pts if isinstance(pts, list) else [pts]):
            self.raw.rectangle(self.box((x, y, x, y)), fill=fill)

    def rectangle(self, box, fill=None, outline=None):
        if self.s == 1:
            return self.raw.rectangle(box, fill=fill, outline=outline)
        self.raw.rectangle(self.box(box), fill=fill, outline=outline, width=self.s)

    def rounded_rectangle(self, box, radius, fill=None, outline=None):
        if self.s == 1:
            return self.raw.rounded_rectangle(box, radius=radius, fill=fill, outline=outline)
        self.raw.rounded_rectangle(self.box(box), radius=radius * self.s, fill=fill, outline=outline,
                                   width=self.s)

    def ellipse(self, box, fill):
        if self.s == 1:
            return self.raw.ellipse(box, fill=fill)
        self.raw.ellipse(self.box(box), fill=fill)


# ------------------------------------------------------------ surfaces, bevels

def brushed_metal(size, base, seed, streak=7, grain=4, s=1):
    """Dark brushed metal of s times size: long horizontal streaks plus a fine grain."""
    w, h = size = (size[0] * s, size[1] * s)
    rnd = random.Random(seed)
    coarse = Image.new("L", (max(2, w // 24), h))
    coarse.putdata([max(0, min(255, round(128 + rnd.gauss(0, streak)))) for _ in range(coarse.width * h)])
    coarse = coarse.resize((w, h), Image.BILINEAR)
    fine = Image.new("L", (w, h))
    fine.putdata([max(0, min(255, round(128 + rnd.gauss(0, grain)))) for _ in range(w * h)])
    noise = ImageChops.add(coarse, fine, scale=1, offset=-128)
    img = Image.new("RGB", size, base)
    return ImageChops.add(img, Image.merge("RGB", (noise,) * 3), scale=1, offset=-128)


def vignette(img, strength=0.35):
    """Darkens the picture towards its edges and corners."""
    w, h = img.size
    small = Image.new("L", (32, 32))
    for y in range(32):
        for x in range(32):
            dx, dy = (x - 15.5) / 15.5, (y - 15.5) / 15.5
            d = min(1.0, math.hypot(dx, dy) / math.sqrt(2))
            small.putpixel((x, y), round(255 * (1 - strength * d ** 2.2)))
    mask = small.resize((w, h), Image.BICUBIC)
    return ImageChops.multiply(img, Image.merge("RGB", (mask,) * 3))


def bevel(draw, box, light, dark, width=1):
    """Raised edge (light top-left, dark bottom-right); swap colours for inset."""
    x0, y0, x1, y1 = box
    for i in range(width):
        draw.line([(x0 + i, y1 - i), (x0 + i, y0 + i), (x1 - i, y0 + i)], fill=light)
        draw.line([(x0 + i + 1, y1 - i), (x1 - i, y1 - i), (x1 - i, y0 + i + 1)], fill=dark)


def inset_well(img, box, fill, depth=2):
    """A recessed area: dark rim at top-left, a lighter lip at bottom-right."""
    d = img.draw()
    x0, y0, x1, y1 = box
    d.rectangle(box, fill=fill)
    bevel(d, (x0 - depth, y0 - depth, x1 + depth, y1 + depth), EDGE_DARK, EDGE_LIGHT, 1)
    if depth > 1:
        bevel(d, (x0 - depth + 1, y0 - depth + 1, x1 + depth - 1, y1 + depth - 1),
              (14, 15, 19), shade(EDGE_LIGHT, 0.7), depth - 1)


def lcd_strip(img, box):
    """A light display strip that keeps pure blue text legible."""
    d = img.draw()
    x0, y0, x1, y1 = box
    grad = vertical_gradient((x1 - x0 + 1, y1 - y0 + 1), [(0, (168, 186, 172)), (0.35, LCD), (1, (204, 218, 204))],
                             img.s)
    img.paste(grad, (x0, y0))
    bevel(d, (x0 - 1, y0 - 1, x1 + 1, y1 + 1), LCD_EDGE, (228, 236, 228))
    bevel(d, (x0 - 2, y0 - 2, x1 + 2, y1 + 2), EDGE_DARK, EDGE_LIGHT)


def dark_strip(img, box):
    """A dark display strip for labels the program draws in light colours."""
    inset_well(img, box, (12, 14, 18), depth=1)


class Supersampled:
    """A transparent layer drawn 4x larger and shrunk, for smooth round shapes;
    size and coordinates at the design size of a picture drawn s times as large."""

    def __init__(self, size, s=1):
        self.S = 4 * s
        self.size = (size[0] * s, size[1] * s)
        self.img = Image.new("RGBA", (size[0] * self.S, size[1] * self.S), (0, 0, 0, 0))
        self.draw = ImageDraw.Draw(self.img)

    def stack(self, layer):
        """Puts another supersampled layer on top of this one."""
        self.img = Image.alpha_composite(self.img, layer)
        self.draw = ImageDraw.Draw(self.img)

    def s(self, *values):
        return [v * self.S for v in values]

    def ellipse(self, cx, cy, r, fill=None, outline=None, width=1):
        self.draw.ellipse(self.s(cx - r, cy - r, cx + r, cy + r), fill=fill, outline=outline,
                          width=round(width * self.S))

    def polygon(self, pts, fill):
        self.draw.polygon([(x * self.S, y * self.S) for x, y in pts], fill=fill)

    def rounded(self, box, radius, fill=None, outline=None, width=1):
        self.draw.rounded_rectangle(self.s(*box), radius=radius * self.S, fill=fill, outline=outline,
                                    width=round(width * self.S))

    def line(self, pts, fill, width):
        self.draw.line([(x * self.S, y * self.S) for x, y in pts], fill=fill, width=round(width * self.S))

    def composite_onto(self, canvas, pos=(0, 0)):
        small = self.img.resize(self.size, Image.LANCZOS)
        img, pos = canvas.im, canvas.at(*pos)
        base = img.crop((pos[0], pos[1], pos[0] + self.size[0], pos[1] + self.size[1])).convert("RGBA")
        img.paste(Image.alpha_composite(base, small).convert("RGB"), pos)


def radial_cap(size, centre, radius, inner, outer, highlight_at, s=1):
    """A convex cap: a radial gradient from a highlight point, clipped to a circle."""
    ss = Supersampled(size, s)
    steps = 24
    hx, hy = highlight_at
    cx, cy = centre
    for i in range(steps, 0, -1):
        t = i / steps
        r = radius * t
        x = hx + (cx - hx) * t
        y = hy + (cy - hy) * t
        ss.ellipse(x, y, r, fill=mix(inner, outer, t) + (255,))
    mask = Supersampled(size, s)
    mask.ellipse(cx, cy, radius, fill=(255, 255, 255, 255))
    ss.img.putalpha(ImageChops.multiply(ss.img.split()[3], mask.img.split()[3]))
    ss.draw = ImageDraw.Draw(ss.img)
    return ss


# ------------------------------------------------------------------- layout

PLACE_RE = re.compile(r'^\s*QV_PLACE\(\s*(\w+)\s*,\s*(\w+)\s*,\s*(-?\d+)\s*,\s*(-?\d+)\s*,'
                      r'\s*(\d+)\s*,\s*(\d+)\s*,\s*"([^"]*)"\s*\)\s*$')


def read_layout(path=LAYOUT_DEF):
    """{panel: {control: (left, top, width, height, name)}} in file order."""
    layout = {p: {} for p in PANEL_AT}
    with open(path, encoding="ascii") as f:
        for number, line in enumerate(f, 1):
            if not line.strip() or line.lstrip().startswith("//"):
                continue
            m = PLACE_RE.match(line)
            if not m:
                raise SystemExit("%s:%d: not a QV_PLACE line: %s" % (path, number, line.rstrip()))
            panel, control = m.group(1), m.group(2)
            layout[panel][control] = tuple(int(m.group(i)) for i in range(3, 7)) + (m.group(7),)
    return layout


# ----------------------------------------------------------------- console

def nav_button(img, left, colour, pictogram, state):
    """One round arcade push-button in its 46x40 cell; state: off, lit, pressed."""
    cell = (NAV_W, NAV_H)
    cx, cy = NAV_W / 2, NAV_H / 2
    s = img.s
    ss = Supersampled(cell, s)
    # Chrome bezel ring with a dark seat.
    ss.ellipse(cx, cy + 0.6, 19.2, fill=(6, 7, 9, 200))
    ring = radial_cap(cell, (cx, cy), 18.5, (200, 206, 216), (60, 64, 72), (cx - 8, cy - 9), s)
    ss.stack(ring.img)
    ss.ellipse(cx, cy, 15.2, fill=(10, 11, 14, 255))
    if state == "lit":
        glow = Supersampled(cell, s)
        glow.ellipse(cx, cy, 15.2, fill=shade(colour, 1.1) + (255,))
        ss.stack(glow.img.filter(ImageFilter.GaussianBlur(6 * s)))
    press = 1.2 if state == "pressed" else 0
    cap_r = 13.4 if state == "pressed" else 14
    if state == "off":
        inner, outer = shade(colour, 0.95), shade(colour, 0.42)
    elif state == "lit":
        inner, outer = mix(colour, (255, 255, 255), 0.55), shade(colour, 1.05)
    else:
        inner, outer = shade(colour, 0.75), shade(colour, 0.32)
    cap = radial_cap(cell, (cx, cy + press), cap_r, inner, outer, (cx - 5, cy - 6 + press), s)
    ss.stack(cap.img)
    if state == "pressed":  # the rim's shadow falls on the sunk cap
        ss.draw.arc(ss.s(cx - 14, cy - 14 + press, cx + 14, cy + 14 + press), 200, 340,
                    fill=(0, 0, 0, 150), width=3 * ss.S)
    ink = (255, 255, 255, 255) if state == "lit" else (236, 238, 242, 235)
    ink_shadow = (0, 0, 0, 140)
    pictogram_fn = PICTOGRAMS[pictogram]
    pictogram_fn(ss, cx + 0.6, cy + press + 0.8, ink_shadow)
    pictogram_fn(ss, cx, cy + press, ink)
    ss.composite_onto(img, (left, NAV_TOP))


def picto_sliders(ss, cx, cy, ink):
    for i, knob in enumerate((-3, 4, -1)):
        x = cx - 6 + 6 * i
        ss.line([(x, cy - 7), (x, cy + 7)], ink, 1.3)
        ss.rounded((x - 2.4, cy + knob - 1.8, x + 2.4, cy + knob + 1.8), 0.8, fill=ink)


def picto_players(ss, cx, cy, ink):
    for dx in (-4.6, 4.6):
        ss.ellipse(cx + dx, cy - 4.2, 2.6, fill=ink)
        ss.rounded((cx + dx - 3.8, cy - 0.8, cx + dx + 3.8, cy + 7.2), 2.6, fill=ink)


def picto_key(ss, cx, cy, ink):
    ss.rounded((cx - 7.5, cy - 7, cx + 7.5, cy + 7.5), 2.5, outline=ink, width=1.4)
    ss.rounded((cx - 4.8, cy - 4.6, cx + 4.8, cy + 3.6), 1.5, outline=ink, width=1)
    ss.line([(cx - 7, cy + 7), (cx - 4.5, cy + 3.5)], ink, 1)
    ss.line([(cx + 7, cy + 7), (cx + 4.5, cy + 3.5)], ink, 1)


def picto_stick(ss, cx, cy, ink):
    ss.rounded((cx - 7.5, cy + 3.5, cx + 7.5, cy + 7.5), 1.8, fill=ink)
    ss.line([(cx, cy + 4), (cx + 1.5, cy - 3)], ink, 2)
    ss.ellipse(cx + 1.8, cy - 4.8, 3.6, fill=ink)


def picto_info(ss, cx, cy, ink):
    ss.ellipse(cx, cy - 6.2, 1.9, fill=ink)
    ss.polygon([(cx - 3.4, cy - 2.6), (cx + 1.6, cy - 2.6), (cx + 1.6, cy + 5.4), (cx + 3.4, cy + 5.4),
                (cx + 3.4, cy + 7.4), (cx - 3.4, cy + 7.4), (cx - 3.4, cy + 5.4), (cx - 1.6, cy + 5.4),
                (cx - 1.6, cy - 0.8), (cx - 3.4, cy - 0.8)], ink)


PICTOGRAMS = {"sliders": picto_sliders, "players": picto_players, "key": picto_key,
              "stick": picto_stick, "info": picto_info}


def exit_button(img, state, box=EXIT_RECT, label="EXIT"):
    x, y, w, h = box
    ss = Supersampled((w, h), img.s)
    base = {"off": (176, 30, 30), "lit": (240, 60, 50), "pressed": (128, 20, 20)}[state]
    ss.rounded((0.5, 0.5, w - 0.5, h - 0.5), 4, fill=(8, 8, 10, 255))
    top = 2.5 if state == "pressed" else 1.5
    grad = vertical_gradient((w * ss.S, h * ss.S), [(0, mix(base, (255, 255, 255), 0.45)), (0.45, base),
                                                   (1, shade(base, 0.55))])
    mask = Image.new("L", grad.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle(ss.s(1.5, top, w - 1.5, h - 1.5), radius=3 * ss.S, fill=255)
    ss.img.paste(grad.convert("RGBA"), (0, 0), mask)
    if state == "lit":
        ss.rounded((1.5, top, w - 1.5, h - 1.5), 3, outline=(255, 190, 150, 255), width=1)
    ss.composite_onto(img, (x, y))
    d = img.draw()
    fnt = font(SANS_B, 10)
    off = 1 if state == "pressed" else 0
    ink = (255, 255, 255) if state == "lit" else (246, 226, 222)
    draw_text(d, x + w / 2 + off, y + h / 2 + off, label, fnt, ink, spacing=1, align="center",
              shadow=(70, 0, 0))


def chrome_title(img, box, text, size):
    """Large chrome capitals with a cool neon underglow."""
    s = img.s
    box = img.at(*box)
    x0, y0, x1, y1 = box
    w, h = x1 - x0, y1 - y0
    fnt = font(SANS_B, size * s)
    spacing = 3 * s
    tw = text_width(text, fnt, spacing)
    base = round(h / 2 + cap_height(fnt) / 2)
    left = round((w - tw) / 2)

    def mask_for(stroke):
        m = Image.new("L", (w, h), 0)
        d = ImageDraw.Draw(m)
        pos = left
        for ch in text:
            d.text((pos, base), ch, font=fnt, fill=255, anchor="ls", stroke_width=stroke, stroke_fill=255)
            pos += fnt.getlength(ch) + spacing
        return m

    region = img.im.crop(box)
    glow = mask_for(2 * s).filter(ImageFilter.GaussianBlur(4 * s))
    region.paste(Image.new("RGB", (w, h), (40, 150, 255)), (0, 0), glow.point(lambda v: v * 0.55))
    region.paste(Image.new("RGB", (w, h), (4, 6, 10)), (0, 0), mask_for(s))
    top = base - cap_height(fnt)
    c = cap_height(fnt)
    grad = vertical_gradient((w, h), [(0, (250, 252, 255)), (max(0, top) / h, (250, 252, 255)),
                                     ((top + c * 0.48) / h, (150, 162, 184)),
                                     ((top + c * 0.52) / h, (60, 66, 84)),
                                     ((top + c * 0.80) / h, (190, 200, 222)),
                                     (min(1, base / h), (235, 240, 250)), (1, (235, 240, 250))])
    region.paste(grad, (0, 0), mask_for(0))
    img.im.paste(region, box[:2])


def draw_console(nav_states, exit_state, s):
    """The whole main console at 400x395 without any panel's contents."""
    img = Canvas(vignette(brushed_metal((MAIN_W, MAIN_H), METAL, seed=1, s=s), 0.38), s)
    d = img.draw()
    # Outer frame: a black outline and a two-pixel bevel.
    d.rectangle((0, 0, MAIN_W - 1, MAIN_H - 1), outline=BLACK)
    bevel(d, (1, 1, MAIN_W - 2, MAIN_H - 2), (150, 156, 168), (16, 17, 20), 2)

    # Title window.
    inset_well(img, (8, 8, 392, 48), (6, 8, 12), depth=2)
    glass = vertical_gradient((385, 41), [(0, (26, 32, 44)), (0.5, (8, 10, 16)), (1, (14, 18, 28))], s)
    img.paste(glass, (8, 8))
    chrome_title(img, (8, 8, 393, 49), "QUARVEL", 34)
    d.line([(9, 9), (391, 9)], fill=(60, 70, 90))

    # Emulator folder row.
    draw_text(d, 12, 58, "EMULATOR", font(COND_B, 9), TEXT_DIM, spacing=1)
    draw_text(d, 12, 69, "FOLDER", font(COND_B, 9), TEXT_DIM, spacing=1)
    draw_text(d, 138, 64, "\u25b8", font(SANS_B, 10), AMBER, align="right")
    inset_well(img, (144, 56, 160, 72), (60, 62, 68), depth=1)
    lcd_strip(img, (174, 55, 346, 72))

    # Game list header: re-scan button seat and the found/total display.
    draw_text(d, 16, 87, "GAMES", font(COND_B, 9), CYAN, spacing=1)
    d.line([(52, 87), (74, 87)], fill=(70, 80, 96))
    draw_text(d, 116, 87, "FOUND", font(COND_B, 9), CYAN, spacing=1, align="center")
    inset_well(img, (16, 96, 72, 112), (60, 62, 68), depth=1)
    lcd_strip(img, (88, 96, 144, 112))

    # Button deck behind the five panel buttons.
    deck = (149, 78, 395, 119)
    d.rounded_rectangle(deck, radius=5, fill=shade(METAL, 0.72), outline=(20, 21, 25))
    d.line([(153, 79), (391, 79)], fill=(96, 102, 114))
    for (suffix, left, colour, picto) in NAV_BUTTONS:
        nav_button(img, left, colour, picto, nav_states.get(suffix, "off"))
    exit_button(img, exit_state)

    # Game list well (the scroll box covers its inside) and the panel plate.
    inset_well(img, (8, 120, 144, 384), (8, 10, 40), depth=2)
    plate = brushed_metal((253, 265), PLATE, seed=2, streak=3, grain=2, s=s)
    img.paste(plate, (147, 120))
    d.line([(147, 120), (399, 120)], fill=EDGE_DARK)
    d.line([(147, 120), (147, 384)], fill=EDGE_DARK)
    d.line([(148, 121), (397, 121)], fill=(14, 15, 19))
    d.line([(148, 121), (148, 383)], fill=(14, 15, 19))
    d.line([(148, 384), (397, 384)], fill=shade(EDGE_LIGHT, 0.8))
    d.line([(397, 122), (397, 384)], fill=shade(EDGE_LIGHT, 0.8))
    d.line([(398, 120), (398, 385)], fill=(16, 17, 20))
    d.line([(147, 385), (398, 385)], fill=(40, 42, 48))
    # Maker's plate in the bottom rim.
    draw_text(d, 396, 390, "OSTREL", font(COND_B, 7), (104, 110, 122), spacing=1, align="right")
    return img


# ------------------------------------------------------------------ panels

def panel_title(img, offset, title):
    """The title band along the top of a panel plate (main coordinates)."""
    ox, oy = offset
    d = img.draw()
    x0, x1 = 150, 395
    band = vertical_gradient((x1 - x0 + 1, 17), [(0, (44, 48, 58)), (1, (22, 24, 30))], img.s)
    img.paste(band, (x0, oy + 3))
    d.line([(x0, oy + 20), (x1, oy + 20)], fill=(70, 76, 88))
    d.line([(x0, oy + 3), (x1, oy + 3)], fill=(12, 13, 16))
    fnt = font(SANS_B, 10)
    left, right = draw_text(d, (x0 + x1) / 2, oy + 11.5, title, fnt, AMBER, spacing=1, align="center",
                            shadow=(0, 0, 0))
    for a, b in ((x0 + 6, left - 8), (right + 8, x1 - 6)):
        if b > a:
            d.line([(a, oy + 11), (b, oy + 11)], fill=(110, 80, 30))
            d.line([(a, oy + 12), (b, oy + 12)], fill=(60, 44, 18))


def section_heading(d, x, y_mid, text, x_end):
    left, right = draw_text(d, x, y_mid, text, font(COND_B, 9), CYAN, spacing=1)
    if x_end > right + 6:
        d.line([(right + 5, round(y_mid)), (x_end, round(y_mid))], fill=(52, 74, 92))


def control_seat(img, box):
    """A faint recess slightly larger than a control, so it looks mounted."""
    x, y, w, h = box
    d = img.draw()
    d.rectangle((x - 2, y - 2, x + w + 1, y + h + 1), outline=(12, 13, 16))
    d.line([(x - 1, y + h + 2), (x + w + 2, y + h + 2), (x + w + 2, y - 1)], fill=(62, 66, 76))


def letter_badge(img, cx, cy, letter, colour):
    """A small arcade button with its letter, beside button fields."""
    ss = Supersampled((20, 20), img.s)
    ss.ellipse(10, 10.4, 8.2, fill=(0, 0, 0, 200))
    cap = radial_cap((20, 20), (10, 10), 7.2, mix(colour, (255, 255, 255), 0.45), shade(colour, 0.55), (8, 7),
                     img.s)
    ss.stack(cap.img)
    ss.composite_onto(img, (round(cx) - 10, round(cy) - 10))
    d = img.draw()
    draw_text(d, round(cx), cy, letter, font(SANS_B, 9), (20, 14, 10), align="center")


BADGE_COLOURS = {"A": (220, 60, 56), "B": (232, 180, 40), "C": (56, 130, 230),
                 "D": (220, 60, 56), "E": (232, 180, 40), "F": (56, 130, 230)}
PLAYER_COLOURS = [(220, 60, 56), (56, 130, 230), (232, 180, 40)]


def print_names(img, controls, offset):
    """Prints each control's name beside it: right of check boxes, a letter
    badge left of button fields, otherwise right-aligned to its left."""
    ox, oy = offset
    d = img.draw()
    name_font = font(SANS, 11)
    for control, (x, y, w, h, name) in controls.items():
        if not name or control.startswith("S_K"):  # the arrow rose names its own
            continue
        x, y = x + ox, y + oy
        mid = y + h / 2
        if control.startswith(("CB_", "cb_")) and w == 15 and h == 15:
            draw_text(d, x + w + 5, mid, name, name_font, TEXT, shadow=(0, 0, 0))
        elif len(name) == 1:
            letter_badge(img, x - 12, mid, name, BADGE_COLOURS.get(name, AMBER))
        elif control.startswith("Img_"):
            draw_text(d, ox + 12, mid, name, font(SANS, 10), TEXT_DIM, shadow=(0, 0, 0))
        elif name.startswith("PLAYER "):
            number = int(name.split()[1])
            colour = PLAYER_COLOURS[(number - 1) % 3]
            letter_badge(img, ox + 24, mid, str(number), colour)
            draw_text(d, ox + 38, mid, name, font(SANS_B, 11), TEXT, shadow=(0, 0, 0))
        else:
            draw_text(d, x - 7, mid, name, name_font, TEXT, align="right", shadow=(0, 0, 0))


def seat_controls(img, controls, offset):
    ox, oy = offset
    for control, (x, y, w, h, name) in controls.items():
        if control.startswith(("L_", "Img_")):
            continue
        control_seat(img, (x + ox, y + oy, w, h))


def draw_options(img, controls):
    off = PANEL_AT["PA"]
    ox, oy = off
    d = img.draw()
    panel_title(img, off, PANEL_TITLE["PA"])

    def c(name):
        x, y, w, h, _ = controls[name]
        return x + ox, y + oy, w, h

    for count, folder, heading in (("L_SFF", "L_SF", "SAVE STATES"), ("L_PFF", "L_PF", "SNAPSHOTS")):
        cx, cy, cw, ch = c(count)
        section_heading(d, ox + 8, cy + ch / 2, heading, cx - 6)
        dark_strip(img, (cx - 1, cy, cx + cw - 1, cy + ch - 1))
        fx, fy, fw, fh = c(folder)
        dark_strip(img, (fx - 1, fy, fx + fw - 1, fy + fh - 1))
    for combo, heading in (("CB_RES", "DISPLAY"), ("CB_FS", "SPEED")):
        x, y, w, h = c(combo)
        section_heading(d, ox + 8, y - 13, heading, ox + 244)
    seat_controls(img, controls, off)
    print_names(img, controls, off)


def draw_players(img, controls):
    off = PANEL_AT["PP"]
    ox, oy = off
    panel_title(img, off, PANEL_TITLE["PP"])
    for label in ("L_P1D", "L_P2d", "L_p3d"):
        x, y, w, h, _ = controls[label]
        dark_strip(img, (x + ox - 3, y + oy - 1, x + ox + w + 1, y + oy + h))
    seat_controls(img, controls, off)
    print_names(img, controls, off)
    d = img.draw()
    # Thin separators between the three players.
    tops = sorted(controls[c][1] for c in ("CB_P1D", "cb_p2d", "cb_p3d"))
    for t in tops[1:]:
        d.line([(ox + 16, oy + t - 9), (ox + 240, oy + t - 9)], fill=(48, 52, 62))


def arrow(ss, start, end, ink, width=3.2, head=6.5):
    (x0, y0), (x1, y1) = start, end
    length = math.hypot(x1 - x0, y1 - y0)
    ux, uy = (x1 - x0) / length, (y1 - y0) / length
    bx, by = x1 - ux * head, y1 - uy * head
    ss.line([(x0, y0), (bx, by)], ink, width)
    px, py = -uy, ux
    ss.polygon([(x1, y1), (bx + px * head * 0.62, by + py * head * 0.62),
                (bx - px * head * 0.62, by - py * head * 0.62)], ink)


def draw_keyboard(img, controls):
    off = PANEL_AT["PK"]
    ox, oy = off
    d = img.draw()
    panel_title(img, off, PANEL_TITLE["PK"])

    def centre(name):
        x, y, w, h, _ = controls[name]
        return x + ox + w / 2, y + oy + h / 2

    # The arrow rose: its hub sits between the four straight direction keys.
    hx = (centre("S_KL")[0] + centre("S_KR")[0]) / 2
    hy = (centre("S_KU")[1] + centre("S_KD")[1]) / 2
    size = (240, 120)
    sx, sy = round(hx - size[0] / 2), round(hy - size[1] / 2)
    ss = Supersampled(size, img.s)
    lx, ly = hx - sx, hy - sy
    ss.ellipse(lx, ly, 13, fill=(14, 15, 19, 255), outline=(90, 96, 108, 255), width=1)
    ss.ellipse(lx, ly, 8, fill=(70, 60, 40, 255))
    ss.ellipse(lx - 1.5, ly - 1.5, 4.5, fill=(200, 150, 60, 255))
    for name in ("S_KUL", "S_KU", "S_KUR", "S_KL", "S_KR", "S_KDL", "S_KD", "S_KDR"):
        x, y, w, h, _ = controls[name]
        fx0, fy0, fx1, fy1 = x + ox - 4, y + oy - 4, x + ox + w + 4, y + oy + h + 4
        cx, cy = centre(name)
        dx, dy = cx - hx, cy - hy
        # Walk from the hub towards the field until its margin is reached.
        t_hit = 1.0
        for t in [i / 200 for i in range(200)]:
            px, py = hx + dx * t, hy + dy * t
            if fx0 <= px <= fx1 and fy0 <= py <= fy1:
                t_hit = t
                break
        length = math.hypot(dx, dy)
        start = (lx + dx / length * 15, ly + dy / length * 15)
        end = (lx + dx * t_hit, ly + dy * t_hit)
        arrow(ss, (start[0] + 0.7, start[1] + 0.9), (end[0] + 0.7, end[1] + 0.9), (0, 0, 0, 170))
        arrow(ss, start, end, (238, 176, 64, 255))
    ss.composite_onto(img, (sx, sy))

    # The direction keys' names in small print, clear of the arrows: on the
    # outer side of the corner keys, beside the others (outside for left and
    # right, to the right of up and down, whose arrows come from below and above).
    small = font(COND_B, 8)
    for name in ("S_KUL", "S_KU", "S_KUR", "S_KL", "S_KR", "S_KDL", "S_KD", "S_KDR"):
        x, y, w, h, text = controls[name]
        x, y = x + ox, y + oy
        cx, cy = centre(name)
        if abs(cx - hx) > 20 and abs(cy - hy) > 20:
            label_y = y - 7 if cy < hy else y + h + 7
            draw_text(d, cx, label_y, text, small, TEXT_DIM, align="center", shadow=(0, 0, 0))
        elif cx < hx - 20:
            draw_text(d, x - 5, cy, text, small, TEXT_DIM, align="right", shadow=(0, 0, 0))
        else:
            draw_text(d, x + w + 5, cy, text, small, TEXT_DIM, shadow=(0, 0, 0))

    x, y, w, h, _ = controls["E_KA"]
    section_heading(d, ox + 8, y + oy - 11, "BUTTONS", ox + 244)
    seat_controls(img, controls, off)
    print_names(img, controls, off)


def draw_joystick(img, controls):
    off = PANEL_AT["PJ"]
    ox, oy = off
    d = img.draw()
    panel_title(img, off, PANEL_TITLE["PJ"])
    x, y, w, h, _ = controls["E_JA"]
    section_heading(d, ox + 8, y + oy - 11, "BUTTON MAP", ox + 244)
    x, y, w, h, _ = controls["SE_AJR"]
    section_heading(d, ox + 8, y + oy - 11, "ANALOG STICK", ox + 244)
    x, y, w, h, _ = controls["L_JV"]
    dark_strip(img, (x + ox - 1, y + oy, x + ox + w, y + oy + h - 1))
    x, y, w, h, _ = controls["L_CA"]
    section_heading(d, ox + 8, y + oy - 10, "CALIBRATION", ox + 244)
    dark_strip(img, (x + ox, y + oy, x + ox + w - 1, y + oy + h - 1))
    seat_controls(img, controls, off)
    print_names(img, controls, off)


def link_picture(img, box, text, icon, lit):
    """An e-mail or web link: an icon and the address, glowing when lit."""
    x, y, w, h = box
    d = img.draw()
    if lit:
        grad = vertical_gradient((w, h), [(0, (40, 70, 110)), (1, (18, 34, 60))], img.s)
        img.paste(grad, (x, y))
        img.draw().rounded_rectangle((x, y, x + w - 1, y + h - 1), radius=3, outline=(110, 190, 255))
    ss = Supersampled((18, 18), img.s)
    ink = (255, 230, 110, 255) if lit else (120, 186, 232, 255)
    if icon == "mail":
        ss.rounded((2, 4, 16, 14), 1, fill=None, outline=ink, width=1.3)
        ss.line([(2.5, 4.5), (9, 10), (15.5, 4.5)], ink, 1.3)
    else:
        ss.ellipse(9, 9, 6.6, outline=ink, width=1.2)
        ss.draw.ellipse(ss.s(6, 2.4, 12, 15.6), outline=ink, width=round(1.1 * ss.S))
        ss.line([(2.6, 9), (15.4, 9)], ink, 1.1)
        ss.line([(4, 5.5), (14, 5.5)], ink, 0.9)
        ss.line([(4, 12.5), (14, 12.5)], ink, 0.9)
    ss.composite_onto(img, (x + 3, y + (h - 18) // 2))
    fnt = fit_font(COND, 11, text, w - 28)
    colour = (255, 236, 140) if lit else (130, 196, 240)
    left, right = draw_text(d, x + 24, y + h / 2, text, fnt, colour, shadow=(0, 0, 0))
    base = unscale(round((y + h / 2) * img.s + cap_height(at_scale(fnt, img.s)) / 2), img.s) + 2
    d.line([(left, base), (right, base)], fill=shade(colour, 0.75))


def draw_information(img, controls, lit_links=False):
    off = PANEL_AT["PI"]
    ox, oy = off
    d = img.draw()
    panel_title(img, off, PANEL_TITLE["PI"])
    chrome_title(img, (ox + 2, oy + 26, ox + 250, oy + 64), "QUARVEL", 26)
    lines = ["A front end for the Ravlen", "arcade emulator"]
    for i, line in enumerate(lines):
        draw_text(d, ox + 126, oy + 72 + 12 * i, line, font(SANS, 10), TEXT, align="center",
                  shadow=(0, 0, 0))
    # The program writes the version into the plain area at (40..200, 96..128).
    vx, vy = controls["L_VER"][0] + ox, controls["L_VER"][1] + oy
    draw_text(d, vx - 6, vy + 8, "VER", font(COND_B, 8), TEXT_DIM, align="right")
    about = ["Finds your games, sets up players,", "keys and joysticks, starts Ravlen",
             "and shows its snapshots."]
    for i, line in enumerate(about):
        draw_text(d, ox + 126, oy + 137 + 12 * i, line, font(SANS, 10), TEXT_DIM, align="center",
                  shadow=(0, 0, 0))
    section_heading(d, ox + 8, controls["Img_Ostrel"][1] + oy - 9, "CONTACT", ox + 244)
    for control, _, text, icon in LINKS:
        x, y, w, h, _ = controls[control]
        link_picture(img, (x + ox, y + oy, w, h), text, icon, lit_links)
    print_names(img, controls, off)


PANEL_DRAW = {"PA": draw_options, "PP": draw_players, "PK": draw_keyboard,
              "PJ": draw_joystick, "PI": draw_information}


def panel_crop(img, panel):
    ox, oy = PANEL_AT[panel]
    return img.crop((ox, oy, ox + PANEL_W, oy + PANEL_H))


# ------------------------------------------------------------- game logos

# name: (width, background top/bottom, border, [(text, font, max size, fill top, fill bottom)])
GOLD = ((255, 250, 200), (236, 150, 24))
SILVER = ((255, 255, 255), (140, 156, 184))
FIRE = ((255, 240, 120), (228, 52, 20))
ICE = ((236, 250, 255), (70, 150, 236))
GAMES = {
    "3WONDERS": (71, ((70, 30, 110), (24, 8, 44)), (190, 140, 240),
                 [("THREE", COND_B, 11) + SILVER, ("WONDERS", COND_B, 16) + GOLD]),
    "FFIGHT": (95, ((60, 10, 10), (12, 4, 4)), (230, 90, 50),
               [("FINAL", SANS_BI, 13) + SILVER, ("FIGHT", SANS_BI, 20) + FIRE]),
    "KOD": (45, ((16, 64, 52), (4, 20, 16)), (120, 210, 160),
            [("KING OF", COND_B, 11) + SILVER, ("DRAGONS", COND_B, 11) + GOLD]),
    "CAPTCOMM": (61, ((14, 36, 90), (4, 10, 30)), (110, 160, 255),
                 [("CAPTAIN", COND_B, 11) + SILVER, ("COMMANDO", COND_B, 12) + FIRE]),
    "UNSQUAD": (56, ((20, 60, 100), (6, 18, 36)), (120, 190, 240),
                [("U.N.", SANS_BI, 16) + ICE, ("SQUADRON", COND_B, 10) + SILVER]),
    "CAWING": (74, ((24, 44, 70), (6, 12, 22)), (140, 180, 220),
               [("CARRIER", COND_B, 12) + SILVER, ("AIR WING", COND_BI, 14) + ICE]),
    "MSWORD": (110, ((50, 16, 80), (14, 4, 26)), (220, 170, 90),
               [("MAGIC", SERIF_B, 14) + SILVER, ("SWORD", SERIF_B, 20) + GOLD]),
    "_1941": (82, ((64, 62, 30), (20, 18, 6)), (220, 200, 120),
              [("1941", SANS_BI, 26) + GOLD]),
    "SF2": (56, ((12, 14, 40), (2, 2, 10)), (230, 80, 60),
            [("STREET", COND_B, 11) + SILVER, ("FIGHTER II", COND_B, 13) + FIRE]),
    "SF2CE": (56, ((12, 14, 40), (2, 2, 10)), (230, 80, 60),
              [("SF II", SANS_BI, 17) + FIRE, ("CHAMPION", COND_B, 10) + GOLD]),
    "SF2T": (71, ((12, 14, 40), (2, 2, 10)), (230, 80, 60),
             [("SF II", SANS_BI, 17) + FIRE, ("TURBO", COND_BI, 13) + ICE]),
    "STRIDER": (54, ((80, 10, 16), (20, 2, 4)), (250, 120, 90),
                [("STRIDER", COND_BI, 18) + SILVER]),
    "WILLOW": (85, ((20, 56, 32), (4, 18, 8)), (200, 200, 120),
               [("WILLOW", SERIF_B, 20) + GOLD]),
    "KNIGHTS": (73, ((64, 30, 14), (20, 8, 2)), (230, 180, 110),
                [("KNIGHTS", SERIF_B, 15) + SILVER, ("of the ROUND", COND_B, 10) + GOLD]),
    "MTWINS": (83, ((100, 20, 90), (30, 4, 30)), (250, 150, 230),
               [("MEGA", SANS_BI, 14) + ICE, ("TWINS", SANS_BI, 17) + ((255, 250, 180), (250, 120, 200))]),
    "ROCKMANJ": (82, ((18, 60, 150), (4, 16, 50)), (140, 200, 255),
                 [("ROCKMAN", SANS_BI, 14) + ICE, ("POWER BATTLE", COND_B, 9) + GOLD]),
}
LOGO_H = 40


def fit_font(name, max_size, text, max_width, s=1):
    """The largest size up to max_size (in design pixels, for a picture drawn
    s times as large) at which text is no wider than max_width."""
    size = max_size * s
    while size > 7 * s and font(name, size).getbbox(text)[2] > max_width * s:
        size -= 1
    return font(name, size)


def game_logo(width, background, border, lines, s):
    img = Canvas(vertical_gradient((width, LOGO_H), [(0, background[0]),
                                                    (0.55, mix(background[0], background[1], 0.6)),
                                                    (1, background[1])], s), s)
    d = img.draw()
    # A few marquee light streaks across the plate.
    rnd = random.Random(width * 31 + len(lines))
    for i in range(3):
        y = rnd.randint(4, LOGO_H - 5)
        d.line([(1, y), (width - 2, y)], fill=mix(background[0], (255, 255, 255), 0.08))
    d.rectangle((0, 0, width - 1, LOGO_H - 1), outline=(4, 4, 6))
    d.rectangle((1, 1, width - 2, LOGO_H - 2), outline=border)
    d.line([(2, LOGO_H - 3), (width - 3, LOGO_H - 3)], fill=shade(border, 0.4))

    # The lettering is set in pixels of the drawn picture.
    pic = img.im
    fitted = []
    for text, fname, size, top, bottom in lines:
        fnt = fit_font(fname, size, text, width - 7, s)
        x0, y0, x1, y1 = fnt.getbbox(text, anchor="ls", stroke_width=s)
        fitted.append((text, fnt, top, bottom, x0, y0, x1, y1))
    gap = s
    total = sum(f[7] - f[5] for f in fitted) + gap * (len(fitted) - 1)
    y = (pic.height - total) / 2
    for text, fnt, top, bottom, x0, y0, x1, y1 in fitted:
        base = round(y - y0)
        x = round((pic.width - (x1 - x0)) / 2 - x0)
        shadow = text_mask(pic.size, (x + s, base + s), text, fnt, stroke=s)
        pic.paste(BLACK, (0, 0), shadow)
        outline = text_mask(pic.size, (x, base), text, fnt, stroke=s)
        pic.paste((12, 8, 6), (0, 0), outline)
        ink_top = base + y0 + s
        ink_h = max(1, y1 - y0 - 2 * s)
        grad = Image.new("RGB", pic.size, bottom)
        grad.paste(vertical_gradient((pic.width, ink_h), [(0, top), (0.5, mix(top, bottom, 0.35)),
                                                           (0.55, bottom), (1, mix(bottom, top, 0.3))]),
                   (0, ink_top))
        pic.paste(grad, (0, 0), text_mask(pic.size, (x, base), text, fnt))
        y += (y1 - y0) + gap
    return img


# ------------------------------------------------------------------ marks

def japan_flag(s):
    img = Canvas.new((16, 10), TRANSPARENT_GREEN, s)
    d = img.draw()
    d.rectangle((0, 0, 15, 9), fill=(248, 248, 248), outline=(90, 90, 96))
    d.line([(1, 8), (14, 8)], fill=(214, 214, 218))
    d.ellipse((5, 2, 10, 7), fill=(200, 16, 40))
    d.point([(6, 3)], fill=(234, 80, 96))
    return img


def zip_mark(s):
    """A bound archive: a small box with a zipper down its middle."""
    img = Canvas.new((16, 16), TRANSPARENT_GREEN, s)
    d = img.draw()
    d.rectangle((1, 1, 14, 14), fill=(236, 196, 84), outline=(70, 44, 8))
    d.line([(2, 2), (13, 2)], fill=(255, 236, 150))
    d.line([(2, 2), (2, 13)], fill=(255, 228, 130))
    d.line([(3, 13), (13, 13)], fill=(176, 130, 36))
    for y in range(2, 10):
        d.point((7 if y % 2 else 8, y), fill=(60, 60, 66))
        d.point((8 if y % 2 else 7, y), fill=(190, 190, 196))
    d.rectangle((6, 9, 9, 13), fill=(150, 152, 160), outline=(40, 40, 46))
    d.point((7, 11), fill=(40, 40, 46))
    d.point((8, 11), fill=(40, 40, 46))
    return img


# ------------------------------------------------------------- wait window

def wait_window(s):
    w, h = 166, 101
    img = Canvas.new((w, h), BLACK, s)
    d = img.draw()
    # A bright line one pixel in, fading out on both sides like a neon tube.
    for i, colour in enumerate(((30, 80, 160), (110, 185, 255), (40, 100, 200), (16, 44, 96), (6, 16, 36))):
        d.rectangle((i, i, w - 1 - i, h - 1 - i), outline=colour)
    return img


# ------------------------------------------------------------ snapshot viewer

VIEW_W, VIEW_H = 521, 285
VIEW_EXIT = (500, 0, 21, 18)
VIEW_CHOICE = (330, 5, 164, 20)  # which snapshots the list shows, on the title strip


def small_window(size, title, exit_box, exit_state, seed, s):
    """The borderless windows' common face: metal, a bevelled edge, a chrome
    title on the strip that drags the window, a rule under it, the exit cap."""
    w, h = size
    img = Canvas(vignette(brushed_metal((w, h), METAL, seed=seed, s=s), 0.3), s)
    d = img.draw()
    d.rectangle((0, 0, w - 1, h - 1), outline=BLACK)
    bevel(d, (1, 1, w - 2, h - 2), (150, 156, 168), (16, 17, 20), 1)
    chrome_title(img, (8, 2, 300, 28), title, 15)
    d.line([(10, 28), (w - 31, 28)], fill=(30, 32, 38))
    d.line([(10, 29), (w - 31, 29)], fill=(86, 92, 104))
    x, y, bw, bh = exit_box
    exit_button(img, exit_state, (x, y + 1, bw - 1, bh - 1), label="\u00d7")
    return img


def viewer_frame(exit_state, s, choice=True):
    img = small_window((VIEW_W, VIEW_H), "SNAPSHOT VIEWER", VIEW_EXIT, exit_state, seed=3, s=s)
    # Wells for the file list and the picture; the controls cover their insides.
    inset_well(img, (8, 32, 120, 256), (8, 10, 14), depth=2)
    inset_well(img, (128, 32, 511, 255), BLACK, depth=2)
    # Bottom bar: the "..." button seat and the status display.
    inset_well(img, (13, 262, 29, 278), (60, 62, 68), depth=1)
    lcd_strip(img, (38, 261, 506, 278))
    if not choice:
        return img
    # The choice of snapshots, seated on the title strip with its printed name.
    control_seat(img, VIEW_CHOICE)
    x, y, w, h = VIEW_CHOICE
    draw_text(img.draw(), x - 7, y + h / 2, "SHOW", font(SANS, 11), TEXT, align="right",
              shadow=(0, 0, 0))
    return img


# ------------------------------------------------------------ scan report

SCAN_W, SCAN_H = 460, 360
SCAN_EXIT = (SCAN_W - 21, 0, 21, 18)


def scan_report_frame(exit_state, s):
    img = small_window((SCAN_W, SCAN_H), "GAMES AND WHY", SCAN_EXIT, exit_state, seed=5, s=s)
    lcd_strip(img, (8, 33, SCAN_W - 9, 50))      # heading
    inset_well(img, (8, 57, SCAN_W - 9, 321), (8, 10, 14), depth=2)  # the list
    for left, width in ((8, 92), (106, 66)):     # seats of the two buttons
        inset_well(img, (left, 330, left + width - 1, 349), (60, 62, 68), depth=1)
    lcd_strip(img, (182, 331, SCAN_W - 9, 349))  # status line
    return img


VIEWER_PARTS = {"_TBARPCX": (0, 0, 521, 34), "_LBARPCX": (0, 34, 9, 221), "_RBARPCX": (511, 34, 10, 221),
                "_CBARPCX": (119, 34, 10, 221), "_BBARPCX": (0, 255, 521, 30)}


# ------------------------------------------------------- cursors and icon

def hand_cursor():
    """A pointing hand, 32x32, as (RGBA image, hotspot)."""
    S = 8
    big = Image.new("RGBA", (32 * S, 32 * S), (0, 0, 0, 0))
    d = ImageDraw.Draw(big)

    def shape(fill, grow):
        g = grow * S
        # index finger, three folded fingers, thumb, palm
        d.rounded_rectangle([9 * S - g, 1 * S - g, 14 * S + g, 20 * S], radius=2.5 * S + g, fill=fill)
        for x0, top in ((14, 10), (18, 11), (22, 12)):
            d.rounded_rectangle([x0 * S - g, top * S - g, (x0 + 4.6) * S + g, 22 * S], radius=2.3 * S + g,
                                fill=fill)
        d.polygon([((3 - grow) * S, (16 - grow) * S), ((7 + grow) * S, (14 - grow) * S),
                   (11 * S, 22 * S), (6 * S, 24 * S)], fill=fill)
        d.rounded_rectangle([5 * S - g, 17 * S - g, 26.6 * S + g, 30 * S + g], radius=5 * S + g, fill=fill)

    shape((0, 0, 0, 255), 1)
    shape((255, 255, 255, 255), 0)
    for x, top in ((14, 10.5), (18, 11.5), (22, 12.5)):  # creases between the folded fingers
        d.line([(x * S, (top + 1.5) * S), (x * S, 17 * S)], fill=(0, 0, 0, 255), width=S)
    small = big.resize((32, 32), Image.LANCZOS)
    return small, (11, 1)


def play_cursor():
    S = 8
    big = Image.new("RGBA", (32 * S, 32 * S), (0, 0, 0, 0))
    d = ImageDraw.Draw(big)
    d.ellipse([4 * S, 4 * S, 28 * S, 28 * S], fill=(0, 0, 0, 255))
    d.ellipse([5.5 * S, 5.5 * S, 26.5 * S, 26.5 * S], fill=(40, 170, 70, 255))
    d.polygon([(12.5 * S, 9.5 * S), (12.5 * S, 22.5 * S), (23.5 * S, 16 * S)], fill=(0, 0, 0, 255))
    d.polygon([(13.6 * S, 11.4 * S), (13.6 * S, 20.6 * S), (21.4 * S, 16 * S)], fill=(255, 255, 255, 255))
    return big.resize((32, 32), Image.LANCZOS), (16, 16)


def app_icon(size):
    S = 8
    n = size * S
    big = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    d = ImageDraw.Draw(big)
    d.rounded_rectangle([0, 0, n - 1, n - 1], radius=n * 0.18, fill=(10, 10, 14, 255))
    d.rounded_rectangle([n * 0.05, n * 0.05, n * 0.95, n * 0.95], radius=n * 0.15, fill=(58, 62, 72, 255))
    d.rounded_rectangle([n * 0.09, n * 0.09, n * 0.91, n * 0.91], radius=n * 0.12, fill=(28, 30, 36, 255))
    # an arcade button in chrome with a red cap, "Q" shaped by its stem
    d.ellipse([n * 0.17, n * 0.15, n * 0.83, n * 0.81], fill=(200, 206, 216, 255))
    d.ellipse([n * 0.23, n * 0.21, n * 0.77, n * 0.75], fill=(200, 30, 30, 255))
    d.ellipse([n * 0.30, n * 0.26, n * 0.58, n * 0.50], fill=(250, 110, 100, 255))
    d.polygon([(n * 0.60, n * 0.66), (n * 0.70, n * 0.58), (n * 0.90, n * 0.86), (n * 0.80, n * 0.92)],
              fill=(200, 206, 216, 255))
    return big.resize((size, size), Image.LANCZOS)


# -------------------------------------------------- palettes and file writers

def build_palette(images, reserved):
    """One palette for a family of pictures: the median cut of all of them,
    plus colours that must be present exactly."""
    total_h = sum(im.height for im in images)
    width = max(im.width for im in images)
    montage = Image.new("RGB", (width, total_h))
    y = 0
    for im in images:
        montage.paste(im, (0, y))
        y += im.height
    q = montage.quantize(colors=256 - len(reserved), method=Image.Quantize.MEDIANCUT, kmeans=2)
    pal = q.getpalette()[:3 * (256 - len(reserved))]
    colours = [tuple(pal[i:i + 3]) for i in range(0, len(pal), 3)]
    for c in reserved:
        if c not in colours:
            colours.append(c)
    return colours


def palette_image(colours):
    p = Image.new("P", (1, 1))
    flat = [v for c in colours for v in c]
    p.putpalette(flat + [0] * (768 - len(flat)))
    return p


def to_palette(img, colours):
    return img.convert("RGB").quantize(palette=palette_image(colours), dither=Image.Dither.NONE)


def to_own_palette(img):
    """Exact when the picture has 256 colours or fewer, else a median cut."""
    found = img.getcolors(256)
    if found is not None:
        return to_palette(img, [c for _, c in sorted(found, key=lambda e: e[1])])
    return img.quantize(colors=256, method=Image.Quantize.MEDIANCUT, kmeans=2, dither=Image.Dither.NONE)


def palette_colours(pimg):
    used = max(pimg.getdata()) + 1 if pimg.width else 1
    pal = pimg.getpalette()[:3 * used]
    return [tuple(pal[i:i + 3]) for i in range(0, len(pal), 3)]


def write_bmp8(path, pimg):
    """8-bit palettized BMP: BITMAPFILEHEADER, BITMAPINFOHEADER, palette, rows bottom-up."""
    w, h = pimg.size
    colours = palette_colours(pimg)
    stride = (w + 3) & ~3
    data = pimg.tobytes()
    rows = b"".join(data[y * w:(y + 1) * w] + b"\0" * (stride - w) for y in range(h - 1, -1, -1))
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(rows), 2835, 2835, len(colours), 0)
    with open(path, "wb") as f:
        f.write(header + info + palette + rows)


def dib_with_mask(rgba, bits):
    """The DIB of an icon or cursor image: header, palette, XOR pixels (4 or 8
    bits) and the AND mask. Transparent pixels are black in the XOR image with
    their mask bit set, so the screen shows through unchanged."""
    w, h = rgba.size
    opaque = rgba.split()[3].point(lambda a: 255 if a >= 128 else 0)
    rgb = Image.new("RGB", (w, h), BLACK)
    rgb.paste(rgba.convert("RGB"), (0, 0), opaque)
    ncol = 1 << bits
    found = rgb.getcolors(ncol - 1)
    if found is not None:
        colours = sorted(c for _, c in found)
        pimg = to_palette(rgb, colours)
    else:
        pimg = rgb.quantize(colors=ncol - 1, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
        colours = [tuple(pimg.getpalette()[i:i + 3]) for i in range(0, 3 * (ncol - 1), 3)]
    if BLACK in colours:
        clear = colours.index(BLACK)
    else:
        colours.append(BLACK)
        clear = len(colours) - 1
    colours += [BLACK] * (ncol - len(colours))
    px, om = pimg.load(), opaque.load()
    and_stride = ((w + 31) // 32) * 4
    xor_rows, and_rows = [], []
    for y in range(h - 1, -1, -1):
        vals = [px[x, y] if om[x, y] else clear for x in range(w)]
        if bits == 8:
            row = bytes(vals)
        else:
            row = bytes((vals[i] << 4) | vals[i + 1] for i in range(0, w, 2))
        xor_rows.append(row + b"\0" * ((-len(row)) % 4))
        mask = bytearray(and_stride)
        for x in range(w):
            if not om[x, y]:
                mask[x // 8] |= 0x80 >> (x % 8)
        and_rows.append(bytes(mask))
    xor, mask = b"".join(xor_rows), b"".join(and_rows)
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, bits, 0, len(xor) + len(mask), 0, 0, 0, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)
    return info + palette + xor + mask


def write_cursor(path, rgba, hotspot):
    dib = dib_with_mask(rgba, 4)
    w, h = rgba.size
    head = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", w, h, 16, 0, hotspot[0], hotspot[1], len(dib), 6 + 16)
    with open(path, "wb") as f:
        f.write(head + entry + dib)


def write_icon(path, images):
    dibs = [dib_with_mask(im, 8) for im in images]
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for im, dib in zip(images, dibs):
        entries += struct.pack("<BBBBHHII", im.width % 256, im.height % 256, 0, 0, 1, 8, len(dib), offset)
        offset += len(dib)
    with open(path, "wb") as f:
        f.write(head + entries + b"".join(dibs))


# ------------------------------------------------------------------- main

def outline_controls(img, controls, offset, colour=(255, 0, 255)):
    d = ImageDraw.Draw(img)
    for control, (x, y, w, h, _) in controls.items():
        d.rectangle((x + offset[0], y + offset[1], x + offset[0] + w - 1, y + offset[1] + h - 1), outline=colour)


def scaled(img, factor=2):
    return img.convert("RGB").resize((img.width * factor, img.height * factor), Image.NEAREST)


def draw_bitmaps(layout, s):
    """Every bitmap, drawn s times as large as it shows at 96 DPI: {name: palettized image}."""
    # Console in its three states; lit and pressed copies are cut from the same
    # drawing so that they sit pixel for pixel on the console.
    every = {suffix: None for suffix, *_ in NAV_BUTTONS}
    console = draw_console({}, "off", s)
    console_lit = draw_console({suffix: "lit" for suffix in every}, "lit", s)
    console_pressed = draw_console({suffix: "pressed" for suffix in every}, "pressed", s)

    ui = {}  # name -> picture sharing the console palette
    main_pic = console.copy()
    draw_options(main_pic, layout["PA"])
    ui["_M_MAIN"] = main_pic
    for panel, name in PANEL_PICTURE.items():
        pic = console.copy()
        PANEL_DRAW[panel](pic, layout[panel])
        ui[name] = panel_crop(pic, panel)
    lit_info = console.copy()
    draw_information(lit_info, layout["PI"], lit_links=True)
    ox, oy = PANEL_AT["PI"]
    for control, name, _, _ in LINKS:
        x, y, w, h, _ = layout["PI"][control]
        ui[name] = lit_info.crop((x + ox, y + oy, x + ox + w, y + oy + h))
    for suffix, left, _, _ in NAV_BUTTONS:
        box = (left, NAV_TOP, left + NAV_W, NAV_TOP + NAV_H)
        ui["_G" + suffix] = console_lit.crop(box)
        ui["_P" + suffix] = console_pressed.crop(box)
    x, y, w, h = EXIT_RECT
    ui["_G_Exit"] = console_lit.crop((x, y, x + w, y + h))
    ui["_P_Exit"] = console_pressed.crop((x, y, x + w, y + h))
    ui["_F_WAIT"] = wait_window(s)
    viewer = viewer_frame("off", s)
    viewer_lit = viewer_frame("lit", s)
    for name, (x, y, w, h) in VIEWER_PARTS.items():
        ui[name] = viewer.crop((x, y, x + w, y + h))
    x, y, w, h = VIEW_EXIT
    ui["_B_PCXE"] = viewer_lit.crop((x, y, x + w, y + h))

    family = build_palette([console.im, console_lit.crop((150, 50, 400, 120)).im,
                            console_pressed.crop((150, 50, 400, 120)).im,
                            *[ui[n].im for n in PANEL_PICTURE.values()], ui["_G_Ostrel"].im,
                            viewer_frame("off", s, choice=False).im,
                            viewer_lit.crop((490, 0, 521, 20)).im],
                           reserved=[BLACK, (255, 255, 255)])
    written = {}
    for name, pic in ui.items():
        written[name] = to_palette(pic.im, family)

    for name, (width, background, border, lines) in GAMES.items():
        pic = game_logo(width, background, border, lines, s)
        p = to_own_palette(pic.im)
        if TRANSPARENT_GREEN in palette_colours(p):
            raise SystemExit("game picture %s holds the transparent green" % name)
        written[name] = p
    # The scan report's frame and exit cap share a palette of their own.
    scan = scan_report_frame("off", s)
    x, y, w, h = SCAN_EXIT
    scan_exit = scan_report_frame("lit", s).crop((x, y, x + w, y + h))
    scan_colours = build_palette([scan.im, scan_exit.im], reserved=[BLACK, (255, 255, 255)])
    written["_F_SCAN"] = to_palette(scan.im, scan_colours)
    written["_B_SCANE"] = to_palette(scan_exit.im, scan_colours)
    written["_JAPAN"] = to_own_palette(japan_flag(s).im)
    written["_ZIP"] = to_own_palette(zip_mark(s).im)
    return written


def main():
    layout = read_layout()
    os.makedirs(BMP_DIR, exist_ok=True)
    os.makedirs(BMP_TWICE_DIR, exist_ok=True)
    os.makedirs(CUR_DIR, exist_ok=True)
    os.makedirs(PREVIEW_DIR, exist_ok=True)

    written = draw_bitmaps(layout, 1)
    for name, p in written.items():
        write_bmp8(os.path.join(BMP_DIR, name + ".bmp"), p)
    twice = {name: p for name, p in draw_bitmaps(layout, 2).items() if name not in ONLY_ONCE}
    for name, p in twice.items():
        write_bmp8(os.path.join(BMP_TWICE_DIR, name + ".bmp"), p)

    hand, hand_hot = hand_cursor()
    play, play_hot = play_cursor()
    write_cursor(os.path.join(CUR_DIR, "_GB_SEL.cur"), hand, hand_hot)
    write_cursor(os.path.join(CUR_DIR, "_GB_RUN.cur"), play, play_hot)
    write_icon(os.path.join(RES_DIR, "quarvel.ico"), [app_icon(32), app_icon(16)])

    write_previews(layout, written, [hand, play, app_icon(32), app_icon(16)])
    print("wrote %d bitmaps, %d at twice the size, 2 cursors, 1 icon; previews in %s"
          % (len(written), len(twice), PREVIEW_DIR))


def write_previews(layout, written, icons):
    """PNG previews for checking by eye (not part of the program)."""
    final = {name: Image.open(os.path.join(BMP_DIR, name + ".bmp")).convert("RGB") for name in written}
    for name, img in final.items():
        scaled(img).save(os.path.join(PREVIEW_DIR, name + ".png"))
    main_pic = final["_M_MAIN"]
    scaled(main_pic).save(os.path.join(PREVIEW_DIR, "console_with_options.png"))
    lit = main_pic.copy()
    for suffix, left, _, _ in NAV_BUTTONS:
        lit.paste(final["_G" + suffix], (left, NAV_TOP))
    lit.paste(final["_G_Exit"], EXIT_RECT[:2])
    scaled(lit).save(os.path.join(PREVIEW_DIR, "console_all_lit.png"))
    pressed = main_pic.copy()
    for suffix, left, _, _ in NAV_BUTTONS:
        pressed.paste(final["_P" + suffix], (left, NAV_TOP))
    pressed.paste(final["_P_Exit"], EXIT_RECT[:2])
    scaled(pressed).save(os.path.join(PREVIEW_DIR, "console_all_pressed.png"))
    for panel in PANEL_AT:
        ox, oy = PANEL_AT[panel]
        if panel == "PA":
            pic = main_pic.crop((ox, oy, ox + PANEL_W, oy + PANEL_H))
        else:
            pic = final[PANEL_PICTURE[panel]].copy()
        on_console = main_pic.copy()
        on_console.paste(pic.crop((0, 0, PANEL_W, 265)), (ox, oy))
        scaled(on_console).save(os.path.join(PREVIEW_DIR, "console_with_%s.png" % panel))
        outlined = pic.copy()
        outline_controls(outlined, layout[panel], (0, 0))
        scaled(outlined, 3).save(os.path.join(PREVIEW_DIR, "layout_%s.png" % panel))
    info_lit = final["_M_Info"].copy()
    for control, name, _, _ in LINKS:
        x, y, w, h, _ = layout["PI"][control]
        info_lit.paste(final[name], (x, y))
    scaled(info_lit).save(os.path.join(PREVIEW_DIR, "info_links_lit.png"))
    frame = Image.new("RGB", (VIEW_W, VIEW_H), (255, 0, 255))
    for name, (x, y, w, h) in VIEWER_PARTS.items():
        frame.paste(final[name], (x, y))
    scaled(frame).save(os.path.join(PREVIEW_DIR, "viewer_frame.png"))
    # Game buttons as the program shows them: logo centred on a button face,
    # the flag and archive marks stamped into the bottom right corner.
    names = list(GAMES)
    sheet = Image.new("RGB", (4 * 125, ((len(names) + 3) // 4) * 70), (40, 40, 40))
    for i, name in enumerate(names):
        face = Image.new("RGB", (117, 65), (212, 208, 200))
        ImageDraw.Draw(face).rectangle((0, 0, 116, 64), outline=(64, 64, 64))
        glyph = final[name].copy()
        flag, mark = final["_JAPAN"], final["_ZIP"]
        if i % 2:
            glyph.paste(flag, (glyph.width - 16, 30), mask_of_green(flag))
            glyph.paste(mark, (glyph.width - 16, 14), mask_of_green(mark))
        face.paste(glyph, ((117 - glyph.width) // 2, 6))
        ImageDraw.Draw(face).text((58, 54), name, font=font(SANS, 9), fill=(0, 0, 255), anchor="mm")
        sheet.paste(face, ((i % 4) * 125 + 4, (i // 4) * 70 + 3))
    scaled(sheet).save(os.path.join(PREVIEW_DIR, "game_buttons.png"))
    # Cursors and icon on a light and a dark ground.
    icons = [im.copy() for im in icons]
    for im in icons:  # what the AND mask keeps
        im.putalpha(im.split()[3].point(lambda a: 255 if a >= 128 else 0))
    board = Image.new("RGB", (4 * 36, 72), (220, 220, 220))
    board.paste((60, 60, 60), (0, 36, 4 * 36, 72))
    for i, im in enumerate(icons):
        for row in (0, 1):
            board.paste(im, (i * 36 + 2, row * 36 + 2), im)
    scaled(board, 4).save(os.path.join(PREVIEW_DIR, "cursors_and_icon.png"))


def mask_of_green(img):
    """Opaque everywhere except on the transparent green, as the program stamps marks."""
    return Image.frombytes("L", img.size,
                           bytes(0 if p == TRANSPARENT_GREEN else 255 for p in img.convert("RGB").getdata()))


if __name__ == "__main__":
    main()
