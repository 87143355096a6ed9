// The y extent of a long curve under an x range, scanned in shares over
// threads, must be exactly that of one scan in order: the same first
// values, the same signed zeros and infinities, the same interpolated
// ends, whatever the curve does at the range's edges.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "core/limits.h"
#include "tests/recording_device.h"

namespace veskaro {
namespace {

bool same(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

class UnderTest : public ::testing::Test {
 protected:
  // One curve of n points from index 1, x from `fx`, y from `fy`.
  template <class FX, class FY>
  void curve(int n, FX fx, FY fy) {
    Store& s = *c.store;
    s.NCURVE = 1;
    s.ICRANG(1, 1) = 1;
    s.ICRANG(2, 1) = n;
    for (int i = 1; i <= n; ++i) {
      s.XC(i) = fx(i);
      s.YC(i) = fy(i);
    }
  }

  // Both scans from the same starting extent give the same extent.
  void expect_same(const Edges& XW, bool any0, const Edges& YW0) {
    bool any1 = any0, any2 = any0;
    Edges a = YW0, b = YW0;
    curve_under(c, 1, XW, any1, a);
    curve_under_in_order(c, 1, XW, any2, b);
    ASSERT_EQ(any1, any2) << XW[0] << " " << XW[1];
    EXPECT_TRUE(same(a[0], b[0]) && same(a[1], b[1]))
        << "window " << XW[0] << ".." << XW[1] << ": shares " << a[0] << ".."
        << a[1] << ", in order " << b[0] << ".." << b[1];
  }

  void expect_same_windows(const std::vector<Edges>& windows) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const Edges& XW : windows) {
      expect_same(XW, false, {0, 0});
      expect_same(XW, true, {-0.0, 0.0});
      expect_same(XW, true, {nan, nan});
      expect_same(XW, true, {-5, 5});
    }
  }

  RecordingDevice dev;
  Core c{dev};
};

TEST_F(UnderTest, RisingCurveGivesTheSameExtentForEveryWindow) {
  constexpr int n = 200'000;
  curve(
      n, [](int i) { return 0.5 * i; },
      [](int i) { return std::sin(i * 0.001) * 100; });
  expect_same_windows({{0.5, 0.5 * n},
                       {-10, 1e9},
                       {1000, 1000},  // a window of no width on a point
                       {1000.25, 50000.75},
                       {99999.5, 99999.5 + 0.25},
                       {70000, 60000},  // the ends given the wrong way round
                       {-5, 0.25},      // ends before the first point
                       {0.5 * n + 1, 1e12},
                       {0.5 * n, 1e12}});
}

TEST_F(UnderTest, WildCurvesGiveTheSameExtent) {
  constexpr int n = 150'000;
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> pick(0, 999);
  std::uniform_real_distribution<double> value(-100, 100);
  for (int round = 0; round < 6; ++round) {
    // x wanders up and down with repeats, lands on the window ends and is
    // sometimes not a number; y holds signed zeros, infinities and (in
    // some rounds) values that are not numbers.
    double x = 0;
    curve(
        n,
        [&](int) {
          const int p = pick(rng);
          if (p < 5) return nan;
          if (p < 15) return 300.0;
          if (p < 25) return 700.0;
          if (p < 600) x += value(rng) * 0.01 + 0.005;
          return x;
        },
        [&](int) {
          const int p = pick(rng);
          if (p < 30) return p % 2 == 0 ? 0.0 : -0.0;
          if (p < 33) return p % 2 == 0 ? inf : -inf;
          if (round % 2 == 1 && p < 35) return nan;
          return value(rng);
        });
    expect_same_windows({{300, 700}, {-1e9, 1e9}, {700, 300}, {x, x + 1}});
  }
}

TEST_F(UnderTest, TiesKeepTheFirstValueAndNonNumbersArePassedOver) {
  constexpr int n = 120'000;
  // The lowest value twice, as +0 first and -0 last: the first is kept.
  curve(
      n, [](int i) { return i; },
      [](int i) { return i == 1 ? 0.0 : (i == n ? -0.0 : 1.0 + i % 7); });
  expect_same_windows({{0, n + 1}});
  // A value that is not a number where any share could begin: one scan in
  // order passes over it once an extent is held.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::vector<bool> starts(n + 1, false);
  for (int parts = 1; parts <= 16; ++parts) {
    for (int t = 0; t < parts; ++t) {
      starts[1 + static_cast<std::size_t>(static_cast<long>(n) * t / parts)] =
          true;
    }
  }
  curve(
      n, [](int i) { return i; },
      [&](int i) {
        return starts[static_cast<std::size_t>(i)] ? nan : std::cos(i);
      });
  expect_same_windows({{0, n + 1}, {5000, 90000.5}});
}

TEST_F(UnderTest, FirstPointPastTheRangeGivesNothing) {
  curve(
      100'000, [](int i) { return 1000.0 + i; }, [](int i) { return i; });
  bool any = false;
  Edges YW{7, 7};
  curve_under(c, 1, {0, 500}, any, YW);
  EXPECT_FALSE(any);
  EXPECT_EQ(YW[0], 7);
}

}  // namespace
}  // namespace veskaro
