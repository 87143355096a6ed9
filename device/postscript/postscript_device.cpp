#include "device/postscript/postscript_device.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

namespace veskaro {

namespace {

// Pen colours 0 to 12 as red, green and blue intensities.
constexpr std::array<std::array<float, 3>, 13> COLORS{{
    {0.0F, 0.0F, 0.0F},
    {0.0F, 0.0F, 0.0F},
    {0.0F, 0.0F, 0.0F},
    {0.0F, 0.0F, 0.0F},
    {1.0F, 0.0F, 0.0F},
    {0.0F, 0.0F, 0.8F},
    {0.0F, 0.8F, 0.0F},
    {1.0F, 0.0F, 1.0F},
    {1.0F, 0.5F, 0.0F},
    {0.8F, 0.0F, 0.0F},
    {0.0F, 0.0F, 1.0F},
    {0.8F, 0.0F, 0.8F},
    {0.8F, 0.4F, 0.0F},
}};

constexpr std::string_view DIGITS = "0123456789";
constexpr const char* kFirstName = "PLOT0001.ps ";

// Writes `v` right-justified in six columns with one decimal, rounded half
// away from zero, and returns the end of the field. The value is clamped
// to -99.9 .. 999.9 so that the field always begins with a blank: two
// full fields would run together into one unreadable token. The page
// spans 0 to 738 points, so no line between points on the page changes.
// A value that is not a number is written as 0.0.
char* put_f61(char* p, float v) {
  double d = static_cast<double>(v) * 10.0;  // exact for any float
  if (std::isnan(d)) d = 0.0;
  const bool neg = d < 0.0;
  double a = std::floor(std::fabs(d) + 0.5);
  const double top = neg ? 999.0 : 9999.0;
  if (a > top) a = top;
  auto t = static_cast<std::int32_t>(a);
  char* const end = p + 6;
  char* q = end;
  *--q = static_cast<char>('0' + t % 10);
  t /= 10;
  *--q = '.';
  do {
    *--q = static_cast<char>('0' + t % 10);
    t /= 10;
  } while (t != 0);
  if (neg) *--q = '-';
  while (q > p) *--q = ' ';
  return end;
}

}  // namespace

PostScriptDevice::PostScriptDevice(int onefile, std::string folder,
                                   std::FILE* terminal)
    : onefile_setting_(onefile),
      folder_(std::move(folder)),
      terminal_(terminal) {}

PostScriptDevice::~PostScriptDevice() {
  // A run always ends through endplots; this only saves what an aborted
  // run had written.
  if (out_.is_open()) out_.flush();
}

void PostScriptDevice::daruvuza() {
  if (MYPASS != 0) return;
  MYPASS = 1;
  ISTART = 1;
  DX = 738.0F / (XMAX - XMIN);
  DY = 540.0F / (YMAX - YMIN);
  LUN = 16;
  NAME = kFirstName;
  LINEW = 0.6F;
  LASTPEN = 0;
  RESOLVE = 0.003F;
  NSEG = 0;
  IDRAWN = 0;
  IOPEN = 0;
  NPAGE = 0;
  ONEFILE = onefile_setting_;
}

void PostScriptDevice::interact(int& iact) { iact = 0; }

void PostScriptDevice::mysize(std::array<float, 2>& x,
                              std::array<float, 2>& y) {
  x = {0.0F, 13.0F};
  y = {0.0F, 10.5F};
}

void PostScriptDevice::guard_outputs(FileGuard& guard) {
  guard_ = &guard;
  guard.add_output(file_name(kFirstName));
  if (onefile_setting_ == 0) guard.add_later_outputs(is_page_name);
}

// "PLOT", the page number in at least four digits, ".ps": the names that
// nextname gives, from page 1 on.
bool PostScriptDevice::is_page_name(const std::string& name) {
  constexpr std::string_view kStem = "PLOT";
  constexpr std::string_view kEnd = ".ps";
  if (name.size() < kStem.size() + 4 + kEnd.size() ||
      !name.starts_with(kStem) || !name.ends_with(kEnd)) {
    return false;
  }
  const std::string_view digits = std::string_view(name).substr(
      kStem.size(), name.size() - kStem.size() - kEnd.size());
  if (digits.find_first_not_of("0123456789") != std::string_view::npos) {
    return false;
  }
  return digits.size() == 4 ? digits != "0000" : digits.front() != '0';
}

std::string PostScriptDevice::file_name(std::string name) const {
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return folder_.empty() ? name : folder_ + "/" + name;
}

void PostScriptDevice::openplot() {
  if (NPAGE == 0 || ONEFILE == 0) {
    const std::string name = file_name(NAME);
    if (guard_ != nullptr) {
      out_.open(name,
                [this](const std::string& file) { return guard_->open(file); });
    } else {
      out_.open(name);
    }
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
  NSEG = 0;
  LASTPEN = 0;
  IOPEN = 1;
}

void PostScriptDevice::write_point(int ipen) {
  char* p = put_f61(rec_.data(), XPT);
  p = put_f61(p, YPT);
  std::memcpy(p, ipen == 2 ? " lineto" : " moveto", 7);
  p += 7;
  out_.line(
      std::string_view(rec_.data(), static_cast<std::size_t>(p - rec_.data())));
}

void PostScriptDevice::pen(int ipen) {
  // Without daruvuza there is no file name yet: nothing to write to.
  if (ISTART < 1) return;
  if (IOPEN < 1) openplot();
  std::int64_t n = ipen < 0 ? -static_cast<std::int64_t>(ipen) : ipen;
  if (n > 12) n = ((n - 3) % 10) + 3;
  const auto& rgb = COLORS[static_cast<std::size_t>(n)];
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
  // A repeated pen code to (almost) the same point adds nothing visible.
  if (ipen == LASTPEN && std::fabs(x - XLAST) < RESOLVE &&
      std::fabs(y - YLAST) < RESOLVE) {
    return;
  }
  LASTPEN = ipen;
  XLAST = x;
  YLAST = y;
  XPT = (x - XMIN) * DX;
  YPT = (y - YMIN) * DY;
  write_point(ipen);
  // Long paths are stroked and restarted at the same point.
  if (++NSEG > 99) {
    NSEG = 0;
    out_.line("stroke");
    out_.line("newpath");
    write_point(3);
  }
}

void PostScriptDevice::boxcolor(const std::array<float, 2>& x,
                                const std::array<float, 2>& y, int /*ifill*/,
                                int ibord) {
  // Outline only, in the colour in force; the fill is not drawn.
  if (ibord < 0) return;
  plotreal(x[0], y[0], 3);
  plotreal(x[0], y[1], 2);
  plotreal(x[1], y[1], 2);
  plotreal(x[1], y[0], 2);
  plotreal(x[0], y[0], 2);
}

// No character grid on paper.
void PostScriptDevice::showtext(int /*icol*/, int /*irow*/,
                                std::string_view /*text*/, int /*nchar*/) {}

void PostScriptDevice::mousey(int& kway, float& x, float& y, int /*iwait*/,
                              int /*keyok*/) {
  kway = 4;
  x = 0.0F;
  y = 0.0F;
}

// The paper background cannot change.
void PostScriptDevice::newback() {}

// The pages are already files.
void PostScriptDevice::printit() {}

void PostScriptDevice::finish_page() {
  if (MYPASS < 1 || IDRAWN < 1) return;
  IDRAWN = 0;
  IOPEN = 0;
  if (NSEG != 0) out_.line("stroke");
  out_.line("showpage");
  out_.flush();
  tell(NPAGE);
  if (ONEFILE == 0) {
    out_.close();
    if (guard_ != nullptr) guard_->release(out_.name());
    NPAGE = 0;
  }
  nextname(NAME);
}

void PostScriptDevice::tell(int page) {
  if (terminal_lost_) return;
  errno = 0;
  if (std::fprintf(terminal_,
                   "============== SENDING PLOT%4d ============== \n",
                   page) >= 0 &&
      std::fflush(terminal_) == 0) {
    return;
  }
  terminal_lost_ = true;
  std::fprintf(stderr, "veskaro: cannot write the terminal: %s\n",
               errno != 0 ? std::strerror(errno) : "error");
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

void PostScriptDevice::nextname(std::string& name) {
  // The counter is characters 5 to 8, and more digits after them once it
  // has passed 9999.
  std::size_t last = 7;
  while (last + 1 < name.size() && DIGITS.find(name[last + 1]) != DIGITS.npos) {
    ++last;
  }
  for (std::size_t i = last; i >= 4 && i < name.size(); --i) {
    const std::size_t d = DIGITS.find(name[i]);
    if (d == std::string_view::npos) return;
    if (d < 9) {
      name[i] = DIGITS[d + 1];
      return;
    }
    name[i] = '0';
  }
  // Every digit was a 9: the counter grows by one digit rather than
  // starting again at 0000 over this run's first files.
  if (name.size() > last) name.insert(4, 1, '1');
}

}  // namespace veskaro
