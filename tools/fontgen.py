#!/usr/bin/env python3
"""Builds the stroke fonts PLOT.CHR and PLOT.SYM from Hershey font data.

Usage: tools/fontgen.py [HERSHEY_DIR [OUT_DIR]]

HERSHEY_DIR holds the .jhf files of the Debian package hershey-fonts-data
(default /usr/share/hershey-fonts); OUT_DIR receives the two font files
(default: the data/ folder beside this tool). The output is deterministic,
so the committed files can be rebuilt and compared at any time.

Character font: ASCII 32 to 126 in simplex roman, fitted to the 1 by 1 cell
(the same advance for all) the way a monospaced face is: letters and digits
widened across the cell, lower case with a raised x-height, narrow letters
drawn with serifs and bars; then the control entries, then Greek alternates
for the Latin letters (at their plain simplex proportions). Symbol font: 30
point symbols on the unit square centred at (0.5, 0.5), each with its
half-width factor, then 30 dash patterns for line types 1 to 30.

Any glyph that would pass the loader's capacities (256 entries, 5000
character strokes, 2000 symbol strokes) stops the tool with an error.
"""

import math
import os
import sys

MAX_ENTRIES = 256
MAX_CHR_STROKES = 5000
MAX_SYM_STROKES = 2000
MOVE, DRAW = 3, 2

# Control characters of the character font: (byte, x, y, pen code, meaning).
# Pen code 0 is an offset for the next character drawn; a negative code
# toggles the alternate (Greek) letters for the next character.
CONTROLS = [
    (0x15, 0.0, 0.5, 0, "Ctrl-U: raise the next character half a cell"),
    (0x04, 0.0, -0.5, 0, "Ctrl-D: lower the next character half a cell"),
    (0x08, -1.0, 0.0, 0, "Ctrl-H: back one cell (overstrike)"),
    (0x07, 0.0, 0.0, -1, "Ctrl-G: next letter in its Greek alternate"),
]


class FontError(Exception):
    pass


def read_jhf(path):
    """Returns the glyphs of a .jhf file in file order as
    (left, right, paths), each path a list of (x, y) with y downward.
    A glyph's record may run over several lines."""
    with open(path, encoding="latin-1") as f:
        lines = [ln.rstrip("\r\n") for ln in f]
    glyphs = []
    i = 0
    while i < len(lines):
        rec = lines[i]
        i += 1
        if not rec.strip():
            continue
        count = int(rec[5:8])
        body = rec[8:]
        while len(body) < 2 * count and i < len(lines):
            body += lines[i]
            i += 1
        if len(body) < 2 * count:
            raise FontError(f"{path}: glyph {rec[:5]} is cut short")
        pairs = [body[k:k + 2] for k in range(0, 2 * count, 2)]
        left, right = ord(pairs[0][0]) - 82, ord(pairs[0][1]) - 82
        paths, cur = [], []
        for p in pairs[1:]:
            if p == " R":
                if cur:
                    paths.append(cur)
                cur = []
                continue
            cur.append((ord(p[0]) - 82, ord(p[1]) - 82))
        if cur:
            paths.append(cur)
        glyphs.append((left, right, paths))
    return glyphs


def strokes_of(paths, transform):
    """Pen strokes (x, y, pen) of a list of paths: a move to the first
    point of each path, draws to the rest."""
    out = []
    for path in paths:
        for k, (x, y) in enumerate(path):
            tx, ty = transform(x, y)
            out.append((tx, ty, MOVE if k == 0 else DRAW))
    return out


def cell_transform(left, right):
    # Hershey simplex capitals run from y -12 to the baseline at +9 (y
    # downward), descenders to +16. 28 units make the cell height: the
    # baseline sits at 0.2 of the cell, capitals reach 0.95 and descenders
    # -0.05; only the tops of brackets and parentheses stand out above the
    # cell. Each glyph is centred across the cell by its own bounds.
    mid = (left + right) / 2.0
    return lambda x, y: (0.5 + (x - mid) / 28.0, 0.2 + (9 - y) / 28.0)


# Heights of the simplex letters in Hershey units (y downward).
BASELINE, XHEIGHT, CAPLINE = 9, -5, -12
# The fitted face's x-height in cells: simplex lower case stands 0.5 of
# the cell; a little more makes it fuller beside the capitals, as a
# monospaced face's is. Baseline (0.2) and capital height (0.95) stay.
X_TOP = 0.76

# Ink widths, in cells, that the fitted glyphs aim at: each glyph is
# stretched (or, for the widest, narrowed) across the cell towards its
# class's width, so that the fixed one-cell advance leaves an even gap
# between letters. FIT_LIMITS bound the stretch of a glyph, as a factor on
# its simplex width.
FIT_WIDTH = {"upper": 0.68, "lower": 0.62, "digit": 0.62, "narrow": 0.50,
             "other": None}
FIT_LIMITS = (0.8, 1.6)
# Narrow letters whose simplex shapes are stretched further to fill their
# cells (their stems stay single, their arms and bars grow).
NARROW = "frtJ"
NARROW_LIMIT = 2.2


def fitted_y(y, lower):
    """Cell height of simplex y. Lower-case letters have their x-height
    raised to X_TOP, the part above it squeezed up to the capital line;
    everything else (and everything outside the baseline to the capital
    line) keeps the plain scale of 28 units a cell."""
    plain = 0.2 + (BASELINE - y) / 28.0
    if not lower or y > BASELINE or y < CAPLINE:
        return plain
    cap_top = 0.2 + (BASELINE - CAPLINE) / 28.0
    if y >= XHEIGHT:
        return 0.2 + (BASELINE - y) / (BASELINE - XHEIGHT) * (X_TOP - 0.2)
    return X_TOP + (XHEIGHT - y) / (XHEIGHT - CAPLINE) * (cap_top - X_TOP)


def glyph_class(ch):
    if ch in NARROW:
        return "narrow"
    if ch.isupper():
        return "upper"
    if ch.islower():
        return "lower"
    if ch.isdigit():
        return "digit"
    return "other"


def fitted_transform(ch, paths, left, right, stretch):
    """Transform of simplex points to the fitted cell: centred across the
    cell by the glyph's ink (by its advance when it has none) and, when
    `stretch`, stretched towards its class's ink width."""
    xs = [x for path in paths for x, _ in path]
    cls = glyph_class(ch)
    scale = 1.0
    if (stretch and xs and max(xs) > min(xs) and
            FIT_WIDTH[cls] is not None):
        low, high = FIT_LIMITS
        if cls == "narrow":
            high = NARROW_LIMIT
        want = FIT_WIDTH[cls] * 28.0 / (max(xs) - min(xs))
        scale = min(max(want, low), high)
    mid = (min(xs) + max(xs)) / 2.0 if xs else (left + right) / 2.0
    lower = ch.islower()
    return lambda x, y: (0.5 + (x - mid) * scale / 28.0, fitted_y(y, lower))


# Glyphs drawn here instead of from the simplex file, in simplex units
# (y downward, baseline +9): narrow letters with serifs and bars that
# fill their cells, the way a monospaced face draws them, and the ASCII
# shapes of "^" (a caret: the simplex file has an arrow there), "`" (a
# plain grave tick, not a turned comma) and the braces (single strokes:
# the simplex ones are doubled and blot at plot sizes). They are not
# stretched.
def own_glyphs(roman):
    def dot_of(ch):
        # The dot of i and j: the simplex glyph's path that stays above
        # the x-height.
        _, _, paths = roman[ord(ch) - 32]
        return [p for p in paths if max(y for _, y in p) < XHEIGHT]

    brace = [(4, -16), (1, -15), (0, -13), (0, -3), (-1, -1), (-4, 0),
             (-1, 1), (0, 3), (0, 13), (1, 15), (4, 16)]
    return {
        "I": [[(-7, -12), (7, -12)], [(0, -12), (0, 9)], [(-7, 9), (7, 9)]],
        "l": [[(-6, -12), (0, -12), (0, 9)], [(-7, 9), (7, 9)]],
        "i": dot_of("i") + [[(-6, -5), (0, -5), (0, 9)], [(-7, 9), (7, 9)]],
        "j": [[(x + 2, y) for x, y in p] for p in dot_of("j")] +
             [[(-4, -5), (2, -5), (2, 12), (1, 15), (-1, 16), (-5, 16)]],
        "1": [[(-5, -8), (-2, -9), (1, -12), (1, 9)], [(-6, 9), (8, 9)]],
        "^": [[(-7, -5), (0, -12), (7, -5)]],
        "`": [[(-2, -12), (2, -7)]],
        "{": [brace],
        "}": [[(-x, y) for x, y in brace]],
    }


def fmt_real(v, what):
    s = "%7.3f" % v
    if len(s) != 7:
        raise FontError(f"{what}: value {v} does not fit its field")
    return s


def stroke_records(strokes, what):
    return ["%s%s%5d" % (fmt_real(x, what), fmt_real(y, what), pen)
            for x, y, pen in strokes]


class FontFile:
    """Collects entries and checks them against the loader's capacities."""

    def __init__(self, name, max_strokes):
        self.name = name
        self.max_strokes = max_strokes
        self.records = []
        self.entries = 0
        self.strokes = 0

    def add(self, header, strokes, what):
        if self.entries + 1 > MAX_ENTRIES:
            raise FontError(f"{self.name}: entry {what} would be entry "
                            f"{self.entries + 1}, beyond {MAX_ENTRIES}")
        if self.strokes + len(strokes) > self.max_strokes:
            raise FontError(
                f"{self.name}: entry {what} would bring the strokes to "
                f"{self.strokes + len(strokes)}, beyond {self.max_strokes}")
        self.records.append(header)
        self.records.extend(stroke_records(strokes, f"{self.name} {what}"))
        self.entries += 1
        self.strokes += len(strokes)

    def write(self, folder):
        path = os.path.join(folder, self.name)
        with open(path, "w", encoding="latin-1", newline="\n") as f:
            for rec in self.records:
                f.write(rec + "\n")
        return path


def chr_header(ch, count):
    return " " + ch + "%5d" % count


def build_chr(hershey):
    roman = read_jhf(os.path.join(hershey, "rowmans.jhf"))
    greek = read_jhf(os.path.join(hershey, "greek.jhf"))
    font = FontFile("PLOT.CHR", MAX_CHR_STROKES)
    # Both files hold ASCII 32 onward in order.
    own = own_glyphs(roman)
    for code in range(32, 127):
        ch = chr(code)
        left, right, paths = roman[code - 32]
        paths = own.get(ch, paths)
        strokes = strokes_of(paths, fitted_transform(ch, paths, left, right,
                                                     ch not in own))
        font.add(chr_header(chr(code), len(strokes)), strokes, repr(chr(code)))
    for byte, x, y, pen, _ in CONTROLS:
        font.add(chr_header(chr(byte), 1), [(x, y, pen)], f"control {byte}")
    for code in list(range(ord("A"), ord("Z") + 1)) + list(
            range(ord("a"), ord("z") + 1)):
        left, right, paths = greek[code - 32]
        strokes = strokes_of(paths, cell_transform(left, right))
        font.add(chr_header(chr(code), len(strokes)), strokes,
                 f"alternate {chr(code)}")
    return font


# Marker glyphs of markers.jhf by their place in the file (from 0).
CIRCLE, SQUARE, TRI_UP, DIAMOND, STAR, CROSS_OUTLINE, PLUS, CROSS = range(
    33, 41)
ASTERISK, DISC, BLOCK, FILLED_UP, FILLED_LEFT, FILLED_DOWN = range(41, 47)
FILLED_RIGHT = 47
# The open triangle down is the open triangle up turned over (the file's
# own one hangs from its origin instead of centring on it).
TRI_DOWN = -TRI_UP

# The 30 point symbols: (marker, size, centre mark).
SYMBOLS = (
    [(m, 1.0, False) for m in (CIRCLE, SQUARE, TRI_UP, TRI_DOWN, DIAMOND,
                               PLUS, CROSS, STAR, ASTERISK, CROSS_OUTLINE)] +
    [(m, 1.0, False) for m in (DISC, BLOCK, FILLED_UP, FILLED_DOWN,
                               FILLED_LEFT, FILLED_RIGHT)] +
    [(m, 1.0, True) for m in (CIRCLE, SQUARE, TRI_UP, TRI_DOWN, DIAMOND)] +
    [(m, 0.6, False) for m in (CIRCLE, SQUARE, TRI_UP, TRI_DOWN, DIAMOND,
                               PLUS, CROSS, STAR, ASTERISK)])

CENTRE_MARK = 0.08  # half-length of the small plus at a symbol's centre

# Dash patterns for line types 1 to 30: element lengths in plot units,
# drawn and open in turn, starting with a drawn element.
DASHES = [
    [1.0],                                  # 1 solid
    [0.10, 0.05],                           # 2 dashed
    [0.01, 0.04],                           # 3 dotted
    [0.10, 0.04, 0.01, 0.04],               # 4 dash dot
    [0.20, 0.06],                           # 5 long dash
    [0.05, 0.04],                           # 6 short dash
    [0.10, 0.04, 0.01, 0.04, 0.01, 0.04],   # 7 dash dot dot
    [0.20, 0.05, 0.06, 0.05],               # 8 long short
    [0.01, 0.08],                           # 9 sparse dots
    [0.20, 0.05, 0.01, 0.05],               # 10 long dash dot
    [0.03, 0.03],                           # 11 fine dash
    [0.15, 0.10],                           # 12 open dash
    [0.20, 0.05, 0.05, 0.05, 0.05, 0.05],   # 13 long short short
    [0.10, 0.04, 0.01, 0.04, 0.01, 0.04, 0.01, 0.04],  # 14 dash three dots
    [0.20, 0.04, 0.01, 0.04, 0.01, 0.04],   # 15 long dash dot dot
    [0.06, 0.02],                           # 16 close dash
    [0.01, 0.02],                           # 17 close dots
    [0.20, 0.15],                           # 18 wide long dash
    [0.05, 0.04, 0.01, 0.04],               # 19 short dash dot
    [0.15, 0.04, 0.04, 0.04],               # 20 dash short dash
    [0.20, 0.04, 0.10, 0.04],               # 21 long medium
    [0.04, 0.12],                           # 22 sparse short dash
    [0.10, 0.03, 0.03, 0.03],               # 23 dash fine dash
    [0.20, 0.03, 0.03, 0.03, 0.03, 0.03],   # 24 long fine fine
    [0.01, 0.04, 0.01, 0.04, 0.05, 0.04],   # 25 dot dot dash
    [0.08, 0.08],                           # 26 even dash
    [0.20, 0.02],                           # 27 long close
    [0.12, 0.04, 0.01, 0.04, 0.04, 0.04],   # 28 dash dot short
    [0.02, 0.06],                           # 29 sparse fine dots
    [0.20, 0.08, 0.01, 0.08, 0.01, 0.08],   # 30 long dash wide dots
]


def symbol_strokes(markers, m, size, mark):
    """Strokes of marker m (negative: marker -m turned over) on the unit
    square centred at (0.5, 0.5): the marker's origin goes to the centre
    and its farthest point reaches size / 2 from it. Returns the strokes
    and the half-width factor."""
    _, _, paths = markers[abs(m)]
    if m < 0:
        paths = [[(x, -y) for x, y in path] for path in paths]
    reach = max(max(abs(x), abs(y)) for path in paths for x, y in path)
    scale = size / (2.0 * reach)
    strokes = strokes_of(paths, lambda x, y: (0.5 + x * scale,
                                              0.5 - y * scale))
    if mark:
        c = CENTRE_MARK
        strokes += [(0.5 - c, 0.5, MOVE), (0.5 + c, 0.5, DRAW),
                    (0.5, 0.5 - c, MOVE), (0.5, 0.5 + c, DRAW)]
    # The error bars leave the symbol at its half-width, in units of half
    # the unit square.
    halfwidth = max(abs(x - 0.5) for x, _, _ in strokes)
    return strokes, halfwidth / 0.5


def sym_header(count, refwid):
    return "  %5d%s" % (count, fmt_real(refwid, "REFWID"))


def build_sym(hershey):
    markers = read_jhf(os.path.join(hershey, "markers.jhf"))
    font = FontFile("PLOT.SYM", MAX_SYM_STROKES)
    if len(SYMBOLS) != 30 or len(DASHES) != 30:
        raise FontError("need 30 symbols and 30 dash patterns")
    for k, (m, size, mark) in enumerate(SYMBOLS, start=1):
        strokes, refwid = symbol_strokes(markers, m, size, mark)
        font.add(sym_header(len(strokes), refwid), strokes, f"symbol {k}")
    for k, elements in enumerate(DASHES, start=1):
        strokes = [(length, 0.0, DRAW if i % 2 == 0 else MOVE)
                   for i, length in enumerate(elements)]
        if not any(pen == DRAW and length > 0 for length, _, pen in strokes):
            raise FontError(f"dash pattern {k} draws nothing")
        font.add(sym_header(len(strokes), 0.0), strokes, f"line type {k}")
    return font


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    hershey = argv[1] if len(argv) > 1 else "/usr/share/hershey-fonts"
    out = argv[2] if len(argv) > 2 else os.path.normpath(
        os.path.join(here, "..", "data"))
    try:
        fonts = [build_chr(hershey), build_sym(hershey)]
    except (FontError, OSError, ValueError, IndexError) as e:
        print(f"fontgen: {e}", file=sys.stderr)
        return 1
    for font in fonts:
        path = font.write(out)
        print(f"{path}: {font.entries} entries, {font.strokes} strokes")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
