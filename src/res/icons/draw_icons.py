#!/usr/bin/env python3
"""Draws Halyard's icons (16 and 32 pixel, 32-bit colour) into .ico files beside this script.

Run again after changing a drawing; the .ico files are committed so that building needs no Python.
"""
import math
import os
import struct

SAMPLES = 4  # supersampling per axis for smooth edges


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_out, r_in):
    return lambda x, y: r_in * r_in <= (x - cx) ** 2 + (y - cy) ** 2 <= r_out * r_out


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def polygon(points):
    def inside(x, y):
        hit = False
        n = len(points)
        for i in range(n):
            (xa, ya), (xb, yb) = points[i], points[(i + 1) % n]
            if (ya > y) != (yb > y) and x < (xb - xa) * (y - ya) / (yb - ya) + xa:
                hit = not hit
        return hit
    return inside


def gear(cx, cy, r_body, r_teeth, teeth):
    def inside(x, y):
        dx, dy = x - cx, y - cy
        d = math.hypot(dx, dy)
        angle = math.atan2(dy, dx)
        tooth = (math.cos(angle * teeth) > 0.3)
        return d <= (r_teeth if tooth else r_body)
    return inside


# Each drawing: layers of (shape in unit coordinates 0..1, (r, g, b, a)), painted in order.
def app_icon():
    return [
        (circle(0.5, 0.5, 0.48), (24, 86, 160, 255)),
        (polygon([(0.50, 0.14), (0.50, 0.70), (0.22, 0.70)]), (255, 255, 255, 255)),
        (polygon([(0.55, 0.22), (0.55, 0.70), (0.80, 0.70)]), (220, 230, 245, 255)),
        (rect(0.49, 0.12, 0.53, 0.78), (250, 250, 250, 255)),
        (polygon([(0.18, 0.76), (0.84, 0.76), (0.72, 0.86), (0.30, 0.86)]), (200, 60, 40, 255)),
    ]


def broker_icon():
    return [
        (gear(0.5, 0.5, 0.36, 0.47, 8), (96, 104, 118, 255)),
        (circle(0.5, 0.5, 0.16), (0, 0, 0, 0)),
        (ring(0.5, 0.5, 0.22, 0.16), (60, 66, 78, 255)),
    ]


def stopped_icon():
    return [
        (circle(0.5, 0.5, 0.47), (200, 40, 40, 255)),
        (rect(0.30, 0.30, 0.70, 0.70), (255, 255, 255, 255)),
    ]


def running_icon():
    return [
        (circle(0.5, 0.5, 0.47), (30, 150, 60, 255)),
        (polygon([(0.36, 0.26), (0.36, 0.74), (0.76, 0.50)]), (255, 255, 255, 255)),
    ]


def alert_icon():
    return [
        (ring(0.50, 0.5, 0.30, 0.23), (235, 160, 20, 255)),
        (ring(0.50, 0.5, 0.46, 0.39), (235, 160, 20, 255)),
        (rect(0.0, 0.0, 0.50, 1.0), (0, 0, 0, 0)),
        (polygon([(0.06, 0.36), (0.24, 0.36), (0.50, 0.12), (0.50, 0.88), (0.24, 0.64), (0.06, 0.64)]),
         (235, 160, 20, 255)),
    ]


def render(layers, size):
    """Rows top-down of (r, g, b, a); later layers cover earlier ones, alpha 0 cuts holes."""
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) / size
                    y = (py + (sy + 0.5) / SAMPLES) / size
                    colour = (0, 0, 0, 0)
                    for shape, paint in layers:
                        if shape(x, y):
                            colour = paint
                    a = colour[3] / 255.0
                    acc[0] += colour[0] * a
                    acc[1] += colour[1] * a
                    acc[2] += colour[2] * a
                    acc[3] += a
            n = SAMPLES * SAMPLES
            alpha = acc[3] / n
            if alpha > 0:
                rgb = [round(acc[i] / acc[3]) for i in range(3)]
            else:
                rgb = [0, 0, 0]
            row.append((rgb[0], rgb[1], rgb[2], round(alpha * 255)))
        pixels.append(row)
    return pixels


def ico_image(pixels):
    size = len(pixels)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b''.join(struct.pack('BBBB', b, g, r, a) for row in reversed(pixels) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + colour + bytes(mask)


def write_ico(path, layers, sizes=(32, 16)):
    images = [ico_image(render(layers, s)) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    here = os.path.dirname(os.path.abspath(__file__))
    for name, drawing in [('halyard.ico', app_icon), ('broker_settings.ico', broker_icon),
                          ('stopped.ico', stopped_icon), ('running.ico', running_icon),
                          ('alert_settings.ico', alert_icon)]:
        write_ico(os.path.join(here, name), drawing())
