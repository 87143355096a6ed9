#include "core/driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/routines.h"
#include "tests/card_text.h"
#include "tests/recording_device.h"
#include "tests/temp_dir.h"

namespace veskaro {
namespace {

using test_cards::card;

// A frame definition up to its first plot: layout, control, axis labels.
std::string frame(const std::string& control, const std::string& layout = "") {
  return layout + "\n" + control + "\nEnergy\nCounts\n";
}

// One plot: titles, X card, Y card.
std::string plot(const std::string& xcard = "") {
  return "Title one\nTitle two\n" + xcard + "\n\n";
}

// A curve of three rising points from x0.
std::string curve(const std::string& title, int x0 = 1) {
  std::string s = title + "\n";
  for (int i = 0; i < 3; ++i) {
    s += card({std::to_string(x0 + i), std::to_string(2 * i + 2)}) + "\n";
  }
  return s + "\n";
}

const std::string kSet = "Set\n2          0          0          5\n\n";
const std::string kRuler = " " + std::string(72, '-');

std::string closing(int plots) {
  std::string n = std::to_string(plots);
  return " End of Run  " + std::string(6 - n.size(), ' ') + n +
         " Plots Generated";
}

class Driver : public ::testing::Test {
 protected:
  Driver() : c(std::make_unique<Core>(dev)) {}

  int go(const std::string& inp, const std::string& cur = "",
         const std::string& pnt = "") {
    dev.calls.clear();
    c = std::make_unique<Core>(dev);
    c->files.inp.open_text(inp);
    c->files.lst.open_memory();
    c->files.cur.open_text(cur);
    c->files.pnt.open_text(pnt);
    c->files.chr.open_text("");
    c->files.sym.open_text("");
    return run_core(*c);
  }
  std::vector<std::string> lines() const {
    std::istringstream in(c->files.lst.text());
    std::vector<std::string> out;
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
  }
  // Listing lines that begin with `prefix`.
  int count(const std::string& prefix) const {
    const auto l = lines();
    return static_cast<int>(std::count_if(
        l.begin(), l.end(), [&](auto& s) { return s.rfind(prefix, 0) == 0; }));
  }
  // Index of the first line from `from` on that begins with `prefix`.
  int find(const std::string& prefix, int from = 0) const {
    const auto l = lines();
    for (int i = from; i < static_cast<int>(l.size()); ++i) {
      if (l[static_cast<std::size_t>(i)].rfind(prefix, 0) == 0) return i;
    }
    return -1;
  }

  RecordingDevice dev;
  std::unique_ptr<Core> c;
};

TEST_F(Driver, EmptyParameterFileAndBothCountsZero) {
  EXPECT_EQ(go(""), 0);
  const std::string heavy = std::string(" ").append(72, '=');
  EXPECT_EQ(lines(), (std::vector<std::string>{
                         heavy, " Plot Tabulated Data (VESKARO Version 2025-1)",
                         heavy, kRuler, closing(0)}));
  // The device is closed without ever having been opened.
  EXPECT_EQ(dev.calls, std::vector<std::string>{"endplots"});

  EXPECT_EQ(go(frame(card({"0", "0"})) + plot(), curve("A")), 0);
  EXPECT_EQ(lines().back(), " Executiob Terminated");
  EXPECT_EQ(count(" End of Run") + count(" X Axis Label"), 0);
  EXPECT_EQ(dev.calls, std::vector<std::string>{"endplots"});
}

TEST_F(Driver, EndOfFileAtEveryCardEndsTheRunInOrder) {
  const std::vector<std::string> cards{
      "", card({"1"}), "Energy", "Counts", "Title one", "Title two", "", ""};
  for (std::size_t k = 0; k < cards.size(); ++k) {
    SCOPED_TRACE(k);
    std::string inp;
    for (std::size_t i = 0; i < k; ++i) inp += cards[i] + "\n";
    EXPECT_EQ(go(inp, curve("A")), 0);
    // Once the label cards are read, setup has drawn the start page.
    const int plots = k < 4 ? 0 : 1;
    EXPECT_EQ(lines().back(), closing(plots));
    EXPECT_EQ(count(" End of Run"), 1);
    EXPECT_EQ(dev.calls.back(), "endplots");
    EXPECT_EQ(dev.count("daruvuza"), plots);
    EXPECT_EQ(count(" Plot Title"), k >= 6 ? 1 : 0);
    EXPECT_EQ(count(" Requested X Range"), k >= 7 ? 1 : 0);
  }
  // Nothing could be read for a plot: the run ends after its Y block.
  go(frame(card({"2", "1"})) + plot() + plot());
  const auto l = lines();
  EXPECT_EQ(l[l.size() - 3], " Show Data Points.................. NO ");
  EXPECT_EQ(l.back(), closing(1));
}

TEST_F(Driver, ReadOnceCountAfterTheOtherFileEndedEndsAtTheControlCard) {
  for (const bool curves_end : {false, true}) {
    SCOPED_TRACE(curves_end);
    // The first plot reads one curve and one set; only the file of the
    // other kind still has data.
    const std::string cur = curves_end ? curve("A") : curve("A") + curve("B");
    const std::string pnt = curves_end ? kSet + kSet : kSet;
    const std::string second =
        curves_end ? card({"0", "-1"}) : card({"-1", "0"});
    go(frame(card({"1", "1"})) + plot() + plot() + "\n" + frame(second) +
           plot(),
       cur, pnt);
    const int control2 = find(" Read Once. Allow Multiple Plots");
    ASSERT_GT(control2, 0);
    EXPECT_EQ(find(" X Axis Label", control2), -1);
    EXPECT_EQ(lines().back(), closing(c->fb.PLOTN));
    EXPECT_EQ(count(" Plot Title"), 2);
  }
  // Two curves where three were asked: the next frame definition reuses
  // only as many as its count.
  go(frame(card({"3"})) + plot() + "\n" + frame(card({"-1"})) + plot(),
     curve("A") + curve("B"));
  EXPECT_EQ(c->store->NCURVE, 1);
  EXPECT_EQ(count(" Plot Title"), 2);
}

TEST_F(Driver, RotatedLayoutIsExchangedAfterTheListing) {
  go(frame(card({"1"}), card({"1", "-10", "2", "8"})) + "\n", curve("A"));
  EXPECT_GE(find(" X Dimensions (X-Min to X-Max)..... 1.00000000 to  "
                 "10.0000000 Inches"),
            0);
  EXPECT_EQ(c->pg.XPMIN, 2.0);
  EXPECT_EQ(c->pg.YPMAX, 10.0);
  EXPECT_EQ(c->drv.XYPLST(2), 10.0);
  EXPECT_EQ(lines().back(), closing(1));
}

TEST_F(Driver, DrawingPassListsLimitsAndCapturesTheFirstDrawing) {
  go(frame(card({"2", "1"})) + plot(card({"", "", "", "1"})),
     curve("Alpha") + curve("Beta", 10), kSet);
  EXPECT_EQ(find(" X Limits (Plane)"), find(" Show Data Points") + 2);
  EXPECT_EQ(find("     2      3 Beta"), find(" Discrete Points") - 2);
  EXPECT_EQ(c->op.KPLAN0(1), 1);
  EXPECT_EQ(c->op.XSTART, 1.0);
  EXPECT_EQ(c->op.XEND, 12.0);
  EXPECT_EQ(lines().back(), closing(2));

  // No data in the window: skipped, uncounted, the next plot follows.
  go(frame(card({"1"})) + plot(card({"100", "200"})) + plot(),
     curve("A") + curve("B"));
  const int skipped = find(" No Data in Requested X Range");
  EXPECT_EQ(find(" Plot Title", skipped), skipped + 2);
  EXPECT_EQ(count(" X Limits"), 1);
  EXPECT_EQ(lines().back(), closing(2));
}

TEST_F(Driver, RatioSubplotNeedsMoreThanTheReferenceCurve) {
  go(frame(card({"1", "0", "0", "0", "5"})) + plot(), curve("A"));
  EXPECT_EQ(c->pg.NSUB, 1);
  EXPECT_EQ(c->pg.SUBPLT(3), c->pg.SUBPLT(1));

  go(frame(card({"2", "0", "0", "0", "5"})) + plot(), curve("A") + curve("B"));
  EXPECT_EQ(c->pg.NSUB, 2);
  const double h = c->pg.SUBPLT(2) - c->pg.SUBPLT(1);
  EXPECT_EQ(c->pg.SUBPLT(3), c->pg.SUBPLT(2) - (h + h) / 3);
  // Subplot 2 drawn last; one limits block; subplot 1's frame kept.
  EXPECT_EQ(c->pg.PLTLIM(3), c->pg.SUBPLT(1));
  EXPECT_EQ(c->pg.PLTTOP(1), c->pg.SUBPLT(3));
  EXPECT_EQ(count(" X Limits"), 1);
}

// Centre of menu cell (column, row) on the recording device's screen.
RecordingDevice::Click menu_cell(int col, int row) {
  return {1, (static_cast<float>(col) - 0.5F) * 13.0F / 8,
          10.5F - 10.5F / 30 * (static_cast<float>(row) + 0.5F)};
}

TEST_F(Driver, MenuRedrawsAreCountedAndTheEndOptionWritesNoClosing) {
  dev.iact = 1;
  // The data-points option twice, then a key: three drawings.
  dev.clicks = {menu_cell(1, 4), menu_cell(1, 4)};
  go(frame(card({"1"})) + plot(), curve("A"));
  EXPECT_EQ(count(" X Limits (Plane)"), 3);
  EXPECT_EQ(count(" Continuous Curves"), 3);
  // Start page, two redraws, the advance after the plot.
  EXPECT_EQ(lines().back(), closing(4));

  dev.next_click = 0;
  dev.clicks = {menu_cell(8, 1)};
  go(frame(card({"1"})) + plot() + plot(), curve("A") + curve("B"));
  EXPECT_EQ(count(" End of Run"), 0);
  EXPECT_EQ(count(" Plot Title"), 1);
  EXPECT_EQ(dev.calls.back(), "endplots");
}

TEST_F(Driver, LayoutChangeStartsANewPageOnlyWhenThePageHoldsAPlot) {
  const std::string two_by_two = card({"", "", "", "", "2", "2"});
  go(frame(card({"1"}), two_by_two) + plot() + "\n" +
         frame(card({"1"}), two_by_two) + plot() + "\n" +
         frame(card({"1"}), card({"", "", "", "", "1", "1"})) + plot(),
     curve("A") + curve("B") + curve("C"));
  // Start page; the changed layout ends the half-full page; the single
  // plot fills its own page.
  EXPECT_EQ(dev.count("nextplot"), 3);
  EXPECT_EQ(lines().back(), closing(4));
}

TEST_F(Driver, OverlayOfAnotherLayoutStartsAtItsOwnFirstCell) {
  const std::string one_by_one = card({"", "", "", "", "1", "1"});
  const std::string two_by_two = card({"", "", "", "", "2", "2"});
  struct Case {
    std::string before, overlay;
    int breaks;
  };
  // A 2 by 2 overlay after a 1 by 1 layout; a rotated overlay after an
  // unrotated layout of the same area; an overlay after a half-full page.
  for (const Case& k :
       {Case{one_by_one, card({"", "", "", "", "-2", "2"}), 2},
        Case{one_by_one, card({"", "-13.5", "", "", "-1", "1"}), 2},
        Case{two_by_two, card({"", "", "", "", "-1", "1"}), 2}}) {
    SCOPED_TRACE(k.overlay);
    go(frame(card({"1"}), k.before) + plot() + "\n" +
           frame(card({"1"}), k.overlay) + plot() + plot(),
       curve("A") + curve("B") + curve("C"));
    EXPECT_EQ(dev.count("nextplot"), k.breaks);
    // Both overlaid plots sit in the top-left cell of the overlay layout.
    const auto& pg = c->pg;
    EXPECT_EQ(pg.IXNOW, 1);
    EXPECT_EQ(pg.IYNOW, 1);
    EXPECT_EQ(pg.XOFF, pg.IROTAT == 1 ? pg.XPMAX : pg.XPMIN);
    EXPECT_EQ(pg.YOFF, pg.YPMAX - pg.DYCELL);
  }
}

TEST_F(Driver, OverlayPageIsEndedBeforeTheNextFrameDefinition) {
  const std::string overlay = card({"", "", "", "", "-2", "2"});
  const std::string two_by_two = card({"", "", "", "", "2", "2"});
  const std::string three_by_one = card({"", "", "", "", "3", "1"});
  for (const std::string& next : {two_by_two, three_by_one}) {
    SCOPED_TRACE(next);
    // Two overlaid plots, then a plot of an ordinary frame definition.
    go(frame(card({"1"}), overlay) + plot() + plot() + "\n" +
           frame(card({"1"}), next) + plot(),
       curve("A") + curve("B") + curve("C"));
    // The start page, then the page of the overlay cell is ended before
    // the third plot is drawn.
    EXPECT_EQ(dev.count("nextplot"), 2);
    const auto last_break = std::find(dev.calls.rbegin(), dev.calls.rend(),
                                      std::string("nextplot"));
    EXPECT_GT(std::count_if(dev.calls.rbegin(), last_break,
                            [](auto& s) { return s.rfind("plot ", 0) == 0; }),
              0);
    // The third plot took the first cell of the fresh page.
    EXPECT_EQ(c->pg.IXNOW, 2);
    EXPECT_EQ(c->pg.IYNOW, 1);
    EXPECT_EQ(c->drv.KOVPAGE, 0);
  }
  // An overlay frame definition whose only plot had no data in its
  // window leaves the page as it was.
  go(frame(card({"1"}), overlay) + plot(card({"100", "200"})) + "\n" +
         frame(card({"1"}), overlay) + plot(),
     curve("A") + curve("B"));
  EXPECT_EQ(dev.count("nextplot"), 1);

  // On an interactive device the overlay cell of a whole page is drawn
  // once; a zoom between the two points of the set then finds no data, and
  // the next frame definition still starts on a fresh page.
  dev.iact = 1;
  dev.clicks = {menu_cell(1, 3), {1, 6.4F, 5.0F}, {1, 6.6F, 5.0F}};
  go(frame(card({"0", "1"}), card({"", "", "", "", "-1"})) + plot() + "\n" +
         frame(card({"0", "1"}), two_by_two) + plot(),
     "",
     "Set\n" + card({"1", "", "", "1"}) + "\n" + card({"10", "", "", "2"}) +
         "\n\n" + kSet);
  EXPECT_EQ(count(" No Data in Requested X Range"), 1);
  EXPECT_EQ(count(" X Limits (Plane)"), 2);
  EXPECT_EQ(dev.count("nextplot"), 2);
}

TEST_F(Driver, LimitsThatAreNotFiniteAreReportedBeforeTheLimitsBlock) {
  // A linear x axis over +-1e50 carries the power of ten 50; a zoom over
  // most of the frame turns both picks into values past any double, and
  // the redraw gets a window of -infinity to +infinity.
  dev.iact = 1;
  dev.clicks = {menu_cell(1, 3), {1, 3.0F, 5.0F}, {1, 10.0F, 5.0F}};
  go(frame(card({"1"})) + plot(card({"", "", "", "1"})),
     "Wide\n" + card({"-1E50", "1"}) + "\n" + card({"1E50", "2"}) + "\n\n");
  const std::string warning =
      " WARNING...Data Give No Finite Axis Limits; Axis Drawn -1.05 to 1.05";
  EXPECT_EQ(count(warning), 1);
  const int at = find(warning);
  ASSERT_GT(at, 0);
  // The first drawing had finite limits; the redraw's block follows the
  // warning.
  EXPECT_EQ(count(" X Limits (Plane)"), 2);
  EXPECT_LT(find(" X Limits (Plane)"), at);
  EXPECT_EQ(lines()[static_cast<std::size_t>(at - 1)], kRuler);
  EXPECT_EQ(lines()[static_cast<std::size_t>(at + 1)], kRuler);
  EXPECT_EQ(find(" X Limits (Plane)", at), at + 3);
  EXPECT_EQ(c->ax.WAYS(1), 1);
  EXPECT_EQ(c->rs.limits.IBADLM, 1);
}

TEST(DriverRun, RunsInTheCurrentFolder) {
  namespace fs = std::filesystem;
  const fs::path old = fs::current_path();
  const fs::path dir = unique_temp_dir("veskaro_driver_run");
  std::ofstream(dir / "VESKARO.INP") << "\n" << card({"0", "0"}) << "\n";
  fs::current_path(dir);
  RecordingDevice dev;
  EXPECT_EQ(run(dev), 0);
  fs::current_path(old);
  std::stringstream got;
  got << std::ifstream(dir / "VESKARO.LST").rdbuf();
  EXPECT_NE(got.str().find("\n Executiob Terminated\n"), std::string::npos);
  fs::remove_all(dir);
}

TEST(DriverRun, UnwritableListingStopsTheRunNamingTheFile) {
  namespace fs = std::filesystem;
  const fs::path dir = unique_temp_dir("veskaro_driver_lst");
  fs::create_directories(dir / "VESKARO.LST");
  EXPECT_EXIT(
      {
        fs::current_path(dir);
        RecordingDevice dev;
        run(dev);
      },
      ::testing::ExitedWithCode(2), "VESKARO.LST");
  fs::remove_all(dir);
}

}  // namespace
}  // namespace veskaro
