#!/usr/bin/env python3
"""Writes the example work folder: a card deck and its curves and point sets.

Plot 1: two curves and a measured point set on linear axes, with error bars
and a ratio subplot. Plot 2: power laws on log-log axes with a grid. Then a
2 by 2 frame with a dashed grid: linear, semi-logarithmic and marked-point
plots, each curve with a measured point set.
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

    # Frame 1: whole page with its edge, two curves and one point set,
    # tick marks, ratio subplot (10 % limits), normal lines.
    inp.append(card(blank * 4, ival(1), ival(1), tail="1.0"))
    inp.append(card(ival(2), ival(1), ival(1), ival(0), ival(5), ival(1)))
    inp.append(label("Time", "s"))
    inp.append(label("Signal", "V"))

    # Plot 1: linear axes, x and y error bars, ratio subplot.
    inp.append("Example 1: Two Models and a Measurement")
    inp.append("Linear Axes with a Ratio Subplot")
    inp.append(card(blank, blank, ival(1), ival(1), ival(0), ival(0)))
    inp.append(card(blank, blank, ival(1), ival(1), ival(0), ival(0)))
    xs = [i * 0.05 for i in range(201)]
    cur += curve("Model A", xs, lambda x: 2.0 + math.sin(x))
    cur += curve("Model B", xs, lambda x: 2.0 + 0.95 * math.sin(x) + 0.01 * x)
    pnt += points("Measurement", [
        (x, 0.25, 2.0 + math.sin(x) + 0.05 * math.cos(3 * x), 0.08)
        for x in [0.5 + i for i in range(10)]
    ])
    inp.append(" " * 72)

    # Frame 2: whole page, three curves and one point set, solid lines at
    # the decades and dashed lines between them.
    inp.append(card(blank * 4, ival(1), ival(1), tail="1.0"))
    inp.append(card(ival(3), ival(1), ival(1), ival(4), ival(0), ival(1)))
    inp.append(label("Frequency", "Hz"))
    inp.append(label("Power", "W"))

    # Plot 2: log-log axes, error bars in x and y.
    inp.append("Example 2: Power Laws")
    inp.append("Logarithmic Axes with a Full and Dashed Grid")
    inp.append(card(blank, blank, ival(1), ival(2), ival(0), ival(0)))
    inp.append(card(blank, blank, ival(1), ival(2), ival(0), ival(0)))
    xs = [10 ** (i * 0.05) for i in range(61)]
    cur += curve("Slope -1", xs, lambda x: 100.0 / x)
    cur += curve("Slope -1.5", xs, lambda x: 200.0 / x ** 1.5)
    cur += curve("Slope -2", xs, lambda x: 300.0 / (x * x))
    pnt += points("Data", [
        (x, 0.1 * x, 110.0 / x, 0.2 * 110.0 / x)
        for x in [2.0, 5.0, 12.0, 30.0, 80.0, 200.0, 500.0]
    ])
    inp.append(" " * 72)

    # Frame 3: a 2 by 2 layout with a dashed coarse grid, thin lines, one
    # curve and one point set per plot.
    inp.append(card(blank * 4, ival(2), ival(2), tail="1.0"))
    inp.append(card(ival(1), ival(1), ival(0), ival(1), ival(0), ival(0)))
    inp.append(label("Input", "a.u."))
    inp.append(label("Response", "a.u."))

    # Plot 3: damped oscillation, linear axes, y error bars.
    inp.append("Example 3: Damped Oscillation")
    inp.append("Linear Axes, Y Error Bars")
    inp.append(card(blank, blank, ival(0), ival(1), ival(0), ival(0)))
    inp.append(card(blank, blank, ival(1), ival(1), ival(0), ival(0)))
    xs = [i * 0.1 for i in range(201)]
    cur += curve("Damping 0.15", xs,
                 lambda x: 10 * math.exp(-0.15 * x) * math.cos(2 * x))
    pnt += points("Samples", [
        (x, 0.0, 10 * math.exp(-0.15 * x) * math.cos(2 * x)
         + 0.4 * math.sin(7 * x), 0.8) for x in [1.0 + 2 * i for i in range(10)]
    ])

    # Plot 4: exponential decay, logarithmic y axis.
    inp.append("Example 4: Decay")
    inp.append("Logarithmic Y Axis")
    inp.append(card(blank, blank, ival(0), ival(1), ival(0), ival(0)))
    inp.append(card(blank, blank, ival(1), ival(2), ival(0), ival(0)))
    xs = [i * 0.25 for i in range(81)]
    cur += curve("Half-life 2.5", xs, lambda x: 5000 * 0.5 ** (x / 2.5))
    pnt += points("Counts", [
        (x, 0.0, 5000 * 0.5 ** (x / 2.5) * (1 + 0.08 * math.cos(5 * x)),
         math.sqrt(5000 * 0.5 ** (x / 2.5)) * 2)
        for x in [0.5 + 1.5 * i for i in range(13)]
    ])

    # Plot 5: a peak with its data points marked and x and y error bars.
    inp.append("Example 5: Peak")
    inp.append("Data Points Marked, X and Y Error Bars")
    inp.append(card(blank, blank, ival(1), ival(1), ival(0), ival(0)))
    inp.append(card(blank, blank, ival(1), ival(1), ival(0), ival(1)))
    xs = [i * 0.5 for i in range(41)]
    cur += curve("Gaussian", xs,
                 lambda x: 1.0 + 8 * math.exp(-((x - 10) / 3) ** 2))
    pnt += points("Scan", [
        (x, 0.4, 1.0 + 8 * math.exp(-((x - 10) / 3) ** 2)
         + 0.3 * math.sin(3 * x), 0.5) for x in [2.0 + 2 * i for i in range(9)]
    ])

    # Plot 6: a response curve, logarithmic x axis.
    inp.append("Example 6: Response")
    inp.append("Logarithmic X Axis")
    inp.append(card(blank, blank, ival(0), ival(2), ival(0), ival(0)))
    inp.append(card(blank, blank, ival(1), ival(1), ival(0), ival(0)))
    xs = [10 ** (-1 + i * 0.05) for i in range(61)]
    cur += curve("Hill n=1.5", xs, lambda x: 10 * x ** 1.5 / (1 + x ** 1.5))
    pnt += points("Assay", [
        (x, 0.0, 10 * x ** 1.5 / (1 + x ** 1.5) + 0.3 * math.cos(4 * i), 0.5)
        for i, x in enumerate(10 ** (-0.8 + 0.4 * k) for k in range(8))
    ])

    for name, lines in (("VESKARO.INP", inp), ("VESKARO.CUR", cur),
                        ("VESKARO.PNT", pnt)):
        with open(os.path.join(HERE, name), "w") as f:
            f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
