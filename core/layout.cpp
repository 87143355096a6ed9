// Frame layout and plot cells: the size of a cell and the transform into
// it, text and symbol sizes, the frame and its split into subplots, the
// advance from cell to cell, and the start page drawn when the device is
// opened.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <string_view>

#include "core/routines.h"

namespace veskaro {
namespace {

// The banner of the start page: number of lines, character height (the
// single-precision 0.28) and the lines themselves.
constexpr int KVERSE = 14;
constexpr double HTV = static_cast<double>(0.28F);
constexpr int kVerseWidth = 40;
constexpr std::array<std::string_view, KVERSE> VERSE = {
    "Program VESKARO",
    "(Version 2025-1)",
    "by",
    "the veskaro developers",
    "",
    "Plots of curves and point sets",
    "from fixed-column card decks",
    "",
    "Reports and patches through the",
    "issue tracker of the repository",
    "veskaro",
    "",
    "",
    "Press Any MOUSE Key to Start",
};

// Used length of a banner line: up to its last non-blank character, 1 for
// a blank line.
constexpr int used_length(std::string_view s) {
  const std::size_t n = s.find_last_not_of(' ');
  return n == std::string_view::npos ? 1 : static_cast<int>(n + 1);
}

constexpr std::array<int, KVERSE> make_nverse() {
  std::array<int, KVERSE> n{};
  for (std::size_t l = 0; l < VERSE.size(); ++l) n[l] = used_length(VERSE[l]);
  return n;
}

constexpr std::array<int, KVERSE> NVERSE = make_nverse();

static_assert(NVERSE[0] == 15 && NVERSE[1] == 16 && NVERSE[2] == 2 &&
              NVERSE[12] == 1 && NVERSE[13] == 28);
static_assert(std::all_of(VERSE.begin(), VERSE.end(), [](std::string_view s) {
  return s.size() <= kVerseWidth;
}));

// The x of the first cell of a row: the left edge, or the top edge of the
// device when the page is rotated.
double row_start(const PageBlocks& pg) {
  return pg.IROTAT == 1 ? pg.XPMAX : pg.XPMIN;
}

// Sizes, frame, subplots and the logarithm table, all from MULTHT.
void sizes(PageBlocks& pg) {
  const double h = pg.MULTHT * static_cast<double>(0.1F);
  pg.PAINT(3) = h;
  pg.PAINT(1) = h;
  pg.SIZEHT = pg.PAINT(3);
  pg.PLTLIM(1) = pg.EDGE(1) + 11 * pg.PAINT(3);
  pg.PLTLIM(2) = pg.EDGE(2) - 5 * pg.PAINT(3);
  pg.SUBPLT(1) = pg.EDGE(3) + 6 * pg.PAINT(3);
  pg.SUBPLT(2) = pg.EDGE(4) - 5.5 * pg.PAINT(3);
  split_subplots(pg, pg.PLTLIM(6));
  pg.PAINT(5) = pg.PAINT(3);
  pg.PAINT(2) = pg.PAINT(1) / 2;
  pg.PAINT(4) = pg.PAINT(3) * 3 / 4;
  pg.PAINT(6) = pg.PAINT(5) / 2;
  pg.PAINT(7) = pg.PAINT(5) * 3 / 8;
  for (int i = 1; i <= 10; ++i)
    pg.LOGTAB(i) = std::log10(static_cast<double>(i));
}

// The start page: the page edge when asked for, and the banner centred in
// its box. Its advance ends the device page.
void start_page(Core& c) {
  PageBlocks& pg = c.pg;
  c.dev.pen(2);
  if (pg.IBORD > 0) {
    c.wt.NTHNOW = c.wt.NTHBIG;
    plot1(c, pg.EDGE(1), pg.EDGE(3), 3);
    plot1(c, pg.EDGE(1), pg.EDGE(4), 2);
    plot1(c, pg.EDGE(2), pg.EDGE(4), 2);
    plot1(c, pg.EDGE(2), pg.EDGE(3), 2);
    plot1(c, pg.EDGE(1), pg.EDGE(3), 2);
    c.wt.NTHNOW = c.wt.NTHNRM;
  }
  double Y =
      (pg.EDGE(3) + pg.EDGE(4) + KVERSE * HTV + 0.75 * HTV * (KVERSE - 1)) / 2;
  const double XMID = (pg.EDGE(1) + pg.EDGE(2)) / 2;
  const int LL = *std::max_element(NVERSE.begin(), NVERSE.end());
  const Edges bx{XMID - (LL / 2.0 + 2) * HTV, XMID + (LL / 2.0 + 3) * HTV};
  const Edges by{Y - ((KVERSE - 1) * 1.75 + 2) * HTV, Y + 3 * HTV};
  colorbox(c, bx, by, 0, 2);
  c.dev.pen(2);
  std::string line;
  for (std::size_t l = 0; l < VERSE.size(); ++l) {
    line.assign(VERSE[l]);
    line.resize(kVerseWidth, ' ');
    symbl1(c, XMID - NVERSE[l] * 0.5 * HTV, Y, HTV, line, 0.0, NVERSE[l]);
    Y -= 1.75 * HTV;
  }
  // The start page takes one plot position and ends the page even when
  // the layout overlays its plots.
  const int IOVER = pg.IOVER;
  pg.IOVER = 0;
  nxtplt(c);
  pg.IOVER = IOVER;
}

}  // namespace

// One subplot fills the plot area; two give the main subplot the upper
// two thirds and the ratio subplot the lower third.
void split_subplots(PageBlocks& pg, double& H) {
  if (pg.NSUB == 1) {
    pg.SUBPLT(3) = pg.SUBPLT(1);
    pg.SUBPLT(4) = pg.SUBPLT(2);
    return;
  }
  H = pg.SUBPLT(2) - pg.SUBPLT(1);
  pg.SUBPLT(4) = pg.SUBPLT(2);
  pg.SUBPLT(3) = pg.SUBPLT(2) - (H + H) / 3;
  pg.SUBPLT(5) = pg.SUBPLT(1);
  pg.SUBPLT(6) = pg.SUBPLT(3);
}

void setup(Core& c, int& IMTHRU) {
  PageBlocks& pg = c.pg;
  LayoutState& s = c.rs.layout;
  ++s.IPASS;
  if (s.IPASS == 1) {
    c.dev.daruvuza();
    c.dev.interact(c.fb.IACT);
  }
  if (c.fb.IACT > 0) setmouse(c);

  s.DX = pg.XPMAX - pg.XPMIN;
  s.DY = pg.YPMAX - pg.YPMIN;
  pg.DXCELL = s.DX / pg.NXPLT;
  if (pg.IROTAT == 1) pg.DXCELL = -pg.DXCELL;
  pg.DYCELL = s.DY / pg.NYPLT;
  pg.XSCALE = pg.DXCELL / pg.EDGE(2);
  pg.YSCALE = pg.DYCELL / pg.EDGE(4);

  if (IMTHRU == 0) {
    pg.XOFF = row_start(pg);
    if (s.IPASS > 1) {
      // A new layout begins in the top-left cell.
      pg.IXNOW = 1;
      pg.IYNOW = 1;
      pg.YOFF = pg.YPMAX - pg.DYCELL;
    } else {
      // The start page stands on the last cell, so that its advance ends
      // the page and wraps to the top-left cell.
      pg.IXNOW = pg.NXPLT;
      pg.IYNOW = pg.NYPLT;
      pg.YOFF = pg.YPMIN;
    }
    IMTHRU = 1;
  }

  sizes(pg);
  if (s.IPASS == 1) start_page(c);
}

void page_end(Core& c) {
  c.files.lst.flush();
  c.dev.nextplot();
  // A window closed while the finished page waits for its click (the
  // start page) ends the run as the menu's end option does.
  if (c.dev.closed_at_page_end()) endit(c);
}

void nxtplt(Core& c) {
  PageBlocks& pg = c.pg;
  ++c.fb.PLOTN;
  if (pg.IOVER != 0) return;
  if (pg.IXNOW >= pg.NXPLT && pg.IYNOW >= pg.NYPLT) page_end(c);
  // The wrap is decided before a counter moves, so that a row or a page
  // of as many cells as an int holds never counts past its range.
  if (pg.IXNOW < pg.NXPLT) {
    ++pg.IXNOW;
    pg.XOFF += pg.DXCELL;
  } else {
    pg.IXNOW = 1;
    pg.XOFF = row_start(pg);
    if (pg.IYNOW < pg.NYPLT) {
      ++pg.IYNOW;
      pg.YOFF -= pg.DYCELL;
    } else {
      pg.IYNOW = 1;
      pg.YOFF = pg.YPMAX - pg.DYCELL;
    }
  }
  split_subplots(pg, c.rs.layout.DYFINCH);
}

}  // namespace veskaro
