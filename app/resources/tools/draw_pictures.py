#!/usr/bin/env python3
"""Draws the station program's pictures (login backgrounds, window logo).

Plain Python, no imaging library: shapes are rendered with analytic
anti-aliasing and written as 8-bit RGBA PNG files. Run from this folder:
    python3 tools/draw_pictures.py
"""
import math
import struct
import zlib


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


if __name__ == "__main__":
    blue = (46, 86, 128)
    teal = (28, 110, 112)
    login_background("Image/login.png", blue)
    login_background("Image/login_550.png", teal)
    window_logo("Image/windowLogo.png", blue)
