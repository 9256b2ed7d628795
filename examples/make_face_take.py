#!/usr/bin/env python3
"""Makes the example tracker recording examples/face_take.trc: five seconds of
a face at 30 samples a second that smiles and opens its mouth, blinks three
times, raises its brows, frowns with a squint and purses its lips, while the
head drifts in the frame.

Each movement pulls its markers one way only, away from where they rest, so
that the rest pose is the end of every channel's range: the library scales
each channel to the range the recording covers, and a marker that also
moved the other way would leave its target partly on at rest.
The tracker loses "cheek_left" for a moment (from 3.4 s), while the head is
nearly still, so that its last position stands in well: those fields
are empty, as the tracker writes them.

The layout is the tracker's tab-separated export with Windows line ends:
two lines of text, a line with the sample and marker counts, the marker
names (each followed by two empty columns), a column-title line, then one
row per sample: frame number, time in seconds, and per marker its vertical
and horizontal image position (0..1, vertical growing downward) and a
confidence, or three empty fields when the marker was not found.

    python3 examples/make_face_take.py [OUT.trc]
"""
import math
import os
import sys

RATE = 30
SECONDS = 5.0

# Rest positions in the image: (vertical, horizontal), the face looking at
# the camera, so the face's left is the image's right.
MARKERS = [
    ("nose_bridge", (0.400, 0.500)),
    ("lip_upper", (0.600, 0.500)),
    ("lip_lower", (0.660, 0.500)),
    ("lip_left", (0.630, 0.560)),
    ("lip_right", (0.630, 0.440)),
    ("eyelid_left", (0.370, 0.580)),
    ("eyelid_right", (0.370, 0.420)),
    ("out_brow_left", (0.300, 0.620)),
    ("out_brow_right", (0.300, 0.380)),
    ("in_brow_left", (0.310, 0.540)),
    ("in_brow_right", (0.310, 0.460)),
    ("cheek_left", (0.520, 0.620)),
    ("cheek_right", (0.520, 0.380)),
    ("squint_left", (0.410, 0.590)),
    ("squint_right", (0.410, 0.410)),
]
LOST = ("cheek_left", 3.4, 3.85)


def bump(t, start, end):
    """0 outside start..end, rising smoothly to 1 in the middle."""
    if t <= start or t >= end:
        return 0.0
    return math.sin(math.pi * (t - start) / (end - start)) ** 2


def expression(t):
    """The face's state at t: how far each movement has gone (0..1)."""
    return {
        "smile": bump(t, 0.2, 1.6),
        "open": bump(t, 0.7, 1.9) + 0.5 * bump(t, 4.3, 4.9),
        "blink": bump(t, 0.95, 1.2) + bump(t, 2.75, 3.0) + bump(t, 4.55, 4.8),
        "brows": bump(t, 1.9, 3.1),
        "frown": bump(t, 3.1, 4.3),
        "pucker": bump(t, 4.0, 4.95),
    }


def offsets(name, e):
    """The marker's move from rest in image units: (down, right)."""
    moves = {
        "lip_upper": (-0.010 * e["open"], 0.0),
        "lip_lower": (0.070 * e["open"], 0.0),
        # A smile lifts the corners; only a pucker draws them together.
        "lip_left": (0.010 * e["open"] - 0.010 * e["smile"], -0.025 * e["pucker"]),
        "lip_right": (0.010 * e["open"] - 0.010 * e["smile"], 0.025 * e["pucker"]),
        "eyelid_left": (0.030 * e["blink"], 0.0),
        "eyelid_right": (0.030 * e["blink"], 0.0),
        "out_brow_left": (-0.040 * e["brows"], 0.0),
        "out_brow_right": (-0.040 * e["brows"], 0.0),
        "in_brow_left": (0.025 * e["frown"], -0.010 * e["frown"]),
        "in_brow_right": (0.025 * e["frown"], 0.010 * e["frown"]),
        "cheek_left": (-0.025 * e["smile"], 0.005 * e["smile"]),
        "cheek_right": (-0.025 * e["smile"], -0.005 * e["smile"]),
        "squint_left": (-0.012 * e["smile"] - 0.010 * e["frown"], 0.0),
        "squint_right": (-0.012 * e["smile"] - 0.010 * e["frown"], 0.0),
    }
    return moves.get(name, (0.0, 0.0))


def head(t):
    """The head's drift in the frame: (down, right)."""
    return 0.015 * math.sin(1.3 * t), 0.020 * math.sin(0.7 * t + 0.5)


def lost(name, t):
    return name == LOST[0] and LOST[1] <= t < LOST[2]


def rows():
    count = int(SECONDS * RATE)
    for frame in range(count):
        t = frame / RATE
        e = expression(t)
        drift = head(t)
        fields = []
        for name, (vertical, horizontal) in MARKERS:
            if lost(name, t):
                fields.append("\t\t")
                continue
            down, right = offsets(name, e)
            fields.append("%.4f\t%.4f\t%.2f" % (vertical + down + drift[0], horizontal + right + drift[1],
                                               0.9 + 0.05 * math.sin(frame)))
        yield "%d\t%.4f\t%s" % (frame, t, "\t".join(fields))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "face_take.trc")
    count = int(SECONDS * RATE)
    lines = [
        "FaceTracker export",
        "Performance: example take (synthetic)",
        "Samples Markers %d %d" % (count, len(MARKERS)),
        "Frame\tTime\t" + "".join(name + "\t\t\t" for name, _ in MARKERS),
        "\t" + "\tY\tX\tC" * len(MARKERS),
    ]
    lines.extend(rows())
    with open(out, "w", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
