// Rounding of the axis limits: scale chosen, zero widths opened, decades,
// margins by KROUND, the ratio subplot's rules and limits that cannot be
// drawn.
#include <cmath>

#include "tests/limits_fixture.h"

namespace veskaro {
namespace {

class Rounding : public LimitsFixture {
 protected:
  Rounding() {
    c.op.LEGOFF = 1;
    c.op.KROUND(1) = 0;
    c.op.KROUND(2) = 0;
  }
  // Rounds y limits lo, hi with scale request kplane; returns the result.
  std::pair<double, double> y(double lo, double hi, int kplane) {
    c.op.KPLANE(2) = kplane;
    c.ax.XYLIM(5) = lo;
    c.ax.XYLIM(6) = hi;
    yround(c);
    return {c.ax.XYLIM(5), c.ax.XYLIM(6)};
  }
  std::pair<double, double> x(double lo, double hi, int kplane) {
    c.op.KPLANE(1) = kplane;
    c.ax.XYLIM(1) = lo;
    c.ax.XYLIM(2) = hi;
    xround(c);
    return {c.ax.XYLIM(1), c.ax.XYLIM(2)};
  }
};

TEST_F(Rounding, ZeroWidthsOpenUp) {
  EXPECT_EQ(y(5, 5, 1), std::make_pair(2.5, 7.5));
  EXPECT_EQ(c.ax.WAYS(2), 1);
  EXPECT_EQ(y(0, 0, 2),
            std::make_pair(-1.0499999523162842, 1.0499999523162842));
  EXPECT_EQ(c.ax.WAYS(2), 1);
  EXPECT_EQ(y(-2, -2, 1), std::make_pair(-3.0, -1.0));
  EXPECT_EQ(c.ax.YMINUS, 1);
  const auto [lo, hi] = y(3, 3, 2);
  EXPECT_NEAR(lo, -0.5629, 1e-4);
  EXPECT_NEAR(hi, 1.5171, 1e-4);
  EXPECT_EQ(c.ax.WAYS(2), 2);
  // The same four cases on x.
  EXPECT_EQ(x(5, 5, -1), std::make_pair(2.5, 7.5));
  EXPECT_EQ(x(-2, -2, 2), std::make_pair(-3.0, -1.0));
  EXPECT_EQ(c.ax.WAYS(1), 1);
  const auto [xlo, xhi] = x(3, 3, -2);
  EXPECT_NEAR(xlo, -0.5629, 1e-4);
  EXPECT_NEAR(xhi, 1.5171, 1e-4);
  EXPECT_EQ(c.ax.WAYS(1), 2);
}

TEST_F(Rounding, ScaleFromRequestAndData) {
  c.op.KROUND(2) = 1;
  y(1, 9.99, 0);
  EXPECT_EQ(c.ax.WAYS(2), 1);
  EXPECT_EQ(y(1, 10, 0), std::make_pair(0.0, 1.0));
  EXPECT_EQ(c.ax.WAYS(2), 2);
  y(1, 9.99, -2);
  EXPECT_EQ(c.ax.WAYS(2), 2);
  EXPECT_EQ(y(0, 100, 2), std::make_pair(0.0, 100.0));
  EXPECT_EQ(c.ax.WAYS(2), 1);
  c.op.KROUND(1) = 1;
  x(1, 9.99, 0);
  EXPECT_EQ(c.ax.WAYS(1), 1);
  x(1, 10, 0);
  EXPECT_EQ(c.ax.WAYS(1), 2);
  x(-1, 100, 2);
  EXPECT_EQ(c.ax.WAYS(1), 1);
}

TEST_F(Rounding, MarginByKround) {
  const double m = 5 - 1.0399999618530273 * 5;  // about -0.2
  const double p = 5 + 1.0399999618530273 * 5;  // about 10.2
  const std::pair<double, double> want[4] = {{m, p}, {0, 10}, {m, 10}, {0, p}};
  for (int k = 0; k <= 3; ++k) {
    c.op.KROUND(1) = k;
    c.op.KROUND(2) = k;
    EXPECT_EQ(y(0, 10, 1), want[k]) << k;
    EXPECT_EQ(c.ax.YMINUS, 0);  // the margin does not count
    EXPECT_EQ(x(0, 10, 1), want[k]) << k;
  }
  c.op.KROUND(2) = 7;
  EXPECT_EQ(y(0, 10, 1), want[0]);
  EXPECT_NEAR(want[0].first, -0.2, 1e-6);
  // With the legend off no box is placed.
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(c.lg.BOXLIM(i), -10);
}

TEST_F(Rounding, RatioSubplotRules) {
  c.pg.KSUB = 2;
  const auto [lo, hi] = y(1, 1, 2);
  EXPECT_NEAR(lo, 0.9896, 1e-4);
  EXPECT_NEAR(hi, 1.0104, 1e-4);
  EXPECT_EQ(c.ax.WAYS(2), 1);
  y(0.05, 2, 1);  // logarithmic although linear was asked for
  EXPECT_EQ(c.ax.WAYS(2), 2);
  c.op.KROUND(2) = 1;
  y(0.5, 5, 1);  // a top of exactly ten times the bottom is logarithmic
  EXPECT_EQ(c.ax.WAYS(2), 2);
  // The ratio axis reaches down to the single-precision 0.99 at least.
  EXPECT_EQ(y(1.5, 2, 1), std::make_pair(0.9900000095367432, 2.0));
  EXPECT_EQ(y(0.05, 2, 1), std::make_pair(std::log10(0.05), std::log10(2.0)));
  c.op.RATLIM(1) = 2;
  c.op.RATLIM(2) = 0.5;
  EXPECT_EQ(y(0.1, 5, 2), std::make_pair(0.5, 2.0));
  EXPECT_EQ(c.ax.WAYS(2), 1);
  EXPECT_EQ(y(-3, 0.2, 2), std::make_pair(0.5, 1.0099999904632568));
  EXPECT_EQ(c.ax.YMINUS, 0);
  c.op.RATLIM(1) = 0;
  y(-3, 0.2, 2);
  EXPECT_EQ(c.ax.YMINUS, 1);
  EXPECT_EQ(c.ax.XYLIM(6), 1.0099999904632568);
  // x is rounded on the main subplot only.
  EXPECT_EQ(x(3, 4, 1), std::make_pair(3.0, 4.0));
}

TEST_F(Rounding, LimitsThatCannotBeDrawnFallBack) {
  EXPECT_EQ(y(-1e308, 1e308, 1),
            std::make_pair(-1.0499999523162842, 1.0499999523162842));
  EXPECT_EQ(c.rs.limits.IBADLM, 1);
  EXPECT_EQ(c.ax.YMINUS, 1);
  c.rs.limits.IBADLM = 0;
  y(1e308, 1.7e308, 1);  // the mid value overflows
  EXPECT_EQ(c.rs.limits.IBADLM, 1);
  c.rs.limits.IBADLM = 0;
  x(-INFINITY, 3, 1);
  EXPECT_EQ(c.rs.limits.IBADLM, 1);
  EXPECT_EQ(c.ax.WAYS(1), 1);
  EXPECT_TRUE(std::isfinite(c.ax.XYLIM(1)));
  // Finite extremes on a logarithmic axis stay as they are.
  c.rs.limits.IBADLM = 0;
  c.op.KROUND(2) = 1;
  EXPECT_EQ(y(1e-300, 1e300, 2), std::make_pair(-300.0, 300.0));
  EXPECT_EQ(c.rs.limits.IBADLM, 0);
  // Two limits a hair apart with the same decade get a decade each way.
  const auto [lo, hi] = y(1e10, std::nextafter(1e10, 2e10), 2);
  EXPECT_EQ(c.ax.WAYS(2), 2);
  EXPECT_EQ(lo, 9);
  EXPECT_EQ(hi, 11);
}

}  // namespace
}  // namespace veskaro
