#!/usr/bin/env python3
"""Draws all of Korvid's artwork and writes it next to this script.

    python3 resources/artwork.py

Standard library only.  The output is deterministic: running the script again
reproduces every file byte for byte.

What it writes (paths relative to resources/):
    toolbar/*.png         twelve 16x16 toolbar icons (pixel art, RGBA)
    Korvid.ico            program icon: 16, 32, 48 (32-bit DIB) and 256 (PNG)
    icons/korvid-N.png    the same design as PNG, N = 16, 32, 48, 256
    about.bmp             About box picture, 241x128, 24 bpp, uncompressed
    hand.png              32x32 pointing-hand cursor (palette PNG, hot spot 12,1)

The small images are drawn pixel by pixel from strings below: one character
is one pixel, and each picture has a palette mapping characters to colours.
The larger program icons and the About picture are drawn from simple shapes
(circles, polygons, curves) described as signed distance functions and
anti-aliased by coverage.
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# An image is a list of rows (top row first); a pixel is an (r, g, b, a) tuple.
CLEAR = (0, 0, 0, 0)


# ---------------------------------------------------------------------------
# File writers
# ---------------------------------------------------------------------------

def _png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png_rgba(image):
    """PNG, 8-bit RGBA (colour type 6), no ancillary chunks."""
    height, width = len(image), len(image[0])
    raw = bytearray()
    for row in image:
        raw.append(0)  # filter type: none
        for pixel in row:
            raw.extend(pixel)
    return (b"\x89PNG\r\n\x1a\n"
            + _png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + _png_chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + _png_chunk(b"IEND", b""))


def png_indexed(image):
    """PNG with a palette (colour type 3, 4 bits per pixel, at most 16 colours).

    Transparency goes into a tRNS chunk."""
    height, width = len(image), len(image[0])
    palette = []
    for row in image:
        for pixel in row:
            if pixel not in palette:
                palette.append(pixel)
    palette.sort(key=lambda p: (p[3] != 0, p))  # transparent entries first
    if len(palette) > 16:
        raise ValueError("more than 16 colours")
    index = {p: i for i, p in enumerate(palette)}
    raw = bytearray()
    for row in image:
        raw.append(0)
        row_indices = [index[p] for p in row] + [0]
        for x in range(0, width, 2):
            raw.append(row_indices[x] << 4 | row_indices[x + 1])
    plte = b"".join(bytes(p[:3]) for p in palette)
    alphas = [p[3] for p in palette]
    while alphas and alphas[-1] == 255:
        alphas.pop()
    return (b"\x89PNG\r\n\x1a\n"
            + _png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 4, 3, 0, 0, 0))
            + _png_chunk(b"PLTE", plte)
            + (_png_chunk(b"tRNS", bytes(alphas)) if alphas else b"")
            + _png_chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + _png_chunk(b"IEND", b""))


def _ico_dib(image):
    """One icon entry as a 32-bit BGRA DIB plus its 1-bit AND mask."""
    size = len(image)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for row in reversed(image):  # bottom-up
        for r, g, b, a in row:
            xor.extend((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(image):
        bits = bytearray(mask_stride)
        for x, pixel in enumerate(row):
            if pixel[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask.extend(bits)
    return header + bytes(xor) + bytes(mask)


def ico_file(images):
    """Windows .ico holding the given square images (256 stored as PNG)."""
    blobs = [png_rgba(im) if len(im) >= 256 else _ico_dib(im) for im in images]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for im, blob in zip(images, blobs):
        side = len(im) % 256  # 256 is written as 0
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


def bmp24(image):
    """Windows BMP: 24 bpp, BI_RGB, bottom-up, rows padded to 4 bytes."""
    height, width = len(image), len(image[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(image):
        line = bytearray()
        for r, g, b, _a in row:
            line.extend((b, g, r))
        line.extend(b"\0" * (stride - len(line)))
        pixels.extend(line)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels),
                       2835, 2835, 0, 0)  # 72 dpi
    file_header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    return file_header + info + bytes(pixels)


def write(relative_path, data):
    path = os.path.join(HERE, relative_path)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


# ---------------------------------------------------------------------------
# Pixel art helpers
# ---------------------------------------------------------------------------

def rgb(hex_colour, alpha=255):
    v = int(hex_colour.lstrip("#"), 16)
    return (v >> 16 & 255, v >> 8 & 255, v & 255, alpha)


def from_art(rows, palette):
    width = len(rows[0])
    for row in rows:
        if len(row) != width:
            raise ValueError("ragged pixel art: %r" % row)
    return [[palette[c] for c in row] for row in rows]


def mirror(image):
    return [list(reversed(row)) for row in image]


# ---------------------------------------------------------------------------
# Toolbar icons, 16x16, classic toolbar style: dark outline, few colours
# ---------------------------------------------------------------------------

TOOLBAR_PALETTE = {
    ".": CLEAR,
    "K": rgb("#000000"),  # outline
    "W": rgb("#ffffff"),
    "S": rgb("#e0e0e4"),  # pale silver
    "L": rgb("#c0c0c0"),  # light grey
    "D": rgb("#808080"),  # dark grey
    "Y": rgb("#ffe060"),  # folder, bright
    "y": rgb("#d8a830"),  # folder, shaded
    "Z": rgb("#fff4b0"),  # folder, highlight
    "o": rgb("#b87838"),  # clipboard board
    "O": rgb("#8a5020"),  # clipboard board, shaded
    "B": rgb("#2850c0"),  # blue
    "N": rgb("#10206c"),  # navy
    "b": rgb("#6890f0"),  # light blue
    "C": rgb("#c8e8ff"),  # lens glass
    "c": rgb("#88b8e0"),  # lens glass, shaded
    "R": rgb("#e02020"),  # red
    "P": rgb("#ff9090"),  # red highlight
    "r": rgb("#800000"),  # dark red (outline of the red cross)
    "T": rgb("#404040"),  # handle
}

TOOLBAR = {
    "new": [  # blank page with a folded corner
        "..KKKKKKKK......",
        "..KWWWWWWKK.....",
        "..KWWWWWWKLK....",
        "..KWWWWWWKLLK...",
        "..KWWWWWWKLLLK..",
        "..KWWWWWWKKKKK..",
        "..KWWWWWWWWWWK..",
        "..KWWWWWWWWWWK..",
        "..KWWWWWWWWWWK..",
        "..KWWWWWWWWWWK..",
        "..KWWWWWWWWWWK..",
        "..KWWWWWWWWWWK..",
        "..KWWWWWWWWWWK..",
        "..KWWWWWWWWWWK..",
        "..KWWWWWWWWWWK..",
        "..KKKKKKKKKKKK..",
    ],
    "open": [  # open folder: shaded back, bright front flap tilted open
        "................",
        "................",
        ".KKKK...........",
        "KZYYYK..........",
        "KZyyyyKKKKKKK...",
        "KZyyyyyyyyyyyK..",
        "KZyyyyyyyyyyyK..",
        "KZyyyyyyyyyyyK..",
        "KZyyKKKKKKKKKKKK",
        "KZyKZZZZZZZZZZK.",
        "KZKYYYYYYYYYYK..",
        "KKYYYYYYYYYYK...",
        "KYYYYYYYYYYK....",
        "KKKKKKKKKKK.....",
        "................",
        "................",
    ],
    "save": [  # floppy disk: label on top, metal shutter below
        "................",
        ".KKKKKKKKKKKKKK.",
        ".KBKWWWWWWWWKBK.",
        ".KBKWDDDDDDWKBK.",
        ".KBKWWWWWWWWKBK.",
        ".KBKWDDDDDDWKBK.",
        ".KBKWWWWWWWWKBK.",
        ".KBBKKKKKKKKBBK.",
        ".KBBBBBBBBBBBBK.",
        ".KBBKKKKKKKKBBK.",
        ".KBBKSSSLKKLBBK.",
        ".KBBKSSSLKKLBBK.",
        ".KBBKSSSLKKLBBK.",
        ".KNBKLLLLLLLBBK.",
        ".KKKKKKKKKKKKKK.",
        "................",
    ],
    "cut": [  # scissors: crossed blades, two ring handles
        "................",
        ".K...........K..",
        ".KK.........KK..",
        "..KWK.....KSK...",
        "...KWK...KSK....",
        "....KWK.KSK.....",
        ".....KWKSK......",
        "......KSK.......",
        "......KDK.......",
        ".....KRKRK......",
        "..KKKRK.KRKKK...",
        ".KRRRK...KRRRK..",
        "KR...RK.KR...RK.",
        "KR...RK.KR...RK.",
        ".KRRRK...KRRRK..",
        "..KKK.....KKK...",
    ],
    "copy": [  # two overlapping pages
        "KKKKKKK.........",
        "KWWWWWKK........",
        "KWWWWWKWK.......",
        "KWDDDDKKKK......",
        "KWWWWWWWWK......",
        "KWDDDKKKKKKK....",
        "KWWWWKWWWWWKK...",
        "KWDDDKWWWWWKWK..",
        "KWWWWKWDDDDKKKK.",
        "KWDDDKWWWWWWWWK.",
        "KKKKKKWDDDDDDWK.",
        ".....KWWWWWWWWK.",
        ".....KWDDDDDDWK.",
        ".....KWWWWWWWWK.",
        ".....KWWWWWWWWK.",
        ".....KKKKKKKKKK.",
    ],
    "paste": [  # clipboard with a page on it
        "....KKKKK.......",
        ".KKKSSSSSKKK....",
        "KoooKKKKKoooK...",
        "KoOOOOOOOOOoK...",
        "KoooooooooooK...",
        "KooooooKKKKKKK..",
        "KooooooKWWWWWKK.",
        "KooooooKWDDDWKWK",
        "KooooooKWWWWWKKK",
        "KooooooKWDDDDDWK",
        "KooooooKWWWWWWWK",
        "KooooooKWDDDDDWK",
        "KooooooKWWWWWWWK",
        "KooooooKWDDDDDWK",
        "KooooooKWWWWWWWK",
        ".KKKKKKKKKKKKKKK",
    ],
    "delete": [  # red cross
        "................",
        ".rrr........rrr.",
        ".rPRr......rPRr.",
        ".rRRRr....rPRRr.",
        "..rRRRr..rPRRr..",
        "...rRRRrrPRRr...",
        "....rRRRPRRr....",
        ".....rRRRRr.....",
        ".....rPRRRr.....",
        "....rPRRRRRr....",
        "...rPRRrrRRRr...",
        "..rPRRr..rRRRr..",
        ".rPRRr....rRRRr.",
        ".rRRr......rRRr.",
        ".rrr........rrr.",
        "................",
    ],
    "find": [  # magnifying glass
        "....KKKK........",
        "..KKLLLLKK......",
        ".KLLCWWCLLK.....",
        ".KLCWCCCCLK.....",
        "KLCWCCCCCCLK....",
        "KLCCCCCCCCLK....",
        "KLCCCCCCCCLK....",
        "KLCCCCCCCcLK....",
        ".KLCCCCCcLK.....",
        ".KLLCccccLKK....",
        "..KKLLLLKKTTK...",
        "....KKKK.KTTTK..",
        "..........KTTTK.",
        "...........KTTTK",
        "............KTTK",
        ".............KK.",
    ],
    "undo": [  # hooked arrow pointing left
        "................",
        "....K...........",
        "...KbK..........",
        "..KbBK..........",
        ".KbBBKKKKKKK....",
        "KbBBBbbbbbbbK...",
        "KBBBBBBBBBBBbK..",
        ".KNBBKKKKKKBBbK.",
        "..KNBK.....KBBK.",
        "...KNK.....KBBBK",
        "....K......KBBK.",
        ".......KKKKBBNK.",
        "......KbBBBBNK..",
        "......KNNNNNK...",
        ".......KKKKK....",
        "................",
    ],
    "options": [  # gear wheel
        ".......KK.......",
        "......KWLK......",
        "...KK.KWLK.KK...",
        "..KWLKKWLLKLDK..",
        "..KWLLLLLLLLDK..",
        "...KWLLLLLLDK...",
        ".KKKWLLKKLLDKKK.",
        "KWLLLLK..KLLLDDK",
        "KLLLLLK..KLLLLDK",
        ".KKKLLLKKLLDKKK.",
        "...KLLLLLLLDK...",
        "..KWLLLLLLLLDK..",
        "..KLDKKLLKKLDK..",
        "...KK.KLDK.KK...",
        "......KLDK......",
        ".......KK.......",
    ],
    "help": [  # white question mark in a blue circle
        ".....KKKKKK.....",
        "...KKbbbbbbKK...",
        "..KbbbbBBBBBBK..",
        ".KbbBBWWWWBBBBK.",
        ".KbBBWWBBWWBBBK.",
        "KbbBBBBBBWWBBBBK",
        "KbBBBBBBWWBBBBBK",
        "KbBBBBBWWBBBBBBK",
        "KBBBBBBWWBBBBBBK",
        "KBBBBBBBBBBBBBNK",
        "KBBBBBBWWBBBBBNK",
        ".KBBBBBWWBBBBNK.",
        ".KBBBBBBBBBBNNK.",
        "..KBBBBBBBBNNK..",
        "...KKNNNNNNKK...",
        ".....KKKKKK.....",
    ],
}


def toolbar_icons():
    icons = {name: from_art(rows, TOOLBAR_PALETTE) for name, rows in TOOLBAR.items()}
    icons["redo"] = mirror(icons["undo"])
    return icons


# ---------------------------------------------------------------------------
# Shapes as signed distance functions: f(x, y) < 0 inside, > 0 outside,
# in units of the picture's width (so one design serves every size).
# ---------------------------------------------------------------------------

def sd_circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def sd_ellipse(cx, cy, rx, ry):
    # Not an exact distance, but close enough near the edge for anti-aliasing.
    k = min(rx, ry)
    return lambda x, y: (math.hypot((x - cx) / rx, (y - cy) / ry) - 1.0) * k


def sd_polygon(points):
    pts = list(points)
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    x0, x1, y0, y1 = min(xs), max(xs), min(ys), max(ys)
    edges = [(pts[i - 1], pts[i]) for i in range(len(pts))]

    def f(x, y):
        # Far from the bounding box, a lower bound of the distance will do.
        bx = max(x0 - x, 0.0, x - x1)
        by = max(y0 - y, 0.0, y - y1)
        if bx > 0.15 or by > 0.15:
            return math.hypot(bx, by)
        best = float("inf")
        inside = False
        for (ax, ay), (cx, cy) in edges:
            ex, ey = cx - ax, cy - ay
            wx, wy = x - ax, y - ay
            t = (wx * ex + wy * ey) / (ex * ex + ey * ey)
            t = 0.0 if t < 0.0 else 1.0 if t > 1.0 else t
            dx, dy = wx - ex * t, wy - ey * t
            d = dx * dx + dy * dy
            if d < best:
                best = d
            if (ay > y) != (cy > y) and x < ax + (y - ay) * ex / ey:
                inside = not inside
        d = math.sqrt(best)
        return -d if inside else d
    return f


def sd_segment(ax, ay, bx, by, r):
    """A stroke of half-width r from a to b, with round ends."""
    ex, ey = bx - ax, by - ay
    ee = ex * ex + ey * ey

    def f(x, y):
        t = max(0.0, min(1.0, ((x - ax) * ex + (y - ay) * ey) / ee))
        return math.hypot(x - ax - ex * t, y - ay - ey * t) - r
    return f


def sd_union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def sd_intersect(*shapes):
    return lambda x, y: max(s(x, y) for s in shapes)


def sd_subtract(shape, hole):
    return lambda x, y: max(shape(x, y), -hole(x, y))


def sd_grow(shape, amount):
    return lambda x, y: shape(x, y) - amount


def quad_curve(p0, p1, p2, steps=12):
    """Points along a quadratic Bezier curve, without the first point."""
    out = []
    for i in range(1, steps + 1):
        t = i / steps
        a, b, c = (1 - t) ** 2, 2 * (1 - t) * t, t * t
        out.append((a * p0[0] + b * p1[0] + c * p2[0], a * p0[1] + b * p1[1] + c * p2[1]))
    return out


def mix(c1, c2, t):
    t = 0.0 if t < 0.0 else 1.0 if t > 1.0 else t
    return tuple(a + (b - a) * t for a, b in zip(c1[:3], c2[:3]))


def solid(colour):
    c = tuple(float(v) for v in colour[:3])
    return lambda x, y: c


def linear(c1, c2, ax, ay, bx, by):
    """Gradient from c1 at point a to c2 at point b."""
    ex, ey = bx - ax, by - ay
    ee = ex * ex + ey * ey
    return lambda x, y: mix(c1, c2, ((x - ax) * ex + (y - ay) * ey) / ee)


def radial(c1, c2, cx, cy, r):
    return lambda x, y: mix(c1, c2, math.hypot(x - cx, y - cy) / r)


def render(width, height, layers, scale=None, background=None):
    """Paints layers of (shape, paint, opacity) bottom to top.

    Coordinates are in units of `scale` pixels (default: the width).  Each
    shape's edge is anti-aliased over one pixel.  With a background paint the
    result is opaque; without it, transparent where nothing was painted."""
    scale = scale or width
    image = []
    for py in range(height):
        y = (py + 0.5) / scale
        row = []
        for px in range(width):
            x = (px + 0.5) / scale
            if background:
                r, g, b = background(x, y)
                a = 1.0
            else:
                r = g = b = a = 0.0
            for shape, paint, opacity in layers:
                cover = 0.5 - shape(x, y) * scale
                if cover <= 0.0:
                    continue
                cover = min(cover, 1.0) * opacity
                cr, cg, cb = paint(x, y)
                na = cover + a * (1.0 - cover)
                r = (cr * cover + r * a * (1.0 - cover)) / na
                g = (cg * cover + g * a * (1.0 - cover)) / na
                b = (cb * cover + b * a * (1.0 - cover)) / na
                a = na
            if a <= 0.0:
                row.append(CLEAR)
            else:
                row.append((int(r + 0.5), int(g + 0.5), int(b + 0.5), int(a * 255 + 0.5)))
        image.append(row)
    return image


# ---------------------------------------------------------------------------
# The program icon: a raven's head in front of a cog wheel, beak breaking out
# over the rim, against an amber sky.
# ---------------------------------------------------------------------------

INK = rgb("#16121c")           # outlines
CROW = rgb("#18171f")          # feathers
CROW_SHEEN = rgb("#3c4c80")    # blue gloss on the feathers
BEAK = rgb("#34343f")
BEAK_RIDGE = rgb("#7a7a8c")
STEEL_LIGHT = rgb("#eef1f5")
STEEL_DARK = rgb("#6a7380")
SKY_LIGHT = rgb("#ffeaa0")
SKY_DARK = rgb("#ee8426")


def gear_outline(cx, cy, r_root, r_tip, teeth, phase=0.0):
    pitch = 2 * math.pi / teeth
    points = []
    for i in range(teeth):
        a = phase + i * pitch
        for r, da in ((r_root, -0.30), (r_tip, -0.19), (r_tip, 0.19), (r_root, 0.30)):
            points.append((cx + r * math.cos(a + da * pitch), cy + r * math.sin(a + da * pitch)))
        for da in (0.43, 0.57):  # along the root circle to the next tooth
            points.append((cx + r_root * math.cos(a + da * pitch), cy + r_root * math.sin(a + da * pitch)))
    return points


def crow_shapes(pixel=0.0):
    """The raven's head, facing right, and its parts.

    `pixel` is the size of one pixel; the eye is kept at least 3 pixels
    across so it stays visible on small icons."""
    skull = sd_circle(0.43, 0.43, 0.150)
    forehead = sd_polygon([(0.40, 0.29), (0.50, 0.285), (0.60, 0.33), (0.61, 0.50), (0.44, 0.55)])
    nape = sd_polygon([(0.31, 0.33), (0.21, 0.39), (0.29, 0.41), (0.20, 0.47),
                       (0.29, 0.49), (0.23, 0.56), (0.34, 0.55)])
    throat = sd_polygon([(0.59, 0.49), (0.61, 0.60), (0.56, 0.575), (0.555, 0.66),
                         (0.51, 0.615), (0.49, 0.70), (0.40, 0.58)])
    head = sd_union(skull, forehead, nape, throat)
    upper = [(0.555, 0.30)] + quad_curve((0.555, 0.30), (0.78, 0.30), (0.955, 0.505))
    lower = quad_curve((0.955, 0.505), (0.79, 0.51), (0.585, 0.545))
    beak = sd_polygon(upper + lower)
    ridge = sd_polygon([(0.58, 0.315)] + quad_curve((0.58, 0.315), (0.77, 0.315), (0.90, 0.44))
                       + quad_curve((0.90, 0.44), (0.75, 0.35), (0.58, 0.355)))
    mouth = sd_segment(0.61, 0.475, 0.90, 0.497, 0.006)
    neck = sd_polygon([(0.31, 0.50), (0.56, 0.56), (0.61, 0.74), (0.72, 0.90),
                       (0.78, 1.0), (0.12, 1.0), (0.19, 0.87), (0.27, 0.73)])
    sheen = sd_intersect(head, sd_subtract(sd_circle(0.43, 0.43, 0.145),
                                            sd_circle(0.465, 0.465, 0.145)))
    eye = sd_circle(0.505, 0.395, max(0.042, 1.6 * pixel))
    pupil = sd_circle(0.513, 0.395, max(0.025, 0.8 * pixel))
    glint = sd_circle(0.502, 0.382, 0.009)
    return head, beak, ridge, mouth, neck, sheen, eye, pupil, glint


# At 16x16 the shapes above would blur into a smudge, so that size is drawn
# by hand, following the same design.
KORVID_16_PALETTE = {
    ".": CLEAR,
    "K": INK,
    "S": rgb("#e4e8ee"),  # steel, lit
    "s": rgb("#aab2bc"),  # steel
    "d": rgb("#737c89"),  # steel, shaded
    "Y": rgb("#ffd98a"),  # sky, upper
    "O": rgb("#f0962f"),  # sky, lower
    "C": CROW,
    "b": CROW_SHEEN,
    "k": rgb("#4a4a58"),  # beak
    "r": rgb("#8c8ca0"),  # beak ridge
    "W": rgb("#ffffff"),  # eye
}

KORVID_16 = [
    ".......KK.......",
    "..KK..KSSK..KK..",
    ".KSSKKSSSSKKsdK.",
    ".KSSSSSSSSssddK.",
    "..KSSYYYYYYssK..",
    "..KSYYbCCYYYsK..",
    ".KSSYbCWCkKKKdK.",
    "KSSSCCCCCrrrrrKK",
    "KSSSCCCCCkkkKKdK",
    ".KSSOCCCCCKKddK.",
    "..KsOCCCCCOOdK..",
    "..KssOCCCCOddK..",
    ".KssddddddddddK.",
    ".KsdKKddddKKddK.",
    "..KK..KddK..KK..",
    ".......KK.......",
]


def korvid_icon(size):
    if size == 16:
        return from_art(KORVID_16, KORVID_16_PALETTE)
    line = max(1.0, size / 64.0) / size  # outline width: 1 px small, 4 px at 256
    gear = sd_polygon(gear_outline(0.5, 0.5, 0.415, 0.490, 8, phase=-math.pi / 2))
    hub_hole = sd_circle(0.5, 0.5, 0.355)
    disc = sd_circle(0.5, 0.5, 0.355 - line)
    head, beak, ridge, mouth, neck, sheen, eye, pupil, glint = crow_shapes(1.0 / size)
    crow = sd_union(head, beak)
    steel = linear(STEEL_LIGHT, STEEL_DARK, 0.15, 0.1, 0.85, 0.9)
    sky = radial(SKY_LIGHT, SKY_DARK, 0.40, 0.30, 0.50)
    layers = [
        (sd_grow(gear, line), solid(INK), 1.0),
        (gear, steel, 1.0),
        (hub_hole, solid(INK), 1.0),
        (disc, sky, 1.0),
        (sd_intersect(neck, disc), solid(CROW), 1.0),
        (sd_grow(crow, line), solid(INK), 1.0),
        (head, solid(CROW), 1.0),
        (sheen, solid(CROW_SHEEN), 1.0),
        (beak, solid(BEAK), 1.0),
        (ridge, solid(BEAK_RIDGE), 1.0),
        (mouth, solid(INK), 1.0),
        (eye, solid((250, 246, 230)), 1.0),
        (pupil, solid(INK), 1.0),
        (glint, solid((255, 255, 255)), 1.0),
    ]
    return render(size, size, layers)


# ---------------------------------------------------------------------------
# About box picture: drafting paper with a faint blueprint of the raven and
# the cog, in a thin frame.  The program draws three lines of text on top
# (y 8..41, 48..89 and 96..113, x 8..233), so everything there stays pale.
# ---------------------------------------------------------------------------

ABOUT_W, ABOUT_H = 241, 128
PAPER_TOP = rgb("#f8f2de")
PAPER_BOTTOM = rgb("#ebe0c2")
BLUEPRINT = rgb("#46648c")


def about_picture():
    w, h = ABOUT_W, ABOUT_H
    px = 1.0 / h  # shapes are laid out in units of the picture's height

    def paper(x, y):
        r, g, b = mix(PAPER_TOP, PAPER_BOTTOM, y)
        # Drafting grid: a faint line every 8 pixels, a stronger one every 32,
        # centred on the middle of the picture.
        gx = int(x * h) - w // 2
        gy = int(y * h) - h // 2
        t = 0.0
        if gx % 8 == 0 or gy % 8 == 0:
            t = 0.07
        if gx % 32 == 0 or gy % 32 == 0:
            t = 0.13
        return mix((r, g, b), BLUEPRINT, t)

    def stroke(shape, width):
        return lambda x, y: abs(shape(x, y)) - width / 2

    def moved(shape, dx, dy, scale):
        return lambda x, y: shape((x - dx) / scale, (y - dy) / scale) * scale

    ink = solid(BLUEPRINT)
    # The cog, large and half off the picture at the lower left.
    gear = moved(sd_polygon(gear_outline(0.5, 0.5, 0.415, 0.490, 8, phase=-math.pi / 2)),
                 -0.38, 0.36, 1.05)
    hub = moved(sd_circle(0.5, 0.5, 0.355), -0.38, 0.36, 1.05)
    axle = moved(sd_circle(0.5, 0.5, 0.06), -0.38, 0.36, 1.05)
    # The raven's head at the right, looking out of the picture.
    head, beak, ridge, mouth, neck, sheen, eye, pupil, glint = crow_shapes()
    bird = sd_union(head, beak, sd_intersect(neck, sd_circle(0.5, 0.62, 0.45)))
    s, dx, dy = 1.02, 1.83 - 1.02 * 0.955, 0.02
    bird = moved(bird, dx, dy, s)
    eye = moved(eye, dx, dy, s)
    mouth = moved(mouth, dx, dy, s)

    frame_out = sd_polygon([(0, 0), (w * px, 0), (w * px, 1), (0, 1)])
    frame_in = sd_polygon([(px, px), ((w - 1) * px, px), ((w - 1) * px, 1 - px), (px, 1 - px)])
    frame_in2 = sd_polygon([(2 * px, 2 * px), ((w - 2) * px, 2 * px),
                            ((w - 2) * px, 1 - 2 * px), (2 * px, 1 - 2 * px)])
    layers = [
        (gear, ink, 0.035),
        (stroke(gear, px), ink, 0.22),
        (stroke(hub, px), ink, 0.16),
        (stroke(axle, px), ink, 0.16),
        (bird, ink, 0.05),
        (stroke(bird, px), ink, 0.24),
        (stroke(eye, px), ink, 0.24),
        (mouth, ink, 0.18),
        (sd_subtract(frame_out, frame_in), solid(rgb("#5a6a82")), 1.0),
        (sd_subtract(frame_in, frame_in2), solid(rgb("#ffffff")), 0.9),
    ]
    return render(w, h, layers, scale=h, background=paper)


# ---------------------------------------------------------------------------
# Mouse pointer for the link: a hand pointing up, hot spot at the fingertip
# (12, 1).
# ---------------------------------------------------------------------------

HAND_HOT_SPOT = (12, 1)

HAND = [
    "................................",
    "...........KKK..................",
    "..........KWWWK.................",
    "..........KWWWK.................",
    "..........KWWWK.................",
    "..........KWWWK.................",
    "..........KWWWK.................",
    "..........KWWWKKKK..............",
    "..........KWWWKWWWKKKK..........",
    "..........KWWWKWWWKWWWKKK.......",
    "..........KWWWKWWWKWWWKWWK......",
    "..........KWWWKWWWKWWWKWWK......",
    "..........KWWWKWWWKWWWKWWK......",
    ".....KKK..KWWWKWWWKWWWKWWK......",
    "....KWWWK.KWWWWWWWWWWWWWWK......",
    "....KWWWWKKWWWWWWWWWWWWWWK......",
    ".....KWWWWKWWWWWWWWWWWWWWK......",
    ".....KWWWWWKWWWWWWWWWWWWWK......",
    "......KWWWWWWWWWWWWWWWWWK.......",
    "......KWWWWWWWWWWWWWWWWWK.......",
    ".......KWWWWWWWWWWWWWWWWK.......",
    "........KWWWWWWWWWWWWWWK........",
    "........KWWWWWWWWWWWWWWK........",
    "........KKKKKKKKKKKKKKKK........",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
]

HAND_PALETTE = {".": CLEAR, "K": rgb("#000000"), "W": rgb("#ffffff")}


# ---------------------------------------------------------------------------

def main():
    for name, image in toolbar_icons().items():
        write("toolbar/%s.png" % name, png_rgba(image))

    icons = [korvid_icon(size) for size in (16, 32, 48, 256)]
    for image in icons:
        write("icons/korvid-%d.png" % len(image), png_rgba(image))
    write("Korvid.ico", ico_file(icons))

    write("about.bmp", bmp24(about_picture()))
    write("hand.png", png_indexed(from_art(HAND, HAND_PALETTE)))


if __name__ == "__main__":
    main()
