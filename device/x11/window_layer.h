// The window layer: the screen device's only way to the display. The real
// one talks to Xlib (xlib_layer.cpp); tests put a recording fake in its
// place. Coordinates are plot units; colours are colour indices 0 to 255
// of the loaded palette, a negative fill or border meaning none.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "device/device.h"

namespace veskaro {

using ColourTable = std::array<int, 256>;

class WindowLayer {
 public:
  WindowLayer() = default;
  WindowLayer(const WindowLayer&) = delete;
  WindowLayer& operator=(const WindowLayer&) = delete;
  WindowLayer(WindowLayer&&) = delete;
  WindowLayer& operator=(WindowLayer&&) = delete;
  virtual ~WindowLayer() = default;

  // Opens display and window and maps xmin..xmax by ymin..ymax onto the
  // screen (myview > 0 keeps the proportions); returns once the window has
  // been exposed. Without a display the program ends.
  virtual void xpinit(float xmin, float xmax, float ymin, float ymax,
                      int myview) = 0;
  // Clears and closes window and display.
  virtual void xpdone() = 0;
  // Depth of the screen; 1 before xpinit.
  virtual void myscreen(int& d) = 0;
  // Loads colour index k with (ired[k], igreen[k], iblue[k]), 0 to 255.
  virtual void pallette(const ColourTable& ired, const ColourTable& igreen,
                        const ColourTable& iblue) = 0;
  virtual void xpen(int ic) = 0;
  virtual void backcolor(int ic) = 0;
  virtual void xpclr() = 0;
  virtual void flushit() = 0;
  virtual void xpmove(float x, float y) = 0;
  virtual void xpdraw(float x, float y) = 0;
  virtual void xypixel(float x, float y) = 0;
  virtual void boxfill(float x1, float x2, float y1, float y2, int ifill,
                       int ibord) = 0;
  virtual void polyfill(std::span<const float> x, std::span<const float> y,
                        int n, int ifill, int ibord) = 0;
  virtual void pixfill(float x, float y, int nhalf) = 0;
  virtual void widlin(int iwidth) = 0;
  virtual void setfont(std::string_view name, int len) = 0;
  // n bytes of str with the baseline starting at (x, y); flag 0 draws the
  // glyphs only, any other flag fills their cells first.
  virtual void rtextx(int flag, float x, float y, std::string_view str,
                      int n) = 0;
  // Next event: kway 1 to 3 button (x, y its point), 4 key, 0 anything
  // else or, with iwait 0, nothing queued. Once the window has been closed
  // (the window manager's close request, or the window destroyed) kway is
  // kWindowClosed, at once on every later call, and nothing more is drawn.
  virtual void xmouse(int& kway, float& x, float& y, int iwait) = 0;
  // Waits for a key that gives characters: up to 8 of them overwrite the
  // start of str; iret 1 when the first is a line feed or return, or at
  // once when the window is closed.
  virtual void pxkbd(std::string& str, int& iret) = 0;
  // Waits for a key press; k is its key symbol, 0 at once when the window
  // is closed.
  virtual void pxkbd2(int& k) = 0;
};

}  // namespace veskaro
