// Axis units: the power-of-ten multiplier, the label step table and the
// clip window in data units.
#include <cfloat>
#include <cmath>

#include "tests/limits_fixture.h"

namespace veskaro {
namespace {

struct StepCase {
  double lo, hi;
  int ksub, kaxis;
  double step, first;
  int ndec;
  double minor;
};

class SpacerTable : public LimitsFixture,
                    public ::testing::WithParamInterface<StepCase> {};

TEST_P(SpacerTable, StepFirstLabelDecimalsMinorStep) {
  const StepCase& t = GetParam();
  c.pg.KSUB = t.ksub;
  double first = 0, step = 0, minor = 0;
  int ndec = 99;
  spacer(c, {t.lo, t.hi}, first, step, minor, ndec, 1, t.kaxis);
  EXPECT_EQ(step, t.step);
  EXPECT_NEAR(first, t.first, 1e-7);
  EXPECT_EQ(ndec, t.ndec);
  EXPECT_NEAR(minor, t.minor, 1e-9);
}

// Steps below 1 are the widened single-precision values.
INSTANTIATE_TEST_SUITE_P(
    Rows, SpacerTable,
    ::testing::Values(
        StepCase{0, 7, 1, 1, 1, 0, -1, 0.5},
        StepCase{0, 7, 1, 2, 1, 0, -1, 0.5},
        StepCase{0, 10, 1, 1, 1, 0, -1, 0.5},
        StepCase{0, 100, 1, 2, 20, 0, -1, 10},
        StepCase{0, 250, 1, 1, 50, 0, -1, 25},
        StepCase{0, 1, 1, 2, 0.10000000149011612, 0, 1, 0.05},
        StepCase{0, 0.5, 1, 1, 0.05000000074505806, 0, 2, 0.025},
        StepCase{2.5, 3.5, 1, 1, 0.10000000149011612, 2.4, 1, 0.05},
        StepCase{0.9896, 1.0104, 2, 2, 0.004999999888241291, 0.985, 3, 0.0025},
        // Negative limits: the first label truncates toward zero.
        StepCase{-7.5, -2.5, 1, 1, 1, -7, -1, 0.5}));

using Units = LimitsFixture;

TEST_F(Units, CharacterSizeScalesTheCountedSpan) {
  double first = 0, step = 0, minor = 0;
  int ndec = 0;
  c.pg.MULTHT = 2;
  spacer(c, {0, 10}, first, step, minor, ndec, 1, 1);
  EXPECT_EQ(step, 2);
  EXPECT_EQ(minor, 1);
  c.pg.MULTHT = 0.5;
  spacer(c, {0, 7}, first, step, minor, ndec, 1, 2);
  EXPECT_EQ(step, 0.5);
  EXPECT_EQ(minor, 0.25);
  // The ratio subplot's x axis counts its steps as a main axis does.
  c.pg.MULTHT = 1;
  c.pg.KSUB = 2;
  spacer(c, {0, 50}, first, step, minor, ndec, 1, 1);
  EXPECT_EQ(step, 5);
  spacer(c, {0, 50}, first, step, minor, ndec, 1, 2);
  EXPECT_EQ(step, 10);
  c.pg.MULTHT = 0.5;
  spacer(c, {0, 7}, first, step, minor, ndec, 1, 2);
  // A logarithmic axis keeps what it had.
  spacer(c, {0, 1000}, first, step, minor, ndec, 2, 1);
  EXPECT_EQ(step, 0.5);
  EXPECT_EQ(ndec, 1);
}

TEST(Znorm, PowersOfAThousand) {
  double mult = 0;
  int iexp = 99;
  znorm(0.05, mult, iexp, 1);
  EXPECT_EQ(iexp, -3);
  EXPECT_EQ(mult, 1 / 0.0010000000474974513);
  EXPECT_NEAR(mult, 999.99995, 1e-4);
  znorm(5000, mult, iexp, 1);
  EXPECT_EQ(iexp, 3);
  EXPECT_EQ(mult, 0.001);
  znorm(1000, mult, iexp, 1);
  EXPECT_EQ(iexp, 3);
  znorm(999.5, mult, iexp, 1);
  EXPECT_EQ(iexp, 0);
  EXPECT_EQ(mult, 1);
  znorm(0.1, mult, iexp, 1);  // below the single-precision 0.1
  EXPECT_EQ(iexp, -3);
  znorm(0.10000000149011612, mult, iexp, 1);
  EXPECT_EQ(iexp, 0);
  znorm(5000, mult, iexp, 2);
  EXPECT_EQ(iexp, 0);
  EXPECT_EQ(mult, 1);
}

TEST(Znorm, ExtremesEndWithAFiniteMultiplier) {
  const double tops[] = {INFINITY, NAN, 1.7e308, 1e306, 0, 1e-320};
  for (const double top : tops) {
    double mult = 0;
    int iexp = 99;
    znorm(top, mult, iexp, 1);
    EXPECT_TRUE(std::isfinite(mult) && mult > 0) << top;
    if (std::isfinite(top)) {
      EXPECT_LE(top * mult, 1000) << top;
    }
  }
  double mult = 0;
  int iexp = 0;
  znorm(INFINITY, mult, iexp, 1);
  EXPECT_EQ(iexp, 0);
  EXPECT_EQ(mult, 1);
}

TEST_F(Units, UnitedSetsClipWindowMultipliersAndSteps) {
  c.ax.WAYS(1) = 1;
  c.ax.WAYS(2) = 2;
  c.ax.XYLIM(1) = 0;
  c.ax.XYLIM(2) = 5000;
  c.ax.XYLIM(5) = -1;
  c.ax.XYLIM(6) = 2;
  c.ax.YSTEP = 42;
  united(c);
  EXPECT_EQ(c.ax.XYREAL(1), 0);
  EXPECT_EQ(c.ax.XYREAL(2), 5000);
  EXPECT_NEAR(c.ax.XYREAL(3), 0.1, 1e-15);
  EXPECT_NEAR(c.ax.XYREAL(4), 100, 1e-12);
  EXPECT_EQ(c.ax.IEXPX, 3);
  EXPECT_EQ(c.ax.XYLIM(2), 5);
  EXPECT_EQ(c.ax.XYLIM(9), 5);
  EXPECT_EQ(c.ax.XSTEP, 1);
  EXPECT_EQ(c.ax.XMINOR, 0.5);
  // The logarithmic y axis: no multiplier, steps left alone.
  EXPECT_EQ(c.ax.YMULT, 1);
  EXPECT_EQ(c.ax.IEXPY, 0);
  EXPECT_EQ(c.ax.XYLIM(10), 3);
  EXPECT_EQ(c.ax.YSTEP, 42);
  // Decades beyond the double range clip at the largest double.
  c.ax.XYLIM(6) = 400;
  united(c);
  EXPECT_EQ(c.ax.XYREAL(4), DBL_MAX);
}

}  // namespace
}  // namespace veskaro
