#!/usr/bin/env python3
"""Reads pixel colours from a PNG screenshot for the real-window tests.

Usage (RECT is X Y W H in image pixels, the whole image when left out):
  pixels.py count   IMAGE COLOURS [RECT]   pixels that match COLOURS
  pixels.py columns IMAGE COLOURS [RECT]   "first last number" of the columns
                                           holding such pixels, relative to
                                           RECT, or "none"
  pixels.py rows    IMAGE COLOURS [RECT]   the same for rows
  pixels.py top     IMAGE [RECT]           the ten most frequent colours
COLOURS is R,G,B or several joined by "/"; a leading "!" matches every
other colour. Only the standard library is used; the decoder reads the
non-interlaced PNG kinds that screenshot tools write.
"""

import struct
import sys
import zlib
from collections import Counter

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}


class Image:
    def __init__(self, width, height, rows):
        self.width = width
        self.height = height
        self.rows = rows  # one list of (r, g, b) tuples per row

    def pixels(self, rect):
        x, y, w, h = self.clip(rect)
        for row in range(y, y + h):
            line = self.rows[row]
            for column in range(x, x + w):
                yield column - x, row - y, line[column]

    def clip(self, rect):
        if rect is None:
            return 0, 0, self.width, self.height
        x, y, w, h = rect
        left, top = max(x, 0), max(y, 0)
        right, bottom = min(x + w, self.width), min(y + h, self.height)
        return left, top, max(right - left, 0), max(bottom - top, 0)


def read_chunks(data):
    if data[:8] != PNG_SIGNATURE:
        raise ValueError("not a PNG file")
    position = 8
    while position < len(data):
        length, kind = struct.unpack(">I4s", data[position:position + 8])
        yield kind, data[position + 8:position + 8 + length]
        position += 12 + length


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def unfilter(raw, height, stride, step):
    previous = bytearray(stride)
    position = 0
    for _ in range(height):
        kind = raw[position]
        line = bytearray(raw[position + 1:position + 1 + stride])
        position += 1 + stride
        if kind == 1:
            for i in range(step, stride):
                line[i] = (line[i] + line[i - step]) & 0xFF
        elif kind == 2:
            line = bytearray((a + b) & 0xFF for a, b in zip(line, previous))
        elif kind == 3:
            for i in range(stride):
                left = line[i - step] if i >= step else 0
                line[i] = (line[i] + ((left + previous[i]) >> 1)) & 0xFF
        elif kind == 4:
            for i in range(stride):
                left = line[i - step] if i >= step else 0
                upper_left = previous[i - step] if i >= step else 0
                line[i] = (line[i] + paeth(left, previous[i], upper_left)) & 0xFF
        elif kind != 0:
            raise ValueError(f"unknown PNG row filter {kind}")
        yield line
        previous = line


def samples(line, depth, count):
    if depth == 8:
        return line[:count]
    if depth == 16:
        return line[0:2 * count:2]
    per_byte = 8 // depth
    mask = (1 << depth) - 1
    values = []
    for i in range(count):
        shift = 8 - depth * (i % per_byte + 1)
        values.append((line[i // per_byte] >> shift) & mask)
    return values


def to_rgb(values, colour_type, depth, palette, width):
    if colour_type == 3:
        return [palette[v] for v in values]
    channels = CHANNELS[colour_type]
    scale = 255 // ((1 << min(depth, 8)) - 1)
    result = []
    for i in range(0, width * channels, channels):
        if colour_type in (0, 4):
            grey = values[i] * scale
            result.append((grey, grey, grey))
        else:
            result.append((values[i], values[i + 1], values[i + 2]))
    return result


def load(path):
    with open(path, "rb") as handle:
        data = handle.read()
    header, palette, compressed = None, [], bytearray()
    for kind, body in read_chunks(data):
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"PLTE":
            palette = [tuple(body[i:i + 3]) for i in range(0, len(body), 3)]
        elif kind == b"IDAT":
            compressed += body
    if header is None:
        raise ValueError("PNG without a header")
    width, height, depth, colour_type, _, _, interlace = header
    if interlace:
        raise ValueError("interlaced PNG files are not supported")
    channels = CHANNELS[colour_type]
    bits_per_pixel = channels * depth
    stride = (width * bits_per_pixel + 7) // 8
    step = max(bits_per_pixel // 8, 1)
    raw = zlib.decompress(bytes(compressed))
    rows = []
    for line in unfilter(raw, height, stride, step):
        values = samples(line, depth, width * channels)
        rows.append(to_rgb(values, colour_type, depth, palette, width))
    return Image(width, height, rows)


def colour(text):
    parts = tuple(int(p) for p in text.split(","))
    if len(parts) != 3:
        raise ValueError(f"a colour is R,G,B, not {text}")
    return parts


def matcher(pattern):
    invert = pattern.startswith("!")
    wanted = {colour(part) for part in pattern.lstrip("!").split("/")}
    return (lambda p: p not in wanted) if invert else (lambda p: p in wanted)


def rect(args):
    if not args:
        return None
    if len(args) != 4:
        raise ValueError("a rectangle is X Y W H")
    return tuple(int(a) for a in args)


def extent(positions):
    if not positions:
        return "none"
    return f"{min(positions)} {max(positions)} {len(positions)}"


def main(argv):
    if len(argv) < 3:
        sys.exit(__doc__)
    command, image, args = argv[1], load(argv[2]), argv[3:]
    if command == "count":
        matches = matcher(args[0])
        print(sum(1 for _, _, p in image.pixels(rect(args[1:])) if matches(p)))
    elif command in ("columns", "rows"):
        matches = matcher(args[0])
        axis = 0 if command == "columns" else 1
        print(extent({place[axis] for *place, p in image.pixels(rect(args[1:])) if matches(p)}))
    elif command == "top":
        counts = Counter(p for _, _, p in image.pixels(rect(args)))
        for value, number in counts.most_common(10):
            print("%d,%d,%d %d" % (value + (number,)))
    else:
        sys.exit(f"unknown command {command}\n{__doc__}")


if __name__ == "__main__":
    main(sys.argv)
