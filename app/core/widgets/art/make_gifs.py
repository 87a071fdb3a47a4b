#!/usr/bin/env python3
"""Draws the two busy animations of the station program as animated GIFs.

    python3 make_gifs.py <output folder>

writes loading.gif (a row of five dots with a travelling highlight, 180 x 40)
and waiting.gif (a ring of twelve dots with a fading tail, 201 x 171). Both
have a transparent background, so they sit on the translucent busy dialogs.
Needs nothing beyond the Python standard library: the GIF writer below is a
plain GIF89a encoder with LZW compression.
"""

import math
import os
import struct
import sys

TRANSPARENT = 0


def lzw_encode(indices, min_code_size):
    """Compresses palette indices into the GIF variant of LZW."""
    clear_code = 1 << min_code_size
    end_code = clear_code + 1
    out = bytearray()
    bit_buffer = 0
    bit_count = 0

    def emit(code, size):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += size
        while bit_count >= 8:
            out.append(bit_buffer & 0xFF)
            bit_buffer >>= 8
            bit_count -= 8

    def fresh_table():
        return {bytes([i]): i for i in range(clear_code)}

    table = fresh_table()
    next_code = end_code + 1
    code_size = min_code_size + 1
    emit(clear_code, code_size)
    current = b""
    for index in indices:
        candidate = current + bytes([index])
        if candidate in table:
            current = candidate
            continue
        emit(table[current], code_size)
        table[candidate] = next_code
        next_code += 1
        # The decoder adds its entries one code later than the encoder, so the
        # code width grows once the table holds one code past the power of two.
        if next_code > (1 << code_size) and code_size < 12:
            code_size += 1
        if next_code == 4096:
            emit(clear_code, code_size)
            table = fresh_table()
            next_code = end_code + 1
            code_size = min_code_size + 1
        current = bytes([index])
    if current:
        emit(table[current], code_size)
        # The decoder adds one last entry after reading the final code.
        if next_code == (1 << code_size) and code_size < 12:
            code_size += 1
    emit(end_code, code_size)
    if bit_count:
        out.append(bit_buffer & 0xFF)
    return bytes(out)


def sub_blocks(data):
    blocks = bytearray()
    for start in range(0, len(data), 255):
        chunk = data[start:start + 255]
        blocks.append(len(chunk))
        blocks += chunk
    blocks.append(0)
    return bytes(blocks)


def write_gif(path, width, height, palette, frames, delay_cs):
    """Writes frames (lists of palette indices, row by row) that loop for ever."""
    table_bits = max(1, math.ceil(math.log2(len(palette))))
    table_size = 1 << table_bits
    colours = list(palette) + [(0, 0, 0)] * (table_size - len(palette))
    min_code_size = max(2, table_bits)
    gif = bytearray(b"GIF89a")
    gif += struct.pack("<HHBBB", width, height, 0x80 | 0x70 | (table_bits - 1), TRANSPARENT, 0)
    for r, g, b in colours:
        gif += bytes((r, g, b))
    gif += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"
    for pixels in frames:
        # Graphic control: restore to background after the frame, transparent index 0.
        gif += struct.pack("<BBBBHBB", 0x21, 0xF9, 4, (2 << 2) | 1, delay_cs, TRANSPARENT, 0)
        gif += struct.pack("<BHHHHB", 0x2C, 0, 0, width, height, 0)
        gif.append(min_code_size)
        gif += sub_blocks(lzw_encode(pixels, min_code_size))
    gif.append(0x3B)
    with open(path, "wb") as f:
        f.write(gif)


def blank(width, height):
    return [[TRANSPARENT] * width for _ in range(height)]


def disc(canvas, cx, cy, radius, index):
    height = len(canvas)
    width = len(canvas[0])
    r2 = radius * radius
    for y in range(max(0, int(cy - radius) - 1), min(height, int(cy + radius) + 2)):
        for x in range(max(0, int(cx - radius) - 1), min(width, int(cx + radius) + 2)):
            dx = x + 0.5 - cx
            dy = y + 0.5 - cy
            if dx * dx + dy * dy <= r2:
                canvas[y][x] = index


def flatten(canvas):
    return [index for row in canvas for index in row]


def shade(strength):
    """Blue of the station's accents, fading toward a pale blue-grey."""
    dark = (70, 144, 249)
    pale = (214, 228, 246)
    return tuple(round(p + (d - p) * strength) for d, p in zip(dark, pale))


def loading_frames():
    width, height = 180, 40
    palette = [(255, 255, 255), shade(0.0), shade(0.5), shade(1.0)]
    centres = [30, 60, 90, 120, 150]
    frames = []
    for active in range(len(centres)):
        canvas = blank(width, height)
        for i, cx in enumerate(centres):
            distance = min(abs(i - active), len(centres) - abs(i - active))
            if distance == 0:
                disc(canvas, cx, 20, 9, 3)
            elif distance == 1:
                disc(canvas, cx, 20, 7, 2)
            else:
                disc(canvas, cx, 20, 6, 1)
        frames.append(flatten(canvas))
    return width, height, palette, frames


def waiting_frames():
    width, height = 201, 171
    dots = 12
    palette = [(255, 255, 255)] + [shade(k / (dots - 1)) for k in range(dots)]
    frames = []
    for head in range(dots):
        canvas = blank(width, height)
        for i in range(dots):
            angle = 2 * math.pi * i / dots - math.pi / 2
            age = (head - i) % dots
            strength = dots - 1 - age
            radius = 6 + 4 * strength / (dots - 1)
            disc(canvas, 100.5 + 55 * math.cos(angle), 85.5 + 55 * math.sin(angle), radius,
                 1 + strength)
        frames.append(flatten(canvas))
    return width, height, palette, frames


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    width, height, palette, frames = loading_frames()
    write_gif(os.path.join(folder, "loading.gif"), width, height, palette, frames, 12)
    width, height, palette, frames = waiting_frames()
    write_gif(os.path.join(folder, "waiting.gif"), width, height, palette, frames, 8)


if __name__ == "__main__":
    main()
