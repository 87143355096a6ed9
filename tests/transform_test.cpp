// Page transform and line primitives against a recording device.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/routines.h"
#include "tests/recording_device.h"

namespace veskaro {
namespace {

using Calls = std::vector<std::string>;

class Transform : public ::testing::Test {
 protected:
  RecordingDevice dev;
  Core c{dev};

  void SetUp() override {
    // No legend box: BOXLIM holds -10.
    for (int i = 1; i <= 4; ++i) c.lg.BOXLIM(i) = -10;
  }
  void box(double b1, double b2, double b3, double b4) {
    c.lg.BOXLIM(1) = b1;
    c.lg.BOXLIM(2) = b2;
    c.lg.BOXLIM(3) = b3;
    c.lg.BOXLIM(4) = b4;
  }
  Calls take() {
    Calls out;
    out.swap(dev.calls);
    return out;
  }
};

TEST_F(Transform, WeightedLineIsParallelStrokesAndZeroLengthDrawsNothing) {
  c.wt.NTHNOW = 1;
  plot1(c, 0, 0, 3);
  take();
  plot1(c, 1, 0, 2);
  EXPECT_EQ(take(), (Calls{"plot 1.0000 0.0000 2", "plot 0.0000 0.0020 3",
                           "plot 1.0000 0.0020 2", "plot 0.0000 -0.0020 3",
                           "plot 1.0000 -0.0020 2", "plot 1.0000 0.0000 3"}));

  // Weight 2: the centre, two pairs each side and the move back, with the
  // offsets growing outward on a vertical line (left of upward is -x).
  c.wt.NTHNOW = 2;
  plot1(c, 1, 1, 2);
  const Calls w2 = take();
  ASSERT_EQ(w2.size(), 10U);
  EXPECT_EQ(w2[3], "plot 0.9960 0.0000 3");
  EXPECT_EQ(w2[4], "plot 0.9960 1.0000 2");
  EXPECT_EQ(w2[7], "plot 1.0040 0.0000 3");
  EXPECT_EQ(w2[9], "plot 1.0000 1.0000 3");

  // A weighted draw to where the pen is sends nothing, but at weight 0 the
  // same draw reaches the device.
  plot1(c, 1, 1, 2);
  EXPECT_TRUE(take().empty());
  c.wt.NTHNOW = 0;
  plot1(c, 1, 1, 2);
  EXPECT_EQ(take(), (Calls{"plot 1.0000 1.0000 2"}));
}

TEST_F(Transform, PageTransformMapsIntoTheCellAndRotates) {
  c.pg.XSCALE = 0.5;
  c.pg.YSCALE = 0.25;
  c.pg.XOFF = 1;
  c.pg.YOFF = 2;
  plotp(c, 1, 2, 3);
  EXPECT_EQ(dev.calls.back(), "plot 1.5000 2.5000 3");
  c.pg.IROTAT = 1;
  plotp(c, 1, 2, 2);
  EXPECT_EQ(dev.calls.back(), "plot 2.5000 1.5000 2");
  EXPECT_FLOAT_EQ(c.rs.transform.X, 2.5F);

  // A box keeps its corners' order even when the scale is negative.
  c.pg.YSCALE = -1;
  colorbox(c, {0, 4}, {1, 3}, 5, 6);
  EXPECT_EQ(dev.calls.back(), "boxcolor 1.0000 -1.0000 1.0000 3.0000 5 6");
  c.pg.IROTAT = 0;
  colorbox(c, {0, 4}, {1, 3}, -1, 2);
  EXPECT_EQ(dev.calls.back(), "boxcolor 1.0000 3.0000 1.0000 -1.0000 -1 2");
}

TEST_F(Transform, VerticalLinesAreCutAtTheLegendBox) {
  box(2, 4, 2, 4);
  // Below to above: draw to the bottom, move over the box, draw on.
  plvh1(c, 3, 1, 3);
  take();
  plvh1(c, 3, 5, 2);
  EXPECT_EQ(take(), (Calls{"plot 3.0000 2.0000 2", "plot 3.0000 4.0000 3",
                           "plot 3.0000 5.0000 2"}));
  // Downward into the box stops at its top; the next draw leaves from the
  // bottom edge.
  plvh1(c, 3, 3, 2);
  EXPECT_EQ(take(), (Calls{"plot 3.0000 4.0000 2", "plot 3.0000 3.0000 3"}));
  plvh1(c, 3, 0, 2);
  EXPECT_EQ(take(), (Calls{"plot 3.0000 2.0000 3", "plot 3.0000 0.0000 2"}));
  // Zero length within the box's x range sends nothing.
  plvh1(c, 3, 0, 2);
  EXPECT_TRUE(take().empty());
  // Without a legend box (LEGOFF 1) a vertical line through it is whole.
  c.op.LEGOFF = 1;
  plvh1(c, 3, 1, 3);
  plvh1(c, 3, 5, 2);
  EXPECT_EQ(take(), (Calls{"plot 3.0000 1.0000 3", "plot 3.0000 5.0000 2"}));
}

TEST_F(Transform, HorizontalLinesAreCutAtTheLegendBox) {
  box(2, 4, 2, 4);
  // Starts right of the box and ends inside: draw to B2, move to the end;
  // the next leftward draw out of the box begins with a move to B1.
  plvh1(c, 6, 3, 3);
  take();
  plvh1(c, 3, 3, 2);
  EXPECT_EQ(take(), (Calls{"plot 4.0000 3.0000 2", "plot 3.0000 3.0000 3"}));
  plvh1(c, 0, 3, 2);
  EXPECT_EQ(take(), (Calls{"plot 2.0000 3.0000 3", "plot 0.0000 3.0000 2"}));
  // Rightward across the whole box.
  plvh1(c, 6, 3, 2);
  EXPECT_EQ(take(), (Calls{"plot 2.0000 3.0000 2", "plot 4.0000 3.0000 3",
                           "plot 6.0000 3.0000 2"}));
}

TEST_F(Transform, WeightedCutKeepsItsOwnPointAndWeighsItsPieces) {
  box(2, 4, 2, 4);
  c.wt.NTHNOW = 1;
  plvhn(c, 0, 3, 3);
  plvh1(c, 3, 0, 3);  // plvh1's point must not disturb plvhn's
  take();
  plvhn(c, 6, 3, 2);
  // Draw to B1 weighted (6 calls), move to B2, weighted draw to the end.
  const Calls calls = take();
  ASSERT_EQ(calls.size(), 13U);
  EXPECT_EQ(calls[0], "plot 2.0000 3.0000 2");
  EXPECT_EQ(calls[1], "plot 0.0000 3.0020 3");
  EXPECT_EQ(calls[6], "plot 4.0000 3.0000 3");
  EXPECT_EQ(calls[7], "plot 6.0000 3.0000 2");
  EXPECT_EQ(calls[8], "plot 4.0000 3.0020 3");
}

TEST_F(Transform, PlaneUnitsMapOntoTheFrameEdges) {
  c.ax.XYLIM(1) = -1;
  c.ax.XYLIM(2) = 3;
  c.ax.XYLIM(5) = 10;
  c.ax.XYLIM(6) = 20;
  c.ax.XYLIM(9) = 4;
  c.ax.XYLIM(10) = 10;
  c.pg.PLTLIM(1) = 1;
  c.pg.PLTLIM(2) = 9;
  c.pg.PLTLIM(3) = 2;
  c.pg.PLTLIM(4) = 7;
  plotx(c, -1, 10, 3);
  plotx(c, 3, 20, 2);
  plotx(c, 1, 15, 2);
  EXPECT_EQ(take(), (Calls{"plot 1.0000 2.0000 3", "plot 9.0000 7.0000 2",
                           "plot 5.0000 4.5000 2"}));
  // A zero span gives the frame's low edge, never an undefined point.
  c.ax.XYLIM(9) = 0;
  c.ax.XYLIM(10) = 0;
  plotx(c, 2, 12, 3);
  EXPECT_EQ(take(), (Calls{"plot 1.0000 2.0000 3"}));
}

}  // namespace
}  // namespace veskaro
