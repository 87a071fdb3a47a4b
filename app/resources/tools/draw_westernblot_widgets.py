#!/usr/bin/env python3
"""Draws the pictures of the western-blot page's dialogs and settings frame:
the up and down buttons of the capture-time entry (40 x 30), the page arrows
(40 x 40, normal, pressed and disabled) and the confirm button (60 x 40) of
the exposure-time list, the English OK button of the merge dialog (80 x 40)
and the Reset and Save buttons of the camera settings (60 x 40, Chinese
captions in the plain files, English ones in the "_en" files). Uses the
drawing helpers of draw_pictures.py beside it. Run from this folder:
    python3 tools/draw_westernblot_widgets.py
"""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
import draw_pictures as dp  # noqa: E402

BLUE = (60, 100, 183)
LIGHT = (232, 237, 246)
GREY = (190, 190, 195)
GREY_TEXT = (140, 140, 145)


def colours(state):
    if state == "pressed":
        return BLUE, dp.WHITE
    if state == "disable":
        return (236, 236, 238), GREY_TEXT
    return LIGHT, BLUE


def step_button(path, direction, state):
    """Up or down button of the time entry, 40 x 30."""
    c = dp.Canvas(40, 30)
    back, fore = colours(state)
    c.rounded_rect(1, 1, 39, 29, 5, back)
    pts = {"up": [(12, 19), (28, 19), (20, 10)], "down": [(12, 11), (28, 11), (20, 20)]}
    dp.triangle(c, pts[direction], fore)
    dp.write_png(path, 40, 30, c.px)


def turn_button(path, direction, state):
    """Previous or next picture button, 40 x 40."""
    c = dp.Canvas(40, 40)
    back, fore = colours(state)
    c.circle(20, 20, 19, back)
    pts = {"left": [(24, 11), (24, 29), (13, 20)], "right": [(16, 11), (16, 29), (27, 20)]}
    dp.triangle(c, pts[direction], fore)
    dp.write_png(path, 40, 40, c.px)


def confirm_button(path, state):
    """The tick of the exposure-time list, 60 x 40."""
    c = dp.Canvas(60, 40)
    back, fore = colours(state)
    c.rounded_rect(1, 1, 59, 39, 6, back)
    for t in range(24):
        k = t / 23
        if k < 0.4:
            x, y = 21 + k * 15, 20 + k * 15
        else:
            x, y = 27 + (k - 0.4) * 22, 26 - (k - 0.4) * 25
        c.circle(x, y, 2.2, fore)
    dp.write_png(path, 60, 40, c.px)


def caption_button(path, width, text, state):
    c = dp.Canvas(width, 40)
    back, fore = colours(state)
    c.rounded_rect(1, 1, width - 1, 39, 6, back)
    dp.caption(c, text, 2, 2, width - 4, 36, 14, fore)
    dp.write_png(path, width, 40, c.px)


if __name__ == "__main__":
    for state in ("normal", "pressed"):
        step_button("Image/arrow_up_%s.png" % state, "up", state)
        step_button("Image/arrow_down_%s.png" % state, "down", state)
        confirm_button("Image/confirm_%s.png" % state, state)
        caption_button("Image/ok_en_%s.png" % state, 80, "OK", state)
        for lang, (reset, save) in {"": ("重置", "保存"), "_en": ("Reset", "Save")}.items():
            caption_button("Image/reset_%s%s.png" % (state, lang), 60, reset, state)
            caption_button("Image/save_%s%s.png" % (state, lang), 60, save, state)
    for state in ("normal", "pressed", "disable"):
        turn_button("Image/turnLeft_%s.png" % state, "left", state)
        turn_button("Image/turnRight_%s.png" % state, "right", state)
