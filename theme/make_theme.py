#!/usr/bin/python3
"""Draws every picture of the Brisklowan PDF Zerovovor theme and packs the theme.

Usage: make_theme.py <stage dir> <theme source dir> [<language>=<catalogue.mo> ...]

Writes <stage>/Themes/default.zip (the pictures under image/..., each as name.png
at 1x and name@2x.png at twice the size for 2x displays) and copies face.xml and
option.cfg beside it. The desktop icons come from make_icons.py.

Pictures that carry words (buttons, menu titles, the captions of the face) are drawn
again for each language whose catalogue is given, with the catalogue's words, and
stored under i18n/<language>/image/...; the program takes those first when it speaks
that language. Their texts are marked _() and C_() for po/update-pot.sh.

Every drawing function takes the scale s (1 or 2) and works in the pixels of that
scale: sizes, positions, line widths and font sizes are the 1x values times s, so
the 2x pictures are drawn, not stretched, and the layout stays in 1x pixels.

The output depends only on this script, the catalogues, Pillow, the DejaVu fonts and
Noto Sans CJK (for Chinese words): no time stamps, no random numbers, archive entries
in a fixed order.
"""

import gettext
import io
import os
import shutil
import sys
import zipfile

from PIL import Image, ImageDraw, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/dejavu"
SANS = os.path.join(FONT_DIR, "DejaVuSans.ttf")
SANS_BOLD = os.path.join(FONT_DIR, "DejaVuSans-Bold.ttf")
# Words in Chinese characters: DejaVu has none. Face 2 of the collection is the
# simplified Chinese one.
CJK_DIR = "/usr/share/fonts/opentype/noto"
CJK_FACES = {SANS: (os.path.join(CJK_DIR, "NotoSansCJK-Regular.ttc"), 2),
             SANS_BOLD: (os.path.join(CJK_DIR, "NotoSansCJK-Bold.ttc"), 2)}

# The catalogue the words are taken from; English (the texts themselves) by default.
CATALOGUE = gettext.NullTranslations()


def _(text):
    return CATALOGUE.gettext(text)


def C_(context, text):
    """A word whose translation depends on where it stands, as "Stop" on a button
    and "Stop" in a status cell."""
    return CATALOGUE.pgettext(context, text)

# One palette for the whole product: deep navy chrome, a cool light body, white
# cards, a blue accent, green for go and red for stop.
NAVY_TOP = (36, 72, 112)
NAVY_BOTTOM = (24, 50, 82)
NAVY_LINE = (16, 36, 62)
BODY = (233, 238, 244)
BODY_SHADE = (222, 229, 237)
CARD = (250, 251, 253)
CARD_EDGE = (190, 202, 216)
CARD_SHADOW = (210, 218, 228)
ACCENT = (45, 125, 210)
ACCENT_DARK = (30, 96, 170)
ACCENT_LIGHT = (92, 160, 232)
TEXT_DARK = (38, 52, 70)
TEXT_SOFT = (96, 104, 118)
GO = (46, 158, 91)
GO_DARK = (34, 122, 70)
GO_LIGHT = (70, 184, 116)
HALT = (201, 64, 64)
HALT_DARK = (160, 44, 44)
HALT_LIGHT = (224, 92, 92)
GOLD = (242, 170, 60)
WHITE = (255, 255, 255)
MASK = (255, 0, 255)  # never used inside a picture: marks the outside of a shape

SS = 4  # supersampling factor for anti-aliased shapes

# Face geometry: the main window's children sit at fixed rectangles of this picture.
FACE_W, FACE_H = 745, 620
PANE_Y, PANE_H = 250, 280


def needs_cjk(text):
    return any(ord(ch) >= 0x2E80 for ch in text)


def font(path, size, text=""):
    """The face at path, or its Chinese counterpart when text holds Chinese."""
    if needs_cjk(text):
        cjk, index = CJK_FACES[path]
        if not os.path.exists(cjk):
            sys.exit("make_theme.py: %s is missing (fonts-noto-cjk): it draws the Chinese "
                     "words" % cjk)
        return ImageFont.truetype(cjk, size, index=index)
    return ImageFont.truetype(path, size)


def vertical_gradient(size, top, bottom):
    width, height = size
    image = Image.new("RGBA", size)
    draw = ImageDraw.Draw(image)
    for y in range(height):
        t = y / max(1, height - 1)
        colour = tuple(round(top[i] + (bottom[i] - top[i]) * t) for i in range(3))
        draw.line([(0, y), (width - 1, y)], fill=colour + (255,))
    return image


def rounded_mask(size, radius, inset=0):
    """Anti-aliased mask of a rounded rectangle filling size, drawn supersampled."""
    width, height = size
    big = Image.new("L", (width * SS, height * SS), 0)
    ImageDraw.Draw(big).rounded_rectangle(
        [inset * SS, inset * SS, (width - inset) * SS - 1, (height - inset) * SS - 1],
        radius=radius * SS, fill=255)
    return big.resize(size, Image.LANCZOS)


def paste_rounded(target, box, radius, fill, outline=None, line=1):
    """Draws a filled, optionally outlined (line pixels wide), anti-aliased rounded
    rectangle."""
    x0, y0, x1, y1 = box
    size = (x1 - x0, y1 - y0)
    if outline is not None:
        target.paste(Image.new("RGBA", size, outline + (255,)), (x0, y0), rounded_mask(size, radius))
        inner = (size[0] - 2 * line, size[1] - 2 * line)
        layer = fill if isinstance(fill, Image.Image) else Image.new("RGBA", inner, fill + (255,))
        if layer.size != inner:
            layer = layer.resize(inner)
        target.paste(layer, (x0 + line, y0 + line), rounded_mask(inner, max(1, radius - line)))
    else:
        layer = fill if isinstance(fill, Image.Image) else Image.new("RGBA", size, fill + (255,))
        target.paste(layer, (x0, y0), rounded_mask(size, radius))


def text_centered(draw, box, text, fnt, fill):
    x0, y0, x1, y1 = box
    left, top, right, bottom = draw.textbbox((0, 0), text, font=fnt)
    x = x0 + (x1 - x0 - (right - left)) // 2 - left
    y = y0 + (y1 - y0 - (bottom - top)) // 2 - top
    draw.text((x, y), text, font=fnt, fill=fill)


def hline(draw, x0, x1, y, fill, s):
    """A horizontal line from x0 to x1 (1x pixels, both included) at row y, s pixels
    thick."""
    draw.rectangle([x0 * s, y * s, x1 * s + s - 1, y * s + s - 1], fill=fill)


def binary_shape(image, radius):
    """Cuts image to a rounded outline: outside pixels become fully transparent mask
    colour, inside pixels fully opaque, so the toolkit reads a mask, not an alpha
    ramp."""
    mask = rounded_mask(image.size, radius).point(lambda v: 255 if v >= 128 else 0)
    outside = Image.new("RGBA", image.size, MASK + (0,))
    opaque = image.copy()
    opaque.putalpha(255)
    return Image.composite(opaque, outside, mask)


# ---------------------------------------------------------------------------
# Icons


def draw_lock(size, body=GOLD, shackle=(120, 132, 150)):
    """A padlock, drawn supersampled; size is the square edge."""
    s = size * SS
    img = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    w = s * 0.62
    x0 = (s - w) / 2
    d.rounded_rectangle([x0 + w * 0.18, s * 0.08, x0 + w * 0.82, s * 0.62], radius=w * 0.32,
                        outline=shackle + (255,), width=max(1, int(s * 0.09)))
    d.rounded_rectangle([x0, s * 0.42, x0 + w, s * 0.94], radius=s * 0.08,
                        fill=body + (255,), outline=tuple(int(c * 0.75) for c in body) + (255,),
                        width=max(1, int(s * 0.03)))
    d.ellipse([s / 2 - s * 0.06, s * 0.58, s / 2 + s * 0.06, s * 0.70], fill=NAVY_BOTTOM + (255,))
    d.rectangle([s / 2 - s * 0.025, s * 0.66, s / 2 + s * 0.025, s * 0.82], fill=NAVY_BOTTOM + (255,))
    return img.resize((size, size), Image.LANCZOS)


def draw_app_icon(size):
    """A PDF page with a folded corner and a gold padlock over its lower right."""
    s = 256
    img = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    page = [40, 14, 196, 230]
    fold = 48
    d.polygon([(page[0], page[1]), (page[2] - fold, page[1]), (page[2], page[1] + fold),
               (page[2], page[3]), (page[0], page[3])], fill=WHITE + (255,),
              outline=NAVY_BOTTOM + (255,))
    d.line([(page[0], page[1]), (page[2] - fold, page[1]), (page[2], page[1] + fold),
            (page[2], page[3]), (page[0], page[3]), (page[0], page[1])],
           fill=NAVY_BOTTOM + (255,), width=10, joint="curve")
    d.polygon([(page[2] - fold, page[1]), (page[2] - fold, page[1] + fold),
               (page[2], page[1] + fold)], fill=(200, 214, 232, 255))
    # red PDF band
    d.rectangle([page[0] + 5, 70, page[2] - 40, 118], fill=HALT + (255,))
    f = font(SANS_BOLD, 40)
    text_centered(d, (page[0] + 5, 70, page[2] - 40, 118), "PDF", f, WHITE)
    for y in (140, 162):
        d.line([(page[0] + 22, y), (page[2] - 80, y)], fill=(170, 186, 206, 255), width=8)
    lock = draw_lock(132).resize((132, 132), Image.LANCZOS)
    img.alpha_composite(lock, (118, 118))
    return img.resize((size, size), Image.LANCZOS)


def draw_delete_icon(size):
    s = size * SS
    img = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    d.ellipse([s * 0.06, s * 0.06, s * 0.94, s * 0.94], fill=HALT + (255,))
    w = max(1, int(s * 0.13))
    d.line([(s * 0.32, s * 0.32), (s * 0.68, s * 0.68)], fill=WHITE + (255,), width=w)
    d.line([(s * 0.68, s * 0.32), (s * 0.32, s * 0.68)], fill=WHITE + (255,), width=w)
    return img.resize((size, size), Image.LANCZOS)


def glyph_layer(size, painter, s=1):
    """Runs painter(draw, scale) on a supersampled transparent layer of size (1x
    pixels) drawn at scale s; painter works in 1x units times scale."""
    w, h = size
    img = Image.new("RGBA", (w * s * SS, h * s * SS), (0, 0, 0, 0))
    painter(ImageDraw.Draw(img), SS * s)
    return img.resize((w * s, h * s), Image.LANCZOS)


def glyph_plus(colour):
    def paint(d, k):
        d.rectangle([7 * k, 2 * k, 9 * k - 1, 14 * k - 1], fill=colour + (255,))
        d.rectangle([2 * k, 7 * k, 14 * k - 1, 9 * k - 1], fill=colour + (255,))
    return paint


def glyph_minus_doc(colour):
    def paint(d, k):
        d.rounded_rectangle([3 * k, 1 * k, 13 * k, 15 * k], radius=1.5 * k,
                            outline=colour + (255,), width=int(1.6 * k))
        d.rectangle([5 * k, 7 * k, 11 * k, 9 * k - 1], fill=colour + (255,))
    return paint


def glyph_broom(colour):
    def paint(d, k):
        d.rounded_rectangle([2 * k, 3 * k, 14 * k, 14 * k], radius=1.5 * k,
                            outline=colour + (255,), width=int(1.6 * k))
        d.line([(5 * k, 6 * k), (11 * k, 12 * k)], fill=colour + (255,), width=int(1.8 * k))
        d.line([(11 * k, 6 * k), (5 * k, 12 * k)], fill=colour + (255,), width=int(1.8 * k))
        d.rectangle([6 * k, 1 * k, 10 * k, 3 * k], fill=colour + (255,))
    return paint


def glyph_folder(colour):
    def paint(d, k):
        d.polygon([(1 * k, 3 * k), (6 * k, 3 * k), (8 * k, 5 * k), (15 * k, 5 * k),
                   (15 * k, 14 * k), (1 * k, 14 * k)], fill=colour + (255,))
    return paint


def glyph_open(colour):
    def paint(d, k):
        d.rounded_rectangle([1 * k, 3 * k, 12 * k, 14 * k], radius=1.5 * k,
                            outline=colour + (255,), width=int(1.6 * k))
        d.line([(7 * k, 8 * k), (15 * k, 0)], fill=colour + (255,), width=int(1.8 * k))
        d.polygon([(10 * k, 0), (16 * k, 0), (16 * k, 6 * k)], fill=colour + (255,))
    return paint


def glyph_play(colour):
    def paint(d, k):
        d.polygon([(3 * k, 1 * k), (15 * k, 8 * k), (3 * k, 15 * k)], fill=colour + (255,))
    return paint


def glyph_square(colour):
    def paint(d, k):
        d.rounded_rectangle([2 * k, 2 * k, 14 * k, 14 * k], radius=2 * k, fill=colour + (255,))
    return paint


# ---------------------------------------------------------------------------
# Buttons


def check_fits(label, needed, width, s):
    """A word the button cannot hold stops the build: cut off in a picture, no test
    of the window would see it. The fix is a shorter translation or a wider button."""
    if needed + 8 * s > width:
        sys.exit("make_theme.py: \"%s\" needs %d pixels, its button has %d (with a margin "
                 "of 4 on each side)" % (label, needed // s, width // s))


def state_button(size, label, glyph, state, base, dark, light, text_colour=WHITE, radius=6,
                 font_size=12, s=1):
    """A rounded push button: normal is a soft gradient, current (mouse over) is
    lighter with a glow edge, pressed is darker and shifted one pixel down."""
    w, h = size[0] * s, size[1] * s
    radius *= s
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    if state == "normal":
        top, bottom, edge = light, base, dark
    elif state == "current":
        top = tuple(min(255, c + 28) for c in light)
        bottom = tuple(min(255, c + 18) for c in base)
        edge = base
    else:
        top, bottom, edge = dark, base, tuple(int(c * 0.7) for c in dark)
    paste_rounded(img, (0, 0, w, h), radius,
                  vertical_gradient((w - 2 * s, h - 2 * s), top, bottom), outline=edge, line=s)
    if state != "pressed":
        # top highlight line
        hl = ImageDraw.Draw(img)
        hl.rectangle([radius, s, w - radius - 1, 2 * s - 1], fill=(255, 255, 255, 70))
    shift = s if state == "pressed" else 0
    d = ImageDraw.Draw(img)
    fnt = font(SANS_BOLD, font_size * s, label)
    left, top_, right, bottom_ = d.textbbox((0, 0), label, font=fnt)
    text_w = right - left
    gap = 7 * s if glyph else 0
    glyph_w = 16 * s if glyph else 0
    total = glyph_w + gap + text_w
    check_fits(label, total, w, s)
    x = (w - total) // 2
    if glyph:
        img.alpha_composite(glyph_layer((16, 16), glyph(text_colour), s),
                            (x, (h - 16 * s) // 2 + shift))
    ty = (h - (bottom_ - top_)) // 2 - top_ + shift
    d.text((x + glyph_w + gap - left, ty), label, font=fnt, fill=text_colour + (255,))
    return img


def light_button(size, label, glyph, state, s=1):
    """Buttons on the light body (tool bar, output strip): white face, blue text;
    mouse over turns the face pale blue, pressed turns it solid blue."""
    w, h = size[0] * s, size[1] * s
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    inner = (w - 2 * s, h - 2 * s)
    if state == "normal":
        face, edge, ink = vertical_gradient(inner, WHITE, (236, 241, 247)), CARD_EDGE, ACCENT_DARK
    elif state == "current":
        face, edge, ink = vertical_gradient(inner, (235, 244, 255), (212, 230, 252)), ACCENT_LIGHT, ACCENT_DARK
    else:
        face, edge, ink = vertical_gradient(inner, ACCENT_DARK, ACCENT), ACCENT_DARK, WHITE
    paste_rounded(img, (0, 0, w, h), 5 * s, face, outline=edge, line=s)
    shift = s if state == "pressed" else 0
    d = ImageDraw.Draw(img)
    fnt = font(SANS_BOLD, 12 * s, label)
    left, top_, right, bottom_ = d.textbbox((0, 0), label, font=fnt)
    total = 16 * s + 7 * s + (right - left)
    check_fits(label, total, w, s)
    x = (w - total) // 2
    img.alpha_composite(glyph_layer((16, 16), glyph(ink), s), (x, (h - 16 * s) // 2 + shift))
    d.text((x + 23 * s - left, (h - (bottom_ - top_)) // 2 - top_ + shift), label, font=fnt,
           fill=ink + (255,))
    return img


def plain_button(size, state, s=1):
    """A light button without words, for labels the program draws over it (so they
    can be translated): the face of the light buttons, state for state."""
    w, h = size[0] * s, size[1] * s
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    inner = (w - 2 * s, h - 2 * s)
    if state == "normal":
        face, edge = vertical_gradient(inner, WHITE, (236, 241, 247)), CARD_EDGE
    elif state == "current":
        face, edge = vertical_gradient(inner, (235, 244, 255), (212, 230, 252)), ACCENT_LIGHT
    else:
        face, edge = vertical_gradient(inner, ACCENT_DARK, ACCENT), ACCENT_DARK
    paste_rounded(img, (0, 0, w, h), 5 * s, face, outline=edge, line=s)
    return img


def title_button(kind, state, size=(28, 20), s=1):
    """Close and minimize of the title bars: a white glyph on nothing; mouse over
    shows a tinted plate (red for close), pressed a darker one."""
    w, h = size
    img = Image.new("RGBA", (w * s, h * s), (0, 0, 0, 0))
    if state != "normal":
        if kind == "close":
            plate = HALT_LIGHT if state == "current" else HALT_DARK
        else:
            plate = (70, 110, 156) if state == "current" else (18, 40, 66)
        paste_rounded(img, (0, 0, w * s, h * s), 4 * s, plate)

    def paint(d, k):
        cx, cy = w / 2 * k, h / 2 * k
        lw = int(1.7 * k)
        if kind == "close":
            r = 4.5 * k
            d.line([(cx - r, cy - r), (cx + r, cy + r)], fill=WHITE + (255,), width=lw)
            d.line([(cx + r, cy - r), (cx - r, cy + r)], fill=WHITE + (255,), width=lw)
        else:
            d.line([(cx - 5 * k, cy + 3 * k), (cx + 5 * k, cy + 3 * k)], fill=WHITE + (255,),
                   width=lw)
    img.alpha_composite(glyph_layer(size, paint, s))
    return img


def menu_button(label, state, size, s=1):
    """Menu bar entries: white text on the navy strip; pressed (also shown while the
    pointer is over it) puts a lighter plate behind the text."""
    w, h = size[0] * s, size[1] * s
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    if state == "pressed":
        paste_rounded(img, (0, 0, w, h), 4 * s, (74, 116, 164), outline=(104, 146, 194), line=s)
    d = ImageDraw.Draw(img)
    text_centered(d, (0, 0, w, h), label, font(SANS, 12 * s, label), WHITE + (255,))
    return img


# ---------------------------------------------------------------------------
# The face of the main window


def card(img, box, radius=6, fill=CARD, s=1):
    x0, y0, x1, y1 = (v * s for v in box)
    paste_rounded(img, (x0 + s, y0 + 2 * s, x1 + s, y1 + 2 * s), radius * s, CARD_SHADOW)
    paste_rounded(img, (x0, y0, x1, y1), radius * s, fill, outline=CARD_EDGE, line=s)


def section_caption(draw, x, y, text, width, s=1):
    fnt = font(SANS_BOLD, 11 * s, text)
    draw.text((x * s, y * s), text, font=fnt, fill=ACCENT_DARK + (255,))
    left, top, right, bottom = draw.textbbox((x * s, y * s), text, font=fnt)
    line_y = (top + bottom) // 2 + s
    draw.rectangle([right + 8 * s, line_y, (x + width) * s + s - 1, line_y + s - 1],
                   fill=CARD_EDGE + (255,))


def scaled_box(box, s):
    """An inclusive pixel rectangle of 1x coordinates as it covers pixels at scale s."""
    x0, y0, x1, y1 = box
    return [x0 * s, y0 * s, x1 * s + s - 1, y1 * s + s - 1]


def draw_face(s=1):
    W, H = FACE_W, FACE_H
    img = vertical_gradient((W * s, H * s), BODY, BODY_SHADE)
    d = ImageDraw.Draw(img)

    # Chrome: title bar (0..30) and menu strip (29..48) share one navy band.
    band = vertical_gradient((W * s, 50 * s), NAVY_TOP, NAVY_BOTTOM)
    img.paste(band, (0, 0))
    hline(d, 0, W, 50, NAVY_LINE + (255,), s)
    hline(d, 0, W, 51, (255, 255, 255, 90), s)

    # File list at (15, 55) W-153 x 172: a frame one pixel outside the panel.
    list_box = (15, 55, W - 138, 227)
    d.rectangle(scaled_box((list_box[0] - 2, list_box[1] - 2, list_box[2] + 1, list_box[3] + 2), s),
                fill=CARD_SHADOW + (255,))
    d.rectangle(scaled_box((list_box[0] - 1, list_box[1] - 1, list_box[2], list_box[3] + 1), s),
                outline=CARD_EDGE + (255,), fill=WHITE + (255,), width=s)

    # Tool bar at (W-138, 55) 128 x 172: a light card behind the three buttons.
    card(img, (W - 138, 55, W - 10, 227), radius=6, fill=(243, 246, 250), s=s)

    # Security options pane at (0, 250) W x 280, captioned just above it.
    section_caption(d, 16, 232, _("Security Settings"), W - 32, s)
    card(img, (10, PANE_Y, W - 10, PANE_Y + PANE_H - 2), s=s)
    # Captions between the pane's rows: the password rows end at y 64 and the
    # level rows start at 102; the level rows end near 152 and the permissions
    # start at 192 (pane coordinates).
    section_caption(d, 30, PANE_Y + 74, _("Encryption Level"), W - 70, s)
    section_caption(d, 30, PANE_Y + 164, _("Permissions"), W - 70, s)

    # Output folder strip at (10, H-82) 570 x 76 and start area at (580, H-65).
    card(img, (10, H - 80, 574, H - 10), s=s)
    output = C_("caption", "Output")
    d.text((26 * s, (H - 76) * s), output, font=font(SANS_BOLD, 11 * s, output),
           fill=ACCENT_DARK + (255,))
    paste_rounded(img, (583 * s, (H - 64) * s, 735 * s, (H - 11) * s), 9 * s, CARD_SHADOW)

    # Fine outline of the whole window, then the rounded cut.
    d.rounded_rectangle([0, 0, W * s - 1, H * s - 1], radius=10 * s,
                        outline=NAVY_LINE + (255,), width=s)
    return binary_shape(img, 10 * s)


def draw_about_background(s=1, rule_y=200):
    """The About box's picture; "Password Required" has its rule lower, over its
    buttons, to leave room for two lines of explanation above it."""
    W, H = 440, 280
    img = vertical_gradient((W * s, H * s), (248, 250, 252), BODY)
    d = ImageDraw.Draw(img)
    img.paste(vertical_gradient((W * s, 30 * s), NAVY_TOP, NAVY_BOTTOM), (0, 0))
    hline(d, 0, W, 30, NAVY_LINE + (255,), s)
    icon = draw_app_icon(64 * s)
    img.alpha_composite(icon, ((W - 64) * s // 2, 44 * s))
    hline(d, 20, W - 20, rule_y, CARD_EDGE + (255,), s)
    d.rounded_rectangle([0, 0, W * s - 1, H * s - 1], radius=10 * s,
                        outline=NAVY_LINE + (255,), width=s)
    return binary_shape(img, 10 * s)


# ---------------------------------------------------------------------------


def fitted_width(label, path, size, padding):
    """The 1x width a label of the font at path needs, with padding."""
    fnt = font(path, size, label)
    return int(fnt.getlength(label) + 0.999) + padding


def build_images(s):
    """Every picture of the theme at scale s, by its name in the archive."""
    images = {}
    images["image/screen1.png"] = draw_face(s)
    images["image/application/application.png"] = draw_app_icon(16 * s)
    images["image/base/background.png"] = draw_about_background(s)
    images["image/dialog/background.png"] = draw_about_background(s, rule_y=226)
    images["image/base/lock.png"] = draw_lock(16 * s)
    images["image/base/delete.png"] = draw_delete_icon(16 * s)
    states = ("normal", "current", "pressed")
    for kind in ("close", "minimize"):
        for state in states:
            images["image/base/%s-%s.png" % (kind, state)] = title_button(kind, state, s=s)
    for state in states:
        images["image/about/ok-%s.png" % state] = state_button(
            (80, 28), C_("button", "OK"), None, state, ACCENT, ACCENT_DARK, ACCENT_LIGHT, s=s)
    # Dialog buttons whose words the program draws: the default one in the accent,
    # the others light.
    for state in states:
        images["image/dialog/accent-%s.png" % state] = state_button(
            (88, 28), "", None, state, ACCENT, ACCENT_DARK, ACCENT_LIGHT, s=s)
        images["image/dialog/plain-%s.png" % state] = plain_button((88, 28), state, s)
    toolbar = (("add-file", C_("button", "Add"), glyph_plus),
               ("delete", C_("button", "Delete"), glyph_minus_doc),
               ("clear-all", C_("button", "Clear All"), glyph_broom))
    for name, label, glyph in toolbar:
        for state in states:
            images["image/toolbar/%s-%s.png" % (name, state)] = light_button(
                (118, 40), label, glyph, state, s)
    for name, label, glyph in (("browse", C_("button", "Browse"), glyph_folder),
                               ("open", C_("button", "Open"), glyph_open)):
        # Longer words widen the button; the output strip lays out by the picture.
        width = max(96, fitted_width(label, SANS_BOLD, 12, 16 + 7 + 2 * 10))
        for state in states:
            images["image/output/%s-%s.png" % (name, state)] = light_button(
                (width, 26), label, glyph, state, s)
    for state in states:
        images["image/start/start-%s.png" % state] = state_button(
            (150, 50), C_("button", "Start"), glyph_play, state, GO, GO_DARK, GO_LIGHT, radius=9,
            font_size=16, s=s)
        images["image/start/stop-%s.png" % state] = state_button(
            (150, 50), C_("button", "Stop"), glyph_square, state, HALT, HALT_DARK, HALT_LIGHT,
            radius=9, font_size=16, s=s)
    for name, label, width in (("file", C_("menu", "File"), 40), ("help", C_("menu", "Help"), 44)):
        # The strip places its titles one after the other by their pictures' widths.
        width = max(width, fitted_width(label, SANS, 12, 16))
        for state in ("normal", "pressed"):
            images["image/menubar/%s-%s.png" % (name, state)] = menu_button(
                label, state, (width, 19), s)
    if s != 1:
        images = {name[:-len(".png")] + "@%dx.png" % s: image for name, image in images.items()}
    return images


def png_bytes(image):
    out = io.BytesIO()
    image.save(out, format="PNG", optimize=False)
    return out.getvalue()


def main(argv):
    global CATALOGUE
    if len(argv) < 3:
        sys.stderr.write(__doc__)
        return 2
    stage, source = argv[1], argv[2]
    themes = os.path.join(stage, "Themes")
    os.makedirs(themes, exist_ok=True)

    images = build_images(1)
    images.update(build_images(2))
    english = {name: png_bytes(image) for name, image in images.items()}
    archive_entries = dict(english)
    for spec in argv[3:]:
        language, catalogue = spec.split("=", 1)
        with open(catalogue, "rb") as f:
            CATALOGUE = gettext.GNUTranslations(f)
        translated = build_images(1)
        translated.update(build_images(2))
        # Only what the words change: the rest is the English picture.
        for name, image in translated.items():
            data = png_bytes(image)
            if data != english[name]:
                archive_entries["i18n/%s/%s" % (language, name)] = data
    CATALOGUE = gettext.NullTranslations()
    archive = os.path.join(themes, "default.zip")
    partial = archive + ".part"
    with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED) as zf:
        for name in sorted(archive_entries):
            info = zipfile.ZipInfo(name, date_time=(1980, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            zf.writestr(info, archive_entries[name])
    os.replace(partial, archive)

    shutil.copyfile(os.path.join(source, "face.xml"), os.path.join(themes, "face.xml"))
    shutil.copyfile(os.path.join(source, "option.cfg"), os.path.join(stage, "option.cfg"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
