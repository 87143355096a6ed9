// The curves file and the point-sets file: each call delivers the curves
// (point sets) of the next plot into the data store, or reuses those of
// the last read. Points are parsed in place from the reader's buffer (runs
// of plain curve records in bulk) or from one reused record buffer;
// nothing is allocated per point.
#include <cmath>
#include <cstdio>
#include <string>
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

// A curve (point set) that filled the store is cut there. Passes over the
// rest of it and says on the terminal which one was cut (`k`, its number
// in the file) and how many of its points were not read: when it began
// the store, it is longer than the store; after others of the plot, the
// store is full and it kept `kept` points. The listing is left as it is.
void report_cut(Core& c, RecordReader& file, const char* kind, int k,
                const std::string& title, int used, int capacity, int kept) {
  std::string& rec = c.rs.datafiles.rec;
  long long lost = 0;
  while (file.read(rec) == ReadStatus::kOk && !blank_field(rec, 1)) ++lost;
  if (lost == 0) return;
  if (kept == capacity) {
    std::fprintf(stderr,
                 "veskaro: %s: %s %d (\"%.*s\") is longer than the store of "
                 "%d points; %lld of its points were not read\n",
                 file.name().c_str(), kind, k, used, title.data(), capacity,
                 lost);
    return;
  }
  std::fprintf(stderr,
               "veskaro: %s: the store of %d points is full; %s %d "
               "(\"%.*s\"): %d of its points were read, %lld were not\n",
               file.name().c_str(), capacity, kind, k, used, title.data(), kept,
               lost);
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
                 c.lg.LTITLE(NCURVE + 2), kMaxCurvePoints, N - NIN);
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
                 c.lg.LTITLE(NPOINT + 32), kMaxSetPoints, N - NIN);
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
