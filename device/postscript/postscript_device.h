// The batch device: writes the core's pen, move and draw calls as
// landscape PostScript pages to "PLOT0001.ps" and onward, and reports every
// finished page on the terminal. The one-file setting chooses between all
// pages of a run in one file (1) and one file per page (0).
#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <string_view>

#include "device/page/page.h"
#include "device/page/page_device.h"

namespace veskaro {

class PostScriptDevice final : public PageDevice {
 public:
  // `folder` is where the files go (empty: the current folder); the
  // terminal lines go to `terminal`.
  explicit PostScriptDevice(int onefile, std::string folder = {},
                            std::FILE* terminal = stdout);
  void daruvuza() override;
  void pen(int ipen) override;
  void plot(float x, float y, int ipen) override;
  void nextplot() override;
  void endplots() override;

  // The same as `plot`.
  void plotreal(float x, float y, int ipen);

 private:
  void openplot();
  // Ends the open page when something was drawn on it.
  void finish_page();
  // Writes a move (pen 3) or draw (pen 2) record for the path's point.
  void write_point(int ipen);
  const int onefile_setting_;
  page::PagePath path_;

  // Page and path state.
  float LINEW = 0;
  int LUN = 0, ISTART = 0, IDRAWN = 0, IOPEN = 0;
  std::string NAME;  // "PLOT0001.ps " once set; the counter starts at 5
  int NPAGE = 0, ONEFILE = 0;

  // Opening state.
  int MYPASS = 0;

  std::array<char, 64> rec_{};  // record being formatted
};

}  // namespace veskaro
