// The y extent of a curve under an x range, used to find room for the
// legend box. A long curve is scanned in shares over the worker threads:
// the minimum and maximum keep the first of equal values, so shares taken
// in order give what one scan in order gives, as long as no value taken
// is not a number (such a curve is scanned in order).
#include <cmath>
#include <vector>

#include "core/limits.h"

namespace veskaro {
namespace {

// Fewest points worth sharing out.
constexpr int kShareFrom = 1 << 16;

// What one share of the curve holds: its first point at or past the low
// end, its first point past the range (the end of the scan), and the
// values of the points at or past the low end before that end.
struct Share {
  int start = 0;  // 0 when none
  int end = 0;    // 0 when none
  bool any = false;
  Edges YW{};
  bool nan = false;
};

Share scan_share(const Store& s, const Edges& XW, int from, int to) {
  Share sh;
  for (int i = from; i <= to; ++i) {
    const double x = s.XC(i);
    const bool in = x == XW[0] || x > XW[0];
    if (!in) continue;
    if (sh.start == 0) sh.start = i;
    if (x > XW[0] && x >= XW[1]) {
      sh.end = i;
      return sh;
    }
    const double y = s.YC(i);
    if (std::isnan(y)) sh.nan = true;
    take(sh.any, sh.YW, y, y);
  }
  return sh;
}

}  // namespace

void curve_under_in_order(const Core& c, int k, const Edges& XW, bool& any,
                          Edges& YW) {
  const Store& s = *c.store;
  const int law = c.op.TERPIT(1);
  const int first = s.ICRANG(1, k);
  bool got = false;
  double xl = 0;
  double yl = 0;
  for (int i = first; i <= s.ICRANG(2, k); ++i) {
    const double x = s.XC(i);
    const double y = s.YC(i);
    if (x == XW[0]) {
      take(any, YW, y, y);
      got = true;
    } else if (x > XW[0]) {
      if (!got) {
        if (i == first) {
          if (x >= XW[1]) return;
          take(any, YW, y, y);
          got = true;
          xl = x;
          yl = y;
          continue;
        }
        const double v = terpup(XW[0], x, xl, y, yl, law);
        take(any, YW, v, v);
        got = true;
      }
      if (x >= XW[1]) {
        const double v = x == XW[1] ? y : terpup(XW[1], x, xl, y, yl, law);
        take(any, YW, v, v);
        return;
      }
      take(any, YW, y, y);
    }
    xl = x;
    yl = y;
  }
}

void curve_under(Core& c, int k, const Edges& XW, bool& any, Edges& YW) {
  const Store& s = *c.store;
  const int first = s.ICRANG(1, k);
  const int last = s.ICRANG(2, k);
  const int n = last - first + 1;
  const int parts = WorkerPool::capacity();
  if (n < kShareFrom || parts < 2) {
    curve_under_in_order(c, k, XW, any, YW);
    return;
  }
  std::vector<Share> shares(static_cast<std::size_t>(parts));
  c.rs.workers.run(parts, [&](int t) {
    const auto [from, after] = WorkerPool::share(first, n, t, parts);
    shares[static_cast<std::size_t>(t)] = scan_share(s, XW, from, after - 1);
  });
  // The scan starts at the first point at or past the low end and stops
  // at the first point past the range; shares after that one are not
  // wanted.
  int start = 0;
  int end = 0;
  std::size_t used = shares.size();
  for (std::size_t t = 0; t < shares.size(); ++t) {
    const Share& sh = shares[t];
    if (sh.nan) {
      curve_under_in_order(c, k, XW, any, YW);
      return;
    }
    if (start == 0) start = sh.start;
    if (sh.end != 0) {
      end = sh.end;
      used = t + 1;
      break;
    }
  }
  if (start == 0) return;
  const int law = c.op.TERPIT(1);
  auto xc = [&](int i) { return s.XC(i); };
  auto yc = [&](int i) { return s.YC(i); };
  if (start == first) {
    // The curve starts inside: nothing when its first point is already
    // past the range.
    if (end == start) return;
  } else if (xc(start) != XW[0]) {
    const double v =
        terpup(XW[0], xc(start), xc(start - 1), yc(start), yc(start - 1), law);
    take(any, YW, v, v);
  }
  for (std::size_t t = 0; t < used; ++t) {
    const Share& sh = shares[t];
    if (sh.any) take(any, YW, sh.YW[0], sh.YW[1]);
  }
  if (end == 0) return;
  const double x = xc(end);
  const double v =
      x == XW[1] ? yc(end)
                 : terpup(XW[1], x, xc(end - 1), yc(end), yc(end - 1), law);
  take(any, YW, v, v);
}

}  // namespace veskaro
