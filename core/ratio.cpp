// Ratio curves (every curve divided by the reference curve, curve 1), the
// reference curve's value at an x, and the interpolation between two
// tabulated points that every part of the core uses.
#include <cmath>
#include <cstdlib>

#include "core/limits.h"

namespace veskaro {
namespace {

// Appends (x, r) to ratio curve K while the store has room.
void store_ratio(Core& c, int K, double x, double r, int& KPASS) {
  Store& s = *c.store;
  LegendBlocks& lg = c.lg;
  const int next = lg.CNEXT(1);
  if (next > kMaxCurvePoints) return;
  const int kk = s.NCURVE + K;
  if (lg.ONIT(kk) == 0) s.ICRANG(1, kk) = next;
  s.XC(next) = x;
  s.YC(next) = r;
  s.ICRANG(2, kk) = next;
  ++lg.CNEXT(1);
  ++lg.ONIT(kk);
  if (std::abs(r - 1) > std::abs(lg.ERRBIG(1))) {
    lg.ERRBIG(1) = r - 1;
    lg.ERRBIG(2) = x;
  }
  if (logreq(c.op.KPLANE(2)) && r <= 0) return;
  take_ratio(c, r, r, KPASS);
}

}  // namespace

double ratio_of(double V, double R) {
  if (R != 0) return V / R;
  if (V == 0) return 1;
  return V > 0 ? 999 : -999;
}

void ratcur(Core& c, double X, double Y, int K, int& KPASS, int IPT) {
  const Store& s = *c.store;
  LegendBlocks& lg = c.lg;
  const int first = lg.CNEXT(2);
  const int last = lg.CNEXT(3);
  if (c.pg.NSUB < 2 || last < first) return;
  if (X < s.XC(first)) return;
  if (X > s.XC(last) && lg.CNEXT(4) > last) return;
  const int law = c.op.TERPIT(1);
  bool exact = false;
  double r = 0;
  // Reference points passed since the last point of this curve: the
  // curve's value at each of them is stored before the point itself.
  while (lg.CNEXT(4) <= last) {
    const int j = lg.CNEXT(4);
    const double XR = s.XC(j);
    if (X < XR) break;
    if (X == XR) {
      r = s.YC(j);
      ++lg.CNEXT(4);
      exact = true;
      break;
    }
    if (IPT == s.ICRANG(1, K)) break;
    if (XR >= s.XC(IPT - 1)) {
      const double v =
          terpup(XR, s.XC(IPT - 1), s.XC(IPT), s.YC(IPT - 1), s.YC(IPT), law);
      store_ratio(c, K, XR, ratio_of(v, s.YC(j)), KPASS);
    }
    ++lg.CNEXT(4);
  }
  if (!exact) {
    int IMOK = 0;
    curved(c, X, r, IMOK);
    if (IMOK == 0) return;
  }
  store_ratio(c, K, X, ratio_of(Y, r), KPASS);
}

void curved(Core& c, double X, double& REF, int& IMOK) {
  const Store& s = *c.store;
  int& cursor = c.lg.CNEXT(6);
  const int first = c.lg.CNEXT(2);
  const int last = c.lg.CNEXT(3);
  IMOK = 1;
  REF = 0;
  if (last < first) {
    IMOK = 0;
    return;
  }
  if (X == s.XC(first)) {
    REF = s.YC(first);
    cursor = first + 1;
    return;
  }
  if (X == s.XC(last)) {
    REF = s.YC(last);
    cursor = first;
    return;
  }
  if (X < s.XC(first) || X > s.XC(last)) {
    IMOK = 0;
    cursor = first;
    return;
  }
  // The cursor may have been left outside the reference curve (no
  // reference point at or after the window's left edge).
  if (cursor < first || cursor > last) cursor = first;
  const int law = c.op.TERPIT(1);
  if (X == s.XC(cursor)) {
    REF = s.YC(cursor);
    if (cursor < last) ++cursor;
    return;
  }
  const int start = X > s.XC(cursor) ? cursor : first;
  for (int i = start; i <= last; ++i) {
    if (s.XC(i) > X) {
      REF = terpup(X, s.XC(i - 1), s.XC(i), s.YC(i - 1), s.YC(i), law);
      cursor = i - 1;
      return;
    }
    if (s.XC(i) == X) {
      REF = s.YC(i);
      cursor = i < last ? i + 1 : last;
      return;
    }
  }
  IMOK = 0;
  cursor = first;
}

double terpup(double X, double X1, double X2, double Y1, double Y2, int LAW) {
  if (X1 == X2) return (Y1 + Y2) / 2;
  if (Y1 == Y2) return Y1;
  if (LAW < 1 || LAW > 4) LAW = 1;
  const bool xpos = X > 0 && X1 > 0 && X2 > 0;
  const bool ypos = Y1 > 0 && Y2 > 0;
  // Law 4 without positive x values is law 2 as a whole.
  if (LAW == 4 && !xpos) LAW = 2;
  const bool logx = (LAW == 3 || LAW == 4) && xpos;
  const bool logy = (LAW == 2 || LAW == 4) && ypos;
  const double WT1 =
      logx ? std::log(X / X2) / std::log(X1 / X2) : (X - X2) / (X1 - X2);
  const double WT2 = 1 - WT1;
  if (logy) return std::exp(WT1 * std::log(Y1) + WT2 * std::log(Y2));
  return WT1 * Y1 + WT2 * Y2;
}

}  // namespace veskaro
