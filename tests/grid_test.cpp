#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/draw.h"
#include "tests/draw_fixture.h"

namespace veskaro::drawtest {
namespace {

constexpr double kDash = static_cast<double>(1.0F / 70.0F);

// Tick lengths are T, 2T or 3T, T = 0.05.
bool is_tick(double len) {
  for (double t : {0.05, 0.1, 0.15}) {
    if (std::abs(len - t) < 1e-4) return true;
  }
  return false;
}

struct Grid : DrawFixture {
  Grid() {
    axes(0, 10, 0, 8);
    c.ax.XFIRST = 0, c.ax.XSTEP = 2;
    c.ax.YFIRST = 0, c.ax.YSTEP = 8;
  }
  // Ticks standing on the bottom (edge 1) or top (edge 9) edge: a move on
  // the edge and a draw straight up or down; returns the tick lengths by x.
  std::vector<std::pair<double, double>> xticks(double edge) const {
    std::vector<std::pair<double, double>> out;
    const auto l = lines();
    for (std::size_t i = 0; i + 1 < l.size(); ++i) {
      if (l[i].pen == 3 && std::abs(l[i].y - edge) < 1e-6 &&
          l[i + 1].pen == 2 && l[i + 1].x == l[i].x &&
          is_tick(std::abs(l[i + 1].y - edge))) {
        out.emplace_back(l[i].x, std::abs(l[i + 1].y - edge));
      }
    }
    return out;
  }
  // Lines across the frame: a move on the bottom edge followed by a draw on
  // the same x that is not a tick.
  int vertical_lines() const {
    int n = 0;
    const auto l = lines();
    for (std::size_t i = 0; i + 1 < l.size(); ++i) {
      const double d = l[i + 1].y - 1.0;
      n += l[i].pen == 3 && l[i].y == 1.0F && l[i + 1].x == l[i].x &&
           l[i + 1].pen == 2 && d > 0 && !is_tick(d);
    }
    return n;
  }
};

TEST_F(Grid, LinearTicksAccumulateAndMissThePositionJustBelowZero) {
  grid(c);
  for (double edge : {1.0, 9.0}) {
    const auto t = xticks(edge);
    ASSERT_EQ(t.size(), 50U);  // 0.2 to 10.0; the position of 0 is lost
    EXPECT_NEAR(t.front().first, 1.24, 1e-4);
    int major = 0;
    for (const auto& [x, len] : t) {
      if (std::abs(len - 0.1) < 1e-4) {
        ++major;
        EXPECT_NEAR(std::fmod(x - 1.0 + 1e-3, 2.4), 1e-3, 2e-3) << x;
      }
    }
    EXPECT_EQ(major, 5);  // 2, 4, 6, 8 and 10
    EXPECT_NEAR(t.back().first, 13.0, 1e-4);
  }
  // 150 label steps in the span: no minor positions.
  c.ax.XSTEP = 10.0 / 150;
  dev.calls.clear();
  grid(c);
  for (const auto& [x, len] : xticks(1.0)) EXPECT_NEAR(len, 0.1, 1e-4);
}

TEST_F(Grid, DashedMajorLinesOnceWithMinorTicksOnBothEdges) {
  c.op.GRIDDY(1) = 2, c.op.GRIDDY(2) = 0;
  grid(c);
  EXPECT_EQ(vertical_lines(), 5);
  for (double edge : {1.0, 9.0}) {
    const auto t = xticks(edge);
    EXPECT_EQ(t.size(), 45U);
    for (const auto& [x, len] : t) EXPECT_NEAR(len, 0.05, 1e-4);
  }
}

TEST_F(Grid, MinorLinesFallBackToTicksWhereTheStepIsShort) {
  axes(0, 100, 0, 8);
  c.ax.XSTEP = 2;  // 0.24 on the frame: too short for minor lines
  c.ax.YSTEP = 1;  // 1.0 on the frame
  c.op.GRIDDY(1) = 1, c.op.GRIDDY(2) = 1;
  grid(c);
  EXPECT_EQ(c.op.GRIDDY(2), 1);
  // Solid lines at 2 ... 100: accumulating 0.4 from -2 passes just below 0
  // and a hair above 100, which counts as the far edge.
  EXPECT_EQ(vertical_lines(), 50);
  EXPECT_EQ(xticks(1.0).size(), 200U);
  EXPECT_EQ(xticks(9.0).size(), 200U);
  // The y axis keeps its minor lines: every 0.1 from 0.1 to 8.
  int across = 0;
  const auto l = lines();
  for (std::size_t i = 0; i + 1 < l.size(); ++i) {
    across += l[i].pen == 3 && l[i].x == 1.0F && l[i + 1].x == 13.0F &&
              l[i + 1].y == l[i].y;
  }
  EXPECT_EQ(across, 80);
}

TEST_F(Grid, LogTicksByDecadeAndDigit) {
  axes(0, 3, 0, 8);
  c.ax.WAYS(1) = 2;
  grid(c);
  int n[4] = {};
  for (const auto& [x, len] : xticks(1.0)) ++n[std::lround(len / 0.05)];
  EXPECT_EQ(n[3], 4);   // decades
  EXPECT_EQ(n[2], 3);   // the 5s
  EXPECT_EQ(n[1], 21);  // other digits
  // From exactly -2 the loop starts at -3, whose marks all fall outside.
  axes(-2, 1, 0, 8);
  c.ax.WAYS(1) = 2;
  dev.calls.clear();
  grid(c);
  const auto t = xticks(1.0);
  EXPECT_EQ(t.size(), 4U + 3 * 8);
  for (const auto& [x, len] : t) EXPECT_TRUE(x >= 1.0 && x <= 13.0) << x;
}

// The sent points of a dashed line lie on one regular pattern of period
// 0.1 from the frame edge at `from`, and none falls strictly inside lo..hi.
void expect_on_pattern(const std::vector<Call>& l, bool vertical, double from,
                       double lo, double hi, double stop) {
  for (const auto& k : l) {
    const double v = vertical ? k.y : k.x;
    EXPECT_FALSE(v > lo + 1e-6 && v < hi - 1e-6) << v;
    if (std::abs(v - lo) < 1e-6 || std::abs(v - hi) < 1e-6 ||
        std::abs(v - stop) < 1e-6 || std::abs(v - from) < 1e-6) {
      continue;
    }
    const double phase = std::fmod(v - from + 1e-5, 7 * kDash) - 1e-5;
    if (k.pen == 2) {
      EXPECT_NEAR(phase, kDash, 1e-4) << v;
    } else {
      EXPECT_NEAR(phase, 0.0, 1e-4) << v;
    }
  }
}

TEST_F(Grid, DashedLinesKeepTheirPhaseThroughTheLegendBox) {
  box(5.03, 7.05, 4.03, 6.05);  // edges off the pattern's period
  plotz(c, 6, 1, 2);
  auto l = lines();
  ASSERT_GT(l.size(), 60U);
  EXPECT_EQ(l.front().pen, 3);
  EXPECT_NEAR(l.back().y, 9.0, 1e-4);
  expect_on_pattern(l, true, 1.0, 4.03, 6.05, 9.0);
  bool resumed = false;
  for (const auto& k : l) resumed = resumed || (k.y == 6.05F && k.pen == 3);
  EXPECT_TRUE(resumed);

  dev.calls.clear();
  plotz(c, 5, 2, 2);
  l = lines();
  EXPECT_NEAR(l.back().x, 13.0, 1e-4);
  expect_on_pattern(l, false, 1.0, 5.03, 7.05, 13.0);
}

TEST_F(Grid, VerticalLinesAtTheBoxEdges) {
  box(5, 7, 4, 9);  // reaching the frame top
  plotz(c, 5, 1, 1);
  EXPECT_EQ(dev.calls, (std::vector<std::string>{"plot 5.0000 1.0000 3",
                                                 "plot 5.0000 9.0000 2"}));
  dev.calls.clear();
  plotz(c, 7, 1, 1);
  EXPECT_EQ(dev.calls[1], "plot 7.0000 4.0000 2");
  dev.calls.clear();
  plotz(c, 6, 1, 2);
  EXPECT_NEAR(lines().back().y, 4.0, 1e-4);
  // A box covering the whole height leaves only the move.
  box(5, 7, 1, 9);
  dev.calls.clear();
  plotz(c, 6, 1, 1);
  EXPECT_EQ(dev.calls.size(), 1U);
}

}  // namespace
}  // namespace veskaro::drawtest
