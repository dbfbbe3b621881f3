#!/usr/bin/env python3
"""find-screen.py <screen.ppm> <golden.ppm> <crop.ppm>

Finds where the golden picture's top rows stand in a screenshot of the virtual screen, writes
the golden picture's area of the screenshot to crop.ppm and prints "<x> <y> <differing pixels>".
Exits 1 when the golden picture's first rows appear nowhere. Binary PPM (P6) only.
"""
import sys


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P6" or fields[3] != b"255":
        sys.exit(f"{path}: not an 8-bit binary PPM")
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[pos + 1:pos + 1 + width * height * 3]


def main():
    sw, sh, screen = read_ppm(sys.argv[1])
    gw, gh, golden = read_ppm(sys.argv[2])
    row = lambda pixels, w, x, y, n: pixels[(y * w + x) * 3:(y * w + x + n) * 3]
    # The status bar's top rows are artwork, the same on every system.
    probe = [row(golden, gw, 0, y, gw) for y in range(3)]
    for y in range(sh - gh + 1):
        line = row(screen, sw, 0, y, sw)
        x = line.find(probe[0])
        while x >= 0:
            if x % 3 == 0 and all(row(screen, sw, x // 3, y + i, gw) == probe[i] for i in range(1, 3)):
                ox = x // 3
                crop = b"".join(row(screen, sw, ox, y + i, gw) for i in range(gh))
                with open(sys.argv[3], "wb") as f:
                    f.write(b"P6\n%d %d\n255\n" % (gw, gh) + crop)
                differing = sum(1 for i in range(0, len(crop), 3) if crop[i:i + 3] != golden[i:i + 3])
                print(ox, y, differing)
                return 0
            x = line.find(probe[0], x + 1)
    return 1


if __name__ == "__main__":
    sys.exit(main())
