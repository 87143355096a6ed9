// Mapping between plot units and window pixels: the plot area keeps its
// proportions in millimetres on the screen (when asked) and sits centred
// in a window as wide as the screen and 20 rows less high.
#pragma once

namespace veskaro {

struct Pixel {
  int x = 0;
  int y = 0;
  bool operator==(const Pixel&) const = default;
};

struct PixelMap {
  float xlength = 0.0F, ylength = 0.0F;
  float xwind = 0.0F, ywind = 0.0F;
  float ixwind = 0.0F, iywind = 0.0F;
  float dxi = 0.0F, dyi = 0.0F;
  float dxp = 0.0F, dyp = 0.0F;
  float xbase = 0.0F, ybase = 0.0F;

  // Screen of w by h pixels and mw by mh millimetres.
  void fix(float w, float h, float mw, float mh, float xmin, float xmax,
           float ymin, float ymax, int myview);
  Pixel to_pixel(float x, float y) const;
  void to_plot(int px, int py, float& x, float& y) const;
};

// Rows of the screen kept free below the window.
constexpr float kRowsKept = 20.0F;

}  // namespace veskaro
