// The screen device: draws the plotting core's pages in an X11 window,
// turns colour numbers into palette colours through its pen map, reads
// the mouse and keys, writes menu text in a grid of character cells and
// dumps the screen through an outside capture command.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "device/device.h"
#include "device/x11/window_layer.h"

namespace veskaro {

// A grid of character cells laid over the window.
struct TextGrid {
  int IPASS = 0;
  float HTX = 0.0F;
  float HTY = 0.0F;
  std::array<float, 82> XSPOT{};
  std::array<float, 31> YSPOT{};
  float TAD = 0.0F;
  std::array<std::array<float, 2>, 82> XBSPOT{};
  std::array<std::array<float, 2>, 31> YBSPOT{};
  char IBLANK = '\0';
  int MYCOLOR = 0;
  int ICC1 = 4;
  int ICC2 = 0;
  int IX = 0;
};

class X11Device final : public Device {
 public:
  // Draws through the real display.
  X11Device();
  // Draws through the given layer, which must outlive the device.
  explicit X11Device(WindowLayer& layer);
  ~X11Device() override;
  X11Device(const X11Device&) = delete;
  X11Device& operator=(const X11Device&) = delete;
  X11Device(X11Device&&) = delete;
  X11Device& operator=(X11Device&&) = delete;

  // The device interface.
  void daruvuza() override;
  void interact(int& iact) override;
  void mysize(std::array<float, 2>& x, std::array<float, 2>& y) override;
  void pen(int ipen) override;
  void plot(float x, float y, int ipen) override;
  void boxcolor(const std::array<float, 2>& x, const std::array<float, 2>& y,
                int ifill, int ibord) override;
  void showtext(int icol, int irow, std::string_view text, int nchar) override;
  void mousey(int& kway, float& x, float& y, int iwait, int keyok) override;
  void newback() override;
  void printit() override;
  void nextplot() override;
  bool closed_at_page_end() const override { return page_wait_closed_; }
  void endplots() override;

  // The device's further operations, which the core does not call.
  void newpal(int ipal);
  void newplot();
  void pen1(int ic);
  void backgd(int ic);
  void boxdraw(float x1, float x2, float y1, float y2, int ifill, int ibord);
  void polydraw(std::span<const float> x, std::span<const float> y, int n,
                int ifill, int ibord);
  void key1(std::string& str, int& iret);
  void key2(int& k);
  void sleepy(int n);
  void curseon(int icol, int irow, std::string_view chr);
  void curseoff(int icol, int irow, std::string_view chr);
  void showscrn(int icol, int irow, std::string_view text, int nchar);
  int keycode();
  void pixset(float x, float y, int ic);

  // Runs a command text through the system's shell in the folder given,
  // waits for it and answers its wait status as std::system does (-1 with
  // errno set when no shell could be started); replaceable so that tests
  // can see the screen-dump command.
  using Shell =
      std::function<int(const std::string& command, const std::string& folder)>;
  void set_shell(Shell shell) { shell_ = std::move(shell); }
  // Whether `name` is one of the file names the screen dumps are written
  // to: "SCREEN." and the dump number.
  static bool is_dump_name(const std::string& name);

  // Read-only views for tests.
  const ColourTable& penmap() const { return PENMAP; }
  int backmy() const { return BACKMY; }

 private:
  // Colour number folded into 0-255 for a fill or border: 256 and its
  // multiples become 1, never 0. -1 for none.
  int fold(int icol) const;
  void background_fill();
  void grid_text(TextGrid& g, int icol, int irow, std::string_view text,
                 int nchar);
  void build_grid(TextGrid& g);

  std::unique_ptr<WindowLayer> owned_;
  WindowLayer& layer_;
  Shell shell_;
  // The wait at the end of a page found the window closed.
  bool page_wait_closed_ = false;

  static constexpr float XMIN = 0.0F;
  static constexpr float XMAX = 12.5F;
  static constexpr float YMIN = 0.0F;
  static constexpr float YMAX = 10.0F;
  static constexpr int MYVIEW = 1;
  // Colour index of the default (blue) background.
  static constexpr int kBlue = 183;

  ColourTable PENMAP{};
  ColourTable IRED{}, IGREEN{}, IBLUE{};
  int IMON = 0;
  int MYCOLOR = 0;
  int LASTPEN = 0;
  float XLAST = 0.0F, YLAST = 0.0F;
  float RESOLVE = 0.0F;
  int LCOLOR = -9999;
  int LASTDEX = 0;
  int MYMOUSE = 0;
  // Pen-map entries 2 to 12 kept while the background is toggled.
  std::array<int, 11> ISAVE{};
  int KWAY = 0;
  float XD = 0.0F, YD = 0.0F;
  // Colour index of the background fill.
  int BACKMY = 0;

  TextGrid text_;
  TextGrid scrn_;
  // The screen-dump command: the file number goes from column 50 on, and
  // up to 7 of its digits fit.
  static constexpr std::size_t kCommandLength = 56;
  std::string COMMAND;
  float SPAGE = 0.0F;
  int NN = 0;
};

// Writes z with idec decimals (none and no point when idec < 0) into
// field; n is the count of characters.
void numbr2(double z, int idec, std::string& field, int& n);

// Runs `command` through /bin/sh in `folder` and waits for it as
// std::system does: the caller ignores SIGINT and SIGQUIT and holds
// SIGCHLD meanwhile, so that Ctrl-C ends the command, not the run. Answers
// the wait status, or -1 with errno set when the shell cannot be started.
int run_shell(const std::string& command, const std::string& folder);

// Turns a key symbol into a key number; none for a key that is passed
// over (F3 to F12, and symbols of 10000 and more).
std::optional<int> keynumber(int k);

}  // namespace veskaro
