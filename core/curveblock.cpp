#include "core/curveblock.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "core/fieldcut.h"
#include "core/routines.h"

namespace veskaro {
namespace {

// Below this many characters a window is parsed on the calling thread.
constexpr std::size_t kThreadedFrom = std::size_t{1} << 20;

// One record is plain when, without its line end, it reaches column 22
// and both fields read in the common layout. Such a record can not end a
// curve (its first field is not blank) and reads to the same values as
// the record reader and in9 give it.
bool plain_record(std::string_view line, double& x, double& y) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.size() < 2 * kFieldWidth) return false;
  return in9_plain(x, line.data()) && in9_plain(y, line.data() + kFieldWidth);
}

// A share of the window: whole lines from `begin` to `end`.
struct Part {
  std::size_t begin = 0;
  std::size_t end = 0;
  int lines = 0;         // whole lines in the part
  int taken = 0;         // plain lines read before the first other one
  std::size_t used = 0;  // characters of those lines
};

// Reads the plain lines of `part` into the store from index `first` on,
// stopping at the first other line or at index `limit`.
void parse_part(Store& s, std::string_view text, Part& part, int first,
                int limit) {
  std::size_t at = part.begin;
  int n = first;
  while (at < part.end && n <= limit) {
    const std::size_t nl = text.find('\n', at);
    double x = 0;
    double y = 0;
    if (!plain_record(text.substr(at, nl - at), x, y)) break;
    s.XC(n) = x;
    s.YC(n) = y;
    ++n;
    at = nl + 1;
  }
  part.taken = n - first;
  part.used = at - part.begin;
}

// Splits `text` (whole lines) into about `parts` shares at line ends.
std::vector<Part> split(std::string_view text, int parts) {
  std::vector<Part> out;
  std::size_t begin = 0;
  for (int t = 1; t <= parts && begin < text.size(); ++t) {
    std::size_t end = text.size();
    if (t < parts) {
      const std::size_t nl = text.find('\n', text.size() / parts * t);
      end = std::max(begin, nl + 1);
    }
    if (end > begin) out.push_back({begin, end});
    begin = end;
  }
  return out;
}

int share_count(std::size_t size) {
  return size < kThreadedFrom ? 1 : WorkerPool::capacity();
}

}  // namespace

int read_plain_points(Store& s, RecordReader& file, BulkReader& bulk,
                      WorkerPool& workers, int N, int room) {
  std::size_t& window = bulk.window;
  const std::string_view text = file.lines_ahead(window, workers);
  if (text.empty() || room < 1) return 0;
  std::vector<Part> parts = split(text, share_count(text.size()));
  const int limit = N + room - 1;
  if (parts.size() == 1) {
    parse_part(s, text, parts[0], N, limit);
  } else {
    // Lines per share first, so that each share knows its first index.
    workers.run(static_cast<int>(parts.size()), [&](int t) {
      Part& p = parts[static_cast<std::size_t>(t)];
      p.lines = static_cast<int>(
          std::count(text.begin() + p.begin, text.begin() + p.end, '\n'));
    });
    std::vector<int> first(parts.size(), N);
    for (std::size_t t = 1; t < parts.size(); ++t) {
      first[t] = first[t - 1] + parts[t - 1].lines;
    }
    workers.run(static_cast<int>(parts.size()), [&](int t) {
      const auto k = static_cast<std::size_t>(t);
      if (first[k] <= limit) parse_part(s, text, parts[k], first[k], limit);
    });
  }
  // The plain run ends in the first share that stopped early.
  int taken = 0;
  std::size_t used = 0;
  bool whole = true;
  for (const Part& p : parts) {
    taken += p.taken;
    used += p.used;
    if (p.used < p.end - p.begin) {
      whole = false;
      break;
    }
  }
  file.skip(used);
  window = whole ? std::min(window * 2, BulkReader::kMaxWindow)
                 : BulkReader::kMinWindow;
  return taken;
}

}  // namespace veskaro
