// State that single routines keep from one call to the next (remembered
// pen positions, dash phase, cursors, tables built on first use). Each
// group of routines keeps its own small struct here; Core holds one of
// each, so a fresh Core starts every routine afresh.
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <vector>

#include "core/arrays.h"
#include "core/workers.h"

namespace veskaro {

// Card fields and texts.
struct FieldState {};

// The bulk curve reader: how far ahead it looks. The window starts small and
// doubles while whole windows turn out plain, so a file that mixes plain and
// other records costs no more than reading it record by record.
struct BulkReader {
  static constexpr std::size_t kMinWindow = std::size_t{64} << 10;
  static constexpr std::size_t kMaxWindow = std::size_t{8} << 20;
  std::size_t window = kMinWindow;
};

// Curve and point-set readers.
struct DataFileState {
  int LSTCURVE = 0;  // curves delivered by the last read or reuse
  int LSTSET = 0;    // point sets delivered by the last read or reuse
  int NCTOTAL = 0;   // curves begun in the curves file so far
  int NPTOTAL = 0;   // point sets begun in the point-sets file so far
  std::string rec;   // record buffer, reused for every record read
  BulkReader bulk;   // look-ahead and threads of the bulk curve reader
};

// Parameter cards and listing.
struct CardState {
  int IGRID = 0;   // grid code as read from the control card
  int MYGRID = 0;  // internal grid code (0 to 5)
  int IRATIO = 0;  // ratio type as read (0 when no curves are asked for)
  int MRATIO = 8;  // row of the ratio limits table in use
  int KRATIO = 0;  // 1 = the control card asks for a ratio subplot
  int ICURVP = 0;  // magnitude of the curve count, for the listing
  int IPOINP = 0;  // magnitude of the point-set count, for the listing
  int IW1 = 2;     // scale-name entry of the x scale request
  int IW2 = 2;     // scale-name entry of the y scale request
};

// Frame layout and plot cells.
struct LayoutState {
  int IPASS = 0;          // setup: calls so far; the first opens the device
  double DX = 0, DY = 0;  // setup: plotter area size at the last call
  double DYFINCH = 0;     // nxtplt: plot area height for the subplot split
};

// Page transform and line primitives: the points each routine remembers.
struct TransformState {
  // plot1: the last point passed, by a move or a draw.
  double XL = 0, YL = 0;
  // plvhn and plvh1 each keep their own start point of the next draw.
  double X1N = 0, Y1N = 0;
  double X11 = 0, Y11 = 0;
  // plotp: the device point of the last call.
  float X = 0, Y = 0;
  // colorbox: the device edges of the last rectangle.
  Vec<float, 2> XP, YP;
};

// Stroke fonts: what a text leaves pending for the next character drawn
// (offset and alternate toggle of trailing control characters).
struct FontState {
  double XSET = 0, YSET = 0;
  int IALTER = 0;
};

// Data limits, ratio data, rounding, units, legend placement.
struct LimitState {
  // rangec: y state of the previous point (-1 below, 0 inside, +1 above
  // the y window); carries from one call to the next.
  int IYLAST = 0;
  // Legend placement: best box position so far (left, right, bottom,
  // top), the room it leaves, its end (2 top, 1 bottom, 0 none), the best
  // room at a side edge and its side (1 left, 3 right, 0 none), whether
  // any position fits, and the data's bottom and top under the best
  // position in plot units.
  Vec<double, 4> BOXBIG;
  double BIGBOX = 0, BIGEDG = 0;
  int IMBIG1 = 0, IMBIG2 = 0, IMBIG3 = 0;
  double YDAT1 = 0, YDAT2 = 0;
  // 1 when the rounding of the current drawing met limits that are not
  // finite and put the fall-back range -1.05 to 1.05 in their place; the
  // driver reports it. Cleared by scalxy.
  int IBADLM = 0;
};

// Frame annotation, ticks, grids, curves, point sets.
struct DrawState {
  // border: x of the y label, reused by the ratio subplot's "Ratios".
  double XLEFTX = 0;
  // border: lowest baseline of the y numbers the main subplot drew, which
  // the ratio subplot's numbers keep clear of (infinite when none).
  double YNUMLO = std::numeric_limits<double>::infinity();
  // clipy: previous point in data units and its y state (-1, 0, 1).
  struct Clipy {
    double X1 = 0, Y1 = 0;
    int IMON1 = 0;
  } clipy;
  // The inches of the curve points about to go down the chain, worked
  // out ahead in bulk for store indices first .. first + size - 1; `at`
  // is the index of the point being handed on (0 when none). dashp takes
  // its inches from here when handed that very data value.
  struct Ahead {
    int first = 0;
    int at = 0;
    std::vector<double> xi, yi;
  } ahead;
  // dashp: previous point in data units and in inches.
  struct Dashp {
    double X1 = 0, Y1 = 0, XILAST = 0, YILAST = 0;
  } dashp;
  // dashn: previous point in inches.
  struct Dashn {
    double X1 = 0, Y1 = 0;
  } dashn;
  // dash: pattern entry in use, current element, length left of it, its
  // pen code and the last point; `patterned` is false for a solid line.
  struct Dash {
    int IMSOFT = 0, JSTART = 0, ISTOP = 0, ISTEP = 0, KPEN = 2;
    double DLEFT = 0, XL = 0, YL = 0;
    bool patterned = false;
  } dash;
};

// The option menu's caption file, looked up in the working folder.
inline constexpr const char* kCaptionFile = "PAGE.DAT";

// Option menu.
struct MenuState {
  // The captions are read from the caption file once per run.
  bool captions_read = false;
  // Name of the caption file.
  std::string caption_file = kCaptionFile;
};

struct RoutineState {
  FieldState fields;
  DataFileState datafiles;
  CardState cards;
  LayoutState layout;
  TransformState transform;
  FontState fonts;
  LimitState limits;
  DrawState draw;
  MenuState menu;
  // Threads that share out the work on large curves.
  WorkerPool workers;
};

}  // namespace veskaro
