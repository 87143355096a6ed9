// Routines of the interactive option menu that its files share. All menu
// geometry is in the device's own plot units, outside every plot cell.
#pragma once

#include <string_view>

#include "core/routines.h"

namespace veskaro {

// The device's drawable range, widened to double precision.
void mysized(Core& c, Edges& X, Edges& Y);
// Waits for a mouse pick or a key; KWAY 4 is a key. The pick point is
// widened to double precision. A closed window ends the run (endit).
void mouseyd(Core& c, int& KWAY, double& X, double& Y, int IWAIT, int KEYOK);
// Reads the captions on the first call unless the run read them at start;
// draws the whole menu strip.
void topper(Core& c);
// Shows a caption in the cell of column IX, row IY, in colour ICOLOR;
// a blank caption shows nothing.
void textbox(Core& c, int IX, int IY, std::string_view TEXT, int ICOLOR);
// Waits for a pick inside the grid and returns its option number, column
// and row; 0, 0, 0 when a key is pressed.
void kiwi(Core& c, int& KOPT, int& IX, int& IY);
// The line along the top of the cells, in the pen in force.
void topline(Core& c);
// Reads the caption file into OPS; later menus use them as read.
void readcaptions(Core& c);
// The same from an open reader, which it closes.
void readcaptions(Core& c, RecordReader& in);

// Texts of the strip's title row.
inline constexpr std::string_view kMenuTitle = "VESKARO (Version 2025-1)";
inline constexpr std::string_view kMenuPrompt = "Use MOUSE to Select Option";
inline constexpr std::string_view kZoomPrompt =
    "Use MOUSE to Define Zoomed X Limits";

}  // namespace veskaro
