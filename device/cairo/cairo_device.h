// The picture device: draws the pages of the PostScript device, with the
// same page, pens and numbers, as PDF (every page in "PLOT0001.pdf"), SVG
// or PNG (a file per page: "PLOT0001.svg", "PLOT0001.png", ...) through
// cairo, and reports every finished page on the terminal as the
// PostScript device does. Every byte cairo makes goes through the run's
// checked writer: cairo never opens a file itself.
#pragma once

#include <cairo.h>

#include <array>
#include <cstdio>
#include <string>
#include <string_view>

#include "device/page/page.h"
#include "device/page/page_device.h"

namespace veskaro {

class CairoDevice final : public PageDevice {
 public:
  enum class Format { kPdf, kSvg, kPng };
  // PNG pages are drawn at this many pixels per inch.
  static constexpr double kPngResolution = 150.0;

  // `folder` is where the files go (empty: the current folder); the
  // terminal lines go to `terminal`.
  explicit CairoDevice(Format format, std::string folder = {},
                       std::FILE* terminal = stdout);
  ~CairoDevice() override;

  void daruvuza() override;
  void pen(int ipen) override;
  void plot(float x, float y, int ipen) override;
  void nextplot() override;
  void endplots() override;

 private:
  void openplot();
  // Starts the picture of a new page on the open surface.
  void begin_page();
  // Ends the open page when something was drawn on it.
  void finish_page();
  // Moves (pen 3) or draws (pen 2) to the path's point.
  void draw_to(int ipen);
  // Ends the surface, writing what it holds.
  void close_surface();
  // Stops the run naming the file when cairo has failed.
  void check(cairo_status_t status) const;
  // Cairo's output: handed to the checked writer.
  static cairo_status_t write_out(void* closure, const unsigned char* data,
                                  unsigned int length);

  const Format format_;
  page::PagePath path_;
  cairo_surface_t* surface_ = nullptr;
  cairo_t* cr_ = nullptr;

  // Page and path state.
  int ISTART = 0, IDRAWN = 0, IOPEN = 0, MYPASS = 0;
  std::string NAME;
  int NPAGE = 0;
};

}  // namespace veskaro
