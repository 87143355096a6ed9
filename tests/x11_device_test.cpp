// The screen device's routines against a recording window layer.
// Built only with the screen device.
#ifdef VESKARO_X11_DEVICE
#include "device/x11/x11_device.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/x11/pixel_map.h"
#include "tests/x11_fake_layer.h"

namespace veskaro {
namespace {

using Calls = std::vector<std::string>;

constexpr char kBackground[] = "boxfill 0.000000 12.500000 0.000000 10.000000";

struct Opened {
  FakeLayer layer;
  X11Device dev{layer};
  explicit Opened(int depth = 24) {
    layer.depth = depth;
    dev.daruvuza();
    layer.take();
  }
};

TEST(X11PixelMap, FullHdScreenKeepsProportionsCentred) {
  PixelMap m;
  m.fix(1920.0F, 1080.0F, 508.0F, 286.0F, 0.0F, 12.5F, 0.0F, 10.0F, 1);
  EXPECT_FLOAT_EQ(m.xwind, 357.5F);
  EXPECT_FLOAT_EQ(m.ywind, 286.0F);
  EXPECT_NEAR(m.ixwind, 1351.181, 1e-3);
  EXPECT_FLOAT_EQ(m.iywind, 1060.0F);
  EXPECT_NEAR(m.dxi, 108.0945, 1e-4);
  EXPECT_FLOAT_EQ(m.dyi, 106.0F);
  EXPECT_NEAR(m.xbase, -284.4094, 1e-4);
  EXPECT_FLOAT_EQ(m.ybase, 1060.0F);
  EXPECT_EQ(m.to_pixel(0.0F, 0.0F), (Pixel{284, 1060}));
  EXPECT_EQ(m.to_pixel(12.5F, 10.0F), (Pixel{1635, 0}));
  EXPECT_EQ(m.to_pixel(6.25F, 5.0F), (Pixel{960, 530}));
  EXPECT_EQ(m.to_pixel(0.0F, 0.01F), (Pixel{284, 1058}));
  float x = 0.0F;
  float y = 0.0F;
  m.to_plot(960, 530, x, y);
  EXPECT_FLOAT_EQ(x, 6.25F);
  EXPECT_FLOAT_EQ(y, 5.0F);
}

TEST(X11PixelMap, WithoutAspectEachAxisFillsTheWindow) {
  PixelMap m;
  m.fix(1920.0F, 1080.0F, 508.0F, 286.0F, 0.0F, 12.5F, 0.0F, 10.0F, 0);
  EXPECT_FLOAT_EQ(m.dxi, 153.6F);
  EXPECT_FLOAT_EQ(m.dyi, 106.0F);
  EXPECT_FLOAT_EQ(m.xbase, 0.0F);
  EXPECT_FLOAT_EQ(m.ybase, 1060.0F);
  EXPECT_EQ(m.to_pixel(12.5F, 0.0F), (Pixel{1920, 1060}));
  // Equal proportions take the branch that narrows x, which keeps it.
  PixelMap e;
  e.fix(1250.0F, 1020.0F, 250.0F, 200.0F, 0.0F, 12.5F, 0.0F, 10.0F, 1);
  EXPECT_NEAR(e.xwind, 250.0F, 1e-3);
  // Points far off the screen do not overflow the pixel coordinates.
  EXPECT_GT(m.to_pixel(1e30F, 0.0F).x, 0);
  EXPECT_LT(m.to_pixel(-1e30F, 0.0F).x, 0);
}

TEST(X11Device, OpensWithPaletteOneOnBlue) {
  FakeLayer layer;
  X11Device dev(layer);
  dev.daruvuza();
  EXPECT_EQ(layer.take(),
            (Calls{"xpinit 0 12.5 0 10 1", "myscreen", "pallette", "xpclr",
                   std::string(kBackground) + " 183 -1", "setfont 44"}));
  EXPECT_EQ(layer.font.size(), 44U);
  EXPECT_EQ(layer.font[42], '\0');
  EXPECT_EQ(layer.font.substr(0, 10), "-adobe-cou");
  EXPECT_EQ(layer.blue[183], 255);
  EXPECT_EQ(layer.red[183], 0);
  EXPECT_EQ(dev.backmy(), 183);
  int iact = 0;
  dev.interact(iact);
  EXPECT_EQ(iact, 1);
  std::array<float, 2> x{}, y{};
  dev.mysize(x, y);
  EXPECT_EQ(x, (std::array<float, 2>{0.0F, 12.5F}));
  EXPECT_EQ(y, (std::array<float, 2>{0.01F, 10.0F}));
}

TEST(X11Device, MonochromeOpensWithoutPaletteOrFill) {
  FakeLayer layer;
  layer.depth = 1;
  X11Device dev(layer);
  dev.daruvuza();
  EXPECT_EQ(layer.take(), (Calls{"xpinit 0 12.5 0 10 1", "myscreen"}));
  EXPECT_EQ(dev.backmy(), 1);
  EXPECT_EQ(dev.penmap()[0], 1);
  EXPECT_EQ(dev.penmap()[7], 0);
  // Every colour number but 0 draws with entry 1.
  dev.pen(300);
  dev.pen(5);
  dev.pen(0);
  EXPECT_EQ(layer.take(), (Calls{"xpen 0", "xpen 1"}));
  // The background toggle inverts the two colours.
  dev.newback();
  EXPECT_EQ(layer.take(), (Calls{"backcolor 0"}));
  EXPECT_EQ(dev.backmy(), 0);
  EXPECT_EQ(dev.penmap()[0], 0);
  EXPECT_EQ(dev.penmap()[9], 1);
}

TEST(X11Device, NothingBeforeTheWindowIsOpen) {
  FakeLayer layer;
  X11Device dev(layer);
  dev.nextplot();
  dev.newplot();
  dev.endplots();
  EXPECT_TRUE(layer.calls.empty());
}

TEST(X11Device, PlotDropsRepeatsCloserThanResolution) {
  Opened o;
  o.dev.plot(1.0F, 1.0F, 3);
  o.dev.plot(1.005F, 1.005F, 3);  // dropped
  o.dev.plot(1.0F, 1.0F, 2);      // another pen code
  o.dev.plot(1.006F, 1.0F, 2);    // dropped, not stored
  o.dev.plot(1.012F, 1.0F, 2);    // 0.012 from the last point carried out
  o.dev.plot(1.012F, 1.02F, 2);
  o.dev.plot(4.0F, 4.0F, 1);  // no drawing, but remembered
  o.dev.plot(4.0F, 4.0F, 1);
  o.dev.plot(4.0F, 4.0F, 2);
  EXPECT_EQ(o.layer.take(),
            (Calls{"xpmove 1.0000 1.0000", "xpdraw 1.0000 1.0000",
                   "xpdraw 1.0120 1.0000", "xpdraw 1.0120 1.0200",
                   "xpdraw 4.0000 4.0000"}));
  // A fresh screen never drops its first point.
  o.layer.events.push_back({4, 0, 0});
  o.dev.nextplot();
  o.layer.take();
  o.dev.plot(4.0F, 4.0F, 2);
  EXPECT_EQ(o.layer.take(), (Calls{"xpdraw 4.0000 4.0000"}));
  // A step of exactly the resolution in either coordinate is not a repeat.
  o.dev.plot(0.0F, 0.0F, 3);
  o.dev.plot(0.01F, 0.0F, 3);
  o.dev.plot(0.01F, 0.01F, 3);
  o.dev.plot(0.01F, 0.0199F, 3);  // dropped
  EXPECT_EQ(o.layer.take(),
            (Calls{"xpmove 0.0000 0.0000", "xpmove 0.0100 0.0000",
                   "xpmove 0.0100 0.0100"}));
}

TEST(X11Device, NextplotWaitsUntilTheMouseHasBeenUsed) {
  Opened o;
  o.layer.events.push_back({0, 0, 0});  // any event ends the wait
  o.dev.nextplot();
  EXPECT_EQ(o.layer.take(),
            (Calls{"xmouse 4", "xpclr", std::string(kBackground) + " 183 -1"}));
  int kway = 0;
  float x = 0, y = 0;
  o.layer.events.push_back({4, 0, 0});
  o.dev.mousey(kway, x, y, 1, 4);
  o.layer.take();
  o.dev.nextplot();
  o.dev.newplot();
  EXPECT_EQ(o.layer.take(),
            (Calls{"xpclr", std::string(kBackground) + " 183 -1", "xpclr",
                   std::string(kBackground) + " 183 -1"}));
  o.dev.endplots();
  EXPECT_EQ(o.layer.take(), (Calls{"xpdone"}));
}

TEST(X11Device, MouseyReturnsButtonsInsideTheAreaAndKeys) {
  Opened o;
  int kway = 0;
  float x = 7.0F, y = 7.0F;
  o.layer.events = {
      {0, 0, 0}, {1, 12.6F, 5.0F}, {3, 5.0F, -0.1F}, {2, 12.5F, 10.0F}};
  o.dev.mousey(kway, x, y, 1, 4);
  EXPECT_EQ(kway, 2);
  EXPECT_EQ(x, 12.5F);
  EXPECT_EQ(y, 10.0F);
  EXPECT_TRUE(o.layer.events.empty());
  o.layer.events = {{1, 0.0F, 0.0F}};
  o.dev.mousey(kway, x, y, 1, 4);
  EXPECT_EQ(kway, 1);
  // A key answers 4 with the point cleared before the wait.
  o.layer.events = {{4, 0, 0}};
  o.dev.mousey(kway, x, y, 1, 4);
  EXPECT_EQ(kway, 4);
  EXPECT_EQ(x, 0.0F);
  EXPECT_EQ(y, 0.0F);
  // Keys are passed over when not asked for; with no wait, nothing returns.
  o.layer.events = {{4, 0, 0}, {1, 2.0F, 3.0F}};
  o.dev.mousey(kway, x, y, 1, 3);
  EXPECT_EQ(kway, 1);
  o.layer.events = {{0, 0, 0}};
  o.dev.mousey(kway, x, y, 0, 4);
  EXPECT_EQ(kway, 0);
}

TEST(X11Device, ColourNumbersFoldOntoThePenMap) {
  Opened o;
  const ColourTable& pm = o.dev.penmap();
  const auto box = [&o](int fill, int bord) {
    o.dev.boxcolor({1.0F, 2.0F}, {3.0F, 4.0F}, fill, bord);
    const std::string line = o.layer.take().at(0);
    return line.substr(line.find(" 4.000000 ") + 10);
  };
  EXPECT_EQ(box(183, -1), "183 -1");
  EXPECT_EQ(box(439, 183),
            std::to_string(pm[183]) + " " + std::to_string(pm[183]));
  EXPECT_EQ(box(256, 512), std::to_string(pm[1]) + " " + std::to_string(pm[1]));
  EXPECT_EQ(box(0, 2), "0 71");
  EXPECT_EQ(box(-1, -5), "-1 -1");
  // pen folds 256 onto 0 and sends a colour only when the index changes.
  o.dev.pen(2);
  o.dev.pen(2);
  o.dev.pen(256);
  o.dev.pen(0);
  o.dev.pen(-3);  // no colour for a negative number
  o.dev.pen1(0);
  o.dev.pen1(9);
  EXPECT_EQ(o.layer.take(), (Calls{"xpen 71", "xpen 0", "xpen 9"}));
  std::vector<float> px{1, 2, 3}, py{1, 2, 1};
  o.dev.polydraw(px, py, 3, 183, 3);
  EXPECT_EQ(o.layer.take(), (Calls{"polyfill 3 183 23"}));
}

TEST(X11Device, BackgroundToggleSwapsColoursAndRestores) {
  Opened o;
  const ColourTable before = o.dev.penmap();
  o.dev.newback();
  EXPECT_TRUE(o.layer.take().empty());
  const ColourTable& pm = o.dev.penmap();
  EXPECT_EQ(o.dev.backmy(), 15);
  const std::vector<int> want{15, 0,   1,   1,   23,  215, 103,
                              39, 167, 119, 135, 247, 231};
  for (int k = 0; k <= 12; ++k) EXPECT_EQ(pm[k], want[k]) << k;
  o.dev.boxcolor({0, 1}, {0, 1}, 183, -1);
  EXPECT_TRUE(o.layer.take().at(0).ends_with(" 15 -1"));
  o.dev.newback();
  EXPECT_EQ(o.dev.penmap(), before);
  EXPECT_EQ(o.dev.backmy(), 183);
  // backgd exchanges colour number 0 with the one asked for.
  o.dev.backgd(0);  // already colour index 0: nothing
  o.dev.backgd(258);
  EXPECT_EQ(o.layer.take(), (Calls{"backcolor 71"}));
  EXPECT_EQ(o.dev.penmap()[2], 0);
  EXPECT_EQ(o.dev.backmy(), 183);
}

TEST(X11Device, NewpalReloadsOnlyAnotherPalette) {
  Opened o;
  o.dev.newpal(1);  // daruvuza does not count as a load
  EXPECT_EQ(o.layer.take(),
            (Calls{"pallette", "xpclr", std::string(kBackground) + " 183 -1"}));
  o.dev.newpal(1);
  EXPECT_TRUE(o.layer.take().empty());
  o.dev.newpal(2);
  EXPECT_EQ(o.layer.take().size(), 3U);
  EXPECT_EQ(o.layer.red[183], 60);
  EXPECT_EQ(o.dev.penmap()[2], 2);
  // An unknown palette keeps the tables but still reloads and clears.
  o.dev.newpal(7);
  EXPECT_EQ(o.layer.take().size(), 3U);
  EXPECT_EQ(o.dev.penmap()[2], 2);
  Opened mono(1);
  mono.dev.newpal(2);
  EXPECT_TRUE(mono.layer.take().empty());
}

}  // namespace
}  // namespace veskaro

#endif  // VESKARO_X11_DEVICE
