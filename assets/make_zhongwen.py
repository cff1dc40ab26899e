#!/usr/bin/python3
"""Draws zhongwen.gif, the pale tile that covers the main window's background.

The characters 中 and 文 are drawn as plain brush-like strokes (no CJK font is
needed), a shade darker than the paper, so that red labels and black text on
grey controls stay readable where the tile shows through. Needs python3-pil.

Usage: make_zhongwen.py OUTPUT_GIF
"""

import random
import sys

from PIL import Image, ImageDraw

WIDTH, HEIGHT = 49, 57  # 735 x 855 twips at 15 twips a pixel
SCALE = 8  # drawn large and reduced, so the strokes get soft edges
PAPER = (249, 245, 232)
FIBRE = (240, 234, 216)
INK = (224, 212, 186)
STROKE = 2.4  # stroke width in tile pixels
SEED = 1252  # fixed, so the paper grain is the same on every run

# Strokes in tile pixels, each a polyline; 中 sits above 文, both centred.
ZHONG = [
    [(14, 8), (14, 21)],  # left side of the box
    [(14, 8), (35, 8), (35, 21)],  # top and right side
    [(14, 20), (35, 20)],  # bottom of the box
    [(24.5, 3), (24.5, 27)],  # the stroke through the middle
]
WEN = [
    [(23, 30), (26, 33)],  # dot
    [(11, 36), (38, 36)],  # horizontal
    [(32, 37), (26, 45), (13, 53)],  # falling to the left
    [(17, 38), (25, 47), (37, 53)],  # falling to the right
]


def scaled(points):
    return [(x * SCALE, y * SCALE) for x, y in points]


def draw_grain(draw, rng):
    for _ in range(70):
        x = rng.uniform(0, WIDTH) * SCALE
        y = rng.uniform(0, HEIGHT) * SCALE
        length = rng.uniform(1.5, 4.0) * SCALE
        draw.line([(x, y), (x + length, y + rng.uniform(-0.6, 0.6) * SCALE)], fill=FIBRE, width=SCALE // 2)


def draw_strokes(draw, strokes):
    width = round(STROKE * SCALE)
    for stroke in strokes:
        points = scaled(stroke)
        draw.line(points, fill=INK, width=width, joint="curve")
        for x, y in (points[0], points[-1]):
            r = width / 2
            draw.ellipse([x - r, y - r, x + r, y + r], fill=INK)


def make_tile():
    large = Image.new("RGB", (WIDTH * SCALE, HEIGHT * SCALE), PAPER)
    draw = ImageDraw.Draw(large)
    draw_grain(draw, random.Random(SEED))
    draw_strokes(draw, ZHONG + WEN)
    tile = large.resize((WIDTH, HEIGHT), Image.Resampling.LANCZOS)
    return tile.quantize(colors=32, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__.strip().splitlines()[-1] + "\n")
        return 2
    make_tile().save(argv[1], format="GIF", optimize=False)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
