#!/usr/bin/env python3
"""Makes the test rig: a small head with the 52 morph targets of the
face-capture naming convention, as an artist's glTF avatar holds them.

The head looks down +Z with x to the face's left and y up, as
examples/make_face.py's does. Its skin is a grid of a few hundred points
over the front of an ellipsoid, tinted by vertex colour (eyes, brows,
lips) and textured; the mouth's teeth are a second mesh on a child node.
The head mesh holds 51 targets named in mesh.extras.targetNames; the teeth
hold the jaw's four, mouthClose and tongueOut, named by their accessors'
names, so the 52 names are split over two meshes and the jaw's are on
both. The head is skinned to a two-joint armature, its material has a PNG
texture (with KHR_texture_transform) and KHR_materials_emissive_strength,
and the file already has two animations (a nod of the neck and a blink of
the head's own weights), a camera, extras here and there, default weights
on the head's mesh (cheekPuff at 0.25) and on the teeth's node (mouthClose
at 0.1), and a weight range of its own for browInnerUp (0 to 0.6, in
mesh.extras.targetRanges).

    python3 tests/rig/make_rig.py OUT_DIR

writes OUT_DIR/rig.glb (one file: the buffer in the binary chunk, the
image in a buffer view), OUT_DIR/rig-embedded.gltf (two buffers and the
image as data URIs) and OUT_DIR/rig-external.gltf with its two buffers
rig-external-geometry.bin and rig-external-motion.bin and its image
textures/skin.png beside it. Python 3 standard library only.
"""
import base64
import json
import math
import os
import struct
import sys
import zlib

COLUMNS, LON = 25, math.radians(60)
RX, RY, RZ = 0.95, 1.3, 1.0
EYE_X, EYE_Y, MOUTH_Y, BROW_Y, SLIT = 0.35, 0.22, -0.52, 0.43, 0.22
# The rows' latitudes: close over the face, wider over the crown, and the
# mouth's line twice (the lower lip's edge a hair below the upper's), so the
# lips part along a slit SLIT either side of the middle.
_STEP, _MOUTH = math.radians(3.6), math.asin(MOUTH_Y / RY)
LATITUDES = ([_MOUTH + k * _STEP for k in range(-6, 0)] + [_MOUTH - 0.0015] +
             [_MOUTH + k * _STEP for k in range(0, 16)] + [_MOUTH + 15 * _STEP + math.radians(9) * k
                                                          for k in range(1, 5)])
LOWER_LIP_ROW = 6
SKIN, EYE, BROW, LIP, MOUTH, TEETH = (0.88, 0.7, 0.59), (0.1, 0.12, 0.16), (0.37, 0.25, 0.18), \
    (0.75, 0.35, 0.35), (0.3, 0.1, 0.12), (0.95, 0.94, 0.88)
SIDED = ["eyeBlink", "eyeLookDown", "eyeLookIn", "eyeLookOut", "eyeLookUp", "eyeSquint", "eyeWide", "browDown",
         "browOuterUp", "cheekSquint", "mouthSmile", "mouthFrown", "mouthDimple", "mouthStretch", "mouthPress",
         "mouthLowerDown", "mouthUpperUp", "noseSneer"]
JAW = ["jawForward", "jawLeft", "jawRight", "jawOpen"]
MIDDLE = JAW + ["mouthClose", "mouthFunnel", "mouthPucker", "mouthLeft", "mouthRight", "mouthRollLower",
                "mouthRollUpper", "mouthShrugLower", "mouthShrugUpper", "browInnerUp", "cheekPuff"]
HEAD_TARGETS = [base + side for base in SIDED for side in ("Left", "Right")] + MIDDLE
TEETH_TARGETS = JAW + ["mouthClose", "tongueOut"]
ALL_TARGETS = HEAD_TARGETS + ["tongueOut"]
assert len(set(ALL_TARGETS)) == 52


def falloff(x, y, cx, cy, rx, ry=None):
    """1 at the centre, fading smoothly to 0 on an ellipse of radii rx, ry."""
    d = math.hypot((x - cx) / rx, (y - cy) / (ry or rx))
    return 0.0 if d >= 1.0 else (1.0 - d * d) ** 2


def smoothstep(edge0, edge1, v):
    t = min(1.0, max(0.0, (v - edge0) / (edge1 - edge0)))
    return t * t * (3.0 - 2.0 * t)


def jaw(x, y):
    """How much of the jaw a point is: below the mouth, less toward the sides."""
    return (1.0 - smoothstep(SLIT, 0.65, abs(x))) if y < MOUTH_Y - 0.001 else 0.0


def sided(base, s, x, y):
    """The move of a sided target (s = 1: the face's left, +x)."""
    eye, corner = falloff(x, y, s * EYE_X, EYE_Y, 0.17, 0.13), falloff(x, y, s * 0.23, MOUTH_Y, 0.16)
    lid = 1.0 - smoothstep(1.0, 1.8, math.hypot((x - s * EYE_X) / 0.14, (y - EYE_Y) / 0.085))
    moves = {
        "eyeBlink": (0.0, (EYE_Y - y) * 0.95 * lid, 0.02 * lid),
        "eyeLookDown": (0.0, -0.03 * eye, 0.0), "eyeLookUp": (0.0, 0.03 * eye, 0.0),
        "eyeLookIn": (-s * 0.03 * eye, 0.0, 0.0), "eyeLookOut": (s * 0.03 * eye, 0.0, 0.0),
        "eyeSquint": (0.0, 0.06 * falloff(x, y, s * EYE_X, EYE_Y - 0.12, 0.18, 0.08), 0.0),
        "eyeWide": (0.0, (y - EYE_Y) * 0.5 * eye, 0.0),
        "browDown": (-s * 0.03 * falloff(x, y, s * 0.3, BROW_Y, 0.2, 0.1),
                     -0.08 * falloff(x, y, s * 0.3, BROW_Y, 0.2, 0.1), 0.0),
        "browOuterUp": (0.0, 0.12 * falloff(x, y, s * 0.45, BROW_Y, 0.2, 0.12), 0.0),
        "cheekSquint": (0.0, 0.07 * falloff(x, y, s * 0.42, -0.12, 0.22), 0.02 * falloff(x, y, s * 0.42, -0.12, 0.22)),
        "mouthSmile": (s * 0.05 * corner, 0.1 * corner, 0.0),
        "mouthFrown": (0.0, -0.08 * corner, 0.0),
        "mouthDimple": (s * 0.03 * corner, 0.0, -0.03 * corner),
        "mouthStretch": (s * 0.07 * corner, -0.02 * corner, 0.0),
        "mouthPress": (0.0, (MOUTH_Y - y) * 0.4 * falloff(x, y, s * 0.1, MOUTH_Y, 0.14, 0.1), 0.0),
        "mouthLowerDown": (0.0, -0.06 * falloff(x, y, s * 0.1, MOUTH_Y - 0.06, 0.14, 0.06), 0.0),
        "mouthUpperUp": (0.0, 0.06 * falloff(x, y, s * 0.1, MOUTH_Y + 0.06, 0.14, 0.06), 0.0),
        "noseSneer": (0.0, 0.04 * falloff(x, y, s * 0.1, -0.05, 0.1), 0.0),
    }
    return moves[base]


def middle(name, x, y):
    """The move of a target of the middle of the face."""
    j = jaw(x, y)
    lips = falloff(x, y, 0.0, MOUTH_Y, 0.32, 0.12)
    upper, lower = (lips if y >= MOUTH_Y else 0.0), (lips if y < MOUTH_Y else 0.0)
    inner = sum(falloff(x, y, s * 0.18, BROW_Y, 0.16, 0.1) for s in (1, -1))
    moves = {
        "jawOpen": (0.0, -0.3 * j, -0.05 * j), "jawForward": (0.0, 0.0, 0.08 * j),
        "jawLeft": (0.08 * j, 0.0, 0.0), "jawRight": (-0.08 * j, 0.0, 0.0),
        "mouthClose": (0.0, 0.04 * lower, 0.0), "mouthFunnel": (-0.2 * x * lips, 0.0, 0.07 * lips),
        "mouthPucker": (-0.45 * x * lips, 0.0, 0.1 * lips),
        "mouthLeft": (0.08 * lips, 0.0, 0.0), "mouthRight": (-0.08 * lips, 0.0, 0.0),
        "mouthRollLower": (0.0, 0.0, -0.04 * lower), "mouthRollUpper": (0.0, 0.0, -0.04 * upper),
        "mouthShrugLower": (0.0, 0.04 * lower, 0.0), "mouthShrugUpper": (0.0, 0.04 * upper, 0.0),
        "browInnerUp": (0.0, 0.1 * inner, 0.0),
        "cheekPuff": (0.0, 0.0, 0.1 * sum(falloff(x, y, s * 0.4, -0.3, 0.25) for s in (1, -1))),
        "tongueOut": (0.0, -0.03 * j, 0.12 * j),
    }
    return moves[name]


def move(name, x, y):
    for side, s in (("Left", 1), ("Right", -1)):
        if name.endswith(side) and name[:-len(side)] in SIDED:
            return sided(name[:-len(side)], s, x, y)
    return middle(name, x, y)


def tint(x, y):
    if falloff(x, y, math.copysign(EYE_X, x), EYE_Y, 0.14, 0.085) > 0.0:
        return EYE
    if abs(abs(x) - 0.33) < 0.15 and abs(y - BROW_Y) < 0.04:
        return BROW
    if falloff(x, y, 0.0, MOUTH_Y, 0.28, 0.1) > 0.0:
        return LIP
    return SKIN


def grid(rows, columns, open_quad=lambda r, a: False):
    """Points given row by row (columns a row) and the triangles of the
    quads between them, those open_quad(row, corner) says open left out."""
    points = [p for row in rows for p in row]
    triangles = []
    for r in range(len(rows) - 1):
        for c in range(columns - 1):
            a, b, d, e = r * columns + c, r * columns + c + 1, (r + 1) * columns + c, (r + 1) * columns + c + 1
            if not (open_quad(r, points[a]) and open_quad(r, points[b])):
                triangles += [a, b, e, a, e, d]
    return points, triangles


def head():
    rows = [[(RX * math.cos(lat) * math.sin(lon), RY * math.sin(lat), RZ * math.cos(lat) * math.cos(lon))
             for lon in (LON * (2 * c / (COLUMNS - 1) - 1) for c in range(COLUMNS))] for lat in LATITUDES]
    return grid(rows, COLUMNS, lambda r, p: r == LOWER_LIP_ROW and abs(p[0]) < SLIT)


def teeth():
    """Upper and lower teeth on an arc behind the lips, and the mouth's dark
    inside behind them."""
    arc = [math.radians(120) * (c / 12 - 0.5) for c in range(13)]
    rows = [[(0.24 * math.sin(a), y, 0.62 + 0.24 * math.cos(a)) for a in arc]
            for y in (MOUTH_Y - 0.06, MOUTH_Y - 0.005, MOUTH_Y + 0.005, MOUTH_Y + 0.06)]
    points, triangles = grid(rows, 13, lambda r, p: r == 1)
    inside = [(x, y, 0.55) for y in (-0.85, -0.35) for x in (-0.3, 0.3)]
    n = len(points)
    return points + inside, triangles + [n, n + 1, n + 3, n, n + 3, n + 2]


def png(width, height, pixel):
    rows = b"".join(b"\0" + bytes(c for x in range(width) for c in pixel(x, y)) for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b"")


SKIN_PNG = png(8, 8, lambda x, y: (224, 178 + 8 * ((x + y) % 2), 150))


class Rig:
    """The glTF JSON and the bytes of its buffers, filled as the parts are added."""

    def __init__(self, buffers):
        self.gltf = {"asset": {"version": "2.0", "generator": "mirova tests/rig/make_rig.py",
                               "extras": {"purpose": "test rig"}},
                     "bufferViews": [], "accessors": []}
        self.data = [bytearray() for _ in range(buffers)]

    def view(self, data, buffer=0, target=None):
        block = self.data[buffer]
        block.extend(b"\0" * (-len(block) % 4))
        view = {"buffer": buffer, "byteOffset": len(block), "byteLength": len(data)}
        if target:
            view["target"] = target
        block.extend(data)
        self.gltf["bufferViews"].append(view)
        return len(self.gltf["bufferViews"]) - 1

    def accessor(self, values, kind, components=1, buffer=0, target=None, bounds=False, name=None):
        fmt, ctype = {"f": ("<%df", 5126), "H": ("<%dH", 5123), "B": ("<%dB", 5121)}[kind]
        types = {1: "SCALAR", 2: "VEC2", 3: "VEC3", 4: "VEC4", 16: "MAT4"}
        accessor = {"bufferView": self.view(struct.pack(fmt % len(values), *values), buffer, target),
                    "componentType": ctype, "count": len(values) // components, "type": types[components]}
        if bounds:
            columns = [values[c::components] for c in range(components)]
            accessor["min"], accessor["max"] = [min(c) for c in columns], [max(c) for c in columns]
        if name:
            accessor["name"] = name
        self.gltf["accessors"].append(accessor)
        return len(self.gltf["accessors"]) - 1


def floats(points):
    return [c for p in points for c in p]


def f32(v):
    return struct.unpack("<f", struct.pack("<f", v))[0]


def mesh_primitive(rig, points, triangles, colours, names, material, accessor_names, extra=None, still=0):
    """The primitive with a morph target for each of names; its last still points never move."""
    primitive = {"attributes": {"POSITION": rig.accessor(floats(points), "f", 3, target=34962, bounds=True),
                                "COLOR_0": rig.accessor(floats(colours), "f", 3, target=34962)},
                 "indices": rig.accessor(triangles, "H", target=34963), "material": material, "targets": []}
    primitive["attributes"].update(extra or {})
    for name in names:
        deltas = [tuple(f32(d) for d in move(name, x, y)) for x, y, _ in points[:len(points) - still]]
        deltas += [(0.0, 0.0, 0.0)] * still
        primitive["targets"].append({"POSITION": rig.accessor(floats(deltas), "f", 3, target=34962, bounds=True,
                                                              name=name if accessor_names else None)})
    return primitive


def add_meshes(rig):
    head_points, head_triangles = head()
    rows = len(LATITUDES)
    uv = [c for r in range(rows) for col in range(COLUMNS) for c in (col / (COLUMNS - 1), 1 - r / (rows - 1))]
    skinning = {"TEXCOORD_0": rig.accessor(uv, "f", 2, target=34962),
                "JOINTS_0": rig.accessor([1, 0, 0, 0] * len(head_points), "B", 4, target=34962),
                "WEIGHTS_0": rig.accessor([1.0, 0.0, 0.0, 0.0] * len(head_points), "f", 4, target=34962)}
    head_primitive = mesh_primitive(rig, head_points, head_triangles, [tint(x, y) for x, y, _ in head_points],
                                    HEAD_TARGETS, 0, False, skinning)
    teeth_points, teeth_triangles = teeth()
    colours = [TEETH] * (len(teeth_points) - 4) + [MOUTH] * 4
    # The teeth's targets are named by their accessors, the head's in its mesh's extras.
    teeth_primitive = mesh_primitive(rig, teeth_points, teeth_triangles, colours, TEETH_TARGETS, 1, True, still=4)
    rest = [0.25 if name == "cheekPuff" else 0.0 for name in HEAD_TARGETS]
    rig.gltf["meshes"] = [
        {"name": "Head", "primitives": [head_primitive], "weights": rest,
         "extras": {"targetNames": HEAD_TARGETS, "targetRanges": {"browInnerUp": [0, 0.6]}}},
        {"name": "Teeth", "primitives": [teeth_primitive], "weights": [0.0] * len(TEETH_TARGETS)},
    ]


def quat_x(degrees):
    a = math.radians(degrees) / 2
    return [math.sin(a), 0.0, 0.0, math.cos(a)]


def add_animations(rig, buffer):
    times = rig.accessor([0.0, 0.5, 1.0], "f", 1, buffer, bounds=True)
    nod = rig.accessor(quat_x(0) + quat_x(12) + quat_x(0), "f", 4, buffer)
    blink = [1.0 if (k == 1 and name.startswith("eyeBlink")) else 0.0 for k in range(3) for name in HEAD_TARGETS]
    blinks = rig.accessor(blink, "f", 1, buffer)
    rig.gltf["animations"] = [
        {"name": "Nod", "channels": [{"sampler": 0, "target": {"node": 1, "path": "rotation"}}],
         "samplers": [{"input": times, "output": nod, "interpolation": "LINEAR"}]},
        {"name": "Blink", "channels": [{"sampler": 0, "target": {"node": 3, "path": "weights"}}],
         "samplers": [{"input": times, "output": blinks}], "extras": {"take": 1}},
    ]


def build(image_mode, animation_buffer):
    """The rig with its image in a buffer view ("view") or at a URI
    ("data" or a file name), and its animations in buffer animation_buffer."""
    rig = Rig(animation_buffer + 1)
    add_meshes(rig)
    ibm = [1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 1.2, 0, 1] + [1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1]
    rig.gltf.update({
        "scene": 0,
        "scenes": [{"name": "Stage", "nodes": [0, 3, 5]}],
        "nodes": [
            {"name": "Armature", "children": [1]},
            {"name": "Neck", "translation": [0, -1.2, 0], "children": [2]},
            {"name": "HeadJoint", "translation": [0, 1.2, 0], "children": [4]},
            {"name": "Head", "mesh": 0, "skin": 0, "extras": {"lod": 0}},
            {"name": "Teeth", "mesh": 1, "weights": [0, 0, 0, 0, 0.1, 0]},
            {"name": "Camera", "camera": 0, "translation": [0, 0, 6]},
        ],
        "skins": [{"name": "Rig", "joints": [1, 2], "skeleton": 1,
                   "inverseBindMatrices": rig.accessor(ibm, "f", 16)}],
        "cameras": [{"name": "Front", "type": "perspective",
                     "perspective": {"yfov": 0.5, "znear": 0.1, "zfar": 100, "aspectRatio": 1.5}}],
        "materials": [
            {"name": "Skin", "pbrMetallicRoughness": {
                "baseColorTexture": {"index": 0, "extensions": {"KHR_texture_transform": {"scale": [2, 2]}}},
                "metallicFactor": 0.0, "roughnessFactor": 0.8},
             "extensions": {"KHR_materials_emissive_strength": {"emissiveStrength": 1.5}},
             "emissiveFactor": [0.1, 0.05, 0.05], "extras": {"shader": "skin"}},
            {"name": "Teeth", "pbrMetallicRoughness": {"baseColorFactor": [0.95, 0.94, 0.88, 1.0]}},
        ],
        "textures": [{"sampler": 0, "source": 0}],
        "samplers": [{"magFilter": 9729, "minFilter": 9987, "wrapS": 10497, "wrapT": 33648}],
        "extensionsUsed": ["KHR_texture_transform", "KHR_materials_emissive_strength"],
        "extras": {"rig": "mirova test head", "version": 3},
    })
    add_animations(rig, animation_buffer)
    if image_mode == "view":
        image = {"name": "skin", "mimeType": "image/png", "bufferView": rig.view(SKIN_PNG)}
    elif image_mode == "data":
        image = {"name": "skin", "uri": "data:image/png;base64," + base64.b64encode(SKIN_PNG).decode()}
    else:
        image = {"name": "skin", "uri": image_mode}
    rig.gltf["images"] = [image]
    return rig


def write_glb(path, rig):
    rig.gltf["buffers"] = [{"byteLength": len(rig.data[0])}]
    text = json.dumps(rig.gltf).encode()
    text += b" " * (-len(text) % 4)
    binary = bytes(rig.data[0]) + b"\0" * (-len(rig.data[0]) % 4)
    total = 12 + 8 + len(text) + 8 + len(binary)
    with open(path, "wb") as out:
        out.write(struct.pack("<III", 0x46546C67, 2, total) + struct.pack("<II", len(text), 0x4E4F534A) + text +
                  struct.pack("<II", len(binary), 0x004E4942) + binary)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(os.path.join(out, "textures"), exist_ok=True)
    write_glb(os.path.join(out, "rig.glb"), build("view", 0))

    rig = build("data", 1)
    rig.gltf["buffers"] = [{"byteLength": len(d), "uri": "data:application/octet-stream;base64," +
                            base64.b64encode(bytes(d)).decode()} for d in rig.data]
    with open(os.path.join(out, "rig-embedded.gltf"), "w") as f:
        json.dump(rig.gltf, f, indent=2)

    rig = build("textures/skin.png", 1)
    names = ["rig-external-geometry.bin", "rig-external-motion.bin"]
    rig.gltf["buffers"] = [{"byteLength": len(d), "uri": n} for d, n in zip(rig.data, names)]
    for data, name in zip(rig.data, names):
        with open(os.path.join(out, name), "wb") as f:
            f.write(bytes(data))
    with open(os.path.join(out, "textures", "skin.png"), "wb") as f:
        f.write(SKIN_PNG)
    with open(os.path.join(out, "rig-external.gltf"), "w") as f:
        json.dump(rig.gltf, f, indent=2)


if __name__ == "__main__":
    main()
