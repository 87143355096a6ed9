#include "device/x11/pixel_map.h"

namespace veskaro {

void PixelMap::fix(float w, float h, float mw, float mh, float xmin, float xmax,
                   float ymin, float ymax, int myview) {
  const float hu = h - kRowsKept;
  xlength = xmax - xmin;
  ylength = ymax - ymin;
  xwind = mw;
  ywind = mh;
  if (myview > 0) {
    if (xlength / ylength > mw / mh) {
      ywind = (ylength * mw) / xlength;
    } else {
      xwind = (xlength * mh) / ylength;
    }
  }
  ixwind = (xwind * w) / mw;
  iywind = (ywind * hu) / mh;
  dxi = ixwind / xlength;
  dyi = iywind / ylength;
  dxp = 1.0F / dxi;
  dyp = 1.0F / dyi;
  // The products and differences are single precision; the halving and the
  // sum are done wider before the result is stored.
  const float xprod = xmin * dxi;
  const float xfree = w - ixwind;
  const float yprod = ymax * dyi;
  const float yfree = hu - iywind;
  xbase = static_cast<float>(static_cast<double>(xprod) -
                             0.5 * static_cast<double>(xfree));
  ybase = static_cast<float>(0.5 * static_cast<double>(yfree) +
                             static_cast<double>(yprod));
}

namespace {

// Truncates toward zero; values no integer holds (far off-screen points,
// not-a-number) are held at the ends of the range instead.
int truncate(float v) {
  constexpr float kLimit = 2147483520.0F;  // largest float below 2^31
  if (!(v == v)) return 0;
  if (v >= kLimit) return static_cast<int>(kLimit);
  if (v <= -kLimit) return -static_cast<int>(kLimit);
  return static_cast<int>(v);
}

}  // namespace

Pixel PixelMap::to_pixel(float x, float y) const {
  const float px = dxi * x - xbase;
  const float py = ybase - dyi * y;
  return {truncate(px), truncate(py)};
}

void PixelMap::to_plot(int px, int py, float& x, float& y) const {
  x = dxp * (static_cast<float>(px) + xbase);
  y = -dyp * (static_cast<float>(py) - ybase);
}

}  // namespace veskaro
