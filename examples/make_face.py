#!/usr/bin/env python3
"""Makes the example face: a procedural head and its eleven expression
targets as OBJ meshes in examples/face/.

The head looks down +Z with x to the face's left and y up. Its skin is one
grid over longitude and latitude, sculpted with sockets, brow ridge, nose,
cheekbones, lips and chin; two eyeballs sit in the sockets behind lids, and
a mouth with upper teeth lies behind the lips. The lips meet along a row of
doubled points, so the mouth can open. Every target
moves the same points: the jaw dropped, the lips pushed forward and drawn
together, an upper lid closed, a brow or a cheek raised, a lower lid
squinted, or both inner brows drawn down into a frown. The point order is
the same in every file, as the expression object needs.

    python3 examples/make_face.py [OUT_DIR]

build() gives the points, faces, targets and a tint per point (skin, brow,
lip, sclera, iris, pupil, mouth, teeth) for render_face.py.
"""
import math
import os
import sys

COLUMNS, ROWS = 81, 88
LON_MAX = math.radians(105)
LAT_MIN, LAT_MAX = math.radians(-66), math.radians(86)
RX, RY, RZ = 0.95, 1.32, 1.0

MOUTH_Y, MOUTH_HALF_WIDTH = -0.52, 0.23
EYE_X, EYE_Y, EYE_RADIUS = 0.35, 0.22, 0.125
LID_RADIUS, HIDDEN_RADIUS = 1.12 * EYE_RADIUS, 0.8 * EYE_RADIUS
# Skin within LID_HOLD lid radii of an eye's centre moves with the lids
# wholly, and less and less out to LID_REACH.
LID_HOLD, LID_REACH = 1.3, 1.9
EYE_YAW = math.radians(58)  # the corners of the eye, seen from its centre
UPPER_LID, LOWER_LID = math.radians(23), math.radians(18)
EYE_SEGMENTS, EYE_RINGS = 18, 13

SKIN, BROW, LIP, SCLERA, IRIS, PUPIL, MOUTH, TEETH = range(8)


def smoothstep(edge0, edge1, x):
    t = min(1.0, max(0.0, (x - edge0) / (edge1 - edge0)))
    return t * t * (3.0 - 2.0 * t)


def falloff(x, y, cx, cy, rx, ry=None):
    """1 at the centre, fading smoothly to 0 on an ellipse of radii rx, ry."""
    d = math.hypot((x - cx) / rx, (y - cy) / (ry or rx))
    return 0.0 if d >= 1.0 else (1.0 - d * d) ** 2


def add(a, b, s=1.0):
    return (a[0] + s * b[0], a[1] + s * b[1], a[2] + s * b[2])


# --- the grid ---

def longitudes():
    out = []
    for c in range(COLUMNS):
        s = -1.0 + 2.0 * c / (COLUMNS - 1)
        out.append(LON_MAX * s * (0.55 + 0.45 * s * s))
    return out


def row_density(lat):
    """How closely rows lie at a latitude: closest at the eyes and the lips."""
    y = RY * math.sin(lat)
    return 1.0 + 4.0 * falloff(0.0, y, 0.0, EYE_Y, 0.22) + 2.5 * falloff(0.0, y, 0.0, MOUTH_Y, 0.25) + \
        1.0 * falloff(0.0, y, 0.0, -0.15, 0.2) + 2.0 * falloff(0.0, y, 0.0, 0.47, 0.12)


def latitudes():
    """Row latitudes spread by row_density, one of them on the mouth."""
    steps = 4000
    lats = [LAT_MIN + (LAT_MAX - LAT_MIN) * i / steps for i in range(steps + 1)]
    total = [0.0]
    for i in range(steps):
        total.append(total[-1] + row_density(0.5 * (lats[i] + lats[i + 1])))
    rows, i = [], 0
    for r in range(ROWS):
        want = total[-1] * r / (ROWS - 1)
        while i < steps and total[i + 1] < want:
            i += 1
        part = 0.0 if i == steps else (want - total[i]) / (total[i + 1] - total[i])
        rows.append(lats[i] + part * (lats[min(i + 1, steps)] - lats[i]))
    mouth = math.asin(MOUTH_Y / RY)
    nearest = min(range(ROWS), key=lambda r: abs(rows[r] - mouth))
    rows[nearest] = mouth
    return rows, nearest


# --- the skin at rest ---

def head(lon, lat):
    """The bare head: an egg, narrower at the jaw, with a chin."""
    jaw = 1.0 - 0.2 * smoothstep(math.radians(-5), math.radians(-60), lat)
    x = RX * jaw * math.cos(lat) * math.sin(lon)
    y = RY * math.sin(lat)
    z = RZ * math.cos(lat) * math.cos(lon)
    return (x, y, z)


def sculpt(x, y):
    """Forward relief of the face at (x, y)."""
    ax = abs(x)
    z = 0.0
    z -= 0.06 * falloff(ax, y, EYE_X, EYE_Y, 0.22, 0.17)               # sockets
    z += 0.06 * falloff(ax, y, 0.33, 0.43, 0.3, 0.09)                 # brow ridge
    z += 0.03 * falloff(x, y, 0.0, 0.5, 0.25, 0.2)                    # glabella
    bridge = smoothstep(0.28, -0.12, y) * (1.0 - smoothstep(-0.12, -0.22, y))
    z += 0.22 * bridge * falloff(x, 0.0, 0.0, 0.0, 0.07 + 0.06 * smoothstep(0.2, -0.15, y))
    z += 0.09 * falloff(x, y, 0.0, -0.15, 0.09, 0.08)                  # tip
    z += 0.06 * falloff(ax, y, 0.085, -0.2, 0.07, 0.06)               # nostril wings
    z += 0.05 * falloff(ax, y, 0.42, -0.08, 0.2, 0.17)                # cheekbones
    z += 0.1 * falloff(x, y, 0.0, -0.55, 0.42, 0.32)                  # muzzle
    z += 0.045 * falloff(x, y, 0.0, MOUTH_Y + 0.035, 0.24, 0.045)     # upper lip
    z += 0.055 * falloff(x, y, 0.0, MOUTH_Y - 0.045, 0.22, 0.05)      # lower lip
    z -= 0.02 * falloff(x, y, 0.0, MOUTH_Y, 0.25, 0.012)              # the line between them
    z -= 0.015 * falloff(x, y, 0.0, -0.38, 0.03, 0.08)                # philtrum
    z -= 0.02 * falloff(x, y, 0.0, -0.7, 0.16, 0.05)                  # under the lip
    z += 0.06 * falloff(x, y, 0.0, -0.9, 0.2, 0.14)                   # chin
    return z


def rest_skin(lon, lat):
    x, y, z = head(lon, lat)
    return (x, y, z + sculpt(x, y) * max(0.0, math.cos(lon)))


def eye_centre(side):
    skin = rest_skin(math.asin(side * EYE_X / RX), math.asin(EYE_Y / RY))
    return (side * EYE_X, EYE_Y, skin[2])  # the ball's centre at the socket's floor


# --- eyelids: skin near an eye lies on a sphere round it, over the ball or
# hidden inside it where the eye is open ---

def lid_lines(yaw):
    """The upper and lower lid lines as angles above the eye's centre."""
    shape = max(0.0, 1.0 - (yaw / EYE_YAW) ** 2)
    return UPPER_LID * shape + math.radians(2), -LOWER_LID * shape + math.radians(2)


def remap(v, a0, a1, b0, b1):
    return b0 + (v - a0) * (b1 - b0) / (a1 - a0)


def moved_pitch(pitch, upper, lower, new_upper, new_lower):
    """The pitch once the lid lines have moved: skin above the upper line
    and below the lower one stretches or gathers, the opening between them
    follows its lines."""
    top, bottom = math.radians(85), math.radians(-85)
    if pitch >= upper:
        return remap(pitch, upper, top, new_upper, top) if pitch < top else pitch
    if pitch <= lower:
        return remap(pitch, bottom, lower, bottom, new_lower) if pitch > bottom else pitch
    return remap(pitch, lower, upper, new_lower, max(new_lower, new_upper))


def lid_skin(point, side, close=0.0, squint=0.0):
    """The point moved onto its eye's lid sphere; close (0..1) brings the
    upper lid down onto the lower, squint (0..1) raises the lower lid.

    Skin is placed on the sphere by where it lies across the eye: the
    distance from the eye's centre, seen from the front, is the angle from
    the eye's forward axis, so the rows of skin spread evenly over the ball.
    """
    centre = eye_centre(side)
    dx, dy = side * (point[0] - centre[0]), point[1] - centre[1]
    across = math.hypot(dx, dy) / LID_RADIUS
    if across >= LID_REACH:
        return point
    theta = min(across / LID_HOLD, 1.0) * math.radians(80)
    around = math.atan2(dy, dx)
    forward = (math.sin(theta) * math.cos(around), math.sin(theta) * math.sin(around), math.cos(theta))
    yaw, pitch = math.atan2(forward[0], forward[2]), math.asin(forward[1])
    upper, lower = lid_lines(yaw)
    new_lower = lower + squint * 0.5 * (upper - lower)
    new_upper = upper + close * (new_lower - upper) - squint * 0.15 * (upper - lower)
    edge = math.radians(2.5)
    inside = smoothstep(upper, upper - edge, pitch) * smoothstep(lower, lower + edge, pitch)
    radius = LID_RADIUS + (HIDDEN_RADIUS - LID_RADIUS) * inside
    pitch = moved_pitch(pitch, upper, lower, new_upper, new_lower)
    direction = (side * math.cos(pitch) * math.sin(yaw), math.sin(pitch), math.cos(pitch) * math.cos(yaw))
    on_sphere = add(centre, direction, radius)
    # Skin round the sphere follows the lids less the farther out it is.
    reach = smoothstep(LID_REACH, LID_HOLD, across)
    return tuple(point[k] + reach * (on_sphere[k] - point[k]) for k in range(3))


def eyes(point, closes=(0.0, 0.0), squints=(0.0, 0.0)):
    for i, side in enumerate((1, -1)):
        point = lid_skin(point, side, closes[i], squints[i])
    return point


# --- the targets' moves of the skin (x, y at rest decide who moves) ---

def jaw_weight(x, y, lower_copy):
    """How far a point goes with the jaw: the lower lip and the chin below
    the mouth wholly, tapering to the corners; beyond them the skin is drawn
    after the jaw more gently the nearer it is to the lips' line."""
    across = smoothstep(0.75, 0.2, abs(x))
    corner = smoothstep(MOUTH_HALF_WIDTH, MOUTH_HALF_WIDTH - 0.12, abs(x))
    if lower_copy:
        return across * corner
    if y >= MOUTH_Y:
        return 0.0
    return across * max(corner, smoothstep(0.0, 0.18, MOUTH_Y - y))


def jaw_turn(p, w):
    """p turned with the jaw by the fraction w of its full drop."""
    angle = math.radians(17) * w
    hinge = (0.0, 0.1, -0.25)
    py, pz = p[1] - hinge[1], p[2] - hinge[2]
    c, s = math.cos(angle), math.sin(angle)
    # Down and back: the chin swings under the face.
    return (p[0], hinge[1] + c * py - s * pz, hinge[2] + s * py + c * pz)


def open_mouth(p, rest, lower_copy):
    x, y = rest[0], rest[1]
    moved = jaw_turn(p, jaw_weight(x, y, lower_copy))
    if not lower_copy and y >= MOUTH_Y:  # the upper lip lifts a little
        moved = add(moved, (0.0, 0.025 * falloff(x, y, 0.0, MOUTH_Y, MOUTH_HALF_WIDTH + 0.02, 0.12), 0.0))
    return moved


def puckered(p, rest, lower_copy):
    x, y = rest[0], rest[1]
    w = falloff(x, y, 0.0, MOUTH_Y, 0.4, 0.24)
    return (p[0] - 0.5 * x * w, p[1] - 0.25 * (y - MOUTH_Y) * w, p[2] + 0.14 * w)


def clear_of_eyes(x, y):
    """0 on the lid spheres, rising to 1 where the lids no longer pull."""
    across = min(math.hypot(x - side * EYE_X, y - EYE_Y) for side in (1, -1)) / LID_RADIUS
    return smoothstep(1.0, LID_REACH, across)


def eyebrow(side):
    def move(p, rest, lower_copy):
        x, y = rest[0], rest[1]
        w = falloff(side * x, y, EYE_X + 0.02, 0.47, 0.33, 0.24) * clear_of_eyes(x, y)
        outer = 0.6 + 0.4 * smoothstep(0.15, 0.5, side * x)
        return add(p, (0.0, 0.08 * w * outer, 0.01 * w))
    return move


def cheek(side):
    def move(p, rest, lower_copy):
        x, y = rest[0], rest[1]
        w = falloff(side * x, y, 0.4, -0.2, 0.3, 0.28) * clear_of_eyes(x, y) ** 0.5
        corner = falloff(side * x, y, MOUTH_HALF_WIDTH, MOUTH_Y, 0.2, 0.16)
        return add(p, (0.03 * side * corner, 0.09 * w + 0.07 * corner, 0.06 * w))
    return move


def frown(p, rest, lower_copy):
    x, y = rest[0], rest[1]
    w = falloff(abs(x), y, 0.14, 0.44, 0.22, 0.17) * clear_of_eyes(x, y)
    bulge = falloff(x, y, 0.0, 0.4, 0.08, 0.1)
    inward = 0.055 * w * smoothstep(0.0, 0.12, abs(x))  # the midline stays put
    return add(p, (-math.copysign(inward, x), -0.08 * w, 0.02 * bulge))


def resting(p, rest, lower_copy):
    return p


# name, skin move, (left, right) lid closing, (left, right) squint
TARGETS = [
    ("open", open_mouth, (0, 0), (0, 0)),
    ("puckered", puckered, (0, 0), (0, 0)),
    ("left-eyelid", resting, (1, 0), (0, 0)),
    ("left-eyebrow", eyebrow(1), (0, 0), (0, 0)),
    ("left-cheek", cheek(1), (0, 0), (0, 0)),
    ("frown", frown, (0, 0), (0, 0)),
    ("left-squint", resting, (0, 0), (1, 0)),
    ("right-eyelid", resting, (0, 1), (0, 0)),
    ("right-eyebrow", eyebrow(-1), (0, 0), (0, 0)),
    ("right-cheek", cheek(-1), (0, 0), (0, 0)),
    ("right-squint", resting, (0, 0), (0, 1)),
]


# --- the mesh ---

def skin_grid():
    """The skin's points at rest (before the eyes), whether each is the lower
    lip's copy of a mouth point, and its quads."""
    lons = longitudes()
    lats, mouth_row = latitudes()
    index, points, lower = {}, [], []
    for r, lat in enumerate(lats):
        for c, lon in enumerate(lons):
            index[(r, c)] = len(points)
            points.append(rest_skin(lon, lat))
            lower.append(False)
            if r == mouth_row:
                index[("lower", c)] = index[(r, c)]
                if abs(points[-1][0]) < MOUTH_HALF_WIDTH:
                    index[("lower", c)] = len(points)
                    points.append(points[-1])
                    lower.append(True)
    # Counter-clockwise seen from outside; the row under the mouth meets the
    # lower lip's copies, so the lips part where the copies move apart.
    quads = []
    for r in range(ROWS - 1):
        top = (lambda c: index[("lower", c)]) if r + 1 == mouth_row else (lambda c: index[(r + 1, c)])
        for c in range(COLUMNS - 1):
            quads.append((index[(r, c)], index[(r, c + 1)], top(c + 1), top(c)))
    return points, lower, quads


def eyeball(side):
    """A ball looking forward: pole at +z, rings back from it."""
    centre = eye_centre(side)
    points, tints = [add(centre, (0.0, 0.0, EYE_RADIUS))], [PUPIL]
    for ring in range(1, EYE_RINGS):
        polar = math.pi * ring / EYE_RINGS
        for s in range(EYE_SEGMENTS):
            a = 2 * math.pi * s / EYE_SEGMENTS
            d = (math.sin(polar) * math.cos(a), math.sin(polar) * math.sin(a), math.cos(polar))
            points.append(add(centre, d, EYE_RADIUS))
            tints.append(PUPIL if polar < math.radians(16) else IRIS if polar < math.radians(30) else SCLERA)
    points.append(add(centre, (0.0, 0.0, -EYE_RADIUS)))
    tints.append(SCLERA)
    faces = []
    last = len(points) - 1
    ring_start = lambda ring: 1 + (ring - 1) * EYE_SEGMENTS
    for s in range(EYE_SEGMENTS):
        n = (s + 1) % EYE_SEGMENTS
        faces.append((0, ring_start(1) + s, ring_start(1) + n))
        for ring in range(1, EYE_RINGS - 1):
            a, b = ring_start(ring), ring_start(ring + 1)
            faces.append((a + s, b + s, b + n, a + n))
        faces.append((ring_start(EYE_RINGS - 1) + n, ring_start(EYE_RINGS - 1) + s, last))
    return points, tints, faces


def mouth_inside():
    """A bowl behind the lips, open to the front, and the upper teeth."""
    front = rest_skin(0.0, math.asin(MOUTH_Y / RY))[2]
    centre = (0.0, MOUTH_Y - 0.03, front - 0.12)
    radii = (MOUTH_HALF_WIDTH + 0.05, 0.13, 0.2)
    rings, segments = 7, 16
    points, tints, faces = [], [], []
    for ring in range(rings + 1):
        polar = math.radians(90) * ring / rings  # 0 straight back .. 90 at the rim
        for s in range(segments):
            a = 2 * math.pi * s / segments
            d = (math.sin(polar) * math.cos(a), math.sin(polar) * math.sin(a), -math.cos(polar))
            # The sides sweep back, staying inside the cheeks.
            point = tuple(centre[k] + radii[k] * d[k] for k in range(3))
            points.append((point[0], point[1], point[2] - 0.12 * d[0] * d[0]))
            tints.append(MOUTH)
    for ring in range(rings):
        for s in range(segments):
            a, b = ring * segments, (ring + 1) * segments
            n = (s + 1) % segments
            faces.append((a + s, b + s, b + n, a + n))  # facing into the bowl
    teeth_start = len(points)
    arc = 12
    for row, (dy, dz) in enumerate(((0.0, -0.035), (0.045, -0.045))):
        for i in range(arc + 1):
            t = -1.0 + 2.0 * i / arc
            x = 0.8 * MOUTH_HALF_WIDTH * t
            points.append((x, MOUTH_Y - 0.012 + dy, front + dz - 0.09 * t * t))
            tints.append(TEETH)
    for i in range(arc):
        a, b = teeth_start + i, teeth_start + arc + 1 + i
        faces.append((a, a + 1, b + 1, b))
    return points, tints, faces


def skin_tint(p):
    x, y = p
    ax = abs(x)
    brow = 0.43 + 0.05 * max(0.0, 1.0 - ((ax - 0.33) / 0.26) ** 2)
    if 0.09 < ax < 0.6 and abs(y - brow) < 0.036 * (1.0 - 0.5 * smoothstep(0.35, 0.6, ax)):
        return BROW
    if ax < MOUTH_HALF_WIDTH + 0.01:
        shape = max(0.0, 1.0 - (ax / (MOUTH_HALF_WIDTH + 0.01)) ** 2) ** 0.5
        if MOUTH_Y - 0.075 * shape <= y <= MOUTH_Y + 0.055 * shape:
            return LIP
    return SKIN


def build():
    """(neutral points, faces, {target name: points}, tints)."""
    rest, lower, faces = skin_grid()
    neutral = [eyes(p) for p in rest]
    targets = {}
    for name, move, closes, squints in TARGETS:
        targets[name] = [move(eyes(p, closes, squints), p, lower[i]) for i, p in enumerate(rest)]
    tints = [skin_tint(p[:2]) for p in rest]
    for side in (1, -1):
        points, ball_tints, ball_faces = eyeball(side)
        offset = len(neutral)
        neutral += points
        for name in targets:
            targets[name] = targets[name] + points
        tints += ball_tints
        faces += [tuple(offset + i for i in f) for f in ball_faces]
    points, inside_tints, inside_faces = mouth_inside()
    offset = len(neutral)
    neutral += points
    for name in targets:
        targets[name] = targets[name] + points
    # The floor of the mouth goes down with the jaw.
    centre_y = MOUTH_Y - 0.03
    targets["open"][offset:] = [jaw_turn(p, smoothstep(centre_y + 0.02, centre_y - 0.04, p[1])) for p in points]
    tints += inside_tints
    faces += [tuple(offset + i for i in f) for f in inside_faces]
    return neutral, faces, targets, tints


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
    neutral, faces, targets, _ = build()
    write_obj(os.path.join(out, "neutral.obj"), "neutral", neutral, faces)
    for name, _, _, _ in TARGETS:
        write_obj(os.path.join(out, name + ".obj"), name, targets[name], faces)


if __name__ == "__main__":
    main()
