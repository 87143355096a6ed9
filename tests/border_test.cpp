#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/draw.h"
#include "tests/draw_fixture.h"

namespace veskaro::drawtest {
namespace {

std::vector<std::string> at_height(const std::vector<Text>& t, double y) {
  std::vector<std::string> out;
  for (const auto& x : t) {
    if (!x.up && std::abs(x.y - y) < 2e-4) out.push_back(x.s);
  }
  return out;
}

void expect_at(const Text* t, double x, double y) {
  ASSERT_NE(t, nullptr);
  EXPECT_NEAR(t->x, x, 2e-4);
  EXPECT_NEAR(t->y, y, 2e-4);
}

struct Border : DrawFixture {
  Border() {
    c.ax.XFIRST = 0, c.ax.XSTEP = 2, c.ax.NDECX = -1;
    c.ax.YFIRST = 0, c.ax.YSTEP = 8, c.ax.NDECY = -1;
  }
  void title(int i, const std::string& s) {
    c.lg.STITLE(i) = s + std::string(72 - s.size(), ' ');
    c.lg.LTITLE(i) = c.lg.LTVIS(i) = static_cast<int>(s.size());
  }
};

TEST_F(Border, TitlesAreCentredAndMoveDownWithoutASecondLine) {
  title(1, "Main title");
  border(c);
  expect_at(find(texts(), "Main title"), 7.0 - 0.5, 9.1);
  dev.calls.clear();
  title(2, "Sub");
  border(c);
  const auto t = texts();
  expect_at(find(t, "Main title"), 6.5, 9.275);
  expect_at(find(t, "Sub"), 7.0 - 0.15, 9.1);
}

TEST_F(Border, LinearXNumbersSitUnderTheirPositions) {
  axes(0, 10, 0, 8);
  border(c);
  auto t = texts();
  // x = 1 + 1.2 v; whole numbers stand W/2 left, two digits W/2 more.
  expect_at(find(t, "0"), 0.95, 0.825);
  expect_at(find(t, "4"), 5.75, 0.825);
  expect_at(find(t, "10"), 12.9, 0.825);
  EXPECT_EQ(at_height(t, 0.825),
            (std::vector<std::string>{"0", "2", "4", "6", "8", "10"}));
  // Two decimals shift by W only, one decimal by 1.5 W.
  c.ax.XFIRST = 0, c.ax.XSTEP = 2.5, c.ax.NDECX = 2;
  dev.calls.clear();
  border(c);
  expect_at(find(texts(), "2.50"), 4.0 - 0.1, 0.825);
  c.ax.NDECX = 1;
  dev.calls.clear();
  border(c);
  expect_at(find(texts(), "2.5"), 4.0 - 0.15, 0.825);
}

TEST_F(Border, CrowdedYNumbersAreSkippedAndEachCallStartsAfresh) {
  axes(0, 10, 0, 100);
  c.ax.YSTEP = 1;
  border(c);
  // One unit is 0.08 high, under 1.2 H: every second number is drawn.
  std::vector<std::string> want;
  for (int v = 0; v <= 100; v += 2) want.push_back(std::to_string(v));
  std::vector<Text> left;
  for (const auto& x : texts()) {
    if (x.x < 0.9) left.push_back(x);
  }
  std::vector<std::string> got;
  got.reserve(left.size());
  for (const auto& x : left) got.push_back(x.s);
  EXPECT_EQ(got, want);
  // The numbers end in one column: x = 0.35 + 2 W + W per missing digit.
  expect_at(find(left, "0"), 0.85, 1.0);
  expect_at(find(left, "100"), 0.65, 9.0);
  dev.calls.clear();
  border(c);
  EXPECT_EQ(texts().size(), left.size() + 6);  // and the x numbers
}

TEST_F(Border, NumbersReachTheFarEdgeDespiteTheAccumulatedStep) {
  // Ten single-precision steps of 0.1 end a hair above 1.
  axes(0, 1, 0, 1);
  const double step = static_cast<double>(0.1F);
  c.ax.XSTEP = c.ax.YSTEP = step;
  c.ax.NDECX = c.ax.NDECY = 1;
  border(c);
  const auto t = texts();
  EXPECT_EQ(at_height(t, 0.825).size(), 11U);
  expect_at(find(t, "1.0"), 13.0 - 1.5 * 0.1, 0.825);
  std::vector<Text> left;
  for (const auto& x : t) {
    if (x.x < 0.9 && x.y > 0.9) left.push_back(x);
  }
  ASSERT_EQ(left.size(), 11U);
  EXPECT_EQ(left.back().s, "1.0");
  EXPECT_NEAR(left.back().y, 9.0, 2e-4);

  // Limits a hair below 10 or below 0: the number at the far edge stands
  // at the limit but prints its step and is laid out for it, two digits
  // ending in the y numbers' column and centred under the x limit, and
  // no minus sign on the 0 that ends an axis of negative data.
  axes(0, 9.9999, -1, -0.000005);
  c.ax.XSTEP = 1, c.ax.NDECX = -1;
  c.ax.YFIRST = -1, c.ax.YSTEP = static_cast<double>(0.2F), c.ax.NDECY = 1;
  dev.calls.clear();
  border(c);
  expect_at(find(texts(), "10"), 13.0 - 0.1, 0.825);
  expect_at(find(texts(), "0.0"), 0.35 + 3 * 0.1, 9.0);
  EXPECT_EQ(find(texts(), "-0.0"), nullptr);
  axes(0, 9.9999, 0, 9.9999);
  c.ax.XSTEP = 4;
  c.ax.YFIRST = 0, c.ax.YSTEP = 1, c.ax.NDECY = -1;
  dev.calls.clear();
  border(c);
  expect_at(find(texts(), "10"), 0.75, 9.0);
  // Data ending at 0.001 read in units of 10^-6: the axis ends a hair
  // below 1000, whose four digits are laid out for four.
  axes(0, 999.9999, 0, 999.9999);
  c.ax.XSTEP = c.ax.YSTEP = 100;
  dev.calls.clear();
  border(c);
  int fours = 0;
  for (const auto& x : texts()) {
    if (x.s != "1000") continue;
    ++fours;
    // Centred on the x limit; ending in the y numbers' column.
    expect_at(&x, x.y < 1 ? 13.0 - 0.2 : 0.55, x.y < 1 ? 0.825 : 9.0);
  }
  EXPECT_EQ(fours, 2);
}

TEST_F(Border, NumbersAreLaidOutForTheDigitsTheyPrint) {
  // Single-precision steps a little under 0.01 and 0.005 reach 9.9999999991
  // and 999.99999955, which print "10.000" and "1000.000": every y number
  // ends in one column and every x number is centred on its tick.
  for (const auto& [lo, step] : {std::pair{9.96, 0.01F}, {999.98, 0.005F}}) {
    axes(lo, lo + 8 * step, lo, lo + 8 * step);
    c.ax.XFIRST = c.ax.YFIRST = lo;
    c.ax.XSTEP = c.ax.YSTEP = static_cast<double>(step);
    c.ax.NDECX = c.ax.NDECY = 3;
    dev.calls.clear();
    border(c);
    std::vector<double> ends, centres;
    double XR = lo;  // the x numbers come in order, one per step
    for (const auto& x : texts()) {
      const double half = 0.05 * static_cast<double>(x.s.size());
      if (x.y > 0.9) ends.push_back(x.x + 2 * half);
      if (x.y > 0.9) continue;
      centres.push_back(x.x + half - xplane_to_inch(c, XR));
      XR += c.ax.XSTEP;
    }
    ASSERT_EQ(ends.size(), 9U);
    ASSERT_EQ(centres.size(), 9U);
    for (const double e : ends) EXPECT_NEAR(e, ends[0], 2e-4);
    for (const double m : centres) EXPECT_NEAR(m, centres[0], 2e-4);
  }
}

TEST_F(Border, RatioNumbersKeepClearOfTheMainSubplotNumbers) {
  // Main subplot above y = 5 with its lowest decade label on that edge.
  c.pg.NSUB = 2;
  c.pg.PLTLIM(3) = 5;
  axes(0, 12, -3, 0);
  c.ax.WAYS(2) = 2;
  border(c);
  expect_at(find(texts(), "-3"), 0.55, 5.1);
  // The ratio subplot below: its top number would print over "10".
  c.pg.KSUB = 2;
  c.pg.PLTLIM(3) = 1, c.pg.PLTLIM(4) = 5;
  axes(0, 12, 0, 2);
  c.ax.YFIRST = 0, c.ax.YSTEP = 0.5, c.ax.NDECY = 1;
  dev.calls.clear();
  border(c);
  std::vector<std::string> left;
  for (const auto& x : texts()) {
    if (x.x < 0.9 && !x.up) left.push_back(x.s);
  }
  EXPECT_EQ(left, (std::vector<std::string>{"0.0", "0.5", "1.0", "1.5"}));
  // Apart, both subplots keep all their numbers.
  c.pg.KSUB = 1;
  c.pg.PLTLIM(3) = 5.5, c.pg.PLTLIM(4) = 9;
  axes(0, 12, -3, 0);
  c.ax.WAYS(2) = 2;
  border(c);
  c.pg.KSUB = 2;
  c.pg.PLTLIM(3) = 1, c.pg.PLTLIM(4) = 5;
  axes(0, 12, 0, 2);
  dev.calls.clear();
  border(c);
  EXPECT_NE(find(texts(), "2.0"), nullptr);
}

TEST_F(Border, LogXAxisDensityFollowsTheDecades) {
  axes(0, 3, 0, 8);
  c.ax.WAYS(1) = 2;
  border(c);
  auto t = texts();
  EXPECT_EQ(at_height(t, 0.725), std::vector<std::string>(4, "10"));
  EXPECT_EQ(at_height(t, 0.825).size(), 4U + 3 * 8);  // exponents, digits
  expect_at(find(t, "10"), 1.0 - 0.1, 0.725);
  // Over 31 decades every third decade is labelled, from a multiple of 3.
  axes(-4.5, 26.5, 0, 8);
  c.ax.WAYS(1) = 2;
  dev.calls.clear();
  border(c);
  std::vector<std::string> want;
  for (int e = -3; e <= 24; e += 3) want.push_back(std::to_string(e));
  EXPECT_EQ(at_height(texts(), 0.825), want);
}

TEST_F(Border, MaximumDifferenceText) {
  c.pg.KSUB = c.pg.NSUB = 2;
  c.store->NCURVE = 2;
  box(8.9, 12.9, 6, 8.9);
  c.lg.SPOTS(8) = 9, c.lg.NEEDED(3) = 8;
  c.lg.ERRBIG(1) = 1.5, c.lg.ERRBIG(2) = 3.25;
  border(c);
  auto t = texts();
  expect_at(find(t, " Maximum Difference"), 9, 8);
  expect_at(find(t, "Over 100%"), 9.8, 7.825);
  expect_at(find(t, " at X="), 9, 7.65);
  expect_at(find(t, " 3.25000000"), 9.7, 7.65);
  // No legend box on the ratio subplot: only the frame is filled.
  EXPECT_EQ(dev.count("boxcolor"), 1);

  c.lg.ERRBIG(1) = 0;
  dev.calls.clear();
  border(c);
  t = texts();
  expect_at(find(t, "0.000"), 9.8, 7.825);
  expect_at(find(t, "%"), 10.4, 7.825);
  EXPECT_EQ(find(t, " at X="), nullptr);

  c.lg.ERRBIG(1) = -0.125, c.lg.ERRBIG(2) = -2;
  dev.calls.clear();
  border(c);
  t = texts();
  expect_at(find(t, "-12.500"), 9.7, 7.825);
  expect_at(find(t, "%"), 10.5, 7.825);
  // A negative x stands one column further left, right after " at X=".
  expect_at(find(t, " at X=-2.00000000"), 9, 7.65);

  c.store->NCURVE = 1;
  dev.calls.clear();
  border(c);
  EXPECT_EQ(find(texts(), " Maximum Difference"), nullptr);
}

TEST_F(Border, AxisLabelsWithMultiplier) {
  c.ax.XLABEL = "Time (s)" + std::string(64, ' ');
  c.ax.LABLEN(1) = c.ax.LABVIS(1) = 4;
  c.ax.LABLEN(2) = c.ax.LABVIS(2) = 8;
  c.ax.IEXPX = -3;
  c.ax.YLABEL = "Volts" + std::string(67, ' ');
  c.ax.LABLEN(3) = c.ax.LABVIS(3) = c.ax.LABLEN(4) = c.ax.LABVIS(4) = 5;
  c.ax.IEXPY = 6;
  c.ax.XSTEP = 5;  // x numbers 0, 5, 10 only
  border(c);
  auto t = texts();
  // Centred as if 8 + 5 characters long, at SPOTS(5) + H.
  expect_at(find(t, "Time (10"), 6.35, 0.6);
  expect_at(find(t, "-3"), 7.15, 0.675);
  expect_at(find(t, "s)"), 7.45, 0.6);
  // The y label reads upward at SPOTS(7), its exponent 0.75 H left.
  const Text* volts = find(t, "Volts");
  expect_at(volts, 0.3, 4.55);
  EXPECT_TRUE(volts->up);
  expect_at(find(t, "(10"), 0.3, 5.15);
  expect_at(find(t, "6"), 0.225, 5.45);
  expect_at(find(t, ")"), 0.3, 5.65);

  // Without units: label, "(", "10", raised exponent, ")".
  c.ax.XLABEL = "Count" + std::string(67, ' ');
  c.ax.LABLEN(1) = c.ax.LABVIS(1) = c.ax.LABLEN(2) = c.ax.LABVIS(2) = 5;
  c.ax.IEXPX = 3;
  dev.calls.clear();
  border(c);
  t = texts();
  expect_at(find(t, "Count"), 6.55, 0.6);
  expect_at(find(t, "(10"), 7.15, 0.6);
  expect_at(find(t, "3"), 7.45, 0.675);
  expect_at(find(t, ")"), 7.65, 0.6);

  // The ratio subplot writes "Ratios" where subplot 1 put the y label, and
  // only the last subplot carries the x label.
  c.pg.NSUB = 2;
  c.pg.KSUB = 2;
  dev.calls.clear();
  border(c);
  t = texts();
  expect_at(find(t, "Ratios"), 0.3, 4.7);
  EXPECT_EQ(find(t, "Volts"), nullptr);
  EXPECT_NE(find(t, "Count"), nullptr);
  c.pg.KSUB = 1;
  dev.calls.clear();
  border(c);
  EXPECT_EQ(find(texts(), "Count"), nullptr);
}

TEST_F(Border, ZeroLineAndLegendBox) {
  axes(0, 10, -1, 1);
  c.ax.YMINUS = 1;
  box(10, 12, 7, 8.5);
  border(c);
  const auto l = lines();
  bool zero = false;
  for (std::size_t i = 0; i + 1 < l.size(); ++i) {
    zero = zero ||
           (l[i].x == 1.0F && l[i].y == 5.0F && l[i].pen == 3 &&
            l[i + 1].x == 13.0F && l[i + 1].y == 5.0F && l[i + 1].pen == 2);
  }
  EXPECT_TRUE(zero);
  EXPECT_EQ(dev.count("boxcolor 10.0000 12.0000 7.0000 8.5000 0 2"), 1);
  EXPECT_EQ(dev.count("boxcolor 1.0000 13.0000 1.0000 9.0000 0 2"), 1);
}

}  // namespace
}  // namespace veskaro::drawtest
