#!/usr/bin/env python3
"""Writes examples/dolly.asc: a four-second dolly move at 30 samples per second
as a Kuper rig exports it (header line, one sample per line, CR LF ends).

The camera dollies out: it tracks back, away from what it looks at (a
positive VTrack moves the camera against its view), with an eased start and
stop while it pans a little to the left and tilts up a touch; east-west and
roll stay still, the height sits on the column and the focus pulls out as the
camera backs away. Output is
deterministic, so the committed file can be regenerated and compared.
"""
import math
import os

SAMPLES_PER_SECOND = 30
SECONDS = 4
LABELS = ["FOCUS", "VTrack", "VEW", "VNS", "VPan", "VTilt", "VRoll"]


def ease(t):
    """Smooth 0..1 ramp with zero speed at both ends."""
    return 0.5 - 0.5 * math.cos(math.pi * t)


def sample(t):
    """Axis values at t in 0..1, in header order."""
    s = ease(t)
    track = 72.0 * s                      # scene units back, against the view
    focus = 60.0 + 72.0 * s               # the subject stays put: focus follows the camera back
    east_west = 0.0
    height = 54.0                         # camera column height
    pan = -6.0 * s                        # degrees, drifting left
    tilt = 1.5 * s + 0.25 * math.sin(2 * math.pi * t)
    roll = 0.0
    return [focus, track, east_west, height, pan, tilt, roll]


def main():
    count = SAMPLES_PER_SECOND * SECONDS
    lines = ["Axes = " + ",".join(LABELS)]
    for i in range(count):
        t = i / (count - 1)
        # round(...) + 0.0 keeps "-0.0000" out of the file.
        lines.append(" ".join("%.4f" % (round(v, 4) + 0.0) for v in sample(t)))
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "dolly.asc")
    with open(path, "w", newline="\r\n") as out:
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
