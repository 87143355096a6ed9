// Frame annotation: page edge, frame, titles, zero line, legend box or
// maximum-difference text, axis labels with their power-of-ten multiplier
// and the axis numbers on linear and logarithmic axes.
#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>

#include "core/draw.h"
#include "core/routines.h"

namespace veskaro {
namespace {

constexpr std::string_view MAXDIF = " Maximum Difference";
constexpr std::string_view OVER100 = "Over 100%";
constexpr std::string_view PERCNT = "%";
constexpr std::string_view AT = " at X=";
constexpr std::string_view PARENL = "(";
constexpr std::string_view TIME10 = "10";
constexpr std::string_view PARENR = ")";
constexpr std::string_view DIGITS = "123456789";
constexpr std::string_view RATBCD = "Ratios";

// Spacing of the y numbers, the single-precision 1.2.
constexpr double kNumberPitch = static_cast<double>(1.2F);

// No y number drawn yet: above every height on the page.
constexpr double kNoNumber = std::numeric_limits<double>::infinity();

// Draws NCHAR characters of TEXT starting at character FROM (counted from
// 1); nothing when the range is empty.
void text_at(Core& c, double X, double Y, double HT, std::string_view TEXT,
             double ANGLE, int FROM, int NCHAR) {
  const int start = std::max(FROM, 1) - 1;
  if (start >= static_cast<int>(TEXT.size())) return;
  const std::string_view rest = TEXT.substr(static_cast<std::size_t>(start));
  NCHAR = std::min(NCHAR, static_cast<int>(rest.size()));
  if (NCHAR < 1) return;
  symbl1(c, X, Y, HT, rest, ANGLE, NCHAR);
}

void text_at(Core& c, double X, double Y, double HT, std::string_view TEXT,
             double ANGLE) {
  text_at(c, X, Y, HT, TEXT, ANGLE, 1, static_cast<int>(TEXT.size()));
}

// The frame outline through the legend-box cut.
void frame_outline(Core& c) {
  const auto& L = c.pg.PLTLIM;
  plvhn(c, L(1), L(3), 3);
  plvhn(c, L(1), L(4), 2);
  plvhn(c, L(2), L(4), 2);
  plvhn(c, L(2), L(3), 2);
  plvhn(c, L(1), L(3), 2);
}

void rectangle(Core& c, double x1, double x2, double y1, double y2) {
  plot1(c, x1, y1, 3);
  plot1(c, x1, y2, 2);
  plot1(c, x2, y2, 2);
  plot1(c, x2, y1, 2);
  plot1(c, x1, y1, 2);
}

// An axis label with its optional power-of-ten multiplier. The label runs
// along the axis from `along` (x for the x axis, y for the y axis) at
// `across`; `raised` is where the exponent stands across the axis.
// LEN1, VIS1: the label part; LEN2: the whole label.
struct AxisLabel {
  std::string_view text;
  int LEN1, VIS1, LEN2, IEXP;
};

void axis_label(Core& c, const AxisLabel& lab, double along, double across,
                double raised, bool upward) {
  const double H = c.pg.PAINT(3);
  const double W = c.pg.PAINT(5);
  const double ang = upward ? 90.0 : 0.0;
  auto put = [&](std::string_view t, int from, int n) {
    if (upward) {
      text_at(c, across, along, H, t, ang, from, n);
    } else {
      text_at(c, along, across, H, t, ang, from, n);
    }
  };
  auto exponent = [&]() {
    if (upward) {
      numbr1(c, raised, along, H, lab.IEXP, ang, -1);
    } else {
      numbr1(c, along, raised, H, lab.IEXP, ang, -1);
    }
  };
  const int e = lab.IEXP;
  if (e == 0) {
    put(lab.text, 1, lab.LEN2);
    return;
  }
  const int IZLAB = 4 + (std::abs(e) > 9 ? 1 : 0) + (e < 0 ? 1 : 0);
  along -= IZLAB * W / 2;
  if (lab.LEN2 > lab.LEN1) {
    put(lab.text, 1, lab.LEN1 + 2);
    along += (lab.VIS1 + 2) * W;
    put(TIME10, 1, 2);
    along += 2 * W;
    exponent();
    along += (IZLAB - 2) * W;
    put(lab.text, lab.LEN1 + 3, lab.LEN2 - lab.LEN1 - 2);
  } else {
    put(lab.text, 1, lab.LEN1);
    along += (lab.VIS1 + 1) * W;
    put(PARENL, 1, 1);
    along += W;
    put(TIME10, 1, 2);
    along += 2 * W;
    exponent();
    along += (IZLAB - 2) * W;
    put(PARENR, 1, 1);
  }
}

// Decade labelling of a logarithmic axis from plane limits lo..hi: first
// and last decade, decade stride and which sub-decade digits get a label.
struct LogDensity {
  int first = 0, last = 0, stride = 1;
  int digit_from = 2, digit_step = 1;  // digits from..9; from 10 = none
};

LogDensity log_density(const Core& c, double lo, double hi) {
  LogDensity d;
  d.first = itrunc(lo) - (lo < 0 ? 1 : 0);
  d.last = itrunc(hi + 1);
  const int NDEC = itrunc((hi - lo) * c.pg.MULTHT);
  if (NDEC < 4) {
    d.digit_from = 2, d.digit_step = 1;
  } else if (NDEC <= 6) {
    d.digit_from = 2, d.digit_step = 2;
  } else if (NDEC <= 15) {
    d.digit_from = 5, d.digit_step = 5;
  } else {
    d.digit_from = 10, d.digit_step = 1;
    d.stride = (NDEC + 14) / 15;
    // The smallest multiple of the stride not below the first decade.
    int m = d.first / d.stride;
    if (m * d.stride < d.first) ++m;
    d.first = m * d.stride;
  }
  return d;
}

void maximum_difference(Core& c) {
  const double H = c.pg.PAINT(3);
  const double W = c.pg.PAINT(5);
  const double X = c.lg.SPOTS(8);
  c.dev.pen(3);
  double Y = c.lg.NEEDED(3);
  text_at(c, X, Y, H, MAXDIF, 0.0);
  Y -= 1.75 * H;
  const double ERRPC = 100.0 * c.lg.ERRBIG(1);
  const double AERRPC = std::abs(ERRPC);
  if (AERRPC >= 100.0) {
    text_at(c, X + 8 * W, Y, H, OVER100, 0.0);
  } else {
    numbr1(c, X + (ERRPC < 0 ? 7 : 8) * W, Y, H, ERRPC, 0.0, 3);
    text_at(c, X + (AERRPC >= 10.0 ? 15 : 14) * W, Y, H, PERCNT, 0.0);
  }
  if (AERRPC > 0) {
    Y -= 1.75 * H;
    text_at(c, X, Y, H, AT, 0.0);
    const double at = c.lg.ERRBIG(2);
    text_at(c, X + (at < 0 ? 6 : 7) * W, Y, H, out9(at), 0.0);
  }
}

void x_numbers_linear(Core& c) {
  const double H = c.pg.PAINT(3);
  const double W = c.pg.PAINT(5);
  const auto& XYLIM = c.ax.XYLIM;
  double XIOFF = W / 2;
  switch (c.ax.NDECX) {
    case 1:
      XIOFF = 1.5 * W;
      break;
    case 2:
      XIOFF = W;
      break;
    case 3:
      XIOFF = 2 * W;
      break;
    default:
      break;
  }
  const double step = c.ax.XSTEP;
  if (!(step > 0)) return;
  for (double XR = c.ax.XFIRST;; XR += step) {
    if (XR >= XYLIM(1)) {
      if (past_limit(XR, XYLIM(2), step)) return;
      // A number at the far edge stands at the limit but prints, and is
      // laid out for, the value of its step like every other number.
      double x = xplane_to_inch(c, within_limit(XR, XYLIM(2))) - XIOFF;
      // Laid out by the digits it prints: 9.9999999 shows as "10.000".
      const double shown = numbr1_magnitude(XR, c.ax.NDECX);
      if (XR < 0) x -= W / 2;
      if (shown >= 10) x -= W / 2;
      if (shown >= 100) x -= W / 2;
      if (shown >= 1000) x -= W / 2;
      numbr1(c, x, c.lg.SPOTS(3), H, XR, 0.0, c.ax.NDECX);
    }
    if (XR + step == XR) return;  // a step lost in rounding: no progress
  }
}

void x_numbers_log(Core& c) {
  const double H = c.pg.PAINT(3);
  const double W = c.pg.PAINT(5);
  const double lo = c.ax.XYLIM(1);
  const double hi = c.ax.XYLIM(2);
  const LogDensity d = log_density(c, lo, hi);
  for (int I = d.first; I <= d.last; I += d.stride) {
    if (I >= lo && I <= hi) {
      const double x = xplane_to_inch(c, I);
      text_at(c, x - W, c.lg.SPOTS(4), H, TIME10, 0.0);
      numbr1(c, x + W, c.lg.SPOTS(3), H, I, 0.0, -1);
    }
    for (int j = d.digit_from; j <= 9; j += d.digit_step) {
      const double v = I + c.pg.LOGTAB(j);
      if (v < lo || v > hi) continue;
      text_at(c, xplane_to_inch(c, v) - c.pg.PAINT(7), c.lg.SPOTS(3),
              c.pg.PAINT(4), DIGITS.substr(static_cast<std::size_t>(j - 1), 1),
              0.0);
    }
  }
}

// Where the y numbers of one call may stand. TOPY is the height above
// which the next number must start. The main subplot records the lowest
// baseline of its y numbers; the ratio subplot below it shares that edge
// and leaves out a number whose top line, spaced as within one subplot,
// would reach it, so the two never overprint.
struct YRoom {
  Core& c;
  double TOPY;
  bool below_main;

  // A number whose top line of height HT stands at baseline Y.
  bool clear_of_main(double Y, double HT) const {
    return !below_main || Y + kNumberPitch * HT < c.rs.draw.YNUMLO;
  }
  void drew(double Y) {
    if (!below_main) c.rs.draw.YNUMLO = std::min(c.rs.draw.YNUMLO, Y);
  }
};

void y_numbers_linear(Core& c, YRoom& room) {
  const double H = c.pg.PAINT(3);
  const double W = c.pg.PAINT(5);
  const auto& XYLIM = c.ax.XYLIM;
  double YIOFF = W;
  const int n = c.ax.NDECY;
  if (n < 0) {
    YIOFF = -2 * W;
  } else if (n == 1) {
    YIOFF = 0;
  } else if (n == 2) {
    YIOFF = 1.5 * W;
  } else if (n >= 3) {
    YIOFF = 2 * W;
  }
  const double step = c.ax.YSTEP;
  if (!(step > 0)) return;
  for (double YR = c.ax.YFIRST;; YR += step) {
    if (YR >= XYLIM(5)) {
      if (past_limit(YR, XYLIM(6), step)) return;
      // Placed at the limit, printed and laid out as its step.
      const double y = yplane_to_inch(c, within_limit(YR, XYLIM(6)));
      if (y > room.TOPY && room.clear_of_main(y, H)) {
        const double shown = numbr1_magnitude(YR, n);
        double x = c.lg.SPOTS(6) - YIOFF;
        if (YR >= 0) x += W;
        if (shown < 100) x += W;
        if (shown < 10) x += W;
        if (shown >= 1000) x -= W;
        numbr1(c, x, y, H, YR, 0.0, n);
        room.TOPY = y + kNumberPitch * H;
        room.drew(y);
      }
    }
    if (YR + step == YR) return;  // a step lost in rounding: no progress
  }
}

void y_numbers_log(Core& c, YRoom& room) {
  const double H = c.pg.PAINT(3);
  const double W = c.pg.PAINT(5);
  const double lo = c.ax.XYLIM(5);
  const double hi = c.ax.XYLIM(6);
  const double X = c.lg.SPOTS(6);
  const LogDensity d = log_density(c, lo, hi);
  for (int I = d.first; I <= d.last; I += d.stride) {
    if (I >= lo && I <= hi) {
      const double y = yplane_to_inch(c, I);
      // The exponent stands one height above the "10".
      if (room.clear_of_main(y + H, H)) {
        text_at(c, X, y, H, TIME10, 0.0);
        numbr1(c, X + 2 * W, y + H, H, I, 0.0, -1);
        room.drew(y);
      }
    }
    for (int j = d.digit_from; j <= 9; j += d.digit_step) {
      const double v = I + c.pg.LOGTAB(j);
      if (v < lo || v > hi) continue;
      const double y = yplane_to_inch(c, v);
      if (y <= room.TOPY || !room.clear_of_main(y, c.pg.PAINT(4))) continue;
      text_at(c, X + 5 * W, y, c.pg.PAINT(4),
              DIGITS.substr(static_cast<std::size_t>(j - 1), 1), 0.0);
      room.TOPY = y + kNumberPitch * c.pg.PAINT(4);
      room.drew(y);
    }
  }
}

}  // namespace

void border(Core& c) {
  auto& pg = c.pg;
  auto& ax = c.ax;
  auto& lg = c.lg;
  const double H = pg.PAINT(3);
  const double W = pg.PAINT(5);

  c.dev.pen(2);
  c.wt.NTHNOW = c.wt.NTHBIG;
  if (pg.IBORD > 0) {
    rectangle(c, pg.EDGE(1), pg.EDGE(2), pg.EDGE(3), pg.EDGE(4));
  }
  colorbox(c, {pg.PLTLIM(1), pg.PLTLIM(2)}, {pg.PLTLIM(3), pg.PLTLIM(4)}, 0, 2);
  frame_outline(c);

  c.wt.NTHNOW = c.wt.NTHNRM;
  lg.SPOTS(2) = pg.SUBPLT(2) + H;
  lg.SPOTS(1) = lg.SPOTS(2) + 1.75 * H;
  lg.SPOTS(3) = pg.SUBPLT(1) - 1.75 * H;
  lg.SPOTS(4) = pg.SUBPLT(1) - 2.75 * H;
  lg.SPOTS(5) = pg.SUBPLT(1) - 5 * H;
  lg.SPOTS(6) = pg.PLTLIM(1) - 6.5 * W;
  lg.SPOTS(7) = pg.PLTLIM(1) - 7 * H;
  const double XMID = (pg.PLTLIM(1) + pg.PLTLIM(2)) / 2;
  const double YMID = (pg.PLTLIM(3) + pg.PLTLIM(4)) / 2;
  const double BOTX3 = lg.SPOTS(5) + (ax.WAYS(1) == 1 ? H : 0.0);

  // Titles, centred by their printing length.
  const double top = lg.LTITLE(2) < 1 ? lg.SPOTS(2) : lg.SPOTS(1);
  const double ys[2] = {top, lg.SPOTS(2)};
  for (int i = 1; i <= 2; ++i) {
    if (lg.LTITLE(i) > 0) {
      text_at(c, XMID - 0.5 * W * lg.LTVIS(i), ys[i - 1], H, lg.STITLE(i), 0.0,
              1, lg.LTITLE(i));
    }
  }

  if (ax.YMINUS != 0 && ax.XYLIM(5) <= 0 && ax.XYLIM(6) >= 0) {
    plotx(c, ax.XYLIM(1), 0.0, 3);
    plotx(c, ax.XYLIM(2), 0.0, 2);
  }

  if (c.op.LEGOFF == 0) {
    if (pg.KSUB == 1) {
      const auto& B = lg.BOXLIM;
      colorbox(c, {B(1), B(2)}, {B(3), B(4)}, 0, 2);
      c.dev.pen(2);
      rectangle(c, B(1), B(2), B(3), B(4));
    } else if (c.store->NCURVE > 1) {
      maximum_difference(c);
    }
  }

  c.dev.pen(2);
  frame_outline(c);

  if (pg.KSUB == pg.NSUB) {
    const AxisLabel xl{ax.XLABEL, ax.LABLEN(1), ax.LABVIS(1), ax.LABLEN(2),
                       ax.IEXPX};
    axis_label(c, xl, XMID - ax.LABVIS(2) * W / 2, BOTX3, BOTX3 + 0.75 * H,
               false);
  }
  if (ax.WAYS(1) == 1) {
    x_numbers_linear(c);
  } else {
    x_numbers_log(c);
  }

  auto& XLEFTX = c.rs.draw.XLEFTX;
  if (pg.KSUB == 1) {
    XLEFTX = lg.SPOTS(7) - (ax.WAYS(2) == 2 ? H : 0.0);
    const AxisLabel yl{ax.YLABEL, ax.LABLEN(3), ax.LABVIS(3), ax.LABLEN(4),
                       ax.IEXPY};
    axis_label(c, yl, YMID - ax.LABVIS(4) * W / 2, XLEFTX, XLEFTX - 0.75 * H,
               true);
  } else {
    text_at(c, XLEFTX, YMID - 3 * W, H, RATBCD, 90.0);
  }
  // Each call's numbers start above the x label.
  YRoom room{c, lg.SPOTS(5), pg.KSUB > 1};
  if (!room.below_main) c.rs.draw.YNUMLO = kNoNumber;
  if (ax.WAYS(2) == 1) {
    y_numbers_linear(c, room);
  } else {
    y_numbers_log(c, room);
  }
}

}  // namespace veskaro
