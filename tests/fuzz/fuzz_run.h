// Shared driver of the fuzz targets: a whole batch run of the plotting core
// with the PostScript device, its inputs held in memory, its pages written
// to a scratch folder. After each run the PostScript is checked for numbers
// that are not numbers, so a fault that corrupts the output shows up as a
// crash, not only one that breaks memory.
#pragma once

#include <string>
#include <string_view>

namespace veskaro::fuzz {

struct Inputs {
  std::string_view inp;
  std::string_view cur;
  std::string_view pnt;
  std::string_view chr;
  std::string_view sym;
};

// A small parameter file, curves, point sets and the shipped fonts: the
// kinds of plot element on two frames of one plot each.
Inputs defaults();

// Runs the core on `in` with the PostScript device; aborts when the
// PostScript page holds a NaN or an infinity (the listing echoes card
// texts, so it is not checked). A font that is the very text of
// defaults() is read once per process and copied into each run.
void batch_run(const Inputs& in);

// Aborts when `text` holds a token that reads as NaN or infinity.
void check_numbers(std::string_view text, const char* what);

// The scratch folder of this process (on tmpfs when there is one).
const std::string& scratch();

}  // namespace veskaro::fuzz
