// Axis limit rounding: the scale in force on each axis, the opening of a
// range of zero width, decades on a logarithmic axis and the margin that
// keeps the data off the frame. xround ends with the legend box placement.
#include <cmath>
#include <cstdlib>

#include "core/limits.h"

namespace veskaro {
namespace {

// Outcome of the shared rounding steps of one axis.
enum class Width { kLinearDone, kGoOn };

// Opens a range of zero or negative width. kLinearDone: the limits are
// final and the scale linear; kGoOn: logarithmic, go on with the decades.
Width open_up(double& lo, double& hi, int kplane) {
  if (lo < 0) {
    lo *= 1.5;
    hi *= 0.5;
    return Width::kLinearDone;
  }
  if (lo == 0) {
    lo = -kF105;
    hi = kF105;
    return Width::kLinearDone;
  }
  if (std::abs(kplane) != 2) {
    lo *= 0.5;
    hi *= 1.5;
    return Width::kLinearDone;
  }
  lo *= kF01;
  hi *= 10;
  return Width::kGoOn;
}

// Decades of a logarithmic axis. Two limits a hair apart can give the
// same logarithm; they get the decade each way a zero width gets.
void to_decades(double& lo, double& hi) {
  lo = std::log10(lo);
  hi = std::log10(hi);
  if (hi <= lo) {
    lo -= 1;
    hi += 1;
  }
}

// Moves the limits outward by the margin that KROUND asks for; the half
// span is kept in `half` while it is used.
void margin(double& lo, double& hi, int kround, double& half) {
  if (kround == 1) return;
  const double mid = (hi + lo) / 2;
  half = (hi - lo) / 2;
  if (kround != 3) lo = mid - kF104 * half;
  if (kround != 2) hi = mid + kF104 * half;
}

// Scale from a request: its magnitude, with 0 read as logarithmic.
int scale_of(int kplane) {
  const int way = std::abs(kplane);
  return way == 0 ? 2 : way;
}

// Limits that are not finite cannot be drawn: the axis gets the range of
// a plot whose data are all 0, and the drawing is marked as unusable.
bool finite_or_default(Core& c, double& lo, double& hi, int& way) {
  if (std::isfinite(lo) && std::isfinite(hi) && std::isfinite(hi - lo)) {
    return true;
  }
  lo = -kF105;
  hi = kF105;
  way = 1;
  c.rs.limits.IBADLM = 1;
  return false;
}

}  // namespace

void yround(Core& c) {
  Vec<double, 10>& XYLIM = c.ax.XYLIM;
  const OptionBlocks& op = c.op;
  double YLO = XYLIM(5);
  double YHI = XYLIM(6);
  const bool sub1 = c.pg.KSUB == 1;
  if (!sub1) {
    if (op.RATLIM(1) > 0) {
      if (YLO < op.RATLIM(2)) YLO = op.RATLIM(2);
      if (YHI > op.RATLIM(1)) YHI = op.RATLIM(1);
    }
    if (YLO > kF099) YLO = kF099;
    if (YHI < kF101) YHI = kF101;
  }
  c.ax.YMINUS = YLO < 0 ? 1 : 0;
  int way = scale_of(op.KPLANE(2));
  if (sub1) {
    if (op.KPLANE(2) == 0 && YHI < 10 * YLO) way = 1;
  } else {
    way = YHI >= 10 * YLO ? 2 : 1;
  }
  if (YLO <= 0) way = 1;
  bool done = false;
  if (YHI <= YLO) {
    done = open_up(YLO, YHI, op.KPLANE(2)) == Width::kLinearDone;
    way = done ? 1 : 2;
  }
  if (!done) {
    if (way == 2) to_decades(YLO, YHI);
    double half = 0;
    margin(YLO, YHI, op.KROUND(2), half);
  }
  if (!finite_or_default(c, YLO, YHI, way)) c.ax.YMINUS = 1;
  XYLIM(5) = YLO;
  XYLIM(6) = YHI;
  c.ax.WAYS(2) = way;
}

void xround(Core& c) {
  if (c.pg.KSUB != 1) return;
  Vec<double, 10>& XYLIM = c.ax.XYLIM;
  Vec<double, 6>& BOXLIM = c.lg.BOXLIM;
  const OptionBlocks& op = c.op;
  for (int i = 1; i <= 4; ++i) BOXLIM(i) = -10;
  if (op.LEGOFF == 0) {
    BOXLIM(2) = c.pg.PLTLIM(2);
    BOXLIM(4) = c.pg.PLTLIM(4);
    boxsiz(c);
  }
  double XLO = XYLIM(1);
  double XHI = XYLIM(2);
  int way = scale_of(op.KPLANE(1));
  if (op.KPLANE(1) == 0 && XHI < 10 * XLO) way = 1;
  if (XLO <= 0) way = 1;
  bool done = false;
  if (XHI <= XLO) {
    done = open_up(XLO, XHI, op.KPLANE(1)) == Width::kLinearDone;
    way = done ? 1 : 2;
  }
  if (!done) {
    if (way == 2) to_decades(XLO, XHI);
    margin(XLO, XHI, op.KROUND(1), XYLIM(9));
  }
  finite_or_default(c, XLO, XHI, way);
  XYLIM(1) = XLO;
  XYLIM(2) = XHI;
  c.ax.WAYS(1) = way;
  if (op.LEGOFF != 0) return;
  place_legend(c);
  // The placement may widen a limit beyond what can be drawn.
  finite_or_default(c, XYLIM(1), XYLIM(2), c.ax.WAYS(1));
  int wy = c.ax.WAYS(2);
  if (!finite_or_default(c, XYLIM(5), XYLIM(6), wy)) c.ax.YMINUS = 1;
  c.ax.WAYS(2) = wy;
}

}  // namespace veskaro
