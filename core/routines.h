// The plotting routines that more than one file of the core calls. Every
// routine takes the core state object first; the remaining arguments are
// those the routine is documented with. Routines used only inside one
// file are declared in that file or its own header.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/core.h"
#include "core/file_guard.h"

namespace veskaro {

using Edges = std::array<double, 2>;

// ---- Driver: start-up, main loop, end of run.
// Runs the program in the current folder with the given device; returns
// the exit status. `guard` holds the outputs the device will write, so
// that none of them is an input of the run. `menu` is for a program with
// the option menu: its captions are read with the other inputs.
int run(Device& dev);
int run(Device& dev, FileGuard& guard, bool menu = false);
// Opens the inputs, reads the fonts (and with `menu` the captions), and
// only then creates the listing.
void fileio(Core& c, FileGuard& guard, bool menu = false);
// Ends the run: the device finishes its pages, then `last_records` (when
// given) writes the listing's last records, then every file is closed.
[[noreturn]] void endit(Core& c, void (*last_records)(Core&) = nullptr);
// The frame-definition loop and the plot loop; ends by throwing RunEnd.
[[noreturn]] void mainloop(Core& c);

// ---- Card fields and texts.
void in9(Core& c, double& X, std::string_view FIELD);
// Reads the 11 columns at `p` when they hold the common layout
// [blanks][sign]digits[.digits][E|D[sign]digits], to the value in9 gives;
// returns false, leaving X alone, for any other layout. Prints nothing and
// touches no state, so it may run on several threads at once.
bool in9_plain(double& X, const char* p);
void intger(Core& c, int& N, std::string_view FIELD);
void lefty(Core& c, std::string& TEXT, int& L, int& LVIS, int NCHAR);
int length(std::string_view TEXT, int N);
void concat(std::string& A, int& LA, std::string_view B, int LB);

// ---- Curve and point-set files.
void getcur(Core& c, int& ICEND);
void getpnt(Core& c, int& IPEND);

// ---- Frame layout and plot cells.
void setup(Core& c, int& IMTHRU);
void nxtplt(Core& c);
// Ends the page on the device. The screen device waits for the user
// there, so the listing goes to disk first.
void page_end(Core& c);
// Splits the plot area SUBPLT(1)..SUBPLT(2) into NSUB subplots; H is the
// scratch value that receives the plot area height.
void split_subplots(PageBlocks& pg, double& H);

// ---- Page transform and line primitives.
void plotp(Core& c, double X, double Y, int IPEN);
void colorbox(Core& c, const Edges& X, const Edges& Y, int IFILL, int IBORD);
void plotd(Core& c, double X, double Y, int IPEN);
void boxcolord(Core& c, const Edges& X, const Edges& Y, int IFILL, int IBORD);
void plot1(Core& c, double X, double Y, int IPEN);
void plvhn(Core& c, double X, double Y, int IPEN);
void plvh1(Core& c, double X, double Y, int IPEN);
void plotx(Core& c, double X, double Y, int IPEN);

// ---- Stroke fonts and stroked text.
void symin(Core& c);
void refin(Core& c);
void symbl1(Core& c, double X, double Y, double HT, std::string_view TEXT,
            double ANGLE, int NCHAR);

// ---- Data limits and ratio data.
void scalxy(Core& c, int& IPASS);
double terpup(double X, double X1, double X2, double Y1, double Y2, int LAW);

// ---- Axis limit rounding and legend box placement.
void yround(Core& c);
void xround(Core& c);

// ---- Axis units and label steps.
void united(Core& c);

// ---- Number formatting.
// The 11-character listing field of a value.
void out9(double Z, std::array<char, 11>& F);
std::string out9(double Z);
// The text numbr1 draws for Z with NDEC decimals.
std::string numbr1_text(double Z, int NDEC);
// The magnitude numbr1 shows for Z with NDEC decimals (|Z| rounded as it
// is printed), for laying out a number by the digits it prints.
double numbr1_magnitude(double Z, int NDEC);
void numbr1(Core& c, double X, double Y, double HT, double Z, double ANG,
            int NDEC);

// ---- Frame annotation, ticks and grids, curves, point sets.
void border(Core& c);
void grid(Core& c);
void pltcur(Core& c);
void pltpt(Core& c);

// ---- Interactive option menu.
void setmouse(Core& c);
void action(Core& c, int& IMACTIVE);

}  // namespace veskaro
