#!/usr/bin/env python3
"""Draws Korimet's toolbar and application icons as PNG files.

Standard library only, so the icons can be redrawn anywhere: the 16x16 toolbar icons are
pixel art (one character a pixel), the application icon is drawn from shapes with
supersampling at every size it ships in.

    scripts/make_icons.py            # writes common/ui/icons/ and packaging/korimet.png
"""

import math
import struct
import sys
import zlib
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
ICON_DIR = ROOT / "shell" / "ui" / "icons"
PACKAGING_DIR = ROOT / "packaging"

# ---------------------------------------------------------------------------------------
# PNG output


def write_png(path, width, height, pixels):
    """pixels: rows of (r, g, b, a) tuples."""
    raw = bytearray()
    for row in pixels:
        raw.append(0)  # no filter
        for r, g, b, a in row:
            raw += bytes((r, g, b, a))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    path.write_bytes(png)


def hex_colour(text):
    return tuple(int(text[i : i + 2], 16) for i in (0, 2, 4)) + (255,)


# ---------------------------------------------------------------------------------------
# Toolbar icons: pixel art

PALETTE = {
    ".": (0, 0, 0, 0),
    "k": hex_colour("202020"),  # outline
    "w": hex_colour("FFFFFF"),
    "g": hex_colour("A8A8A8"),  # text lines, metal
    "G": hex_colour("606060"),
    "y": hex_colour("F6D04D"),  # folder
    "Y": hex_colour("D9A520"),
    "b": hex_colour("2F5FB8"),  # disk body, blue series
    "B": hex_colour("8DB0EA"),
    "r": hex_colour("D83A3A"),  # red handles, red series
    "R": hex_colour("F08A8A"),
    "n": hex_colour("A9743A"),  # clipboard board
    "N": hex_colour("7A5024"),
}

TOOLBAR = {
    "Open": [
        "................",
        "................",
        ".kkkk...........",
        "kyyyyk..........",
        "kyyyyykkkkkkk...",
        "kyyyyyyyyyyyyk..",
        "kyyyyyyyyyyyyk..",
        "kyyykkkkkkkkkkkk",
        "kyykYYYYYYYYYYYk",
        "kyykYYYYYYYYYYk.",
        "kykYYYYYYYYYYYk.",
        "kykYYYYYYYYYYk..",
        "kkYYYYYYYYYYYk..",
        "kkYYYYYYYYYYk...",
        "kkkkkkkkkkkkk...",
        "................",
    ],
    "Save": [
        "kkkkkkkkkkkkkkk.",
        "kbkwwwwwwwwwkbk.",
        "kbkwggggggwwkbk.",
        "kbkwwwwwwwwwkbk.",
        "kbkwggggggwwkbk.",
        "kbkwwwwwwwwwkbk.",
        "kbbkkkkkkkkkbbk.",
        "kbbbbbbbbbbbbbk.",
        "kbbbbbbbbbbbbbk.",
        "kbbbkkkkkkkkbbk.",
        "kbbbkggggkgkbbk.",
        "kbbbkggggkgkbbk.",
        "kbbbkggggkgkbbk.",
        "kbbbkggggggkbbk.",
        ".kkkkkkkkkkkkkk.",
        "................",
    ],
    "Cut": [
        "...k.......k....",
        "...kk.....kk....",
        "....k.....k.....",
        "....kk...kk.....",
        ".....k...k......",
        ".....kk.kk......",
        "......kgk.......",
        ".......k........",
        "......rkr.......",
        "....rrr.rrr.....",
        "...r..r.r..r....",
        "..r...r.r...r...",
        "..r...r.r...r...",
        "..r..r...r..r...",
        "...rr.....rr....",
        "................",
    ],
    "Copy": [
        "kkkkkkkk........",
        "kwwwwwwk........",
        "kwggggwk........",
        "kwwwwwwk........",
        "kwgggkkkkkkkkk..",
        "kwwwwkwwwwwwwk..",
        "kwgggkwgggggwk..",
        "kwwwwkwwwwwwwk..",
        "kwgggkwgggggwk..",
        "kkkkkkwwwwwwwk..",
        ".....kwgggggwk..",
        ".....kwwwwwwwk..",
        ".....kwgggwwwk..",
        ".....kwwwwwwwk..",
        ".....kkkkkkkkk..",
        "................",
    ],
    "Paste": [
        ".....kkkkk......",
        ".kkkkkgggkkkkk..",
        ".knnkgggggknnk..",
        ".knnnkkkkknnnk..",
        ".knnnnnnnnnnnk..",
        ".knnnnkkkkkkkkkk",
        ".knnnnkwwwwwwwwk",
        ".knnnnkwggggggwk",
        ".knnnnkwwwwwwwwk",
        ".knnnnkwggggggwk",
        ".knnnnkwwwwwwwwk",
        ".knnnnkwgggggwwk",
        ".knnnnkwwwwwwwwk",
        ".kkkkkkwwwwwwwwk",
        "......kkkkkkkkkk",
        "................",
    ],
    "Race": [
        ".kk.............",
        ".kGkkkkkkkkkkkk.",
        ".kGkwwkkwwkkwwk.",
        ".kGkwwkkwwkkwwk.",
        ".kGkkkwwkkwwkkk.",
        ".kGkkkwwkkwwkkk.",
        ".kGkwwkkwwkkwwk.",
        ".kGkwwkkwwkkwwk.",
        ".kGkkkwwkkwwkkk.",
        ".kGkkkwwkkwwkkk.",
        ".kGkkkkkkkkkkkk.",
        ".kGk............",
        ".kGk............",
        ".kGk............",
        ".kGk............",
        ".kkk............",
    ],
    "hikaku": [
        "................",
        "k...............",
        "k........kk.....",
        "k........rr.....",
        "k...kk...rr.....",
        "k...rr...rr.....",
        "k.kkrr...rrkk...",
        "k.bbrr...rrbb...",
        "k.bbrr.kkrrbbkk.",
        "k.bbrr.bbrrbbrr.",
        "k.bbrr.bbrrbbrr.",
        "k.bbrr.bbrrbbrr.",
        "k.bbrr.bbrrbbrr.",
        "k.bbrr.bbrrbbrr.",
        "kkkkkkkkkkkkkkkk",
        "................",
    ],
}


def toolbar_icon(rows):
    assert len(rows) == 16, "16 rows"
    for row in rows:
        assert len(row) == 16, row
    return [[PALETTE[c] for c in row] for row in rows]


# ---------------------------------------------------------------------------------------
# Application icon: a stopwatch with a chequered flag, drawn from shapes


def circle(cx, cy, r):
    return (cx - r, cy - r, cx + r, cy + r), lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_out, r_in):
    return (cx - r_out, cy - r_out, cx + r_out, cy + r_out), lambda x, y: (
        r_in * r_in <= (x - cx) ** 2 + (y - cy) ** 2 <= r_out * r_out
    )


def rect(x0, y0, x1, y1):
    return (x0, y0, x1, y1), lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def segment(x0, y0, x1, y1, half_width):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx - x, y0 + t * dy - y
        return px * px + py * py <= half_width * half_width

    box = (min(x0, x1) - half_width, min(y0, y1) - half_width,
           max(x0, x1) + half_width, max(y0, y1) + half_width)
    return box, inside


def checks(x0, y0, x1, y1, columns, rows):
    w, h = (x1 - x0) / columns, (y1 - y0) / rows

    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        return (int((x - x0) / w) + int((y - y0) / h)) % 2 == 0

    return (x0, y0, x1, y1), inside


OUTLINE = hex_colour("1E2A3A")
STEEL = hex_colour("3566C8")
FACE = hex_colour("FFFFFF")
TICK = hex_colour("3A3A3A")
HAND = hex_colour("E03A2E")
FLAG_WHITE = hex_colour("FFFFFF")
FLAG_BLACK = hex_colour("141414")
POLE = hex_colour("8A5A2B")


def stopwatch_shapes(size):
    """Shapes in unit coordinates, drawn in order. Small sizes get bolder strokes."""
    bold = 1.0 if size >= 48 else (1.35 if size >= 32 else 1.7)
    cx, cy, r = 0.44, 0.56, 0.38
    shapes = [
        # crown and side button
        (rect(cx - 0.07, 0.06, cx + 0.07, 0.13), OUTLINE),
        (rect(cx - 0.05, 0.075, cx + 0.05, 0.115), STEEL),
        (rect(cx - 0.03, 0.12, cx + 0.03, 0.2), OUTLINE),
        (segment(cx + 0.27, cy - 0.33, cx + 0.33, cy - 0.39, 0.05 * bold), OUTLINE),
        (circle(cx, cy, r), OUTLINE),
        (circle(cx, cy, r - 0.025 * bold), STEEL),
        (circle(cx, cy, r - 0.075 * bold), FACE),
    ]
    tick_count = 12 if size >= 32 else 0  # ticks only blur at 16 px
    for i in range(tick_count):
        a = 2 * math.pi * i / tick_count
        outer = r - 0.09 * bold
        inner = outer - (0.07 if i % 3 == 0 else 0.04) * bold
        shapes.append((segment(cx + inner * math.sin(a), cy - inner * math.cos(a),
                               cx + outer * math.sin(a), cy - outer * math.cos(a),
                               0.013 * bold), TICK))
    hand_angle = math.radians(50)
    hand = r - 0.13
    shapes += [
        (segment(cx, cy, cx + hand * math.sin(hand_angle), cy - hand * math.cos(hand_angle),
                 0.022 * bold), HAND),
        (circle(cx, cy, 0.04 * bold), OUTLINE),
    ]
    # chequered flag on a pole at the lower right, over the watch
    fx0, fy0, fx1, fy1 = 0.6, 0.56, 0.97, 0.82
    columns, rows = (4, 3) if size >= 32 else (2, 2)
    edge = 0.022 * bold
    shapes += [
        (segment(fx0, fy0 - 0.02, fx0 - 0.02, 0.98, 0.03 * bold), POLE),
        (rect(fx0 - edge, fy0 - edge, fx1 + edge, fy1 + edge), OUTLINE),
        (rect(fx0, fy0, fx1, fy1), FLAG_WHITE),
        (checks(fx0, fy0, fx1, fy1, columns, rows), FLAG_BLACK),
    ]
    return shapes


def over(dst, src, alpha):
    """Source-over of a colour with coverage alpha (0..1) onto a premultiplied pixel."""
    a = alpha * src[3] / 255.0
    return tuple(dst[i] * (1 - a) + src[i] * a for i in range(3)) + (dst[3] * (1 - a) + a,)


def render(size, shapes, samples):
    image = [[(0.0, 0.0, 0.0, 0.0) for _ in range(size)] for _ in range(size)]
    step = 1.0 / samples
    offsets = [(i + 0.5) * step for i in range(samples)]
    for (box, inside), colour in shapes:
        x_lo = max(0, int(box[0] * size) - 1)
        y_lo = max(0, int(box[1] * size) - 1)
        x_hi = min(size, int(box[2] * size) + 2)
        y_hi = min(size, int(box[3] * size) + 2)
        for py in range(y_lo, y_hi):
            row = image[py]
            for px in range(x_lo, x_hi):
                hits = 0
                for oy in offsets:
                    y = (py + oy) / size
                    for ox in offsets:
                        if inside((px + ox) / size, y):
                            hits += 1
                if hits:
                    row[px] = over(row[px], colour, hits / (samples * samples))
    out = []
    for row in image:
        out_row = []
        for r, g, b, a in row:
            if a <= 0:
                out_row.append((0, 0, 0, 0))
            else:
                out_row.append(tuple(min(255, round(c / a)) for c in (r, g, b))
                               + (round(a * 255),))
        out.append(out_row)
    return out


def main():
    ICON_DIR.mkdir(parents=True, exist_ok=True)
    for name, rows in TOOLBAR.items():
        write_png(ICON_DIR / f"{name}.png", 16, 16, toolbar_icon(rows))
    for size in (16, 32, 48, 256):
        samples = 4 if size >= 256 else 8
        pixels = render(size, stopwatch_shapes(size), samples)
        write_png(ICON_DIR / f"korimet-{size}.png", size, size, pixels)
        if size == 256:
            write_png(PACKAGING_DIR / "korimet.png", size, size, pixels)
    return 0


if __name__ == "__main__":
    sys.exit(main())
