// The option menu after each plot: waits for a choice and applies it to the
// settings of the next drawing of the same plot.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>

#include "core/menu.h"

namespace veskaro {

namespace {

// Character size step: the single-precision 1.2 widened to double.
constexpr double kSizeStep = static_cast<double>(1.2F);
constexpr double kSizeMax = 2.0;
constexpr double kSizeMin = 0.5;

// Linear and logarithmic scale codes swap; the sign of the request stays.
int swapscale(int ways) {
  switch (ways) {
    case 1:
      return 2;
    case 2:
      return 1;
    case -1:
      return -2;
    case -2:
      return -1;
    default:
      return ways;
  }
}

// Toggles the scale of axis i (1 = x, 2 = y) from the one in force after
// the last drawing; a first request of the same magnitude comes back with
// its own sign. A window limit below 0 keeps the axis as it is.
void scaletoggle(Core& c, int i, double lo, double hi) {
  auto& op = c.op;
  if (lo < 0 || hi < 0) return;
  const int ways = swapscale(op.KWAYSN(i));
  c.ax.WAYS(i) = ways;
  op.KPLANE(i) = ways;
  if (ways == std::abs(op.KPLAN0(i))) op.KPLANE(i) = op.KPLAN0(i);
  op.TERPIT(1) = op.KTERP0(1);
  op.TERPIT(2) = op.KTERP0(2);
}

// 10 to the power n in single precision.
float tenpower(int n) {
  float p = 1.0F;
  for (int k = 0; k < std::abs(n); ++k) p *= 10.0F;
  return n < 0 ? 1.0F / p : p;
}

// One zoom pick: waits until the pick falls within the frame's x range,
// marks it with a line across the plot area and returns its position on
// the virtual page. False on a key.
bool zoompick(Core& c, double& xi) {
  auto& pg = c.pg;
  const bool rotated = pg.IROTAT == 1;
  for (;;) {
    int kway = 0;
    double xin = 0;
    double yin = 0;
    mouseyd(c, kway, xin, yin, 1, 4);
    if (kway == 4) return false;
    // On a rotated page the plot's x axis runs along the device's y.
    const double along = rotated ? yin : xin;
    xi = (along - pg.XOFF) / pg.XSCALE;
    if (xi < pg.PLTLIM(1) || xi > pg.PLTLIM(2)) continue;
    const double bottom = pg.SUBPLT(1) * pg.YSCALE + pg.YOFF;
    const double top = pg.SUBPLT(2) * pg.YSCALE + pg.YOFF;
    c.dev.pen(1);
    if (rotated) {
      plotd(c, bottom, along, 3);
      plotd(c, top, along, 2);
    } else {
      plotd(c, along, bottom, 3);
      plotd(c, along, top, 2);
    }
    return true;
  }
}

// Zoom of the x window by two picks on the frame; the scales are chosen
// afresh for the new window. Returns 0 when cancelled, else 1.
int zoom(Core& c) {
  auto& pg = c.pg;
  auto& op = c.op;
  auto& ax = c.ax;
  c.dev.pen(2);
  c.dev.showtext(45, 0, kZoomPrompt, static_cast<int>(kZoomPrompt.size()));
  double xi1 = 0;
  double xi2 = 0;
  if (!zoompick(c, xi1)) return 0;
  if (!zoompick(c, xi2)) return 0;
  if (xi1 == xi2) return 0;
  if (xi1 > xi2) std::swap(xi1, xi2);

  pg.PLTLIM(5) = pg.PLTLIM(2) - pg.PLTLIM(1);
  const auto dataval = [&](double xi) {
    const double v = (ax.XYLIM(2) * (xi - pg.PLTLIM(1)) +
                      ax.XYLIM(1) * (pg.PLTLIM(2) - xi)) /
                     pg.PLTLIM(5);
    if (ax.WAYS(1) == 1) return v * static_cast<double>(tenpower(ax.IEXPX));
    return std::pow(10.0, v);
  };
  op.XMIN = dataval(xi1);
  op.XMAX = dataval(xi2);
  op.KXMIN = 1;
  op.KXMAX = 1;
  op.KPLANE(1) = 0;
  op.KPLANE(2) = 0;
  ax.WAYS(1) = 0;
  ax.WAYS(2) = 0;
  op.TERPIT(1) = op.KTERP0(1);
  op.TERPIT(2) = op.KTERP0(2);
  return 1;
}

// Back to the window, scales and laws of the plot's first drawing.
void restore(Core& c) {
  auto& op = c.op;
  op.XMIN = op.XSTART;
  op.XMAX = op.XEND;
  op.KXMIN = 1;
  op.KXMAX = 1;
  for (int i = 1; i <= 2; ++i) {
    op.KPLANE(i) = op.KPLAN0(i);
    c.ax.WAYS(i) = op.KWAYS0(i);
    op.TERPIT(i) = op.KTERP0(i);
  }
}

// Shows or hides the ratio subplot. Without a curve there is no reference
// to divide by, and the ratio subplot stays off. The subplot extents are
// set for the new count at once: an overlay layout does not advance to a
// new cell before the redraw, so nothing else would set them.
void ratiotoggle(Core& c) {
  auto& pg = c.pg;
  if (pg.NSUB == 1 && c.store->NCURVE < 1) return;
  pg.NSUB = 3 - pg.NSUB;
  double height = 0;
  split_subplots(pg, height);
}

// Grid lines of option 11 to 16 as (major, minor): 0 ticks, 1 solid,
// 2 dashed.
void gridchoice(Core& c, int kopt) {
  const int i = kopt - 11;
  c.op.GRIDDY(1) = i == 0 ? 0 : (i == 1 || i == 3) ? 2 : 1;
  c.op.GRIDDY(2) = i < 3 ? 0 : i == 5 ? 1 : 2;
}

// Larger characters, only while the legend box stays within half the
// frame each way.
void larger(Core& c) {
  auto& pg = c.pg;
  auto& lg = c.lg;
  if (pg.MULTHT >= kSizeMax) return;
  pg.PLTLIM(5) = pg.PLTLIM(2) - pg.PLTLIM(1);
  lg.BOXLIM(5) = lg.BOXLIM(2) - lg.BOXLIM(1);
  lg.BOXLIM(6) = lg.BOXLIM(4) - lg.BOXLIM(3);
  if (lg.BOXLIM(5) > 0.5 * pg.PLTLIM(5)) return;
  if (lg.BOXLIM(6) > 0.5 * (pg.PLTTOP(2) - pg.PLTTOP(1))) return;
  pg.MULTHT = std::min(pg.MULTHT * kSizeStep, kSizeMax);
  int same_cell = 1;
  setup(c, same_cell);
}

void smaller(Core& c) {
  auto& pg = c.pg;
  if (pg.MULTHT < kSizeMin) return;
  pg.MULTHT = std::max(pg.MULTHT / kSizeStep, kSizeMin);
  int same_cell = 1;
  setup(c, same_cell);
}

// Applies option kopt; returns 1 to draw the plot again, 0 to go on.
int apply(Core& c, int kopt) {
  auto& op = c.op;
  switch (kopt) {
    case 1:
      scaletoggle(c, 1, op.XMIN, op.XMAX);
      return 1;
    case 2:
      scaletoggle(c, 2, op.YMIN, op.YMAX);
      return 1;
    case 3:
      return zoom(c);
    case 4:
      op.SHOWPT = 1 - op.SHOWPT;
      return 1;
    case 5:
      return 0;
    case 6:
      restore(c);
      return 1;
    case 7:
      ratiotoggle(c);
      return 1;
    case 8:
      op.ERRBAR(1) = 1 - op.ERRBAR(1);
      return 1;
    case 9:
      op.ERRBAR(2) = 1 - op.ERRBAR(2);
      return 1;
    case 10:
      c.dev.newback();
      return 1;
    case 11:
    case 12:
    case 13:
    case 14:
    case 15:
    case 16:
      gridchoice(c, kopt);
      return 1;
    case 17:
      op.LEGOFF = 1 - op.LEGOFF;
      return 1;
    case 18:
      larger(c);
      return 1;
    case 19:
      smaller(c);
      return 1;
    case 36:
      endit(c);
    default:
      return 1;
  }
}

}  // namespace

void action(Core& c, int& IMACTIVE) {
  auto& mn = c.mn;
  IMACTIVE = 1;
  for (;;) {
    topper(c);
    c.dev.pen(2);
    c.dev.showtext(54, 0, kMenuPrompt, static_cast<int>(kMenuPrompt.size()));
    topline(c);

    int kopt = 0;
    int ix = 0;
    int iy = 0;
    kiwi(c, kopt, ix, iy);
    if (kopt < 1) {
      IMACTIVE = 0;
      return;
    }

    // Mark the choice: prompt erased, caption shown in the strip, cell
    // outlined.
    c.dev.pen(3);
    c.dev.showtext(54, 0, std::string(26, ' '), 26);
    topline(c);
    textbox(c, ix, iy, mn.OPS(kopt), 3);
    c.dev.pen(3);
    c.dev.showtext(36, 0, mn.OPS(kopt), 10);
    c.dev.pen(6);
    boxcolord(c, {mn.XBOXES(ix), mn.XBOXES(ix + 1)},
              {mn.YBOXES(iy), mn.YBOXES(iy + 1)}, -1, 3);

    // A picture dump leaves the plot as it is and shows the menu again.
    if (kopt == 25) {
      c.dev.printit();
      continue;
    }
    IMACTIVE = apply(c, kopt);
    return;
  }
}

}  // namespace veskaro
