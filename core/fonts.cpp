// Stroke fonts: loading the character font "PLOT.CHR" and the symbol font
// "PLOT.SYM", and drawing text as pen strokes with the character font.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "core/routines.h"

namespace veskaro {
namespace {

// Columns first..last (from 1) of a record; columns past its end read as
// blanks.
std::string columns(const std::string& rec, int first, int last) {
  std::string f(static_cast<std::size_t>(last - first + 1), ' ');
  for (int i = first; i <= last && i <= static_cast<int>(rec.size()); ++i) {
    f[static_cast<std::size_t>(i - first)] =
        rec[static_cast<std::size_t>(i - 1)];
  }
  return f;
}

std::string without_blanks(const std::string& f) {
  std::string s;
  for (const char ch : f) {
    if (ch != ' ') s.push_back(ch);
  }
  return s;
}

bool is_digit(char ch) { return ch >= '0' && ch <= '9'; }

// An integer field: blanks ignored, optional sign, digits; all blank is 0.
bool int_field(const std::string& f, int& n) {
  const std::string s = without_blanks(f);
  std::size_t i = 0;
  int sign = 1;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    if (s[i] == '-') sign = -1;
    ++i;
  }
  long v = 0;
  for (; i < s.size(); ++i) {
    if (!is_digit(s[i])) return false;
    v = v * 10 + (s[i] - '0');
    if (v > 1'000'000'000L) return false;
  }
  n = static_cast<int>(sign * v);
  return true;
}

// A real field with three implied decimals: blanks ignored, optional sign,
// digits with an optional point (without one the last three digits are
// decimals), optional exponent (E or D with an optional sign, or a bare
// sign). All blank is 0.
bool real_field(const std::string& f, double& x) {
  const std::string s = without_blanks(f);
  std::size_t i = 0;
  std::string sign;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) sign = s[i++];
  std::string digits;
  std::size_t point = std::string::npos;
  for (; i < s.size(); ++i) {
    if (is_digit(s[i])) {
      digits.push_back(s[i]);
    } else if (s[i] == '.' && point == std::string::npos) {
      point = digits.size();
    } else {
      break;
    }
  }
  std::string exponent = "0";
  if (i < s.size()) {
    const char e = s[i];
    if (e == 'E' || e == 'e' || e == 'D' || e == 'd')
      ++i;
    else if (e != '+' && e != '-')
      return false;
    std::string esign;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) esign = s[i++];
    if (i == s.size()) return false;
    for (std::size_t j = i; j < s.size(); ++j) {
      if (!is_digit(s[j])) return false;
    }
    exponent = esign + s.substr(i);
  }
  // Appended, not assigned: GCC 12 at -O3 reports a false -Wrestrict
  // overlap for assigning a literal here.
  if (digits.empty()) digits.push_back('0');
  if (point == std::string::npos) {
    // No point: the last three digits are decimals.
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
    point = digits.size() - 3;
  }
  const std::string text = sign + digits.substr(0, point) + "." +
                           digits.substr(point) + "e" + exponent;
  x = std::strtod(text.c_str(), nullptr);
  return true;
}

// A stroke record: x in columns 1-7, y in 8-14, pen code in 15-19.
bool stroke_record(const std::string& rec, double& x, double& y, int& ipen) {
  return real_field(columns(rec, 1, 7), x) &&
         real_field(columns(rec, 8, 14), y) &&
         int_field(columns(rec, 15, 19), ipen);
}

// Reads entry after entry: a header (read by `header`, which gives the
// stroke count) followed by its stroke records. Stops at the end of the
// file, at an unreadable record, at a header whose count is negative or
// whose strokes would pass the ICORE strokes, and after kMaxGlyphs
// entries; an entry whose strokes are cut short is dropped. `loaded` is
// told of each entry kept. Returns the number of entries kept.
template <int ICORE, class Header, class Loaded>
int loadfont(RecordReader& in, Vec<double, ICORE>& XS, Vec<double, ICORE>& YS,
             Vec<int, ICORE>& IPS, Mat<int, 2, kMaxGlyphs>& IR, Header header,
             Loaded loaded) {
  int IHIGH = 0;
  int N = 1;
  std::string rec;
  while (N <= kMaxGlyphs) {
    int ICOUNT = 0;
    if (in.read(rec) != ReadStatus::kOk || !header(N, rec, ICOUNT)) break;
    // A negative count would run the stroke indices backwards.
    if (ICOUNT < 0 || ICOUNT > ICORE - IHIGH) break;
    const int LOWEST = IHIGH + 1;
    IHIGH += ICOUNT;
    bool whole = true;
    for (int i = LOWEST; i <= IHIGH && whole; ++i) {
      whole = in.read(rec) == ReadStatus::kOk &&
              stroke_record(rec, XS(i), YS(i), IPS(i));
    }
    if (!whole) break;
    loaded(N, LOWEST, ICOUNT);
    IR(1, N) = LOWEST;
    IR(2, N) = IHIGH;
    ++N;
  }
  return N - 1;
}

}  // namespace

void symin(Core& c) {
  FontBlocks& ft = c.ft;
  ft.NALT = 0;
  auto header = [&](int N, const std::string& rec, int& ICOUNT) {
    ft.SYMCHR(N) = columns(rec, 2, 2)[0];
    return int_field(columns(rec, 3, 7), ICOUNT);
  };
  // An entry of one stroke with a pen code below 1 is a control character;
  // its character is listed after the 256 entries.
  auto loaded = [&](int N, int LOWEST, int ICOUNT) {
    if (ICOUNT == 1 && ft.IPCHR(LOWEST) < 1) {
      ++ft.NALT;
      ft.SYMCHR(kMaxGlyphs + ft.NALT) = ft.SYMCHR(N);
    }
  };
  ft.NCHR = loadfont(c.files.chr, ft.XCHR, ft.YCHR, ft.IPCHR, ft.IRCHR, header,
                     loaded);
}

void refin(Core& c) {
  FontBlocks& ft = c.ft;
  auto header = [&](int N, const std::string& rec, int& ICOUNT) {
    return int_field(columns(rec, 3, 7), ICOUNT) &&
           real_field(columns(rec, 8, 14), ft.REFWID(N));
  };
  ft.NREF = loadfont(c.files.sym, ft.XREF, ft.YREF, ft.IPREF, ft.IRREF, header,
                     [](int, int, int) {});
}

void symbl1(Core& c, double X, double Y, double HT, std::string_view TEXT,
            double ANGLE, int NCHAR) {
  const FontBlocks& ft = c.ft;
  WeightBlocks& wt = c.wt;
  FontState& s = c.rs.fonts;
  if (ft.NCHR < 1) return;

  // Text above the reference height is drawn heavy, below it thin.
  if (wt.THINME == 0) {
    wt.NTHNOW = wt.NTHNRM;
    if (HT > c.pg.SIZEHT) wt.NTHNOW = wt.NTHBIG;
    if (HT < c.pg.SIZEHT) wt.NTHNOW = wt.NTHIN;
  } else {
    wt.NTHNOW = 0;
  }

  double X1 = X;
  double Y1 = Y;
  const bool vertical = std::abs(ANGLE) > 1.0;
  const double DX1 = vertical ? 0.0 : HT;
  const double DY1 = vertical ? HT : 0.0;

  const int n = std::min(NCHAR, static_cast<int>(TEXT.size()));
  for (int i = 0; i < n; ++i) {
    const char ch = TEXT[static_cast<std::size_t>(i)];
    // The first ordinary entry of the character, or its alternate (the
    // second) while the toggle is on; control entries act at once.
    int taken = 0;
    int NALTER = 0;
    for (int k = 1; k <= ft.NCHR; ++k) {
      if (ft.SYMCHR(k) != ch) continue;
      const int first = ft.IRCHR(1, k);
      if (ft.IRCHR(2, k) >= first && ft.IPCHR(first) < 1) {
        if (ft.IPCHR(first) == 0) {
          s.XSET += ft.XCHR(first);
          s.YSET += ft.YCHR(first);
        } else {
          s.IALTER = 1 - s.IALTER;
        }
        break;
      }
      if (NALTER == s.IALTER) {
        taken = k;
        break;
      }
      ++NALTER;
    }
    // Control characters and characters the font lacks draw nothing and
    // leave what is pending for the next character.
    if (taken == 0) continue;

    for (int j = ft.IRCHR(1, taken); j <= ft.IRCHR(2, taken); ++j) {
      const double x = ft.XCHR(j) + s.XSET;
      const double y = ft.YCHR(j) + s.YSET;
      if (vertical) {
        plot1(c, X1 - HT * y, Y1 + HT * x, ft.IPCHR(j));
      } else {
        plot1(c, X1 + HT * x, Y1 + HT * y, ft.IPCHR(j));
      }
    }
    if (vertical) {
      Y1 += HT * s.XSET;
    } else {
      X1 += HT * s.XSET;
    }
    X1 += DX1;
    Y1 += DY1;
    s.IALTER = 0;
    s.XSET = 0;
    s.YSET = 0;
  }
  wt.NTHNOW = wt.NTHNRM;
}

}  // namespace veskaro
