#!/usr/bin/python3
"""Draws the editor's six PNG images into the directory of this script.

The output is deterministic: the same fonts and cairo version give byte-identical
files. PNGs are written by a small encoder of our own (no time stamps, no
metadata chunks), with the colour of fully transparent pixels set to the
nearby edge colour so that the editor's bilinear rotation of the knob images
shows no dark fringe.
"""

import math
import os
import struct
import sys
import zlib

import cairo

OUT_DIR = os.path.dirname(os.path.abspath(__file__))

WIDTH, HEIGHT = 434, 480

ACCENT = (75 / 255, 255 / 255, 220 / 255)
CAPTION = (0.70, 0.75, 0.78)
CAPTION_DIM = (0.45, 0.50, 0.54)
SANS = "DejaVu Sans"
SANS_BRAND = "Liberation Sans"

TARGETS = ["No Assign", "Out Gain", "Low Gain", "High Gain"]
WAVES = ["Sine", "Golden Sine", "Triangle", "Golden Tri", "Saw", "Saw Flip",
         "Sine Half", "Half Flip", "Golden Half"]

LFO_COLUMNS = ((48, 114, 180), (254, 320, 386))
LFO_PANELS = ((10, 213), (221, 424))
TARGET_LEFT = (87, 293)
BAND_FIELDS = ((85, 277, 169, 292), (256, 277, 340, 292))
RANGE_BARS = ((33, 327, 193, 333), (239, 327, 399, 333))
MAIN_KNOBS = (("Split Freq", 69), ("Damping", 143), ("Low Gain", 217),
              ("High Gain", 291), ("Out Gain", 365))
MAIN_KNOB_Y = 403
LFO_KNOB_Y = 174
SWEEP_DEGREES = 300

# Linear gain range of the gain parameters and its mapping onto a bar.
GAIN_MIN = 0.000631
BAR_SCALE = 80.213806


def f32(x):
    return struct.unpack("<f", struct.pack("<f", x))[0]


# ---------------------------------------------------------------- PNG output

def _png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def _filter_rows(rows, bpp):
    """Applies the PNG filter with the smallest sum of absolute residuals per row."""
    out = bytearray()
    prev = bytes(len(rows[0]))
    for row in rows:
        n = len(row)
        sub = bytearray(n)
        up = bytearray(n)
        avg = bytearray(n)
        paeth = bytearray(n)
        for i in range(n):
            a = row[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            x = row[i]
            sub[i] = (x - a) & 0xFF
            up[i] = (x - b) & 0xFF
            avg[i] = (x - ((a + b) >> 1)) & 0xFF
            p = a + b - c
            pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
            pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
            paeth[i] = (x - pred) & 0xFF
        candidates = [(0, bytes(row)), (1, bytes(sub)), (2, bytes(up)), (3, bytes(avg)),
                      (4, bytes(paeth))]

        def cost(item):
            return sum(v if v < 128 else 256 - v for v in item[1])

        kind, data = min(candidates, key=cost)
        out.append(kind)
        out += data
        prev = row
    return bytes(out)


def write_png(surface, name, opaque=False, bleed=None):
    """Writes a cairo ARGB32 surface as an 8-bit RGB or RGBA PNG with straight alpha.

    bleed: colour (r, g, b in 0..255) given to fully transparent pixels.
    """
    surface.flush()
    w, h = surface.get_width(), surface.get_height()
    stride = surface.get_stride()
    data = bytes(surface.get_data())
    rows = []
    for y in range(h):
        row = bytearray()
        base = y * stride
        for x in range(w):
            b, g, r, a = data[base + 4 * x: base + 4 * x + 4]
            if opaque:
                row += bytes((r, g, b))
                continue
            if a == 0:
                r, g, b = bleed if bleed else (0, 0, 0)
            elif a < 255:
                r = min(255, (r * 255 + a // 2) // a)
                g = min(255, (g * 255 + a // 2) // a)
                b = min(255, (b * 255 + a // 2) // a)
            row += bytes((r, g, b, a))
        rows.append(bytes(row))
    bpp = 3 if opaque else 4
    header = struct.pack(">IIBBBBB", w, h, 8, 2 if opaque else 6, 0, 0, 0)
    compressed = zlib.compress(_filter_rows(rows, bpp), 9)
    png = (b"\x89PNG\r\n\x1a\n" + _png_chunk(b"IHDR", header)
           + _png_chunk(b"IDAT", compressed) + _png_chunk(b"IEND", b""))
    with open(os.path.join(OUT_DIR, name), "wb") as f:
        f.write(png)


# ---------------------------------------------------------------- drawing helpers

def new_surface(w, h):
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, w, h)
    ctx = cairo.Context(surface)
    options = cairo.FontOptions()
    options.set_antialias(cairo.ANTIALIAS_GRAY)
    options.set_hint_style(cairo.HINT_STYLE_SLIGHT)
    options.set_hint_metrics(cairo.HINT_METRICS_ON)
    ctx.set_font_options(options)
    return surface, ctx


def rounded_rect(ctx, x, y, w, h, r):
    ctx.new_sub_path()
    ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    ctx.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    ctx.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    ctx.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
    ctx.close_path()


def vertical_gradient(y0, y1, stops):
    grad = cairo.LinearGradient(0, y0, 0, y1)
    for offset, colour in stops:
        grad.add_color_stop_rgba(offset, *colour)
    return grad


def set_font(ctx, size, bold=False, face=SANS):
    ctx.select_font_face(face, cairo.FONT_SLANT_NORMAL,
                         cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL)
    ctx.set_font_size(size)


def text_width(ctx, text, tracking=0.0):
    if tracking == 0.0:
        return ctx.text_extents(text).x_advance
    return sum(ctx.text_extents(ch).x_advance for ch in text) + tracking * (len(text) - 1)


def draw_text(ctx, text, x, baseline, colour, align="left", tracking=0.0):
    """Draws text with its baseline at `baseline`; x is the left, centre or right edge."""
    w = text_width(ctx, text, tracking)
    if align == "centre":
        x -= w / 2
    elif align == "right":
        x -= w
    ctx.set_source_rgba(*colour)
    if tracking == 0.0:
        ctx.move_to(x, baseline)
        ctx.show_text(text)
        return
    for ch in text:
        ctx.move_to(x, baseline)
        ctx.show_text(ch)
        x += ctx.text_extents(ch).x_advance + tracking


def inset(ctx, x, y, w, h, r, fill=(0.035, 0.043, 0.051, 1.0)):
    """A recessed field: dark fill, shadow along the top, faint light lip along the bottom."""
    rounded_rect(ctx, x, y + 0.5, w, h, r)
    ctx.set_source_rgba(1, 1, 1, 0.06)
    ctx.fill()
    rounded_rect(ctx, x, y, w, h, r)
    ctx.set_source_rgba(*fill)
    ctx.fill()
    rounded_rect(ctx, x + 0.5, y + 0.5, w - 1, h - 1, max(r - 0.5, 0))
    ctx.set_source_rgba(0, 0, 0, 0.55)
    ctx.set_line_width(1)
    ctx.stroke()
    ctx.save()
    rounded_rect(ctx, x, y, w, h, r)
    ctx.clip()
    ctx.set_source(vertical_gradient(y, y + 4, [(0, (0, 0, 0, 0.45)), (1, (0, 0, 0, 0))]))
    ctx.rectangle(x, y, w, 4)
    ctx.fill()
    ctx.restore()


def panel(ctx, x0, y0, x1, y1, r=6):
    """A raised panel: soft drop shadow, subtle vertical gradient, light top edge."""
    for i, alpha in ((3, 0.10), (2, 0.16), (1, 0.24)):
        rounded_rect(ctx, x0 - i + 1, y0 - i + 2, x1 - x0 + 2 * i - 2, y1 - y0 + 2 * i - 1, r + i)
        ctx.set_source_rgba(0, 0, 0, alpha)
        ctx.fill()
    rounded_rect(ctx, x0, y0, x1 - x0, y1 - y0, r)
    ctx.set_source(vertical_gradient(y0, y1, [(0, (0.165, 0.183, 0.204, 1)),
                                              (1, (0.125, 0.139, 0.156, 1))]))
    ctx.fill()
    rounded_rect(ctx, x0 + 0.5, y0 + 0.5, x1 - x0 - 1, y1 - y0 - 1, r - 0.5)
    ctx.set_source(vertical_gradient(y0, y1, [(0, (1, 1, 1, 0.13)), (0.08, (1, 1, 1, 0.04)),
                                              (1, (1, 1, 1, 0.02))]))
    ctx.set_line_width(1)
    ctx.stroke()


def screw(ctx, cx, cy):
    ctx.arc(cx, cy + 0.5, 4.5, 0, 2 * math.pi)
    ctx.set_source_rgba(1, 1, 1, 0.06)
    ctx.fill()
    grad = cairo.RadialGradient(cx - 1.2, cy - 1.2, 0.5, cx, cy, 4.5)
    grad.add_color_stop_rgb(0, 0.36, 0.39, 0.42)
    grad.add_color_stop_rgb(1, 0.14, 0.15, 0.17)
    ctx.arc(cx, cy, 4, 0, 2 * math.pi)
    ctx.set_source(grad)
    ctx.fill_preserve()
    ctx.set_source_rgba(0, 0, 0, 0.6)
    ctx.set_line_width(0.8)
    ctx.stroke()
    ctx.set_line_width(1.2)
    ctx.set_source_rgba(0.05, 0.05, 0.06, 0.9)
    ctx.move_to(cx - 2.6, cy + 1.5)
    ctx.line_to(cx + 2.6, cy - 1.5)
    ctx.stroke()


def knob_scale(ctx, cx, cy, radius, major_ticks, minor_per_major):
    """Scale around a knob: a faint 300 degree arc with tick marks, gap at the bottom."""
    half = math.radians(SWEEP_DEGREES / 2)
    start = -math.pi / 2 - half
    end = -math.pi / 2 + half
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.set_line_width(1.6)
    ctx.set_source_rgba(0, 0, 0, 0.55)
    ctx.arc(cx, cy, radius, start, end)
    ctx.stroke()
    ctx.set_line_width(1.0)
    ctx.set_source_rgba(ACCENT[0], ACCENT[1], ACCENT[2], 0.22)
    ctx.arc(cx, cy, radius, start, end)
    ctx.stroke()
    count = (major_ticks - 1) * minor_per_major
    for i in range(count + 1):
        a = start + (end - start) * i / count
        major = i % minor_per_major == 0
        r0 = radius + 2.0
        r1 = radius + (4.5 if major else 3.5)
        ctx.set_line_width(1.2 if major else 0.8)
        if major:
            ctx.set_source_rgba(CAPTION[0], CAPTION[1], CAPTION[2], 0.75)
        else:
            ctx.set_source_rgba(CAPTION[0], CAPTION[1], CAPTION[2], 0.35)
        ctx.move_to(cx + r0 * math.cos(a), cy + r0 * math.sin(a))
        ctx.line_to(cx + r1 * math.cos(a), cy + r1 * math.sin(a))
        ctx.stroke()
    ctx.set_line_cap(cairo.LINE_CAP_BUTT)


def knob_well(ctx, cx, cy, radius):
    """Dark circular recess the knob sits in, so its silhouette reads on the panel."""
    grad = cairo.RadialGradient(cx, cy, radius - 4, cx, cy, radius + 1.5)
    grad.add_color_stop_rgba(0, 0, 0, 0, 0.55)
    grad.add_color_stop_rgba(1, 0, 0, 0, 0)
    ctx.arc(cx, cy, radius + 1.5, 0, 2 * math.pi)
    ctx.set_source(grad)
    ctx.fill()


# ---------------------------------------------------------------- background

def draw_background():
    surface, ctx = new_surface(WIDTH, HEIGHT)

    ctx.set_source(vertical_gradient(0, HEIGHT, [(0, (0.095, 0.105, 0.118, 1)),
                                                 (1, (0.060, 0.066, 0.075, 1))]))
    ctx.paint()

    draw_header(ctx)
    for index in range(2):
        draw_lfo_section(ctx, index)
    draw_main_section(ctx)
    return surface


def draw_header(ctx):
    ctx.set_source(vertical_gradient(0, 70, [(0, (0.050, 0.056, 0.064, 1)),
                                             (1, (0.078, 0.086, 0.097, 1))]))
    ctx.rectangle(0, 0, WIDTH, 70)
    ctx.fill()
    ctx.set_source_rgba(0, 0, 0, 0.8)
    ctx.rectangle(0, 70, WIDTH, 1)
    ctx.fill()
    line = cairo.LinearGradient(0, 0, WIDTH, 0)
    line.add_color_stop_rgba(0, ACCENT[0], ACCENT[1], ACCENT[2], 0)
    line.add_color_stop_rgba(0.5, ACCENT[0], ACCENT[1], ACCENT[2], 0.55)
    line.add_color_stop_rgba(1, ACCENT[0], ACCENT[1], ACCENT[2], 0)
    ctx.set_source(line)
    ctx.rectangle(0, 71, WIDTH, 1)
    ctx.fill()

    screw(ctx, 16.5, 16.5)
    screw(ctx, WIDTH - 16.5, 16.5)

    # Logo: maker above, product below, centred in the link area (121,15)-(313,62).
    centre = 217
    set_font(ctx, 10, face=SANS)
    maker_w = text_width(ctx, "Tolmira", 2.2)
    draw_text(ctx, "Tolmira", centre, 27, CAPTION + (0.9,), "centre", 2.2)
    ctx.set_line_width(1)
    for sign in (-1, 1):
        x_inner = centre + sign * (maker_w / 2 + 7)
        x_outer = centre + sign * (maker_w / 2 + 40)
        grad = cairo.LinearGradient(x_inner, 0, x_outer, 0)
        grad.add_color_stop_rgba(0, ACCENT[0], ACCENT[1], ACCENT[2], 0.6)
        grad.add_color_stop_rgba(1, ACCENT[0], ACCENT[1], ACCENT[2], 0)
        ctx.set_source(grad)
        ctx.move_to(x_inner, 23.5)
        ctx.line_to(x_outer, 23.5)
        ctx.stroke()

    set_font(ctx, 27, bold=True, face=SANS_BRAND)
    product_w = text_width(ctx, "Vibrascend", 0.6)
    x = centre - product_w / 2
    for dx, dy in ((-1, 0), (1, 0), (0, -1), (0, 1)):
        draw_text(ctx, "Vibrascend", x + dx, 54 + dy, ACCENT + (0.12,), "left", 0.6)
    fill = vertical_gradient(34, 55, [(0, (0.93, 0.97, 0.97, 1)), (1, (0.55, 0.98, 0.88, 1))])
    for ch in "Vibrascend":
        ctx.move_to(x, 54)
        ctx.text_path(ch)
        x += ctx.text_extents(ch).x_advance + 0.6
    ctx.set_source(fill)
    ctx.fill()


def draw_lfo_section(ctx, index):
    x0, x1 = LFO_PANELS[index]
    panel(ctx, x0, 80, x1, 349)
    cols = LFO_COLUMNS[index]
    target_left = TARGET_LEFT[index]

    # Title, left of the target selector.
    title = "LFO 1" if index == 0 else "LFO 2"
    set_font(ctx, 15, bold=True)
    title_x = x0 + 11
    draw_text(ctx, title, title_x, 121, ACCENT + (1.0,))
    ctx.arc(title_x + text_width(ctx, title) + 8, 116, 2.2, 0, 2 * math.pi)
    ctx.set_source_rgba(ACCENT[0], ACCENT[1], ACCENT[2], 0.55)
    ctx.fill()

    # Target selector: caption above, a recess that frames the selector face.
    set_font(ctx, 10)
    draw_text(ctx, "Target", target_left + 40, 102, CAPTION + (1.0,), "centre")
    inset(ctx, target_left - 2, 106, 84, 19, 3.5)

    # Knob row captions above the controls.
    set_font(ctx, 10)
    for name, cx in zip(("Freq", "Wave", "Depth"), cols):
        draw_text(ctx, name, cx, 140, CAPTION + (1.0,), "centre")

    for cx in (cols[0], cols[2]):
        knob_well(ctx, cx, LFO_KNOB_Y, 22)
        knob_scale(ctx, cx, LFO_KNOB_Y, 26, 3, 5)

    # Wave display window around the 40x40 frame.
    wx = cols[1] - 20
    inset(ctx, wx - 3, 151, 46, 46, 5)

    # Oscillator read-out: band name and swept gain range in one recessed display.
    inset(ctx, x0 + 9, 240, x1 - x0 - 18, 102, 5, fill=(0.075, 0.084, 0.095, 1.0))

    l, t, r, b = BAND_FIELDS[index]
    set_font(ctx, 10)
    draw_text(ctx, "Band", (l + r) / 2, 266, CAPTION + (1.0,), "centre")
    inset(ctx, l - 4, t - 4, r - l + 8, b - t + 8, 4)

    l, t, r, b = RANGE_BARS[index]
    set_font(ctx, 10)
    draw_text(ctx, "Range", (l + r) / 2, 320, CAPTION + (1.0,), "centre")
    set_font(ctx, 8.5)
    draw_text(ctx, "-64 dB", l - 1, 320, CAPTION_DIM + (1.0,), "left")
    draw_text(ctx, "+6 dB", r + 1, 320, CAPTION_DIM + (1.0,), "right")
    inset(ctx, l - 2, t - 2, r - l + 4, b - t + 4, 2)
    ctx.set_source_rgba(ACCENT[0], ACCENT[1], ACCENT[2], 0.07)
    ctx.rectangle(l, t, r - l, b - t)
    ctx.fill()
    for db in (-64, -24, -12, -6, 0, 6):
        if db == -64:
            x = l + 0.5
        elif db == 6:
            x = r - 0.5
        else:
            x = round(l + (10 ** (db / 20) - GAIN_MIN) * BAR_SCALE) + 0.5
        major = db in (-64, 0, 6)
        ctx.set_source_rgba(CAPTION[0], CAPTION[1], CAPTION[2], 0.8 if major else 0.4)
        ctx.set_line_width(1)
        ctx.move_to(x, b + 3)
        ctx.line_to(x, b + (7 if major else 5))
        ctx.stroke()


def draw_main_section(ctx):
    panel(ctx, 10, 354, 424, 472)
    set_font(ctx, 10.5)
    for name, cx in MAIN_KNOBS:
        draw_text(ctx, name, cx + 0.5, 364, CAPTION + (1.0,), "centre")
        knob_well(ctx, cx + 0.5, MAIN_KNOB_Y + 0.5, 28.5)
        knob_scale(ctx, cx + 0.5, MAIN_KNOB_Y + 0.5, 31.5, 3, 5)


# ---------------------------------------------------------------- knobs

KNOB_RIM = (22, 25, 29)


def draw_knob(size):
    """Round knob body, rotationally symmetric except for the pointer at 12 o'clock."""
    surface, ctx = new_surface(size, size)
    c = size / 2
    scale = size / 57
    r_body = c - 1.2 * scale - 0.3
    r_cap = r_body * 0.74

    # Skirt: dark ring with fine radial grip lines.
    grad = cairo.RadialGradient(c, c, r_cap, c, c, r_body)
    grad.add_color_stop_rgb(0, 0.20, 0.22, 0.25)
    grad.add_color_stop_rgb(0.7, 0.16, 0.175, 0.195)
    grad.add_color_stop_rgb(1, 0.11, 0.12, 0.135)
    ctx.arc(c, c, r_body, 0, 2 * math.pi)
    ctx.set_source(grad)
    ctx.fill()
    ridges = 48 if size > 50 else 36
    ctx.set_line_width(0.9 * scale + 0.2)
    for i in range(ridges):
        a = 2 * math.pi * i / ridges
        ctx.move_to(c + (r_cap + 1.5) * math.cos(a), c + (r_cap + 1.5) * math.sin(a))
        ctx.line_to(c + (r_body - 0.8) * math.cos(a), c + (r_body - 0.8) * math.sin(a))
        ctx.set_source_rgba(0, 0, 0, 0.35)
        ctx.stroke()
    ctx.arc(c, c, r_body - 0.5, 0, 2 * math.pi)
    ctx.set_source_rgba(*[v / 255 for v in KNOB_RIM], 1)
    ctx.set_line_width(1.0)
    ctx.stroke()

    # Cap: raised centre with a bevel ring.
    ctx.arc(c, c, r_cap + 1.0, 0, 2 * math.pi)
    ctx.set_source_rgba(0, 0, 0, 0.55)
    ctx.fill()
    grad = cairo.RadialGradient(c, c, 0, c, c, r_cap)
    grad.add_color_stop_rgb(0, 0.29, 0.315, 0.345)
    grad.add_color_stop_rgb(0.85, 0.235, 0.255, 0.28)
    grad.add_color_stop_rgb(1, 0.30, 0.325, 0.355)
    ctx.arc(c, c, r_cap, 0, 2 * math.pi)
    ctx.set_source(grad)
    ctx.fill()
    ctx.arc(c, c, r_cap - 0.5, 0, 2 * math.pi)
    ctx.set_source_rgba(1, 1, 1, 0.10)
    ctx.set_line_width(1.0)
    ctx.stroke()

    # Pointer: accent line from the cap's centre area out through the skirt.
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    y_in = c - r_cap * 0.30
    y_out = c - r_body + 2.2 * scale + 0.6
    ctx.set_line_width(4.2 * scale + 0.6)
    ctx.set_source_rgba(0, 0, 0, 0.45)
    ctx.move_to(c, y_in)
    ctx.line_to(c, y_out)
    ctx.stroke()
    ctx.set_line_width(2.4 * scale + 0.5)
    ctx.set_source_rgb(*ACCENT)
    ctx.move_to(c, y_in)
    ctx.line_to(c, y_out)
    ctx.stroke()
    return surface


# ---------------------------------------------------------------- waves

def wave_function(index):
    """y(p) of one wave over p in [0, 2*pi), with the oscillator's shape constants."""
    pi = math.pi
    two_pi = 2 * pi
    g = f32(0.618034)
    one_minus_g = f32(1 - g)
    if index == 0:
        return lambda p: math.sin(p)
    if index == 1:
        a = one_minus_g * two_pi
        b = pi / a
        c = pi / (two_pi - a)
        d = pi - a * c
        return lambda p: math.cos(p * b) if p < a else math.cos(p * c + d)
    if index in (2, 3, 4, 5):
        if index == 2:
            a, b, c, d = pi, 2 / pi, 3.0, 2 / pi
        elif index == 3:
            a = g * two_pi
            b = 2 / a
            c = f32(f32(g + 1) / one_minus_g)
            d = 0.3183098861837907 / one_minus_g
        elif index == 4:
            a, b, c, d = pi / 2, 4 / pi, 5 / 3, 4 / (3 * pi)
        else:
            a, b, c, d = 3 * pi / 2, 4 / (3 * pi), 7.0, 4 / pi
        return lambda p: p * b - 1 if p < a else c - p * d
    if index == 6:
        return lambda p: math.sin(p * 0.5) * 2 - 1
    if index == 7:
        return lambda p: math.sin(p * 0.5 + pi) * 2 + 1
    a = g * two_pi
    b = 0.25 / g
    c = 0.25 / one_minus_g
    d = f32(1 - 2 * g) * pi / one_minus_g * 0.5
    return lambda p: math.sin(p * b) * 2 - 1 if p < a else math.sin(p * c + d) * 2 - 1


def wave_points(index, x0, x1, y_mid, amp, samples=240):
    fn = wave_function(index)
    pts = []
    for i in range(samples + 1):
        p = 2 * math.pi * i / samples
        p = min(p, 2 * math.pi - 1e-9)
        pts.append((x0 + (x1 - x0) * i / samples, y_mid - amp * fn(p)))
    return pts


def draw_wave_strip():
    frame = 40
    surface, ctx = new_surface(frame * len(WAVES), frame)
    for index in range(len(WAVES)):
        ox = index * frame
        rounded_rect(ctx, ox + 0.5, 0.5, frame - 1, frame - 1, 4.5)
        ctx.set_source(vertical_gradient(0, frame, [(0, (0.035, 0.060, 0.066, 1)),
                                                    (1, (0.020, 0.036, 0.040, 1))]))
        ctx.fill_preserve()
        ctx.set_source_rgba(0.20, 0.30, 0.30, 1)
        ctx.set_line_width(1)
        ctx.stroke()

        x0, x1 = ox + 5, ox + frame - 5
        y_mid, amp = 20, 12.5
        ctx.set_line_width(1)
        ctx.set_source_rgba(ACCENT[0], ACCENT[1], ACCENT[2], 0.16)
        ctx.move_to(x0, y_mid + 0.5)
        ctx.line_to(x1, y_mid + 0.5)
        ctx.stroke()
        ctx.set_source_rgba(ACCENT[0], ACCENT[1], ACCENT[2], 0.08)
        for fraction in (0.25, 0.5, 0.75):
            x = round(x0 + (x1 - x0) * fraction) + 0.5
            ctx.move_to(x, y_mid - amp)
            ctx.line_to(x, y_mid + amp)
        ctx.stroke()

        pts = wave_points(index, x0, x1, y_mid, amp)
        ctx.set_line_join(cairo.LINE_JOIN_ROUND)
        ctx.set_line_cap(cairo.LINE_CAP_ROUND)
        for width, alpha in ((4.0, 0.18), (1.6, 1.0)):
            ctx.move_to(*pts[0])
            for pt in pts[1:]:
                ctx.line_to(*pt)
            ctx.set_line_width(width)
            ctx.set_source_rgba(ACCENT[0], ACCENT[1], ACCENT[2], alpha)
            ctx.stroke()
    return surface


# ---------------------------------------------------------------- target selector

def draw_target_face():
    """Four 80x16 frames. Rows 0..14 hold the face; the selector shows 15 rows of it."""
    w, h = 80, 16
    surface, ctx = new_surface(w, h * len(TARGETS))
    for i, name in enumerate(TARGETS):
        top = i * h
        rounded_rect(ctx, 0.5, top + 0.5, w - 1, 14, 3)
        ctx.set_source(vertical_gradient(top, top + 15, [(0, (0.20, 0.22, 0.245, 1)),
                                                         (1, (0.145, 0.16, 0.18, 1))]))
        ctx.fill_preserve()
        ctx.set_source_rgba(0.05, 0.055, 0.065, 1)
        ctx.set_line_width(1)
        ctx.stroke()
        ctx.set_source_rgba(1, 1, 1, 0.10)
        ctx.move_to(3, top + 1.5)
        ctx.line_to(w - 3, top + 1.5)
        ctx.stroke()

        set_font(ctx, 10.5)
        colour = CAPTION + (1.0,) if i == 0 else (0.88, 0.98, 0.96, 1.0)
        draw_text(ctx, name, 6, top + 11, colour)

        ctx.set_source_rgba(0, 0, 0, 0.4)
        ctx.rectangle(w - 16, top + 3, 1, 9)
        ctx.fill()
        ctx.move_to(w - 11.5, top + 6)
        ctx.line_to(w - 4.5, top + 6)
        ctx.line_to(w - 8, top + 10)
        ctx.close_path()
        ctx.set_source_rgb(*ACCENT)
        ctx.fill()
    return surface


def draw_target_list():
    """List of the four targets, one row per choice; row i spans i*H/4 .. (i+1)*H/4."""
    w, h = 90, 73
    surface, ctx = new_surface(w, h)
    rounded_rect(ctx, 0.5, 0.5, w - 1, h - 1, 3)
    ctx.set_source(vertical_gradient(0, h, [(0, (0.115, 0.128, 0.143, 1)),
                                            (1, (0.085, 0.094, 0.106, 1))]))
    ctx.fill_preserve()
    ctx.set_source_rgba(ACCENT[0], ACCENT[1], ACCENT[2], 0.45)
    ctx.set_line_width(1)
    ctx.stroke()

    row_h = h / len(TARGETS)
    set_font(ctx, 10.5)
    for i, name in enumerate(TARGETS):
        top = i * row_h
        if i > 0:
            y = round(top) + 0.5
            ctx.set_source_rgba(1, 1, 1, 0.07)
            ctx.move_to(4, y)
            ctx.line_to(w - 4, y)
            ctx.stroke()
        mid = top + row_h / 2
        ctx.arc(9, mid, 2, 0, 2 * math.pi)
        ctx.set_source_rgba(ACCENT[0], ACCENT[1], ACCENT[2], 0.7)
        ctx.fill()
        draw_text(ctx, name, 17, round(mid + 4), (0.88, 0.98, 0.96, 1.0))
    return surface


def main():
    write_png(draw_background(), "bg.png", opaque=True)
    write_png(draw_knob(57), "knob.png", bleed=KNOB_RIM)
    write_png(draw_knob(44), "knob2.png", bleed=KNOB_RIM)
    write_png(draw_wave_strip(), "lfo_wave.png", bleed=(51, 77, 77))
    write_png(draw_target_face(), "lfo_tg.png", bleed=(13, 14, 17))
    write_png(draw_target_list(), "lfo_tg_.png", bleed=(75, 255, 220))
    return 0


if __name__ == "__main__":
    sys.exit(main())
