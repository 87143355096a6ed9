#include <new>
#include <string>

#include "core/cards.h"
#include "core/driver.h"
#include "core/fieldcut.h"
#include "core/listing.h"
#include "core/routines.h"

namespace veskaro {

namespace {

// Number of subplots of this plot and their extents: a ratio subplot
// needs something to divide besides the reference curve.
void choose_subplots(Core& c) {
  auto& pg = c.pg;
  const Store& st = *c.store;
  pg.NSUB = c.drv.MMPLOT;
  if (st.NCURVE == 0 || (st.NCURVE == 1 && st.NPOINT == 0)) pg.NSUB = 1;
  double height = 0;
  split_subplots(pg, height);
}

// Records the first drawing's window, scales and laws for the option
// menu; on a redraw, brings back the signed scale request of the first
// drawing wherever the scale in force has its magnitude again.
void capture_start(Core& c) {
  auto& op = c.op;
  const auto& ways = c.ax.WAYS;
  if (c.drv.KSTART == 0) {
    c.drv.KSTART = 1;
    op.KWAYS0 = ways;
    op.KPLAN0 = op.KPLANE;
    op.KTERP0 = op.TERPIT;
    return;
  }
  for (int i = 1; i <= 2; ++i) {
    const int mag = op.KPLAN0(i) < 0 ? -op.KPLAN0(i) : op.KPLAN0(i);
    if (ways(i) == mag) op.KPLANE(i) = op.KPLAN0(i);
  }
}

// One drawing of the current plot, subplot by subplot. False when no data
// lie in the requested x window (the plot is then skipped).
bool drawing_pass(Core& c) {
  auto& ax = c.ax;
  auto& pg = c.pg;
  c.lg.ERRBIG(1) = 0;
  c.lg.ERRBIG(2) = 0;
  scalxy(c, c.drv.IPASS);
  if (c.drv.KSTART == 0) {
    c.op.XSTART = ax.XYLIM(1);
    c.op.XEND = ax.XYLIM(2);
  }
  if (c.drv.IPASS == 0) {
    list_no_data(c);
    return false;
  }
  const int nsub = pg.NSUB;
  for (int ksub = 1; ksub <= nsub; ++ksub) {
    pg.KSUB = ksub;
    pg.PLTLIM(3) = pg.SUBPLT(2 * ksub + 1);
    pg.PLTLIM(4) = pg.SUBPLT(2 * ksub + 2);
    if (ksub == 2) {
      ax.XYLIM(1) = ax.XYLIM(3);
      ax.XYLIM(2) = ax.XYLIM(4);
      ax.XYLIM(5) = ax.XYLIM(7);
      ax.XYLIM(6) = ax.XYLIM(8);
    }
    yround(c);
    if (ksub == 1) {
      xround(c);
      c.op.KWAYSN = ax.WAYS;
      ax.XYLIM(3) = ax.XYLIM(1);
      ax.XYLIM(4) = ax.XYLIM(2);
      capture_start(c);
    }
    united(c);
    if (ksub == 1) {
      if (c.rs.limits.IBADLM == 1) list_bad_limits(c);
      list_limits(c);
      list_tables(c);
    }
    border(c);
    if (ksub == 1) {
      pg.PLTTOP(1) = pg.PLTLIM(3);
      pg.PLTTOP(2) = pg.PLTLIM(4);
    }
    grid(c);
    pltcur(c);
    pltpt(c);
  }
  return true;
}

// Draws the plot, and again as often as the option menu asks, each redraw
// in the next cell. False when the plot was skipped for want of data.
bool draw_plot(Core& c) {
  for (;;) {
    if (!drawing_pass(c)) return false;
    // An overlay cell never advances; remember that the page holds plots,
    // also when a later redraw of this plot finds no data.
    if (c.pg.IOVER == 1) c.drv.KOVPAGE = 1;
    if (c.fb.IACT < 1) return true;
    action(c, c.drv.IMACTIVE);
    if (c.drv.IMACTIVE < 1) return true;
    nxtplt(c);
  }
}

// Counts of data for this plot and the reading of the data.
void read_data(Core& c) {
  auto& fb = c.fb;
  auto& drv = c.drv;
  Store& st = *c.store;
  if (fb.NCPLOT > 0 && drv.ICEND == 1) fb.NCPLOT = 0;
  if (fb.NPPLOT > 0 && drv.IPEND == 1) fb.NPPLOT = 0;
  if (fb.NCPLOT >= 0) st.NCURVE = 0;
  if (fb.NPPLOT >= 0) st.NPOINT = 0;
  try {
    if (drv.ICEND == 0) getcur(c, drv.ICEND);
  } catch (const std::bad_alloc&) {
    fatal_memory("the curves being read");
  }
  try {
    if (drv.IPEND == 0) getpnt(c, drv.IPEND);
  } catch (const std::bad_alloc&) {
    fatal_memory("the point sets being read");
  }
}

}  // namespace

void plot_loop(Core& c) {
  std::string rec;
  auto& lg = c.lg;
  for (;;) {
    read_card(c, rec);
    lg.STITLE(1) = card_columns(rec, 72);
    if (blank(lg.STITLE(1))) return;
    read_card(c, rec);
    lg.STITLE(2) = card_columns(rec, 72);
    list_titles(c);
    lefty(c, lg.STITLE(1), lg.LTITLE(1), lg.LTVIS(1), 72);
    lefty(c, lg.STITLE(2), lg.LTITLE(2), lg.LTVIS(2), 72);

    read_card(c, rec);
    x_card(c, rec);
    list_x(c);
    read_card(c, rec);
    y_card(c, rec);
    list_y(c);

    read_data(c);
    if (c.store->NCURVE < 1 && c.store->NPOINT < 1) end_run(c);

    choose_subplots(c);
    c.drv.KSTART = 0;
    const bool drawn = draw_plot(c);
    // Each finished plot is on disk in the listing, whatever ends the run
    // later (a signal between plots, say).
    c.files.lst.flush();
    if (drawn) nxtplt(c);
  }
}

}  // namespace veskaro
