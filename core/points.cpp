// Point sets of the current subplot: a symbol on every point inside the
// data window, optional error bars with end caps, and the legend entry of
// each set on the main subplot.
#include <algorithm>

#include "core/draw.h"
#include "core/routines.h"

namespace veskaro {
namespace {

void legend_entry(Core& c, int KCHAR, double BOXU, double& YNEED) {
  auto& lg = c.lg;
  const double H = c.pg.PAINT(3);
  const double XMID = (lg.SPOTS(12) + lg.SPOTS(13)) / 2;
  const double YMID = YNEED + 0.5 * H;
  // The sample symbol stands inside the legend box: turn the box inside
  // out so that the cut of the line routine leaves the symbol whole.
  lg.BOXLIM(1) = -lg.BOXLIM(1);
  lg.BOXLIM(2) = -lg.BOXLIM(2);
  symref(c, XMID, XMID, XMID, YMID, YMID, YMID, BOXU, KCHAR);
  const std::string& title = lg.PTITLE(KCHAR);
  const int n = std::min(lg.LTITLE(KCHAR + 32), static_cast<int>(title.size()));
  if (n > 0) symbl1(c, lg.SPOTS(10), YNEED, H, title, 0.0, n);
  lg.BOXLIM(1) = -lg.BOXLIM(1);
  lg.BOXLIM(2) = -lg.BOXLIM(2);
  YNEED -= 1.75 * H;
}

// One point with its error bars, from the data window to the frame.
void one_point(Core& c, int I, double BOXU, int KCHAR) {
  const Store& s = *c.store;
  const auto& R = c.ax.XYREAL;
  const auto& L = c.pg.PLTLIM;
  const double XS = s.XP(I);
  const double YS = s.YP(I);
  if (XS < R(1) || XS > R(2) || YS < R(3) || YS > R(4)) return;
  double XSP = XS, XSM = XS, YSP = YS, YSM = YS;
  if (c.op.ERRBAR(1) != 0) {
    XSP = std::min(XS + s.DXP(I), R(2));
    XSM = std::max(XS - s.DXM(I), R(1));
  }
  if (c.op.ERRBAR(2) != 0) {
    YSP = std::min(YS + s.DYP(I), R(4));
    YSM = std::max(YS - s.DYM(I), R(3));
  }
  auto xi = [&](double x) { return xplane_to_inch(c, xdata_to_plane(c, x)); };
  auto yi = [&](double y) { return yplane_to_inch(c, ydata_to_plane(c, y)); };
  const double XI = xi(XS);
  if (XI < L(1) || XI > L(2)) return;
  const double YI = std::clamp(yi(YS), L(3), L(4));
  const double XIM = std::max(xi(XSM), L(1));
  const double XIP = std::min(xi(XSP), L(2));
  const double YIM = std::max(yi(YSM), L(3));
  const double YIP = std::min(yi(YSP), L(4));
  symref(c, XI, XIM, XIP, YI, YIM, YIP, BOXU, KCHAR);
}

}  // namespace

void pltpt(Core& c) {
  const Store& s = *c.store;
  const int NPOINT = s.NPOINT;
  if (NPOINT < 1) return;
  // Symbols shrink as the plot holds more points.
  double BOXU = 4 * c.pg.PAINT(1);
  const int N = s.IPRANG(2, std::min(NPOINT, kMaxRanges));
  if (N > 99) BOXU /= 2;
  if (N > 599) BOXU /= 2;
  if (N > 3599) BOXU /= 2;
  int ICOLOR = 2;
  int KCHAR = 0;
  double YNEED = c.lg.NEEDED(2);
  const bool main_plot = c.pg.KSUB == 1;
  const int first = main_plot ? 1 : NPOINT + 1;
  const int last = std::min(main_plot ? NPOINT : 2 * NPOINT, kMaxRanges);
  for (int KSET = first; KSET <= last; ++KSET) {
    ++ICOLOR;
    ++KCHAR;
    if (c.lg.ONIT(KSET + 60) <= 0) continue;
    c.dev.pen(ICOLOR);
    if (main_plot && c.op.LEGOFF == 0) legend_entry(c, KCHAR, BOXU, YNEED);
    const int ISTARK = s.IPRANG(1, KSET);
    const int IENDK = s.IPRANG(2, KSET);
    for (int I = ISTARK; I <= IENDK; ++I) one_point(c, I, BOXU, KCHAR);
  }
}

void symref(Core& c, double XC, double XL, double XR, double YC, double YB,
            double YT, double HT, int KSYM) {
  const auto& ft = c.ft;
  if (KSYM < 1 || KSYM > std::min(ft.NREF, kMaxGlyphs)) return;
  const auto& L = c.pg.PLTLIM;
  const int I1 = ft.IRREF(1, KSYM);
  const int I2 = std::min(ft.IRREF(2, KSYM), kMaxRefStrokes);
  const double BOXSIZE = HT / 4;
  for (int I = std::max(I1, 1); I <= I2; ++I) {
    const double XP = std::clamp(XC + (ft.XREF(I) - 0.5) * BOXSIZE, L(1), L(2));
    const double YP = std::clamp(YC + (ft.YREF(I) - 0.5) * BOXSIZE, L(3), L(4));
    plvhn(c, XP, YP, ft.IPREF(I));
  }
  const double BOZ = BOXSIZE / 4;
  const double HTY = BOXSIZE / 2;
  const double HTX = ft.REFWID(KSYM) * HTY;
  const double XA = XC - HTX;
  if (XL < XA) {
    plvhn(c, XA, YC, 3);
    plvhn(c, XL, YC, 2);
    plvhn(c, XL, YC - BOZ, 3);
    plvhn(c, XL, YC + BOZ, 2);
  }
  const double XB = XC + HTX;
  if (XR > XB) {
    plvhn(c, XB, YC, 3);
    plvhn(c, XR, YC, 2);
    plvhn(c, XR, YC - BOZ, 3);
    plvhn(c, XR, YC + BOZ, 2);
  }
  const double YA = YC - HTY;
  if (YB < YA) {
    plvhn(c, XC, YA, 3);
    plvhn(c, XC, YB, 2);
    plvhn(c, XC - BOZ, YB, 3);
    plvhn(c, XC + BOZ, YB, 2);
  }
  if (YT > YC + HTY) {
    plvhn(c, XC, YC + HTY, 3);
    plvhn(c, XC, YT, 2);
    plvhn(c, XC - BOZ, YT, 3);
    plvhn(c, XC + BOZ, YT, 2);
  }
}

}  // namespace veskaro
