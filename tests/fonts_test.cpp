// Stroke fonts: loading, control characters, pending state, weights and
// directions of stroked text, and the shipped font files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "core/routines.h"
#include "tests/recording_device.h"

namespace veskaro {
namespace {

using Calls = std::vector<std::string>;

std::string stroke(double x, double y, int pen) {
  char b[40];
  std::snprintf(b, sizeof b, "%7.3f%7.3f%5d\n", x, y, pen);
  return b;
}
std::string head(char ch, int n) {
  char b[40];
  std::snprintf(b, sizeof b, " %c%5d\n", ch, n);
  return b;
}
// An ordinary character of one draw from (0, 0) to (x, y).
std::string glyph(char ch, double x, double y) {
  return head(ch, 2) + stroke(0, 0, 3) + stroke(x, y, 2);
}

class Fonts : public ::testing::Test {
 protected:
  RecordingDevice dev;
  Core c{dev};

  void load_chr(const std::string& text) {
    c.files.chr.open_text(text);
    symin(c);
  }
  void load_sym(const std::string& text) {
    c.files.sym.open_text(text);
    refin(c);
  }
  Calls draw(const std::string& text, double ht = 1, double angle = 0) {
    dev.calls.clear();
    symbl1(c, 10, 20, ht, text, angle, static_cast<int>(text.size()));
    return dev.calls;
  }
};

TEST_F(Fonts, ControlEntriesOffsetAndToggleTheNextCharacter) {
  load_chr(glyph('A', 0.5, 1) + glyph('A', 1, 0.5) + glyph('B', 1, 1) +
           head('~', 1) + stroke(0, 0, -1) + head('^', 1) + stroke(0, 0.5, 0) +
           head('>', 1) + stroke(0.5, 0, 0) + head(' ', 0));
  ASSERT_EQ(c.ft.NCHR, 7);
  ASSERT_EQ(c.ft.NALT, 3);
  EXPECT_EQ(c.ft.SYMCHR(259), '>');

  // First A, then its alternate after the toggle, then the first again.
  EXPECT_EQ(draw("A~AA"),
            (Calls{"plot 10.0000 20.0000 3", "plot 10.5000 21.0000 2",
                   "plot 11.0000 20.0000 3", "plot 12.0000 20.5000 2",
                   "plot 12.0000 20.0000 3", "plot 12.5000 21.0000 2"}));
  // A raise moves the character up half a cell without changing the
  // advance; a shift right also lengthens the advance; offsets add up.
  EXPECT_EQ(draw("^^BB >B"),
            (Calls{"plot 10.0000 21.0000 3", "plot 11.0000 22.0000 2",
                   "plot 11.0000 20.0000 3", "plot 12.0000 21.0000 2",
                   "plot 13.5000 20.0000 3", "plot 14.5000 21.0000 2"}));
  // B and the blank have no alternates: they are skipped and the toggle
  // stays pending for the A.
  EXPECT_EQ(draw("~B A"),
            (Calls{"plot 10.0000 20.0000 3", "plot 11.0000 20.5000 2"}));
  // The blank (an entry without strokes) advances a cell.
  EXPECT_EQ(draw(" A")[0], "plot 11.0000 20.0000 3");
  // Characters the font lacks take no room; what a text leaves pending
  // (here through a text the font cannot draw) acts on the next text.
  draw("A^>~");
  draw("Z");
  EXPECT_EQ(draw("ZA"),
            (Calls{"plot 10.5000 20.5000 3", "plot 11.5000 21.0000 2"}));
  EXPECT_EQ(draw("A")[0], "plot 10.0000 20.0000 3");
}

TEST_F(Fonts, VerticalTextReadsUpwardForBothSignsOfTheAngle) {
  load_chr(glyph('A', 0.5, 1) + head('^', 1) + stroke(0.5, 0.25, 0));
  const Calls up = {"plot 10.0000 20.0000 3", "plot 9.0000 20.5000 2",
                    "plot 10.0000 21.0000 3", "plot 9.0000 21.5000 2"};
  EXPECT_EQ(draw("AA", 1, 90), up);
  EXPECT_EQ(draw("AA", 1, -90), up);
  EXPECT_EQ(draw("AA", 1, 1.0)[1], "plot 10.5000 21.0000 2");
  // An offset turns with the text: x along the reading direction.
  EXPECT_EQ(draw("^AA", 2, 90),
            (Calls{"plot 9.5000 21.0000 3", "plot 7.5000 22.0000 2",
                   "plot 10.0000 23.0000 3", "plot 8.0000 24.0000 2"}));
}

TEST_F(Fonts, WeightFollowsTheHeightAndEndsAtNormal) {
  load_chr(glyph('A', 1, 0));
  c.pg.SIZEHT = 0.2;
  c.wt.NTHIN = 0;
  c.wt.NTHNRM = 1;
  c.wt.NTHBIG = 2;
  c.wt.NTHNOW = 7;
  // One draw per character: 1 call at weight 0, 4n + 2 at weight n, plus
  // the move.
  EXPECT_EQ(draw("A", 0.3).size(), 1U + 10U);
  EXPECT_EQ(c.wt.NTHNOW, 1);
  EXPECT_EQ(draw("A", 0.2).size(), 1U + 6U);
  c.wt.NTHNOW = 7;
  EXPECT_EQ(draw("A", 0.1).size(), 1U + 1U);
  EXPECT_EQ(c.wt.NTHNOW, 1);
  c.wt.THINME = 1;
  EXPECT_EQ(draw("A", 0.3).size(), 1U + 1U);
  EXPECT_EQ(c.wt.NTHNOW, 1);
}

TEST_F(Fonts, EmptyFontDrawsNothingAndLeavesTheWeight) {
  load_chr("");
  EXPECT_EQ(c.ft.NCHR, 0);
  EXPECT_EQ(c.ft.NALT, 0);
  c.wt.NTHNOW = 3;
  EXPECT_TRUE(draw("ABC").empty());
  EXPECT_EQ(c.wt.NTHNOW, 3);
  load_sym("");
  EXPECT_EQ(c.ft.NREF, 0);
}

TEST_F(Fonts, LoadingStopsAtFaultsAndKeepsTheEntriesBefore) {
  std::string nine;
  for (int k = 0; k < 9; ++k) nine += glyph(static_cast<char>('a' + k), 1, 1);

  // Ends inside the strokes of the 10th entry.
  load_chr(nine + head('j', 3) + stroke(0, 0, 3) + stroke(1, 1, 2));
  EXPECT_EQ(c.ft.NCHR, 9);
  // A negative count is an unreadable header: loading ends there.
  load_chr(nine + head('j', -2) + stroke(0, 0, 3) + stroke(1, 1, 2));
  EXPECT_EQ(c.ft.NCHR, 9);

  // 300 entries: 256 loaded.
  std::string many;
  for (int k = 0; k < 300; ++k) many += glyph('x', 1, 1);
  load_chr(many);
  EXPECT_EQ(c.ft.NCHR, 256);
  EXPECT_EQ(c.ft.IRCHR(2, 256), 512);

  // The entry that would pass 5000 strokes is dropped with the rest.
  std::string big = head('a', 4999);
  for (int k = 0; k < 4999; ++k) big += stroke(0, 0, k == 0 ? 3 : 2);
  load_chr(big + glyph('b', 1, 1) + head('c', 0));
  EXPECT_EQ(c.ft.NCHR, 1);
  // A full store still lets an empty entry load and be drawn.
  load_chr(big + head('c', 1) + stroke(0, 0, 3) + head(' ', 0));
  EXPECT_EQ(c.ft.NCHR, 3);
  EXPECT_TRUE(draw("   ").empty());
}

TEST_F(Fonts, FieldsFollowTheFixedColumnRules) {
  // Without a point the last three digits are decimals; blanks are
  // ignored; exponents take a letter or a bare sign; an unreadable stroke
  // drops its entry.
  load_sym(
      "    2   1500\n"
      "   1500-2 50 0    3\n"
      " 1.5E1  2.5-1    2\n"
      "    1  0.000\n"
      "  0.000 0.0x0    3\n");
  ASSERT_EQ(c.ft.NREF, 1);
  EXPECT_DOUBLE_EQ(c.ft.REFWID(1), 1.5);
  EXPECT_DOUBLE_EQ(c.ft.XREF(1), 1.5);
  EXPECT_DOUBLE_EQ(c.ft.YREF(1), -2.5);
  EXPECT_DOUBLE_EQ(c.ft.XREF(2), 15.0);
  EXPECT_DOUBLE_EQ(c.ft.YREF(2), 0.25);
}

TEST(ShippedFonts, LoadWholeAndFitTheirCells) {
  RecordingDevice dev;
  Core c{dev};
  c.files.chr.open(std::string(VESKARO_SOURCE_DIR) + "/data/PLOT.CHR");
  c.files.sym.open(std::string(VESKARO_SOURCE_DIR) + "/data/PLOT.SYM");
  symin(c);
  refin(c);
  const FontBlocks& ft = c.ft;
  ASSERT_EQ(ft.NCHR, 151);
  ASSERT_EQ(ft.NALT, 4);
  ASSERT_EQ(ft.NREF, 60);
  // Printable ASCII in order, every entry starting with a move, the
  // strokes mostly in the cell.
  for (int k = 1; k <= 95; ++k) {
    EXPECT_EQ(ft.SYMCHR(k), static_cast<char>(31 + k));
    const int first = ft.IRCHR(1, k);
    if (ft.IRCHR(2, k) >= first) {
      EXPECT_EQ(ft.IPCHR(first), 3) << k;
    }
    for (int j = first; j <= ft.IRCHR(2, k); ++j) {
      EXPECT_GE(ft.XCHR(j), 0.0);
      EXPECT_LE(ft.XCHR(j), 1.0);
      EXPECT_GE(ft.YCHR(j), -0.1);
      EXPECT_LE(ft.YCHR(j), 1.15);
    }
  }
  EXPECT_EQ(ft.IRCHR(2, 1), ft.IRCHR(1, 1) - 1);  // the blank
  // Symbols: centred on the unit square, REFWID their half-width over 0.5.
  for (int k = 1; k <= 30; ++k) {
    double half = 0;
    ASSERT_EQ(ft.IPREF(ft.IRREF(1, k)), 3) << k;
    for (int j = ft.IRREF(1, k); j <= ft.IRREF(2, k); ++j) {
      EXPECT_GE(ft.YREF(j), 0.0);
      EXPECT_LE(ft.YREF(j), 1.0);
      half = std::max(half, std::abs(ft.XREF(j) - 0.5));
    }
    EXPECT_NEAR(ft.REFWID(k), half / 0.5, 0.002) << k;
  }
  // Dash patterns: line type 1 solid, every pattern drawing something.
  EXPECT_EQ(ft.IPREF(ft.IRREF(2, 31)), 2);
  for (int k = 31; k <= 60; ++k) {
    bool draws = false;
    for (int j = ft.IRREF(1, k); j <= ft.IRREF(2, k); ++j) {
      EXPECT_GE(ft.XREF(j), 0.01);
      draws = draws || (ft.IPREF(j) == 2 && ft.XREF(j) > 0);
    }
    EXPECT_TRUE(draws) << k;
  }
  // Ctrl-G then a Latin letter draws a different (Greek) shape.
  dev.calls.clear();
  symbl1(c, 0, 0, 1, "a", 0, 1);
  const Calls latin = dev.calls;
  dev.calls.clear();
  symbl1(c, 0, 0, 1, "\007a", 0, 2);
  EXPECT_NE(dev.calls, latin);
  EXPECT_FALSE(dev.calls.empty());
}

TEST(ShippedFonts, LettersFillTheirCellsOnTheLayoutsBaseline) {
  // Every character advances one cell, so a glyph much narrower than the
  // cell reads letter-spaced ("P r o g r a m"). Capitals stand from the
  // baseline at 0.2 to 0.95 of the cell, the heights the layout places
  // text by; "^" is a caret high in the cell, not an arrow.
  RecordingDevice dev;
  Core c{dev};
  c.files.chr.open(std::string(VESKARO_SOURCE_DIR) + "/data/PLOT.CHR");
  symin(c);
  const FontBlocks& ft = c.ft;
  struct Ink {
    double left = 2, right = -1, low = 2, high = -1;
  };
  auto ink = [&ft](char ch) {
    Ink b;
    for (int k = 1; k <= ft.NCHR; ++k) {
      if (ft.SYMCHR(k) != ch) continue;
      for (int j = ft.IRCHR(1, k); j <= ft.IRCHR(2, k); ++j) {
        b.left = std::min(b.left, ft.XCHR(j));
        b.right = std::max(b.right, ft.XCHR(j));
        b.low = std::min(b.low, ft.YCHR(j));
        b.high = std::max(b.high, ft.YCHR(j));
      }
      break;
    }
    return b;
  };
  const std::string alnum =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  double total = 0;
  for (const char ch : alnum) {
    const Ink b = ink(ch);
    EXPECT_GE(b.right - b.left, 0.3) << ch;
    EXPECT_NEAR(b.left + b.right, 1.0, 0.1) << ch;  // centred in the cell
    total += b.right - b.left;
  }
  EXPECT_GE(total / static_cast<double>(alnum.size()), 0.55);
  for (const char ch : std::string("HEZ")) {
    EXPECT_NEAR(ink(ch).low, 0.2, 1e-3) << ch;
    EXPECT_NEAR(ink(ch).high, 0.95, 1e-3) << ch;
  }
  EXPECT_NEAR(ink('x').low, 0.2, 1e-3);
  EXPECT_GE(ink('^').low, 0.5);
}

}  // namespace
}  // namespace veskaro
