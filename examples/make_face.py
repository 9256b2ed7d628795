#!/usr/bin/env python3
"""Makes the example face: a small procedural neutral face and its eleven
expression targets as OBJ meshes in examples/face/.

The face is a grid of quads on a half ellipsoid looking down +Z (x to the
face's left, y up). Every target is the same grid with one region moved:
the mouth opened or puckered, an eyelid closed, a brow or a cheek raised, a
lower lid squinted, or both inner brows drawn down into a frown. The point
order is the same in every file, as the expression object needs.

    python3 examples/make_face.py [OUT_DIR]
"""
import math
import os
import sys

COLUMNS, ROWS = 13, 17


def grid():
    points = []
    for r in range(ROWS):
        y = -1.3 + 2.6 * r / (ROWS - 1)
        for c in range(COLUMNS):
            x = -1.0 + 2.0 * c / (COLUMNS - 1)
            depth = max(0.0, 1.0 - x * x - (y / 1.3) ** 2)
            points.append((x, y, 0.8 * math.sqrt(depth)))
    return points


def quads():
    faces = []
    for r in range(ROWS - 1):
        for c in range(COLUMNS - 1):
            a = r * COLUMNS + c
            faces.append((a, a + 1, a + 1 + COLUMNS, a + COLUMNS))
    return faces


def falloff(x, y, cx, cy, radius):
    """1 at the centre, fading smoothly to 0 at radius."""
    d = math.hypot(x - cx, y - cy) / radius
    return 0.0 if d >= 1.0 else (1.0 - d * d) ** 2


def moved(points, move):
    return [tuple(p[i] + d for i, d in enumerate(move(*p))) for p in points]


def open_mouth(x, y, z):
    w = falloff(x, y, 0.0, -0.6, 0.45)
    return (0.0, -0.18 * w if y < -0.6 else -0.04 * w, 0.0)


def puckered(x, y, z):
    w = falloff(x, y, 0.0, -0.6, 0.4)
    return (-0.35 * x * w, 0.0, 0.12 * w)


def eyelid(side):
    return lambda x, y, z: (0.0, -0.1 * falloff(x, y, 0.35 * side, 0.36, 0.18), 0.0)


def eyebrow(side):
    return lambda x, y, z: (0.0, 0.12 * falloff(x, y, 0.35 * side, 0.6, 0.3), 0.0)


def cheek(side):
    def move(x, y, z):
        w = falloff(x, y, 0.45 * side, -0.15, 0.3)
        return (0.0, 0.07 * w, 0.06 * w)
    return move


def squint(side):
    return lambda x, y, z: (0.0, 0.06 * falloff(x, y, 0.35 * side, 0.2, 0.18), 0.0)


def frown(x, y, z):
    w = falloff(x, y, 0.15, 0.5, 0.25) + falloff(x, y, -0.15, 0.5, 0.25)
    return (-0.06 * math.copysign(w, x), -0.08 * w, 0.0)


TARGETS = [
    ("open", open_mouth), ("puckered", puckered),
    ("left-eyelid", eyelid(1)), ("left-eyebrow", eyebrow(1)), ("left-cheek", cheek(1)),
    ("frown", frown), ("left-squint", squint(1)),
    ("right-eyelid", eyelid(-1)), ("right-eyebrow", eyebrow(-1)), ("right-cheek", cheek(-1)),
    ("right-squint", squint(-1)),
]


def write_obj(path, name, points, faces):
    with open(path, "w", newline="\n") as f:
        f.write("# example face: %s (made by make_face.py)\n" % name)
        for p in points:
            f.write("v %.6f %.6f %.6f\n" % p)
        for face in faces:
            f.write("f %s\n" % " ".join(str(i + 1) for i in face))


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "face")
    os.makedirs(out, exist_ok=True)
    neutral, faces = grid(), quads()
    write_obj(os.path.join(out, "neutral.obj"), "neutral", neutral, faces)
    for name, move in TARGETS:
        write_obj(os.path.join(out, name + ".obj"), name, moved(neutral, move), faces)


if __name__ == "__main__":
    main()
