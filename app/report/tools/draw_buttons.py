#!/usr/bin/env python3
"""Draws the buttons of the report list (Detail and Delete), 80 x 40, normal,
pressed and (Delete) disabled, for both languages. Uses the drawing helpers
of app/resources/tools/draw_pictures.py. Run from app/report:
    python3 tools/draw_buttons.py
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "resources", "tools"))
import draw_pictures as dp  # noqa: E402

BLUE = (60, 100, 183)
LIGHT = (232, 237, 246)
GREY_BASE = (235, 235, 235)
GREY = (170, 170, 170)


def button(path, glyph, state):
    c = dp.Canvas(80, 40)
    base, fg = {"normal": (LIGHT, BLUE), "pressed": (BLUE, dp.WHITE),
                "disable": (GREY_BASE, GREY)}[state]
    c.rounded_rect(1, 1, 79, 39, 6, base)
    glyph(c, 40, 20, fg)
    dp.write_png(path, 80, 40, c.px)


def glyph_detail(c, cx, cy, rgb):
    dp.ring(c, cx - 3, cy - 3, 9, 6, rgb)
    for i in range(7):
        c.circle(cx + 4 + i, cy + 4 + i, 2.2, rgb)


def glyph_delete(c, cx, cy, rgb):
    c.rounded_rect(cx - 11, cy - 11, cx + 11, cy - 8, 1, rgb)
    c.rounded_rect(cx - 4, cy - 14, cx + 4, cy - 10, 1, rgb)
    c.rounded_rect(cx - 9, cy - 6, cx + 9, cy + 13, 2, rgb)
    for dx in (-4, 0, 4):
        c.rounded_rect(cx + dx - 1, cy - 3, cx + dx + 1, cy + 10, 0.5, LIGHT)


if __name__ == "__main__":
    for state in ("normal", "pressed"):
        button("Image/detail_%s.png" % state, glyph_detail, state)
        button("Image/detail_en_%s.png" % state, glyph_detail, state)
    for state in ("normal", "pressed", "disable"):
        button("Image/delete_%s.png" % state, glyph_delete, state)
        button("Image/delete_en_%s.png" % state, glyph_delete, state)
