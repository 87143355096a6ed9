// The lower links of the curve chain: data units to inches with the
// subdivision of long draws on logarithmic axes (dashp), the cut at the
// legend box (dashn) and the dash patterns of the line types (dash).
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

#include "core/draw.h"
#include "core/routines.h"

namespace veskaro {
namespace {

// Draws shorter than RASTER in x or in y are not subdivided; longer ones
// are cut into steps of at most DINMAX (single-precision literals).
constexpr double RASTER = static_cast<double>(0.01F);
constexpr double DINMAX = static_cast<double>(0.05F);

// The inches of a data point, from those worked out ahead when they are
// for this very value.
bool same_value(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}
double x_inch_ahead(const Core& c, double X) {
  const auto& a = c.rs.draw.ahead;
  if (a.at != 0 && same_value(X, c.store->XC(a.at))) {
    return a.xi[static_cast<std::size_t>(a.at - a.first)];
  }
  return x_inch(c, X);
}
double y_inch_ahead(const Core& c, double Y) {
  const auto& a = c.rs.draw.ahead;
  if (a.at != 0 && same_value(Y, c.store->YC(a.at))) {
    return a.yi[static_cast<std::size_t>(a.at - a.first)];
  }
  return y_inch(c, Y);
}

// The cut of a draw from (X1, Y1) to (X, Y) running left to right (X1 < X)
// at the box B1..B4. `emit` hands points on; a draw running right to left
// is brought here mirrored in x.
template <class Emit>
void cut_rightward(double X1, double Y1, double X, double Y, double B1,
                   double B2, double B3, double B4, Emit emit) {
  if (X1 >= B2 || X <= B1) {
    emit(X, Y, 2);
    return;
  }
  // Points of the line, linear in inches.
  auto y_at = [&](double x) { return Y1 + (Y - Y1) * (x - X1) / (X - X1); };
  auto x_at = [&](double y) { return X1 + (X - X1) * (y - Y1) / (Y - Y1); };
  double xs = X1;
  double ys = Y1;
  if (xs < B1) {
    xs = B1;
    ys = y_at(B1);
    emit(xs, ys, 2);
  }
  // From below or above the box the line enters it where it reaches the
  // box's near level. It misses the box when it reaches that level only at
  // or beyond its end or the box's right edge: then it is drawn whole.
  if (ys < B3 || ys > B4) {
    const double level = ys < B3 ? B3 : B4;
    if ((ys < B3 ? Y <= B3 : Y >= B4) || x_at(level) >= std::min(X, B2)) {
      emit(X, Y, 2);
      return;
    }
    xs = x_at(level), ys = level;
    emit(xs, ys, 2);
  }
  double xexit = B2;
  if (Y > ys) {
    const double x4 = x_at(B4);
    if (x4 <= B2) xexit = x4;
  } else if (Y < ys) {
    const double x3 = x_at(B3);
    if (x3 <= B2) xexit = x3;
  }
  if (X <= xexit) {
    emit(X, Y, 3);
  } else {
    emit(xexit, y_at(xexit), 3);
    emit(X, Y, 2);
  }
}

// The vertical draw from Y1 to Y at x = X through the box's x range.
template <class Emit>
void cut_vertical(double X, double Y1, double Y, double B3, double B4,
                  Emit emit) {
  if (Y < Y1) {
    if (Y1 > B4) emit(X, B4, 2);
    if (Y < B3) {
      emit(X, B3, 3);
      emit(X, Y, 2);
    }
  } else if (Y > Y1) {
    if (Y1 < B3) emit(X, B3, 2);
    if (Y > B4) {
      emit(X, B4, 3);
      emit(X, Y, 2);
    }
  }
}

}  // namespace

void dashp(Core& c, double X, double Y, int IPEN, int LINTYP) {
  auto& st = c.rs.draw.dashp;
  const auto& L = c.pg.PLTLIM;
  const double XI = x_inch_ahead(c, X);
  const double YUNCUT = y_inch_ahead(c, Y);
  const double YI = std::clamp(YUNCUT, L(3), L(4));
  double xlast = XI;
  double ylast = YI;
  const bool log_any = log_axis(c, 1) || log_axis(c, 2);
  const bool interp = c.op.KPLANE(1) != -2 && c.op.KPLANE(2) != -2;
  const double dx = std::abs(XI - st.XILAST);
  const double dy = std::abs(YI - st.YILAST);
  const double dmax = std::max(dx, dy);
  if (IPEN == 2 && log_any && interp && dx > RASTER && dy > RASTER &&
      dmax > DINMAX) {
    const int NSTEP = itrunc(dmax / DINMAX + 1);
    const double X1 = st.X1;
    const double Y1 = st.Y1;
    const double add = (X - X1) / NSTEP;
    const double factor =
        log_axis(c, 1) ? std::exp(std::log(X / X1) / NSTEP) : 1.0;
    double x0 = X1;
    for (int k = 1; k < NSTEP; ++k) {
      x0 = log_axis(c, 1) ? x0 * factor : x0 + add;
      const double y0 = ((X - x0) * Y1 + (x0 - X1) * Y) / (X - X1);
      dashn(c, x_inch(c, x0), y_inch(c, y0), 2, LINTYP);
    }
    // The last step is the point itself, mapped like the steps before it.
    ylast = YUNCUT;
    dashn(c, XI, ylast, 2, LINTYP);
  } else {
    dashn(c, XI, YI, IPEN, LINTYP);
  }
  st.X1 = X;
  st.Y1 = Y;
  st.XILAST = xlast;
  st.YILAST = ylast;
}

void dashn(Core& c, double X, double Y, int IPEN, int LINTYP) {
  auto& st = c.rs.draw.dashn;
  const auto& B = c.lg.BOXLIM;
  const double X1 = st.X1;
  const double Y1 = st.Y1;
  st.X1 = X;
  st.Y1 = Y;
  if (IPEN != 2 || c.op.LEGOFF != 0 || (Y1 <= B(3) && Y <= B(3)) ||
      (Y1 >= B(4) && Y >= B(4))) {
    dash(c, X, Y, IPEN, LINTYP);
    return;
  }
  if (X == X1) {
    if (B(1) <= X && X <= B(2)) {
      cut_vertical(X, Y1, Y, B(3), B(4), [&](double x, double y, int pen) {
        dash(c, x, y, pen, LINTYP);
      });
    } else {
      dash(c, X, Y, 2, LINTYP);
    }
    return;
  }
  if (X > X1) {
    cut_rightward(
        X1, Y1, X, Y, B(1), B(2), B(3), B(4),
        [&](double x, double y, int pen) { dash(c, x, y, pen, LINTYP); });
    return;
  }
  // Right to left: the same cut, mirrored in x.
  cut_rightward(
      -X1, Y1, -X, Y, -B(2), -B(1), B(3), B(4),
      [&](double x, double y, int pen) { dash(c, -x, y, pen, LINTYP); });
}

void dash(Core& c, double X, double Y, int IPEN, int LINTYP) {
  auto& st = c.rs.draw.dash;
  const auto& ft = c.ft;
  if (IPEN == 3) {
    st.IMSOFT = LINTYP + 30;
    st.patterned = false;
    if (st.IMSOFT >= 1 && st.IMSOFT <= std::min(ft.NREF, kMaxGlyphs)) {
      st.JSTART = ft.IRREF(1, st.IMSOFT);
      st.ISTOP = ft.IRREF(2, st.IMSOFT);
      // A pattern needs an element of positive length to make progress;
      // one without is drawn solid.
      for (int i = st.JSTART; i <= st.ISTOP; ++i) {
        if (i >= 1 && i <= kMaxRefStrokes && ft.XREF(i) > 0) {
          st.patterned = true;
        }
      }
      if (st.JSTART < 1 || st.ISTOP > kMaxRefStrokes) st.patterned = false;
    }
    if (st.patterned) {
      st.ISTEP = st.JSTART;
      st.DLEFT = ft.XREF(st.ISTEP);
      st.KPEN = ft.IPREF(st.ISTEP);
    }
    plot1(c, X, Y, 3);
  } else if (!st.patterned) {
    plot1(c, X, Y, IPEN);
  } else {
    double D = std::hypot(X - st.XL, Y - st.YL);
    while (D > 0) {
      if (st.DLEFT <= 0) {
        st.ISTEP = st.ISTEP >= st.ISTOP ? st.JSTART : st.ISTEP + 1;
        st.DLEFT = ft.XREF(st.ISTEP);
        st.KPEN = ft.IPREF(st.ISTEP);
        // A zero-length element is still sent (a dot where it draws); a
        // negative one is passed over.
        if (st.DLEFT < 0) continue;
      }
      const double step = std::min(st.DLEFT, D);
      if (step >= D) {
        st.XL = X;
        st.YL = Y;
      } else {
        st.XL += (X - st.XL) * step / D;
        st.YL += (Y - st.YL) * step / D;
      }
      plot1(c, st.XL, st.YL, st.KPEN);
      st.DLEFT -= step;
      D -= step;
    }
  }
  st.XL = X;
  st.YL = Y;
}

}  // namespace veskaro
