#!/usr/bin/env python3
"""Draws the pictures of the western-blot page: the capture panels' buttons
(Preview, Setting, Capture, Auto Time 90 x 50 and Auto Capture 190 x 50 with
their caption, the exposure-list Set button, the light and the Manual and
Single switches 60 x 60, the histogram's disabled Auto button 40 x 40),
normal, pressed and disabled where a state needs it, Chinese captions in the
plain files and English ones in the "_en" files; the bottom bar's Merge
button (60 x 60, both languages, normal, pressed, disabled); and the moving
light under the Auto Capture button (waterlight.gif, 188 x 48). Uses the
drawing helpers of app/resources/tools/draw_pictures.py and ImageMagick's
convert for the animation. The pictures go to app/resources/Image. Run from
app/experiments/westernblot:
    python3 tools/draw_pictures.py
"""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "..", "resources",
                                "tools"))
import draw_pictures as dp  # noqa: E402

IMAGE = os.path.join(os.path.dirname(__file__), "..", "..", "..", "resources", "Image") + "/"
BLUE = (60, 100, 183)
LIGHT = (232, 237, 246)
PALE = (225, 225, 225)
GREY = (170, 170, 170)
AMBER = (240, 180, 40)
GREEN = (60, 150, 90)


def glyph_capture(c, cx, cy, rgb):
    c.rounded_rect(cx - 10, cy - 6, cx + 10, cy + 8, 2, rgb)
    c.rounded_rect(cx - 4, cy - 9, cx + 4, cy - 5, 1, rgb)
    c.circle(cx, cy + 1, 4, dp.WHITE)
    c.circle(cx, cy + 1, 2.5, rgb)


def glyph_clock(c, cx, cy, rgb):
    dp.ring(c, cx, cy, 9, 7, rgb)
    c.rounded_rect(cx - 1, cy - 6, cx + 1, cy + 1, 1, rgb)
    c.rounded_rect(cx - 1, cy - 1, cx + 5, cy + 1, 1, rgb)


def glyph_auto_capture(c, cx, cy, rgb):
    glyph_clock(c, cx - 14, cy, rgb)
    dp.triangle(c, [(cx - 1, cy - 4), (cx + 4, cy), (cx - 1, cy + 4)], rgb)
    glyph_capture(c, cx + 16, cy, rgb)


def glyph_list(c, cx, cy, rgb):
    for i in range(4):
        y = cy - 12 + i * 7
        c.circle(cx - 10, y + 1, 2, rgb)
        c.rounded_rect(cx - 5, y, cx + 12, y + 2.5, 1, rgb)


def glyph_light(c, cx, cy, rgb):
    c.circle(cx, cy - 3, 10, rgb)
    c.rounded_rect(cx - 5, cy + 8, cx + 5, cy + 14, 2, rgb)
    for dx in (-16, 16):
        c.rounded_rect(cx + dx - 3, cy - 4, cx + dx + 3, cy - 2, 1, rgb)


def glyph_series(c, cx, cy, rgb):
    for i, dx in enumerate((-10, 0, 10)):
        c.rounded_rect(cx + dx - 6, cy - 12 + i * 4, cx + dx + 4, cy + 2 + i * 4, 1.5, rgb)


def glyph_single(c, cx, cy, rgb):
    c.rounded_rect(cx - 9, cy - 11, cx + 9, cy + 11, 2, rgb)


def glyph_histogram(c, cx, cy, rgb):
    for i, h in enumerate((4, 10, 16, 9, 5)):
        x = cx - 12 + i * 5
        c.rounded_rect(x, cy + 8 - h, x + 4, cy + 8, 0.8, rgb)


def glyph_merge(c, cx, cy, rgb):
    c.rounded_rect(cx - 16, cy - 14, cx + 2, cy + 4, 2, rgb, 0.7)
    c.rounded_rect(cx - 2, cy - 4, cx + 16, cy + 14, 2, rgb)


def picture(path, w, h, glyph, text, state, accent=BLUE, back_alpha=1.0):
    c = dp.Canvas(w, h)
    back, fore = {"normal": (LIGHT, accent), "pressed": (accent, dp.WHITE),
                  "disable": (PALE, GREY)}[state]
    c.rounded_rect(1, 1, w - 1, h - 1, 6, back, back_alpha)
    if text:
        glyph(c, w // 2, 17 + (1 if state == "pressed" else 0), fore)
        dp.caption(c, text, 2, h - 19, w - 4, 17, 12, fore)
    else:
        glyph(c, w // 2, h // 2, fore)
    dp.write_png(path, w, h, c.px)


def water_light(path):
    """A soft light running along the strip, twelve frames."""
    w, h, frames = 188, 48, 12
    with tempfile.TemporaryDirectory() as folder:
        names = []
        for i in range(frames):
            c = dp.Canvas(w, h)
            x = 10 + (w - 20) * i / (frames - 1)
            c.circle(x, h / 2, 18, AMBER, 0.25)
            c.circle(x, h / 2, 10, AMBER, 0.5)
            name = os.path.join(folder, "frame%02d.png" % i)
            dp.write_png(name, w, h, c.px)
            names.append(name)
        subprocess.run(["convert", "-delay", "8", "-dispose", "Background", "-loop", "0"] + names
                       + [path], check=True)


if __name__ == "__main__":
    # preview_*, camset_* and capture_* are shared with the gel/UV panels: the resources'
    # draw_pictures.py draws them.
    captions = {"": ("自动时间", "自动拍摄"), "_en": ("Auto Time", "Auto Capture")}
    for lang, (auto_time, auto_cap) in captions.items():
        for state in ("normal", "pressed"):
            picture(IMAGE + "autotime_%s%s.png" % (state, lang), 90, 50, glyph_clock, auto_time,
                    state)
            # Half clear at rest, so that the moving light under it shows.
            picture(IMAGE + "autocap_%s%s.png" % (state, lang), 190, 50, glyph_auto_capture,
                    auto_cap, state, back_alpha=0.5 if state == "normal" else 1.0)
            picture(IMAGE + "set_%s%s.png" % (state, lang), 60, 60, glyph_list, None, state)
            picture(IMAGE + "merge_%s%s.png" % (state, lang), 60, 60, glyph_merge, None, state)
        picture(IMAGE + "merge_normal%s_disable.png" % lang, 60, 60, glyph_merge, None, "disable")
    for state in ("normal", "pressed"):
        picture(IMAGE + "light_%s.png" % state, 60, 60, glyph_light, None, state, AMBER)
        picture(IMAGE + "manual_%s.png" % state, 60, 60, glyph_series, None, state, GREEN)
        picture(IMAGE + "single_%s.png" % state, 60, 60, glyph_single, None, state, GREEN)
    picture(IMAGE + "histogram_disable.png", 40, 40, glyph_histogram, None, "disable")
    water_light(IMAGE + "waterlight.gif")
