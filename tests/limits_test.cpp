// The walk of curves and point sets against the requested window: points
// kept, data limits, titles, ratio curves and ratio point sets, and the
// interpolation laws.
#include <cmath>

#include "tests/limits_fixture.h"

namespace veskaro {
namespace {

TEST(Terpup, LawsAndFallBacks) {
  // Equal x: the mean, whatever the law; equal y: that y.
  for (int law = 1; law <= 4; ++law) {
    EXPECT_DOUBLE_EQ(terpup(5, 2, 2, 1, 3, law), 2);
    EXPECT_DOUBLE_EQ(terpup(5, 1, 2, 7, 7, law), 7);
  }
  EXPECT_DOUBLE_EQ(terpup(1.5, 1, 2, 10, 20, 1), 15);
  EXPECT_DOUBLE_EQ(terpup(3, 1, 2, 10, 20, 1), 30);  // extrapolates
  EXPECT_DOUBLE_EQ(terpup(1.5, 1, 2, 10, 20, 7), 15);
  EXPECT_DOUBLE_EQ(terpup(1.5, 1, 2, 10, 20, 0), 15);
  // Law 2: logarithmic y; linear when a y is 0 or less.
  EXPECT_NEAR(terpup(0.5, 0, 1, 1, 100, 2), 10, 1e-12);
  EXPECT_DOUBLE_EQ(terpup(0.5, 0, 1, 0, 10, 2), 5);
  // Law 3: logarithmic x; linear weight when an x is 0 or less.
  EXPECT_NEAR(terpup(10, 1, 100, 0, 2, 3), 1, 1e-12);
  EXPECT_DOUBLE_EQ(terpup(0.5, 0, 1, 0, 2, 3), 1);
  // Law 4: both; x not positive makes it law 2, y not positive leaves
  // the logarithmic weight with linear y.
  EXPECT_NEAR(terpup(10, 1, 100, 1, 100, 4), 10, 1e-12);
  EXPECT_NEAR(terpup(0.5, 0, 1, 1, 100, 4), 10, 1e-12);
  EXPECT_NEAR(terpup(10, 1, 100, 0, 2, 4), 1, 1e-12);
}

using Walk = LimitsFixture;

TEST_F(Walk, CurveEdgesAgainstTheXWindow) {
  window_x(2, 8);
  curve({{0, 0}, {10, 10}});         // crosses the whole window
  curve({{8, 1}, {5, 2}, {6, 3}});   // starts at the right edge
  curve({{3, 5}, {4, 6}});           // starts inside
  curve({{5, 1}, {8, 2}, {10, 4}});  // a point exactly at the right edge
  curve({{9, 1}, {12, 2}});          // starts beyond the right edge
  curve({{0, 0}, {1, 0}});           // all left of the window
  ASSERT_EQ(walk(), 1);
  EXPECT_EQ(c.lg.ONIT(1), 2);  // the values at 2 and at 8 only
  EXPECT_EQ(c.lg.ONIT(2), 0);
  EXPECT_EQ(c.lg.ONIT(3), 2);
  EXPECT_EQ(c.lg.ONIT(4), 3);  // 5, 8, and 8 again interpolated
  EXPECT_EQ(c.lg.ONIT(5), 0);
  EXPECT_EQ(c.lg.ONIT(6), 0);
  EXPECT_EQ(c.lg.ONIT(121), 3);
  // No value interpolated at 2 for the curve starting inside (it would
  // extrapolate to 4): the y limits come from 1 (curve 4) to 8.
  EXPECT_EQ(c.ax.XYLIM(5), 1);
  EXPECT_EQ(c.ax.XYLIM(6), 8);
  EXPECT_EQ(c.ax.XYLIM(1), 2);
  EXPECT_EQ(c.ax.XYLIM(2), 8);
}

TEST_F(Walk, OnlyARightEdgeOrNoWindow) {
  c.op.KXMAX = 1;
  c.op.XMAX = 4;
  curve({{1, 1}, {2, 3}, {6, 7}});
  ASSERT_EQ(walk(), 1);
  EXPECT_EQ(c.lg.ONIT(1), 3);
  EXPECT_EQ(c.ax.XYLIM(1), 1);
  EXPECT_EQ(c.ax.XYLIM(2), 4);
  EXPECT_EQ(c.ax.XYLIM(6), 5);
  c.op.KXMAX = 0;
  ASSERT_EQ(walk(), 1);
  EXPECT_EQ(c.lg.ONIT(1), 3);
  EXPECT_EQ(c.ax.XYLIM(2), 6);
  EXPECT_EQ(c.ax.XYLIM(6), 7);
}

TEST_F(Walk, RunsOutsideTheYWindowCountOnlyTheirCrossing) {
  c.op.KYMAX = 1;
  c.op.YMAX = 5;
  c.op.KYMIN = 1;
  c.op.YMIN = 0;
  curve({{1, 1}, {2, 6}, {3, 7}, {4, 8}, {5, 2}, {6, 9}, {7, -1}, {8, -2}});
  curve({{1, 6}, {2, 7}, {3, 1}});  // starts above: its first not counted
  ASSERT_EQ(walk(), 1);
  EXPECT_EQ(c.lg.ONIT(1), 5);  // 1, 6, 2, 9 and -1
  EXPECT_EQ(c.lg.ONIT(2), 1);
  // Counted outside points widen the limits; the y window then replaces
  // the y limits.
  EXPECT_EQ(c.ax.XYLIM(1), 1);
  EXPECT_EQ(c.ax.XYLIM(2), 7);
  EXPECT_EQ(c.ax.XYLIM(5), 0);
  EXPECT_EQ(c.ax.XYLIM(6), 5);
}

TEST_F(Walk, LogRequestsFilterValuesButKeepTheirRatios) {
  c.op.KPLANE(2) = -2;
  c.pg.NSUB = 2;
  curve({{1, 1}, {2, 1}, {3, 1}, {4, 1}});
  curve({{1, 1}, {2, 0}, {3, -1}, {4, 2}});
  ASSERT_EQ(walk(), 1);
  EXPECT_EQ(c.lg.ONIT(2), 2);
  EXPECT_EQ(c.ax.XYLIM(5), 1);
  EXPECT_EQ(c.ax.XYLIM(6), 2);
  EXPECT_EQ(points_of(4), (Pts{{1, 1}, {2, 0}, {3, -1}, {4, 2}}));
  EXPECT_EQ(points_of(3), (Pts{{1, 1}, {2, 1}, {3, 1}, {4, 1}}));
  // Ratios of 0 or less stay out of the ratio limits.
  EXPECT_EQ(c.ax.XYLIM(7), 1);
  EXPECT_EQ(c.ax.XYLIM(8), 2);
  EXPECT_EQ(c.lg.ERRBIG(1), -2);
  EXPECT_EQ(c.lg.ERRBIG(2), 3);

  // A log request on x drops points at x 0 or less altogether.
  c.op.KPLANE(1) = 2;
  c.pg.NSUB = 1;
  curve({{-1, 50}, {0, 60}, {2, 3}});
  ASSERT_EQ(walk(), 1);
  EXPECT_EQ(c.lg.ONIT(3), 1);
  EXPECT_EQ(c.ax.XYLIM(6), 3);
}

TEST_F(Walk, RatioCurvesMergeTheReferencePoints) {
  c.pg.NSUB = 2;
  curve({{0, 1}, {1, 2}, {2, 4}, {4, 8}});
  curve({{0, 2}, {3, 6}, {4, 8}});
  ASSERT_EQ(walk(), 1);
  EXPECT_EQ(c.store->ICRANG(1, 3), 8);
  EXPECT_EQ(points_of(3), (Pts{{0, 1}, {1, 1}, {2, 1}, {4, 1}}));
  const Pts r = points_of(4);
  ASSERT_EQ(r.size(), 5U);
  const double want[5][2] = {
      {0, 2}, {1, 10.0 / 6}, {2, 14.0 / 12}, {3, 1}, {4, 1}};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(r[i].first, want[i][0]);
    EXPECT_NEAR(r[i].second, want[i][1], 1e-12);
  }
  EXPECT_EQ(c.lg.ERRBIG(1), 1);
  EXPECT_EQ(c.lg.ERRBIG(2), 0);
  EXPECT_EQ(c.ax.XYLIM(7), 1);
  EXPECT_EQ(c.ax.XYLIM(8), 2);
  EXPECT_EQ(c.lg.CNEXT(1), 8 + 4 + 5);

  // Ratios against a reference value of 0.
  c.store->NCURVE = 0;
  curve({{0, 0}, {1, 0}, {2, 0}, {3, 1}});
  curve({{0, 0}, {1, 3}, {2, -3}});
  ASSERT_EQ(walk(), 1);
  EXPECT_EQ(points_of(4), (Pts{{0, 1}, {1, 999}, {2, -999}}));
  EXPECT_EQ(c.lg.ERRBIG(1), -1000);
}

TEST_F(Walk, RatioCurvesAtTheReferenceEnds) {
  c.pg.NSUB = 2;
  c.op.KYMAX = 1;
  c.op.YMAX = 20;
  curve({{0, 1}, {2, 1}, {4, 2}});
  curve({{5, 1}, {6, 1}});   // wholly beyond the reference: no ratios
  curve({{1, 3}, {5, 5}});   // reference points passed, then beyond it
  curve({{0, 30}, {2, 2}});  // first point above the window, not passed
  ASSERT_EQ(walk(), 1);
  EXPECT_EQ(c.lg.ONIT(6), 0);
  EXPECT_EQ(points_of(7), (Pts{{1, 3}, {2, 3.5}, {4, 2.25}}));
  // The reference point at the unpassed point's x still gets its ratio.
  EXPECT_EQ(points_of(8), (Pts{{0, 30}, {2, 2}}));
  EXPECT_EQ(c.lg.ERRBIG(1), 29);
  EXPECT_EQ(c.lg.ERRBIG(2), 0);

  // Of two deviations of equal size the first stays (the caller clears
  // ERRBIG before each walk).
  c.store->NCURVE = 0;
  c.op.KYMAX = 0;
  c.lg.ERRBIG(1) = 0;
  c.lg.ERRBIG(2) = 0;
  curve({{0, 2}, {1, 2}});
  curve({{0, 1}, {1, 3}});
  ASSERT_EQ(walk(), 1);
  EXPECT_EQ(c.lg.ERRBIG(1), -0.5);
  EXPECT_EQ(c.lg.ERRBIG(2), 0);
}

TEST_F(Walk, ReferenceCursorOfCurved) {
  curve({{0, 0}, {1, 10}, {2, 20}, {3, 30}});
  c.lg.CNEXT(2) = 1;
  c.lg.CNEXT(3) = 4;
  c.lg.CNEXT(6) = 1;
  double ref = -1;
  int ok = -1;
  curved(c, 1.5, ref, ok);
  EXPECT_EQ(ok, 1);
  EXPECT_DOUBLE_EQ(ref, 15);
  EXPECT_EQ(c.lg.CNEXT(6), 2);
  curved(c, 2, ref, ok);
  EXPECT_EQ(ref, 20);
  EXPECT_EQ(c.lg.CNEXT(6), 4);
  curved(c, 0.5, ref, ok);  // below the cursor: from the first point
  EXPECT_DOUBLE_EQ(ref, 5);
  EXPECT_EQ(c.lg.CNEXT(6), 1);
  curved(c, 3, ref, ok);
  EXPECT_EQ(ref, 30);
  EXPECT_EQ(c.lg.CNEXT(6), 1);
  curved(c, 0, ref, ok);
  EXPECT_EQ(ref, 0);
  EXPECT_EQ(c.lg.CNEXT(6), 2);
  curved(c, 3.5, ref, ok);
  EXPECT_EQ(ok, 0);
  EXPECT_EQ(ref, 0);
  EXPECT_EQ(c.lg.CNEXT(6), 1);
}

TEST_F(Walk, PointSetsCountExtentsAndTitles) {
  window_x(0, 10);
  c.op.ERRBAR(1) = 1;
  c.op.ERRBAR(2) = 1;
  c.lg.LTVIS(33) = 12;
  c.lg.LTVIS(34) = 30;
  set({{2, 5, 0.5, 0.25, 1, 2}, {11, 5}, {4, 4}});
  set({{-1, 5}, {12, 5}});  // nothing inside
  ASSERT_EQ(walk(), 1);
  EXPECT_EQ(c.lg.ONIT(61), 2);
  EXPECT_EQ(c.lg.ONIT(62), 0);
  EXPECT_EQ(c.lg.ONIT(122), 1);
  EXPECT_EQ(c.lg.ONIT(121), 0);
  EXPECT_EQ(c.lg.TITMAX, 12);
  EXPECT_EQ(c.ax.XYLIM(5), 3);
  EXPECT_EQ(c.ax.XYLIM(6), 6);
  c.op.KXMIN = 0;
  c.op.KXMAX = 0;
  ASSERT_EQ(walk(), 1);
  EXPECT_EQ(c.ax.XYLIM(1), -1);
  EXPECT_EQ(c.ax.XYLIM(2), 12);
  EXPECT_EQ(c.lg.TITMAX, 30);

  // A low end at 0 or less under a log y request: counted, no limits.
  c.store->NPOINT = 0;
  c.op.KPLANE(2) = 2;
  set({{1, 1, 0, 0, 0, 2}, {3, 1, 0, 0, 0, 1}, {2, 5}});
  ASSERT_EQ(walk(), 1);
  EXPECT_EQ(c.lg.ONIT(61), 3);
  EXPECT_EQ(c.ax.XYLIM(1), 2);
  EXPECT_EQ(c.ax.XYLIM(5), 5);

  // Points on the window's edges are inside it.
  c.store->NPOINT = 0;
  c.op.KPLANE(2) = 1;
  window_x(1, 3);
  c.op.KYMIN = 1;
  c.op.YMIN = 2;
  c.op.KYMAX = 1;
  c.op.YMAX = 6;
  set({{1, 2}, {3, 6}, {2, 1.5}, {2, 6.5}});
  ASSERT_EQ(walk(), 1);
  EXPECT_EQ(c.lg.ONIT(61), 2);
}

TEST_F(Walk, RatioPointSets) {
  c.pg.NSUB = 2;
  curve({{0, 2}, {10, 2}});
  curve({{0, 0}, {2, 0}});  // the reference is 0 nowhere; kept for count
  set({{5, 4, 0.1, 0.2, 1, 1}, {20, 4}});
  ASSERT_EQ(walk(), 1);
  const Store& s = *c.store;
  const int krat = 2;
  EXPECT_EQ(c.lg.ONIT(60 + krat), 1);
  const int i = s.IPRANG(1, krat);
  EXPECT_EQ(i, 3);
  EXPECT_EQ(s.IPRANG(2, krat), 3);
  EXPECT_EQ(s.XP(i), 5);
  EXPECT_EQ(s.YP(i), 2);
  EXPECT_EQ(s.DYP(i), 0.5);
  EXPECT_EQ(s.DXM(i), 0.2);
  EXPECT_EQ(c.ax.XYLIM(7), 0);  // curve 2's ratios are 0
  EXPECT_EQ(c.ax.XYLIM(8), 2);

  // The reference value may equal either y limit; a reference value of 0
  // gives no ratio point.
  for (const double y : {4.0, 1.0}) {
    c.store->NCURVE = 0;
    c.store->NPOINT = 0;
    curve({{0, 2}, {10, 2}});
    set({{5, y}});
    ASSERT_EQ(walk(), 1);
    EXPECT_EQ(c.lg.ONIT(62), 1) << y;
  }
  c.store->NCURVE = 0;
  c.store->NPOINT = 0;
  curve({{0, 0}, {10, 0}});
  set({{5, 4}});
  ASSERT_EQ(walk(), 1);
  EXPECT_EQ(c.lg.ONIT(62), 0);

  // No ratio point where the reference lies above every y taken so far.
  c.store->NCURVE = 0;
  c.store->NPOINT = 0;
  c.op.KYMAX = 1;
  c.op.YMAX = 50;
  curve({{0, 100}, {10, 100}});
  set({{5, 4}});
  ASSERT_EQ(walk(), 1);
  EXPECT_EQ(c.lg.ONIT(61), 1);
  EXPECT_EQ(c.lg.ONIT(62), 0);
  EXPECT_EQ(s.IPRANG(1, 2), s.IPRANG(2, 2));
}

TEST_F(Walk, RatioPointSetOfANegativeReferenceKeepsItsBars) {
  // Point -2 (+0.1, -0.2) over a reference of -2 has the ratio point of
  // point 2 (+0.2, -0.1) over a reference of 2: 1 (+0.1, -0.05), its ends
  // taken into the ratio limits low first.
  c.pg.NSUB = 2;
  c.op.ERRBAR(2) = 1;
  struct Ratio {
    double y, dyp, dym, lo, hi;
  };
  auto ratio_of = [&](double sign, double dyp, double dym) {
    c.store->NCURVE = 0;
    c.store->NPOINT = 0;
    curve({{0, 2 * sign}, {10, 2 * sign}});
    curve({{0, 2.1 * sign}, {10, 2.1 * sign}});
    set({{5, 2 * sign, 0, 0, dyp, dym}});
    EXPECT_EQ(walk(), 1);
    EXPECT_EQ(c.lg.ONIT(62), 1);
    const Store& s = *c.store;
    const int i = s.IPRANG(1, 2);
    return Ratio{s.YP(i), s.DYP(i), s.DYM(i), c.ax.XYLIM(7), c.ax.XYLIM(8)};
  };
  const Ratio pos = ratio_of(1, 0.2, 0.1);
  const Ratio neg = ratio_of(-1, 0.1, 0.2);
  EXPECT_EQ(pos.y, 1);
  EXPECT_EQ(pos.dyp, 0.1);
  EXPECT_EQ(pos.dym, 0.05);
  EXPECT_EQ(pos.lo, 0.95);
  EXPECT_EQ(pos.hi, 1.1);
  EXPECT_EQ(neg.y, pos.y);
  EXPECT_EQ(neg.dyp, pos.dyp);
  EXPECT_EQ(neg.dym, pos.dym);
  EXPECT_EQ(neg.lo, pos.lo);
  EXPECT_EQ(neg.hi, pos.hi);
}

TEST_F(Walk, NoRatioPointBeforeTheLimitsHaveAFirstPoint) {
  // Every value is filtered out by the log request on x, so the y limits
  // still hold an earlier plot's values, which would take the reference.
  c.pg.NSUB = 2;
  c.op.KPLANE(1) = 2;
  c.ax.XYLIM(5) = -10;
  c.ax.XYLIM(6) = 10;
  curve({{-10, 2}, {-1, 2}});
  set({{-5, 3}});
  EXPECT_EQ(walk(), 0);
  EXPECT_EQ(c.lg.ONIT(61), 1);
  EXPECT_EQ(c.lg.ONIT(62), 0);
}

TEST_F(Walk, RatioDataStopAtTheStoreCapacities) {
  c.pg.NSUB = 2;
  Store& s = *c.store;
  s.NCURVE = 1;
  s.ICRANG(1, 1) = kMaxCurvePoints - 1;
  s.ICRANG(2, 1) = kMaxCurvePoints;
  s.XC(kMaxCurvePoints - 1) = 0;
  s.YC(kMaxCurvePoints - 1) = 1;
  s.XC(kMaxCurvePoints) = 1;
  s.YC(kMaxCurvePoints) = 1;
  s.NPOINT = 1;
  s.IPRANG(1, 1) = kMaxSetPoints;
  s.IPRANG(2, 1) = kMaxSetPoints;
  s.XP(kMaxSetPoints) = 0.5;
  s.YP(kMaxSetPoints) = 1;
  ASSERT_EQ(walk(), 1);
  EXPECT_EQ(c.lg.ONIT(1), 2);
  EXPECT_EQ(c.lg.ONIT(2), 0);
  EXPECT_EQ(c.lg.ONIT(61), 1);
  EXPECT_EQ(c.lg.ONIT(62), 0);
}

}  // namespace
}  // namespace veskaro
