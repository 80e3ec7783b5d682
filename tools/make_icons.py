#!/usr/bin/env python3
"""Writes the tray icons of the two states (platform/win32/res/state1.ico,
state2.ico): solid squares, blue for state one and green for state two, at
16 and 32 pixels. Solid colours let the end-to-end test tell the states
apart by the pixels on the task bar."""
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "platform", "win32", "res")


def image(size, rgb):
    r, g, b = rgb
    dark = (r // 2, g // 2, b // 2)
    rows = []
    for y in range(size):  # bottom-up
        row = b""
        for x in range(size):
            edge = x in (0, size - 1) or y in (0, size - 1)
            cr, cg, cb = dark if edge else rgb
            row += bytes((cb, cg, cr, 255))
        rows.append(row)
    xor = b"".join(rows)
    mask_row = ((size + 31) // 32) * 4
    mask = b"\0" * (mask_row * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + mask


def icon(path, rgb):
    sizes = (16, 32)
    images = [image(s, rgb) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


os.makedirs(HERE, exist_ok=True)
icon(os.path.join(HERE, "state1.ico"), (0x20, 0x60, 0xE0))
icon(os.path.join(HERE, "state2.ico"), (0x20, 0xC0, 0x40))
