#!/usr/bin/env python3
"""Draws the pictures of the gel/UV page's bottom bar (Export, WPS, Process,
60 x 60, normal, pressed and disabled, both languages), the door pictures,
the running dialog's progress cover and Stop button, and the capture panel's
own buttons: accumulated capture, auto focus and auto exposure (90 x 50, with
their captions), the lens arrows, power and lamp buttons (60 x 40, no
caption). The buttons the experiment panels share (Preview, Capture, ...)
are drawn by app/resources/tools/draw_pictures.py. Uses the drawing helpers
of app/resources/tools/draw_pictures.py. Run from app/experiments/varnu:
    python3 tools/draw_pictures.py
"""
import math
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


def glyph_acc_capture(c, cx, cy, rgb):
    for dx in (3, 0):
        c.rounded_rect(cx - 10 + dx, cy - 7 - dx, cx + 10 + dx, cy + 7 - dx, 2, rgb)
        c.rounded_rect(cx - 8 + dx, cy - 5 - dx, cx + 8 + dx, cy + 5 - dx, 1, dp.panel_hole(rgb))
    c.rounded_rect(cx - 10, cy - 7, cx + 10, cy + 7, 2, rgb)
    dp.ring(c, cx, cy, 4, 2.3, dp.panel_hole(rgb))


def glyph_auto_focus(c, cx, cy, rgb):
    def bar(x0, y0, x1, y1):
        c.rounded_rect(min(x0, x1), min(y0, y1), max(x0, x1), max(y0, y1), 1, rgb)
    for sx, sy in ((-1, -1), (1, -1), (-1, 1), (1, 1)):
        x, y = cx + sx * 11, cy + sy * 9
        bar(x - 1.2 * sx, y - 1.2 * sy, x - 6 * sx, y + 1.2 * sy)
        bar(x - 1.2 * sx, y - 1.2 * sy, x + 1.2 * sx, y - 6 * sy)
    c.circle(cx, cy, 3, rgb)


def glyph_auto_exposure(c, cx, cy, rgb):
    dp.ring(c, cx, cy, 9, 6.8, rgb)
    c.circle(cx, cy, 4, rgb)
    dp.triangle(c, [(cx - 9, cy + 9), (cx + 9, cy - 9), (cx + 9, cy + 9)], rgb)
    c.circle(cx, cy, 2, dp.panel_hole(rgb))


def arrow_button(path, up, pressed):
    c = dp.Canvas(60, 40)
    back, fore = (BLUE, dp.WHITE) if pressed else (LIGHT, BLUE)
    c.rounded_rect(1, 1, 59, 39, 6, back)
    if up:
        dp.triangle(c, [(30, 10), (18, 28), (42, 28)], fore)
    else:
        dp.triangle(c, [(30, 30), (18, 12), (42, 12)], fore)
    dp.write_png(path, 60, 40, c.px)


def switch_button(path, glyph, state):
    c = dp.Canvas(60, 40)
    back, fore = {"normal": (LIGHT, BLUE), "pressed": (BLUE, dp.WHITE),
                  "disabled": (PALE, GREY)}[state]
    c.rounded_rect(1, 1, 59, 39, 6, back)
    glyph(c, 30, 20, fore)
    dp.write_png(path, 60, 40, c.px)


def glyph_power(c, cx, cy, rgb):
    dp.ring(c, cx, cy + 1, 10, 7.5, rgb, gap=(-math.pi / 2, 0.6))
    c.rounded_rect(cx - 1.3, cy - 12, cx + 1.3, cy + 1, 1, rgb)


def glyph_lamp(c, cx, cy, rgb):
    c.circle(cx, cy - 2, 7, rgb)
    c.rounded_rect(cx - 4, cy + 5, cx + 4, cy + 11, 1.5, rgb)
    for angle in range(0, 360, 45):
        a = math.radians(angle)
        c.circle(cx + 11 * math.cos(a), cy - 2 + 11 * math.sin(a), 1.3, rgb)


def panel_pictures():
    buttons = (("accCapture", glyph_acc_capture, "积分采集", "Acc Capture", True),
               ("autoFocus", glyph_auto_focus, "自动对焦", "Auto Focus", False),
               ("autoExp", glyph_auto_exposure, "自动曝光", "Auto Exposure", False))
    for name, glyph, chinese, english, disabled in buttons:
        for lang, text in (("", chinese), ("_en", english)):
            for state in ("normal", "pressed") + (("disabled",) if disabled else ()):
                file_state = "disable" if state == "disabled" else state
                # The style sheets name the normal focus picture in lower case.
                stem = "autofocus" if name == "autoFocus" and state == "normal" else name
                dp.panel_button("Image/%s_%s%s.png" % (stem, file_state, lang), 90, 50, glyph,
                                text, state)
    for direction, up in (("up", True), ("down", False)):
        arrow_button("Image/%s_arrow_normal.png" % direction, up, False)
        arrow_button("Image/%s_arrow_pressed.png" % direction, up, True)
    for name, glyph in (("power", glyph_power), ("uv", glyph_lamp)):
        for state in ("normal", "pressed", "disabled"):
            file_state = "disable" if state == "disabled" else state
            switch_button("Image/%s_%s.png" % (name, file_state), glyph, state)


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
    panel_pictures()
