// Numbers as characters: the 11-column field of the listing (out9) and
// the text of a number drawn as stroked characters (numbr1).
#include <cmath>
#include <cstdint>
#include <string>

#include "core/routines.h"
#include "core/tens.h"

namespace veskaro {

namespace {

// Half a unit of the last mantissa digit shown at exponent e, a little
// over half so that a tie rounds up.
constexpr double rounder(int e) {
  if (e <= -10 || e >= 10) return 5.001e-5;
  if (e <= -4 || e == 9) return 5.001e-6;
  if (e == -3) return 5.001e-7;
  if (e == -2) return 5.001e-8;
  return 5.001e-9;
}

constexpr double kZlow = 0.001;
constexpr double kZhigh = 1.0e9;
constexpr double kTenth = 0.1;
constexpr std::array<char, 11> kZeroh = {' ', '0', '.', '0', ' ', ' ',
                                         ' ', ' ', ' ', ' ', ' '};

constexpr std::int64_t ipow10(int n) {
  std::int64_t p = 1;
  for (int k = 0; k < n; ++k) p *= 10;
  return p;
}

// Writes the decimal digits of `m` into positions `last` down to `first`
// (counted from 1), passing over position `skip`.
void put_digits(std::array<char, 11>& F, std::int64_t m, int first, int last,
                int skip) {
  for (int p = last; p >= first; --p) {
    if (p == skip) continue;
    F[static_cast<std::size_t>(p - 1)] = static_cast<char>('0' + m % 10);
    m /= 10;
  }
}

void fixed_form(std::array<char, 11>& F, double ZZ, int e) {
  const int IPOWER = e < 0 ? 8 : 8 - e;
  auto INMANT = static_cast<std::int64_t>(tens(IPOWER) * ZZ);
  if (INMANT >= ipow10(9)) {
    INMANT = ipow10(8);
    ++e;
  }
  int point = e + 3;
  if (point < 3) {
    point = 2;
    INMANT = static_cast<std::int64_t>((ZZ * 10) * tens(8));
  }
  F[static_cast<std::size_t>(point - 1)] = '.';
  put_digits(F, INMANT, 2, 11, point);
}

void exponent_form(std::array<char, 11>& F, double ZN, int e, bool neg) {
  auto layout_digits = [neg](int ex) {
    const bool two = ex <= -10 || ex >= 10;
    return (neg ? 6 : 7) - (two ? 1 : 0);
  };
  int digits = layout_digits(e);
  auto INMANT =
      static_cast<std::int64_t>(ZN * static_cast<double>(ipow10(digits - 1)));
  if (INMANT >= ipow10(digits)) {
    ++e;
    digits = layout_digits(e);
    INMANT = ipow10(digits - 1);
  }
  const bool two = digits == (neg ? 5 : 6);
  const int first = neg ? 2 : 1;             // first mantissa digit
  const int last = first + digits;           // last mantissa digit
  F[static_cast<std::size_t>(first)] = '.';  // position first + 1
  put_digits(F, INMANT, first, last, first + 1);
  F[static_cast<std::size_t>(last)] = 'D';  // position last + 1
  const int sign_at = last + 1;
  F[static_cast<std::size_t>(sign_at)] = e >= 0 ? '+' : '-';
  const int ae = e < 0 ? -e : e;
  if (two) {
    F[9] = static_cast<char>('0' + ae / 10);
    F[10] = static_cast<char>('0' + ae % 10);
  } else {
    F[10] = static_cast<char>('0' + ae);
  }
  // A positive number drops a final 0 of its mantissa for a leading blank.
  if (!neg && F[static_cast<std::size_t>(last - 1)] == '0') {
    for (int p = last; p >= 2; --p) {
      F[static_cast<std::size_t>(p - 1)] = F[static_cast<std::size_t>(p - 2)];
    }
    F[0] = ' ';
  }
}

}  // namespace

void out9(double Z, std::array<char, 11>& F) {
  F = kZeroh;
  double ZZ = std::fabs(Z);
  if (std::isnan(Z) || ZZ == 0 || ZZ < 1.0e-99 || ZZ > 1.0e99) return;
  const bool neg = Z < 0;
  F.fill(' ');
  F[0] = neg ? '-' : ' ';

  int e = static_cast<int>(std::trunc(std::log10(ZZ)));
  if (e >= 98 || e <= -98) {
    F = kZeroh;
    return;
  }
  if (ZZ < 1) --e;

  double R = rounder(e);
  if (!neg && (ZZ <= kZlow || ZZ >= kZhigh)) R *= kTenth;
  double ZN = tens(-e) * ZZ + R;
  if (ZN >= 10) {
    ZN /= 10;
    ++e;
  }
  ZZ = tens(e) * ZN;
  if (ZZ > kZlow && ZZ < kZhigh) {
    fixed_form(F, ZZ, e);
  } else {
    exponent_form(F, ZN, e, neg);
  }
}

std::string out9(double Z) {
  std::array<char, 11> F{};
  out9(Z, F);
  return {F.data(), F.size()};
}

namespace {

// The magnitude of Z rounded half up to its shown decimals, in units of
// the last decimal (MR), with the weight of one (IZ10). False when it is
// out of reach of the 64-bit integer, or beyond 18 decimals: nothing is
// drawn then, as for an integer part of 12 digits.
struct Rounded {
  std::int64_t MR = 0;
  std::int64_t IZ10 = 1;
};

bool round_shown(double Z, int NDEC, Rounded& r) {
  const int IIZ = NDEC >= 1 ? NDEC : 0;
  if (IIZ > 18) return false;
  float z10f = 1.0F;
  for (int k = 0; k < IIZ; ++k) z10f *= 10.0F;
  const auto Z10 = static_cast<double>(z10f);
  const double scaled = std::fabs(Z) * Z10 + 0.5;
  if (!(scaled < 9.0e18)) return false;  // also not-a-number
  r.MR = static_cast<std::int64_t>(scaled);
  r.IZ10 = static_cast<std::int64_t>(Z10);
  return true;
}

}  // namespace

double numbr1_magnitude(double Z, int NDEC) {
  Rounded r;
  if (!round_shown(Z, NDEC, r)) return std::fabs(Z);
  return static_cast<double>(r.MR) / static_cast<double>(r.IZ10);
}

std::string numbr1_text(double Z, int NDEC) {
  const int IIZ = NDEC >= 1 ? NDEC : 0;
  Rounded r;
  if (!round_shown(Z, NDEC, r)) return {};
  std::int64_t MR = r.MR;
  const std::int64_t IZ10 = r.IZ10;
  const std::int64_t MR1 = MR / IZ10;

  int IDIG = 1;
  std::int64_t M10 = 1;
  while (MR1 / M10 >= 1) {
    M10 *= 10;
    ++IDIG;
    if (IDIG > 12) return {};  // integer part of 12 or more digits
  }
  if (IDIG != 1) {
    --IDIG;
    M10 /= 10;
  }
  IDIG += IIZ;
  M10 *= IZ10;

  std::string text;
  if (Z < 0) text.push_back('-');
  const int point = NDEC < 0 ? 0 : IDIG - NDEC;
  for (int I = 1; I <= IDIG; ++I) {
    const std::int64_t d = MR / M10;
    text.push_back(static_cast<char>('0' + d));
    if (I == point) text.push_back('.');
    MR -= d * M10;
    M10 /= 10;
  }
  return text;
}

void numbr1(Core& c, double X, double Y, double HT, double Z, double ANG,
            int NDEC) {
  const std::string text = numbr1_text(Z, NDEC);
  if (text.empty()) return;
  symbl1(c, X, Y, HT, text, ANG, static_cast<int>(text.size()));
}

}  // namespace veskaro
