#!/usr/bin/env python3
"""Draws the program's icon (the dialog's icon 128: a switchboard door with a
yellow lightning bolt) at the sizes of the desktop's icon theme and writes
them as PNG files icons/<n>x<n>/loadcalc.png beside this script.

The picture comes from the same drawing as the dialog's own icon
(../ui/make_icons.py), so menu and window show one icon. With --check the
files are compared instead of written; the exit status says whether they
are current.
"""
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # the check runs in CI: leave the source tree as it is
sys.path.insert(0, os.path.join(HERE, '..', 'ui'))
from make_icons import board_icon  # noqa: E402

SIZES = [16, 22, 24, 32, 48, 64, 128, 256]


def chunk(kind, data):
    body = kind + data
    return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xffffffff)


def png(pixels):
    """An 8-bit RGB PNG without ancillary chunks: the same bytes every run."""
    height, width = len(pixels), len(pixels[0])
    raw = b''.join(b'\0' + bytes(v for c in row for v in c) for row in pixels)
    return (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9))
            + chunk(b'IEND', b''))


def main():
    check = '--check' in sys.argv[1:]
    stale = []
    for n in SIZES:
        path = os.path.join(HERE, 'icons', '%dx%d' % (n, n), 'loadcalc.png')
        data = png(board_icon(n))
        if check:
            try:
                with open(path, 'rb') as f:
                    current = f.read() == data
            except OSError:
                current = False
            if not current:
                stale.append(path)
            continue
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, 'wb') as f:
            f.write(data)
    for path in stale:
        print('not what make_desktop_icons.py draws: ' + path, file=sys.stderr)
    return 1 if stale else 0


if __name__ == '__main__':
    sys.exit(main())
