#!/usr/bin/env python3
"""Draws the pictures of the multi-fluorescence page: the light and filter
item icons (24 x 24, off and on) and the capture panel's buttons (Preview,
Setting, Capture and Stop 90 x 50 with their caption, Set 80 x 25 without),
normal and pressed, Chinese captions in the plain files and English ones in
the "_en" files. Uses the drawing helpers of
app/resources/tools/draw_pictures.py. Run from app/experiments/multfluore:
    python3 tools/draw_pictures.py
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "..", "resources",
                                "tools"))
import draw_pictures as dp  # noqa: E402

BLUE = (60, 100, 183)
LIGHT = (232, 237, 246)
GREY = (150, 150, 150)
AMBER = (240, 180, 40)
RED = (200, 60, 50)


def bulb(path, lit):
    c = dp.Canvas(24, 24)
    if lit:
        c.circle(12, 10, 9, AMBER, 0.35)
    c.circle(12, 10, 6, AMBER if lit else GREY)
    c.rounded_rect(9, 16, 15, 21, 1.5, BLUE if lit else GREY)
    dp.write_png(path, 24, 24, c.px)


def filter_disc(path, inserted):
    c = dp.Canvas(24, 24)
    dp.ring(c, 12, 12, 10, 7, BLUE if inserted else GREY)
    if inserted:
        c.circle(12, 12, 6, (120, 190, 120))
    dp.write_png(path, 24, 24, c.px)


def glyph_preview(c, cx, cy, rgb):
    dp.ring(c, cx, cy, 8, 5, rgb)
    c.circle(cx, cy, 2.5, rgb)


def glyph_setting(c, cx, cy, rgb):
    for dy in (-6, 0, 6):
        c.rounded_rect(cx - 9, cy + dy - 1, cx + 9, cy + dy + 1, 1, rgb)
    for dx, dy in ((-4, -6), (4, 0), (-2, 6)):
        c.circle(cx + dx, cy + dy, 2.5, rgb)


def glyph_capture(c, cx, cy, rgb):
    c.rounded_rect(cx - 10, cy - 6, cx + 10, cy + 8, 2, rgb)
    c.rounded_rect(cx - 4, cy - 9, cx + 4, cy - 5, 1, rgb)
    c.circle(cx, cy + 1, 4, dp.WHITE)
    c.circle(cx, cy + 1, 2.5, rgb)


def glyph_stop(c, cx, cy, rgb):
    c.rounded_rect(cx - 6, cy - 6, cx + 6, cy + 6, 1.5, rgb)


def button(path, glyph, text, pressed, accent=BLUE):
    c = dp.Canvas(90, 50)
    back, fore = (accent, dp.WHITE) if pressed else (LIGHT, accent)
    c.rounded_rect(1, 1, 89, 49, 6, back)
    glyph(c, 45, 17 + (1 if pressed else 0), fore)
    dp.caption(c, text, 2, 31, 86, 17, 12, fore)
    dp.write_png(path, 90, 50, c.px)


def small_button(path, pressed):
    c = dp.Canvas(80, 25)
    c.rounded_rect(1, 1, 79, 24, 5, (180, 195, 225) if pressed else LIGHT)
    dp.write_png(path, 80, 25, c.px)


if __name__ == "__main__":
    bulb("Image/lightoff.png", False)
    bulb("Image/lighton.png", True)
    filter_disc("Image/filteroff.png", False)
    filter_disc("Image/filteron.png", True)
    captions = {"": ("预览", "设置", "采集", "停止"), "_en": ("Preview", "Setting", "Capture", "Stop")}
    for lang, (preview, setting, capture, stop) in captions.items():
        for pressed, state in ((False, "normal"), (True, "pressed")):
            button("Image/fluorePreview_%s%s.png" % (state, lang), glyph_preview, preview, pressed)
            button("Image/fluoreSetting_%s%s.png" % (state, lang), glyph_setting, setting, pressed)
            button("Image/fluoreCapture_%s%s.png" % (state, lang), glyph_capture, capture, pressed)
            button("Image/fluoreStop_%s%s.png" % (state, lang), glyph_stop, stop, pressed, RED)
            small_button("Image/fluoreSet_%s%s.png" % (state, lang), pressed)
