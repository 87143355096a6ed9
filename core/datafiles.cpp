// The curves file and the point-sets file: each call delivers the curves
// (point sets) of the next plot into the data store, or reuses those of
// the last read. Points are parsed in place from the reader's buffer (runs
// of plain curve records in bulk) or from one reused record buffer;
// nothing is allocated per point.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

#include "core/curveblock.h"
#include "core/fieldcut.h"
#include "core/routines.h"

namespace veskaro {

namespace {

// Most curves and point sets together in one plot.
constexpr int kPlotMax = 30;

// The listing warning when the limit of 30 cut the count asked for.
void count_warning(Core& c, int INMAX, int KMAX, const char* kind) {
  const std::string rule = " " + std::string(72, '-');
  std::array<char, 80> buf{};
  c.files.lst.line(rule);
  std::snprintf(buf.data(), buf.size(), " WARNING...Requested%3d %s", INMAX,
                kind);
  c.files.lst.line(buf.data());
  std::snprintf(buf.data(), buf.size(), "           Read Only%3d %s", KMAX,
                kind);
  c.files.lst.line(buf.data());
  c.files.lst.line(rule);
}

// The reuse rule for a negative count: the count becomes its magnitude,
// at most the number last delivered. Returns the count in force.
int reuse(int& count, int last) {
  count = count < -last ? last : -count;
  return count;
}

// How many of `INMAX` fit beside the `other` entries already read.
int fitting(int INMAX, int other) {
  return INMAX > kPlotMax - other ? kPlotMax - other : INMAX;
}

// "curve 3 ("Title")": a curve (point set) by its number in the file and
// the first `used` characters of its title, up to any NUL among them, made
// safe for the terminal.
std::string named(const char* kind, long long k, const std::string& title,
                  int used) {
  std::string_view text(title);
  text = text.substr(0, static_cast<std::size_t>(std::max(used, 0)));
  text = text.substr(0, text.find('\0'));
  return std::string(kind) + " " + std::to_string(k) + " (\"" +
         terminal_safe(text) + "\")";
}

// Reads on over blank records; true when nothing else is left in `file`.
bool only_blanks_left(RecordReader& file, std::string& rec) {
  while (file.read(rec) == ReadStatus::kOk) {
    if (!blank(rec)) return false;
  }
  return true;
}

// A curve (point set) that filled the store is cut there, and the reading
// of its file ends. Passes over the rest of it and says on the terminal
// what is not read: how many of its points (`k` is its number in the
// file; when it began the store, it is longer than the store; after
// others of the plot, the store is full and it kept `kept` points),
// whether it is `dropped` as too short to draw, and the curve (set) that
// follows in the file, named from its title record, with the rest of the
// file. Blank records that end the file are no curve (set) and are not
// named. Nothing is said when nothing is lost. The listing is left as it
// is.
void report_cut(Core& c, RecordReader& file, const char* kind, int k,
                const std::string& title, int used, int capacity, int kept,
                bool dropped) {
  std::string& rec = c.rs.datafiles.rec;
  long long lost = 0;
  ReadStatus st = ReadStatus::kOk;
  while ((st = file.read(rec)) == ReadStatus::kOk && !blank_field(rec, 1)) {
    ++lost;
  }
  // The record after the end of the cut one is the next title, if any;
  // it goes to a title of its own, so the store's titles stay as they are.
  // A blank one is the title of the next curve (set) only when more than
  // blank records follow it, as the reader would take them.
  std::string next;
  if (st == ReadStatus::kOk && file.read(rec) == ReadStatus::kOk) {
    std::string text;
    int L = 0;
    int LVIS = 0;
    cut_text(text, rec, 1, 40);
    lefty(c, text, L, LVIS, 40);
    if (!blank(rec) || !only_blanks_left(file, rec)) {
      next = "; " + named(kind, k + 1LL, text, L) +
             " and the rest of the file are not read";
    }
  }
  if (lost == 0 && !dropped && next.empty()) return;
  const std::string cut = named(kind, k, title, used);
  const std::string full =
      "the store of " + std::to_string(capacity) + " points is full";
  std::string what;
  if (lost == 0) {
    what = full;
    if (dropped) what += "; " + cut + " is dropped, too short to draw";
  } else if (kept == capacity) {
    what = cut + " is longer than the store of " + std::to_string(capacity) +
           " points; " + std::to_string(lost) + " of its points were not read";
  } else {
    what = full + "; " + cut + ": " + std::to_string(kept) +
           " of its points were read, " + std::to_string(lost) + " were not";
    if (dropped) what += "; it is dropped, too short to draw";
  }
  std::fprintf(stderr, "veskaro: %s: %s%s\n", file.name().c_str(), what.c_str(),
               next.c_str());
}

// Reverses curve points first..last in place.
void reverse_curve(Store& s, int first, int last) {
  for (int i = first, j = last; i < j; ++i, --j) {
    std::swap(s.XC(i), s.XC(j));
    std::swap(s.YC(i), s.YC(j));
  }
}

// Reads up to KMAX curves from index 1 of the store. Returns the number
// delivered; `all` tells whether all KMAX were taken.
int read_curves(Core& c, int KMAX, int& ICEND, bool& all) {
  Store& s = *c.store;
  std::string& rec = c.rs.datafiles.rec;
  RecordReader& file = c.files.cur;
  all = false;
  int NREAD = 0;
  for (int NCURVE = 1; NCURVE <= KMAX; ++NCURVE) {
    std::string& title = c.lg.CTITLE(NCURVE);
    if (file.read(rec) != ReadStatus::kOk) {
      ICEND = 1;
      return NCURVE - 1;
    }
    ++c.rs.datafiles.NCTOTAL;
    cut_text(title, rec, 1, 40);
    lefty(c, title, c.lg.LTITLE(NCURVE + 2), c.lg.LTVIS(NCURVE + 2), 40);
    const int NIN = NREAD + 1;
    if (NIN > kMaxCurvePoints) {
      ICEND = 1;
      return NCURVE - 1;
    }
    s.ICRANG(1, NCURVE) = NIN;
    // KORDER follows the direction of x from point to point: 1 rising,
    // -1 falling (the curve is then reversed), 0 neither or both.
    int KORDER = 0;
    auto order = [&](int n) {
      if (n <= NIN) return;
      const double x = s.XC(n);
      const double prev = s.XC(n - 1);
      if (x > prev && KORDER < 1) ++KORDER;
      if (x < prev && KORDER > -1) --KORDER;
    };
    int N = NIN;
    bool complete = false;
    while (N <= kMaxCurvePoints) {
      const int bulk =
          read_plain_points(s, file, c.rs.datafiles.bulk, c.rs.workers, N,
                            kMaxCurvePoints - N + 1);
      if (bulk > 0) {
        for (int n = N; n < N + bulk; ++n) order(n);
        N += bulk;
        continue;
      }
      if (file.read(rec) != ReadStatus::kOk) break;
      if (blank_field(rec, 1)) {
        complete = true;
        break;
      }
      in9(c, s.XC(N), field_view(rec, 1));
      in9(c, s.YC(N), field_view(rec, 12));
      order(N);
      ++N;
    }
    s.ICRANG(2, NCURVE) = N - 1;
    if (KORDER == -1) reverse_curve(s, NIN, N - 1);
    if (!complete && N > kMaxCurvePoints) {
      report_cut(c, file, "curve", c.rs.datafiles.NCTOTAL, title,
                 c.lg.LTITLE(NCURVE + 2), kMaxCurvePoints, N - NIN,
                 N - 1 <= NIN);
    }
    if (!complete) {
      // Cut short by the end of the file, an unreadable record or the
      // full store: kept only with at least two points.
      ICEND = 1;
      return N - 1 > NIN ? NCURVE : NCURVE - 1;
    }
    NREAD = N - 1;
  }
  all = true;
  return KMAX;
}

// Reads up to KMAX point sets from index 1 of the store.
int read_sets(Core& c, int KMAX, int& IPEND, bool& all) {
  Store& s = *c.store;
  std::string& rec = c.rs.datafiles.rec;
  RecordReader& file = c.files.pnt;
  all = false;
  int NREAD = 0;
  for (int NPOINT = 1; NPOINT <= KMAX; ++NPOINT) {
    std::string& title = c.lg.PTITLE(NPOINT);
    if (file.read(rec) != ReadStatus::kOk) {
      IPEND = 1;
      return NPOINT - 1;
    }
    ++c.rs.datafiles.NPTOTAL;
    cut_text(title, rec, 1, 40);
    lefty(c, title, c.lg.LTITLE(NPOINT + 32), c.lg.LTVIS(NPOINT + 32), 40);
    const int NIN = NREAD + 1;
    if (NIN > kMaxSetPoints) {
      IPEND = 1;
      return NPOINT - 1;
    }
    s.IPRANG(1, NPOINT) = NIN;
    int N = NIN;
    bool complete = false;
    while (N <= kMaxSetPoints && file.read(rec) == ReadStatus::kOk) {
      if (blank_field(rec, 1)) {
        complete = true;
        break;
      }
      in9(c, s.XP(N), field_view(rec, 1));
      in9(c, s.DXP(N), field_view(rec, 12));
      in9(c, s.DXM(N), field_view(rec, 23));
      in9(c, s.YP(N), field_view(rec, 34));
      in9(c, s.DYP(N), field_view(rec, 45));
      in9(c, s.DYM(N), field_view(rec, 56));
      s.DXP(N) = std::fabs(s.DXP(N));
      s.DXM(N) = std::fabs(s.DXM(N));
      s.DYP(N) = std::fabs(s.DYP(N));
      s.DYM(N) = std::fabs(s.DYM(N));
      ++N;
    }
    s.IPRANG(2, NPOINT) = N - 1;
    if (!complete && N > kMaxSetPoints) {
      report_cut(c, file, "point set", c.rs.datafiles.NPTOTAL, title,
                 c.lg.LTITLE(NPOINT + 32), kMaxSetPoints, N - NIN, false);
    }
    if (!complete) {
      // A set cut short stays counted, whatever its number of points.
      IPEND = 1;
      return NPOINT;
    }
    NREAD = N - 1;
  }
  all = true;
  return KMAX;
}

}  // namespace

void getcur(Core& c, int& ICEND) {
  Store& s = *c.store;
  DataFileState& st = c.rs.datafiles;
  s.NCURVE = 0;
  if (ICEND != 0) return;
  int& NCPLOT = c.fb.NCPLOT;
  if (NCPLOT < 0) {
    if (st.LSTCURVE < 1) return;
    s.NCURVE = st.LSTCURVE = reuse(NCPLOT, st.LSTCURVE);
    return;
  }
  if (s.NPOINT > kPlotMax - 1) return;
  const int INMAX = NCPLOT;
  const int KMAX = fitting(INMAX, s.NPOINT);
  bool all = false;
  s.NCURVE = read_curves(c, KMAX, ICEND, all);
  if (all && KMAX != INMAX) count_warning(c, INMAX, KMAX, "Curves.");
  st.LSTCURVE = s.NCURVE;
}

void getpnt(Core& c, int& IPEND) {
  Store& s = *c.store;
  DataFileState& st = c.rs.datafiles;
  s.NPOINT = 0;
  if (IPEND != 0) return;
  int& NPPLOT = c.fb.NPPLOT;
  if (NPPLOT < 0) {
    if (st.LSTSET < 1) return;
    s.NPOINT = st.LSTSET = reuse(NPPLOT, st.LSTSET);
    return;
  }
  if (s.NCURVE > kPlotMax - 1) return;
  const int INMAX = NPPLOT;
  const int KMAX = fitting(INMAX, s.NCURVE);
  bool all = false;
  s.NPOINT = read_sets(c, KMAX, IPEND, all);
  if (all && KMAX != INMAX) count_warning(c, INMAX, KMAX, "Sets.");
  st.LSTSET = s.NPOINT;
}

}  // namespace veskaro
