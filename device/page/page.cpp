#include "device/page/page.h"

#include <cerrno>
#include <cmath>
#include <cstring>

namespace veskaro::page {

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
constexpr std::string_view kStem = "PLOT";
// The name is as long as this at least: "PLOT0001.ps " keeps a blank.
constexpr std::size_t kNameLength = 12;

}  // namespace

const std::array<float, 3>& pen_colour(int ipen) {
  std::int64_t n = ipen < 0 ? -static_cast<std::int64_t>(ipen) : ipen;
  if (n > 12) n = ((n - 3) % 10) + 3;
  return COLORS[static_cast<std::size_t>(n)];
}

Tenths tenths(float points) {
  double d = static_cast<double>(points) * 10.0;  // exact for any float
  if (std::isnan(d)) d = 0.0;
  const bool neg = d < 0.0;
  double a = std::floor(std::fabs(d) + 0.5);
  // The records are six columns wide with one decimal: two full fields
  // would run together into one unreadable token. The page spans 0 to
  // 738 points, so no line between points on the page changes.
  const double top = neg ? 999.0 : 9999.0;
  if (a > top) a = top;
  return {neg, static_cast<std::int32_t>(a)};
}

bool PagePath::take(float x, float y, int ipen) {
  if (ipen == LASTPEN && std::fabs(x - XLAST) < RESOLVE &&
      std::fabs(y - YLAST) < RESOLVE) {
    return false;
  }
  LASTPEN = ipen;
  XLAST = x;
  YLAST = y;
  XPT = (x - XMIN) * DX;
  YPT = (y - YMIN) * DY;
  return true;
}

bool PagePath::restart() {
  if (++NSEG <= kMaxSegments) return false;
  NSEG = 0;
  return true;
}

std::string first_name(std::string_view suffix) {
  std::string name = std::string(kStem) + "0001" + std::string(suffix);
  if (name.size() < kNameLength) name.resize(kNameLength, ' ');
  return name;
}

void nextname(std::string& name) {
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

bool is_page_name(const std::string& name, std::string_view suffix) {
  if (name.size() < kStem.size() + 4 + suffix.size() ||
      !name.starts_with(kStem) || !name.ends_with(suffix)) {
    return false;
  }
  const std::string_view digits = std::string_view(name).substr(
      kStem.size(), name.size() - kStem.size() - suffix.size());
  if (digits.find_first_not_of(DIGITS) != std::string_view::npos) {
    return false;
  }
  return digits.size() == 4 ? digits != "0000" : digits.front() != '0';
}

void PageReporter::tell(int page) {
  if (lost_) return;
  errno = 0;
  if (std::fprintf(terminal_,
                   "============== SENDING PLOT%4d ============== \n",
                   page) >= 0 &&
      std::fflush(terminal_) == 0) {
    return;
  }
  lost_ = true;
  std::fprintf(stderr, "veskaro: cannot write the terminal: %s\n",
               errno != 0 ? std::strerror(errno) : "error");
}

}  // namespace veskaro::page
