#!/usr/bin/env python3
"""Draws the pictures of the gel/UV page's bottom bar (Export, WPS, Process,
60 x 60, normal, pressed and disabled, both languages), the door pictures and
the running dialog's progress cover and Stop button. Uses the drawing helpers
of app/resources/tools/draw_pictures.py. Run from app/experiments/varnu:
    python3 tools/draw_pictures.py
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "..", "resources",
                                "tools"))
import draw_pictures as dp  # noqa: E402

BLUE = (60, 100, 183)
LIGHT = (232, 237, 246)
GREY = (170, 170, 170)
PALE = (225, 225, 225)
RED = (200, 60, 50)


def glyph_export(c, cx, cy, rgb):
    c.rounded_rect(cx - 16, cy + 8, cx + 16, cy + 13, 2, rgb)
    c.rounded_rect(cx - 16, cy - 1, cx - 11, cy + 13, 2, rgb)
    c.rounded_rect(cx + 11, cy - 1, cx + 16, cy + 13, 2, rgb)
    dp.triangle(c, [(cx, cy - 17), (cx - 10, cy - 6), (cx + 10, cy - 6)], rgb)
    c.rounded_rect(cx - 3, cy - 8, cx + 3, cy + 6, 1, rgb)


def glyph_wps(c, cx, cy, rgb):
    c.rounded_rect(cx - 13, cy - 17, cx + 13, cy + 17, 3, rgb)
    for i, w in enumerate((18, 18, 12, 18)):
        y = cy - 10 + i * 6
        c.rounded_rect(cx - 9, y, cx - 9 + w, y + 2.5, 1, (255, 255, 255))


def glyph_process(c, cx, cy, rgb):
    c.rounded_rect(cx - 17, cy - 13, cx + 17, cy + 13, 3, rgb)
    dp.triangle(c, [(cx - 13, cy + 10), (cx - 3, cy - 4), (cx + 5, cy + 10)], (255, 255, 255))
    dp.triangle(c, [(cx - 1, cy + 10), (cx + 7, cy - 1), (cx + 14, cy + 10)], (255, 255, 255))
    c.circle(cx + 9, cy - 7, 3, (255, 255, 255))


def button(path, glyph, state):
    c = dp.Canvas(60, 60)
    back, fore = {"normal": (LIGHT, BLUE), "pressed": (BLUE, dp.WHITE),
                  "disabled": (PALE, GREY)}[state]
    c.rounded_rect(1, 1, 59, 59, 8, back)
    glyph(c, 30, 30, fore)
    dp.write_png(path, 60, 60, c.px)


def door(path, open_):
    c = dp.Canvas(60, 60)
    c.rounded_rect(12, 6, 48, 54, 3, GREY)
    if open_:
        dp.triangle(c, [(14, 8), (34, 14), (34, 52)], BLUE)
        dp.triangle(c, [(14, 8), (14, 52), (34, 52)], BLUE)
    else:
        c.rounded_rect(14, 8, 46, 52, 2, BLUE)
    c.circle(40 if not open_ else 30, 30, 2.5, dp.WHITE)
    dp.write_png(path, 60, 60, c.px)


def progress_cover(path):
    c = dp.Canvas(340, 30)
    c.rounded_rect(0, 0, 340, 30, 6, (255, 255, 255), alpha=0.15)
    dp.write_png(path, 340, 30, c.px)


def stop_button(path, pressed):
    c = dp.Canvas(60, 30)
    c.rounded_rect(1, 1, 59, 29, 6, RED if pressed else LIGHT)
    c.rounded_rect(24, 9, 36, 21, 1.5, dp.WHITE if pressed else RED)
    dp.write_png(path, 60, 30, c.px)


if __name__ == "__main__":
    for name, glyph in (("export", glyph_export), ("wps", glyph_wps),
                        ("imageProcess", glyph_process)):
        for lang in ("", "_en"):
            button("Image/%s_normal%s.png" % (name, lang), glyph, "normal")
            button("Image/%s_pressed%s.png" % (name, lang), glyph, "pressed")
            button("Image/%s_normal%s_disable.png" % (name, lang), glyph, "disabled")
    door("Image/door_open.png", True)
    door("Image/door_close.png", False)
    progress_cover("Image/cap_progress.png")
    for lang in ("", "_en"):
        stop_button("Image/capstop_normal%s.png" % lang, False)
        stop_button("Image/capstop_pressed%s.png" % lang, True)
