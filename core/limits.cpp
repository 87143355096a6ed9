// The walk over every curve and point set of a plot against the requested
// window: points kept per curve and set, the data limits, the longest
// legend title and, on a plot with a ratio subplot, the ratio data.
#include "core/limits.h"

#include <algorithm>
#include <cmath>

namespace veskaro {
namespace {

// Walks curve k against the x window, handing its points (and the points
// interpolated at the window edges) to rangec.
void walk_curve(Core& c, int k, int& IPASS, int& KPASS) {
  Store& s = *c.store;
  const OptionBlocks& op = c.op;
  const int law = op.TERPIT(1);
  int IPICK = 0;
  double XLASTK = 0;
  double YLASTK = 0;
  const int first = s.ICRANG(1, k);
  const int last = s.ICRANG(2, k);
  for (int i = first; i <= last; ++i) {
    const double x = s.XC(i);
    const double y = s.YC(i);
    const bool firstpt = i == first;
    // The point at the window's left edge, before the first point inside.
    auto pass_xmin = [&] {
      if (firstpt || IPICK != 0 || op.KXMIN == 0) return;
      rangec(c, op.XMIN, terpup(op.XMIN, x, XLASTK, y, YLASTK, law), k, IPASS,
             KPASS, IPICK, i);
    };
    if (op.KXMIN == 0 && op.KXMAX == 0) {
      rangec(c, x, y, k, IPASS, KPASS, IPICK, i);
    } else if (op.KXMIN != 0 && x < op.XMIN) {
      // Left of the window: only remembered as the previous point.
    } else if (op.KXMAX == 0 || x < op.XMAX) {
      pass_xmin();
      rangec(c, x, y, k, IPASS, KPASS, IPICK, i);
    } else {
      if (firstpt) return;  // starts at or beyond the right edge
      pass_xmin();
      if (x > op.XMAX) {
        rangec(c, op.XMAX, terpup(op.XMAX, x, XLASTK, y, YLASTK, law), k, IPASS,
               KPASS, IPICK, i);
        return;
      }
      rangec(c, x, y, k, IPASS, KPASS, IPICK, i);
    }
    XLASTK = x;
    YLASTK = y;
  }
}

// Widens [lo, hi] to take in [a, b]; the first pair taken sets it.
void take(int& flag, double& lo, double& hi, double a, double b) {
  if (flag == 0) {
    flag = 1;
    lo = a;
    hi = b;
    return;
  }
  lo = std::min(lo, a);
  hi = std::max(hi, b);
}

// Walks point set k: counts its points inside the window, takes their
// extents into the data limits and builds its ratio point set.
void walk_set(Core& c, int k, int& NEXTP, int& IPASS, int& KPASS) {
  Store& s = *c.store;
  const OptionBlocks& op = c.op;
  Vec<double, 10>& XYLIM = c.ax.XYLIM;
  Vec<int, 122>& ONIT = c.lg.ONIT;
  const bool logx = logreq(op.KPLANE(1));
  const bool logy = logreq(op.KPLANE(2));
  const int KRAT = s.NPOINT + k;
  c.lg.CNEXT(4) = c.lg.CNEXT(5);
  c.lg.CNEXT(6) = c.lg.CNEXT(5);
  s.IPRANG(1, KRAT) = NEXTP;
  s.IPRANG(2, KRAT) = NEXTP;
  for (int i = s.IPRANG(1, k); i <= s.IPRANG(2, k); ++i) {
    const double x = s.XP(i);
    const double y = s.YP(i);
    if ((op.KXMIN != 0 && x < op.XMIN) || (op.KXMAX != 0 && x > op.XMAX) ||
        (op.KYMIN != 0 && y < op.YMIN) || (op.KYMAX != 0 && y > op.YMAX)) {
      continue;
    }
    ++ONIT(60 + k);
    const bool xbar = op.ERRBAR(1) == 1;
    const bool ybar = op.ERRBAR(2) == 1;
    const double XNOWM = xbar ? x - s.DXM(i) : x;
    const double XNOWP = xbar ? x + s.DXP(i) : x;
    const double YNOWM = ybar ? y - s.DYM(i) : y;
    const double YNOWP = ybar ? y + s.DYP(i) : y;
    if (!(logx && XNOWM <= 0) && !(logy && YNOWM <= 0)) {
      if (IPASS == 0) {
        IPASS = 1;
        XYLIM(1) = XNOWM;
        XYLIM(2) = XNOWP;
        XYLIM(5) = YNOWM;
        XYLIM(6) = YNOWP;
      } else {
        XYLIM(1) = std::min(XYLIM(1), XNOWM);
        XYLIM(2) = std::max(XYLIM(2), XNOWP);
        XYLIM(5) = std::min(XYLIM(5), YNOWM);
        XYLIM(6) = std::max(XYLIM(6), YNOWP);
      }
    }
    // A ratio point needs a reference curve and y limits gathered in this
    // walk to compare the reference value with.
    if (c.pg.NSUB < 2 || NEXTP > kMaxSetPoints || s.NCURVE < 1 || IPASS == 0) {
      continue;
    }
    double CURVE1 = 0;
    int IMOK = 0;
    curved(c, x, CURVE1, IMOK);
    if (IMOK != 1 || CURVE1 == 0 || CURVE1 < XYLIM(5) || CURVE1 > XYLIM(6)) {
      continue;
    }
    s.XP(NEXTP) = x;
    s.DXP(NEXTP) = s.DXP(i);
    s.DXM(NEXTP) = s.DXM(i);
    // The ends of a ratio point are the ratios of the point's ends; a
    // negative reference turns the point upside down, so its lower
    // uncertainty becomes the upper one and the other way round.
    const bool flip = CURVE1 < 0;
    const double aref = std::fabs(CURVE1);
    s.YP(NEXTP) = y / CURVE1;
    s.DYP(NEXTP) = (flip ? s.DYM(i) : s.DYP(i)) / aref;
    s.DYM(NEXTP) = (flip ? s.DYP(i) : s.DYM(i)) / aref;
    ++ONIT(60 + KRAT);
    s.IPRANG(2, KRAT) = NEXTP;
    ++NEXTP;
    const double r1 = (flip ? YNOWP : YNOWM) / CURVE1;
    const double r2 = (flip ? YNOWM : YNOWP) / CURVE1;
    if (logy && (r1 <= 0 || r2 <= 0)) continue;
    take(KPASS, XYLIM(7), XYLIM(8), r1, r2);
  }
}

}  // namespace

void take_ratio(Core& c, double LO, double HI, int& KPASS) {
  take(KPASS, c.ax.XYLIM(7), c.ax.XYLIM(8), LO, HI);
}

void scalxy(Core& c, int& IPASS) {
  Store& s = *c.store;
  LegendBlocks& lg = c.lg;
  const OptionBlocks& op = c.op;
  Vec<int, 122>& ONIT = lg.ONIT;
  c.rs.limits.IBADLM = 0;
  lg.CNEXT(2) = s.ICRANG(1, 1);
  lg.CNEXT(3) = s.ICRANG(2, 1);
  IPASS = 0;
  int KPASS = 0;
  lg.TITMAX = 0;
  ONIT(121) = 0;
  if (s.NCURVE >= 1) {
    lg.CNEXT(1) = s.ICRANG(2, s.NCURVE) + 1;
    int i = lg.CNEXT(2);
    while (op.KXMIN != 0 && i <= lg.CNEXT(3) && s.XC(i) < op.XMIN) ++i;
    lg.CNEXT(5) = i;
    for (int k = 1; k <= 60; ++k) ONIT(k) = 0;
    for (int k = 1; k <= s.NCURVE; ++k) {
      lg.CNEXT(4) = lg.CNEXT(5);
      lg.CNEXT(6) = lg.CNEXT(5);
      walk_curve(c, k, IPASS, KPASS);
      if (ONIT(k) > 0) {
        ++ONIT(121);
        lg.TITMAX = std::max(lg.TITMAX, lg.LTVIS(k + 2));
      }
    }
  }
  ONIT(122) = 0;
  if (s.NPOINT >= 1) {
    for (int k = 61; k <= 120; ++k) ONIT(k) = 0;
    int NEXTP = s.IPRANG(2, s.NPOINT) + 1;
    for (int k = 1; k <= s.NPOINT; ++k) {
      walk_set(c, k, NEXTP, IPASS, KPASS);
      if (ONIT(60 + k) > 0) {
        ++ONIT(122);
        lg.TITMAX = std::max(lg.TITMAX, lg.LTVIS(k + 32));
      }
    }
  }
  Vec<double, 10>& XYLIM = c.ax.XYLIM;
  if (op.KXMIN != 0) XYLIM(1) = op.XMIN;
  if (op.KXMAX != 0) XYLIM(2) = op.XMAX;
  if (op.KYMIN != 0) XYLIM(5) = op.YMIN;
  if (op.KYMAX != 0) XYLIM(6) = op.YMAX;
}

void rangec(Core& c, double X, double Y, int K, int& IPASS, int& KPASS,
            int& IPICK, int IPT) {
  const OptionBlocks& op = c.op;
  int& IYLAST = c.rs.limits.IYLAST;
  const bool logy = logreq(op.KPLANE(2));
  if (logreq(op.KPLANE(1)) && X <= 0) return;
  ++IPICK;
  int state = 0;
  if (op.KYMIN != 0 && Y < op.YMIN) {
    state = -1;
  } else if (op.KYMAX != 0 && Y > op.YMAX) {
    state = 1;
  } else if (logy && Y <= 0) {
    // Inside the window but not drawable on a log axis: no count and no
    // limits, but its ratio still exists.
    ratcur(c, X, Y, K, KPASS, IPT);
    IYLAST = -1;
    return;
  }
  if (state != 0 && (IPICK == 1 || state == IYLAST)) {
    IYLAST = state;
    return;
  }
  ++c.lg.ONIT(K);
  if (logy && Y <= 0) return;
  Vec<double, 10>& XYLIM = c.ax.XYLIM;
  if (IPASS == 0) {
    IPASS = 1;
    XYLIM(1) = X;
    XYLIM(2) = X;
    XYLIM(5) = Y;
    XYLIM(6) = Y;
  } else {
    XYLIM(1) = std::min(XYLIM(1), X);
    XYLIM(2) = std::max(XYLIM(2), X);
    XYLIM(5) = std::min(XYLIM(5), Y);
    XYLIM(6) = std::max(XYLIM(6), Y);
  }
  ratcur(c, X, Y, K, KPASS, IPT);
  IYLAST = state;
}

}  // namespace veskaro
