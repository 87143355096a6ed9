// The PostScript device against the exact text of its files and of its
// terminal lines.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "device/postscript/postscript_device.h"
#include "tests/page_fixture.h"

namespace veskaro {
namespace {

constexpr const char* kHeader = "%!PS-Adobe-2.0\n%%Creator: DARUVUZA\n";
constexpr const char* kSetUp =
    "585 27 translate\n90 rotate\nnewpath\n 0.6 setlinewidth\n"
    " 1 setlinecap\n 1 setlinejoin\n";
// A start page: its colour, a line and a box outline.
constexpr const char* kPageOne = R"(stroke
newpath
  0.000  0.000  0.000 setrgbcolor
   0.0   0.0 moveto
  25.2  15.3 moveto
  76.1  66.2 lineto
  25.2  15.3 moveto
  25.2  66.2 lineto
  76.1  66.2 lineto
  76.1  15.3 lineto
  25.2  15.3 lineto
stroke
showpage
)";
// The next page: a new colour goes on from the last written point.
constexpr const char* kPageTwo = R"(stroke
newpath
  1.000  0.000  0.000 setrgbcolor
  25.2  15.3 moveto
  76.1  66.2 moveto
 127.1 117.2 lineto
stroke
showpage
)";
constexpr const char* kSent =
    "============== SENDING PLOT   1 ============== \n";

using PostScriptTest = PageFolderTest;

TEST_F(PostScriptTest, OneFileRunWritesAllPagesAndTrailer) {
  PostScriptDevice dev(1, dir_.string(), term_);
  two_page_run(dev);
  EXPECT_EQ(files(), std::vector<std::string>{"PLOT0001.ps"});
  EXPECT_EQ(file("PLOT0001.ps"), std::string(kHeader) + "%%Page:   1   1\n" +
                                     kSetUp + kPageOne + "%%Page:   2   2\n" +
                                     kSetUp + kPageTwo +
                                     "%%Trailer\n%%Pages:   2\n%%EOF\n");
  EXPECT_EQ(
      terminal(),
      std::string(kSent) + "============== SENDING PLOT   2 ============== \n");
}

TEST_F(PostScriptTest, FilePerPageRunWritesOneFileEachWithoutTrailer) {
  // Files of an earlier run: one is overwritten, the one beyond is kept.
  std::ofstream(dir_ / "PLOT0001.ps") << std::string(5000, 'x') << "\n";
  std::ofstream(dir_ / "PLOT0003.ps") << "old\n";
  PostScriptDevice dev(0, dir_.string(), term_);
  two_page_run(dev);
  const std::string head = std::string(kHeader) + "%%Page:   1   1\n" + kSetUp;
  EXPECT_EQ(file("PLOT0001.ps"), head + kPageOne);
  EXPECT_EQ(file("PLOT0002.ps"), head + kPageTwo);
  EXPECT_EQ(file("PLOT0003.ps"), "old\n");
  EXPECT_EQ(files().size(), 3U);
  EXPECT_EQ(terminal(), std::string(kSent) + kSent);
}

TEST_F(PostScriptTest, RepeatedPenCodeNearTheLastPointIsDropped) {
  PostScriptDevice dev(1, dir_.string(), term_);
  dev.daruvuza();
  dev.plot(0.0F, 0.0F, 3);
  dev.plot(0.002F, 0.002F, 3);  // dropped: within 0.003 in x and y
  dev.plot(0.0F, 0.0F, 2);      // a draw to the point moved to is written
  dev.plot(0.003F, 0.0F, 2);    // exactly 0.003 away: written
  dev.plot(0.004F, 0.001F, 2);  // dropped
  dev.plot(0.0F, 0.0F, 7);      // not a pen code
  // Far off the page: clamped so that each field keeps its leading blank.
  dev.plot(300.0F, -30.0F, 2);
  dev.plot(-1.0e30F, 1.0e30F, 2);
  dev.endplots();
  const std::string text = file("PLOT0001.ps");
  EXPECT_EQ(text.substr(text.find(" 1 setlinejoin\n") + 15),
            R"(  25.2  15.3 moveto
  25.2  15.3 lineto
  25.3  15.3 lineto
 999.9 -99.9 lineto
 -99.9 999.9 lineto
stroke
showpage
%%Trailer
%%Pages:   1
%%EOF
)");
}

TEST_F(PostScriptTest, PathRestartsAfterEveryHundredRecords) {
  PostScriptDevice dev(1, dir_.string(), term_);
  dev.daruvuza();
  dev.plot(0.0F, 0.0F, 3);
  for (int i = 1; i < 100; ++i) {
    if (i == 50) dev.pen(5);  // a colour change does not reset the count
    dev.plot(0.01F * static_cast<float>(i), 0.0F, 2);
  }
  dev.plot(5.0F, 5.0F, 2);
  dev.endplots();
  const auto v = lines("PLOT0001.ps");
  const auto it = std::find(v.begin(), v.end(), "  75.6  15.3 lineto");
  ASSERT_GE(v.end() - it, 5);  // the 100th record, x = 0.99
  EXPECT_EQ(
      std::vector<std::string>(it + 1, it + 5),
      (std::vector<std::string>{"stroke", "newpath", "  75.6  15.3 moveto",
                                " 279.9 270.0 lineto"}));
  EXPECT_EQ(std::count(v.begin(), v.end(), "newpath"), 3);
}

TEST_F(PostScriptTest, PenColoursFoldOntoTheTable) {
  PostScriptDevice dev(1, dir_.string(), term_);
  dev.daruvuza();
  for (const int ipen : {-4, 13, 23, 22, 5, 8}) dev.pen(ipen);
  dev.plot(1.0F, 1.0F, 2);
  dev.endplots();
  std::vector<std::string> colours;
  for (const auto& l : lines("PLOT0001.ps")) {
    if (l.ends_with("setrgbcolor")) colours.push_back(l.substr(0, 21));
  }
  EXPECT_EQ(colours, (std::vector<std::string>{
                         "  1.000  0.000  0.000", "  0.000  0.000  0.000",
                         "  0.000  0.000  0.000", "  0.800  0.400  0.000",
                         "  0.000  0.000  0.800", "  1.000  0.500  0.000"}));
}

TEST_F(PostScriptTest, PageOfMovesOnlyStaysOpenAndBoxBorderDecides) {
  PostScriptDevice dev(0, dir_.string(), term_);
  dev.daruvuza();
  dev.plot(1.0F, 1.0F, 3);
  dev.boxcolor({0.0F, 1.0F}, {0.0F, 1.0F}, 0, -1);  // no border: nothing
  dev.nextplot();  // nothing drawn: no page end, no new file
  dev.plot(2.0F, 2.0F, 2);
  dev.endplots();
  EXPECT_EQ(terminal(), kSent);
  EXPECT_EQ(files(), std::vector<std::string>{"PLOT0001.ps"});
  EXPECT_EQ(file("PLOT0001.ps"),
            std::string(kHeader) + "%%Page:   1   1\n" + kSetUp +
                "  76.1  66.2 moveto\n 127.1 117.2 lineto\nstroke\nshowpage\n");
}

TEST_F(PostScriptTest, RunWithoutDrawingLeavesNoFile) {
  {
    PostScriptDevice dev(1, dir_.string(), term_);
    dev.pen(2);  // before daruvuza: there is no file name yet
    dev.plot(1.0F, 1.0F, 2);
    dev.endplots();
  }
  {
    // Opened but never drawn on: no file with a bare trailer either.
    PostScriptDevice dev(1, dir_.string(), term_);
    dev.daruvuza();
    dev.nextplot();
    dev.endplots();
  }
  EXPECT_TRUE(files().empty());
  EXPECT_EQ(terminal(), "");
}

TEST(PostScriptNames, CounterAdvancesAndCarriesOnPast9999) {
  // Past 9999 the counter gains a digit: wrapping to 0000 would overwrite
  // this run's first files.
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"PLOT0001.ps ", "PLOT0002.ps "},   {"PLOT0009.ps ", "PLOT0010.ps "},
      {"PLOT0999.ps ", "PLOT1000.ps "},   {"PLOT9999.ps ", "PLOT10000.ps "},
      {"PLOT10009.ps ", "PLOT10010.ps "}, {"PLOT99999.ps", "PLOT100000.ps"},
      {"PLOTx999.ps ", "PLOTx000.ps "},   {"", ""}};
  for (auto [name, next] : cases) {
    page::nextname(name);
    EXPECT_EQ(name, next);
  }
}

TEST_F(PostScriptTest, PageCommentsPast999KeepTheirNumbersApart) {
  PostScriptDevice dev(1, dir_.string(), term_);
  dev.daruvuza();
  for (int page = 1; page <= 1000; ++page) {
    dev.plot(0.0F, 0.0F, 3);
    dev.plot(1.0F, 1.0F, 2);
    dev.nextplot();
  }
  dev.endplots();
  const std::vector<std::string> got = lines("PLOT0001.ps");
  const auto has = [&](const std::string& l) {
    return std::find(got.begin(), got.end(), l) != got.end();
  };
  EXPECT_TRUE(has("%%Page: 999 999"));
  EXPECT_TRUE(has("%%Page:1000 1000"));
  EXPECT_TRUE(has("%%Pages:1000"));
}

TEST(PostScriptFailure, UnwritableFolderStopsTheRunNamingTheFile) {
  EXPECT_EXIT(
      {
        PostScriptDevice dev(1, "/nonexistent-veskaro-folder");
        dev.daruvuza();
        dev.plot(1.0F, 1.0F, 2);
      },
      ::testing::ExitedWithCode(2), "/nonexistent-veskaro-folder/PLOT0001.ps");
}

}  // namespace
}  // namespace veskaro
