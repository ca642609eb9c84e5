#!/usr/bin/python3
"""Draws the desktop icon of Brisklowan PDF Zerovovor.

Usage: make_icons.py <output dir>

Writes <output>/hicolor/scalable/apps/pdfzerovovor.svg and, rasterised from it by
rsvg-convert, <output>/hicolor/NxN/apps/pdfzerovovor.png for N in 48, 64, 128, 256.

The picture is the theme's application icon (a PDF page with a folded corner and a
gold padlock) in vector form on a 256 unit grid. The "PDF" lettering is turned into
outlines from DejaVu Sans Bold, so the SVG looks the same without that font. The
output depends only on this script, the font and rsvg-convert.
"""

import os
import subprocess
import sys

from fontTools.pens.boundsPen import BoundsPen
from fontTools.pens.svgPathPen import SVGPathPen
from fontTools.pens.transformPen import TransformPen
from fontTools.ttLib import TTFont

SANS_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
SIZES = (48, 64, 128, 256)
NAME = "pdfzerovovor"

# The theme's palette (make_theme.py).
NAVY = "#183252"
PAGE = "#ffffff"
FOLD = "#c8d6e8"
BAND = "#c94040"
RULE = "#aabace"
GOLD = "#f2aa3c"
GOLD_EDGE = "#b57f2d"
SHACKLE = "#788496"


def text_path(text, font_path, size, box):
    """SVG path data of text set in the font at size, centred in box (x0, y0, x1, y1)."""
    font = TTFont(font_path)
    glyphs = font.getGlyphSet()
    cmap = font.getBestCmap()
    scale = size / font["head"].unitsPerEm
    names = [cmap[ord(ch)] for ch in text]

    # First pass: the ink's extent in font units, to centre it.
    bounds = BoundsPen(glyphs)
    advance = 0
    for name in names:
        glyphs[name].draw(TransformPen(bounds, (1, 0, 0, 1, advance, 0)))
        advance += glyphs[name].width
    xmin, ymin, xmax, ymax = bounds.bounds
    x0, y0, x1, y1 = box
    dx = (x0 + x1) / 2 - (xmin + xmax) / 2 * scale
    dy = (y0 + y1) / 2 + (ymin + ymax) / 2 * scale  # font y grows upwards

    pen = SVGPathPen(glyphs, ntos=lambda v: ("%.2f" % v).rstrip("0").rstrip("."))
    advance = 0
    for name in names:
        glyphs[name].draw(TransformPen(pen, (scale, 0, 0, -scale, dx + advance * scale, dy)))
        advance += glyphs[name].width
    return pen.getCommands()


def lock(x, y, s):
    """The padlock in a square of edge s at (x, y), as SVG elements."""
    w = s * 0.62
    left = x + (s - w) / 2
    shackle = s * 0.09
    return [
        '<rect x="%.2f" y="%.2f" width="%.2f" height="%.2f" rx="%.2f" fill="none" '
        'stroke="%s" stroke-width="%.2f"/>'
        % (left + w * 0.18 + shackle / 2, y + s * 0.08 + shackle / 2, w * 0.64 - shackle,
           s * 0.54 - shackle, w * 0.32 - shackle / 2, SHACKLE, shackle),
        '<rect x="%.2f" y="%.2f" width="%.2f" height="%.2f" rx="%.2f" fill="%s" stroke="%s" '
        'stroke-width="%.2f"/>'
        % (left, y + s * 0.42, w, s * 0.52, s * 0.08, GOLD, GOLD_EDGE, s * 0.03),
        '<circle cx="%.2f" cy="%.2f" r="%.2f" fill="%s"/>' % (x + s / 2, y + s * 0.64, s * 0.06,
                                                              NAVY),
        '<rect x="%.2f" y="%.2f" width="%.2f" height="%.2f" fill="%s"/>'
        % (x + s / 2 - s * 0.025, y + s * 0.66, s * 0.05, s * 0.16, NAVY),
    ]


def icon_svg():
    left, top, right, bottom, fold = 40, 14, 196, 230, 48
    outline = "%d,%d %d,%d %d,%d %d,%d %d,%d" % (left, top, right - fold, top, right, top + fold,
                                                 right, bottom, left, bottom)
    band = (left + 5, 70, right - 40, 118)
    parts = [
        '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" '
        'viewBox="0 0 256 256">',
        '<polygon points="%s" fill="%s" stroke="%s" stroke-width="10" '
        'stroke-linejoin="round"/>' % (outline, PAGE, NAVY),
        '<polygon points="%d,%d %d,%d %d,%d" fill="%s"/>' % (right - fold, top, right - fold,
                                                             top + fold, right, top + fold, FOLD),
        '<rect x="%d" y="%d" width="%d" height="%d" fill="%s"/>' % (band[0], band[1],
                                                                    band[2] - band[0],
                                                                    band[3] - band[1], BAND),
        '<path d="%s" fill="%s"/>' % (text_path("PDF", SANS_BOLD, 40, band), PAGE),
    ]
    for y in (140, 162):
        parts.append('<line x1="%d" y1="%d" x2="%d" y2="%d" stroke="%s" stroke-width="8"/>'
                     % (left + 22, y, right - 80, y, RULE))
    parts += lock(118, 118, 132)
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    hicolor = os.path.join(argv[1], "hicolor")
    scalable = os.path.join(hicolor, "scalable", "apps")
    os.makedirs(scalable, exist_ok=True)
    svg = os.path.join(scalable, NAME + ".svg")
    with open(svg, "w", encoding="utf-8") as f:
        f.write(icon_svg())
    for size in SIZES:
        folder = os.path.join(hicolor, "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        png = os.path.join(folder, NAME + ".png")
        subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), "-o", png + ".part",
                        svg], check=True)
        os.replace(png + ".part", png)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
