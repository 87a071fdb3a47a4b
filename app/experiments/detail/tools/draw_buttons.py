#!/usr/bin/env python3
"""Draws the buttons of the experiment detail dialogs (Back and Export), 80 x 40,
normal and pressed, for both languages. Uses the drawing helpers of
app/resources/tools/draw_pictures.py. Run from app/experiments/detail:
    python3 tools/draw_buttons.py
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "..", "resources",
                                "tools"))
import draw_pictures as dp  # noqa: E402

BLUE = (60, 100, 183)
LIGHT = (232, 237, 246)


def button(path, glyph, pressed):
    c = dp.Canvas(80, 40)
    c.rounded_rect(1, 1, 79, 39, 6, BLUE if pressed else LIGHT)
    glyph(c, 40, 20, dp.WHITE if pressed else BLUE)
    dp.write_png(path, 80, 40, c.px)


def glyph_back(c, cx, cy, rgb):
    dp.triangle(c, [(cx - 14, cy), (cx - 4, cy - 9), (cx - 4, cy + 9)], rgb)
    c.rounded_rect(cx - 5, cy - 3, cx + 13, cy + 3, 1.5, rgb)


def glyph_export(c, cx, cy, rgb):
    c.rounded_rect(cx - 13, cy + 6, cx + 13, cy + 10, 1.5, rgb)
    c.rounded_rect(cx - 13, cy - 1, cx - 9, cy + 10, 1.5, rgb)
    c.rounded_rect(cx + 9, cy - 1, cx + 13, cy + 10, 1.5, rgb)
    dp.triangle(c, [(cx, cy - 13), (cx - 8, cy - 4), (cx + 8, cy - 4)], rgb)
    c.rounded_rect(cx - 2.5, cy - 6, cx + 2.5, cy + 5, 1, rgb)


if __name__ == "__main__":
    for pressed, state in ((False, "normal"), (True, "pressed")):
        button("Image/rectback_%s.png" % state, glyph_back, pressed)
        button("Image/rectback_en_%s.png" % state, glyph_back, pressed)
        button("Image/dialogexport_%s.png" % state, glyph_export, pressed)
        button("Image/dialogexport_%s_en.png" % state, glyph_export, pressed)
