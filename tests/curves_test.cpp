#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "core/draw.h"
#include "tests/draw_fixture.h"

namespace veskaro::drawtest {
namespace {

// A symbol font of squares (entries 1 to 30) and dash patterns: line type
// 1 one long dash, 2 dash 0.3 and gap 0.2, 3 dash and gap of 0.05, 4 a
// pattern of zero-length elements, 5 dots.
std::string pattern_font() {
  std::string f;
  char b[64];
  auto entry = [&](const std::vector<std::array<double, 3>>& s) {
    std::snprintf(b, sizeof b, "  %5d%7.3f\n", static_cast<int>(s.size()), 1.0);
    f += b;
    for (const auto& k : s) {
      std::snprintf(b, sizeof b, "%7.3f%7.3f%5d\n", k[0], k[1],
                    static_cast<int>(k[2]));
      f += b;
    }
  };
  for (int i = 1; i <= 30; ++i) entry({{0, 0, 3}, {1, 0, 2}});
  entry({{10, 0, 2}});
  entry({{0.3, 0, 2}, {0.2, 0, 3}});
  entry({{0.05, 0, 2}, {0.05, 0, 3}});
  entry({{0, 0, 2}, {0, 0, 3}});     // no element of any length
  entry({{0.25, 0, 3}, {0, 0, 2}});  // 5: dots, a gap of 0.25 apart
  return f;
}

using V = std::vector<std::string>;

struct Curves : DrawFixture {
  // Curve k from the points given (x, y pairs), shown.
  void curve(int k, const std::vector<double>& xy) {
    Store& s = *c.store;
    const int first = k == 1 ? 1 : s.ICRANG(2, k - 1) + 1;
    for (std::size_t i = 0; i < xy.size() / 2; ++i) {
      s.XC(first + static_cast<int>(i)) = xy[2 * i];
      s.YC(first + static_cast<int>(i)) = xy[2 * i + 1];
    }
    s.ICRANG(1, k) = first;
    s.ICRANG(2, k) = first + static_cast<int>(xy.size() / 2) - 1;
    c.lg.ONIT(k) = static_cast<int>(xy.size() / 2);
  }
};

// Data (0..12, 0..8) map to the frame (1..13, 1..9): inches = data + 1.
TEST_F(Curves, WindowCrossingsInXAndY) {
  c.store->NCURVE = 1;
  curve(1, {1, 4, 3, 12, 5, 4});  // up through the top and back
  pltcur(c);
  EXPECT_EQ(drawn(), (V{"2 5 3", "3 9 2", "5 9 3", "6 5 2"}));

  dev.calls.clear();
  curve(1, {0, 10, 3, -2});  // from above the window to below it
  pltcur(c);
  EXPECT_EQ(drawn(), (V{"1.5 9 3", "3.5 1 2"}));

  // From left of the x window to right of it; the last point is never
  // looked at, and a point on the left edge is taken as it is.
  c.ax.XYREAL(1) = 2, c.ax.XYREAL(2) = 6;
  dev.calls.clear();
  curve(1, {0, 0, 4, 4, 8, 8, 1e300, 0});
  pltcur(c);
  EXPECT_EQ(drawn(), (V{"3 3 3", "5 5 2", "7 7 2"}));
  dev.calls.clear();
  curve(1, {2, 1, 3, 1});
  pltcur(c);
  EXPECT_EQ(drawn(), (V{"3 2 3", "4 2 2"}));
}

TEST_F(Curves, HiddenAndEmptyCurvesStillTakeTheirColour) {
  c.store->NCURVE = 3;
  c.ax.XYREAL(1) = 2, c.ax.XYREAL(2) = 6;
  curve(1, {0, 1, 1, 1});  // all left of the window
  curve(2, {6, 1, 7, 1});  // starts on the right edge
  curve(3, {3, 1, 4, 1});
  pltcur(c);
  EXPECT_EQ(dev.count("pen"), 3);
  EXPECT_EQ(dev.calls.back(), "plot 5.0000 2.0000 2");
  EXPECT_EQ(drawn().size(), 2U);
  c.lg.ONIT(2) = 0;
  dev.calls.clear();
  pltcur(c);
  EXPECT_EQ(dev.count("pen 4"), 0);
  EXPECT_EQ(dev.count("pen 5"), 1);
}

TEST_F(Curves, RatioSubplotLaws) {
  // x crossings follow the ratio law (log y here), y crossings the main
  // law (linear): entry at x 2 is sqrt(1 * 100), exit at y 200 is x 4.
  axes(0, 12, 0, 200);
  c.ax.XYREAL(1) = 2;
  c.op.TERPIT(1) = 1, c.op.TERPIT(2) = 2;
  c.store->NCURVE = 1;
  curve(1, {});
  c.lg.ONIT(1) = 0;
  curve(2, {1, 1, 3, 100, 5, 300});
  c.pg.KSUB = 2;
  pltcur(c);
  EXPECT_EQ(dev.calls.front(), "pen 3");
  EXPECT_EQ(drawn(), (V{"3 1.4 3", "4 5 2", "5 9 2"}));
}

TEST_F(Curves, DashPatternRunsOnAcrossPointsAndRestartsAtAMove) {
  symbols(pattern_font());
  dash(c, 0, 0, 3, 2);
  dash(c, 0.4, 0, 2, 2);
  dash(c, 1.0, 0, 2, 2);
  dash(c, 2, 0, 3, 2);
  dash(c, 2.3, 0, 2, 2);
  EXPECT_EQ(drawn(), (V{"0 0 3", "0.3 0 2", "0.4 0 3", "0.5 0 3", "0.8 0 2",
                        "1 0 3", "2 0 3", "2.3 0 2"}));
  // Without an entry for the line type, or with a pattern that could not
  // advance, the line is solid.
  for (int type : {40, 4}) {
    dev.calls.clear();
    dash(c, 0, 0, 3, type);
    dash(c, 5, 0, 2, type);
    EXPECT_EQ(drawn(), (V{"0 0 3", "5 0 2"}));
  }
  // Zero-length drawn elements are sent as dots.
  dev.calls.clear();
  dash(c, 0, 0, 3, 5);
  dash(c, 1, 0, 2, 5);
  EXPECT_EQ(drawn(), (V{"0 0 3", "0.25 0 3", "0.25 0 2", "0.5 0 3", "0.5 0 2",
                        "0.75 0 3", "0.75 0 2", "1 0 3"}));
}

TEST_F(Curves, MasterCurveAndLegendEntry) {
  symbols(pattern_font());
  c.store->NCURVE = 3;
  curve(1, {0, 1, 2, 1});
  curve(2, {0, 2, 2, 2});
  curve(3, {0, 3, 2, 3});
  c.op.REMAST = 3;
  pltcur(c);
  // Curve 3 takes line type 1: one dash longer than the segment.
  EXPECT_EQ(drawn().back(), "3 4 2");
  EXPECT_EQ(drawn().size(), 2U + 9 + 2);

  box(9, 13, 7, 9);
  c.lg.SPOTS(10) = 10.7, c.lg.SPOTS(11) = 10.1, c.lg.SPOTS(14) = 10.6;
  c.lg.NEEDED(1) = 8.5;
  c.lg.CTITLE(1) = "First" + std::string(35, ' ');
  c.lg.LTITLE(3) = 5;
  c.store->NCURVE = 1;
  dev.calls.clear();
  pltcur(c);
  // The sample inside the box is drawn whole; the title beside it.
  EXPECT_EQ(drawn()[0], "10.1 8.55 3");
  EXPECT_EQ(drawn()[1], "10.6 8.55 2");
  const auto all = texts();
  const Text* t = find(all, "First");
  ASSERT_NE(t, nullptr);
  EXPECT_NEAR(t->x, 10.7, 1e-4);
  EXPECT_NEAR(t->y, 8.5, 1e-4);
}

TEST_F(Curves, DrawsAreCutAtTheLegendBox) {
  box(4, 6, 4, 6);
  auto run = [&](double x1, double y1, double x2, double y2) {
    dev.calls.clear();
    dashn(c, x1, y1, 3, 1);
    dashn(c, x2, y2, 2, 1);
    auto d = drawn();
    d.erase(d.begin());
    return d;
  };
  EXPECT_EQ(run(3, 5, 7, 5), (V{"4 5 2", "6 5 3", "7 5 2"}));
  EXPECT_EQ(run(3, 3, 7, 7), (V{"4 4 2", "6 6 3", "7 7 2"}));
  EXPECT_EQ(run(3, 0, 7, 8), (V{"4 2 2", "5 4 2", "6 6 3", "7 8 2"}));
  EXPECT_EQ(run(3, 0, 5, 5), (V{"4 2.5 2", "4.6 4 2", "5 5 3"}));
  EXPECT_EQ(run(5, 3, 5, 7), (V{"5 4 2", "5 6 3", "5 7 2"}));
  EXPECT_EQ(run(3, 3, 7, 3.5), (V{"7 3.5 2"}));
  // Right to left, the mirror image of left to right.
  EXPECT_EQ(run(7, 5, 3, 5), (V{"6 5 2", "4 5 3", "3 5 2"}));
  EXPECT_EQ(run(7, 3, 3, 7), (V{"6 4 2", "4 6 3", "3 7 2"}));
  // A line that ends inside the box stops at its edge; the next draw out
  // of the box starts at the far edge.
  EXPECT_EQ(run(3, 5, 5, 5), (V{"4 5 2", "5 5 3"}));
  dashn(c, 7, 5, 2, 1);
  EXPECT_EQ(drawn().back(), "7 5 2");
  EXPECT_EQ(drawn()[drawn().size() - 2], "6 5 3");
  // Lines that reach the box's bottom or top level only at or beyond its
  // far edge miss the box: they are drawn on, never moved back along.
  EXPECT_EQ(run(5, 0, 7, 4.5), (V{"7 4.5 2"}));
  EXPECT_EQ(run(5, 10, 7, 5.5), (V{"7 5.5 2"}));
  EXPECT_EQ(run(5, 0, 7, 8), (V{"7 8 2"}));  // reaches it at the corner
  EXPECT_EQ(run(3, 0, 8, 5), (V{"4 1 2", "8 5 2"}));
  EXPECT_EQ(run(5, 0, 3, 4.5), (V{"3 4.5 2"}));  // right to left
}

TEST_F(Curves, LogAxesSubdivideSlantedDrawsOnly) {
  log_axes(0, 2, 0, 2);  // x inch = 1 + 6 log x, y inch = 1 + 4 log y
  dashp(c, 1, 1, 3, 1);
  dashp(c, 100, 10, 2, 1);
  const auto l = lines();
  ASSERT_EQ(l.size(), 1U + 240);  // 12 / 0.05 (single precision) steps
  for (std::size_t i = 1; i < l.size(); ++i) {
    const double x = std::pow(10.0, (l[i].x - 1) / 6);
    const double y = 1 + (x - 1) * 9 / 99;  // straight in data units
    EXPECT_NEAR(l[i].y, 1 + 4 * std::log10(y), 2e-4) << i;
    EXPECT_NEAR(l[i].x - l[i - 1].x, 0.05, 2e-4) << i;
  }
  // A subdivided draw ends on the point itself, mapped like the steps
  // before it (no kink onto the frame edge at the last step).
  c.ax.XYREAL(4) = 1000;
  dev.calls.clear();
  dashp(c, 1, 1, 3, 1);
  dashp(c, 100, 1000, 2, 1);
  EXPECT_EQ(drawn().back(), "13 13 2");
  dev.calls.clear();
  dashp(c, 100, 10, 3, 1);
  dashp(c, 1, 10, 2, 1);    // vertical
  dashp(c, 100, 10, 2, 1);  // horizontal
  c.op.KPLANE(1) = -2;
  dashp(c, 1, 1, 2, 1);  // logarithmic without interpolation
  EXPECT_EQ(drawn(), (V{"13 5 3", "1 5 2", "13 5 2", "1 1 2"}));
}

TEST_F(Curves, PointMarksTouchingTheBoxAreLeftOut) {
  box(4, 6, 4, 6);
  ptshow(c, 1.9, 4);  // 0.02 clear of the box
  EXPECT_EQ(drawn(), (V{"2.88 5 3", "2.9 5.02 2", "2.92 5 2", "2.9 4.98 2",
                        "2.88 5 2"}));
  dev.calls.clear();
  ptshow(c, 2.98, 4);
  EXPECT_TRUE(dev.calls.empty());
}

}  // namespace
}  // namespace veskaro::drawtest
