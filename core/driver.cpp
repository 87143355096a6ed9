#include "core/driver.h"

#include <climits>
#include <memory>
#include <new>
#include <utility>

#include "core/cards.h"
#include "core/listing.h"
#include "core/menu.h"
#include "core/routines.h"

namespace veskaro {

namespace {

// The single-precision 10.24 widened: the top of the virtual page.
constexpr double kPageTop = static_cast<double>(10.24F);

// Magnitude of a count; the most negative integer reads as the largest.
int magnitude(int n) {
  if (n == INT_MIN) return INT_MAX;
  return n < 0 ? -n : n;
}

// Compares the layout card with the layout in force and starts a new cell
// sequence (on a fresh page) when it changed. The rotation belongs to the
// layout: the cells of a rotated page start at the other edge. An overlay
// of the layout in force draws over the current cell; an overlay of
// another layout starts at the first cell of its own layout.
void layout_change(Core& c) {
  auto& pg = c.pg;
  auto& drv = c.drv;
  if (drv.IMTHRU == 1) {
    const bool same = pg.XPMIN == drv.XYPLST(1) && pg.XPMAX == drv.XYPLST(2) &&
                      pg.YPMIN == drv.XYPLST(3) && pg.YPMAX == drv.XYPLST(4) &&
                      pg.NXPLT == drv.KSMALX && pg.NYPLT == drv.KSMALY &&
                      pg.IROTAT == drv.KROTLST;
    // After an overlay frame the cell is still the first one although the
    // page holds plots: the next ordinary layout starts on a fresh page.
    if (same && (pg.IOVER == 1 || drv.KOVPAGE == 0)) return;
    drv.IMTHRU = 0;
    if (pg.IXNOW != 1 || pg.IYNOW != 1 || drv.KOVPAGE == 1) {
      page_end(c);
      drv.KOVPAGE = 0;
    }
  }
  drv.XYPLST(1) = pg.XPMIN;
  drv.XYPLST(2) = pg.XPMAX;
  drv.XYPLST(3) = pg.YPMIN;
  drv.XYPLST(4) = pg.YPMAX;
  drv.KSMALX = pg.NXPLT;
  drv.KSMALY = pg.NYPLT;
  drv.KROTLST = pg.IROTAT;
}

// The control card; between parsing and clamping, the counts of data
// still in memory are cut to what a read-once count can reuse.
void control(Core& c, const std::string& rec) {
  control_card_parse(c, rec);
  Store& st = *c.store;
  if (c.drv.ICEND == 1 && magnitude(c.fb.NCPLOT) < st.NCURVE) {
    st.NCURVE = magnitude(c.fb.NCPLOT);
  }
  if (c.drv.IPEND == 1 && magnitude(c.fb.NPPLOT) < st.NPOINT) {
    st.NPOINT = magnitude(c.fb.NPPLOT);
  }
  control_card_normalise(c);
  list_control(c);
}

void load_fonts(Core& c) {
  try {
    symin(c);
    refin(c);
  } catch (const std::bad_alloc&) {
    fatal_memory("the fonts being read");
  }
}

}  // namespace

int run(Device& dev) {
  FileGuard guard;
  return run(dev, guard);
}

int run(Device& dev, FileGuard& guard, bool menu) {
  prepare_process();
  std::unique_ptr<Core> c;
  try {
    c = std::make_unique<Core>(dev);
  } catch (const std::bad_alloc&) {
    fatal_memory("the data store");
  }
  fileio(*c, guard, menu);
  try {
    return run_loaded(*c);
  } catch (const std::bad_alloc&) {
    fatal_memory("the plot being drawn");
  }
}

void set_units(Core& c) {
  c.fb.LUNINP = 2;
  c.fb.LUNLST = 3;
  c.fb.LUNCUR = 10;
  c.fb.LUNPNT = 11;
  c.ft.LUNCHR = 12;
  c.ft.LUNSYM = 14;
}

void fileio(Core& c, FileGuard& guard, bool menu) {
  set_units(c);
  // The inputs first: the listing is created only once every input is
  // open, the fonts and captions are read and none of the outputs turns
  // out to be an input, so that a run stopped by any of them leaves the
  // last run's listing as it was.
  Files& f = c.files;
  f.inp.open("VESKARO.INP");
  f.cur.open("VESKARO.CUR");
  f.pnt.open("VESKARO.PNT");
  f.chr.open("PLOT.CHR");
  f.sym.open("PLOT.SYM");
  RecordReader captions;
  if (menu) captions.open(c.rs.menu.caption_file);
  // The captions are closed once read: they count by their name.
  for (RecordReader* in : {&f.inp, &f.cur, &f.pnt, &f.chr, &f.sym}) {
    guard.add_input(in->name(), in->fd());
  }
  if (menu) guard.add_input(captions.name(), captions.fd(), /*held=*/false);
  guard.add_output("VESKARO.LST");
  guard.add_standard_streams();
  guard.check_outputs();
  load_fonts(c);
  if (menu) {
    try {
      readcaptions(c, captions);
    } catch (const std::bad_alloc&) {
      fatal_memory("the menu captions being read");
    }
  }
  // The name may have become a link to an input while the fonts were read:
  // the file opened is checked again before it is truncated.
  f.lst.open("VESKARO.LST",
             [&guard](const std::string& name) { return guard.open(name); });
  // Whatever ends the run, the listing keeps what was written to it, and
  // a write that fails leaves it ending in a whole record.
  f.lst.keep_at_exit();
  f.lst.keep_whole_records();
}

void endit(Core& c, void (*last_records)(Core&)) {
  // The pages first: a page that cannot be written stops the run before
  // the listing says how the run ended.
  c.dev.endplots();
  if (last_records != nullptr) last_records(c);
  c.files.inp.close();
  c.files.lst.close();
  c.files.cur.close();
  c.files.pnt.close();
  c.files.chr.close();
  c.files.sym.close();
  throw RunEnd{0};
}

int run_core(Core& c) {
  load_fonts(c);
  return run_loaded(c);
}

int run_loaded(Core& c) {
  try {
    c.fb.PLOTN = 0;
    c.pg.EDGE(1) = 0.0;
    c.pg.EDGE(2) = 13.5;
    c.pg.EDGE(3) = 0.0;
    c.pg.EDGE(4) = kPageTop;
    c.drv.ICEND = 0;
    c.drv.IPEND = 0;
    c.store->NCURVE = 0;
    c.store->NPOINT = 0;
    mainloop(c);
  } catch (const RunEnd& end) {
    return end.status;
  }
}

void end_run(Core& c) { endit(c, list_closing); }

void read_card(Core& c, std::string& rec) {
  if (c.files.inp.read(rec) != ReadStatus::kOk) end_run(c);
}

void mainloop(Core& c) {
  std::string rec;
  std::string yrec;
  for (;;) {
    list_heading(c);

    read_card(c, rec);
    layout_card(c, rec);
    list_layout(c);
    layout_change(c);
    if (c.pg.IROTAT == 1) {
      std::swap(c.pg.XPMIN, c.pg.YPMIN);
      std::swap(c.pg.XPMAX, c.pg.YPMAX);
    }

    read_card(c, rec);
    control(c, rec);
    if (c.fb.NCPLOT == 0 && c.fb.NPPLOT == 0) {
      endit(c, list_nothing_requested);
    }
    // A read-once count cannot be served once the other file has ended.
    if ((c.fb.NCPLOT < 0 && c.drv.IPEND == 1) ||
        (c.fb.NPPLOT < 0 && c.drv.ICEND == 1)) {
      end_run(c);
    }
    c.pg.NSUB = 1 + c.rs.cards.KRATIO;
    c.drv.MMPLOT = c.pg.NSUB;

    read_card(c, rec);
    read_card(c, yrec);
    label_cards(c, rec, yrec);
    list_labels(c);

    setup(c, c.drv.IMTHRU);
    plot_loop(c);
  }
}

}  // namespace veskaro
