// Routines shared among the data-limit, rounding, units and legend files.
#pragma once

#include <algorithm>

#include "core/core.h"
#include "core/routines.h"

namespace veskaro {

// Single-precision constants of the limit rounding, used widened.
constexpr double kF099 = 0.99F;  // least ratio-axis top of the low end
constexpr double kF101 = 1.01F;
constexpr double kF104 = 1.04F;  // margin factor
constexpr double kF105 = 1.05F;
constexpr double kF01 = 0.1F;

// True when a scale request asks for a logarithmic axis.
inline bool logreq(int kplane) { return kplane == 2 || kplane == -2; }

// ---- Data limits and ratio data.
void rangec(Core& c, double X, double Y, int K, int& IPASS, int& KPASS,
            int& IPICK, int IPT);
void ratcur(Core& c, double X, double Y, int K, int& KPASS, int IPT);
void curved(Core& c, double X, double& REF, int& IMOK);
// Ratio of V to the reference value R, with the fixed answers for R = 0.
double ratio_of(double V, double R);
// Takes a ratio into the ratio limits XYLIM(7), XYLIM(8).
void take_ratio(Core& c, double LO, double HI, int& KPASS);

// ---- Axis units and label steps.
void znorm(double ZTOP, double& ZMULT, int& IEXP, int KWAY);
void spacer(Core& c, const Edges& ZLIM, double& ZFIRST, double& ZSTEP,
            double& ZMINOR, int& NDEC, int KWAY, int KAXIS);

// ---- Legend box.
// Takes [lo, hi] into YW; the first pair taken sets it.
inline void take(bool& any, Edges& YW, double lo, double hi) {
  if (!any) {
    any = true;
    YW = {lo, hi};
    return;
  }
  YW[0] = std::min(YW[0], lo);
  YW[1] = std::max(YW[1], hi);
}
// Takes the values of curve k under [XW(1), XW(2)] into YW: the points
// inside and the values interpolated at the ends.
void curve_under(Core& c, int k, const Edges& XW, bool& any, Edges& YW);
// The same, one point after the other (what curve_under gives in all
// cases; it shares a long curve out over the worker threads).
void curve_under_in_order(const Core& c, int k, const Edges& XW, bool& any,
                          Edges& YW);
void boxsiz(Core& c);
void ylimit(Core& c, const Edges& XW, Edges& YW);
// The placement that ends xround on subplot 1 when the legend is on.
void place_legend(Core& c);

}  // namespace veskaro
