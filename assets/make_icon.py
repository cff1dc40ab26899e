#!/usr/bin/python3
"""Draws the window icon: a white sheet with its top-right corner folded over,
outlined in black, bearing a large black serif capital A.

Writes OUTPUT_DIR/tonquill-<size>.png for each icon-theme size. Needs
python3-pil and the Debian package fonts-dejavu-core.

Usage: make_icon.py OUTPUT_DIR
"""

import os
import sys

from PIL import Image, ImageDraw, ImageFont

SIZES = (16, 32, 48, 64, 128)
SERIF_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"
WHITE = (255, 255, 255, 255)
BLACK = (0, 0, 0, 255)
FOLD_SHADE = (208, 208, 208, 255)


def sheet_geometry(size):
    """Left, top, right and bottom of the sheet and the length of the fold, in pixels."""
    left = round(size * 0.125)
    right = size - 1 - left
    top, bottom = 0, size - 1
    fold = max(3, round(size * 0.25))
    return left, top, right, bottom, fold


def draw_sheet(draw, size):
    left, top, right, bottom, fold = sheet_geometry(size)
    line = max(1, round(size / 32))
    outline = [
        (left, top),
        (right - fold, top),
        (right, top + fold),
        (right, bottom),
        (left, bottom),
    ]
    draw.polygon(outline, fill=WHITE, outline=BLACK, width=line)
    flap = [(right - fold, top), (right - fold, top + fold), (right, top + fold)]
    draw.polygon(flap, fill=FOLD_SHADE, outline=BLACK, width=line)


def draw_letter(draw, size):
    left, top, right, bottom, fold = sheet_geometry(size)
    font = ImageFont.truetype(SERIF_BOLD, round(size * 0.62))
    if size <= 16:
        draw.fontmode = "1"  # grey edges smear a letter only ten pixels high
    x0, y0, x1, y1 = draw.textbbox((0, 0), "A", font=font)
    # Centred below the fold, so the corner stays clear of the letter.
    room_top = top + fold
    x = (left + right + 1 - (x1 - x0)) / 2 - x0
    y = (room_top + bottom + 1 - (y1 - y0)) / 2 - y0
    draw.text((x, y), "A", font=font, fill=BLACK)


def make_icon(size):
    icon = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    draw = ImageDraw.Draw(icon)
    draw_sheet(draw, size)
    draw_letter(draw, size)
    return icon


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__.strip().splitlines()[-1] + "\n")
        return 2
    os.makedirs(argv[1], exist_ok=True)
    for size in SIZES:
        make_icon(size).save(os.path.join(argv[1], f"tonquill-{size}.png"), optimize=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
