// Frame set-up, the start page and the advance from cell to cell, checked
// against the calls a recording device receives.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "core/routines.h"
#include "tests/recording_device.h"

namespace veskaro {
namespace {

class LayoutTest : public ::testing::Test {
 protected:
  LayoutTest() : c(dev) {
    c.pg.EDGE(1) = 0.0;
    c.pg.EDGE(2) = 13.5;
    c.pg.EDGE(3) = 0.0;
    c.pg.EDGE(4) = static_cast<double>(10.24F);
    area(0.0, 13.5, 0.0, static_cast<double>(10.24F));
  }

  void area(double x0, double x1, double y0, double y1) {
    c.pg.XPMIN = x0;
    c.pg.XPMAX = x1;
    c.pg.YPMIN = y0;
    c.pg.YPMAX = y1;
  }

  struct Cell {
    int ix, iy;
    double xoff, yoff;
  };
  void expect_cell(int ix, int iy, double xoff, double yoff) const {
    EXPECT_EQ(c.pg.IXNOW, ix);
    EXPECT_EQ(c.pg.IYNOW, iy);
    EXPECT_NEAR(c.pg.XOFF, xoff, 1e-12);
    EXPECT_NEAR(c.pg.YOFF, yoff, 1e-12);
  }

  RecordingDevice dev;
  Core c;
  int IMTHRU = 0;
};

TEST_F(LayoutTest, OneByOneStartPageThenAFreshPagePerPlot) {
  setup(c, IMTHRU);
  EXPECT_EQ(IMTHRU, 1);
  EXPECT_EQ(c.fb.IACT, 0);
  // Banner box of the worked example, then the page break.
  EXPECT_EQ(dev.calls, (std::vector<std::string>{
                           "daruvuza", "interact", "pen 2",
                           "boxcolor 1.8500 11.9300 1.5150 9.2850 0 2", "pen 2",
                           "nextplot"}));
  EXPECT_EQ(c.fb.PLOTN, 1);
  expect_cell(1, 1, 0.0, 0.0);
  EXPECT_DOUBLE_EQ(c.pg.XSCALE, 1.0);
  EXPECT_DOUBLE_EQ(c.pg.YSCALE, 1.0);

  for (int plot = 1; plot <= 3; ++plot) {
    nxtplt(c);
    EXPECT_EQ(dev.count("nextplot"), plot + 1);
    expect_cell(1, 1, 0.0, 0.0);
  }
  EXPECT_EQ(c.fb.PLOTN, 4);
  EXPECT_EQ(dev.count("daruvuza"), 1);
}

TEST_F(LayoutTest, BannerIsStrokedInsideItsBox) {
  c.files.chr.open(VESKARO_SOURCE_DIR "/data/PLOT.CHR");
  symin(c);
  ASSERT_GT(c.ft.NCHR, 0);
  setup(c, IMTHRU);
  ASSERT_EQ(dev.calls[3], "boxcolor 1.8500 11.9300 1.5150 9.2850 0 2");
  int strokes = 0;
  for (std::size_t i = 5; i + 1 < dev.calls.size(); ++i) {
    float x = 0, y = 0;
    int ipen = 0;
    ASSERT_EQ(std::sscanf(dev.calls[i].c_str(), "plot %f %f %d", &x, &y, &ipen),
              3)
        << dev.calls[i];
    EXPECT_TRUE(x > 1.85F && x < 11.93F && y > 1.515F && y < 9.285F)
        << dev.calls[i];
    ++strokes;
  }
  EXPECT_GT(strokes, 500);
  EXPECT_EQ(dev.calls.back(), "nextplot");
}

TEST_F(LayoutTest, SizesFrameAndSubplotsFollowTheCharacterSize) {
  c.pg.NSUB = 2;
  setup(c, IMTHRU);
  EXPECT_NEAR(c.pg.PLTLIM(1), 1.1, 1e-6);
  EXPECT_NEAR(c.pg.PLTLIM(2), 13.0, 1e-6);
  EXPECT_NEAR(c.pg.SUBPLT(1), 0.6, 1e-6);
  EXPECT_NEAR(c.pg.SUBPLT(2), 9.69, 1e-6);
  EXPECT_NEAR(c.pg.SUBPLT(3), 3.63, 1e-6);
  EXPECT_NEAR(c.pg.SUBPLT(4), 9.69, 1e-6);
  EXPECT_NEAR(c.pg.SUBPLT(5), 0.6, 1e-6);
  EXPECT_NEAR(c.pg.SUBPLT(6), 3.63, 1e-6);
  EXPECT_DOUBLE_EQ(c.pg.PAINT(4), static_cast<double>(0.1F) * 3 / 4);
  EXPECT_DOUBLE_EQ(c.pg.PAINT(7), static_cast<double>(0.1F) * 3 / 8);
  EXPECT_DOUBLE_EQ(c.pg.LOGTAB(2), std::log10(2.0));
  EXPECT_DOUBLE_EQ(c.pg.LOGTAB(10), 1.0);

  // A later set-up with IMTHRU 1 and a new size: sizes change, the cell,
  // the page and the count stay, and the device hears nothing.
  nxtplt(c);
  const std::size_t before = dev.calls.size();
  const int plotn = c.fb.PLOTN;
  c.pg.MULTHT = 2.0;
  c.pg.NSUB = 1;
  setup(c, IMTHRU);
  EXPECT_EQ(dev.calls.size(), before);
  EXPECT_EQ(c.fb.PLOTN, plotn);
  expect_cell(1, 1, 0.0, 0.0);
  EXPECT_NEAR(c.pg.PAINT(3), 0.2, 1e-6);
  EXPECT_NEAR(c.pg.PLTLIM(1), 2.2, 1e-6);
  EXPECT_NEAR(c.pg.PLTLIM(2), 12.5, 1e-6);
  EXPECT_NEAR(c.pg.SUBPLT(3), 1.2, 1e-6);
  EXPECT_NEAR(c.pg.SUBPLT(4), 9.14, 1e-6);

  c.pg.MULTHT = 0.5;
  setup(c, IMTHRU);
  EXPECT_NEAR(c.pg.PAINT(3), 0.05, 1e-6);
  EXPECT_NEAR(c.pg.PLTLIM(1), 0.55, 1e-6);
  EXPECT_NEAR(c.pg.PLTLIM(2), 13.25, 1e-6);
}

TEST_F(LayoutTest, TwoByTwoFillsRowsFromTheTopAndBreaksWhenFull) {
  area(0.0, 13.0, 0.0, 10.0);
  c.pg.NXPLT = 2;
  c.pg.NYPLT = 2;
  setup(c, IMTHRU);
  // The start page sits in the lower-left quarter.
  EXPECT_EQ(dev.calls[3], "boxcolor 0.8907 5.7441 0.7397 4.5337 0 2");
  EXPECT_EQ(dev.count("nextplot"), 1);
  expect_cell(1, 1, 0.0, 5.0);
  EXPECT_DOUBLE_EQ(c.pg.DXCELL, 6.5);
  EXPECT_DOUBLE_EQ(c.pg.DYCELL, 5.0);

  const std::vector<Cell> order = {
      {2, 1, 6.5, 5.0}, {1, 2, 0.0, 0.0}, {2, 2, 6.5, 0.0}, {1, 1, 0.0, 5.0}};
  for (std::size_t k = 0; k < order.size(); ++k) {
    nxtplt(c);
    expect_cell(order[k].ix, order[k].iy, order[k].xoff, order[k].yoff);
    EXPECT_EQ(dev.count("nextplot"), k == 3 ? 2 : 1);
  }
  EXPECT_EQ(c.fb.PLOTN, 5);

  // A new layout (IMTHRU 0) restarts at the top-left cell, with no new
  // start page.
  nxtplt(c);
  IMTHRU = 0;
  const std::size_t before = dev.calls.size();
  setup(c, IMTHRU);
  EXPECT_EQ(dev.calls.size(), before);
  expect_cell(1, 1, 0.0, 5.0);
}

TEST_F(LayoutTest, OverlayKeepsOneCellButTheStartPageStillBreaks) {
  area(0.0, 13.0, 0.0, 10.0);
  c.pg.NXPLT = 2;
  c.pg.NYPLT = 1;
  c.pg.IOVER = 1;
  setup(c, IMTHRU);
  EXPECT_EQ(dev.count("nextplot"), 1);
  EXPECT_EQ(c.pg.IOVER, 1);
  expect_cell(1, 1, 0.0, 0.0);
  for (int plot = 1; plot <= 5; ++plot) nxtplt(c);
  EXPECT_EQ(dev.count("nextplot"), 1);
  expect_cell(1, 1, 0.0, 0.0);
  EXPECT_EQ(c.fb.PLOTN, 6);
}

TEST_F(LayoutTest, RotatedPageRunsCellsDownFromTheTopRight) {
  // The driver has exchanged the extents: x holds the device's y range.
  area(0.0, 10.5, 0.0, 13.0);
  c.pg.IROTAT = 1;
  c.pg.NXPLT = 2;
  c.pg.NYPLT = 2;
  setup(c, IMTHRU);
  EXPECT_LT(c.pg.XSCALE, 0.0);
  EXPECT_DOUBLE_EQ(c.pg.DXCELL, -5.25);
  expect_cell(1, 1, 10.5, 6.5);
  // The first plot's cell touches the device's top and right edges.
  const std::size_t before = dev.calls.size();
  plotp(c, 0.0, c.pg.EDGE(4), 3);
  ASSERT_EQ(dev.calls.size(), before + 1);
  EXPECT_EQ(dev.calls.back(), "plot 13.0000 10.5000 3");
  // The next cell of the row lies below it; the next row to its left.
  nxtplt(c);
  expect_cell(2, 1, 5.25, 6.5);
  nxtplt(c);
  expect_cell(1, 2, 10.5, 0.0);
}

TEST_F(LayoutTest, PageEdgeIsDrawnThickThenTheWeightComesBack) {
  c.pg.IBORD = 1;
  c.wt.NTHNRM = 1;
  c.wt.NTHBIG = 2;
  c.wt.NTHNOW = 1;
  setup(c, IMTHRU);
  EXPECT_EQ(c.wt.NTHNOW, 1);
  ASSERT_GE(dev.calls.size(), 6U);
  EXPECT_EQ(dev.calls[2], "pen 2");
  EXPECT_EQ(dev.calls[3], "plot 0.0000 0.0000 3");
  EXPECT_EQ(dev.calls[4], "plot 0.0000 10.2400 2");
  // One move and four draws of five strokes each way and a move back.
  EXPECT_EQ(dev.count("plot "), 1 + 4 * 10);
}

TEST_F(LayoutTest, InteractiveDeviceGivesTheAreaAtEverySetup) {
  dev.iact = 1;
  setup(c, IMTHRU);
  EXPECT_EQ(c.fb.IACT, 1);
  EXPECT_EQ(dev.count("mysize"), 1);
  // The cells follow the device's area, not the one the card gave.
  EXPECT_DOUBLE_EQ(c.pg.XPMAX, 13.0);
  EXPECT_DOUBLE_EQ(c.pg.DXCELL, 13.0);
  EXPECT_DOUBLE_EQ(c.pg.DYCELL, c.pg.YPMAX - c.pg.YPMIN);
  setup(c, IMTHRU);
  EXPECT_EQ(dev.count("mysize"), 2);
  EXPECT_EQ(dev.count("daruvuza"), 1);
  EXPECT_EQ(dev.count("interact"), 1);
  EXPECT_EQ(dev.count("nextplot"), 1);
}

}  // namespace
}  // namespace veskaro
