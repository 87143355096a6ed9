// Page transform and line primitives. Every line and rectangle of a plot
// reaches the device through these routines: plotp and colorbox map the
// virtual page into the current plot cell, plot1 gives a line its weight,
// plvhn and plvh1 keep lines out of the legend box, plotx maps plane units
// onto the frame. plotd and boxcolord pass device units straight through.
#include <cmath>

#include "core/routines.h"

namespace veskaro {
namespace {

std::array<float, 2> narrow(const Edges& v) {
  return {static_cast<float>(v[0]), static_cast<float>(v[1])};
}

}  // namespace

void plotp(Core& c, double X, double Y, int IPEN) {
  const PageBlocks& pg = c.pg;
  TransformState& s = c.rs.transform;
  if (pg.IROTAT == 1) {
    s.X = static_cast<float>(Y * pg.YSCALE + pg.YOFF);
    s.Y = static_cast<float>(X * pg.XSCALE + pg.XOFF);
  } else {
    s.X = static_cast<float>(X * pg.XSCALE + pg.XOFF);
    s.Y = static_cast<float>(Y * pg.YSCALE + pg.YOFF);
  }
  c.dev.plot(s.X, s.Y, IPEN);
}

void colorbox(Core& c, const Edges& X, const Edges& Y, int IFILL, int IBORD) {
  const PageBlocks& pg = c.pg;
  TransformState& s = c.rs.transform;
  for (int k = 1; k <= 2; ++k) {
    const double x = X[static_cast<std::size_t>(k - 1)];
    const double y = Y[static_cast<std::size_t>(k - 1)];
    if (pg.IROTAT == 1) {
      s.XP(k) = static_cast<float>(y * pg.YSCALE + pg.YOFF);
      s.YP(k) = static_cast<float>(x * pg.XSCALE + pg.XOFF);
    } else {
      s.XP(k) = static_cast<float>(x * pg.XSCALE + pg.XOFF);
      s.YP(k) = static_cast<float>(y * pg.YSCALE + pg.YOFF);
    }
  }
  // The edges go out as computed: under a negative scale XP(1) may exceed
  // XP(2).
  c.dev.boxcolor(s.XP.v, s.YP.v, IFILL, IBORD);
}

void plotd(Core& c, double X, double Y, int IPEN) {
  c.dev.plot(static_cast<float>(X), static_cast<float>(Y), IPEN);
}

void boxcolord(Core& c, const Edges& X, const Edges& Y, int IFILL, int IBORD) {
  c.dev.boxcolor(narrow(X), narrow(Y), IFILL, IBORD);
}

void plot1(Core& c, double X, double Y, int IPEN) {
  TransformState& s = c.rs.transform;
  const int n = c.wt.NTHNOW;
  if (IPEN == 2 && n >= 1) {
    const double DXY =
        std::sqrt((X - s.XL) * (X - s.XL) + (Y - s.YL) * (Y - s.YL));
    // A weighted draw of zero length has no direction: nothing is drawn.
    if (DXY > 0) {
      // One spacing along the normal on the left of the direction of travel.
      const double DXT1 = -c.wt.DTHICK * (Y - s.YL) / DXY;
      const double DYT1 = c.wt.DTHICK * (X - s.XL) / DXY;
      plotp(c, X, Y, 2);
      double DXT = DXT1;
      double DYT = DYT1;
      for (int i = 1; i <= n; ++i) {
        plotp(c, s.XL + DXT, s.YL + DYT, 3);
        plotp(c, X + DXT, Y + DYT, 2);
        DXT += DXT1;
        DYT += DYT1;
      }
      DXT = DXT1;
      DYT = DYT1;
      for (int i = 1; i <= n; ++i) {
        plotp(c, s.XL - DXT, s.YL - DYT, 3);
        plotp(c, X - DXT, Y - DYT, 2);
        DXT += DXT1;
        DYT += DYT1;
      }
      // Back to the end point, where the next draw continues.
      plotp(c, X, Y, 3);
    }
  } else {
    plotp(c, X, Y, IPEN);
  }
  s.XL = X;
  s.YL = Y;
}

namespace {

using Send = void (*)(Core&, double, double, int);

// The legend-box cut shared by plvhn and plvh1: a horizontal or vertical
// draw that would cross the legend box BOXLIM(1..4) is sent in pieces that
// leave the box free. (X1, Y1) is the caller's remembered start point.
void cutbox(Core& c, double X, double Y, int IPEN, Send send, double& X1,
            double& Y1) {
  const double B1 = c.lg.BOXLIM(1);
  const double B2 = c.lg.BOXLIM(2);
  const double B3 = c.lg.BOXLIM(3);
  const double B4 = c.lg.BOXLIM(4);
  auto remember = [&] {
    X1 = X;
    Y1 = Y;
  };
  if (IPEN != 2) {
    send(c, X, Y, IPEN);
    remember();
    return;
  }
  if (X != X1) {
    // Horizontal at height Y (a slanted draw counts at its end height).
    if (B3 <= Y && Y <= B4) {
      if (X < X1 && X1 > B1 && X < B2) {
        if (X1 <= B2 && X >= B1) {
          remember();
          return;
        }
        if (X1 > B2) {
          send(c, B2, Y, 2);
          if (X >= B1) {
            send(c, X, Y, 3);
            remember();
            return;
          }
          send(c, B1, Y, 3);
        } else {
          send(c, B1, Y, 3);
        }
      } else if (X > X1 && X > B1 && X1 < B2) {
        if (X <= B2 && X1 >= B1) {
          remember();
          return;
        }
        if (X1 < B1) {
          send(c, B1, Y, 2);
          if (X <= B2) {
            send(c, X, Y, 3);
            remember();
            return;
          }
          send(c, B2, Y, 3);
        } else {
          send(c, B2, Y, 3);
        }
      }
    }
  } else if (c.op.LEGOFF == 0 && B1 <= X && X <= B2) {
    // Vertical through the box's x range.
    if (Y == Y1) {
      remember();
      return;
    }
    if (Y < Y1 && Y1 > B3 && Y < B4) {
      if (Y1 <= B4 && Y >= B3) {
        remember();
        return;
      }
      if (Y1 > B4) {
        send(c, X, B4, 2);
        if (Y >= B3) {
          send(c, X, Y, 3);
          remember();
          return;
        }
        send(c, X, B3, 3);
      } else {
        send(c, X, B3, 3);
      }
    } else if (Y > Y1 && Y > B3 && Y1 < B4) {
      if (Y <= B4 && Y1 >= B3) {
        remember();
        return;
      }
      if (Y1 < B3) {
        send(c, X, B3, 2);
        if (Y <= B4) {
          send(c, X, Y, 3);
          remember();
          return;
        }
        send(c, X, B4, 3);
      } else {
        send(c, X, B4, 3);
      }
    }
  }
  send(c, X, Y, 2);
  remember();
}

}  // namespace

void plvhn(Core& c, double X, double Y, int IPEN) {
  TransformState& s = c.rs.transform;
  cutbox(c, X, Y, IPEN, plot1, s.X1N, s.Y1N);
}

void plvh1(Core& c, double X, double Y, int IPEN) {
  TransformState& s = c.rs.transform;
  cutbox(c, X, Y, IPEN, plotp, s.X11, s.Y11);
}

void plotx(Core& c, double X, double Y, int IPEN) {
  const auto& L = c.ax.XYLIM;
  const auto& P = c.pg.PLTLIM;
  // A zero axis span cannot be mapped; such a point goes to the frame's low
  // edge instead of turning into an infinite or undefined coordinate.
  const double XI =
      L(9) != 0 ? ((X - L(1)) * P(2) + (L(2) - X) * P(1)) / L(9) : P(1);
  const double YI =
      L(10) != 0 ? ((Y - L(5)) * P(4) + (L(6) - Y) * P(3)) / L(10) : P(3);
  plvh1(c, XI, YI, IPEN);
}

}  // namespace veskaro
