#!/usr/bin/env python3
"""Renders a glTF rig that `mirova face --rig` drove, at chosen times of one
of its animations, as render_face.py draws the example face: each mesh
evaluated as a viewer evaluates it (its morph targets weighted as the
animation gives them at that time, linearly between keys; targets it does
not drive at the node's or the mesh's weights), placed by its node (a
skinned mesh by its joints at rest), coloured by COLOR_0 or its material's
base colour, and drawn from the front and a little to the side. The
pictures go side by side on one sheet, in the order of the times.

    python3 examples/render_rig.py OUT.png RIG.glb|RIG.gltf ANIMATION SECONDS...

Python 3 standard library only.
"""
import base64
import json
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import render_face  # noqa: E402

FORMATS = {5126: "f", 5125: "I", 5123: "H", 5121: "B"}
SIZES = {"SCALAR": 1, "VEC2": 2, "VEC3": 3, "VEC4": 4, "MAT4": 16}


def load(path):
    """The glTF's JSON and the bytes of each of its buffers."""
    data = open(path, "rb").read()
    binary = None
    if data[:4] == b"glTF":
        length = struct.unpack_from("<I", data, 12)[0]
        gltf = json.loads(data[20:20 + length])
        if len(data) > 28 + length:
            binary = data[28 + length:28 + length + struct.unpack_from("<I", data, 20 + length)[0]]
    else:
        gltf = json.loads(data)
    buffers = []
    for buffer in gltf.get("buffers", []):
        uri = buffer.get("uri")
        if uri is None:
            buffers.append(binary)
        elif uri.startswith("data:"):
            buffers.append(base64.b64decode(uri.split(",", 1)[1]))
        else:
            buffers.append(open(os.path.join(os.path.dirname(path), uri), "rb").read())
    return gltf, buffers


def values(gltf, buffers, index):
    """An accessor's elements, each a tuple of its components."""
    accessor = gltf["accessors"][index]
    view = gltf["bufferViews"][accessor["bufferView"]]
    fmt, size = FORMATS[accessor["componentType"]], SIZES[accessor["type"]]
    step = view.get("byteStride") or struct.calcsize("<%d%s" % (size, fmt))
    start = view.get("byteOffset", 0) + accessor.get("byteOffset", 0)
    data = buffers[view["buffer"]]
    return [struct.unpack_from("<%d%s" % (size, fmt), data, start + i * step) for i in range(accessor["count"])]


def multiply(a, b):
    """Column-major 4 x 4 matrices: a applied after b."""
    return [sum(a[k * 4 + r] * b[c * 4 + k] for k in range(4)) for c in range(4) for r in range(4)]


def local_matrix(node):
    if "matrix" in node:
        return node["matrix"]
    x, y, z, w = node.get("rotation", [0, 0, 0, 1])
    sx, sy, sz = node.get("scale", [1, 1, 1])
    tx, ty, tz = node.get("translation", [0, 0, 0])
    rotation = [1 - 2 * (y * y + z * z), 2 * (x * y + z * w), 2 * (x * z - y * w), 0,
                2 * (x * y - z * w), 1 - 2 * (x * x + z * z), 2 * (y * z + x * w), 0,
                2 * (x * z + y * w), 2 * (y * z - x * w), 1 - 2 * (x * x + y * y), 0, 0, 0, 0, 1]
    scaled = [rotation[i] * (sx, sy, sz, 1)[i // 4] for i in range(16)]
    return scaled[:12] + [tx, ty, tz, 1]


def world_matrices(gltf):
    worlds = {}

    def walk(index, parent):
        worlds[index] = multiply(parent, local_matrix(gltf["nodes"][index]))
        for child in gltf["nodes"][index].get("children", []):
            walk(child, worlds[index])

    identity = [1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1]
    for root in gltf["scenes"][gltf.get("scene", 0)]["nodes"]:
        walk(root, identity)
    return worlds


def transform(m, p):
    return tuple(m[r] * p[0] + m[4 + r] * p[1] + m[8 + r] * p[2] + m[12 + r] for r in range(3))


def weights_at(gltf, buffers, animation, seconds):
    """Each node's weights the animation gives at seconds."""
    weights = {}
    for channel in animation["channels"]:
        if channel["target"]["path"] != "weights":
            continue
        sampler = animation["samplers"][channel["sampler"]]
        times = [t[0] for t in values(gltf, buffers, sampler["input"])]
        out = [v[0] for v in values(gltf, buffers, sampler["output"])]
        count = len(out) // len(times)
        k = max([i for i, t in enumerate(times) if t <= seconds] or [0])
        k2 = min(k + 1, len(times) - 1)
        f = 0.0 if k2 == k else min(1.0, max(0.0, (seconds - times[k]) / (times[k2] - times[k])))
        weights[channel["target"]["node"]] = [out[k * count + j] * (1 - f) + out[k2 * count + j] * f
                                              for j in range(count)]
    return weights


def skin_matrices(gltf, buffers, skin, worlds):
    inverse = values(gltf, buffers, skin["inverseBindMatrices"])
    return [multiply(worlds[joint], list(inverse[i])) for i, joint in enumerate(skin["joints"])]


def scene_triangles(gltf, buffers, weights):
    """Every triangle of every mesh node, as three (point, colour) corners."""
    worlds, triangles = world_matrices(gltf), []
    for index, node in enumerate(gltf["nodes"]):
        if "mesh" not in node or index not in worlds:
            continue
        mesh = gltf["meshes"][node["mesh"]]
        w = weights.get(index, node.get("weights", mesh.get("weights", [])))
        for primitive in mesh["primitives"]:
            attributes = primitive["attributes"]
            points = [list(p) for p in values(gltf, buffers, attributes["POSITION"])]
            for j, target in enumerate(primitive.get("targets", [])):
                if j < len(w) and w[j]:
                    for p, d in zip(points, values(gltf, buffers, target["POSITION"])):
                        for c in range(3):
                            p[c] += w[j] * d[c]
            if "skin" in node:
                joints = skin_matrices(gltf, buffers, gltf["skins"][node["skin"]], worlds)
                bound = zip(points, values(gltf, buffers, attributes["JOINTS_0"]),
                            values(gltf, buffers, attributes["WEIGHTS_0"]))
                points = [tuple(sum(s * q[c] for s, q in zip(ws, (transform(joints[j], p) for j in js)))
                                for c in range(3)) for p, js, ws in bound]
            else:
                points = [transform(worlds[index], p) for p in points]
            if "COLOR_0" in attributes:
                colours = [c[:3] for c in values(gltf, buffers, attributes["COLOR_0"])]
            else:
                material = gltf["materials"][primitive["material"]] if "material" in primitive else {}
                base = material.get("pbrMetallicRoughness", {}).get("baseColorFactor", [0.8, 0.8, 0.8, 1])
                colours = [base[:3]] * len(points)
            indices = [i[0] for i in values(gltf, buffers, primitive["indices"])]
            for t in range(0, len(indices), 3):
                triangles.append([(points[i], colours[i]) for i in indices[t:t + 3]])
    return triangles


def render(triangles):
    w, h = render_face.WIDTH * render_face.SUPERSAMPLE, render_face.HEIGHT * render_face.SUPERSAMPLE
    x0, x1, y0, y1 = render_face.FRAME
    depth, pixels = [-1e9] * (w * h), [render_face.BACKGROUND] * (w * h)
    for triangle in triangles:
        seen = [render_face.view(p) for p, _ in triangle]
        normal = render_face.face_normal(*seen)
        if normal[2] <= 0:
            continue
        lit = render_face.shade((255, 255, 255), render_face.normalised(normal))
        colours = [tuple(int(c * l) for c, l in zip(colour, lit)) for _, colour in triangle]
        screen = [((x - x0) / (x1 - x0) * w, (y1 - y) / (y1 - y0) * h, z) for x, y, z in seen]
        render_face.fill(screen, colours, depth, pixels, w, h)
    return render_face.downsample(pixels, w, h)


def main():
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    out, path, name, times = sys.argv[1], sys.argv[2], sys.argv[3], [float(t) for t in sys.argv[4:]]
    gltf, buffers = load(path)
    animation = next(a for a in gltf["animations"] if a.get("name") == name)
    pictures = [render(scene_triangles(gltf, buffers, weights_at(gltf, buffers, animation, t))) for t in times]
    render_face.write_png(out, render_face.sheet(pictures, columns=len(pictures)))


if __name__ == "__main__":
    main()
