#!/usr/bin/env python3
"""Writes the example work folder: a card deck and its curves and point sets.

Plot 1: two curves and a measured point set on linear axes, with a ratio
subplot. Plot 2: power laws on log-log axes. Then a 2 by 2 frame with a
dashed grid: damped oscillations, each with a few measured points.
"""
import math
import os

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..",
                    "examples")


def num(v):
    return f"{v:11.4E}"


def ival(n):
    return f"{n:11d}"


def card(*fields, tail=""):
    text = "".join(fields)
    if tail:
        text = text.ljust(66) + tail.rjust(4)
    return text.rstrip()


def label(text, units):
    return (text.ljust(40) + units).rstrip()


def curve(title, xs, f):
    lines = [title]
    lines += [num(x) + num(f(x)) for x in xs]
    lines.append("")
    return lines


def points(title, rows):
    lines = [title]
    for x, dx, y, dy in rows:
        lines.append(num(x) + num(dx) + num(dx) + num(y) + num(dy) + num(dy))
    lines.append("")
    return lines


def main():
    inp, cur, pnt = [], [], []
    blank = " " * 11

    # Frame 1: whole page, one plot per page, two curves and one point set,
    # tick marks, ratio subplot (10 % limits), normal lines.
    inp.append(card(blank * 4, ival(1), ival(1), tail="1.0"))
    inp.append(card(ival(2), ival(1), ival(1), ival(0), ival(5), ival(1)))
    inp.append(label("Time", "s"))
    inp.append(label("Signal", "V"))

    # Plot 1: linear axes, ratio subplot.
    inp.append("Example 1: Two Models and a Measurement")
    inp.append("Linear Axes with a Ratio Subplot")
    inp.append(card(blank, blank, ival(1), ival(1), ival(0), ival(0)))
    inp.append(card(blank, blank, ival(1), ival(1), ival(0), ival(0)))
    xs = [i * 0.1 for i in range(101)]
    cur += curve("Model A", xs, lambda x: 2.0 + math.sin(x))
    cur += curve("Model B", xs, lambda x: 2.0 + 0.95 * math.sin(x) + 0.01 * x)
    pnt += points("Measurement", [
        (x, 0.25, 2.0 + math.sin(x) + 0.05 * math.cos(3 * x), 0.08)
        for x in [0.5 + i for i in range(10)]
    ])

    # Plot 2: log-log axes.
    inp.append("Example 2: Power Laws")
    inp.append("Logarithmic Axes")
    inp.append(card(blank, blank, ival(0), ival(2), ival(0), ival(0)))
    inp.append(card(blank, blank, ival(1), ival(2), ival(0), ival(0)))
    xs = [10 ** (i * 0.05) for i in range(61)]
    cur += curve("Slope -1", xs, lambda x: 100.0 / x)
    cur += curve("Slope -2", xs, lambda x: 300.0 / (x * x))
    pnt += points("Data", [
        (x, 0.0, 110.0 / x, 0.2 * 110.0 / x)
        for x in [2.0, 5.0, 12.0, 30.0, 80.0, 200.0, 500.0]
    ])
    inp.append(" " * 72)

    # Frame 2: a 2 by 2 layout with a dashed coarse grid.
    inp.append(card(blank * 4, ival(2), ival(2), tail="1.0"))
    inp.append(card(ival(1), ival(1), ival(0), ival(1), ival(0), ival(0)))
    inp.append(label("Distance", "m"))
    inp.append(label("Amplitude", "mm"))
    for k in range(4):
        damp = 0.1 + 0.15 * k
        inp.append(f"Example {3 + k}: Damping {damp:.2f}")
        inp.append("2 by 2 Layout with a Dashed Grid")
        inp.append(card(blank, blank, ival(0), ival(1), ival(0), ival(0)))
        inp.append(card(blank, blank, ival(0), ival(1), ival(0), ival(0)))
        xs = [i * 0.2 for i in range(101)]
        cur += curve(f"Damping {damp:.2f}", xs,
                     lambda x, d=damp: 10 * math.exp(-d * x) * math.cos(2 * x))
        pnt += points(f"Samples {k + 1}", [
            (x, 0.0, 10 * math.exp(-damp * x) * math.cos(2 * x), 0.6)
            for x in [1.0 + 3 * i for i in range(6)]
        ])

    for name, lines in (("VESKARO.INP", inp), ("VESKARO.CUR", cur),
                        ("VESKARO.PNT", pnt)):
        with open(os.path.join(HERE, name), "w") as f:
            f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
