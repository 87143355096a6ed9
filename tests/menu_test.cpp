#include "core/menu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "core/driver.h"
#include "tests/card_text.h"
#include "tests/recording_device.h"
#include "tests/temp_dir.h"

namespace veskaro {
namespace {

const std::string kBlank(10, ' ');

// A screen-sized interactive device, one cell laid out as the driver
// leaves it before the first plot, the shipped captions.
class MenuTest : public ::testing::Test {
 protected:
  RecordingDevice dev;
  Core c{dev};

  void SetUp() override {
    dev.iact = 1;
    dev.size_x = {0.0F, 12.5F};
    dev.size_y = {0.01F, 10.0F};
    c.rs.menu.caption_file = std::string(VESKARO_SOURCE_DIR) + "/data/PAGE.DAT";
    c.pg.EDGE(2) = 13.5;
    c.pg.EDGE(4) = static_cast<double>(10.24F);
    c.ax.XYLIM(2) = 100;
    c.ax.WAYS(1) = 1;
    c.ax.IEXPX = 3;
    layout(0);
    dev.calls.clear();
  }
  void layout(int imthru) { setup(c, imthru); }

  // The middle of the cell of option k.
  RecordingDevice::Click pick(int k) const {
    const int ix = (k - 1) / 5 + 1;
    const int iy = (k - 1) % 5 + 1;
    return {1, static_cast<float>((c.mn.XBOXES(ix) + c.mn.XBOXES(ix + 1)) / 2),
            static_cast<float>((c.mn.YBOXES(iy) + c.mn.YBOXES(iy + 1)) / 2)};
  }
  int choose(int k) {
    dev.clicks.push_back(pick(k));
    int im = -1;
    action(c, im);
    return im;
  }
  bool called(const std::string& line) const {
    return std::count(dev.calls.begin(), dev.calls.end(), line) > 0;
  }
  // Device coordinate of a virtual-page x, and back.
  float device(double xi) const {
    return static_cast<float>(xi * c.pg.XSCALE + c.pg.XOFF);
  }
  double page(float d) const {
    return (static_cast<double>(d) - c.pg.XOFF) / c.pg.XSCALE;
  }
  // Plane value of a virtual-page x on the frame.
  double plane(double xi) const {
    const double f = (xi - c.pg.PLTLIM(1)) / (c.pg.PLTLIM(2) - c.pg.PLTLIM(1));
    return c.ax.XYLIM(1) + f * (c.ax.XYLIM(2) - c.ax.XYLIM(1));
  }
};

TEST_F(MenuTest, StripAndGridAreCutFromTheTopOfTheScreen) {
  const double dy = (10.0 - static_cast<double>(0.01F)) / 30;
  EXPECT_NEAR(c.mn.XBOXES(9), 12.5, 1e-12);
  EXPECT_NEAR(c.mn.YBOXES(6), 10.0 - 6 * dy, 1e-6);
  EXPECT_EQ(c.mn.TOPXY(3), static_cast<float>(c.mn.YBOXES(6)));
  EXPECT_EQ(c.mn.TOPXY(4), 10.0F);
  // The plots stay below the strip; the cell follows the reduced area.
  EXPECT_DOUBLE_EQ(c.pg.YPMAX, c.mn.YBOXES(6) - static_cast<double>(0.01F));
  EXPECT_DOUBLE_EQ(c.pg.DYCELL, c.pg.YPMAX - c.pg.YPMIN);

  topper(c);
  EXPECT_EQ(dev.calls[0].rfind("boxcolor 0.0000 12.5000 ", 0), 0U);
  EXPECT_EQ(dev.calls[0].substr(dev.calls[0].size() - 4), " 0 0");
  EXPECT_TRUE(called("showtext 1 0 [VESKARO (Version 2025-1)] 24"));
  EXPECT_TRUE(called("showtext 54 0 [Use MOUSE to Select Option] 26"));
  EXPECT_TRUE(called("showtext 11 2 [Ratios    ] 10"));  // option 7
  EXPECT_TRUE(called("showtext 71 1 [End Run   ] 10"));  // option 36
  EXPECT_EQ(dev.count("showtext"), 2 + 21);  // blank captions show nothing
  EXPECT_EQ(dev.count("pen 4"), 21);
  EXPECT_EQ(std::count_if(dev.calls.begin(), dev.calls.end(),
                          [](const std::string& l) {
                            return l.rfind("boxcolor", 0) == 0 &&
                                   l.substr(l.size() - 5) == " -1 3";
                          }),
            40);
}

TEST_F(MenuTest, ShippedCaptionsNameEveryActionAndLeaveABlankBetweenCells) {
  // The strip shows the cells' captions side by side, ten text columns
  // each: a caption in all ten would run into its neighbour.
  topper(c);
  for (int k = 1; k <= 40; ++k) {
    const bool acts = k <= 19 || k == 25 || k == 36;
    EXPECT_EQ(c.mn.OPS(k) != kBlank, acts) << k;
    EXPECT_EQ(c.mn.OPS(k)[9], ' ') << k << " [" << c.mn.OPS(k) << "]";
  }
}

TEST(MenuCaptions, ReadOnceIgnoringBadNumbersAndStoppingAtAnUnreadableOne) {
  RecordingDevice dev;
  Core c{dev};
  const std::string path = (unique_temp_dir("menu") / "PAGE.DAT").string();
  std::ofstream(path) << "  0 Zero\n 41 FortyOne\n -5 Minus\n  3 First\n"
                         "  3 Third     extra\n  7\nabc Broken\n  4 After\n";
  c.rs.menu.caption_file = path;
  c.mn.OPS(9) = "Leftover  ";
  topper(c);
  EXPECT_EQ(c.mn.OPS(3), "Third     ");
  for (const int k : {1, 4, 5, 7, 9, 40}) EXPECT_EQ(c.mn.OPS(k), kBlank) << k;
  std::ofstream(path) << "  3 Changed\n";
  topper(c);  // only the first strip reads the file
  EXPECT_EQ(c.mn.OPS(3), "Third     ");
  std::remove(path.c_str());

  Core c2{dev};
  c2.rs.menu.caption_file = path;  // now missing: all blank, all pickable
  c2.mn.OPS(9) = "Leftover  ";
  topper(c2);
  EXPECT_EQ(c2.mn.OPS(9), kBlank);
}

TEST_F(MenuTest, PicksFindTheirCellEdgesGoToTheFirstCellOutsidePicksWait) {
  int k = 0, ix = 0, iy = 0;
  for (const int opt : {1, 7, 25, 36, 40}) {
    dev.clicks.push_back(pick(opt));
    kiwi(c, k, ix, iy);
    EXPECT_EQ(k, opt);
  }
  // On the edge between columns 1 and 2 and rows 2 and 3: the first ones.
  dev.clicks.push_back({1, static_cast<float>(c.mn.XBOXES(2)),
                        static_cast<float>(c.mn.YBOXES(3))});
  kiwi(c, k, ix, iy);
  EXPECT_EQ(std::vector<int>({k, ix, iy}), std::vector<int>({2, 1, 2}));
  // Title row, below the grid, right of the screen: ignored.
  const float x = pick(17).x;
  dev.clicks.push_back({1, x, 9.99F});
  dev.clicks.push_back({2, x, 1.0F});
  dev.clicks.push_back({3, 13.0F, pick(1).y});
  dev.clicks.push_back(pick(17));
  dev.calls.clear();
  kiwi(c, k, ix, iy);
  EXPECT_EQ(k, 17);
  EXPECT_EQ(dev.count("mousey 1 4"), 4);
  kiwi(c, k, ix, iy);  // a key
  EXPECT_EQ(std::vector<int>({k, ix, iy}), std::vector<int>({0, 0, 0}));
}

TEST_F(MenuTest, KeyNextPlotDumpAndEndOfRun) {
  int im = -1;
  action(c, im);  // no clicks left: a key
  EXPECT_EQ(im, 0);
  EXPECT_EQ(choose(5), 0);

  // The choice is marked: prompt erased, caption in the strip in pen 3.
  dev.calls.clear();
  EXPECT_EQ(choose(4), 1);
  EXPECT_EQ(c.op.SHOWPT, 1);
  EXPECT_TRUE(called("showtext 54 0 [" + std::string(26, ' ') + "] 26"));
  EXPECT_TRUE(called("showtext 36 0 [Mark Data ] 10"));

  // A dump shows the menu again without a redraw; the next choice acts.
  dev.calls.clear();
  dev.clicks.push_back(pick(25));
  EXPECT_EQ(choose(4), 1);
  EXPECT_EQ(c.op.SHOWPT, 0);
  EXPECT_EQ(dev.count("printit"), 1);
  EXPECT_EQ(dev.count("showtext 1 0 [VESKARO"), 2);
  EXPECT_EQ(choose(25), 0);  // dump, then a key

  dev.clicks.push_back(pick(36));
  EXPECT_THROW(action(c, im), RunEnd);
  EXPECT_EQ(dev.count("endplots"), 1);
  // A closed window ends the run as the end option does.
  dev.clicks.push_back({kWindowClosed, 0.0F, 0.0F});
  EXPECT_THROW(action(c, im), RunEnd);
  EXPECT_EQ(dev.count("endplots"), 2);
}

TEST_F(MenuTest, ScaleTogglesRestoreTheFirstRequestsSign) {
  auto& op = c.op;
  op.KTERP0(1) = 3;
  op.KTERP0(2) = 4;
  // Linear in force after a first request for log without interpolation.
  op.KWAYSN(1) = 1;
  op.KPLAN0(1) = -2;
  EXPECT_EQ(choose(1), 1);
  EXPECT_EQ(c.ax.WAYS(1), 2);
  EXPECT_EQ(op.KPLANE(1), -2);
  EXPECT_EQ(op.TERPIT(1) * 10 + op.TERPIT(2), 34);
  op.KWAYSN(1) = 2;
  choose(1);
  EXPECT_EQ(op.KPLANE(1), 1);
  op.KWAYSN(1) = -1;
  choose(1);
  EXPECT_EQ(op.KPLANE(1), -2);
  // A negative requested limit keeps the axis as it was.
  op.KWAYSN(1) = 1;
  op.XMIN = -1;
  choose(1);
  EXPECT_EQ(c.ax.WAYS(1), -2);

  // The y axis with its own limits and records.
  op.KWAYSN(2) = 2;
  op.KPLAN0(2) = -1;
  choose(2);
  EXPECT_EQ(c.ax.WAYS(2), 1);
  EXPECT_EQ(op.KPLANE(2), -1);
  op.YMAX = -0.5;
  c.ax.WAYS(2) = 5;
  choose(2);
  EXPECT_EQ(c.ax.WAYS(2), 5);

  // Restore: window, scales and laws of the first drawing.
  op.XSTART = 2.5;
  op.XEND = 40;
  op.KWAYS0(1) = 1;
  op.KWAYS0(2) = 2;
  op.TERPIT(1) = 1;
  EXPECT_EQ(choose(6), 1);
  EXPECT_EQ(op.XMIN, 2.5);
  EXPECT_EQ(op.XMAX, 40);
  EXPECT_EQ(op.KXMIN + op.KXMAX, 2);
  EXPECT_EQ(op.KPLANE(1), -2);
  EXPECT_EQ(op.KPLANE(2), -1);
  EXPECT_EQ(c.ax.WAYS(1) * 10 + c.ax.WAYS(2), 12);
  EXPECT_EQ(op.TERPIT(1), 3);
}

TEST_F(MenuTest, ZoomTakesTwoPicksInTheFrameInEitherOrder) {
  c.op.KPLANE(1) = -1;
  c.op.KPLANE(2) = 2;
  c.ax.WAYS(2) = 2;
  dev.clicks.push_back(pick(3));
  dev.clicks.push_back({1, device(0.5), 5.0F});  // left of the frame
  dev.clicks.push_back({1, device(9.0), 5.0F});
  dev.clicks.push_back({1, device(13.4), 5.0F});  // right of the frame
  dev.clicks.push_back({3, device(4.0), 2.0F});
  int im = -1;
  action(c, im);
  EXPECT_EQ(im, 1);
  EXPECT_TRUE(called("showtext 45 0 [Use MOUSE to Define Zoomed X Limits] 35"));
  // Linear axis: plane value times 10 to the axis exponent.
  EXPECT_NEAR(c.op.XMIN, plane(page(device(4.0))) * 1000, 1e-6);
  EXPECT_NEAR(c.op.XMAX, plane(page(device(9.0))) * 1000, 1e-6);
  EXPECT_EQ(c.op.KXMIN + c.op.KXMAX, 2);
  EXPECT_EQ(c.op.KPLANE(1) | c.op.KPLANE(2) | c.ax.WAYS(1) | c.ax.WAYS(2), 0);
  // A marker line across the plot area per accepted pick.
  EXPECT_EQ(dev.count("pen 1"), 2);
  char line[80];
  std::snprintf(line, sizeof line, "plot %.4f %.4f 2", device(9.0),
                static_cast<float>(c.pg.SUBPLT(2) * c.pg.YSCALE + c.pg.YOFF));
  EXPECT_TRUE(called(line));

  // Log axis: 10 to the plane value.
  c.ax.WAYS(1) = 2;
  c.ax.XYLIM(1) = -1;
  c.ax.XYLIM(2) = 3;
  dev.clicks.push_back(pick(3));
  dev.clicks.push_back({1, device(11.0), 5.0F});
  dev.clicks.push_back({1, device(3.0), 5.0F});
  action(c, im);
  EXPECT_NEAR(c.op.XMIN, std::pow(10.0, plane(page(device(3.0)))), 1e-9);
  EXPECT_NEAR(c.op.XMAX, std::pow(10.0, plane(page(device(11.0)))), 1e-9);

  // Both picks at one point, or a key at either pick: next plot, window
  // unchanged.
  c.op.XMIN = 1;
  c.op.KPLANE(1) = -1;
  for (const int picks : {2, 0, 1}) {
    dev.clicks.push_back(pick(3));
    for (int p = 0; p < picks; ++p) dev.clicks.push_back({1, device(6), 5.0F});
    action(c, im);
    EXPECT_EQ(im, 0) << picks;
    EXPECT_EQ(c.op.XMIN, 1);
    EXPECT_EQ(c.op.KPLANE(1), -1);
  }
}

TEST_F(MenuTest, RotatedPageLaysOutBelowTheStripAndZoomsAlongTheDevicesY) {
  c.pg.IROTAT = 1;
  layout(0);
  EXPECT_DOUBLE_EQ(c.pg.XPMAX, c.mn.YBOXES(6) - static_cast<double>(0.01F));
  EXPECT_DOUBLE_EQ(c.pg.YPMAX, 12.5);
  ASSERT_LT(c.pg.XSCALE, 0);
  dev.clicks.push_back(pick(3));
  dev.clicks.push_back({1, 3.0F, device(5.0)});
  dev.clicks.push_back({1, 9.0F, device(2.0)});
  int im = -1;
  action(c, im);
  EXPECT_EQ(im, 1);
  EXPECT_NEAR(c.op.XMIN, plane(page(device(2.0))) * 1000, 1e-6);
  EXPECT_NEAR(c.op.XMAX, plane(page(device(5.0))) * 1000, 1e-6);
}

TEST_F(MenuTest, TogglesOfErrorBarsLegendBackgroundAndTheGridTable) {
  c.op.ERRBAR(2) = 1;
  for (const int k : {8, 9, 17, 10, 20, 40}) EXPECT_EQ(choose(k), 1);
  EXPECT_EQ(c.op.ERRBAR(1), 1);
  EXPECT_EQ(c.op.ERRBAR(2), 0);
  EXPECT_EQ(c.op.LEGOFF, 1);
  EXPECT_EQ(dev.count("newback"), 1);

  const int want[6][2] = {{0, 0}, {2, 0}, {1, 0}, {2, 2}, {1, 2}, {1, 1}};
  for (int k = 11; k <= 16; ++k) {
    c.op.GRIDDY(1) = c.op.GRIDDY(2) = 9;
    choose(k);
    EXPECT_EQ(c.op.GRIDDY(1), want[k - 11][0]) << k;
    EXPECT_EQ(c.op.GRIDDY(2), want[k - 11][1]) << k;
  }
}

TEST_F(MenuTest, RatioToggleInAnOverlayLeavesDefinedSubplotExtents) {
  c.pg.IOVER = 1;  // no advance recomputes the extents before the redraw
  c.store->NCURVE = 2;
  const double lo = c.pg.SUBPLT(1);
  const double hi = c.pg.SUBPLT(2);
  EXPECT_EQ(choose(7), 1);
  EXPECT_EQ(c.pg.NSUB, 2);
  EXPECT_NEAR(c.pg.SUBPLT(3), hi - 2 * (hi - lo) / 3, 1e-12);
  EXPECT_EQ(c.pg.SUBPLT(4), hi);
  EXPECT_EQ(c.pg.SUBPLT(5), lo);
  EXPECT_EQ(c.pg.SUBPLT(6), c.pg.SUBPLT(3));
  choose(7);
  EXPECT_EQ(c.pg.NSUB, 1);
  EXPECT_EQ(c.pg.SUBPLT(3), lo);
  // Without a curve there is nothing to divide by.
  c.store->NCURVE = 0;
  choose(7);
  EXPECT_EQ(c.pg.NSUB, 1);
}

TEST_F(MenuTest, CharacterSizeStepsWithinItsBoundsAndLaysOutAgain) {
  auto& pg = c.pg;
  auto& box = c.lg.BOXLIM;
  box(1) = 10;  // 3 wide, 1.5 high: within half the frame each way
  box(2) = 13;
  box(3) = 8;
  box(4) = 9.5;
  pg.PLTTOP(1) = 3.63;
  pg.PLTTOP(2) = 9.69;
  const double xoff = pg.XOFF;
  EXPECT_EQ(choose(18), 1);
  EXPECT_NEAR(pg.MULTHT, 1.2, 1e-6);
  EXPECT_NEAR(pg.PLTLIM(1), 11 * 0.12, 1e-6);
  EXPECT_EQ(box(5), 3);
  EXPECT_EQ(dev.count("mysize"), 1);  // laid out again in the same cell
  EXPECT_EQ(pg.XOFF, xoff);
  pg.MULTHT = 1.9;
  choose(18);
  EXPECT_EQ(pg.MULTHT, 2.0);
  choose(18);
  EXPECT_EQ(pg.MULTHT, 2.0);
  EXPECT_EQ(dev.count("mysize"), 2);

  pg.MULTHT = 1;
  box(1) = 2;  // too wide
  choose(18);
  box(1) = 10;
  box(3) = 5;  // too high for subplot 1's frame
  choose(18);
  EXPECT_EQ(pg.MULTHT, 1);

  pg.MULTHT = 0.55;
  choose(19);
  EXPECT_EQ(pg.MULTHT, 0.5);
}

// Whole runs on an interactive device: the menu's choices reach the next
// drawing of the same plot.
class MenuRun : public ::testing::Test {
 protected:
  RecordingDevice dev;
  std::unique_ptr<Core> c;

  static std::string card(std::initializer_list<std::string> fields) {
    return test_cards::card(fields);
  }
  // A curve of three rising points.
  static std::string curve(const std::string& title) {
    return title + "\n" + card({"1", "2"}) + "\n" + card({"2", "4"}) + "\n" +
           card({"3", "5"}) + "\n\n";
  }
  void run(const std::string& inp, const std::string& cur) {
    dev.iact = 1;
    dev.size_x = {0.0F, 12.5F};
    dev.size_y = {0.01F, 10.0F};
    c = std::make_unique<Core>(dev);
    c->rs.menu.caption_file =
        std::string(VESKARO_SOURCE_DIR) + "/data/PAGE.DAT";
    c->files.inp.open_text(inp);
    c->files.lst.open_memory();
    c->files.cur.open_text(cur);
    c->files.pnt.open_text("");
    c->files.chr.open_text("");
    c->files.sym.open_text("");
    run_core(*c);
  }
  // The middle of the cell of option k on the screen of `run`.
  static RecordingDevice::Click pick(int k) {
    const float dy = (10.0F - 0.01F) / 30;
    return {1, (static_cast<float>((k - 1) / 5) + 0.5F) * 12.5F / 8,
            10.0F - dy * (static_cast<float>((k - 1) % 5 + 1) + 0.5F)};
  }
};

TEST_F(MenuRun, ScaleToggleRestoresTheRequestOfThisPlotsFirstDrawing) {
  // Plot A asks for log x without interpolation, plot B for log x; on
  // plot B the x scale goes to linear and back.
  const std::string frame = card({"", "", "", "", "1", "1"}) + "\n" +
                            card({"1"}) + "\nEnergy\nCounts\n";
  const std::string a = "A\nA\n" + card({"", "", "", "-2"}) + "\n\n";
  const std::string b = "B\nB\n" + card({"", "", "", "2"}) + "\n\n";
  dev.clicks = {pick(5), pick(1), pick(1)};
  run(frame + a + b, curve("One") + curve("Two"));
  EXPECT_EQ(c->op.KPLAN0(1), 2);
  EXPECT_EQ(c->op.KPLANE(1), 2);
  EXPECT_EQ(c->ax.WAYS(1), 2);
  // Start page, plot A, plot B drawn three times.
  EXPECT_EQ(c->fb.PLOTN, 5);
}

TEST_F(MenuRun, RatioToggleInAnOverlayRedrawsTwoSubplotsInTheSameCell) {
  // Two curves and no ratio subplot asked for: the redraw after option 7
  // splits the plot area in the one overlay cell.
  const std::string inp = card({"", "", "", "", "-1", "1"}) + "\n" +
                          card({"2"}) + "\nEnergy\nCounts\nT\nT\n\n\n";
  dev.clicks = {pick(7)};
  run(inp, curve("One") + curve("Two"));
  const auto& pg = c->pg;
  EXPECT_EQ(pg.NSUB, 2);
  const double h = pg.SUBPLT(2) - pg.SUBPLT(1);
  EXPECT_EQ(pg.PLTTOP(1), pg.SUBPLT(2) - (h + h) / 3);
  EXPECT_EQ(pg.PLTTOP(2), pg.SUBPLT(2));
  EXPECT_EQ(pg.PLTLIM(3), pg.SUBPLT(1));  // subplot 2 drawn last
  EXPECT_EQ(pg.PLTLIM(4), pg.PLTTOP(1));
  EXPECT_EQ(dev.count("nextplot"), 1);  // the start page only
}

}  // namespace
}  // namespace veskaro
