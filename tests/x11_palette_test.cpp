// The screen device's three palettes.
// Built only with the screen device.
#ifdef VESKARO_X11_DEVICE
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <tuple>

#include "device/x11/palettes.h"

namespace veskaro {
namespace {

struct Tables {
  ColourTable pen{}, r{}, g{}, b{};
  explicit Tables(int ipal) { paltab(pen, r, g, b, ipal); }
  std::tuple<int, int, int> rgb(int c) const { return {r[c], g[c], b[c]}; }
};

using Rgb = std::tuple<int, int, int>;

TEST(X11Palette, PaletteOneGreysShadesAndTints) {
  const Tables t(1);
  EXPECT_EQ(t.rgb(0), Rgb(16, 16, 16));
  EXPECT_EQ(t.rgb(1), Rgb(32, 32, 32));
  EXPECT_EQ(t.rgb(14), Rgb(240, 240, 240));
  EXPECT_EQ(t.rgb(15), Rgb(255, 255, 255));
  EXPECT_EQ(t.rgb(16), Rgb(88, 0, 0));
  EXPECT_EQ(t.rgb(23), Rgb(255, 0, 0));
  EXPECT_EQ(t.rgb(24), Rgb(255, 28, 28));
  EXPECT_EQ(t.rgb(31), Rgb(255, 224, 224));
  EXPECT_EQ(t.rgb(32), Rgb(88, 44, 0));
  EXPECT_EQ(t.rgb(40), Rgb(255, 142, 28));
  EXPECT_EQ(t.rgb(112), Rgb(0, 88, 55));
  EXPECT_EQ(t.rgb(120), Rgb(28, 255, 170));
  EXPECT_EQ(t.rgb(121), Rgb(56, 255, 181));
  EXPECT_EQ(t.rgb(183), Rgb(0, 0, 255));
  EXPECT_EQ(t.rgb(184), Rgb(28, 28, 255));
  EXPECT_EQ(t.rgb(240), Rgb(88, 0, 22));
  EXPECT_EQ(t.rgb(255), Rgb(255, 224, 232));
}

TEST(X11Palette, PaletteOnePenMapIsAPermutationOnThePureHues) {
  const Tables t(1);
  const std::array<int, 16> first{0,   15,  71,  23,  87,  135, 231, 39,
                                  167, 119, 215, 247, 103, 55,  151, 199};
  for (int k = 0; k < 16; ++k) EXPECT_EQ(t.pen[k], first[k]) << k;
  EXPECT_EQ(t.pen[16], 11);
  EXPECT_EQ(t.pen[17], 188);
  EXPECT_EQ(t.pen[32], 10);
  EXPECT_EQ(t.pen[49], 185);
  EXPECT_EQ(t.pen[61], 162);
  EXPECT_EQ(t.pen[63], 205);
  ColourTable sorted = t.pen;
  std::sort(sorted.begin(), sorted.end());
  for (int k = 0; k < 256; ++k) ASSERT_EQ(sorted[k], k);
  // Colour numbers 2 to 15 draw pure hues, entry 7 of their families.
  EXPECT_EQ(t.rgb(t.pen[2]), Rgb(255, 255, 0));
  EXPECT_EQ(t.rgb(t.pen[4]), Rgb(128, 255, 0));
  EXPECT_EQ(t.rgb(t.pen[11]), Rgb(255, 0, 64));
  for (int k = 2; k < 16; ++k) EXPECT_EQ((t.pen[k] - 16) % 16, 7) << k;
}

TEST(X11Palette, PaletteTwoGreysAndColourWheel) {
  const Tables t(2);
  EXPECT_EQ(t.rgb(0), Rgb(0, 0, 0));
  EXPECT_EQ(t.rgb(1), Rgb(255, 255, 255));
  EXPECT_EQ(t.rgb(2), Rgb(240, 240, 240));
  EXPECT_EQ(t.rgb(15), Rgb(32, 32, 32));
  EXPECT_EQ(t.rgb(16), Rgb(255, 18, 0));
  EXPECT_EQ(t.rgb(55), Rgb(255, 252, 0));
  EXPECT_EQ(t.rgb(56), Rgb(252, 255, 0));
  EXPECT_EQ(t.rgb(135), Rgb(0, 255, 252));
  EXPECT_EQ(t.rgb(183), Rgb(60, 0, 255));
  EXPECT_EQ(t.rgb(255), Rgb(255, 0, 18));
  for (int k = 0; k < 256; ++k) ASSERT_EQ(t.pen[k], k);
}

TEST(X11Palette, PaletteThreeShadesWithAccumulatedFactor) {
  const Tables t(3);
  EXPECT_EQ(t.rgb(0), Rgb(16, 16, 16));
  EXPECT_EQ(t.rgb(1), Rgb(255, 255, 255));
  EXPECT_EQ(t.rgb(2), Rgb(255, 255, 0));
  EXPECT_EQ(t.rgb(16), Rgb(243, 243, 0));
  EXPECT_EQ(t.rgb(17), Rgb(243, 0, 0));
  EXPECT_EQ(t.rgb(29), Rgb(122, 0, 243));
  EXPECT_EQ(t.rgb(30), Rgb(231, 231, 0));
  EXPECT_EQ(t.rgb(156), Rgb(127, 127, 0));
  // An exact factor of one half would give 64 here.
  EXPECT_EQ(t.rgb(158), Rgb(63, 127, 0));
  EXPECT_EQ(t.rgb(183), Rgb(58, 0, 115));
  EXPECT_EQ(t.rgb(254), Rgb(46, 46, 0));
  EXPECT_EQ(t.rgb(255), Rgb(46, 0, 0));
  for (int k = 0; k < 256; ++k) ASSERT_EQ(t.pen[k], k);
}

TEST(X11Palette, UnknownPaletteLeavesTablesUntouched) {
  for (const int ipal : {0, 4, -1}) {
    ColourTable pen{}, r{}, g{}, b{};
    pen.fill(7);
    r.fill(8);
    g.fill(9);
    b.fill(10);
    paltab(pen, r, g, b, ipal);
    EXPECT_EQ(pen[200], 7);
    EXPECT_EQ(r[3], 8);
    EXPECT_EQ(g[0], 9);
    EXPECT_EQ(b[255], 10);
  }
}

}  // namespace
}  // namespace veskaro

#endif  // VESKARO_X11_DEVICE
