// Routines shared by the drawing files: frame annotation, ticks and grids,
// curves and point sets. They work in the plot units of the virtual page
// ("inches") unless said otherwise.
#pragma once

#include <cmath>
#include <limits>

#include "core/core.h"

namespace veskaro {

// True when the axis (1 = x, 2 = y) is drawn logarithmically.
inline bool log_axis(const Core& c, int axis) { return c.ax.WAYS(axis) != 1; }

// Integer part of a value, toward zero, held inside the int range so that
// a wild value can not overflow the conversion.
inline int itrunc(double v) {
  constexpr double kBig = 2.0e9;
  if (!(v > -kBig)) return -2'000'000'000;
  if (!(v < kBig)) return 2'000'000'000;
  return static_cast<int>(v);
}

// Position on the frame of a plane value on the x or the y axis.
inline double xplane_to_inch(const Core& c, double x) {
  return ((x - c.ax.XYLIM(1)) * c.pg.PLTLIM(2) +
          (c.ax.XYLIM(2) - x) * c.pg.PLTLIM(1)) /
         c.ax.XYLIM(9);
}
inline double yplane_to_inch(const Core& c, double y) {
  return ((y - c.ax.XYLIM(5)) * c.pg.PLTLIM(4) +
          (c.ax.XYLIM(6) - y) * c.pg.PLTLIM(3)) /
         c.ax.XYLIM(10);
}

// Axis positions step up by repeated addition of a single-precision step,
// so one meant to fall on an upper limit that is a whole number of steps
// away can land a hair above it (0 to 1 by 0.1 ends at 1.0000000149).
// A position within a tiny fraction of the step above the limit counts as
// the limit; beyond that the position is past the axis.
constexpr double kStepSlack = 1.0e-4;
inline bool past_limit(double R, double hi, double step) {
  return R > hi && R - hi > kStepSlack * step;
}
// The plane value to mark for a position not past the limit.
inline double within_limit(double R, double hi) { return R > hi ? hi : R; }

// Data value to plane value: decimal logarithm on a logarithmic axis, then
// the axis's units multiplier.
inline double xdata_to_plane(const Core& c, double x) {
  return (log_axis(c, 1) ? std::log10(x) : x) * c.ax.XMULT;
}
inline double ydata_to_plane(const Core& c, double y) {
  return (log_axis(c, 2) ? std::log10(y) : y) * c.ax.YMULT;
}

// Data value to position on the frame.
inline double x_inch(const Core& c, double x) {
  return xplane_to_inch(c, xdata_to_plane(c, x));
}
inline double y_inch(const Core& c, double y) {
  return yplane_to_inch(c, ydata_to_plane(c, y));
}

// ---- Ticks and grids.
// A line across the frame: KWAY 1 vertical at x = Z, else horizontal at
// y = Z; ITYPE 2 dashed, else solid. The legend box is left free.
void plotz(Core& c, double Z, int KWAY, int ITYPE);

// ---- Curve chain: window in y, data to inches, legend box, dash pattern.
void clipy(Core& c, double X, double Y, int IPEN, int LINTYP);
void dashp(Core& c, double X, double Y, int IPEN, int LINTYP);
void dashn(Core& c, double X, double Y, int IPEN, int LINTYP);
void dash(Core& c, double X, double Y, int IPEN, int LINTYP);
// A small diamond on the data point (X, Y), unless it touches the legend
// box.
void ptshow(Core& c, double X, double Y);

// ---- Point sets.
// Symbol KSYM of size HT centred on (XC, YC), with error bars to XL, XR
// (x) and YB, YT (y); an end equal to the centre draws no bar.
void symref(Core& c, double XC, double XL, double XR, double YC, double YB,
            double YT, double HT, int KSYM);

}  // namespace veskaro
