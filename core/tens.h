// Powers of ten from 10^-99 to 10^99 for the number fields, built as
// running products and quotients (10^k = 10^(k-1) x 10, 10^-k = 10^(1-k)
// / 10), each step rounded in double precision. Most entries so differ
// from the correctly rounded power in the last bit, and every value read
// or written through a field depends on these exact entries. The table is
// computed by the compiler with IEEE double arithmetic, so it holds the
// same values a first-call build at run time would.
#pragma once

#include <array>

#include "core/arrays.h"

namespace veskaro {

constexpr int kTensMax = 99;

constexpr std::array<double, 2 * kTensMax + 1> build_tens() {
  std::array<double, 2 * kTensMax + 1> t{};
  t[kTensMax] = 1.0;
  for (int k = 1; k <= kTensMax; ++k) {
    t[kTensMax + k] = t[kTensMax + k - 1] * 10.0;
    t[kTensMax - k] = t[kTensMax - k + 1] / 10.0;
  }
  return t;
}

inline constexpr std::array<double, 2 * kTensMax + 1> kTensTable = build_tens();

// TENS(e) for e from -99 to 99.
constexpr double tens(int e) {
  if (e < -kTensMax || e > kTensMax) index_fault(e, kTensMax);
  const int k = kTensMax + e;
  return kTensTable[static_cast<std::size_t>(k)];
}

}  // namespace veskaro
