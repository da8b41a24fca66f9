#!/usr/bin/env python3
"""Draws the wizard's pictures: the application icons, the header image installed beside
the DLL, and the DLL's built-in header image, which is a different picture so that one can
see (and a test can tell by a pixel) which of the two the window drew.

    make_art.py <install root> <resource folder>

writes <install root>/Icons/ApplicationLarge.ico and ApplicationSmall.ico (each with images of
16, 20, 24, 32, 40, 48 and 64 pixels, so that every display scale from 100 % to 200 % finds its
size), <install root>/Bitmaps/Register.bmp,
<resource folder>/KVRegisterHeader.bmp and enlarged PNG previews in <resource folder>/preview.
Plain Python 3, nothing to download: shapes are tested on a 4x4 grid of points per pixel,
which gives smooth edges without a drawing library.
"""
import math
import os
import struct
import sys
import zlib

SAMPLES = 4
WHITE = (255, 255, 255)


# --- shapes: predicates on a 32-unit square, scaled to the picture's size ---------------

def rounded_rect(left, top, right, bottom, radius):
    def inside(x, y):
        if not (left <= x <= right and top <= y <= bottom):
            return False
        cx = min(max(x, left + radius), right - radius)
        cy = min(max(y, top + radius), bottom - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def _segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)
    t = min(max(t, 0.0), 1.0)
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy))


def stroke(points, width):
    """A polyline of the given width with round ends and joints."""
    half = width / 2.0
    segments = list(zip(points, points[1:]))
    return lambda x, y: any(_segment_distance(x, y, *a, *b) <= half for a, b in segments)


def polygon(points):
    def inside(x, y):
        result = False
        for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                result = not result
        return result
    return inside


# --- rendering ---------------------------------------------------------------------------

def render(layers, size, background=None):
    """Layers are (predicate, (r, g, b)) painted in order. Returns rows of (r, g, b, a),
    top-down; without a background the picture is transparent where nothing was drawn."""
    scale = 32.0 / size
    offsets = [(i + 0.5) / SAMPLES for i in range(SAMPLES)]
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0.0
            if background is not None:
                r, g, b, a = background[0], background[1], background[2], 1.0
            for inside, colour in layers:
                hits = sum(1 for oy in offsets for ox in offsets
                           if inside((px + ox) * scale, (py + oy) * scale))
                if not hits:
                    continue
                cover = hits / float(SAMPLES * SAMPLES)
                out = cover + a * (1.0 - cover)
                r = (colour[0] * cover + r * a * (1.0 - cover)) / out
                g = (colour[1] * cover + g * a * (1.0 - cover)) / out
                b = (colour[2] * cover + b * a * (1.0 - cover)) / out
                a = out
            row.append((int(round(r)), int(round(g)), int(round(b)), int(round(a * 255))))
        rows.append(row)
    return rows


# --- the pictures --------------------------------------------------------------------------

PHONE_BODY = (52, 58, 70)
PHONE_SCREEN = (120, 180, 235)
CHECK_GREEN = (40, 150, 60)
BUBBLE_ORANGE = (240, 140, 30)
TILE_BLUE = (30, 90, 165)
ENVELOPE = (250, 250, 250)
FOLD_GREY = (150, 170, 200)


def phone(offset_x=0.0):
    o = offset_x
    return [
        (rounded_rect(7 + o, 2, 21 + o, 30, 3), PHONE_BODY),
        (rounded_rect(9 + o, 6, 19 + o, 23, 1), PHONE_SCREEN),
        (circle(14 + o, 26.5, 1.6), (200, 205, 215)),
        (stroke([(12 + o, 4), (16 + o, 4)], 1.0), (120, 125, 135)),
    ]


def header_installed():
    """Register.bmp: a mobile phone with a green check mark, on white."""
    return phone() + [
        (circle(23, 21, 7.5), WHITE),
        (circle(23, 21, 6.5), CHECK_GREEN),
        (stroke([(19.5, 21), (22, 23.8), (26.5, 17.8)], 1.8), WHITE),
    ]


def header_builtin():
    """The DLL's own header image: a white envelope on a blue tile."""
    return [
        (rounded_rect(0, 0, 32, 32, 3), TILE_BLUE),
        (polygon([(5, 9), (27, 9), (27, 24), (5, 24)]), ENVELOPE),
        (stroke([(5.5, 9.5), (16, 18), (26.5, 9.5)], 1.4), FOLD_GREY),
        (circle(25, 8, 4), BUBBLE_ORANGE),
    ]


def application_icon(size):
    """The application: a phone with a speech bubble for its text messages. At 16 pixels
    the bubble's lines would only blur it, so it stays plain."""
    layers = phone(-3) + [
        (rounded_rect(16, 4, 31, 15, 3), BUBBLE_ORANGE),
        (polygon([(19, 14), (24, 14), (18, 19)]), BUBBLE_ORANGE),
    ]
    if size > 16:
        layers += [
            (stroke([(19.5, 8), (27.5, 8)], 1.3), WHITE),
            (stroke([(19.5, 11), (25, 11)], 1.3), WHITE),
        ]
    return layers


# --- file formats ------------------------------------------------------------------------

def bmp24(rows):
    """A bottom-up BMP of 24 bits per pixel."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b, _ in row:
            line += bytes((b, g, r))
        pixels += line + bytes(stride - len(line))
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + bytes(pixels)


def ico(images):
    """An icon file of 32-bit images with alpha, each with the mask older systems draw by."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for rows in images:
        size = len(rows)
        colour = bytearray()
        for row in reversed(rows):
            for r, g, b, a in row:
                colour += bytes((b, g, r, a))
        mask_stride = ((size + 31) // 32) * 4
        mask = bytearray()
        for row in reversed(rows):
            bits = bytearray(mask_stride)
            for x, (_, _, _, a) in enumerate(row):
                if a == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0,
                           len(colour) + len(mask), 0, 0, 0, 0)
        blob = info + bytes(colour) + bytes(mask)
        entries.append(struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack('<HHH', 0, 1, len(images)) + b''.join(entries) + b''.join(blobs)


def png_preview(rows, zoom=8, matte=(240, 240, 240)):
    """An enlarged PNG for looking at a picture; transparency is shown over `matte`."""
    raw = bytearray()
    for row in rows:
        line = bytearray()
        for r, g, b, a in row:
            f = a / 255.0
            px = bytes(int(round(c * f + m * (1 - f))) for c, m in zip((r, g, b), matte))
            line += px * zoom
        for _ in range(zoom):
            raw += b'\0' + line
    width, height = len(rows[0]) * zoom, len(rows) * zoom

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(data)


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    root, resources = argv[1], argv[2]
    installed = render(header_installed(), 32, WHITE)
    builtin = render(header_builtin(), 32, WHITE)
    # The small icon is 16 pixels at 100 %, the large one 32; at 125 %, 150 % and 200 % they are
    # 20, 24, 32 and 40, 48, 64. Both files carry every size: the system picks the nearest.
    icons = {size: render(application_icon(size), size) for size in (16, 20, 24, 32, 40, 48, 64)}

    write(os.path.join(root, 'Bitmaps', 'Register.bmp'), bmp24(installed))
    write(os.path.join(resources, 'KVRegisterHeader.bmp'), bmp24(builtin))
    every_size = [icons[size] for size in sorted(icons)]
    write(os.path.join(root, 'Icons', 'ApplicationLarge.ico'), ico(every_size))
    write(os.path.join(root, 'Icons', 'ApplicationSmall.ico'), ico(every_size))

    preview = os.path.join(resources, 'preview')
    write(os.path.join(preview, 'Register.png'), png_preview(installed))
    write(os.path.join(preview, 'KVRegisterHeader.png'), png_preview(builtin))
    for size, rows in icons.items():
        write(os.path.join(preview, 'Application%d.png' % size), png_preview(rows, 256 // size))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
