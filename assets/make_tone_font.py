#!/usr/bin/python3
"""Builds the tone font pyserif.ttf from DejaVu Serif.

The editor stores each tone-marked vowel as one code page 1252 byte, so the font
draws, at those bytes, the standard tone letters of DejaVu Serif instead of the
Latin-1 characters that normally live there. Printable ASCII stays as it is.

Usage: make_tone_font.py SOURCE_TTF OUTPUT_TTF
"""

import os
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

FAMILY = "Vantor's PinYin Serif"
STYLE = "Regular"
POSTSCRIPT_NAME = "VantorsPinYinSerif-Regular"
MANUFACTURER = "Tonquill"
DESCRIPTION = (
    "Pinyin tone-mark font for Tonquill. It draws the tone-marked vowels at "
    "code page 1252 bytes 0xA2 to 0xFC; its outlines come from DejaVu Serif."
)

# Any fixed instant keeps the output byte-identical from run to run; this one is
# 2024-01-01T00:00:00Z in seconds since 1904-01-01, the epoch of the head table.
FIXED_TIMESTAMP = 3786825600

# Each tone vowel with its four glyph codes and, position by position, the
# standard letter that the code stands for (tones 1 to 4: macron, acute, caron,
# grave). The row of y draws u with diaeresis and the four marks, as pinyin does.
TONE_ROWS = [
    ("a", (0xE1, 0xE0, 0xE2, 0xE4), "\u0101\u00e1\u01ce\u00e0"),
    ("e", (0xE3, 0xE5, 0xE7, 0xE9), "\u0113\u00e9\u011b\u00e8"),
    ("o", (0xEE, 0xEF, 0xF1, 0xF3), "\u014d\u00f3\u01d2\u00f2"),
    ("i", (0xEA, 0xEB, 0xED, 0xEC), "\u012b\u00ed\u01d0\u00ec"),
    ("u", (0xF2, 0xF4, 0xF6, 0xF5), "\u016b\u00fa\u01d4\u00f9"),
    ("y", (0xFA, 0xF9, 0xFB, 0xFC), "\u01d6\u01d8\u01da\u01dc"),
    ("A", (0xA2, 0xC1, 0xA7, 0xC0), "\u0100\u00c1\u01cd\u00c0"),
    ("E", (0xB6, 0xC9, 0xAE, 0xC8), "\u0112\u00c9\u011a\u00c8"),
    ("I", (0xB4, 0xCD, 0xCF, 0xCC), "\u012a\u00cd\u01cf\u00cc"),
    ("U", (0xAA, 0xDA, 0xB5, 0xD9), "\u016a\u00da\u01d3\u00d9"),
    ("O", (0xD8, 0xD3, 0xB1, 0xD2), "\u014c\u00d3\u01d1\u00d2"),
]

PRINTABLE_ASCII = range(0x20, 0x7F)

# Name records that identify the font are written anew; of the others only the
# copyright, licence and licence URL stay, as the Bitstream Vera licence requires
# them in every copy. The subsetter already drops the legacy Mac records.
KEPT_NAME_IDS = {0, 13, 14}

# Bit 0 of ulCodePageRange1: the font is meant for code page 1252.
LATIN1_CODE_PAGE_BIT = 1 << 0


def tone_code_points():
    """Maps each glyph code to the Unicode letter drawn there."""
    mapping = {}
    for vowel, codes, letters in TONE_ROWS:
        if len(codes) != 4 or len(letters) != 4:
            raise ValueError(f"row {vowel} must hold four codes and four letters")
        for code, letter in zip(codes, letters):
            if code in mapping:
                raise ValueError(f"glyph code {code:#04x} is used twice")
            mapping[code] = ord(letter)
    return mapping


def subset_to_needed_glyphs(font, tone_map):
    options = subset.Options()
    options.layout_features = ["kern"]
    options.drop_tables += ["FFTM", "MATH"]
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.notdef_outline = True
    options.glyph_names = True
    options.recalc_timestamp = False
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=list(PRINTABLE_ASCII) + list(tone_map.values()))
    subsetter.subset(font)


def remap_cmap(font, tone_map):
    source = font.getBestCmap()
    mapping = {code: source[code] for code in PRINTABLE_ASCII if code in source}
    missing = [f"U+{cp:04X}" for cp in tone_map.values() if cp not in source]
    if missing:
        raise ValueError("source font lacks " + ", ".join(missing))
    mapping.update({code: source[cp] for code, cp in tone_map.items()})

    cmap = font["cmap"]
    # Mac Roman puts other characters at the high bytes, so only Unicode
    # subtables can say what these codes mean.
    cmap.tables = [t for t in cmap.tables if (t.platformID, t.platEncID) in ((0, 3), (3, 1))]
    for table in cmap.tables:
        table.cmap = dict(mapping)


def rename(font):
    name = font["name"]
    version = name.getDebugName(5)
    unique_id = f"{FAMILY} {STYLE}; {version}" if version else f"{FAMILY} {STYLE}"
    name.names = [n for n in name.names if n.nameID in KEPT_NAME_IDS]
    for name_id, text in (
        (1, FAMILY),
        (2, STYLE),
        (3, unique_id),
        (4, FAMILY),
        (6, POSTSCRIPT_NAME),
        (8, MANUFACTURER),
        (10, DESCRIPTION),
    ):
        name.setName(text, name_id, 3, 1, 0x409)
    if version:
        name.setName(version, 5, 3, 1, 0x409)
    name.names.sort(key=lambda n: (n.platformID, n.platEncID, n.langID, n.nameID))


def update_tables(font):
    os2 = font["OS/2"]
    codes = font.getBestCmap().keys()
    os2.usFirstCharIndex = min(codes)
    os2.usLastCharIndex = max(codes)
    os2.recalcUnicodeRanges(font)
    os2.ulCodePageRange1 = LATIN1_CODE_PAGE_BIT
    os2.ulCodePageRange2 = 0
    os2.usWeightClass = 400
    os2.fsSelection = (os2.fsSelection & ~0b1100001) | 0b1000000  # regular, not italic or bold
    font["head"].macStyle = 0
    font["head"].created = FIXED_TIMESTAMP
    font["head"].modified = FIXED_TIMESTAMP


def build(source_path, output_path):
    tone_map = tone_code_points()
    font = TTFont(source_path, recalcTimestamp=False)
    subset_to_needed_glyphs(font, tone_map)
    remap_cmap(font, tone_map)
    rename(font)
    update_tables(font)

    # A half-written font in the program folder would pass for a finished one.
    partial = output_path + ".part"
    font.save(partial)
    os.replace(partial, output_path)


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__.strip().splitlines()[-1] + "\n")
        return 2
    try:
        build(argv[1], argv[2])
    except (OSError, ValueError) as error:
        sys.stderr.write(f"make_tone_font: {error}\n")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
