#!/usr/bin/env python3
"""Compares two dumps of the dialogs Windows built (dialogs_wintest.cpp) in
dialog units: the pixels of each rectangle follow the base units of the
prefix's font, which differ between Wine prefixes; ids, classes, texts and
styles must be equal. Prints each difference; exit 1 when there is one.

Usage: same_dialogs.py EXPECTED.json ACTUAL.json"""
import json
import math
import sys


def dialog_units(pixels, base):
    """left, top, right, bottom in pixels -> the same in dialog units."""
    def unit(p, b, per):
        return math.floor(p * per / b + 0.5)
    return [unit(pixels[i], base[i % 2], 4 if i % 2 == 0 else 8) for i in range(4)]


def comparable(dump):
    """Each dialog with its rectangles in dialog units and no base units."""
    out = []
    for d in dump["dialogs"]:
        base = d["baseUnits"]

        def window(w):
            w = dict(w)
            w["units"] = dialog_units(w.pop("pixels"), base)
            return w
        out.append({"id": d["id"], "client": dialog_units(d["client"], base),
                    "dialog": window(d["dialog"]), "controls": [window(c) for c in d["controls"]]})
    return out


def differences(expected, actual):
    if len(expected) != len(actual):
        yield f"{len(actual)} dialogs, expected {len(expected)}"
    for e, a in zip(expected, actual):
        for key in ("id", "client", "dialog"):
            if e[key] != a[key]:
                yield f"dialog {e['id']}: {key} {a[key]}, expected {e[key]}"
        if len(e["controls"]) != len(a["controls"]):
            yield f"dialog {e['id']}: {len(a['controls'])} controls, expected {len(e['controls'])}"
        for n, (ec, ac) in enumerate(zip(e["controls"], a["controls"])):
            if ec != ac:
                yield f"dialog {e['id']} control {n}: {ac}, expected {ec}"


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[1]) as f:
        expected = comparable(json.load(f))
    with open(sys.argv[2]) as f:
        actual = comparable(json.load(f))
    found = list(differences(expected, actual))
    for line in found[:20]:
        print(f"same_dialogs: {line}", file=sys.stderr)
    sys.exit(1 if found else 0)


if __name__ == "__main__":
    main()
