// Curves of the current subplot: colour, line type and legend entry of
// each, the part inside the data window with interpolated entry and exit
// points, and the optional marks on the data points. The line itself goes
// down the chain clipy -> dashp -> dashn -> dash -> plot1.
#include <algorithm>

#include "core/draw.h"
#include "core/routines.h"

namespace veskaro {
namespace {

// Law for inverse interpolation (x and y exchanged) by the law.
constexpr int INTERX[5] = {0, 1, 3, 2, 4};

int inverse_law(int law) { return (law >= 1 && law <= 4) ? INTERX[law] : 1; }

// Diamond half-size factor, the single-precision 0.2.
constexpr double kMarkFactor = static_cast<double>(0.2F);

void legend_entry(Core& c, int KCURVE, int LINTYP, double& YNEED) {
  auto& lg = c.lg;
  const double H = c.pg.PAINT(3);
  const double YMID = YNEED + 0.5 * H;
  c.wt.NTHNOW = c.wt.NTHNRM;
  dash(c, lg.SPOTS(11), YMID, 3, LINTYP);
  dash(c, lg.SPOTS(14), YMID, 2, LINTYP);
  c.wt.NTHNRM = c.wt.NTHSAV(2);
  c.wt.NTHNOW = c.wt.NTHNRM;
  const std::string& title = lg.CTITLE(KCURVE);
  const int n = std::min(lg.LTITLE(KCURVE + 2), static_cast<int>(title.size()));
  if (n > 0) symbl1(c, lg.SPOTS(10), YNEED, H, title, 0.0, n);
  YNEED -= 1.75 * H;
}

void point_marks(Core& c, int first, int last) {
  const auto& R = c.ax.XYREAL;
  const Store& s = *c.store;
  for (int I = first; I <= last; ++I) {
    const double x = s.XC(I);
    const double y = s.YC(I);
    if (x <= R(1)) continue;
    if (x >= R(2)) break;
    if (y > R(3) && y < R(4)) ptshow(c, x, y);
  }
}

// Points whose inches are worked out ahead at a time, and the fewest
// worth sharing out over threads.
constexpr int kAhead = 1 << 16;
constexpr int kShareFrom = 1 << 14;

// Works out the inches of curve points from..to (at most kAhead) ahead of
// the chain, in shares over the worker threads when there are many.
void work_ahead(Core& c, int from, int to) {
  auto& a = c.rs.draw.ahead;
  const Store& s = *c.store;
  const int n = to - from + 1;
  a.first = from;
  if (a.xi.size() < static_cast<std::size_t>(n)) {
    a.xi.resize(static_cast<std::size_t>(n));
    a.yi.resize(static_cast<std::size_t>(n));
  }
  const int parts = n < kShareFrom ? 1 : WorkerPool::capacity();
  const Core& cc = c;
  c.rs.workers.run(parts, [&](int t) {
    const auto [lo, hi] = WorkerPool::share(from, n, t, parts);
    for (int i = lo; i < hi; ++i) {
      const auto k = static_cast<std::size_t>(i - from);
      a.xi[k] = x_inch(cc, s.XC(i));
      a.yi[k] = y_inch(cc, s.YC(i));
    }
  });
}

// The part of one curve inside the x window, with the points where it
// enters and leaves interpolated by `law`.
void curve_in_window(Core& c, int first, int last, int LINTYP, int law) {
  const auto& R = c.ax.XYREAL;
  const Store& s = *c.store;
  auto& ahead = c.rs.draw.ahead;
  // Nothing worked out ahead outlives this curve: the next one may be
  // drawn on other axes.
  struct Done {
    int& at;
    ~Done() { at = 0; }
  } done{ahead.at};
  int ahead_end = first;
  int IPEN = 3;
  bool IPASS = false;
  double XLASTK = 0, YLASTK = 0;
  auto hand_on = [&](double x, double y) {
    IPASS = true;
    clipy(c, x, y, IPEN, LINTYP);
    IPEN = 2;
  };
  for (int I = first; I <= last; ++I) {
    if (I >= ahead_end) {
      ahead_end = std::min(last, I + kAhead - 1) + 1;
      work_ahead(c, I, ahead_end - 1);
    }
    ahead.at = I;
    double XS = s.XC(I);
    double YS = s.YC(I);
    if (XS < R(1)) {
      XLASTK = XS, YLASTK = YS;
      continue;
    }
    if (XS > R(1) && !IPASS) {
      if (I == first) {
        if (XS >= R(2)) return;
      } else {
        hand_on(R(1), terpup(R(1), XLASTK, XS, YLASTK, YS, law));
      }
    }
    if (IPASS && XS >= R(2)) {
      if (XS > R(2)) YS = terpup(R(2), XLASTK, XS, YLASTK, YS, law);
      hand_on(R(2), YS);
      return;
    }
    hand_on(XS, YS);
    XLASTK = s.XC(I), YLASTK = s.YC(I);
  }
}

}  // namespace

void pltcur(Core& c) {
  auto& wt = c.wt;
  wt.NTHNOW = wt.NTHNRM;
  const int NCURVE = c.store->NCURVE;
  if (NCURVE < 1) return;
  wt.NTHSAV(1) = wt.NTHIN;
  wt.NTHSAV(2) = wt.NTHNRM;
  wt.NTHSAV(3) = wt.NTHBIG;
  int LININ = 0;
  int ICOLOR = 2;
  double YNEED = c.lg.NEEDED(1);
  const bool main_plot = c.pg.KSUB == 1;
  const int first = main_plot ? 1 : NCURVE + 1;
  const int last = std::min(main_plot ? NCURVE : 2 * NCURVE, kMaxRanges);
  const int law = c.op.TERPIT(main_plot ? 1 : 2);
  for (int KCURVE = first; KCURVE <= last; ++KCURVE) {
    ++LININ;
    int LINTYP = LININ;
    ++ICOLOR;
    if (c.lg.ONIT(KCURVE) <= 0) continue;
    c.dev.pen(ICOLOR);
    if (LININ == c.op.REMAST) LINTYP = 1;
    if (main_plot && c.op.LEGOFF == 0) {
      legend_entry(c, KCURVE, LINTYP, YNEED);
    }
    wt.NTHNOW = wt.NTHNRM;
    const int ISTARK = c.store->ICRANG(1, KCURVE);
    const int IENDK = c.store->ICRANG(2, KCURVE);
    if (c.op.SHOWPT > 0) point_marks(c, ISTARK, IENDK);
    curve_in_window(c, ISTARK, IENDK, LINTYP, law);
  }
  wt.NTHIN = wt.NTHSAV(1);
  wt.NTHNRM = wt.NTHSAV(2);
  wt.NTHBIG = wt.NTHSAV(3);
}

void clipy(Core& c, double X, double Y, int IPEN, int LINTYP) {
  const auto& R = c.ax.XYREAL;
  auto& st = c.rs.draw.clipy;
  const int IMON2 = Y > R(4) ? 1 : (Y < R(3) ? -1 : 0);
  const int law = inverse_law(c.op.TERPIT(1));
  // x where the line from (xa, ya) to (X, Y) reaches the level Z.
  auto cross = [&](double Z, double xa, double ya) {
    return terpup(Z, ya, Y, xa, X, law);
  };
  if (IPEN != 2) {
    if (IMON2 == 0) dashp(c, X, Y, IPEN, LINTYP);
  } else {
    const int IMON1 = st.IMON1;
    const double lev1 = IMON1 > 0 ? R(4) : R(3);
    const double lev2 = IMON2 > 0 ? R(4) : R(3);
    if (IMON1 == 0) {
      if (IMON2 == 0) {
        dashp(c, X, Y, 2, LINTYP);
      } else {
        dashp(c, cross(lev2, st.X1, st.Y1), lev2, 2, LINTYP);
      }
    } else if (IMON2 != IMON1) {
      const double xin = cross(lev1, st.X1, st.Y1);
      dashp(c, xin, lev1, 3, LINTYP);
      if (IMON2 == 0) {
        dashp(c, X, Y, 2, LINTYP);
      } else {
        dashp(c, cross(lev2, xin, lev1), lev2, 2, LINTYP);
      }
    }
  }
  st.X1 = X;
  st.Y1 = Y;
  st.IMON1 = IMON2;
}

void ptshow(Core& c, double X, double Y) {
  const double XI = xplane_to_inch(c, xdata_to_plane(c, X));
  const double YI = yplane_to_inch(c, ydata_to_plane(c, Y));
  const double DPT = kMarkFactor * c.pg.PAINT(1);
  const auto& B = c.lg.BOXLIM;
  if (XI + DPT >= B(1) && XI - DPT <= B(2) && YI + DPT >= B(3) &&
      YI - DPT <= B(4)) {
    return;
  }
  plot1(c, XI - DPT, YI, 3);
  plot1(c, XI, YI + DPT, 2);
  plot1(c, XI + DPT, YI, 2);
  plot1(c, XI, YI - DPT, 2);
  plot1(c, XI - DPT, YI, 2);
}

}  // namespace veskaro
