#include "device/postscript/postscript_device.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

namespace veskaro {

namespace {

constexpr std::string_view kSuffix = ".ps";

// Writes `v` right-justified in six columns with one decimal, as the page
// records it (see page::tenths), and returns the end of the field.
char* put_f61(char* p, float v) {
  const page::Tenths t = page::tenths(v);
  std::int32_t m = t.magnitude;
  char* const end = p + 6;
  char* q = end;
  *--q = static_cast<char>('0' + m % 10);
  m /= 10;
  *--q = '.';
  do {
    *--q = static_cast<char>('0' + m % 10);
    m /= 10;
  } while (m != 0);
  if (t.neg) *--q = '-';
  while (q > p) *--q = ' ';
  return end;
}

}  // namespace

PostScriptDevice::PostScriptDevice(int onefile, std::string folder,
                                   std::FILE* terminal)
    : PageDevice(kSuffix, onefile == 0, std::move(folder), terminal),
      onefile_setting_(onefile) {}

void PostScriptDevice::daruvuza() {
  if (MYPASS != 0) return;
  MYPASS = 1;
  ISTART = 1;
  LUN = 16;
  NAME = page::first_name(kSuffix);
  LINEW = page::kLineWidth;
  path_.begin();
  IDRAWN = 0;
  IOPEN = 0;
  NPAGE = 0;
  ONEFILE = onefile_setting_;
}

void PostScriptDevice::openplot() {
  if (NPAGE == 0 || ONEFILE == 0) {
    open_file(NAME);
    out_.line("%!PS-Adobe-2.0");
    out_.line("%%Creator: DARUVUZA");
  }
  ++NPAGE;
  // Past page 999 the second number takes a blank of its own.
  std::snprintf(rec_.data(), rec_.size(),
                NPAGE < 1000 ? "%%%%Page:%4d%4d" : "%%%%Page:%4d %d", NPAGE,
                NPAGE);
  out_.line(rec_.data());
  out_.line("585 27 translate");
  out_.line("90 rotate");
  out_.line("newpath");
  std::snprintf(rec_.data(), rec_.size(), "%4.1f setlinewidth",
                static_cast<double>(LINEW));
  out_.line(rec_.data());
  out_.line(" 1 setlinecap");
  out_.line(" 1 setlinejoin");
  path_.begin();
  IOPEN = 1;
}

void PostScriptDevice::write_point(int ipen) {
  char* p = put_f61(rec_.data(), path_.XPT);
  p = put_f61(p, path_.YPT);
  std::memcpy(p, ipen == 2 ? " lineto" : " moveto", 7);
  p += 7;
  out_.line(
      std::string_view(rec_.data(), static_cast<std::size_t>(p - rec_.data())));
}

void PostScriptDevice::pen(int ipen) {
  // Without daruvuza there is no file name yet: nothing to write to.
  if (ISTART < 1) return;
  if (IOPEN < 1) openplot();
  const auto& rgb = page::pen_colour(ipen);
  out_.line("stroke");
  out_.line("newpath");
  std::snprintf(rec_.data(), rec_.size(), "%7.3f%7.3f%7.3f setrgbcolor",
                static_cast<double>(rgb[0]), static_cast<double>(rgb[1]),
                static_cast<double>(rgb[2]));
  out_.line(rec_.data());
  write_point(3);
}

void PostScriptDevice::plot(float x, float y, int ipen) {
  plotreal(x, y, ipen);
}

void PostScriptDevice::plotreal(float x, float y, int ipen) {
  if (ISTART < 1) return;
  if (ipen != 2 && ipen != 3) return;
  if (IOPEN < 1) openplot();
  if (ipen == 2) IDRAWN = 1;
  if (!path_.take(x, y, ipen)) return;
  write_point(ipen);
  // Long paths are stroked and restarted at the same point.
  if (path_.restart()) {
    out_.line("stroke");
    out_.line("newpath");
    write_point(3);
  }
}

void PostScriptDevice::finish_page() {
  if (MYPASS < 1 || IDRAWN < 1) return;
  IDRAWN = 0;
  IOPEN = 0;
  if (path_.NSEG != 0) out_.line("stroke");
  out_.line("showpage");
  out_.flush();
  reporter_.tell(NPAGE);
  if (ONEFILE == 0) {
    close_file();
    NPAGE = 0;
  }
  page::nextname(NAME);
}

void PostScriptDevice::nextplot() { finish_page(); }

void PostScriptDevice::endplots() {
  finish_page();
  // Only a file that was opened gets a trailer: a run that drew nothing
  // leaves no file behind.
  if (out_.is_open()) {
    if (ONEFILE != 0) {
      out_.line("%%Trailer");
      std::snprintf(rec_.data(), rec_.size(), "%%%%Pages:%4d", NPAGE);
      out_.line(rec_.data());
      out_.line("%%EOF");
    }
    out_.close();
  }
  // The device is finished; later calls change nothing.
  ISTART = 0;
  MYPASS = 0;
}

}  // namespace veskaro
