#!/usr/bin/env python3
"""Draws the calendar button of the audit-trail page's time fields: plain
(picker closed) and checked (picker open). Uses the drawing helpers of
app/resources/tools/draw_pictures.py. Run from app/system:
    python3 tools/draw_calendar.py
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "resources", "tools"))
import draw_pictures as dp  # noqa: E402

BLUE = (60, 100, 183)
GREY = (90, 90, 100)


def calendar(path, rgb, checked):
    size = 20
    c = dp.Canvas(size, size)
    if checked:
        c.rounded_rect(0, 0, 20, 20, 4, BLUE, 0.18)
    c.rounded_rect(2, 4, 18, 18, 2, rgb)
    c.rounded_rect(3.5, 8, 16.5, 16.5, 1, (255, 255, 255))
    c.rounded_rect(5, 2, 7, 6, 1, rgb)
    c.rounded_rect(13, 2, 15, 6, 1, rgb)
    for row in range(2):
        for col in range(3):
            x = 5 + col * 4
            y = 9.5 + row * 3.5
            c.rounded_rect(x, y, x + 2.2, y + 2.2, 0.5, rgb)
    dp.write_png(path, size, size, c.px)


if __name__ == "__main__":
    calendar("Image/calendar.png", GREY, False)
    calendar("Image/calendar_check.png", BLUE, True)
