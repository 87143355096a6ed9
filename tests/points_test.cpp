#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "core/draw.h"
#include "tests/draw_fixture.h"

namespace veskaro::drawtest {
namespace {

// Symbols 1 to 30: the unit square; symbol k is k times as wide for the
// error bars (REFWID k).
std::string square_font() {
  std::string f;
  char b[64];
  for (int k = 1; k <= 30; ++k) {
    std::snprintf(b, sizeof b, "  %5d%7.3f\n", 5, static_cast<double>(k));
    f += b;
    for (const auto& s : {std::array<int, 3>{0, 0, 3},
                          {0, 1, 2},
                          {1, 1, 2},
                          {1, 0, 2},
                          {0, 0, 2}}) {
      std::snprintf(b, sizeof b, "%7.3f%7.3f%5d\n", static_cast<double>(s[0]),
                    static_cast<double>(s[1]), s[2]);
      f += b;
    }
  }
  return f;
}

using V = std::vector<std::string>;

struct Points : DrawFixture {
  Points() {
    symbols(square_font());
    c.op.ERRBAR(1) = c.op.ERRBAR(2) = 1;
  }
  // Point I of the store with its errors (+x, -x, +y, -y).
  void point(int I, double x, double y, double dxp = 0, double dxm = 0,
             double dyp = 0, double dym = 0) {
    Store& s = *c.store;
    s.XP(I) = x, s.YP(I) = y;
    s.DXP(I) = dxp, s.DXM(I) = dxm, s.DYP(I) = dyp, s.DYM(I) = dym;
  }
  void set(int k, int first, int last, int shown = 1) {
    c.store->IPRANG(1, k) = first;
    c.store->IPRANG(2, k) = last;
    c.lg.ONIT(60 + k) = shown;
  }
};

TEST_F(Points, SymbolSizeFollowsThePointCountAndHiddenSetsKeepTheirPlace) {
  for (const auto& [n, size] :
       std::vector<std::pair<int, double>>{{99, 0.1},
                                           {100, 0.05},
                                           {599, 0.05},
                                           {600, 0.025},
                                           {3599, 0.025},
                                           {3600, 0.0125}}) {
    c.store->NPOINT = 2;
    set(1, 1, n - 1, 0);  // hidden, but counted and numbered
    set(2, n, n);
    point(n, 6, 4);  // inches (7, 5)
    dev.calls.clear();
    pltpt(c);
    EXPECT_EQ(dev.calls.front(), "pen 4");
    const auto l = lines();
    ASSERT_EQ(l.size(), 5U);
    EXPECT_NEAR(l[0].x, 7 - size / 2, 1e-4) << n;
    EXPECT_NEAR(l[2].x, 7 + size / 2, 1e-4) << n;
  }
}

TEST_F(Points, ErrorBarsStartAtTheSymbolEdgeAndStopAtTheWindow) {
  c.store->NPOINT = 1;
  set(1, 1, 1);
  // Bars shorter than the symbol's half-width 0.05 or half-height 0.05 are
  // left out with their caps.
  point(1, 6, 4, 0.03, 0.5, 0, 0.049);
  pltpt(c);
  auto d = drawn();
  ASSERT_EQ(d.size(), 5U + 4);
  EXPECT_EQ((V(d.begin() + 5, d.end())),
            (V{"6.95 5 3", "6.5 5 2", "6.5 4.975 3", "6.5 5.025 2"}));

  // A point on the window's corner is drawn; its bars end at the window.
  point(1, 12, 0, 3, 2, 1, 1);
  dev.calls.clear();
  pltpt(c);
  d = drawn();
  ASSERT_EQ(d.size(), 5U + 8);
  EXPECT_EQ(d[6], "11 1 2");
  EXPECT_EQ(d[10], "13 2 2");
}

TEST_F(Points, LogAxesClampErrorsBeforeTheLogarithm) {
  log_axes(0, 2, 0, 2);  // x inch = 1 + 6 log x
  c.store->NPOINT = 1;
  set(1, 1, 2);
  point(1, 10, 10, 0, 20);  // reaches below 0: ends at the frame edge
  point(2, 1, 10, 0, 5);    // on the edge: no bar
  pltpt(c);
  const auto d = drawn();
  ASSERT_EQ(d.size(), 5U + 4 + 5);
  EXPECT_EQ(d[5], "6.95 5 3");
  EXPECT_EQ(d[6], "1 5 2");
  for (const auto& s : dev.calls) EXPECT_EQ(s.find("nan"), std::string::npos);
}

TEST_F(Points, PointsOffTheFrame) {
  c.store->NPOINT = 1;
  set(1, 1, 2);
  c.ax.XYREAL(2) = 14, c.ax.XYREAL(4) = 9;  // window wider than the axes
  point(1, 13, 4);                          // x maps to 14: not drawn
  point(2, 6, 8.5);                         // y maps to 9.5: held at 9
  pltpt(c);
  const auto l = lines();
  ASSERT_EQ(l.size(), 5U);
  for (const auto& k : l) EXPECT_LE(k.y, 9.0F);
  EXPECT_FLOAT_EQ(l[0].y, 8.95F);
}

TEST_F(Points, LegendEntryOnTheMainSubplotOnly) {
  c.store->NPOINT = 1;
  set(1, 1, 1);
  set(2, 2, 2);  // the ratio set
  point(1, 6, 4);
  point(2, 6, 2);
  box(9, 13, 7, 9);
  c.lg.SPOTS(10) = 10.7, c.lg.SPOTS(12) = 10.1, c.lg.SPOTS(13) = 10.2;
  c.lg.NEEDED(2) = 8.5;
  c.lg.PTITLE(1) = "Set A" + std::string(35, ' ');
  c.lg.LTITLE(33) = 5;
  pltpt(c);
  // The symbol inside the box is drawn whole, the box is back in place.
  auto d = drawn();
  ASSERT_EQ(d.size(), 10U);
  EXPECT_EQ((V(d.begin(), d.begin() + 5)),
            (V{"10.1 8.5 3", "10.1 8.6 2", "10.2 8.6 2", "10.2 8.5 2",
               "10.1 8.5 2"}));
  EXPECT_EQ(c.lg.BOXLIM(1), 9);
  EXPECT_EQ(c.lg.BOXLIM(2), 13);
  auto t = texts();
  ASSERT_EQ(t.size(), 1U);
  EXPECT_EQ(t[0].s, "Set A");
  EXPECT_NEAR(t[0].x, 10.7, 1e-4);

  // The ratio set takes the same colour and symbol, without a legend.
  c.pg.KSUB = 2;
  dev.calls.clear();
  pltpt(c);
  EXPECT_EQ(dev.calls.front(), "pen 3");
  EXPECT_EQ(drawn().size(), 5U);
  EXPECT_TRUE(texts().empty());
}

}  // namespace
}  // namespace veskaro::drawtest
