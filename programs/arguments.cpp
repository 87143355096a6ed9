#include "programs/arguments.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/io.h"

namespace veskaro {

namespace {

constexpr std::string_view kVersion = VESKARO_VERSION;
constexpr std::string_view kDataDir = VESKARO_DATADIR;

// What differs from one program to the next in its help.
struct ProgramText {
  std::string_view name;
  std::string_view does;   // what it makes of the deck
  std::string_view needs;  // the files it needs beside the deck
  std::string_view ends;   // the end of its exit statuses
};

constexpr std::string_view kDeck =
    "Draws the plots that the parameter cards in VESKARO.INP ask for, with "
    "the\ncurves in VESKARO.CUR and the point sets in VESKARO.PNT, ";

constexpr std::string_view kBatchNeeds =
    "It needs the stroke fonts PLOT.CHR and PLOT.SYM there.\n";
constexpr std::string_view kBatchEnds = ", or a bad argument.\n";

ProgramText text_of(Program program) {
  switch (program) {
    case Program::kPsOneFile:
      return {"veskaro-ps1",
              "as PostScript\npages, all in PLOT0001.ps, and writes the "
              "listing VESKARO.LST and a line\non standard output per page.",
              kBatchNeeds, kBatchEnds};
    case Program::kPsPerPage:
      return {"veskaro-ps",
              "as PostScript\npages, a file per page (PLOT0001.ps, "
              "PLOT0002.ps, ...), and writes the\nlisting VESKARO.LST and a "
              "line on standard output per page.",
              kBatchNeeds, kBatchEnds};
    case Program::kPdf:
      return {"veskaro-pdf",
              "as the pages\nof one PDF file, PLOT0001.pdf, and writes the "
              "listing VESKARO.LST and a\nline on standard output per page.",
              kBatchNeeds, kBatchEnds};
    case Program::kSvg:
      return {"veskaro-svg",
              "as SVG\npages, a file per page (PLOT0001.svg, PLOT0002.svg, "
              "...), and writes the\nlisting VESKARO.LST and a line on "
              "standard output per page.",
              kBatchNeeds, kBatchEnds};
    case Program::kPng:
      return {"veskaro-png",
              "as PNG\npages of 150 pixels per inch, a file per page "
              "(PLOT0001.png, ...), and\nwrites the listing VESKARO.LST and "
              "a line on standard output per page.",
              kBatchNeeds, kBatchEnds};
    case Program::kX11:
      break;
  }
  return {"veskaro-x11",
          "in an X11\nwindow on the display named by DISPLAY, with an option "
          "menu after each\nplot (screen dumps go to SCREEN.1, ...), and "
          "writes the listing VESKARO.LST.",
          "It needs the stroke fonts PLOT.CHR and PLOT.SYM and the menu "
          "captions\nPAGE.DAT there.\n",
          ", the display lost or refusing\na request, or a bad argument; "
          "255 no display.\n"};
}

std::string help(const ProgramText& p) {
  std::string text = "Usage: ";
  text.append(p.name).append(" [--help | --version]\n\n");
  text.append(kDeck).append(p.does).append(
      "\nWith no argument it runs in the current folder: every file it "
      "reads and\nwrites is there.\n\n");
  text.append(p.needs).append(
      "Copy or link them from data/ in the source or, once installed, "
      "from\n");
  text.append(kDataDir).append(
      ".\nA missing font reads as empty and gives pages without text.\n\n");
  text.append(
      "Exit status: 0 done; 2 a file that cannot be read or written or is\n"
      "refused, memory that cannot be had");
  text.append(p.ends);
  return text;
}

// Longest part of a refused argument shown in its line.
constexpr std::size_t kShownArgument = 60;

// A refused argument as it is named in one plain line: control bytes
// shown as '?', and a long one cut, marked by "...".
std::string shown(std::string_view argument) {
  if (argument.size() <= kShownArgument) return terminal_safe(argument);
  return terminal_safe(argument.substr(0, kShownArgument)) + "...";
}

// Writes `text` to standard output and makes sure it got there: help that
// is lost (a full disk, a closed pipe) is not reported as success. A
// closed pipe answers the write with an error, not with SIGPIPE, so that
// the failure is said.
void print(const std::string& text) {
  std::signal(SIGPIPE, SIG_IGN);
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() ||
      std::fflush(stdout) != 0) {
    fatal_file("cannot write", "standard output");
  }
}

}  // namespace

void handle_arguments(Program program, int argc, char** argv) {
  if (argc <= 1) return;
  const ProgramText p = text_of(program);
  const std::string_view first = argv[1];
  if (argc == 2 && first == "--help") {
    print(help(p));
    std::exit(0);
  }
  if (argc == 2 && first == "--version") {
    print(std::string(p.name) + " (veskaro) " + std::string(kVersion) + "\n");
    std::exit(0);
  }
  // The argument named is the first one not understood, or the second
  // when the first is understood but does not stand alone.
  const bool known = first == "--help" || first == "--version";
  const std::string bad = shown(known ? argv[2] : first);
  std::fprintf(stderr,
               "veskaro: unexpected argument '%s': %.*s takes no arguments "
               "and works in the current folder (see %.*s --help)\n",
               bad.c_str(), static_cast<int>(p.name.size()), p.name.data(),
               static_cast<int>(p.name.size()), p.name.data());
  std::exit(2);
}

}  // namespace veskaro
