// The legend box: its size and text anchors, the data under an x range,
// and where it is placed in the frame (or how an axis is widened for it).
#include <cmath>

#include "tests/limits_fixture.h"

namespace veskaro {
namespace {

class Legend : public LimitsFixture {
 protected:
  Legend() { frame(c, 10, 10); }

  static void frame(Core& k, double width, double height) {
    k.pg.PLTLIM(1) = 0;
    k.pg.PLTLIM(2) = width;
    k.pg.PLTLIM(3) = 0;
    k.pg.PLTLIM(4) = height;
    k.pg.PAINT(5) = 0.25;  // W
    k.pg.PAINT(3) = 0.25;  // H
    k.pg.PAINT(1) = 0.2;
    k.op.KROUND(1) = 1;
    k.op.KROUND(2) = 1;
    k.op.KPLANE(1) = 1;
    k.op.KPLANE(2) = 1;
    k.op.KYMIN = 1;
    k.op.YMIN = 0;
    k.op.KYMAX = 1;
    k.op.YMAX = 10;
    for (int i = 3; i <= 62; ++i) k.lg.LTVIS(i) = 2;
  }

  // The walk and the rounding of subplot 1.
  static void draw(Core& k) {
    int ipass = 0;
    scalxy(k, ipass);
    ASSERT_EQ(ipass, 1);
    yround(k);
    xround(k);
  }

  // Adds to `pts` points alternating between lo and hi from x0 to x1.
  static void zigzag(Pts& pts, double x0, double x1, double lo, double hi) {
    int n = 0;
    for (double x = x0; x <= x1 + 1e-9; x += 0.125) {
      pts.emplace_back(x, n++ % 2 == 0 ? lo : hi);
    }
  }

  void expect_box(double l, double r, double b, double t) const {
    EXPECT_DOUBLE_EQ(c.lg.BOXLIM(1), l);
    EXPECT_DOUBLE_EQ(c.lg.BOXLIM(2), r);
    EXPECT_DOUBLE_EQ(c.lg.BOXLIM(3), b);
    EXPECT_DOUBLE_EQ(c.lg.BOXLIM(4), t);
  }
  void expect_limits(double x1, double x2, double y1, double y2) const {
    EXPECT_DOUBLE_EQ(c.ax.XYLIM(1), x1);
    EXPECT_DOUBLE_EQ(c.ax.XYLIM(2), x2);
    EXPECT_DOUBLE_EQ(c.ax.XYLIM(5), y1);
    EXPECT_DOUBLE_EQ(c.ax.XYLIM(6), y2);
  }
  // A curve with one point inside the frame, to be listed in the legend.
  void listed_curves(int n) {
    for (int i = 0; i < n; ++i) curve({{5, 5}, {5.5, 5}});
  }
};

TEST_F(Legend, BoxSizesAndAnchors) {
  const double W = 0.25, H = 0.25;
  auto size = [&](int ncurv, int nsets, int titmax, int nsub, int ncurve) {
    c.lg.ONIT(121) = ncurv;
    c.lg.ONIT(122) = nsets;
    c.lg.TITMAX = titmax;
    c.pg.NSUB = nsub;
    c.store->NCURVE = ncurve;
    c.lg.BOXLIM(2) = 10;
    c.lg.BOXLIM(4) = 10;
    boxsiz(c);
  };
  size(2, 0, 4, 1, 2);
  EXPECT_DOUBLE_EQ(c.lg.BOXLIM(5), 6 * W + 6 * W);
  EXPECT_DOUBLE_EQ(c.lg.SPOTS(11), 10 - 12 * W + W);
  EXPECT_DOUBLE_EQ(c.lg.SPOTS(10), 10 - 12 * W + 7 * W);
  EXPECT_DOUBLE_EQ(c.lg.BOXLIM(6), 2 * 1.75 * H + 1.75 * H + H - 1.75 * H);
  size(0, 1, 4, 1, 0);
  EXPECT_DOUBLE_EQ(c.lg.BOXLIM(5), W + 0.2 + 6 * W);
  EXPECT_DOUBLE_EQ(c.lg.SPOTS(12), c.lg.SPOTS(8) + W);
  EXPECT_DOUBLE_EQ(c.lg.SPOTS(13), c.lg.SPOTS(12) + 0.2);
  // A ratio plot's box is at least 20W wide and 5.25H taller with more
  // than one curve.
  size(1, 0, 0, 2, 2);
  EXPECT_DOUBLE_EQ(c.lg.BOXLIM(5), 20 * W);
  EXPECT_DOUBLE_EQ(c.lg.BOXLIM(6), 1.75 * H + H + 5.25 * H);
  size(1, 0, 0, 2, 1);
  EXPECT_DOUBLE_EQ(c.lg.BOXLIM(6), 1.75 * H + H);
  // Three curves and two point sets.
  size(3, 2, 0, 1, 3);
  EXPECT_DOUBLE_EQ(c.lg.NEEDED(1), 10 - 1.75 * H);
  EXPECT_DOUBLE_EQ(c.lg.NEEDED(2) - c.lg.NEEDED(1), -5.25 * H);
  EXPECT_DOUBLE_EQ(c.lg.NEEDED(3) - c.lg.NEEDED(2), -3.5 * H);
  // A box wider and taller than the frame ends flush with its right edge
  // and top, the anchors following it.
  size(30, 30, 72, 1, 30);
  expect_box(10 - c.lg.BOXLIM(5), 10, 10 - c.lg.BOXLIM(6), 10);
  EXPECT_DOUBLE_EQ(c.lg.SPOTS(9), 10);
  EXPECT_LT(c.lg.BOXLIM(1), 0);
}

TEST_F(Legend, LegendOffLeavesNoBoxAndTheLimits) {
  c.op.LEGOFF = 1;
  curve({{0, 10}, {10, 10}});
  draw(c);
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(c.lg.BOXLIM(i), -10);
  expect_limits(0, 10, 0, 10);
}

TEST_F(Legend, DataUnderAnXRange) {
  curve({{0, 0}, {10, 10}});
  curve({{3, 5}, {4, 9}, {6, 1}});
  curve({{7, 20}, {8, 30}});
  c.op.ERRBAR(2) = 1;
  c.op.KYMAX = 0;
  set({{4.5, 5, 0, 0, 1, 2}, {9, 50}});
  draw(c);
  Edges yw = {-1, -1};
  ylimit(c, {2.5, 7.5}, yw);
  EXPECT_DOUBLE_EQ(yw[0], 1);   // curve 2 at 6
  EXPECT_DOUBLE_EQ(yw[1], 25);  // curve 3 from its first point, at 7.5
  yw = {-1, -1};
  ylimit(c, {2, 5}, yw);
  EXPECT_DOUBLE_EQ(yw[0], 2);
  EXPECT_DOUBLE_EQ(yw[1], 9);
  yw = {-1, -1};
  ylimit(c, {8.5, 8.75}, yw);  // curve 1 only, interpolated at both ends
  EXPECT_DOUBLE_EQ(yw[0], 8.5);
  EXPECT_DOUBLE_EQ(yw[1], 8.75);
  // A curve starting at the range's end has nothing under it; point-set
  // points on either end are under it.
  yw = {-1, -1};
  ylimit(c, {6.5, 7}, yw);
  EXPECT_EQ(yw, (Edges{6.5, 7}));
  yw = {-1, -1};
  ylimit(c, {4.5, 4.5}, yw);
  EXPECT_DOUBLE_EQ(yw[0], 3);  // the point set's low end
  EXPECT_DOUBLE_EQ(yw[1], 7);  // curve 2 at 4.5
  // Nothing under the range: YW stays.
  yw = {-1, -2};
  ylimit(c, {20, 30}, yw);
  EXPECT_EQ(yw, (Edges{-1, -2}));
  // A log request on y drops a point set point whose low end is not
  // positive.
  c.op.KPLANE(2) = 2;
  c.store->DYM(1) = 6;
  yw = {-1, -2};
  c.store->NCURVE = 0;
  c.lg.ONIT(121) = 0;
  ylimit(c, {4, 5}, yw);
  EXPECT_EQ(yw, (Edges{-1, -2}));
  c.op.ERRBAR(2) = 0;
  ylimit(c, {4, 5}, yw);
  EXPECT_EQ(yw, (Edges{5, 5}));
}

TEST_F(Legend, TopLeftOverLowDataAtTheLeft) {
  Pts p;
  zigzag(p, 0, 3.25, 0, 1);
  zigzag(p, 3.5, 10, 0, 10);
  curve(p);
  draw(c);
  expect_box(0, 2.5, 10 - 0.6875, 10);
  expect_limits(0, 10, 0, 10);
}

TEST_F(Legend, BottomRightUnderHighDataAtTheRight) {
  Pts p;
  zigzag(p, 0, 7, 0, 10);
  zigzag(p, 7.25, 10, 9, 10);
  curve(p);
  draw(c);
  expect_box(7.5, 10, 0, 0.6875);
  expect_limits(0, 10, 0, 10);
}

TEST_F(Legend, EqualRoomEverywhereGivesTopLeft) {
  curve({{0, 5}, {10, 5}});
  draw(c);
  expect_box(0, 2.5, 10 - 0.6875, 10);
}

TEST_F(Legend, RoomEqualToTheBoxHeightFits) {
  Pts p;
  zigzag(p, 0, 10, 0, 10 - 0.6875);
  curve(p);
  draw(c);
  expect_box(0, 2.5, 10 - 0.6875, 10);
  expect_limits(0, 10, 0, 10);
}

TEST_F(Legend, NothingFitsWidensY) {
  Pts p;
  zigzag(p, 0, 10, 0, 9.9);
  curve(p);
  draw(c);
  expect_box(0, 2.5, 10 - 0.6875, 10);
  const double want = 1.0499999523162842 * 10 * 9.9 / (10 - 0.6875);
  EXPECT_NEAR(c.ax.XYLIM(6), want, 1e-12);
  EXPECT_EQ(c.ax.XYLIM(5), 0);
  // With the data high, the room is at the bottom: y widens downward.
  c.store->NCURVE = 0;
  p.clear();
  zigzag(p, 0, 10, 0.1, 10);
  curve(p);
  draw(c);
  expect_box(0, 2.5, 0, 0.6875);
  EXPECT_NEAR(c.ax.XYLIM(5), 10 - 1.0499999523162842 * 10 * 9.9 / 9.3125,
              1e-12);
}

TEST_F(Legend, EqualWideningCostsWidenY) {
  // A box 2 wide and 2.4375 tall with 0.4375 of room at the top: widening
  // x or y costs the same, and y is widened.
  for (int i = 3; i <= 62; ++i) c.lg.LTVIS(i) = 0;
  Pts p;
  zigzag(p, 0, 10, 0, 9.5625);
  curve(p);
  listed_curves(4);
  draw(c);
  expect_box(0, 2, 10 - 2.4375, 10);
  EXPECT_DOUBLE_EQ(c.ax.XYLIM(6), 1.0499999523162842 * 10 * 9.5625 / 7.5625);
  EXPECT_EQ(c.ax.XYLIM(1), 0);
}

TEST_F(Legend, TallBoxesWidenX) {
  // Five listed curves with short titles: a box 2 wide, 2.4375 tall.
  for (int i = 3; i <= 62; ++i) c.lg.LTVIS(i) = 0;
  Pts p;
  zigzag(p, 0, 10, 0, 10);
  curve(p);
  listed_curves(4);
  draw(c);
  // No room anywhere: the box goes to the bottom left, and the old x
  // range fills the frame right of it.
  expect_box(0, 2, 0, 2.4375);
  expect_limits(-2.5, 10, 0, 10);

  // A little room at the right edge only: bottom right, x max raised.
  c.store->NCURVE = 0;
  p.clear();
  zigzag(p, 0, 7.75, 0, 10);
  zigzag(p, 7.875, 10, 0, 9.9);
  curve(p);
  listed_curves(4);
  draw(c);
  expect_box(8, 10, 0, 2.4375);
  expect_limits(0, 12.5, 0, 10);

  // More room in the centre than at the right: only the sides decide
  // which way x is widened.
  c.store->NCURVE = 0;
  p.clear();
  zigzag(p, 0, 3.875, 0, 10);
  zigzag(p, 4, 6, 0, 9.8);
  zigzag(p, 6.125, 7.875, 0, 10);
  zigzag(p, 8, 10, 0, 9.9);
  curve(p);
  listed_curves(4);
  draw(c);
  expect_box(8, 10, 0, 2.4375);
  expect_limits(0, 12.5, 0, 10);
}

TEST_F(Legend, BoxTallerThanTheFrame) {
  frame(c, 10, 2);
  for (int i = 3; i <= 62; ++i) c.lg.LTVIS(i) = 0;
  curve({{0, 0}, {10, 10}});
  listed_curves(4);
  draw(c);
  EXPECT_DOUBLE_EQ(c.lg.BOXLIM(1), 8);
  EXPECT_DOUBLE_EQ(c.lg.BOXLIM(2), 10);
  EXPECT_DOUBLE_EQ(c.lg.BOXLIM(4), 2);
  expect_limits(0, 12.5, 0, 10);
  // Exactly as tall as the frame counts as taller.
  frame(c, 10, 2.4375);
  for (int i = 3; i <= 62; ++i) c.lg.LTVIS(i) = 0;
  c.op.KYMIN = 0;
  c.op.KYMAX = 0;
  c.store->NCURVE = 0;
  curve({{0, 0}, {10, 10}});
  listed_curves(4);
  draw(c);
  expect_box(8, 10, 0, 2.4375);
  expect_limits(0, 12.5, 0, 10);
  // Also at least as wide as the frame: nothing to widen into.
  frame(c, 1.5, 2);
  for (int i = 3; i <= 62; ++i) c.lg.LTVIS(i) = 0;
  draw(c);
  EXPECT_DOUBLE_EQ(c.lg.BOXLIM(2), 1.5);
  EXPECT_DOUBLE_EQ(c.lg.BOXLIM(4), 2);
  expect_limits(0, 10, 0, 10);
}

TEST_F(Legend, NoRoomAndEmptyRangesDoNotDependOnEarlierPlots) {
  // Point sets under the left and right thirds only; the centre has no
  // data, and no candidate has room.
  auto second = [](Core& k) {
    Store& s = *k.store;
    s.NCURVE = 0;
    s.NPOINT = 1;
    s.IPRANG(1, 1) = 1;
    int i = 1;
    for (const double x : {0.0, 1.0, 2.0, 8.0, 9.0, 10.0}) {
      s.XP(i) = x;
      s.YP(i) = (i % 2) * 10.0;
      s.DXP(i) = s.DXM(i) = s.DYP(i) = s.DYM(i) = 0;
      ++i;
    }
    s.IPRANG(2, 1) = i - 1;
    for (int j = 3; j <= 62; ++j) k.lg.LTVIS(j) = 0;
  };
  // This core first draws a plot that places its box at the top left.
  Pts p;
  zigzag(p, 0, 3.25, 0, 1);
  zigzag(p, 3.5, 10, 0, 10);
  curve(p);
  draw(c);
  second(c);
  draw(c);
  RecordingDevice d2;
  Core fresh(d2);
  frame(fresh, 10, 10);
  second(fresh);
  draw(fresh);
  for (int i = 1; i <= 6; ++i) {
    EXPECT_EQ(c.lg.BOXLIM(i), fresh.lg.BOXLIM(i)) << i;
  }
  for (const int i : {1, 2, 5, 6}) {
    EXPECT_EQ(c.ax.XYLIM(i), fresh.ax.XYLIM(i)) << i;
  }
  EXPECT_TRUE(std::isfinite(c.ax.XYLIM(6)));
}

TEST_F(Legend, LogarithmicAxes) {
  c.op.KYMIN = 0;
  c.op.KYMAX = 0;
  c.op.KPLANE(1) = 2;
  c.op.KPLANE(2) = 2;
  curve({{1, 1}, {10, 10}, {100, 100}, {1000, 1000}});
  draw(c);
  EXPECT_EQ(c.ax.WAYS(1), 2);
  EXPECT_EQ(c.ax.WAYS(2), 2);
  expect_limits(0, 3, 0, 3);
  expect_box(0, 2.5, 10 - 0.6875, 10);
}

TEST_F(Legend, RatioSubplotKeepsTheBoxAndTheXRange) {
  c.pg.NSUB = 2;
  curve({{0, 10}, {10, 10}});
  curve({{0, 5}, {10, 9}});
  draw(c);
  ASSERT_EQ(c.lg.BOXLIM(5), 20 * 0.25);
  const Vec<double, 6> box = c.lg.BOXLIM;
  c.ax.XYLIM(3) = c.ax.XYLIM(1);
  c.ax.XYLIM(4) = c.ax.XYLIM(2);
  c.pg.KSUB = 2;
  c.ax.XYLIM(5) = c.ax.XYLIM(7);
  c.ax.XYLIM(6) = c.ax.XYLIM(8);
  EXPECT_EQ(c.ax.XYLIM(7), 0.5);
  EXPECT_EQ(c.ax.XYLIM(8), 1);
  yround(c);
  xround(c);
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(c.lg.BOXLIM(i), box(i));
  EXPECT_EQ(c.ax.XYLIM(5), 0.5);
  EXPECT_EQ(c.ax.XYLIM(6), 1.0099999904632568);
  EXPECT_EQ(c.ax.WAYS(2), 1);
}

}  // namespace
}  // namespace veskaro
