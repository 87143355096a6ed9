// Axis units and label steps: the clip window in data units, a power of
// ten per linear axis that brings its numbers into a readable range, and
// the label step, first label, decimals and minor step from a fixed table.
#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>

#include "core/limits.h"

namespace veskaro {
namespace {

// Label steps, largest first; from 0.2 on they are single-precision
// values widened, and the step counts are taken with these values.
constexpr Vec<double, 16> STEPS{{100, 50, 20, 10, 5, 2, 1, 0.5, 0.2F, 0.1F,
                                 0.05F, 0.02F, 0.01F, 0.005F, 0.002F, 0.001F}};
// Decimals of the labels per step; -1 draws whole numbers.
constexpr Vec<int, 16> ISTEPS{
    {-1, -1, -1, -1, -1, -1, -1, 1, 1, 1, 2, 2, 2, 3, 3, 3}};
// Interval counts (per step, per next smaller step) that stop the search,
// by case: 1 main axes, 2 ratio y axis and small steps, 3 large numbers.
constexpr Mat<int, 2, 3> ICASES{{10, 15, 5, 10, 4, 8}};

constexpr double kF0001 = 0.001F;

// Whole intervals of `step` in `span`, truncated toward zero; spans too
// large for an int count as the largest int.
int intervals(double span, double step) {
  const double n = span / step;
  if (!(n > INT_MIN)) return n < 0 ? INT_MIN : 0;
  if (n >= INT_MAX) return INT_MAX;
  return static_cast<int>(n);
}

// Data units of one limit in plane units; a logarithmic limit too large
// for a double keeps the largest double as its bound.
double data_units(double v, int way) {
  if (way != 2) return v;
  return std::min(std::pow(10.0, v), DBL_MAX);
}

}  // namespace

void united(Core& c) {
  AxisBlocks& ax = c.ax;
  Vec<double, 10>& XYLIM = ax.XYLIM;
  ax.XYREAL(1) = data_units(XYLIM(1), ax.WAYS(1));
  ax.XYREAL(2) = data_units(XYLIM(2), ax.WAYS(1));
  ax.XYREAL(3) = data_units(XYLIM(5), ax.WAYS(2));
  ax.XYREAL(4) = data_units(XYLIM(6), ax.WAYS(2));
  znorm(std::max(std::abs(XYLIM(1)), std::abs(XYLIM(2))), ax.XMULT, ax.IEXPX,
        ax.WAYS(1));
  XYLIM(1) *= ax.XMULT;
  XYLIM(2) *= ax.XMULT;
  XYLIM(9) = XYLIM(2) - XYLIM(1);
  znorm(std::max(std::abs(XYLIM(5)), std::abs(XYLIM(6))), ax.YMULT, ax.IEXPY,
        ax.WAYS(2));
  XYLIM(5) *= ax.YMULT;
  XYLIM(6) *= ax.YMULT;
  XYLIM(10) = XYLIM(6) - XYLIM(5);
  spacer(c, {XYLIM(1), XYLIM(2)}, ax.XFIRST, ax.XSTEP, ax.XMINOR, ax.NDECX,
         ax.WAYS(1), 1);
  spacer(c, {XYLIM(5), XYLIM(6)}, ax.YFIRST, ax.YSTEP, ax.YMINOR, ax.NDECY,
         ax.WAYS(2), 2);
}

void znorm(double ZTOP, double& ZMULT, int& IEXP, int KWAY) {
  IEXP = 0;
  ZMULT = 1;
  // A limit that is not finite has no power of ten; it keeps 1.
  if (KWAY == 2 || !std::isfinite(ZTOP)) return;
  if (ZTOP >= kF01 && ZTOP <= 999) return;
  double ZRANGE = 0;
  if (ZTOP < 1) {
    ZRANGE = kF0001;
    IEXP = -3;
    // The search stops before the multiplier would overflow.
    while (ZTOP < ZRANGE && ZRANGE * kF0001 >= DBL_MIN) {
      ZRANGE *= kF0001;
      IEXP -= 3;
    }
  } else {
    ZRANGE = 1000;
    while (ZTOP >= ZRANGE) {
      if (ZRANGE * 1000 > DBL_MAX) {
        // No larger power fits: this one is the multiplier's.
        IEXP += 3;
        ZMULT = 1 / ZRANGE;
        return;
      }
      ZRANGE *= 1000;
      IEXP += 3;
    }
    ZRANGE /= 1000;
  }
  ZMULT = 1 / ZRANGE;
}

void spacer(Core& c, const Edges& ZLIM, double& ZFIRST, double& ZSTEP,
            double& ZMINOR, int& NDEC, int KWAY, int KAXIS) {
  if (KWAY == 2) return;
  const double DZLIM = (ZLIM[1] - ZLIM[0]) * c.pg.MULTHT;
  const double ZTOP = std::max(std::abs(ZLIM[0]), std::abs(ZLIM[1]));
  int KCASES = 1;
  if (ZTOP >= 100) {
    KCASES = 3;
  } else if (KAXIS == 2 && c.pg.KSUB == 2) {
    KCASES = 2;
  }
  int I = 1;
  int J = 0;
  for (;; ++I) {
    if (I >= 7) KCASES = 2;
    J = intervals(DZLIM, STEPS(I));
    if (I == 16) break;
    const int K = intervals(DZLIM, STEPS(I + 1));
    if (J >= ICASES(1, KCASES) || K >= ICASES(2, KCASES)) break;
  }
  ZSTEP = STEPS(I);
  ZFIRST = std::trunc(ZLIM[0] / ZSTEP) * ZSTEP;
  NDEC = ISTEPS(I);
  int SPACEM = 1;
  if (J <= 1) {
    SPACEM = 10;
  } else if (J == 2) {
    SPACEM = 5;
  } else if (J <= 10) {
    SPACEM = 2;
  }
  ZMINOR = ZSTEP / SPACEM;
}

}  // namespace veskaro
