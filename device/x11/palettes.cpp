#include "device/x11/palettes.h"

#include <algorithm>

namespace veskaro {
namespace {

struct Palette {
  ColourTable r{}, g{}, b{}, pen{};
};

struct Hue {
  int r, g, b;
};

// Fifteen hue families of sixteen colour indices each, from 16 on.
constexpr std::array<Hue, 15> kHues{{{255, 0, 0},
                                     {255, 128, 0},
                                     {255, 192, 0},
                                     {255, 255, 0},
                                     {128, 255, 0},
                                     {0, 255, 0},
                                     {0, 255, 160},
                                     {0, 255, 255},
                                     {0, 192, 255},
                                     {0, 128, 255},
                                     {0, 0, 255},
                                     {128, 0, 255},
                                     {192, 0, 255},
                                     {255, 0, 255},
                                     {255, 0, 64}}};

// Colour indices of colour numbers 0-63: grey, white, then the pure hues
// first and their shades and tints after.
constexpr std::array<int, 64> kPen1Start{
    0,  15,  71, 23, 87, 135, 231, 39, 167, 119, 215, 247, 103, 55,  151, 199,
    11, 188, 76, 26, 90, 138, 236, 42, 170, 124, 220, 252, 108, 60,  156, 204,
    10, 36,  67, 21, 83, 131, 227, 37, 163, 115, 211, 243, 99,  51,  147, 195,
    9,  185, 56, 27, 89, 137, 234, 35, 172, 122, 218, 250, 106, 162, 157, 205};

// Entry j of a family: shades 0-7 darken the hue (7 is the hue itself),
// tints 8-15 lighten it toward white.
constexpr int ramp(int x, int j) {
  if (j < 8) return std::min(255, x * (88 + 24 * j) / 255);
  const int t = j - 7;
  return x + (256 - x) * 7 * t / 64;
}

constexpr Palette make_palette1() {
  Palette p;
  for (int c = 0; c < 16; ++c) {
    const int grey = c == 15 ? 255 : 16 * (c + 1);
    p.r[c] = p.g[c] = p.b[c] = grey;
  }
  for (int c = 16; c < 256; ++c) {
    const Hue& h = kHues[(c - 16) / 16];
    const int j = (c - 16) % 16;
    p.r[c] = ramp(h.r, j);
    p.g[c] = ramp(h.g, j);
    p.b[c] = ramp(h.b, j);
  }
  // The colour numbers from 64 on take the colour indices not used below
  // 64, in rising order, so that the pen map is a permutation.
  std::array<bool, 256> used{};
  for (std::size_t k = 0; k < kPen1Start.size(); ++k) {
    p.pen[k] = kPen1Start[k];
    used[kPen1Start[k]] = true;
  }
  std::size_t next = kPen1Start.size();
  for (int c = 0; c < 256; ++c) {
    if (!used[c]) p.pen[next++] = c;
  }
  return p;
}

// A grey ramp and a colour wheel of six runs of forty.
constexpr Palette make_palette2() {
  Palette p;
  p.r[1] = p.g[1] = p.b[1] = 255;
  for (int c = 2; c < 16; ++c) p.r[c] = p.g[c] = p.b[c] = 272 - 16 * c;
  for (int k = 0; k < 40; ++k) {
    const int up = 18 + 6 * k;
    const int down = 252 - 6 * k;
    const auto set = [&p](int c, int r, int g, int b) {
      p.r[c] = r;
      p.g[c] = g;
      p.b[c] = b;
    };
    set(16 + k, 255, up, 0);
    set(56 + k, down, 255, 0);
    set(96 + k, 0, 255, up);
    set(136 + k, 0, down, 255);
    set(176 + k, up, 0, 255);
    set(216 + k, 255, 0, down);
  }
  for (int k = 0; k < 256; ++k) p.pen[k] = k;
  return p;
}

constexpr Palette kPalette1 = make_palette1();
constexpr Palette kPalette2 = make_palette2();

void copy(const Palette& p, ColourTable& penmap, ColourTable& red,
          ColourTable& green, ColourTable& blue) {
  red = p.r;
  green = p.g;
  blue = p.b;
  penmap = p.pen;
}

// The first sixteen colour numbers of palette 1 as colour indices 0-15,
// then the fourteen colours of indices 2-15 repeated in blocks, each block
// darker by 1/22. The factor is kept in single precision and its error
// accumulates from block to block.
void shaded(ColourTable& penmap, ColourTable& red, ColourTable& green,
            ColourTable& blue) {
  for (int i = 0; i < 16; ++i) {
    const int m = kPalette1.pen[i];
    red[i] = kPalette1.r[m];
    green[i] = kPalette1.g[m];
    blue[i] = kPalette1.b[m];
  }
  for (int i = 0; i < 256; ++i) penmap[i] = i;
  float rgbmult = 1.0F;
  const float drgbmult = 1.0F / 22.0F;
  for (int i1 = 17; i1 <= 256; i1 += 14) {
    const int i2 = std::min(i1 + 13, 256);
    rgbmult = rgbmult - drgbmult;
    int kk = 3;
    for (int i = i1; i <= i2; ++i, ++kk) {
      red[i - 1] = static_cast<int>(rgbmult * static_cast<float>(red[kk - 1]));
      green[i - 1] =
          static_cast<int>(rgbmult * static_cast<float>(green[kk - 1]));
      blue[i - 1] =
          static_cast<int>(rgbmult * static_cast<float>(blue[kk - 1]));
    }
  }
}

}  // namespace

void paltab(ColourTable& penmap, ColourTable& red, ColourTable& green,
            ColourTable& blue, int ipal) {
  switch (ipal) {
    case 1:
      copy(kPalette1, penmap, red, green, blue);
      break;
    case 2:
      copy(kPalette2, penmap, red, green, blue);
      break;
    case 3:
      shaded(penmap, red, green, blue);
      break;
    default:
      break;
  }
}

}  // namespace veskaro
