#!/usr/bin/env python3
"""Times the command line on large generated inputs and keeps its outputs.

    bench/commands.py [--mirova BUILD/bin/mirova] [--work DIR] [--sizes 10000,100000]
                      [--save DIR] [--compare DIR] [--callgrind]

For each size it writes a motion take (N samples, .asc) and a tracker
recording (N samples x 30 markers, .trc), then runs `camera` (json, chan,
gltf), `take` back from the glTF and the .chan `camera` wrote, `face` (json;
glb of the built-in face; glb of the test rig of tests/rig/make_rig.py
driven with --rig),
`inspect FILE.trc` and `inspect FILE.asc`, printing wall time,
processor time (user + system), peak resident memory and, for the recording,
its size in memory counted as samples x markers x 2 floats (the positions) +
samples x 1 int (the times) + the marker names; then, per size, how many
times as long `face` took as `inspect` of the same recording, how many times
as long the round trip (`camera --format gltf`, then `take`) took as
`camera` (json), the rig run's time and peak memory over those of `face`
to glb, and how far the take that came back lies from the one that
went out (largest difference of an angle in degrees, of a position relative
to its size; they must stay within 1e-3 and 1e-4). The bundled
examples' JSON, .chan, OBJ and glTF outputs are made too, and the bundled
take's 150 frames pictured by `view` (kept apart: not saved or compared).

--save DIR keeps every output; --compare DIR compares each one byte for byte
with the one saved there and fails when any differs.
--callgrind runs `camera` once more under callgrind on the smallest size and
prints the inclusive share of the panel's SetProgress.
"""
import argparse
import filecmp
import math
import os
import re
import shutil
import subprocess
import sys

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FACE_MARKERS = [
    ("nose_bridge", 0.400, 0.500), ("lip_upper", 0.600, 0.500), ("lip_lower", 0.660, 0.500),
    ("lip_left", 0.630, 0.560), ("lip_right", 0.630, 0.440), ("eyelid_left", 0.370, 0.580),
    ("eyelid_right", 0.370, 0.420), ("out_brow_left", 0.300, 0.620), ("out_brow_right", 0.300, 0.380),
    ("in_brow_left", 0.310, 0.540), ("in_brow_right", 0.310, 0.460), ("cheek_left", 0.520, 0.620),
    ("cheek_right", 0.520, 0.380), ("squint_left", 0.410, 0.590), ("squint_right", 0.410, 0.410),
]
EXTRA_MARKERS = [("extra_%02d" % i, 0.2 + 0.02 * i, 0.3 + 0.01 * i) for i in range(15)]
MARKERS = FACE_MARKERS + EXTRA_MARKERS
RATE = 30


def write_take(path, samples):
    """A dolly move sampled `samples` times, as the rig exports it."""
    with open(path, "w", newline="\r\n") as out:
        out.write("Axes = FOCUS,VTrack,VEW,VNS,VPan,VTilt,VRoll\n")
        for i in range(samples):
            t = i / max(samples - 1, 1)
            s = 0.5 - 0.5 * math.cos(math.pi * t)
            values = [120 - 60 * s, 72 * s, 3 * math.sin(7 * t), 54.0, -6 * s, 1.5 * s + 0.25 * math.sin(9 * t),
                      0.5 * math.sin(5 * t)]
            out.write(" ".join("%.4f" % (round(v, 4) + 0.0) for v in values) + "\n")


def write_sweep(path, samples):
    """Every axis at once: pans past +-720 degrees both ways, tilts through
    +-90, rolls through +-90, track and both slides."""
    with open(path, "w", newline="\r\n") as out:
        out.write("Axes = VTrack,VEW,VNS,VPan,VTilt,VRoll\n")
        for i in range(samples):
            t = i / max(samples - 1, 1)
            values = [400 * math.sin(3 * t), -250 * t, 60 + 40 * math.cos(5 * t), 800 * math.sin(2 * math.pi * t),
                      120 * math.sin(6 * math.pi * t), 100 * math.sin(4 * math.pi * t + 0.3)]
            out.write(" ".join("%.4f" % (round(v, 4) + 0.0) for v in values) + "\n")


def write_recording(path, samples):
    """A face that opens and closes its mouth, with 30 markers, one lost now and then."""
    with open(path, "w", newline="\r\n") as out:
        out.write("FaceTracker export\nPerformance: generated\n")
        out.write("Samples Markers %d %d\n" % (samples, len(MARKERS)))
        out.write("Frame\tTime\t" + "".join(name + "\t\t\t" for name, _, _ in MARKERS) + "\n")
        out.write("\t" + "\tY\tX\tC" * len(MARKERS) + "\n")
        for frame in range(samples):
            t = frame / RATE
            open_ = 0.5 - 0.5 * math.cos(t * 2.0)
            fields = []
            for m, (name, v, h) in enumerate(MARKERS):
                if name == "cheek_left" and frame % 97 == 5:
                    fields.append("\t\t")
                    continue
                down = 0.06 * open_ if name == "lip_lower" else 0.003 * math.sin(t + m)
                fields.append("%.4f\t%.4f\t%.2f" % (v + down, h + 0.01 * math.sin(0.7 * t), 0.9))
            out.write("%d\t%.4f\t%s\n" % (frame, t, "\t".join(fields)))


def recording_bytes(samples):
    names = sum(len(name) + 1 for name, _, _ in MARKERS)
    return samples * len(MARKERS) * 2 * 4 + samples * 4 + names


def run(command, work, out_dir, stdout_path=None):
    """Runs command in out_dir under /usr/bin/time (a child forked from this
    script would inherit its peak memory); (exit status, wall seconds,
    processor seconds, peak KiB).
    Outputs are named relative to out_dir, so that reports naming them read
    the same wherever the bench runs."""
    measure = os.path.join(work, "time.out")
    out = open(os.path.join(out_dir, stdout_path), "wb") if stdout_path else subprocess.DEVNULL
    status = subprocess.run(["/usr/bin/time", "-f", "%e %U %S %M", "-o", measure] + command, stdout=out,
                            stderr=subprocess.DEVNULL, cwd=out_dir).returncode
    if stdout_path:
        out.close()
    wall, user, system, rss = open(measure).read().split()[-4:]
    return status, float(wall), float(user) + float(system), int(rss)


def face_targets():
    face = os.path.join(TOP, "examples", "face")
    args = ["--neutral", face + "/neutral.obj"]
    for t in ["open", "puckered", "left-eyelid", "left-eyebrow", "left-cheek", "frown", "left-squint",
              "right-eyelid", "right-eyebrow", "right-cheek", "right-squint"]:
        args += ["--target", "%s=%s/%s.obj" % (t, face, t)]
    return face, args


def example_runs(mirova, out):
    """(label, command, stdout file or None, output files) for the bundled examples."""
    ex = os.path.join(TOP, "examples")
    face, targets = face_targets()
    neutral, targets = targets[:2], targets[2:]
    o = lambda name: name  # relative to out, where the commands run
    return [
        ("ex inspect asc", [mirova, "inspect", ex + "/dolly.asc"], o("dolly.json")),
        ("ex camera json", [mirova, "camera", ex + "/dolly.asc", "-o", o("dolly-camera.json")], None),
        ("ex camera chan", [mirova, "camera", ex + "/dolly.asc", "--format", "chan", "-o", o("dolly-camera.chan")],
         None),
        ("ex camera glb", [mirova, "camera", ex + "/dolly.asc", "--format", "gltf", "-o", o("dolly-camera.glb")],
         None),
        ("ex take glb", [mirova, "take", o("dolly-camera.glb"), "-o", o("dolly-take.asc")], None),
        ("ex morph", [mirova, "morph", "--neutral", face + "/neutral.obj"] + targets +
         ["--set", "Mouth Vertical=60", "--set", "Left Eyelid=20", "--set", "Right Eyebrow=80",
          "--set", "Frown=100", "-o", o("face-blend.obj")], o("face-blend.json")),
        ("ex morph gltf", [mirova, "morph", "--neutral", face + "/neutral.obj"] + targets +
         ["--set", "Frown=100", "-o", o("face-blend.gltf")], None),
        ("ex inspect trc", [mirova, "inspect", ex + "/face_take.trc"], o("face_take.json")),
        ("ex face json", [mirova, "face", ex + "/face_take.trc"] + neutral + ["-o", o("face-keys.json")], None),
        ("ex face glb", [mirova, "face", ex + "/face_take.trc"] + neutral + targets + ["--format", "gltf", "-o",
                                                                             o("face.glb")], None),
        ("ex view 150 frames", [mirova, "view", ex + "/face_take.trc", "--frames", "0:149", "--trajectories", "-o",
                                os.path.join(os.path.dirname(out), "view-frames") + "/"], None),
    ]


def test_rig(work):
    """The test rig, made once in work."""
    rig = os.path.join(work, "rig", "rig.glb")
    if not os.path.exists(rig):
        subprocess.run([sys.executable, os.path.join(TOP, "tests", "rig", "make_rig.py"), os.path.dirname(rig)],
                       check=True)
    return rig


def sized_runs(mirova, work, out, n):
    asc, trc = os.path.join(work, "take-%d.asc" % n), os.path.join(work, "face-%d.trc" % n)
    sweep = os.path.join(work, "sweep-%d.asc" % n)
    for path, write in ((asc, write_take), (trc, write_recording), (sweep, write_sweep)):
        if not os.path.exists(path):
            write(path + ".part", n)
            os.rename(path + ".part", path)
    neutral = face_targets()[1][:2]
    o = lambda name: "%d-%s" % (n, name)
    return [
        ("camera json", [mirova, "camera", asc, "-o", o("camera.json")], None),
        ("camera stdout", [mirova, "camera", asc], o("camera-stdout.json")),
        ("camera chan", [mirova, "camera", asc, "--format", "chan", "-o", o("camera.chan")], None),
        ("camera glb", [mirova, "camera", asc, "--format", "gltf", "-o", o("camera.glb")], None),
        ("take glb", [mirova, "take", o("camera.glb"), "-o", o("take-glb.asc")], None),
        ("take chan", [mirova, "take", o("camera.chan"), "-o", o("take-chan.asc")], None),
        ("sweep camera glb", [mirova, "camera", sweep, "--format", "gltf", "-o", o("sweep.glb")], None),
        ("sweep take glb", [mirova, "take", o("sweep.glb"), "-o", o("sweep-glb.asc")], None),
        ("face json", [mirova, "face", trc] + neutral + ["-o", o("face.json")], None),
        ("face stdout", [mirova, "face", trc] + neutral, o("face-stdout.json")),
        ("face glb", [mirova, "face", trc, "-o", o("face.glb")], None),
        ("face rig glb", [mirova, "face", trc, "--rig", test_rig(work), "-o", o("face-rig.glb")], None),
        ("inspect trc", [mirova, "inspect", trc], o("inspect-trc.json")),
        ("inspect asc", [mirova, "inspect", asc], o("inspect-asc.json")),
    ]


def read_take(path):
    """{label: [values]} of a take as the utility reads it: labels from the
    header, numbers in their order, line breaks meaning nothing."""
    with open(path) as f:
        labels = f.readline()[len("Axes = "):].replace(",", " ").split()
        numbers = [float(v) for v in f.read().split()]
    return {label: numbers[i::len(labels)] for i, label in enumerate(labels)}


def take_deviation(sent, back):
    """(largest angle difference in degrees, largest position difference
    relative to its size) between two takes, or None when their lengths differ.
    Within a degree of a roll of +-90 pan and tilt turn about nearly one
    line and only the orientation they make is held: their angles are not
    compared there."""
    a, b = read_take(sent), read_take(back)
    if len(a["VPan"]) != len(b["VPan"]):
        return None
    held = [abs(math.cos(math.radians(r))) >= math.sin(math.radians(1)) for r in a["VRoll"]]
    angle = max(abs(x - y) for k in ("VPan", "VTilt", "VRoll") for x, y, h in zip(a[k], b[k], held) if h)
    place = max(abs(x - y) / max(1.0, abs(x)) for k in ("VTrack", "VEW", "VNS") for x, y in zip(a[k], b[k]))
    return angle, place


def callgrind_share(mirova, work, n):
    """The inclusive share of SetProgress in `camera` on n samples, from callgrind."""
    asc = os.path.join(work, "take-%d.asc" % n)
    data = os.path.join(work, "callgrind.out")
    subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=" + data, mirova, "camera", asc,
                    "-o", os.path.join(work, "callgrind-camera.json")],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    report = subprocess.run(["callgrind_annotate", "--inclusive=yes", data], capture_output=True,
                            text=True).stdout
    total = re.search(r"([\d,]+) \(100\.0%\)\s+PROGRAM TOTALS", report)
    progress = re.search(r"([\d,]+) \(\s*([\d.]+)%\)\s+\S*MotionControlUtility::SetProgress", report)
    if not total or not progress:
        return "SetProgress not found in the profile"
    return "SetProgress: %s%% of %s instructions" % (progress.group(2), total.group(1))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--mirova", default=os.path.join(TOP, "build", "bin", "mirova"))
    parser.add_argument("--work", default=os.path.join(TOP, "build", "bench-commands"))
    parser.add_argument("--fresh", action="store_true", help="remake the generated inputs")
    parser.add_argument("--sizes", default="10000,100000")
    parser.add_argument("--save")
    parser.add_argument("--compare")
    parser.add_argument("--callgrind", action="store_true")
    args = parser.parse_args()
    args.mirova, args.work = os.path.abspath(args.mirova), os.path.abspath(args.work)
    sizes = [int(s) for s in args.sizes.split(",")]
    out = os.path.join(args.work, "out")
    os.makedirs(args.work, exist_ok=True)
    for name in os.listdir(args.work):
        if args.fresh and re.match(r"(take|face|sweep)-\d+\.(asc|trc)$", name):
            os.remove(os.path.join(args.work, name))
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    runs = [(label, cmd, so) for label, cmd, so in example_runs(args.mirova, out)]
    for n in sizes:
        print("recording of %d samples x %d markers: %.1f MiB in memory" %
              (n, len(MARKERS), recording_bytes(n) / 2**20))
        runs += [("%d %s" % (n, label), cmd, so) for label, cmd, so in sized_runs(args.mirova, args.work, out, n)]
    print("%-24s %6s %9s %9s %12s" % ("command", "exit", "wall s", "cpu s", "peak MiB"))
    times = {}
    round_trip_failed = False
    for label, cmd, so in runs:
        status, wall, cpu, rss = run(cmd, args.work, out, so)
        times[label] = (wall, cpu, rss)
        print("%-24s %6d %9.3f %9.3f %12.1f" % (label, status, wall, cpu, rss / 1024.0))
    for n in sizes:
        face, inspect = times["%d face json" % n], times["%d inspect trc" % n]
        print("%d samples: face took %.1f times as long as inspect (wall; %.1f in processor time)" %
              (n, face[0] / max(inspect[0], 1e-3), face[1] / max(inspect[1], 1e-3)))
        camera, out_glb, back = (times["%d %s" % (n, k)] for k in ("camera json", "camera glb", "take glb"))
        print("%d samples: camera --format gltf then take took %.2f times as long as camera (wall; %.2f in "
              "processor time)" % (n, (out_glb[0] + back[0]) / max(camera[0], 1e-3),
                                   (out_glb[1] + back[1]) / max(camera[1], 1e-3)))
        for via, sent in (("glb", "take"), ("chan", "take"), ("glb", "sweep")):
            deviation = take_deviation(os.path.join(args.work, "%s-%d.asc" % (sent, n)),
                                       os.path.join(out, "%d-%s-%s.asc" % (n, sent, via)))
            if deviation is None or deviation[0] > 1e-3 or deviation[1] > 1e-4:
                round_trip_failed = True
            print("%d samples of %s via %s: " % (n, sent, via) +
                  ("the take came back with another number of samples" if deviation is None else
                   "largest difference %.2g degrees, %.2g relative in position" % deviation))
        rig, glb = times["%d face rig glb" % n], times["%d face glb" % n]
        print("%d samples: face --rig took %.2f times the wall time (%.2f the processor time) and %.2f times the "
              "peak memory of face to glb" % (n, rig[0] / max(glb[0], 1e-3), rig[1] / max(glb[1], 1e-3), rig[2] / glb[2]))
    if args.callgrind:
        print(callgrind_share(args.mirova, args.work, min(sizes)))
    if args.save:
        shutil.rmtree(args.save, ignore_errors=True)
        shutil.copytree(out, args.save)
        print("outputs saved in", args.save)
    if args.compare:
        names = sorted(set(os.listdir(out)) | set(os.listdir(args.compare)))
        differ = [n for n in names if not os.path.exists(os.path.join(args.compare, n)) or
                  not os.path.exists(os.path.join(out, n)) or
                  not filecmp.cmp(os.path.join(out, n), os.path.join(args.compare, n), shallow=False)]
        print("%d outputs compared, %d differ %s" % (len(names), len(differ), " ".join(differ)))
        return 1 if differ or round_trip_failed else 0
    return 1 if round_trip_failed else 0


if __name__ == "__main__":
    sys.exit(main())
