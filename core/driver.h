// The driver's own routines, shared between the frame-definition loop and
// the plot loop.
#pragma once

#include <string>

#include "core/core.h"

namespace veskaro {

// Runs a prepared core (files already open): fonts, start-up values and
// the main loop. Returns the status of the end of the run. The option
// menu's captions are read when the menu is first drawn.
int run_core(Core& c);
// The unit numbers of the six files of a run.
void set_units(Core& c);
// The run after the fonts are loaded: page edges, counts, the main loop.
int run_loaded(Core& c);

// Ends the run in order: endit, with the closing line of the listing
// written once the device has finished.
[[noreturn]] void end_run(Core& c);

// Reads the next parameter card; the end of the file or an unreadable
// record ends the run in order.
void read_card(Core& c, std::string& rec);

// The plots of one frame definition; returns at a blank first title card.
void plot_loop(Core& c);

}  // namespace veskaro
