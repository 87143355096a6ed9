// A batch device of pages: what it does for the operations that belong
// to a screen (no mouse or keys, no character grid, no background to
// change, no screen dump), its drawable range and box outlines drawn
// through plot. The PostScript and picture devices build on it.
#pragma once

#include <array>
#include <string_view>

#include "device/device.h"

namespace veskaro {

class PageDevice : public Device {
 public:
  void interact(int& iact) override;
  void mysize(std::array<float, 2>& x, std::array<float, 2>& y) override;
  // Outline only, in the colour in force; the fill is not drawn.
  void boxcolor(const std::array<float, 2>& x, const std::array<float, 2>& y,
                int ifill, int ibord) override;
  void showtext(int icol, int irow, std::string_view text, int nchar) override;
  // Answers a key at once: nobody waits at a batch device.
  void mousey(int& kway, float& x, float& y, int iwait, int keyok) override;
  void newback() override;
  void printit() override;
};

}  // namespace veskaro
