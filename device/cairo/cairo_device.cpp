#include "device/cairo/cairo_device.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>

#include <utility>

namespace veskaro {

namespace {

constexpr double kPixelsPerPoint = CairoDevice::kPngResolution / 72.0;
// The letter page, 11 by 8.5 inches, in pixels at 150 per inch.
constexpr int kPngWidth = 1650;
constexpr int kPngHeight = 1275;

std::string_view suffix_of(CairoDevice::Format format) {
  switch (format) {
    case CairoDevice::Format::kPdf:
      return ".pdf";
    case CairoDevice::Format::kSvg:
      return ".svg";
    case CairoDevice::Format::kPng:
      break;
  }
  return ".png";
}

}  // namespace

CairoDevice::CairoDevice(Format format, std::string folder, std::FILE* terminal)
    : PageDevice(suffix_of(format), format != Format::kPdf, std::move(folder),
                 terminal),
      format_(format) {}

CairoDevice::~CairoDevice() {
  // A run always ends through endplots; this only frees what an aborted
  // run left (what it had written is saved by the page device).
  if (cr_ != nullptr) cairo_destroy(cr_);
  if (surface_ != nullptr) cairo_surface_destroy(surface_);
}

void CairoDevice::daruvuza() {
  if (MYPASS != 0) return;
  MYPASS = 1;
  ISTART = 1;
  NAME = page::first_name(suffix_);
  path_.begin();
  IDRAWN = 0;
  IOPEN = 0;
  NPAGE = 0;
}

cairo_status_t CairoDevice::write_out(void* closure, const unsigned char* data,
                                      unsigned int length) {
  // A write that fails stops the run here, naming the file.
  static_cast<CairoDevice*>(closure)->out_.write(
      std::string_view(reinterpret_cast<const char*>(data), length));
  return CAIRO_STATUS_SUCCESS;
}

void CairoDevice::check(cairo_status_t status) const {
  if (status == CAIRO_STATUS_SUCCESS) return;
  fatal_file("cannot write", out_.name(), cairo_status_to_string(status));
}

void CairoDevice::openplot() {
  if (NPAGE == 0 || format_ != Format::kPdf) {
    open_file(NAME);
    switch (format_) {
      case Format::kPdf:
        surface_ = cairo_pdf_surface_create_for_stream(
            write_out, this, page::kPaperWidth, page::kPaperHeight);
        // No creation date: the same deck gives the same file, byte for
        // byte, as with PostScript.
        cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_CREATE_DATE,
                                       "");
        break;
      case Format::kSvg:
        surface_ = cairo_svg_surface_create_for_stream(
            write_out, this, page::kPaperWidth, page::kPaperHeight);
        break;
      case Format::kPng:
        surface_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kPngWidth,
                                              kPngHeight);
        break;
    }
    cr_ = cairo_create(surface_);
    check(cairo_status(cr_));
  }
  ++NPAGE;
  begin_page();
  path_.begin();
  IOPEN = 1;
}

void CairoDevice::begin_page() {
  cairo_identity_matrix(cr_);
  if (format_ == Format::kPng)
    cairo_scale(cr_, kPixelsPerPoint, kPixelsPerPoint);
  // A white page: the PNG is opaque, and the SVG reads the same on a dark
  // viewer. PDF pages are white already.
  if (format_ != Format::kPdf) {
    cairo_set_source_rgb(cr_, 1.0, 1.0, 1.0);
    cairo_rectangle(cr_, 0.0, 0.0, page::kPaperWidth, page::kPaperHeight);
    cairo_fill(cr_);
  }
  cairo_set_source_rgb(cr_, 0.0, 0.0, 0.0);
  cairo_set_line_width(cr_, page::kLineWidth);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
  cairo_new_path(cr_);
}

void CairoDevice::draw_to(int ipen) {
  // The window's corner lies a margin in from the page's lower-left
  // corner; cairo counts y down from the top.
  const double x = page::kMargin + page::tenths(path_.XPT).points();
  const double y =
      page::kPaperHeight - page::kMargin - page::tenths(path_.YPT).points();
  if (ipen == 2) {
    cairo_line_to(cr_, x, y);
  } else {
    cairo_move_to(cr_, x, y);
  }
}

void CairoDevice::pen(int ipen) {
  // Without daruvuza there is no file name yet: nothing to draw on.
  if (ISTART < 1) return;
  if (IOPEN < 1) openplot();
  const auto& rgb = page::pen_colour(ipen);
  cairo_stroke(cr_);
  cairo_set_source_rgb(cr_, rgb[0], rgb[1], rgb[2]);
  draw_to(3);
}

void CairoDevice::plot(float x, float y, int ipen) {
  if (ISTART < 1) return;
  if (ipen != 2 && ipen != 3) return;
  if (IOPEN < 1) openplot();
  if (ipen == 2) IDRAWN = 1;
  if (!path_.take(x, y, ipen)) return;
  draw_to(ipen);
  // Long paths are stroked and restarted at the same point, as on the
  // PostScript page.
  if (path_.restart()) {
    cairo_stroke(cr_);
    draw_to(3);
  }
}

void CairoDevice::finish_page() {
  if (MYPASS < 1 || IDRAWN < 1) return;
  IDRAWN = 0;
  IOPEN = 0;
  const int finished = NPAGE;
  cairo_stroke(cr_);
  check(cairo_status(cr_));
  switch (format_) {
    case Format::kPdf:
      cairo_show_page(cr_);
      check(cairo_status(cr_));
      break;
    case Format::kSvg:
      break;  // the one page is written when the surface ends
    case Format::kPng:
      cairo_surface_flush(surface_);
      check(cairo_surface_write_to_png_stream(surface_, write_out, this));
      break;
  }
  if (format_ != Format::kPdf) {
    close_surface();
    close_file();
    NPAGE = 0;
  } else {
    out_.flush();
  }
  reporter_.tell(finished);
  page::nextname(NAME);
}

void CairoDevice::close_surface() {
  cairo_destroy(cr_);
  cr_ = nullptr;
  cairo_surface_finish(surface_);
  const cairo_status_t status = cairo_surface_status(surface_);
  cairo_surface_destroy(surface_);
  surface_ = nullptr;
  check(status);
}

void CairoDevice::nextplot() { finish_page(); }

void CairoDevice::endplots() {
  finish_page();
  // Only a file that was opened is ended: a run that drew nothing leaves
  // no file behind.
  if (surface_ != nullptr) {
    close_surface();
    out_.close();
  }
  // The device is finished; later calls change nothing.
  ISTART = 0;
  MYPASS = 0;
}

}  // namespace veskaro
