#!/usr/bin/env python3
"""Makes src/winapp/brimlow.ico from packaging/brimlow.svg: rsvg-convert renders
the picture at 16, 32, 48 and 256 pixels, and each rendering becomes a 32-bit
bitmap entry (256 as a PNG entry) of the icon file.  Run it after changing
the picture; the icon file is kept in the repository."""
import struct
import subprocess
import sys
import zlib
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent


def render(size):
    return subprocess.run(['rsvg-convert', '-w', str(size), '-h', str(size),
                           str(ROOT / 'packaging/brimlow.svg')],
                          check=True, capture_output=True).stdout


def rgba_rows(png):
    """The rows of an 8-bit RGBA PNG, unfiltered."""
    position, data, width, height = 8, b'', 0, 0
    while position < len(png):
        length, kind = struct.unpack('>I4s', png[position:position + 8])
        body = png[position + 8:position + 8 + length]
        if kind == b'IHDR':
            width, height, depth, colour = struct.unpack('>IIBB', body[:10])
            if (depth, colour) != (8, 6):
                sys.exit('expected an 8-bit RGBA rendering')
        elif kind == b'IDAT':
            data += body
        position += 12 + length
    raw, stride, rows, previous = zlib.decompress(data), width * 4, [], bytearray(width * 4)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            left = line[x - 4] if x >= 4 else 0
            up, corner = previous[x], previous[x - 4] if x >= 4 else 0
            if kind == 1: line[x] = (line[x] + left) & 255
            elif kind == 2: line[x] = (line[x] + up) & 255
            elif kind == 3: line[x] = (line[x] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[x] = (line[x] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        rows.append(bytes(line))
        previous = line
    return width, height, rows


def bitmap_entry(png):
    width, height, rows = rgba_rows(png)
    header = struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''.join(bytes(b for i in range(0, len(row), 4)
                            for b in (row[i + 2], row[i + 1], row[i], row[i + 3]))
                      for row in reversed(rows))
    mask_stride = ((width + 31) // 32) * 4
    return header + pixels + bytes(mask_stride * height)


def main():
    entries = [(size, bitmap_entry(render(size)) if size < 256 else render(size))
               for size in (16, 32, 48, 256)]
    out = struct.pack('<HHH', 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for size, body in entries:
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(body), offset)
        offset += len(body)
    out += b''.join(body for _, body in entries)
    (ROOT / 'src/winapp/brimlow.ico').write_bytes(out)


if __name__ == '__main__':
    main()
