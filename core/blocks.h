// The core's shared state, grouped by concern. Member names are the names
// the plotting routines use; arrays count from 1. Texts are fixed-length
// fields padded with blanks (their length is kept at the stated size).
#pragma once

#include <string>

#include "core/arrays.h"

namespace veskaro {

// Files, cards and counts.
struct FileBlocks {
  // units
  int LUNINP = 2, LUNLST = 3, LUNCUR = 10, LUNPNT = 11;
  // fields: the six 11-column fields of the card just read
  Vec<std::string, 6> FIELD;
  // groupy
  int NCPLOT = 0, NPPLOT = 0;
  // plotn
  int PLOTN = 0;
  // actors
  int IACT = 0;
};

// Page, cells and sizes.
struct PageBlocks {
  Vec<double, 4> EDGE;  // edge
  // plotxy
  double XPMIN = 0, XPMAX = 0, YPMIN = 0, YPMAX = 0;
  int IBORD = 0, IROTAT = 0;
  // vanced
  int IXNOW = 1, IYNOW = 1, NXPLT = 1, NYPLT = 1, IOVER = 0;
  // xyoff
  double XOFF = 0, YOFF = 0, XSCALE = 1, YSCALE = 1, DXCELL = 0, DYCELL = 0;
  double MULTHT = 1;      // multht
  double SIZEHT = 0;      // sizeht
  Vec<double, 7> PAINT;   // paint
  Vec<double, 8> SUBPLT;  // subplt
  int KSUB = 1, NSUB = 1;
  Vec<double, 6> PLTLIM;   // pltlim
  Vec<double, 2> PLTTOP;   // plttop
  Vec<double, 10> LOGTAB;  // logtab
};

// Line weight.
struct WeightBlocks {
  // thicky
  double DTHICK = 0.002;
  int NTHNOW = 0, NTHIN = 0, NTHNRM = 0, NTHBIG = 0;
  Vec<int, 3> NTHSAV;  // thickx
  int THINME = 0;      // thinme
};

// Requested treatment of a plot (X and Y cards, option menu).
struct OptionBlocks {
  // option
  Vec<int, 2> KROUND;
  Vec<int, 2> KPLANE;
  double XMIN = 0, XMAX = 0, YMIN = 0, YMAX = 0;
  int KXMIN = 0, KXMAX = 0, KYMIN = 0, KYMAX = 0;
  Vec<int, 2> ERRBAR;     // errbar
  int LEGOFF = 0;         // legoff
  int SHOWPT = 0;         // showpt
  Vec<int, 2> TERPIT;     // terpit
  Vec<int, 2> GRIDDY;     // griddy
  int REMAST = 0;         // remast
  Vec<double, 2> RATLIM;  // ratlim
  // startx
  double XSTART = 0, XEND = 0;
  Vec<int, 2> KWAYS0;
  Vec<int, 2> KPLAN0;
  Vec<int, 2> KWAYSN;
  Vec<int, 2> KTERP0;
};

// Axes.
struct AxisBlocks {
  Vec<double, 10> XYLIM;  // xylim
  Vec<double, 4> XYREAL;  // xyreal
  Vec<int, 2> WAYS;       // ways
  int YMINUS = 0;         // yminus
  // xylabi
  Vec<int, 4> LABLEN;
  Vec<int, 4> LABVIS;
  double XMULT = 1, YMULT = 1, XFIRST = 0, XSTEP = 0, XMINOR = 0, YFIRST = 0,
         YSTEP = 0, YMINOR = 0;
  int NDECX = 0, NDECY = 0, IEXPX = 0, IEXPY = 0;
  // xylabc: 72 columns, held in 75 so that a label part of 40, units of
  // 32 and the " (" and ")" around the units always fit whole.
  std::string XLABEL = std::string(75, ' ');
  std::string YLABEL = std::string(75, ' ');
};

// Titles and legend.
struct LegendBlocks {
  Vec<std::string, 2> STITLE;   // stitle, text 72
  Vec<std::string, 30> CTITLE;  // ctitle, text 40
  Vec<std::string, 30> PTITLE;  // ptitle, text 40
  // titlei
  Vec<int, 62> LTITLE;
  Vec<int, 62> LTVIS;
  int TITMAX = 0;         // titmax
  Vec<int, 122> ONIT;     // onit
  Vec<double, 6> BOXLIM;  // boxlim
  Vec<double, 14> SPOTS;  // spots
  Vec<double, 3> NEEDED;  // needed
  Vec<double, 2> ERRBIG;  // errbig
  Vec<int, 6> CNEXT;      // cnext

  LegendBlocks() {
    for (int i = 1; i <= 2; ++i) STITLE(i) = std::string(72, ' ');
    for (int i = 1; i <= 30; ++i) CTITLE(i) = std::string(40, ' ');
    for (int i = 1; i <= 30; ++i) PTITLE(i) = std::string(40, ' ');
  }
};

// Fonts, loaded once at start.
constexpr int kMaxChrStrokes = 5000;
constexpr int kMaxRefStrokes = 2000;
constexpr int kMaxGlyphs = 256;

struct FontBlocks {
  Vec<char, 512> SYMCHR;  // symtb1
  // symtb2
  Vec<double, kMaxChrStrokes> XCHR;
  Vec<double, kMaxChrStrokes> YCHR;
  Vec<int, kMaxChrStrokes> IPCHR;
  Mat<int, 2, kMaxGlyphs> IRCHR;
  int NCHR = 0, NALT = 0, LUNCHR = 12;
  // reftb2
  Vec<double, kMaxRefStrokes> XREF;
  Vec<double, kMaxRefStrokes> YREF;
  Vec<int, kMaxRefStrokes> IPREF;
  Mat<int, 2, kMaxGlyphs> IRREF;
  int NREF = 0, LUNSYM = 14;
  Vec<double, kMaxGlyphs> REFWID;  // reftb3
};

// Option menu (interactive device only).
struct MenuBlocks {
  Vec<double, 9> XBOXES;  // xyboxes
  Vec<double, 6> YBOXES;
  Vec<float, 4> TOPXY;       // topxy
  Vec<std::string, 40> OPS;  // ops2, text 10

  MenuBlocks() {
    for (int i = 1; i <= 40; ++i) OPS(i) = std::string(10, ' ');
  }
};

}  // namespace veskaro
