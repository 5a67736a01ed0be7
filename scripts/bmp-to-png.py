#!/usr/bin/env python3
"""Turns a 24-bit bottom-up BMP file (as brimlow.exe saves its picture) into a
PNG file: bmp-to-png.py in.bmp out.png."""
import struct
import sys
import zlib


def main(source, target):
    data = open(source, 'rb').read()
    offset = struct.unpack_from('<I', data, 10)[0]
    width, height, _, bits = struct.unpack_from('<iiHH', data, 18)
    if bits != 24:
        sys.exit('expected a 24-bit bitmap')
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        line = y if height < 0 else abs(height) - 1 - y
        start = offset + line * stride
        bgr = data[start:start + width * 3]
        rgb = bytearray(len(bgr))
        rgb[0::3], rgb[1::3], rgb[2::3] = bgr[2::3], bgr[1::3], bgr[0::3]
        rows.append(b'\0' + bytes(rgb))

    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))

    png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, abs(height), 8, 2, 0, 0, 0))
    png += chunk(b'IDAT', zlib.compress(b''.join(rows), 9)) + chunk(b'IEND', b'')
    open(target, 'wb').write(png)


if __name__ == '__main__':
    main(sys.argv[1], sys.argv[2])
