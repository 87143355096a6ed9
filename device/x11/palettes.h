// The three palettes of the screen device: colour tables for the 256
// colour indices of the window's colour map, and the pen map that turns
// the plotting core's colour numbers into colour indices.
#pragma once

#include "device/x11/window_layer.h"

namespace veskaro {

// Fills the pen map (entry k: colour index of colour number k) and the
// colour tables (entry i: intensity 0-255 of colour index i) for palette
// ipal 1, 2 or 3; any other number leaves all four untouched.
void paltab(ColourTable& penmap, ColourTable& red, ColourTable& green,
            ColourTable& blue, int ipal);

}  // namespace veskaro
