#!/usr/bin/env python3
"""Renders the example face's OBJ files to PNG, to see each expression.

Each file is drawn from the front and a little to the side, lit from the
upper left, with the tints make_face.py gives its points (lips, brows,
eyes); the inside of the head, seen through the open mouth, is dark.
Every picture also goes on one contact sheet, in the order given.

    python3 examples/render_face.py [--close | --eye] OUT_DIR [FILE.obj ...]

Without files it draws the neutral and the eleven targets of
examples/face/; the sheet is OUT_DIR/sheet.png. --close frames the eyes
and the mouth only, --eye the left eye. Python 3 standard library
only.
"""
import math
import os
import struct
import sys
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_face  # noqa: E402

WIDTH, HEIGHT, SUPERSAMPLE = 240, 300, 2
VIEW_YAW, VIEW_PITCH = math.radians(-22), math.radians(6)
FRAME = (-1.25, 1.25, -1.62, 1.5)  # x0, x1, y0, y1 of the view, in head units
LIGHT = (-0.45, 0.55, 0.7)
BACKGROUND = (236, 236, 240)
TINT_COLOURS = {
    make_face.SKIN: (225, 180, 150),
    make_face.BROW: (95, 65, 45),
    make_face.LIP: (190, 90, 90),
    make_face.SCLERA: (245, 245, 240),
    make_face.IRIS: (70, 110, 150),
    make_face.PUPIL: (15, 15, 20),
    make_face.MOUTH: (80, 25, 30),
    make_face.TEETH: (240, 238, 225),
}
INSIDE = (70, 20, 25)


def read_obj(path):
    points, faces = [], []
    with open(path) as f:
        for line in f:
            fields = line.split()
            if fields and fields[0] == "v":
                points.append(tuple(float(v) for v in fields[1:4]))
            elif fields and fields[0] == "f":
                faces.append([int(v.split("/")[0]) - 1 for v in fields[1:]])
    return points, faces


def view(p):
    """Turned about y by the yaw, then tipped about x by the pitch."""
    cy, sy = math.cos(VIEW_YAW), math.sin(VIEW_YAW)
    x, z = cy * p[0] + sy * p[2], -sy * p[0] + cy * p[2]
    cp, sp = math.cos(VIEW_PITCH), math.sin(VIEW_PITCH)
    y, z = cp * p[1] - sp * z, sp * p[1] + cp * z
    return x, y, z


def normalised(v):
    n = math.sqrt(sum(c * c for c in v)) or 1.0
    return tuple(c / n for c in v)


def shade(colour, normal):
    light = normalised(LIGHT)
    lambert = max(0.0, sum(a * b for a, b in zip(normal, light)))
    return tuple(min(255, int(c * (0.3 + 0.75 * lambert))) for c in colour)


def triangles(faces):
    for face in faces:
        for k in range(1, len(face) - 1):
            yield face[0], face[k], face[k + 1]


def face_normal(a, b, c):
    u = (b[0] - a[0], b[1] - a[1], b[2] - a[2])
    v = (c[0] - a[0], c[1] - a[1], c[2] - a[2])
    return (u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0])


def render(points, faces, tints):
    """Smooth shaded: each point lit along the mean of its triangles'
    normals (by area), the colours blended across each triangle."""
    w, h = WIDTH * SUPERSAMPLE, HEIGHT * SUPERSAMPLE
    x0, x1, y0, y1 = FRAME
    seen = [view(p) for p in points]
    screen = [((x - x0) / (x1 - x0) * w, (y1 - y) / (y1 - y0) * h, z) for x, y, z in seen]
    sums = [[0.0, 0.0, 0.0] for _ in points]
    for tri in triangles(faces):
        n = face_normal(*(seen[i] for i in tri))
        for i in tri:
            for k in range(3):
                sums[i][k] += n[k]
    lit = [shade(TINT_COLOURS[tints[i]], normalised(sums[i])) for i in range(len(points))]
    depth = [-1e9] * (w * h)
    pixels = [BACKGROUND] * (w * h)
    for tri in triangles(faces):
        if face_normal(*(seen[i] for i in tri))[2] > 0:
            colours = [lit[i] for i in tri]
        else:
            colours = [INSIDE] * 3
        fill([screen[i] for i in tri], colours, depth, pixels, w, h)
    return downsample(pixels, w, h)


def fill(corners, colours, depth, pixels, w, h):
    a, b, c = corners
    ca, cb, cc = colours
    area = (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0])
    if abs(area) < 1e-12:
        return
    left, right = max(0, int(min(a[0], b[0], c[0]))), min(w - 1, int(max(a[0], b[0], c[0])) + 1)
    top, bottom = max(0, int(min(a[1], b[1], c[1]))), min(h - 1, int(max(a[1], b[1], c[1])) + 1)
    for py in range(top, bottom + 1):
        sy = py + 0.5
        for px in range(left, right + 1):
            sx = px + 0.5
            wa = ((b[0] - sx) * (c[1] - sy) - (b[1] - sy) * (c[0] - sx)) / area
            wb = ((c[0] - sx) * (a[1] - sy) - (c[1] - sy) * (a[0] - sx)) / area
            wc = 1.0 - wa - wb
            if wa < 0 or wb < 0 or wc < 0:
                continue
            z = wa * a[2] + wb * b[2] + wc * c[2]
            at = py * w + px
            if z > depth[at]:
                depth[at] = z
                pixels[at] = tuple(int(wa * ca[k] + wb * cb[k] + wc * cc[k]) for k in range(3))


def downsample(pixels, w, h):
    s = SUPERSAMPLE
    rows = []
    for y in range(HEIGHT):
        row = []
        for x in range(WIDTH):
            block = [pixels[(y * s + j) * w + x * s + i] for j in range(s) for i in range(s)]
            row.append(tuple(sum(p[k] for p in block) // len(block) for k in range(3)))
        rows.append(row)
    return rows


def write_png(path, rows):
    raw = b"".join(b"\x00" + bytes(c for p in row for c in p) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
                chunk(b"IEND", b""))


def sheet(pictures, columns=4):
    rows = []
    count = len(pictures)
    for start in range(0, count, columns):
        group = pictures[start:start + columns]
        group += [[[BACKGROUND] * WIDTH for _ in range(HEIGHT)]] * (columns - len(group))
        for y in range(HEIGHT):
            rows.append([p for picture in group for p in picture[y]])
    return rows


def main():
    global FRAME
    args = sys.argv[1:]
    if args[:1] == ["--eye"]:
        x, y, _ = view(make_face.eye_centre(1))
        FRAME, args = (x - 0.24, x + 0.24, y - 0.3, y + 0.3), args[1:]
    if args[:1] == ["--close"]:
        FRAME, args = (-0.7, 0.7, -0.95, 0.8), args[1:]
    if not args:
        sys.exit(__doc__)
    out = args[0]
    here = os.path.dirname(os.path.abspath(__file__))
    names = ["neutral"] + [name for name, _, _, _ in make_face.TARGETS]
    files = args[1:] or [os.path.join(here, "face", name + ".obj") for name in names]
    os.makedirs(out, exist_ok=True)
    tints = make_face.build()[3]
    pictures = []
    for path in files:
        points, faces = read_obj(path)
        picture = render(points, faces, tints if len(tints) == len(points) else [make_face.SKIN] * len(points))
        write_png(os.path.join(out, os.path.splitext(os.path.basename(path))[0] + ".png"), picture)
        pictures.append(picture)
    write_png(os.path.join(out, "sheet.png"), sheet(pictures))


if __name__ == "__main__":
    main()
