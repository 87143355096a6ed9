// The core state object: every block of shared state, the data store, the
// open files, the device in use and the state that single routines keep
// between their calls. One instance lives for the whole run and is passed
// to every plotting routine.
#pragma once

#include <memory>
#include <utility>

#include "core/blocks.h"
#include "core/io.h"
#include "core/routine_state.h"
#include "core/store.h"
#include "device/device.h"

namespace veskaro {

// The fixed-name files of a run.
struct Files {
  RecordReader inp;  // "VESKARO.INP", unit 2
  TextWriter lst;    // "VESKARO.LST", unit 3
  RecordReader cur;  // "VESKARO.CUR", unit 10
  RecordReader pnt;  // "VESKARO.PNT", unit 11
  RecordReader chr;  // "PLOT.CHR", unit 12
  RecordReader sym;  // "PLOT.SYM", unit 14
};

// Values the driver keeps for the whole run.
struct DriverState {
  int ICEND = 0;
  int IPEND = 0;
  int IMTHRU = 0;
  Vec<double, 4> XYPLST;
  int KSMALX = 0, KSMALY = 0;
  // Rotation of the layout in force.
  int KROTLST = 0;
  int MMPLOT = 1;
  int KSTART = 0;
  int IPASS = 0;
  int IMACTIVE = 0;
  // 1 while the current page holds plots of an overlay frame definition.
  int KOVPAGE = 0;
};

struct Core {
  explicit Core(Device& device) : dev(device) {}
  // Takes over a data store set aside earlier (fuzzing reuses one).
  Core(Device& device, std::unique_ptr<Store> reused)
      : dev(device), store(std::move(reused)) {}

  Device& dev;
  FileBlocks fb;
  PageBlocks pg;
  WeightBlocks wt;
  OptionBlocks op;
  AxisBlocks ax;
  LegendBlocks lg;
  FontBlocks ft;
  MenuBlocks mn;
  // The data store is large; it lives on the heap.
  std::unique_ptr<Store> store = std::make_unique<Store>();
  Files files;
  DriverState drv;
  RoutineState rs;
};

}  // namespace veskaro
