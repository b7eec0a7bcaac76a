#!/usr/bin/env python3
"""Draws the application icon IDR_MAINFRAME: a clock face on a blue tile with a small orange plus.

One drawing gives every size: the 32 x 32 and 16 x 16 images compiled into the tool (XPM, 16 colours)
and the scalable SVG; the desktop icons are rendered from the same function.
Usage: scripts/draw-icon.py [outdir]   (default res/)
       scripts/draw-icon.py --png themedir   (hicolor PNGs: themedir/NxN/apps/vantrell.png)
"""
import math
import os
import struct
import sys
import zlib

PALETTE = {  # at most 16 colours, as the window icon asks
    ' ': None,
    'b': (0x1f, 0x4e, 0x8c), 'B': (0x2f, 0x6f, 0xc0), 'w': (0xff, 0xff, 0xff), 'g': (0xd8, 0xe2, 0xee),
    'k': (0x1a, 0x1a, 0x2e), 'o': (0xf0, 0x8a, 0x24), 'O': (0xc0, 0x60, 0x10), 'r': (0xc8, 0x2c, 0x2c),
}


def shape(x, y):
    """The colour key at a point of the unit square (0..1, y down)."""
    cx, cy = 0.5, 0.5
    # Badge: an orange disc with a white plus, lower right.
    bx, by, br = 0.78, 0.78, 0.2
    db = math.hypot(x - bx, y - by)
    if db <= br:
        if (abs(x - bx) < 0.04 and abs(y - by) < 0.12) or (abs(y - by) < 0.04 and abs(x - bx) < 0.12):
            return 'w'
        return 'o' if db <= br - 0.035 else 'O'
    # Tile with rounded corners.
    m, rad = 0.04, 0.16
    qx = min(max(x, m + rad), 1 - m - rad)
    qy = min(max(y, m + rad), 1 - m - rad)
    if math.hypot(x - qx, y - qy) > rad:
        return ' '
    d = math.hypot(x - cx, y - cy)
    if d <= 0.36:
        # Hands: hour towards 10, minute towards 12, and a centre dot.
        def near(ax, ay, length, width):
            t = (x - cx) * ax + (y - cy) * ay
            perp = abs(-(x - cx) * ay + (y - cy) * ax)
            return 0 <= t <= length and perp <= width
        if d < 0.05 or near(0, -1, 0.27, 0.035):
            return 'k'
        a = math.radians(-60 - 90)
        if near(math.cos(a), math.sin(a), 0.19, 0.045):
            return 'k'
        for h in range(12):
            ha = math.radians(h * 30)
            tx, ty = cx + 0.3 * math.sin(ha), cy - 0.3 * math.cos(ha)
            if math.hypot(x - tx, y - ty) < (0.03 if h % 3 == 0 else 0.018):
                return 'B'
        return 'w' if d <= 0.33 else 'g'
    return 'B' if y < 0.5 else 'b'


def raster(size, samples=4):
    rows = []
    for py in range(size):
        row = ''
        for px in range(size):
            votes = {}
            for sy in range(samples):
                for sx in range(samples):
                    k = shape((px + (sx + 0.5) / samples) / size, (py + (sy + 0.5) / samples) / size)
                    votes[k] = votes.get(k, 0) + 1
            row += max(votes, key=votes.get)
        rows.append(row)
    return rows


def xpm(name, size):
    rows = raster(size)
    used = sorted({c for r in rows for c in r})
    out = ['/* XPM */', f'static const char* {name}[] = {{', f'"{size} {size} {len(used)} 1",']
    for c in used:
        col = PALETTE[c]
        out.append(f'"{c} c None",' if col is None else f'"{c} c #{col[0]:02x}{col[1]:02x}{col[2]:02x}",')
    out += [f'"{r}",' for r in rows]
    out[-1] = out[-1].rstrip(',')
    out.append('};')
    return '\n'.join(out) + '\n'


def png(size, samples=8):
    """An RGBA PNG of the drawing. Up to 32 px it holds the window icon's own pixels, since smoothing
    blurs the hands at that size; larger sizes smooth their edges by coverage."""
    raw = bytearray()
    rows = raster(size) if size <= 32 else None
    for py in range(size):
        raw.append(0)  # filter type: none
        for px in range(size):
            if rows is not None:
                col = PALETTE[rows[py][px]]
                raw += bytes(4) if col is None else bytes(col) + b'\xff'
                continue
            acc = [0, 0, 0, 0]
            for sy in range(samples):
                for sx in range(samples):
                    col = PALETTE[shape((px + (sx + 0.5) / samples) / size, (py + (sy + 0.5) / samples) / size)]
                    if col is not None:
                        acc[0] += col[0]
                        acc[1] += col[1]
                        acc[2] += col[2]
                        acc[3] += 1
            if acc[3] == 0:
                raw += bytes(4)
            else:
                raw += bytes([round(acc[0] / acc[3]), round(acc[1] / acc[3]), round(acc[2] / acc[3]),
                              round(255 * acc[3] / (samples * samples))])

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))


def svg():
    def hexc(k):
        c = PALETTE[k]
        return f'#{c[0]:02x}{c[1]:02x}{c[2]:02x}'
    ticks = ''.join(
        f'<circle cx="{64 + 38.4 * math.sin(math.radians(h * 30)):.2f}" '
        f'cy="{64 - 38.4 * math.cos(math.radians(h * 30)):.2f}" r="{3.84 if h % 3 == 0 else 2.3}" '
        f'fill="{hexc("B")}"/>' for h in range(12))
    a = math.radians(-150)
    return f'''<svg xmlns="http://www.w3.org/2000/svg" width="128" height="128" viewBox="0 0 128 128">
  <defs><linearGradient id="tile" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0.5" stop-color="{hexc('B')}"/><stop offset="0.5" stop-color="{hexc('b')}"/></linearGradient></defs>
  <rect x="5.12" y="5.12" width="117.76" height="117.76" rx="20.48" fill="url(#tile)"/>
  <circle cx="64" cy="64" r="44.6" fill="{hexc('g')}"/>
  <circle cx="64" cy="64" r="42.2" fill="{hexc('w')}"/>
  {ticks}
  <line x1="64" y1="64" x2="64" y2="29.4" stroke="{hexc('k')}" stroke-width="9" stroke-linecap="butt"/>
  <line x1="64" y1="64" x2="{64 + 24.3 * math.cos(a):.2f}" y2="{64 + 24.3 * math.sin(a):.2f}" stroke="{hexc('k')}" stroke-width="11.5"/>
  <circle cx="64" cy="64" r="6.4" fill="{hexc('k')}"/>
  <circle cx="99.84" cy="99.84" r="25.6" fill="{hexc('O')}"/>
  <circle cx="99.84" cy="99.84" r="21.1" fill="{hexc('o')}"/>
  <rect x="94.72" y="84.48" width="10.24" height="30.72" fill="{hexc('w')}"/>
  <rect x="84.48" y="94.72" width="30.72" height="10.24" fill="{hexc('w')}"/>
</svg>
'''


if __name__ == '__main__':
    if len(sys.argv) == 3 and sys.argv[1] == '--png':
        for n in (16, 32, 48, 128):
            appdir = os.path.join(sys.argv[2], f'{n}x{n}', 'apps')
            os.makedirs(appdir, exist_ok=True)
            with open(os.path.join(appdir, 'vantrell.png'), 'wb') as f:
                f.write(png(n))
        sys.exit(0)
    outdir = sys.argv[1] if len(sys.argv) > 1 else 'res'
    with open(os.path.join(outdir, 'mainframe_32.xpm'), 'w') as f:
        f.write(xpm('mainframe_32_xpm', 32))
    with open(os.path.join(outdir, 'mainframe_16.xpm'), 'w') as f:
        f.write(xpm('mainframe_16_xpm', 16))
    with open(os.path.join(outdir, 'vantrell.svg'), 'w') as f:
        f.write(svg())
