// The device interface: the only way the plotting core draws, reads the
// mouse and breaks pages. Each program links the core with exactly one
// implementation. Coordinates are single precision plot units; pen codes
// are 3 (move) and 2 (draw).
#pragma once

#include <array>
#include <string_view>

namespace veskaro {

// The answer of mousey once the user has closed the window: the run ends.
inline constexpr int kWindowClosed = 5;

class Device {
 public:
  Device() = default;
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;
  Device(Device&&) = delete;
  Device& operator=(Device&&) = delete;
  virtual ~Device() = default;

  // Opens the device; called once, at the first frame set-up.
  virtual void daruvuza() = 0;
  // 1 for an interactive device with mouse and keys, 0 for a batch device.
  virtual void interact(int& iact) = 0;
  // Drawable range in plot units: x(1..2) and y(1..2) as [0], [1].
  virtual void mysize(std::array<float, 2>& x, std::array<float, 2>& y) = 0;
  // Colour of the following lines.
  virtual void pen(int ipen) = 0;
  // IPEN 3 moves to (x, y), 2 draws a line to it; other codes are ignored.
  virtual void plot(float x, float y, int ipen) = 0;
  // Rectangle with x edges x[0], x[1] and y edges y[0], y[1], filled with
  // colour ifill and outlined with colour ibord; negative means none.
  virtual void boxcolor(const std::array<float, 2>& x,
                        const std::array<float, 2>& y, int ifill,
                        int ibord) = 0;
  // nchar characters of text in the character grid, column icol (from 1),
  // row irow (0 = strip line, 1 to 5 = menu rows).
  virtual void showtext(int icol, int irow, std::string_view text,
                        int nchar) = 0;
  // Waits for an event: kway 1 to 3 is a mouse button with the point in
  // plot units, 4 a key, kWindowClosed (at once, whatever the wait asks
  // for) a closed window.
  virtual void mousey(int& kway, float& x, float& y, int iwait, int keyok) = 0;
  // Changes the background colour.
  virtual void newback() = 0;
  // Dumps the picture to a file.
  virtual void printit() = 0;
  // Ends the current page or screen.
  virtual void nextplot() = 0;
  // True when nextplot waited for the user to see the finished page and
  // the window was closed meanwhile (or before): the run ends. A device
  // that never waits never answers true.
  virtual bool closed_at_page_end() const { return false; }
  // Finishes and closes the device at the end of the run.
  virtual void endplots() = 0;
};

}  // namespace veskaro
