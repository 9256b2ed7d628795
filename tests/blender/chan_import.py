"""Imports a camera's .chan through Blender's own importer and checks that
Blender's camera stands where mirova camera's JSON puts it, frame by frame.

    blender --background --factory-startup --python chan_import.py -- FILE.chan FILE.json

Exits 0 when every frame agrees, 1 when one does not, 77 when this Blender
has no .chan importer (the test is then skipped).
"""
import json
import math
import sys

import addon_utils
import bpy
from mathutils import Quaternion, Vector

chan_path, json_path = sys.argv[sys.argv.index("--") + 1:][:2]
loaded, _ = addon_utils.check("io_anim_nuke_chan")
if not loaded:
    try:
        addon_utils.enable("io_anim_nuke_chan", default_set=True)
    except Exception:
        pass
if not hasattr(bpy.ops.import_scene, "import_chan"):
    print("skipped: this Blender has no .chan importer")
    sys.exit(77)

camera = bpy.data.objects.new("Camera", bpy.data.cameras.new("Camera"))
bpy.context.scene.collection.objects.link(camera)
bpy.context.view_layer.objects.active = camera
# What the README tells a user to choose: rotation order ZXY, Z up on, and a
# 4:3 sensor so that the vertical field of view gives 45 degrees across.
bpy.ops.import_scene.import_chan(filepath=chan_path, z_up=True, rot_ord="ZXY", sensor_width=36.0,
                                 sensor_height=27.0)

report = json.load(open(json_path))
failures = 0
for i, (position, rotation) in enumerate(zip(report["position"], report["rotation"])):
    bpy.context.scene.frame_set(i)
    matrix = camera.matrix_world
    where = Vector(position[1:4])
    turn = Quaternion((rotation[4], rotation[1], rotation[2], rotation[3]))
    off = (matrix.to_translation() - where).length
    angle = matrix.to_quaternion().rotation_difference(turn).angle
    if off > 1e-3 * max(1.0, where.length) or angle > math.radians(1e-2):
        print("frame %d: %.6f units and %.6f degrees off" % (i, off, math.degrees(angle)))
        failures += 1
horizontal = 2 * math.atan(camera.data.sensor_width / 2 / camera.data.lens)
if abs(math.degrees(horizontal) - 45.0) > 0.01:
    print("the horizontal field of view is %.4f degrees, not 45" % math.degrees(horizontal))
    failures += 1
print("%d frames checked, %d wrong" % (len(report["position"]), failures))
sys.exit(1 if failures else 0)
