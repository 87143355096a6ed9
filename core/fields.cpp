// Numeric card fields (real and integer) and the small text routines for
// titles, labels and captions.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/fieldcut.h"
#include "core/routines.h"
#include "core/tens.h"

namespace veskaro {

namespace {

bool is_digit(char ch) { return ch >= '0' && ch <= '9'; }

// Column i (1 to 11) of a field; a shorter field reads as blank-padded.
char col(std::string_view field, int i) {
  const auto k = static_cast<std::size_t>(i - 1);
  return k < field.size() ? field[k] : ' ';
}

// The field as read and the marker line with "*" under column `mark`.
struct ErrorLines {
  std::array<char, kFieldWidth + 1> field{};
  std::array<char, kFieldWidth + 1> mess{};
};

ErrorLines error_lines(std::string_view field, int mark) {
  ErrorLines e;
  e.field.fill(' ');
  e.mess.fill(' ');
  for (int i = 1; i <= kFieldWidth; ++i) e.field[i] = col(field, i);
  if (mark < 1) mark = 1;
  if (mark > kFieldWidth) mark = kFieldWidth;
  e.mess[static_cast<std::size_t>(mark)] = '*';
  return e;
}

// The three terminal lines of an unreadable real field.
void in9_error(std::string_view field, int mark) {
  const ErrorLines e = error_lines(field, mark);
  std::fwrite(e.field.data(), 1, e.field.size(), stdout);
  std::fputc('\n', stdout);
  std::fwrite(e.mess.data(), 1, e.mess.size(), stdout);
  std::fputc('\n', stdout);
  std::fputs(" ERROR in Input Data...Translated as 0.\n", stdout);
  std::fflush(stdout);
}

// The four listing lines of an unreadable integer field.
void intger_error(Core& c, std::string_view field, int mark) {
  const ErrorLines e = error_lines(field, mark);
  c.files.lst.line(" Subroutine INTGER ERROR ");
  c.files.lst.line(std::string_view(e.field.data(), e.field.size()));
  c.files.lst.line(std::string_view(e.mess.data(), e.mess.size()));
  c.files.lst.line(" Translated as 0");
}

// The general reader: any layout, blanks anywhere, unreadable fields.
void in9_general(double& X, std::string_view FIELD) {
  constexpr int kLast = kFieldWidth;
  // The field in columns 1 to 11 of a blank-padded copy; column 12 is a
  // blank that stops every scan.
  std::array<char, kFieldWidth + 2> f{};
  f.fill(' ');
  if (!FIELD.empty()) {
    std::memcpy(f.data() + 1, FIELD.data(),
                std::min(FIELD.size(), static_cast<std::size_t>(kLast)));
  }
  int i = 1;
  while (i <= kLast && f[i] == ' ') ++i;
  if (i > kLast) {
    X = 0;
    return;
  }

  double SIGN = 1;
  if (f[i] == '-') {
    SIGN = -1;
    ++i;
  } else if (f[i] == '+') {
    ++i;
  }

  // Mantissa: the digits as a whole number, IPT decimals among them.
  // IPT stays negative until a point is read. At most 11 digits: the
  // whole number is exact in 64 bits and in double precision alike.
  std::int64_t X9IN = 0;
  int IPT = -20;
  int IMZERO = 0;
  bool point = false;
  for (; i <= kLast; ++i) {
    const char ch = f[i];
    if (is_digit(ch)) {
      const int d = ch - '0';
      if (point) {
        if (d == 0) {
          ++IMZERO;
          continue;
        }
        for (; IMZERO > 0; --IMZERO) {
          X9IN *= 10;
          ++IPT;
        }
      }
      X9IN = X9IN * 10 + d;
      ++IPT;
    } else if (ch == '.') {
      point = true;
      IPT = 0;
    } else {
      break;
    }
  }

  int start = 0;  // column where the exponent digits begin; 0 = none
  int ISIGN = 1;
  while (i <= kLast && f[i] == ' ') ++i;
  if (i <= kLast) {
    const char ch = f[i];
    if (ch == 'E' || ch == 'e' || ch == 'D' || ch == 'd') {
      const char next = f[i + 1];
      if (i == kLast) {
        start = kLast + 1;  // a letter in the last column: exponent 0
      } else if (next == '-' || next == '+') {
        ISIGN = next == '-' ? -1 : 1;
        start = i + 2;
      } else {
        start = i + 1;
      }
    } else if (ch == '-' || ch == '+') {
      ISIGN = ch == '-' ? -1 : 1;
      start = i + 1;
    } else {
      in9_error(FIELD, i);
      X = 0;
      return;
    }
  }

  if (start == 0) {
    X = static_cast<double>(X9IN);
    if (IPT >= 1) X /= tens(IPT);
    X *= SIGN;
    return;
  }

  // At most 11 exponent digits: a 64-bit sum cannot overflow.
  std::int64_t IEXP = 0;
  for (int j = start; j <= kLast; ++j) {
    const char ch = f[j];
    if (ch == ' ') continue;
    if (!is_digit(ch)) {
      in9_error(FIELD, start);
      X = 0;
      return;
    }
    IEXP = IEXP * 10 + (ch - '0');
  }
  std::int64_t E = ISIGN * IEXP;
  if (IPT >= 1) E -= IPT;
  if (E > kTensMax || E < -kTensMax) {
    in9_error(FIELD, start);
    X = 0;
    return;
  }
  X = (static_cast<double>(X9IN) * SIGN) * tens(static_cast<int>(E));
}

}  // namespace

// The common layout of a full 11-column field, read in one pass without
// a padded copy: [blanks][sign]digits[.digits][E|D[sign]digits]. Gives
// exactly the value the general reader gives (same whole number, same
// decimal count, same power of ten, same operations). Returns false for
// any other layout, which the general reader then reads from scratch.
bool in9_plain(double& X, const char* p) {
  int i = 0;
  while (i < kFieldWidth && p[i] == ' ') ++i;
  if (i == kFieldWidth) return false;
  double SIGN = 1;
  if (p[i] == '-') {
    SIGN = -1;
    ++i;
  } else if (p[i] == '+') {
    ++i;
  }
  // Whole number of every mantissa digit read so far; X9IN and IPT keep
  // it as of the last nonzero decimal (trailing decimal zeros count
  // only once a nonzero digit follows them).
  std::int64_t v = 0;
  for (; i < kFieldWidth && is_digit(p[i]); ++i) v = v * 10 + (p[i] - '0');
  std::int64_t X9IN = v;
  int IPT = 0;  // below 1 without a point: no decimals to take off
  if (i < kFieldWidth && p[i] == '.') {
    int decimals = 0;
    for (++i; i < kFieldWidth && is_digit(p[i]); ++i) {
      const int d = p[i] - '0';
      v = v * 10 + d;
      ++decimals;
      if (d != 0) {
        X9IN = v;
        IPT = decimals;
      }
    }
  }
  if (i == kFieldWidth) {
    X = static_cast<double>(X9IN);
    if (IPT >= 1) X /= tens(IPT);
    X *= SIGN;
    return true;
  }
  const char ch = p[i];
  if (!(ch == 'E' || ch == 'e' || ch == 'D' || ch == 'd')) return false;
  if (i == kFieldWidth - 1) return false;
  ++i;
  int ISIGN = 1;
  if (p[i] == '-') {
    ISIGN = -1;
    ++i;
  } else if (p[i] == '+') {
    ++i;
  }
  std::int64_t IEXP = 0;
  for (; i < kFieldWidth; ++i) {
    if (!is_digit(p[i])) return false;
    IEXP = IEXP * 10 + (p[i] - '0');
  }
  std::int64_t E = ISIGN * IEXP;
  if (IPT >= 1) E -= IPT;
  if (E > kTensMax || E < -kTensMax) return false;
  X = (static_cast<double>(X9IN) * SIGN) * tens(static_cast<int>(E));
  return true;
}

void in9(Core&, double& X, std::string_view FIELD) {
  if (FIELD.size() == kFieldWidth && in9_plain(X, FIELD.data())) return;
  in9_general(X, FIELD);
}

void intger(Core& c, int& N, std::string_view FIELD) {
  constexpr int kLast = kFieldWidth;
  // Largest magnitude taken: the 32-bit range, kept symmetric so that
  // every value read can be negated safely.
  constexpr std::int64_t kMax = 2147483647;
  N = 0;
  int ISIGN = 1;
  int i = 1;
  while (i <= kLast && col(FIELD, i) == ' ') ++i;
  if (i > kLast) return;

  const char first = col(FIELD, i);
  if (first == '+' || first == '-') {
    if (first == '-') ISIGN = -1;
    if (i == kLast) {
      intger_error(c, FIELD, kLast);
      return;
    }
    ++i;
  }

  std::int64_t value = 0;
  for (; i <= kLast; ++i) {
    const char ch = col(FIELD, i);
    if (ch == ' ') break;
    if (!is_digit(ch)) {
      intger_error(c, FIELD, i);
      return;
    }
    value = value * 10 + (ch - '0');
    if (value > kMax) {
      // Outside the 32-bit range: unreadable, marked at the digit that
      // made it too large.
      intger_error(c, FIELD, i);
      return;
    }
  }
  for (; i <= kLast; ++i) {
    if (col(FIELD, i) != ' ') {
      intger_error(c, FIELD, i);
      return;
    }
  }
  N = static_cast<int>(value) * ISIGN;
}

void lefty(Core& c, std::string& TEXT, int& L, int& LVIS, int NCHAR) {
  const int n = std::min(NCHAR, static_cast<int>(TEXT.size()));
  auto at = [&TEXT](int k) -> char& {
    return TEXT[static_cast<std::size_t>(k - 1)];
  };
  int I = n;
  while (I >= 1 && at(I) == ' ') --I;
  if (I < 1) {
    L = 0;
    LVIS = 0;
    return;
  }
  int J = 1;
  while (at(J) == ' ') ++J;
  if (J == 1) {
    L = I;
  } else {
    L = I - J + 1;
    for (int k = 1; k <= L; ++k) at(k) = at(J + k - 1);
    for (int k = L + 1; k <= n; ++k) at(k) = ' ';
  }
  LVIS = L;
  const int nalt = std::min(c.ft.NALT, 256);
  if (nalt < 1) return;
  for (int k = 1; k <= L; ++k) {
    for (int m = 257; m <= 256 + nalt; ++m) {
      if (at(k) == c.ft.SYMCHR(m)) {
        --LVIS;
        break;
      }
    }
  }
}

int length(std::string_view TEXT, int N) {
  for (int k = std::min(N, static_cast<int>(TEXT.size())); k >= 1; --k) {
    if (TEXT[static_cast<std::size_t>(k - 1)] != ' ') return k;
  }
  return 0;
}

void concat(std::string& A, int& LA, std::string_view B, int LB) {
  // Appending stops at the end of A: A keeps its fixed length and LA
  // never passes it.
  if (LA < 0) LA = 0;
  const int room = static_cast<int>(A.size());
  for (int I = 1; I <= LB && LA < room; ++I) {
    const auto k = static_cast<std::size_t>(I - 1);
    A[static_cast<std::size_t>(LA)] = k < B.size() ? B[k] : ' ';
    ++LA;
  }
}

}  // namespace veskaro
