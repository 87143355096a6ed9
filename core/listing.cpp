#include "core/listing.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "core/cards.h"
#include "core/routines.h"

namespace veskaro {

namespace {

using std::string_view_literals::operator""sv;

const std::string kHeavy = " " + std::string(72, '=');
const std::string kRuler = " " + std::string(72, '-');
const std::string kDotted = " " + std::string(72, '.');

// Names of the internal grid codes, 20 columns.
constexpr std::array<std::string_view, 6> kGridtp{
    "Tick Marks          "sv, "Full Grid (Coarse)  "sv,
    "Dashed Grid (Coarse)"sv, "Full Grid (Fine)    "sv,
    "DashEd Grid (Fine)  "sv, "Full/Dashed         "sv};

// Names of the scale requests by entry, 24 columns.
constexpr std::array<std::string_view, 4> kPlanei{
    "Linear                  "sv, "Log                     "sv,
    "Linear (0 Base)         "sv, "Log (No Interpolation)  "sv};

// Rounding answers by KROUND, 8 columns.
constexpr std::array<std::string_view, 4> kRounding{" YES    "sv, " NO     "sv,
                                                    " Bottom "sv, " Top    "sv};

// Scales in force, 12 columns.
constexpr std::array<std::string_view, 2> kPlanes{" (Linear)   "sv,
                                                  " (Log)      "sv};

// Labels of the ratio rows 1 to 9, 12 columns.
constexpr std::array<std::string_view, 9> kRattyp{
    "(General)   "sv, "(10000 %Max)"sv, "(1000 % Max)"sv,
    "(100 % Max) "sv, "(10 % Max)  "sv, "(5 % Max)   "sv,
    "(2 % Max)   "sv, "(1 % Max)   "sv, "(0.1 % Max) "sv};

template <std::size_t N>
std::string_view pick(const std::array<std::string_view, N>& table, int i) {
  return table.at(static_cast<std::size_t>(i - 1));
}

// A labelled line: blank, 34-column label, value.
void labelled(Core& c, std::string_view label, std::string_view value) {
  std::string s = " ";
  s += label;
  s += value;
  c.files.lst.line(s);
}

// TEXT after one blank column. Built by appending: GCC 12 at -O3 reports a
// false -Wrestrict overlap inside `" " + std::string&&`.
std::string blank_then(std::string_view text) {
  std::string s = " ";
  s += text;
  return s;
}

std::string range(double lo, double hi) { return out9(lo) + " to " + out9(hi); }

// The requested range line of the X or Y block.
void requested_range(Core& c, std::string_view label, int kmin, int kmax,
                     double vmin, double vmax) {
  if (kmin == 0 && kmax == 0) {
    labelled(c, label, " Plot All Points");
  } else {
    labelled(c, label, range(vmin, vmax));
  }
}

std::string_view scale_in_force(int ways) {
  return pick(kPlanes, ways == 2 ? 2 : 1);
}

// One table of curves or point sets shown.
void data_table(Core& c, std::string_view heading, int count, int onit0,
                const Vec<std::string, 30>& titles) {
  auto& lst = c.files.lst;
  lst.line(kRuler);
  lst.line(blank_then(heading));
  lst.line(kDotted);
  lst.line(" Index Points Description");
  lst.line(kDotted);
  int row = 0;
  const int last = count < 30 ? count : 30;
  for (int k = 1; k <= last; ++k) {
    const int kept = c.lg.ONIT(onit0 + k);
    if (kept <= 0) continue;
    ++row;
    lst.line(int_field(row, 6) + int_field(kept, 7) + " " +
             card_columns(titles(k), 40));
  }
}

}  // namespace

std::string int_field(long long value, int width) {
  std::string s = std::to_string(value);
  const auto w = static_cast<std::size_t>(width);
  if (s.size() > w) return std::string(w, '*');
  return std::string(w - s.size(), ' ') + s;
}

std::string mult_field(double value) {
  std::array<char, 64> b{};
  std::snprintf(b.data(), b.size(), "%12.3f", value);
  std::string s(b.data());
  if (s.size() > 12) return std::string(12, '*');
  return s;
}

std::string answer(bool yes) { return yes ? " YES" : " NO "; }

std::string ratio_label(int row) { return std::string(pick(kRattyp, row)); }

void list_heading(Core& c) {
  auto& lst = c.files.lst;
  lst.line(kHeavy);
  lst.line(" Plot Tabulated Data (VESKARO Version 2025-1)");
  lst.line(kHeavy);
}

void list_layout(Core& c) {
  const auto& pg = c.pg;
  auto& lst = c.files.lst;
  lst.line(" Description of Plotter and Frame Layout");
  lst.line(kRuler);
  labelled(c, "X Dimensions (X-Min to X-Max).....",
           range(pg.XPMIN, pg.XPMAX) + " Inches");
  labelled(c, "Y Dimensions (Y-Min TO Y-Max).....",
           range(pg.YPMIN, pg.YPMAX) + " Inches");
  labelled(c, "Plots per Frame (X by Y)..........",
           int_field(pg.NXPLT, 12) + " by " + int_field(pg.NYPLT, 12));
  labelled(c, "Character Size Multiplier.........", mult_field(pg.MULTHT));
  lst.line(kHeavy);
}

void list_control(Core& c) {
  const auto& fb = c.fb;
  const auto& cs = c.rs.cards;
  if (fb.NCPLOT == 0) {
    labelled(c, "Curves per Plot...................", " NONE");
  } else if (fb.NCPLOT > 0) {
    labelled(c, "Read and Plot (for Each Plot).....",
             int_field(fb.NCPLOT, 5) + " Curves");
  } else {
    labelled(c, "Read Once. Allow Multiple Plots...",
             int_field(cs.ICURVP, 5) + " Curves");
  }
  if (fb.NPPLOT == 0) {
    labelled(c, "Sets of Points per Plot...........", " NONE");
  } else if (fb.NPPLOT > 0) {
    labelled(c, "Read and Plot (for Each Plot).....",
             int_field(fb.NPPLOT, 5) + " Sets of Points");
  } else {
    labelled(c, "Read Once. Allow Multiple Plots...",
             int_field(cs.IPOINP, 5) + " Sets of Points");
  }
  labelled(c, "Should Border be Plotted..........", answer(c.pg.IBORD == 1));
  labelled(c, "Type of Grid......................",
           pick(kGridtp, cs.MYGRID + 1));
  const std::string label =
      cs.KRATIO == 1 ? ratio_label(cs.MRATIO) : std::string(12, ' ');
  labelled(c, "Should Ratios be Plotted..........",
           answer(cs.KRATIO == 1) + " " + label);
  labelled(c, "Line Thickness....................", int_field(c.wt.NTHNRM, 4));
  if (c.op.REMAST > 0) {
    labelled(c, "Master Curve (Thick and Solid)....",
             int_field(c.op.REMAST, 12));
    c.files.lst.line(kHeavy);
  }
}

void list_nothing_requested(Core& c) {
  auto& lst = c.files.lst;
  lst.line(kRuler);
  lst.line(" Neither Curve NOR Discrete Points Requested");
  lst.line(" Check Your Input Parameters");
  lst.line(" Executiob Terminated");
}

void list_labels(Core& c) {
  const auto& ax = c.ax;
  c.files.lst.line(kRuler);
  labelled(c, "X Axis Label and Units............",
           blank_then(std::string_view(ax.XLABEL).substr(
               0, static_cast<std::size_t>(ax.LABLEN(2)))));
  labelled(c, "Y Axis Label and Units............",
           blank_then(std::string_view(ax.YLABEL).substr(
               0, static_cast<std::size_t>(ax.LABLEN(4)))));
}

void list_titles(Core& c) {
  auto& lst = c.files.lst;
  lst.line(kRuler);
  lst.line(" Plot Title");
  lst.line(kDotted);
  lst.line(blank_then(card_columns(c.lg.STITLE(1), 72)));
  lst.line(blank_then(card_columns(c.lg.STITLE(2), 72)));
  lst.line(kRuler);
}

void list_x(Core& c) {
  const auto& op = c.op;
  requested_range(c, "Requested X Range.................", op.KXMIN, op.KXMAX,
                  op.XMIN, op.XMAX);
  labelled(c, "Plot X Error Bars.................", answer(op.ERRBAR(1) == 1));
  labelled(c, "X Plane on Plots (if Possible)....",
           pick(kPlanei, c.rs.cards.IW1));
  labelled(c, "Round X Limits....................",
           pick(kRounding, op.KROUND(1) + 1));
  labelled(c, "Legend Box on Plot................", answer(op.LEGOFF == 0));
}

void list_y(Core& c) {
  const auto& op = c.op;
  c.files.lst.line(kRuler);
  requested_range(c, "Requested Y Range.................", op.KYMIN, op.KYMAX,
                  op.YMIN, op.YMAX);
  labelled(c, "Plot Y Error Bars.................", answer(op.ERRBAR(2) == 1));
  labelled(c, "Y Plane on Plots (if Possible)....",
           pick(kPlanei, c.rs.cards.IW2));
  labelled(c, "Round Y Limits....................",
           pick(kRounding, op.KROUND(2) + 1));
  labelled(c, "Show Data Points..................", answer(op.SHOWPT == 1));
}

void list_no_data(Core& c) {
  c.files.lst.line(" No Data in Requested X Range");
}

void list_bad_limits(Core& c) {
  c.files.lst.line(kRuler);
  c.files.lst.line(
      " WARNING...Data Give No Finite Axis Limits; Axis Drawn -1.05 to 1.05");
  c.files.lst.line(kRuler);
}

void list_limits(Core& c) {
  const auto& ax = c.ax;
  c.files.lst.line(kRuler);
  labelled(c, "X Limits (Plane)..................",
           range(ax.XYREAL(1), ax.XYREAL(2)) +
               std::string(scale_in_force(ax.WAYS(1))));
  labelled(c, "Y Limits (Plane)..................",
           range(ax.XYREAL(3), ax.XYREAL(4)) +
               std::string(scale_in_force(ax.WAYS(2))));
}

void list_tables(Core& c) {
  if (c.store->NCURVE > 0) {
    data_table(c, "Continuous Curves", c.store->NCURVE, 0, c.lg.CTITLE);
  }
  if (c.store->NPOINT > 0) {
    data_table(c, "Discrete Points", c.store->NPOINT, 60, c.lg.PTITLE);
  }
}

void list_closing(Core& c) {
  c.files.lst.line(kRuler);
  c.files.lst.line(" End of Run  " + int_field(c.fb.PLOTN, 6) +
                   " Plots Generated");
}

}  // namespace veskaro
