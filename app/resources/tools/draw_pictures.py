#!/usr/bin/env python3
"""Draws the station program's pictures (login backgrounds, window logo, the
main window's head bar, experiment chooser and report menu, and the buttons
the experiment pages' panels share).

Plain Python, no imaging library: shapes are rendered with analytic
anti-aliasing and written as 8-bit RGBA PNG files. The captions of the head
bar are rendered by ImageMagick's `convert` in the WenQuanYi Micro Hei font
(packages imagemagick and fonts-wqy-microhei). Run from this folder:
    python3 tools/draw_pictures.py
"""
import math
import struct
import subprocess
import zlib

CAPTION_FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"


def write_png(path, width, height, pixels):
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        raw.extend(pixels[y * width * 4:(y + 1) * width * 4])

    def chunk(tag, data):
        c = struct.pack(">I", len(data)) + tag + data
        return c + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


class Canvas:
    def __init__(self, w, h, rgba=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.px = bytearray(bytes(rgba) * (w * h))

    def blend(self, x, y, rgb, a):
        if a <= 0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        i = (y * self.w + x) * 4
        da = self.px[i + 3] / 255.0
        oa = a + da * (1 - a)
        for k in range(3):
            c = (rgb[k] * a + self.px[i + k] * da * (1 - a)) / oa if oa > 0 else 0
            self.px[i + k] = int(round(c))
        self.px[i + 3] = int(round(oa * 255))

    def vertical_gradient(self, top, bottom):
        for y in range(self.h):
            t = y / max(1, self.h - 1)
            rgb = [int(top[k] + (bottom[k] - top[k]) * t) for k in range(3)]
            for x in range(self.w):
                self.blend(x, y, rgb, 1.0)

    def rounded_rect(self, x0, y0, x1, y1, r, rgb, alpha=1.0):
        r = max(r, 1.0)
        for y in range(int(y0) - 1, int(y1) + 2):
            for x in range(int(x0) - 1, int(x1) + 2):
                cx = min(max(x + 0.5, x0 + r), x1 - r)
                cy = min(max(y + 0.5, y0 + r), y1 - r)
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy) - r
                cov = min(1.0, max(0.0, 0.5 - d))
                self.blend(x, y, rgb, cov * alpha)

    def circle(self, cx, cy, r, rgb, alpha=1.0):
        self.rounded_rect(cx - r, cy - r, cx + r, cy + r, r, rgb, alpha)


def text_mask(text, w, h, pointsize):
    """Coverage (0..255) of `text` centred in a w x h box, row by row."""
    pgm = subprocess.run(
        ["convert", "-size", "%dx%d" % (w, h), "xc:black", "-font", CAPTION_FONT,
         "-pointsize", str(pointsize), "-fill", "white", "-gravity", "center",
         "-annotate", "+0+0", text, "-depth", "8", "pgm:-"],
        check=True, capture_output=True).stdout
    # Binary PGM: "P5", width, height, maxval, then one byte a pixel.
    fields, pos = [], 0
    while len(fields) < 4:
        while pgm[pos:pos + 1].isspace():
            pos += 1
        end = pos
        while not pgm[end:end + 1].isspace():
            end += 1
        fields.append(pgm[pos:end])
        pos = end
    return pgm[pos + 1:pos + 1 + w * h]


def caption(c, text, x0, y0, w, h, pointsize, rgb):
    mask = text_mask(text, w, h, pointsize)
    for y in range(h):
        for x in range(w):
            c.blend(x0 + x, y0 + y, rgb, mask[y * w + x] / 255.0)


def gel_mark(c, x, y, size, lane_rgb, band_rgb):
    """A small gel: four lanes with bands, the station's emblem."""
    c.rounded_rect(x, y, x + size, y + size, size * 0.18, lane_rgb)
    lanes = 4
    lane_w = size * 0.14
    gap = (size - lanes * lane_w) / (lanes + 1)
    bands = [(0.22, 0.55, 0.78), (0.30, 0.62), (0.26, 0.45, 0.70), (0.38, 0.58, 0.82)]
    for i in range(lanes):
        lx = x + gap + i * (lane_w + gap)
        for b in bands[i]:
            by = y + size * b
            c.rounded_rect(lx, by, lx + lane_w, by + size * 0.05, size * 0.02, band_rgb)


def login_background(path, accent):
    w, h = 800, 480
    c = Canvas(w, h)
    c.vertical_gradient((236, 240, 245), (214, 222, 232))
    # The card under the login form.
    c.rounded_rect(52, 62, 428, 320, 12, (120, 135, 150), 0.18)
    c.rounded_rect(50, 58, 426, 316, 12, (255, 255, 255))
    # Accent band and emblem on the right.
    c.rounded_rect(480, 0, 800, 480, 0, accent)
    c.rounded_rect(480, 0, 486, 480, 0, (255, 255, 255), 0.35)
    gel_mark(c, 580, 150, 120, (255, 255, 255), accent)
    for i in range(3):
        c.rounded_rect(560 + i * 60, 320, 600 + i * 60, 326, 3, (255, 255, 255), 0.55)
    write_png(path, w, h, c.px)


def window_logo(path, accent):
    c = Canvas(64, 64)
    gel_mark(c, 4, 4, 56, accent, (255, 255, 255))
    write_png(path, 64, 64, c.px)



def fill(c, inside, rgb, alpha=1.0, box=None):
    """Fills the points for which inside(x, y) holds, 4x4 samples a pixel."""
    x0, y0, x1, y1 = box if box else (0, 0, c.w, c.h)
    for y in range(max(0, int(y0)), min(c.h, int(y1) + 1)):
        for x in range(max(0, int(x0)), min(c.w, int(x1) + 1)):
            n = 0
            for sy in range(4):
                for sx in range(4):
                    if inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4):
                        n += 1
            if n:
                c.blend(x, y, rgb, alpha * n / 16)


def ring(c, cx, cy, r_out, r_in, rgb, gap=None):
    """A ring; gap=(angle, half width) in radians leaves an opening."""
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if not (r_in <= d <= r_out):
            return False
        if gap:
            a = math.atan2(y - cy, x - cx)
            diff = abs((a - gap[0] + math.pi) % (2 * math.pi) - math.pi)
            return diff > gap[1]
        return True
    fill(c, inside, rgb, box=(cx - r_out - 1, cy - r_out - 1, cx + r_out + 1, cy + r_out + 1))


def triangle(c, pts, rgb):
    (ax, ay), (bx, by), (qx, qy) = pts

    def side(px, py, x1, y1, x2, y2):
        return (px - x2) * (y1 - y2) - (x1 - x2) * (py - y2)

    def inside(x, y):
        d1 = side(x, y, ax, ay, bx, by)
        d2 = side(x, y, bx, by, qx, qy)
        d3 = side(x, y, qx, qy, ax, ay)
        neg = d1 < 0 or d2 < 0 or d3 < 0
        pos = d1 > 0 or d2 > 0 or d3 > 0
        return not (neg and pos)
    xs, ys = [p[0] for p in pts], [p[1] for p in pts]
    fill(c, inside, rgb, box=(min(xs) - 1, min(ys) - 1, max(xs) + 1, max(ys) + 1))


WHITE = (255, 255, 255)


def glyph_home(c, cx, cy, s, rgb):
    triangle(c, [(cx - s, cy - s * 0.05), (cx + s, cy - s * 0.05), (cx, cy - s * 0.95)], rgb)
    c.rounded_rect(cx - s * 0.7, cy - s * 0.1, cx + s * 0.7, cy + s * 0.85, 2, rgb)
    c.rounded_rect(cx - s * 0.2, cy + s * 0.3, cx + s * 0.2, cy + s * 0.85, 1, (0, 0, 0), 0.35)


def glyph_report(c, cx, cy, s, rgb):
    c.rounded_rect(cx - s * 0.65, cy - s * 0.9, cx + s * 0.65, cy + s * 0.9, 3, rgb)
    for i in range(4):
        y = cy - s * 0.5 + i * s * 0.35
        c.rounded_rect(cx - s * 0.4, y, cx + s * (0.4 if i < 3 else 0.1), y + s * 0.12, 1,
                       (0, 0, 0), 0.35)


def glyph_audit(c, cx, cy, s, rgb):
    for i in range(3):
        y = cy - s * 0.75 + i * s * 0.6
        c.circle(cx - s * 0.7, y + s * 0.12, s * 0.14, rgb)
        c.rounded_rect(cx - s * 0.4, y, cx + s * 0.85, y + s * 0.24, 2, rgb)


def glyph_system(c, cx, cy, s, rgb):
    for k in range(8):
        a = k * math.pi / 4
        tx, ty = cx + math.cos(a) * s * 0.75, cy + math.sin(a) * s * 0.75
        c.circle(tx, ty, s * 0.2, rgb)
    ring(c, cx, cy, s * 0.78, s * 0.3, rgb)


def glyph_exit(c, cx, cy, s, rgb):
    ring(c, cx, cy + s * 0.1, s * 0.8, s * 0.58, rgb, gap=(-math.pi / 2, 0.6))
    c.rounded_rect(cx - s * 0.11, cy - s * 0.95, cx + s * 0.11, cy + s * 0.1, 2, rgb)


def head_button(path, glyph, text, pressed):
    """A head-bar button, 90 x 60: a white glyph over its caption on the bar's
    blue, darker and inset when pressed."""
    c = Canvas(90, 60)
    base = (32, 72, 150) if pressed else (60, 100, 183)
    c.rounded_rect(2, 2, 88, 58, 8, base)
    if not pressed:
        c.rounded_rect(2, 2, 88, 30, 8, WHITE, 0.10)
    shift = 1 if pressed else 0
    glyph(c, 45, 22 + shift, 13, WHITE)
    caption(c, text, 4, 39 + shift, 82, 17, 13, WHITE)
    write_png(path, 90, 60, c.px)


def head_logo(path):
    c = Canvas(116, 61)
    gel_mark(c, 6, 8, 45, WHITE, (60, 100, 183))
    for i, w in enumerate((52, 40, 46)):
        c.rounded_rect(60, 16 + i * 12, 60 + w, 22 + i * 12, 3, WHITE, 0.85 - i * 0.2)
    write_png(path, 116, 61, c.px)


def desaturate(rgb):
    g = int(0.3 * rgb[0] + 0.59 * rgb[1] + 0.11 * rgb[2])
    return (g + (255 - g) // 3,) * 3


def chooser_button(path, kind, state):
    """An experiment button of the chooser, 160 x 160."""
    accent = {"varNU": (46, 86, 128), "westernBlot": (70, 70, 80),
              "multFluore": (28, 110, 112)}[kind]
    if state == "gray":
        accent = desaturate(accent)
    elif state == "pressed":
        accent = tuple(int(v * 0.75) for v in accent)
    c = Canvas(160, 160)
    c.rounded_rect(4, 4, 156, 156, 18, accent)
    c.rounded_rect(4, 4, 156, 70, 18, WHITE, 0.08)
    if kind == "varNU":
        gel_mark(c, 40, 40, 80, WHITE, accent)
    elif kind == "westernBlot":
        c.rounded_rect(36, 36, 124, 124, 10, WHITE)
        for i, (y, a) in enumerate(((56, 0.9), (78, 0.5), (100, 0.7))):
            for lane in range(3):
                x = 48 + lane * 24
                c.rounded_rect(x, y, x + 16, y + 8, 3, (20, 20, 30), a * (1 - lane * 0.25))
    else:
        colours = [(235, 80, 80), (80, 200, 110), (90, 140, 240)]
        if state == "gray":
            colours = [desaturate(col) for col in colours]
        for (dx, dy), col in zip(((0, -16), (-16, 12), (16, 12)), colours):
            c.circle(80 + dx, 80 + dy, 26, col, 0.8)
    write_png(path, 160, 160, c.px)


def home_picture(path, accent):
    """The picture beside the chooser's buttons."""
    w, h = 720, 560
    c = Canvas(w, h)
    c.vertical_gradient((244, 247, 251), (222, 230, 240))
    c.rounded_rect(60, 60, 660, 500, 24, WHITE)
    gel_mark(c, 110, 130, 300, accent, WHITE)
    for i in range(5):
        c.rounded_rect(450, 160 + i * 50, 450 + (160 if i % 2 == 0 else 110), 184 + i * 50, 8,
                       accent, 0.75 - i * 0.1)
    write_png(path, w, h, c.px)


def glyph_print(c, cx, cy, s, rgb):
    c.rounded_rect(cx - s * 0.5, cy - s * 0.9, cx + s * 0.5, cy - s * 0.2, 2, rgb)
    c.rounded_rect(cx - s * 0.9, cy - s * 0.3, cx + s * 0.9, cy + s * 0.4, 4, rgb)
    c.rounded_rect(cx - s * 0.5, cy + s * 0.2, cx + s * 0.5, cy + s * 0.9, 2, rgb)


def glyph_edit(c, cx, cy, s, rgb):
    triangle(c, [(cx - s * 0.8, cy + s * 0.8), (cx - s * 0.45, cy + s * 0.25),
                 (cx - s * 0.25, cy + s * 0.45)], rgb)
    for t in range(12):
        k = t / 11
        c.circle(cx - s * 0.35 + k * s * 1.0, cy + s * 0.35 - k * s * 1.0, s * 0.16, rgb)


def menu_button(path, glyph, pressed):
    """A menu button of the report page, 130 x 60."""
    c = Canvas(130, 60)
    base = (60, 100, 183) if pressed else (232, 237, 246)
    fg = WHITE if pressed else (60, 100, 183)
    c.rounded_rect(2, 2, 128, 58, 8, base)
    glyph(c, 65, 30, 18, fg)
    write_png(path, 130, 60, c.px)


def arrow(path, direction):
    """A 30 x 30 arrow of the combo boxes, spin boxes and scroll bars."""
    c = Canvas(30, 30)
    pts = {"up": [(8, 19), (22, 19), (15, 10)], "down": [(8, 11), (22, 11), (15, 20)],
           "left": [(19, 8), (19, 22), (10, 15)], "right": [(11, 8), (11, 22), (20, 15)]}
    triangle(c, pts[direction], (60, 70, 90))
    write_png(path, 30, 30, c.px)


def check_box(path, size, checked, round_box=False):
    """A check-box (or radio-button) indicator."""
    c = Canvas(size, size)
    blue = (60, 100, 183)
    radius = size / 2 if round_box else 3
    c.rounded_rect(0.5, 0.5, size - 0.5, size - 0.5, radius, (101, 101, 102))
    c.rounded_rect(1.5, 1.5, size - 1.5, size - 1.5, radius - 1, blue if checked and not round_box else WHITE)
    if checked and round_box:
        c.circle(size / 2, size / 2, size * 0.25, blue)
    elif checked:
        for t in range(10):
            k = t / 9
            if k < 0.4:
                x, y = size * (0.25 + k * 0.5), size * (0.5 + k * 0.5)
            else:
                x, y = size * (0.45 + (k - 0.4) * 0.6), size * (0.7 - (k - 0.4) * 0.75)
            c.circle(x, y, size * 0.09, WHITE)
    write_png(path, size, size, c.px)


def slider_handle(path):
    c = Canvas(20, 30)
    c.rounded_rect(2, 2, 18, 28, 4, (101, 101, 102))
    c.rounded_rect(3, 3, 17, 27, 3, (248, 248, 248))
    for y in (11, 15, 19):
        c.rounded_rect(6, y, 14, y + 1.2, 0.5, (150, 150, 155))
    write_png(path, 20, 30, c.px)


def control_pictures():
    for direction in ("up", "down", "left", "right"):
        arrow("Image/arrow_%s.png" % direction, direction)
    for checked, name in ((True, "checked"), (False, "unchecked")):
        check_box("Image/checkbox_%s.png" % name, 16, checked)
        check_box("Image/checkbox_%s_17.png" % name, 17, checked)
        check_box("Image/radio_%s.png" % name, 16, checked, round_box=True)
    slider_handle("Image/slider_handle.png")


def main_window_pictures():
    # Picture name: glyph, Chinese caption, English caption.
    heads = {"home": (glyph_home, "主页", "Home"),
             "report": (glyph_report, "报告", "Report"),
             "auditTrail": (glyph_audit, "审计追踪", "Audit Trail"),
             "sysset": (glyph_system, "系统", "System"),
             "exit": (glyph_exit, "退出", "Exit")}
    for lang in ("", "_en"):
        for name, (glyph, chinese, english) in heads.items():
            text = english if lang else chinese
            head_button("Image/%s_normal%s.png" % (name, lang), glyph, text, False)
            head_button("Image/%s_pressed%s.png" % (name, lang), glyph, text, True)
        for kind in ("varNU", "westernBlot", "multFluore"):
            for state in ("normal", "pressed", "gray"):
                chooser_button("Image/%s_%s%s.png" % (kind, state, lang), kind, state)
        for name, glyph in {"reportManage": glyph_report, "printReport": glyph_print,
                            "editReport": glyph_edit}.items():
            menu_button("Image/%s_normal%s.png" % (name, lang), glyph, False)
            menu_button("Image/%s_pressed%s.png" % (name, lang), glyph, True)
    head_logo("Image/LOGO.png")
    home_picture("Image/advInfo.png", (46, 86, 128))
    home_picture("Image/advInfo_en.png", (46, 86, 128))


# ---- Image-processing page -------------------------------------------------
# The function panel's operation buttons (50 x 40, normal, pressed and
# disabled), the picture area's Import and Back buttons (60 x 60, with their
# captions in Chinese and, in the _en set, English) and the histogram tool's
# Auto button (40 x 40).

IP_BLUE = (60, 100, 183)


def ip_segment(c, x0, y0, x1, y1, width, rgb):
    """A straight stroke with round ends."""
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy or 1e-9
    half = width / 2.0

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        return math.hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= half
    fill(c, inside, rgb, box=(min(x0, x1) - half - 1, min(y0, y1) - half - 1,
                              max(x0, x1) + half + 1, max(y0, y1) + half + 1))


def ip_arc_arrow(c, cx, cy, r, start, end, rgb, width=2.6):
    """An arc from angle `start` to `end` (radians, y downwards) with an
    arrow head at its end."""
    steps = 24
    pts = [(cx + r * math.cos(start + (end - start) * k / steps),
            cy + r * math.sin(start + (end - start) * k / steps)) for k in range(steps + 1)]
    for (ax, ay), (bx, by) in zip(pts, pts[1:]):
        ip_segment(c, ax, ay, bx, by, width, rgb)
    ex, ey = pts[-1]
    direction = 1 if end > start else -1
    tx, ty = -math.sin(end) * direction, math.cos(end) * direction
    nx, ny = math.cos(end), math.sin(end)
    head = 5.0
    triangle(c, [(ex + tx * head, ey + ty * head), (ex + nx * head * 0.8, ey + ny * head * 0.8),
                 (ex - nx * head * 0.8, ey - ny * head * 0.8)], rgb)


def ip_outline(c, x0, y0, x1, y1, width, rgb):
    for a, b in (((x0, y0), (x1, y0)), ((x1, y0), (x1, y1)), ((x1, y1), (x0, y1)),
                 ((x0, y1), (x0, y0))):
        ip_segment(c, a[0], a[1], b[0], b[1], width, rgb)


def ip_palette(state, colourful):
    """The colour a coloured detail takes in each state."""
    if state == "disable":
        return desaturate(colourful)
    return colourful


# Each glyph draws on a canvas at centre (cx, cy) in colour rgb; `state` lets
# the coloured glyphs fade when disabled.
def ip_glyph_zoom(c, cx, cy, rgb, state):
    ring(c, cx - 2, cy - 2, 9, 6.5, rgb)
    ip_segment(c, cx + 4.5, cy + 4.5, cx + 10, cy + 10, 3.2, rgb)
    ip_segment(c, cx - 6, cy - 2, cx + 2, cy - 2, 2, rgb)
    ip_segment(c, cx - 2, cy - 6, cx - 2, cy + 2, 2, rgb)


def ip_glyph_adapt(c, cx, cy, rgb, state):
    ip_outline(c, cx - 6, cy - 4, cx + 6, cy + 4, 1.6, rgb)
    for sx, sy in ((-1, -1), (1, -1), (1, 1), (-1, 1)):
        x, y = cx + sx * 13, cy + sy * 11
        triangle(c, [(x, y), (x - sx * 6, y), (x, y - sy * 6)], rgb)
        ip_segment(c, x - sx * 2, y - sy * 2, cx + sx * 7, cy + sy * 5, 1.6, rgb)


def ip_glyph_origial(c, cx, cy, rgb, state):
    caption(c, "1:1", int(cx - 16), int(cy - 10), 32, 20, 17, rgb)


def ip_glyph_rotate(c, cx, cy, rgb, state):
    ip_arc_arrow(c, cx, cy, 9, math.radians(-200), math.radians(60), rgb)


def ip_glyph_forward90(c, cx, cy, rgb, state):
    ip_arc_arrow(c, cx, cy + 1, 10, math.radians(-180), math.radians(-20), rgb)
    caption(c, "90", int(cx - 8), int(cy - 2), 16, 12, 10, rgb)


def ip_glyph_reverse90(c, cx, cy, rgb, state):
    ip_arc_arrow(c, cx, cy + 1, 10, math.radians(0), math.radians(-160), rgb)
    caption(c, "90", int(cx - 8), int(cy - 2), 16, 12, 10, rgb)


def ip_glyph_mirrorv(c, cx, cy, rgb, state):
    triangle(c, [(cx - 8, cy - 3), (cx + 8, cy - 3), (cx, cy - 13)], rgb)
    triangle(c, [(cx - 8, cy + 3), (cx + 8, cy + 3), (cx, cy + 13)], rgb)
    for x in range(-14, 15, 5):
        ip_segment(c, cx + x, cy, cx + x + 2.5, cy, 1.4, rgb)


def ip_glyph_mirrorh(c, cx, cy, rgb, state):
    triangle(c, [(cx - 3, cy - 8), (cx - 3, cy + 8), (cx - 13, cy)], rgb)
    triangle(c, [(cx + 3, cy - 8), (cx + 3, cy + 8), (cx + 13, cy)], rgb)
    for y in range(-13, 14, 5):
        ip_segment(c, cx, cy + y, cx, cy + y + 2.5, 1.4, rgb)


def ip_glyph_crop(c, cx, cy, rgb, state):
    ip_segment(c, cx - 7, cy - 13, cx - 7, cy + 7, 2.6, rgb)
    ip_segment(c, cx - 7, cy + 7, cx + 13, cy + 7, 2.6, rgb)
    ip_segment(c, cx - 13, cy - 7, cx + 7, cy - 7, 2.6, rgb)
    ip_segment(c, cx + 7, cy - 7, cx + 7, cy + 13, 2.6, rgb)


def ip_glyph_cancel(c, cx, cy, rgb, state):
    red = ip_palette(state, (200, 60, 60)) if rgb != WHITE else rgb
    ip_segment(c, cx - 8, cy - 8, cx + 8, cy + 8, 3.2, red)
    ip_segment(c, cx + 8, cy - 8, cx - 8, cy + 8, 3.2, red)


def ip_glyph_label(c, cx, cy, rgb, state):
    c.rounded_rect(cx - 10, cy - 12, cx + 10, cy - 8, 1, rgb)
    c.rounded_rect(cx - 2, cy - 12, cx + 2, cy + 12, 1, rgb)
    c.rounded_rect(cx - 5, cy + 10, cx + 5, cy + 12.5, 1, rgb)


def ip_glyph_color(c, cx, cy, rgb, state):
    ring(c, cx, cy, 12, 10, rgb)
    for k, col in enumerate(((220, 60, 60), (240, 190, 40), (60, 170, 80), (60, 110, 220))):
        a = math.radians(-150 + k * 60)
        c.circle(cx + math.cos(a) * 6, cy + math.sin(a) * 6, 2.8,
                 ip_palette(state, col) if rgb != WHITE else rgb)


def ip_glyph_font(c, cx, cy, rgb, state):
    caption(c, "Aa", int(cx - 16), int(cy - 12), 32, 24, 20, rgb)


def ip_glyph_inverse(c, cx, cy, rgb, state):
    ring(c, cx, cy, 12, 10, rgb)
    fill(c, lambda x, y: math.hypot(x - cx, y - cy) <= 10 and x >= cx, rgb,
         box=(cx - 11, cy - 11, cx + 11, cy + 11))


def ip_glyph_smooth(c, cx, cy, rgb, state):
    pts = [(cx - 14 + k, cy + 6 * math.sin(k / 28.0 * 2 * math.pi)) for k in range(29)]
    for (ax, ay), (bx, by) in zip(pts, pts[1:]):
        ip_segment(c, ax, ay, bx, by, 2.6, rgb)
    for k in range(5):
        c.circle(cx - 12 + k * 6, cy + 11, 1.2, rgb)


def ip_glyph_bw(c, cx, cy, rgb, state):
    dark = (30, 30, 30) if state != "disable" else (150, 150, 150)
    if rgb == WHITE:
        dark = (20, 40, 90)
    c.rounded_rect(cx - 12, cy - 11, cx + 12, cy + 11, 2, WHITE)
    triangle(c, [(cx - 12, cy - 11), (cx + 12, cy - 11), (cx - 12, cy + 11)], dark)
    ip_outline(c, cx - 12, cy - 11, cx + 12, cy + 11, 1.4, rgb)


def ip_glyph_histogram(c, cx, cy, rgb, state):
    for k, h in enumerate((6, 12, 20, 16, 9, 4)):
        x = cx - 13 + k * 4.5
        c.rounded_rect(x, cy + 11 - h, x + 3.5, cy + 11, 0.5, rgb)
    ip_segment(c, cx - 14, cy + 12.5, cx + 14, cy + 12.5, 1.4, rgb)


def ip_glyph_pseudo(c, cx, cy, rgb, state):
    jet = ((0, 0, 200), (0, 120, 255), (0, 220, 220), (120, 230, 60), (255, 200, 0),
           (255, 80, 0), (190, 0, 0))
    for k, col in enumerate(jet):
        x = cx - 14 + k * 4
        c.rounded_rect(x, cy - 11, x + 4, cy + 11, 0, ip_palette(state, col))
    ip_outline(c, cx - 14, cy - 11, cx + 14, cy + 11, 1.4, rgb)


def ip_glyph_dye(c, cx, cy, rgb, state):
    blue = ip_palette(state, (40, 110, 220)) if rgb != WHITE else rgb
    c.circle(cx, cy + 4, 8, blue)
    triangle(c, [(cx - 7.2, cy + 1), (cx + 7.2, cy + 1), (cx, cy - 13)], blue)


def ip_glyph_undo(c, cx, cy, rgb, state):
    ip_arc_arrow(c, cx + 2, cy + 4, 9, math.radians(0), math.radians(-180), rgb)


def ip_glyph_redo(c, cx, cy, rgb, state):
    ip_arc_arrow(c, cx - 2, cy + 4, 9, math.radians(-180), math.radians(0), rgb)


def ip_glyph_reset(c, cx, cy, rgb, state):
    ip_arc_arrow(c, cx, cy, 10, math.radians(-60), math.radians(230), rgb)
    c.circle(cx, cy, 2.2, rgb)


def ip_glyph_save(c, cx, cy, rgb, state):
    c.rounded_rect(cx - 12, cy - 12, cx + 12, cy + 12, 2, rgb)
    inner = WHITE if rgb != WHITE else IP_BLUE
    c.rounded_rect(cx - 7, cy - 12, cx + 6, cy - 4, 0.5, inner)
    c.rounded_rect(cx + 1, cy - 11, cx + 4, cy - 5, 0.5, rgb)
    c.rounded_rect(cx - 8, cy + 1, cx + 8, cy + 10, 1, inner)


IP_BUTTONS = {
    "zoom": ip_glyph_zoom, "adapt": ip_glyph_adapt, "origial": ip_glyph_origial,
    "rotate": ip_glyph_rotate, "forward90": ip_glyph_forward90,
    "reverse90": ip_glyph_reverse90, "mirrorv": ip_glyph_mirrorv, "mirrorh": ip_glyph_mirrorh,
    "crop": ip_glyph_crop, "cancel": ip_glyph_cancel, "label": ip_glyph_label,
    "color": ip_glyph_color, "font": ip_glyph_font, "inverse": ip_glyph_inverse,
    "smooth": ip_glyph_smooth, "bw": ip_glyph_bw, "histogram": ip_glyph_histogram,
    "pseudo": ip_glyph_pseudo, "dye": ip_glyph_dye, "undo": ip_glyph_undo, "redo": ip_glyph_redo,
    "reset": ip_glyph_reset, "save": ip_glyph_save,
}


def ip_button_face(c, w, h, state):
    """The button under a glyph: light with a blue rim, blue when pressed,
    grey when disabled. Returns the glyph colour."""
    if state == "pressed":
        c.rounded_rect(1, 1, w - 1, h - 1, 6, (32, 72, 150))
        return WHITE
    if state == "disable":
        c.rounded_rect(1, 1, w - 1, h - 1, 6, (205, 205, 208))
        c.rounded_rect(2, 2, w - 2, h - 2, 5, (236, 236, 238))
        return (168, 168, 172)
    c.rounded_rect(1, 1, w - 1, h - 1, 6, (176, 192, 222))
    c.rounded_rect(2, 2, w - 2, h - 2, 5, (246, 248, 252))
    c.rounded_rect(2, 2, w - 2, h / 2, 5, WHITE, 0.6)
    return IP_BLUE


def ip_operation_button(path, glyph, state):
    c = Canvas(50, 40)
    rgb = ip_button_face(c, 50, 40, state)
    glyph(c, 25, 20 + (1 if state == "pressed" else 0), rgb, state)
    write_png(path, 50, 40, c.px)


def ip_glyph_import(c, cx, cy, rgb):
    c.rounded_rect(cx - 13, cy - 1, cx - 3, cy + 3, 1.5, rgb)
    c.rounded_rect(cx - 13, cy + 2, cx + 13, cy + 14, 2, rgb)
    ip_segment(c, cx, cy - 15, cx, cy - 5, 3, rgb)
    triangle(c, [(cx - 6, cy - 6), (cx + 6, cy - 6), (cx, cy + 1)], rgb)


def ip_glyph_back(c, cx, cy, rgb):
    triangle(c, [(cx - 14, cy), (cx - 4, cy - 9), (cx - 4, cy + 9)], rgb)
    ip_segment(c, cx - 6, cy, cx + 8, cy, 4, rgb)
    ip_segment(c, cx + 8, cy, cx + 8, cy + 8, 4, rgb)


def ip_caption_button(path, glyph, text, pressed):
    """Import or Back of the picture area, 60 x 60: glyph over caption."""
    c = Canvas(60, 60)
    rgb = ip_button_face(c, 60, 60, "pressed" if pressed else "normal")
    shift = 1 if pressed else 0
    glyph(c, 30, 22 + shift, rgb)
    caption(c, text, 2, 40 + shift, 56, 17, 12, rgb)
    write_png(path, 60, 60, c.px)


def ip_auto_button(path, pressed):
    """Auto of the histogram tool, 40 x 40: the histogram with a range."""
    c = Canvas(40, 40)
    rgb = ip_button_face(c, 40, 40, "pressed" if pressed else "normal")
    ip_glyph_histogram(c, 20, 18 + (1 if pressed else 0), rgb, "normal")
    ip_segment(c, 7, 34, 33, 34, 1.4, rgb)
    triangle(c, [(6, 34), (10, 31), (10, 37)], rgb)
    triangle(c, [(34, 34), (30, 31), (30, 37)], rgb)
    write_png(path, 40, 40, c.px)


def image_process_pictures():
    import os
    os.makedirs("Image/ImageProcess", exist_ok=True)
    for stem, glyph in IP_BUTTONS.items():
        for state in ("normal", "pressed", "disable"):
            ip_operation_button("Image/ImageProcess/%s_%s.png" % (stem, state), glyph, state)
    for name, glyph, chinese, english in (("import", ip_glyph_import, "导入", "Import"),
                                          ("back", ip_glyph_back, "返回", "Back")):
        for lang, text in (("", chinese), ("_en", english)):
            for state in ("normal", "pressed"):
                ip_caption_button("Image/%s_%s%s.png" % (name, state, lang), glyph, text,
                                  state == "pressed")
    ip_auto_button("Image/histogram_normal.png", False)
    ip_auto_button("Image/histogram_pressed.png", True)


# ---- Experiment panels -------------------------------------------------------
# Buttons that the capture and camera-settings panels of the experiment pages
# share by name: Preview, camera settings and Capture (90 x 50, with Capture
# also disabled) and Reset and Save (60 x 40), each with its caption, Chinese
# in the plain files and English in the _en files.

PANEL_BLUE = (60, 100, 183)
PANEL_LIGHT = (232, 237, 246)
PANEL_PALE = (225, 225, 225)
PANEL_GREY = (170, 170, 170)


def panel_button(path, w, h, glyph, text, state):
    """A rounded button face with a glyph over its caption."""
    c = Canvas(w, h)
    back, fore = {"normal": (PANEL_LIGHT, PANEL_BLUE), "pressed": (PANEL_BLUE, WHITE),
                  "disabled": (PANEL_PALE, PANEL_GREY)}[state]
    c.rounded_rect(1, 1, w - 1, h - 1, 6, back)
    glyph(c, w / 2, h * 0.36, fore)
    caption(c, text, 2, h - 19, w - 4, 17, 12 if w > 60 else 11, fore)
    write_png(path, w, h, c.px)


def panel_hole(rgb):
    """The face colour behind a glyph drawn in `rgb`, for cut-outs."""
    return {PANEL_BLUE: PANEL_LIGHT, WHITE: PANEL_BLUE}.get(rgb, PANEL_PALE)


def panel_glyph_preview(c, cx, cy, rgb):
    ring(c, cx, cy, 8, 5, rgb)
    c.circle(cx, cy, 2.5, rgb)


def panel_glyph_camset(c, cx, cy, rgb):
    for dy in (-6, 0, 6):
        c.rounded_rect(cx - 9, cy + dy - 1, cx + 9, cy + dy + 1, 1, rgb)
    for dx, dy in ((-4, -6), (4, 0), (-2, 6)):
        c.circle(cx + dx, cy + dy, 2.5, rgb)


def panel_glyph_capture(c, cx, cy, rgb):
    c.rounded_rect(cx - 10, cy - 6, cx + 10, cy + 8, 2, rgb)
    c.rounded_rect(cx - 4, cy - 9, cx + 4, cy - 5, 1, rgb)
    ring(c, cx, cy + 1, 4, 2.3, panel_hole(rgb))


def panel_glyph_reset(c, cx, cy, rgb):
    ring(c, cx, cy, 7, 4.6, rgb, gap=(-0.6, 0.6))
    triangle(c, [(cx + 4, cy - 9), (cx + 10, cy - 3), (cx + 3, cy - 2)], rgb)


def panel_glyph_save(c, cx, cy, rgb):
    c.rounded_rect(cx - 8, cy - 8, cx + 8, cy + 8, 1.5, rgb)
    c.rounded_rect(cx - 5, cy - 8, cx + 4, cy - 3, 0.5, panel_hole(rgb))
    c.rounded_rect(cx - 5, cy + 2, cx + 5, cy + 8, 0.5, panel_hole(rgb))


def panel_pictures():
    buttons = (("preview", panel_glyph_preview, "预览", "Preview", 90, 50, False),
               ("camset", panel_glyph_camset, "设置", "Setting", 90, 50, False),
               ("capture", panel_glyph_capture, "采集", "Capture", 90, 50, True),
               ("reset", panel_glyph_reset, "重置", "Reset", 60, 40, False),
               ("save", panel_glyph_save, "保存", "Save", 60, 40, False))
    for name, glyph, chinese, english, w, h, disabled in buttons:
        for lang, text in (("", chinese), ("_en", english)):
            for state in ("normal", "pressed") + (("disabled",) if disabled else ()):
                file_state = "disable" if state == "disabled" else state
                panel_button("Image/%s_%s%s.png" % (name, file_state, lang), w, h, glyph, text,
                             state)


if __name__ == "__main__":
    blue = (46, 86, 128)
    teal = (28, 110, 112)
    login_background("Image/login.png", blue)
    login_background("Image/login_550.png", teal)
    window_logo("Image/windowLogo.png", blue)
    main_window_pictures()
    control_pictures()
    image_process_pictures()
    panel_pictures()
