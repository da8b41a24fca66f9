#!/usr/bin/env python3
"""Reads the PNG that KVPngSample wrote with zlib and struct alone and checks every byte."""
import struct
import sys
import zlib


def main(path):
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "signature"
    at, chunks = 8, []
    while at < len(data):
        (length,) = struct.unpack(">I", data[at:at + 4])
        kind, body = data[at + 4:at + 8], data[at + 8:at + 8 + length]
        (crc,) = struct.unpack(">I", data[at + 8 + length:at + 12 + length])
        assert crc == zlib.crc32(kind + body), "CRC of " + kind.decode()
        chunks.append((kind, body))
        at += 12 + length
    assert [k for k, _ in chunks] == [b"IHDR", b"IDAT", b"IEND"], chunks
    width, height, depth, colour, method, filt, lace = struct.unpack(">IIBBBBB", chunks[0][1])
    assert (width, height, depth, colour, method, filt, lace) == (200, 150, 8, 2, 0, 0, 0)
    raw = zlib.decompress(chunks[1][1])  # also checks the Adler-32
    row = 1 + 3 * width
    assert len(raw) == row * height
    for y in range(height):
        assert raw[y * row] == 0, "filter byte of row %d" % y
        for x in range(width):
            px = raw[y * row + 1 + 3 * x:y * row + 4 + 3 * x]
            assert tuple(px) == (x & 255, y & 255, (x * y) & 255), (x, y, tuple(px))
    print("PNG ok: %dx%d, %d bytes" % (width, height, len(data)))


if __name__ == "__main__":
    main(sys.argv[1])
