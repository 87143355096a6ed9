#include "core/cards.h"

#include <climits>
#include <utility>

#include "core/fieldcut.h"
#include "core/routines.h"

namespace veskaro {

namespace {

// Ratio subplot limits {low, high} by row; single-precision constants
// widened to double. Row 10 is never selected.
constexpr std::array<std::array<float, 2>, 10> kRatab{{{0.0F, 0.0F},
                                                       {0.01F, 100.0F},
                                                       {0.1F, 10.0F},
                                                       {0.5F, 2.0F},
                                                       {0.9F, 1.1F},
                                                       {0.95F, 1.05F},
                                                       {0.98F, 1.02F},
                                                       {0.99F, 1.01F},
                                                       {0.999F, 1.001F},
                                                       {0.0F, 0.0F}}};

// Internal grid code by card code + 1.
constexpr std::array<int, 6> kNugrid{0, 2, 1, 4, 5, 3};

// Line kinds (major, minor) by internal grid code + 1.
constexpr std::array<std::array<int, 2>, 6> kGriddy{
    {{0, 0}, {1, 0}, {2, 0}, {1, 1}, {2, 2}, {1, 2}}};

// Magnitude that cannot overflow.
int iabs(int n) {
  if (n == INT_MIN) return INT_MAX;
  return n < 0 ? -n : n;
}

// Scale request normalised to 1, 2, -1 or -2; returns its name entry.
int plane_request(int& kplane) {
  if (kplane < -2) kplane = 0;
  if (kplane == 0 || kplane >= 2) kplane = 2;
  switch (kplane) {
    case 1:
      return 1;
    case 2:
      return 2;
    case -1:
      return 3;
    default:
      return 4;
  }
}

// Fields 1 and 2 of an X or Y card: the window limits and their flags,
// a reversed pair exchanged.
void window_fields(Core& c, double& vmin, int& kmin, double& vmax, int& kmax) {
  kmin = blank(c.fb.FIELD(1)) ? 0 : 1;
  vmin = 0;
  if (kmin == 1) in9(c, vmin, c.fb.FIELD(1));
  kmax = blank(c.fb.FIELD(2)) ? 0 : 1;
  vmax = 0;
  if (kmax == 1) in9(c, vmax, c.fb.FIELD(2));
  if (kmin == 1 && kmax == 1 && vmin > vmax) std::swap(vmin, vmax);
}

void one_label(Core& c, std::string_view rec, std::string& label, int i) {
  const std::string card = card_columns(rec, 72);
  std::string part = card.substr(0, 40);
  std::string units = card.substr(40, 32);
  auto& ax = c.ax;
  lefty(c, part, ax.LABLEN(i), ax.LABVIS(i), 40);
  lefty(c, units, ax.LABLEN(i + 1), ax.LABVIS(i + 1), 32);
  // The label part stands in columns 1-40; the whole label is held in a
  // field of 75 columns so that label, units and brackets always fit.
  std::string whole = part + std::string(kLabelField - 40, ' ');
  if (ax.LABLEN(i + 1) > 0) {
    int la = ax.LABLEN(i);
    concat(whole, la, " ", 1);
    concat(whole, la, "(", 1);
    concat(whole, la, units, ax.LABLEN(i + 1));
    concat(whole, la, ")", 1);
    ax.LABLEN(i + 1) = la;
    ax.LABVIS(i + 1) = ax.LABVIS(i) + ax.LABVIS(i + 1) + 3;
  } else {
    ax.LABLEN(i + 1) = ax.LABLEN(i);
    ax.LABVIS(i + 1) = ax.LABVIS(i);
  }
  whole.resize(kLabelField, ' ');
  label = whole;
}

}  // namespace

double ratab_low(int row) {
  return static_cast<double>(kRatab.at(static_cast<std::size_t>(row - 1))[0]);
}

double ratab_high(int row) {
  return static_cast<double>(kRatab.at(static_cast<std::size_t>(row - 1))[1]);
}

std::string card_columns(std::string_view rec, int ncol) {
  std::string s(rec.substr(0, static_cast<std::size_t>(ncol)));
  s.resize(static_cast<std::size_t>(ncol), ' ');
  return s;
}

std::string cut_fields(Core& c, std::string_view rec) {
  for (int i = 1; i <= 6; ++i) {
    c.fb.FIELD(i) = std::string(cut_field(rec, (i - 1) * kFieldWidth + 1));
  }
  return std::string(cut_field(rec, 67, 70));
}

void layout_card(Core& c, std::string_view rec) {
  const std::string tail = cut_fields(c, rec);
  auto& pg = c.pg;
  in9(c, pg.XPMIN, c.fb.FIELD(1));
  in9(c, pg.XPMAX, c.fb.FIELD(2));
  in9(c, pg.YPMIN, c.fb.FIELD(3));
  in9(c, pg.YPMAX, c.fb.FIELD(4));
  intger(c, pg.NXPLT, c.fb.FIELD(5));
  intger(c, pg.NYPLT, c.fb.FIELD(6));
  in9(c, pg.MULTHT, tail);

  if (pg.MULTHT <= 0) pg.MULTHT = 1.0;
  if (pg.MULTHT < 0.5) pg.MULTHT = 0.5;
  if (pg.MULTHT > 2.0) pg.MULTHT = 2.0;

  pg.IOVER = pg.NXPLT < 0 ? 1 : 0;
  pg.NXPLT = iabs(pg.NXPLT);
  pg.IROTAT = pg.XPMAX < 0 ? 1 : 0;
  if (pg.XPMAX < 0) pg.XPMAX = -pg.XPMAX;

  // A blank edge takes the virtual page's edge.
  if (pg.XPMIN == 0) pg.XPMIN = pg.EDGE(1);
  if (pg.XPMAX == 0) pg.XPMAX = pg.EDGE(2);
  if (pg.YPMIN == 0) pg.YPMIN = pg.EDGE(3);
  if (pg.YPMAX == 0) pg.YPMAX = pg.EDGE(4);

  if (pg.NXPLT < 1) pg.NXPLT = 1;
  if (pg.NYPLT < 1) pg.NYPLT = 1;
}

void control_card_parse(Core& c, std::string_view rec) {
  const std::string tail = cut_fields(c, rec);
  auto& cs = c.rs.cards;
  intger(c, c.fb.NCPLOT, c.fb.FIELD(1));
  intger(c, c.fb.NPPLOT, c.fb.FIELD(2));
  intger(c, c.pg.IBORD, c.fb.FIELD(3));
  intger(c, cs.IGRID, c.fb.FIELD(4));
  intger(c, cs.IRATIO, c.fb.FIELD(5));
  intger(c, c.wt.NTHNRM, c.fb.FIELD(6));
  intger(c, c.op.REMAST, tail);
  if (c.op.REMAST < 0) c.op.REMAST = 0;
}

void control_card_normalise(Core& c) {
  auto& fb = c.fb;
  auto& cs = c.rs.cards;
  if (fb.NCPLOT > 30) fb.NCPLOT = 30;
  if (fb.NCPLOT < -30) fb.NCPLOT = -30;
  if (fb.NPPLOT > 30) fb.NPPLOT = 30;
  if (fb.NPPLOT < -30) fb.NPPLOT = -30;

  if (c.pg.IBORD != 0) c.pg.IBORD = 1;

  if (cs.IGRID < 0 || cs.IGRID > 5) cs.IGRID = 0;
  cs.MYGRID = kNugrid.at(static_cast<std::size_t>(cs.IGRID));

  if (fb.NCPLOT == 0) cs.IRATIO = 0;
  cs.MRATIO = 8;
  cs.KRATIO = 0;
  if (cs.IRATIO != 0) {
    if (cs.IRATIO >= 1 && cs.IRATIO <= 9) cs.MRATIO = cs.IRATIO;
    c.op.RATLIM(1) = ratab_high(cs.MRATIO);
    c.op.RATLIM(2) = ratab_low(cs.MRATIO);
    cs.KRATIO = 1;
  }

  auto& wt = c.wt;
  wt.THINME = 0;
  if (wt.NTHNRM < 0) {
    wt.THINME = 1;
    wt.NTHNRM = iabs(wt.NTHNRM);
  }
  if (wt.NTHNRM > 5) wt.NTHNRM = 5;
  wt.NTHIN = 0;
  wt.NTHBIG = 2 * wt.NTHNRM;
  wt.NTHNOW = wt.NTHNRM;
  wt.DTHICK = static_cast<double>(0.002F);

  cs.ICURVP = iabs(fb.NCPLOT);
  cs.IPOINP = iabs(fb.NPPLOT);

  const auto& kinds = kGriddy.at(static_cast<std::size_t>(cs.MYGRID));
  c.op.GRIDDY(1) = kinds[0];
  c.op.GRIDDY(2) = kinds[1];
}

void label_cards(Core& c, std::string_view xrec, std::string_view yrec) {
  one_label(c, xrec, c.ax.XLABEL, 1);
  one_label(c, yrec, c.ax.YLABEL, 3);
}

void x_card(Core& c, std::string_view rec) {
  cut_fields(c, rec);
  auto& op = c.op;
  window_fields(c, op.XMIN, op.KXMIN, op.XMAX, op.KXMAX);
  intger(c, op.ERRBAR(1), c.fb.FIELD(3));
  intger(c, op.KPLANE(1), c.fb.FIELD(4));
  intger(c, op.KROUND(1), c.fb.FIELD(5));
  intger(c, op.LEGOFF, c.fb.FIELD(6));
  if (op.ERRBAR(1) != 0) op.ERRBAR(1) = 1;
  c.rs.cards.IW1 = plane_request(op.KPLANE(1));
  if (op.KROUND(1) < 1 || op.KROUND(1) > 3) op.KROUND(1) = 0;
  if (op.LEGOFF != 0) op.LEGOFF = 1;
}

void y_card(Core& c, std::string_view rec) {
  cut_fields(c, rec);
  auto& op = c.op;
  window_fields(c, op.YMIN, op.KYMIN, op.YMAX, op.KYMAX);
  intger(c, op.ERRBAR(2), c.fb.FIELD(3));
  intger(c, op.KPLANE(2), c.fb.FIELD(4));
  intger(c, op.KROUND(2), c.fb.FIELD(5));
  intger(c, op.SHOWPT, c.fb.FIELD(6));
  if (op.SHOWPT != 0) op.SHOWPT = 1;
  if (op.ERRBAR(2) != 0) op.ERRBAR(2) = 1;
  c.rs.cards.IW2 = plane_request(op.KPLANE(2));
  // Interpolation laws of the main and the ratio subplot.
  op.TERPIT(1) =
      1 + (op.KPLANE(1) == -2 ? 2 : 0) + (op.KPLANE(2) == -2 ? 1 : 0);
  op.TERPIT(2) = op.TERPIT(1) > 2 ? 3 : 1;
  if (op.KROUND(2) < 1 || op.KROUND(2) > 3) op.KROUND(2) = 0;
}

}  // namespace veskaro
