// The legend box: its size and the anchors of its texts, the y extent of
// the data under an x range, and the placement of the box inside the frame
// of the main subplot, widening an axis range when no place is free.
#include <algorithm>
#include <cmath>

#include "core/limits.h"

namespace veskaro {
namespace {

// Left and right of a box of the given width against the frame: side 1
// at the left, 2 in the centre, 3 at the right.
Edges side_edges(const Core& c, int side, double width) {
  const Vec<double, 6>& P = c.pg.PLTLIM;
  if (side == 1) return {P(1), P(1) + width};
  if (side == 3) return {P(2) - width, P(2)};
  const double left = (P(1) + P(2) - width) / 2;
  return {left, left + width};
}

// An x edge of the frame (plot units) in data units.
double x_data(const Core& c, double edge) {
  const Vec<double, 6>& P = c.pg.PLTLIM;
  const Vec<double, 10>& XYLIM = c.ax.XYLIM;
  const double v = (XYLIM(2) * (edge - P(1)) + XYLIM(1) * (P(2) - edge)) / P(5);
  return c.ax.WAYS(1) == 2 ? std::pow(10.0, v) : v;
}

// A y value in data units in plot units; on a logarithmic y axis a value
// of 0 or less goes far below the frame (`far`).
double y_plot(const Core& c, double y, double far) {
  const Vec<double, 6>& P = c.pg.PLTLIM;
  const Vec<double, 10>& XYLIM = c.ax.XYLIM;
  double v = y;
  if (c.ax.WAYS(2) == 2) {
    if (y <= 0) return far;
    v = std::log10(y);
  }
  return (P(3) * (XYLIM(6) - v) + P(4) * (v - XYLIM(5))) / XYLIM(10);
}

// Sets the box's y edges against the frame's top (2) or bottom (1).
void box_at_end(Core& c, int end) {
  Vec<double, 6>& B = c.lg.BOXLIM;
  const Vec<double, 6>& P = c.pg.PLTLIM;
  if (end == 2) {
    B(3) = P(4) - B(6);
    B(4) = P(4);
  } else {
    B(3) = P(3);
    B(4) = P(3) + B(6);
  }
}

// Looks at the box at one side of the frame, at its top and at its
// bottom, and keeps the place with the most room.
void try_side(Core& c, int side, const Edges& YALL) {
  LimitState& st = c.rs.limits;
  const Vec<double, 6>& P = c.pg.PLTLIM;
  const Vec<double, 6>& B = c.lg.BOXLIM;
  const Edges xe = side_edges(c, side, B(5));
  Edges YW = YALL;
  ylimit(c, {x_data(c, xe[0]), x_data(c, xe[1])}, YW);
  const double y1 = y_plot(c, YW[0], -10 * P(3));
  const double y2 = y_plot(c, YW[1], -10 * P(4));
  const double rooms[2] = {P(4) - y2, y1 - P(3)};
  for (int end = 2; end >= 1; --end) {
    const double room = rooms[2 - end];
    if (side != 2 && room > st.BIGEDG) {
      st.BIGEDG = room;
      st.IMBIG3 = side;
    }
    if (room > st.BIGBOX) {
      st.BIGBOX = room;
      st.IMBIG2 = end;
      st.BOXBIG(1) = xe[0];
      st.BOXBIG(2) = xe[1];
      st.BOXBIG(3) = end == 2 ? P(4) - B(6) : P(3);
      st.BOXBIG(4) = end == 2 ? P(4) : P(3) + B(6);
      st.YDAT1 = y1;
      st.YDAT2 = y2;
    }
    if (room >= B(6)) st.IMBIG1 = 1;
  }
}

// Right side, widening x: the old x range fills the frame left of the box.
void widen_x_right(Core& c) {
  Vec<double, 6>& B = c.lg.BOXLIM;
  const Vec<double, 6>& P = c.pg.PLTLIM;
  Vec<double, 10>& XYLIM = c.ax.XYLIM;
  B(1) = P(2) - B(5);
  B(2) = P(2);
  const double DXUSED = B(1) - P(1);
  // A box at least as wide as the frame leaves no x room to widen into.
  if (DXUSED > 0) XYLIM(2) = XYLIM(1) + XYLIM(9) * P(5) / DXUSED;
  boxsiz(c);
}

}  // namespace

void boxsiz(Core& c) {
  LegendBlocks& lg = c.lg;
  Vec<double, 6>& B = lg.BOXLIM;
  Vec<double, 14>& S = lg.SPOTS;
  const Vec<double, 6>& P = c.pg.PLTLIM;
  const double W = c.pg.PAINT(5);
  const double H = c.pg.PAINT(3);
  const double SYM = c.pg.PAINT(1);
  const int ncurv = lg.ONIT(121);
  const int nsets = lg.ONIT(122);
  for (int pass = 1; pass <= 2; ++pass) {
    const double OFFT = (lg.TITMAX + 2) * W;
    double width = 0;
    if (ncurv > 0) width = std::max(width, 6 * W + OFFT);
    if (nsets > 0) width = std::max(width, W + SYM + OFFT);
    if (c.pg.NSUB > 1) width = std::max(width, 20 * W);
    S(9) = B(2);
    S(8) = S(9) - width;
    B(1) = S(8);
    if (ncurv > 0) {
      S(11) = S(8) + W;
      S(14) = S(8) + 6 * W;
      S(13) = S(14);
      S(12) = S(13) - SYM;
      S(10) = S(14) + W;
    } else {
      S(12) = S(8) + W;
      S(13) = S(12) + SYM;
      S(10) = S(13) + W;
    }
    const double pitch = 1.75 * H;
    double y = B(4);
    lg.NEEDED(1) = y - pitch;
    y -= static_cast<double>(static_cast<float>(ncurv) * 1.75F) * H;
    lg.NEEDED(2) = y - pitch;
    y -= static_cast<double>(static_cast<float>(nsets) * 1.75F) * H;
    lg.NEEDED(3) = y - pitch;
    B(3) = y - H;
    if (c.pg.NSUB > 1 && c.store->NCURVE > 1) B(3) -= 5.25 * H;
    B(5) = B(2) - B(1);
    B(6) = B(4) - B(3);
    if (pass == 2) break;
    if (B(1) < P(1)) {
      B(1) = P(1);
      B(2) = P(1) + B(5);
    }
    if (B(2) > P(2)) {
      B(2) = P(2);
      B(1) = P(2) - B(5);
    }
    if (B(3) < P(3)) {
      B(3) = P(3);
      B(4) = P(3) + B(6);
    }
    if (B(4) > P(4)) {
      B(4) = P(4);
      B(3) = P(4) - B(6);
    }
  }
}

void ylimit(Core& c, const Edges& XW, Edges& YW) {
  const Store& s = *c.store;
  const Vec<int, 122>& ONIT = c.lg.ONIT;
  bool any = false;
  if (ONIT(121) > 0) {
    for (int k = 1; k <= s.NCURVE; ++k) {
      if (ONIT(k) > 0) curve_under(c, k, XW, any, YW);
    }
  }
  if (ONIT(122) <= 0) return;
  const bool logy = logreq(c.op.KPLANE(2));
  const bool ybar = c.op.ERRBAR(2) == 1;
  for (int k = 1; k <= s.NPOINT; ++k) {
    for (int i = s.IPRANG(1, k); i <= s.IPRANG(2, k); ++i) {
      const double x = s.XP(i);
      if (x < XW[0] || x > XW[1]) continue;
      const double y = s.YP(i);
      const double lo = ybar ? y - s.DYM(i) : y;
      const double hi = ybar ? y + s.DYP(i) : y;
      if (logy && (lo <= 0 || hi <= 0)) continue;
      take(any, YW, lo, hi);
    }
  }
}

void place_legend(Core& c) {
  LimitState& st = c.rs.limits;
  Vec<double, 6>& B = c.lg.BOXLIM;
  Vec<double, 6>& P = c.pg.PLTLIM;
  Vec<double, 10>& XYLIM = c.ax.XYLIM;
  XYLIM(9) = XYLIM(2) - XYLIM(1);
  XYLIM(10) = XYLIM(6) - XYLIM(5);
  P(5) = P(2) - P(1);
  P(6) = P(4) - P(3);
  // A frame without width or height has no place to choose from; the box
  // stays at the top right as sized.
  if (!(P(5) > 0) || !(P(6) > 0) || XYLIM(9) == 0 || XYLIM(10) == 0) return;
  if (B(3) <= P(3)) {
    widen_x_right(c);
    return;
  }
  // What the candidates fall back on: the box at the frame's top right
  // and, under a range without data, the y extent of the whole plot.
  Edges YALL = {x_data(c, P(1)), x_data(c, P(2))};
  Edges YAXIS = {c.ax.WAYS(2) == 2 ? std::pow(10.0, XYLIM(5)) : XYLIM(5),
                 c.ax.WAYS(2) == 2 ? std::pow(10.0, XYLIM(6)) : XYLIM(6)};
  ylimit(c, YALL, YAXIS);
  YALL = YAXIS;
  st.IMBIG1 = 0;
  st.IMBIG2 = 0;
  st.IMBIG3 = 0;
  st.BIGBOX = 0;
  st.BIGEDG = 0;
  st.BOXBIG(1) = P(2) - B(5);
  st.BOXBIG(2) = P(2);
  st.BOXBIG(3) = P(4) - B(6);
  st.BOXBIG(4) = P(4);
  st.YDAT1 = y_plot(c, YALL[0], -10 * P(3));
  st.YDAT2 = y_plot(c, YALL[1], -10 * P(4));
  for (int side = 1; side <= 3; ++side) try_side(c, side, YALL);
  for (int i = 1; i <= 4; ++i) B(i) = st.BOXBIG(i);
  B(5) = B(2) - B(1);
  B(6) = B(4) - B(3);
  if (st.IMBIG1 == 1) {
    boxsiz(c);
    return;
  }
  const double XPAND = (P(5) - B(5)) * P(6);
  const double YPAND = (P(6) - (B(6) - st.BIGBOX)) * P(5);
  if (XPAND > YPAND) {
    box_at_end(c, 1);
    if (st.IMBIG3 == 3) {
      widen_x_right(c);
      return;
    }
    B(1) = P(1);
    B(2) = P(1) + B(5);
    const double DXUSED = P(2) - B(2);
    if (DXUSED > 0) XYLIM(1) = XYLIM(2) - XYLIM(9) * P(5) / DXUSED;
    boxsiz(c);
    return;
  }
  // Widen y, keeping the best candidate's x edges.
  if (st.IMBIG2 == 2) {
    box_at_end(c, 2);
    const double DYUSED = B(3) - P(3);
    const double DYOPEN = st.YDAT2 - P(3);
    if (DYUSED > 0) XYLIM(6) = XYLIM(5) + kF105 * XYLIM(10) * DYOPEN / DYUSED;
  } else {
    box_at_end(c, 1);
    const double DYUSED = P(4) - B(4);
    const double DYOPEN = P(4) - st.YDAT1;
    if (DYUSED > 0) XYLIM(5) = XYLIM(6) - kF105 * XYLIM(10) * DYOPEN / DYUSED;
  }
  boxsiz(c);
}

}  // namespace veskaro
