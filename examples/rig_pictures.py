#!/usr/bin/env python3
"""Makes the pictures of a glTF rig driven by `mirova face --rig`:

- examples/rig_take.png: the test rig (tests/rig/make_rig.py) driven by
  examples/face_take.trc, at rest, blinking with a smile and the mouth
  opening (1.075 s), the mouth open (1.4 s), the brows raised (2.5 s), the
  frown with its squint (3.7 s) and the pucker (4.5 s);
- examples/rig_wink.png: the same rig driven by a recording in which only
  the eyelid_left marker drops (the performer's left eye winks), at rest
  and at the wink: the avatar's own left eye closes, on the picture's
  right, as the performer's does seen from the camera.

    python3 examples/rig_pictures.py [BUILD/bin/mirova]

Python 3 standard library only (and the mirova it is given).
"""
import math
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import make_face_take  # noqa: E402


def write_wink(path):
    """make_face_take's face, still but for one blink of its left eyelid."""
    make_face_take.SECONDS = 1.5
    make_face_take.LOST = ("", 0, 0)
    make_face_take.head = lambda t: (0.0, 0.0)
    make_face_take.expression = lambda t: dict({k: 0.0 for k in ("smile", "open", "brows", "frown", "pucker")},
                                               blink=make_face_take.bump(t, 0.3, 1.2))
    offsets = make_face_take.offsets
    make_face_take.offsets = lambda name, e: (0.0, 0.0) if name == "eyelid_right" else offsets(name, e)
    sys.argv = [sys.argv[0], path]
    make_face_take.main()


def main():
    mirova = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "build", "bin", "mirova"))
    work = tempfile.mkdtemp()
    subprocess.run([sys.executable, os.path.join(HERE, "..", "tests", "rig", "make_rig.py"), work], check=True)
    wink = os.path.join(work, "wink.trc")
    write_wink(wink)
    render = os.path.join(HERE, "render_rig.py")
    for take, name, picture, times in ((os.path.join(HERE, "face_take.trc"), "face_take", "rig_take.png",
                                        ["0", "1.075", "1.4", "2.5", "3.7", "4.5"]),
                                       (wink, "wink", "rig_wink.png", ["0", "0.75"])):
        driven = os.path.join(work, name + ".glb")
        subprocess.run([mirova, "face", take, "--rig", os.path.join(work, "rig.glb"), "-o", driven], check=True)
        subprocess.run([sys.executable, render, os.path.join(HERE, picture), driven, name] + times, check=True)


if __name__ == "__main__":
    main()
