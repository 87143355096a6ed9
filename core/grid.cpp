// Tick marks and grid lines on the four edges of the frame. Major
// positions are the label positions of a linear axis and the decades of a
// logarithmic one; minor positions subdivide them. Ticks go through the
// single-stroke legend-box cut, grid lines through `plotz`.
#include <algorithm>

#include "core/draw.h"
#include "core/routines.h"

namespace veskaro {
namespace {

// Dash and gap of a dashed grid line: 1/70 in single precision and six
// times that.
constexpr double kDash = static_cast<double>(1.0F / 70.0F);
constexpr double kGap = 6.0 * kDash;

// The pattern of a dashed grid line, running from the frame edge along
// the line; `send` hands an element end to the page.
struct Pattern {
  double last;   // end of the current element
  int KPEN = 3;  // its pen code: 2 dash, 3 gap

  void next() {
    KPEN = 5 - KPEN;
    last += KPEN == 2 ? kDash : kGap;
  }
  // Elements up to STOP, the one that reaches it cut there.
  template <class Send>
  void run_to(double STOP, Send send) {
    while (last < STOP) {
      next();
      send(std::min(last, STOP), KPEN);
    }
  }
};

// One axis of the frame, told by the x axis's names: the edge positions
// and tick ends for the current edge, and how a plane value maps onto it.
struct Axis {
  int axis;          // 1 x, 2 y
  double R[5] = {};  // R[1] edge, R[2..4] ends of ticks T, 2T, 3T
  double lo = 0;     // axis limits in plane units
  double hi = 0;
  double span = 0;   // their span
  double frame = 0;  // the frame's length along the axis
};

void set_edge(Core& c, Axis& a, double edge, double dir) {
  const double T = c.pg.PAINT(2);
  a.R[1] = edge;
  for (int k = 2; k <= 4; ++k) a.R[k] = a.R[k - 1] + dir * T;
}

// The second pass draws ticks inward from the opposite edge.
void far_edge(Core& c, Axis& a) {
  const auto& L = c.pg.PLTLIM;
  set_edge(c, a, a.axis == 1 ? L(4) : L(2), -1);
}

double position(const Core& c, const Axis& a, double Z) {
  return a.axis == 1 ? xplane_to_inch(c, Z) : yplane_to_inch(c, Z);
}

// A mark at plane value Z: a grid line of `type` when `type` asks for one
// (drawn on the first edge only), else a tick to end R[kend].
void mark(Core& c, const Axis& a, int LOOP, double Z, int type, bool line,
          int kend) {
  const double P = position(c, a, Z);
  if (line) {
    if (LOOP == 1) plotz(c, P, a.axis, type);
    return;
  }
  if (a.axis == 1) {
    plvh1(c, P, a.R[1], 3);
    plvh1(c, P, a.R[kend], 2);
  } else {
    plvh1(c, a.R[1], P, 3);
    plvh1(c, a.R[kend], P, 2);
  }
}

void linear_axis(Core& c, Axis& a) {
  auto& GRIDDY = c.op.GRIDDY;
  const bool xa = a.axis == 1;
  const double lo = a.lo;
  const double hi = a.hi;
  const double STEP = xa ? c.ax.XSTEP : c.ax.YSTEP;
  const double FIRST = xa ? c.ax.XFIRST : c.ax.YFIRST;
  if (!(STEP > 0)) return;
  const int NDEC = itrunc((hi - lo) / STEP);
  const int LOOP2 = NDEC > 100 ? 1 : NDEC > 50 ? 2 : NDEC > 20 ? 5 : 10;
  const double minor = STEP / LOOP2;
  const double base = FIRST - STEP;
  if (GRIDDY(2) > 0 && a.frame * STEP / a.span < 0.5) GRIDDY(2) = 0;
  for (int LOOP = 1; LOOP <= 2; ++LOOP) {
    if (LOOP == 2) far_edge(c, a);
    double R = base;
    for (int k = 0;; k = (k + 1) % LOOP2) {
      if (R >= lo) {
        if (past_limit(R, hi, minor)) break;
        const double Z = within_limit(R, hi);
        if (k == 0) {
          mark(c, a, LOOP, Z, GRIDDY(1), GRIDDY(1) != 0, 3);
        } else {
          mark(c, a, LOOP, Z, GRIDDY(2), GRIDDY(2) > 0, 2);
        }
      }
      if (R + minor == R) break;  // a step lost in rounding: no progress
      R += minor;
    }
  }
}

void log_axis_marks(Core& c, Axis& a) {
  auto& GRIDDY = c.op.GRIDDY;
  const double lo = a.lo;
  const double hi = a.hi;
  const int IMIN = itrunc(lo) - (lo < 0 ? 1 : 0);
  const int IMAX = itrunc(hi + 1);
  const int NDEC = itrunc((hi - lo) * c.pg.MULTHT);
  int ILOG1 = 2, KLOG1 = 1;
  if (NDEC > 100) {
    ILOG1 = 10, KLOG1 = 10;
  } else if (NDEC > 50) {
    ILOG1 = 5, KLOG1 = 5;
  } else if (NDEC > 20) {
    ILOG1 = 2, KLOG1 = 2;
  }
  if (GRIDDY(2) > 0 && a.frame / a.span < 0.5) GRIDDY(2) = 0;
  for (int LOOP = 1; LOOP <= 2; ++LOOP) {
    if (LOOP == 2) far_edge(c, a);
    for (int I = IMIN; I <= IMAX; ++I) {
      const double R = I;
      if (R >= lo && R <= hi) {
        mark(c, a, LOOP, R, GRIDDY(1), GRIDDY(1) != 0, 4);
      }
      for (int J = ILOG1; J <= 9; J += KLOG1) {
        const double Z = c.pg.LOGTAB(J) + R;
        if (Z < lo || Z > hi) continue;
        mark(c, a, LOOP, Z, GRIDDY(2), GRIDDY(2) >= 1, J == 5 ? 3 : 2);
      }
    }
  }
}

void one_axis(Core& c, int axis) {
  Axis a{axis};
  const auto& L = c.pg.PLTLIM;
  const auto& XYLIM = c.ax.XYLIM;
  const bool xa = axis == 1;
  a.lo = XYLIM(xa ? 1 : 5);
  a.hi = XYLIM(xa ? 2 : 6);
  a.span = XYLIM(xa ? 9 : 10);
  a.frame = xa ? L(2) - L(1) : L(4) - L(3);
  set_edge(c, a, xa ? L(3) : L(1), 1);
  if (c.ax.WAYS(axis) == 1) {
    linear_axis(c, a);
  } else {
    log_axis_marks(c, a);
  }
}

}  // namespace

void plotz(Core& c, double Z, int KWAY, int ITYPE) {
  const auto& L = c.pg.PLTLIM;
  const auto& B = c.lg.BOXLIM;
  const bool dashed = ITYPE == 2;
  if (KWAY == 1) {
    auto send = [&](double y, int pen) { plotp(c, Z, y, pen); };
    Pattern p{L(3)};
    plotp(c, Z, L(3), 3);
    if (B(1) < Z && Z <= B(2)) {
      if (B(4) >= L(4) && B(3) <= L(3)) return;
      if (L(3) < B(4) && L(4) > B(3)) {
        if (!dashed) {
          plotp(c, Z, B(3), 2);
          plotp(c, Z, std::min(B(4), L(4)), 3);
          plotp(c, Z, L(4), 2);
          return;
        }
        p.run_to(B(3), send);
        // Elements that fall in the box are passed over; the pattern runs
        // on so that the dashes beyond the box keep its phase.
        while (p.last < B(4)) {
          p.next();
          if (p.last >= L(4)) return;
        }
        if (p.last >= L(4)) return;
        plotp(c, Z, B(4), 3);
        plotp(c, Z, p.last, p.KPEN);
        p.run_to(L(4), send);
        return;
      }
    }
    if (dashed) {
      p.run_to(L(4), send);
    } else {
      plotp(c, Z, L(4), 2);
    }
    return;
  }
  auto send = [&](double x, int pen) { plotp(c, x, Z, pen); };
  Pattern p{L(1)};
  plotp(c, L(1), Z, 3);
  if (B(3) < Z && Z <= B(4) && L(1) < B(2) && L(2) > B(1)) {
    if (!dashed) {
      plotp(c, B(1), Z, 2);
      plotp(c, B(2), Z, 3);
      plotp(c, L(2), Z, 2);
      return;
    }
    p.run_to(B(1), send);
    while (p.last < B(2)) p.next();
    plotp(c, B(2), Z, 3);
    if (p.last > L(2)) {
      plotp(c, L(2), Z, p.KPEN);
      return;
    }
    plotp(c, p.last, Z, p.KPEN);
    p.run_to(L(2), send);
    return;
  }
  if (dashed) {
    p.run_to(L(2), send);
  } else {
    plotp(c, L(2), Z, 2);
  }
}

void grid(Core& c) {
  c.dev.pen(2);
  const int IMFIN2 = c.op.GRIDDY(2);
  one_axis(c, 1);
  c.op.GRIDDY(2) = IMFIN2;
  one_axis(c, 2);
  c.op.GRIDDY(2) = IMFIN2;
}

}  // namespace veskaro
