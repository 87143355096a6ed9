// What the batch devices share: the landscape letter page and its plot
// window, the pens, the thinning of repeated points, the numbered page
// file names and the terminal line of each finished page. The PostScript
// device writes the page as records; the picture devices draw the same
// page with the same numbers, so that every format shows one picture.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace veskaro::page {

// The plot window in plot units; it covers 738 by 540 points of the page.
inline constexpr float XMIN = -0.4947F;
inline constexpr float XMAX = 13.9947F;
inline constexpr float YMIN = -0.3F;
inline constexpr float YMAX = 10.3F;
inline constexpr float kWindowWidth = 738.0F;
inline constexpr float kWindowHeight = 540.0F;
// Points per plot unit across and up the window.
inline constexpr float DX = kWindowWidth / (XMAX - XMIN);
inline constexpr float DY = kWindowHeight / (YMAX - YMIN);

// The landscape US-letter page in points, and where the window's corner
// lies on it, from the page's lower-left corner.
inline constexpr double kPaperWidth = 792.0;
inline constexpr double kPaperHeight = 612.0;
inline constexpr double kMargin = 27.0;

inline constexpr float kLineWidth = 0.6F;
// Plot units: see PagePath.
inline constexpr float RESOLVE = 0.003F;
// Segments of a path before it is stroked and started again.
inline constexpr int kMaxSegments = 99;

// The colour of pen IPEN as red, green and blue intensities: pens 0 to 12
// are a table, larger (or negative) numbers fold onto it.
const std::array<float, 3>& pen_colour(int ipen);

// A window coordinate in points as the page records it: rounded to tenths
// of a point, half away from zero, and held to -99.9 .. 999.9 (a value
// that is not a number counts as 0). The sign is kept apart, so that a
// small negative value is recorded as -0.0.
struct Tenths {
  bool neg = false;
  std::int32_t magnitude = 0;
  double points() const { return (neg ? -magnitude : magnitude) / 10.0; }
};
Tenths tenths(float points);

// The pen's path on a page, in the window's points. A repeated pen code
// to a point closer than RESOLVE to the last one adds nothing visible and
// is not recorded; a long path is stroked and started again at the same
// point.
class PagePath {
 public:
  // A new page: no pen code taken yet, an empty path.
  void begin() {
    LASTPEN = 0;
    NSEG = 0;
  }
  // Takes a move (3) or draw (2) to (x, y) in plot units: the point in
  // XPT, YPT, or false when it adds nothing to record.
  bool take(float x, float y, int ipen);
  // Counts the record just made; true when the path is to be stroked
  // now and started again at XPT, YPT.
  bool restart();

  float XPT = 0, YPT = 0;
  // Records since the path was started.
  int NSEG = 0;

 private:
  int LASTPEN = 0;
  float XLAST = 0, YLAST = 0;
};

// The first page file name of a device writing files ending in `suffix`
// ("PLOT0001.ps "); the counter begins at character 5.
std::string first_name(std::string_view suffix);
// Advances the file counter that begins at character 5 of `name`: four
// digits up to 9999, then 10000 and onward.
void nextname(std::string& name);
// Whether `name` is one of the page file names ending in `suffix`:
// "PLOT", the page number in at least four digits, the suffix.
bool is_page_name(const std::string& name, std::string_view suffix);

// The line on the terminal for each finished page. It is information
// only: when it cannot be written, one message says so and the run goes
// on without the terminal.
class PageReporter {
 public:
  explicit PageReporter(std::FILE* terminal) : terminal_(terminal) {}
  void tell(int page);

 private:
  std::FILE* const terminal_;
  bool lost_ = false;
};

}  // namespace veskaro::page
