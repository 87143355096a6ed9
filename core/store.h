// The data store: every curve point and point-set point of the current
// plot, with the index range of each curve and set. Its arrays are set
// aside once at start and never grow; pages of the large arrays are only
// touched as points are written.
#pragma once

#include <cstddef>
#include <memory>

#include "core/arrays.h"

namespace veskaro {

constexpr int kMaxCurvePoints = 10'000'000;
constexpr int kMaxSetPoints = 1'000'000;
constexpr int kMaxRanges = 60;

// A large array indexed from 1 to N, allocated once without initialising
// its pages.
template <class T>
class BigArray {
 public:
  explicit BigArray(int n)
      : n_(n), p_(new T[static_cast<std::size_t>(n) + 1]) {}
  T& operator()(int i) {
    if (i < 1 || i > n_) index_fault(i, n_);
    return p_[static_cast<std::size_t>(i)];
  }
  const T& operator()(int i) const {
    if (i < 1 || i > n_) index_fault(i, n_);
    return p_[static_cast<std::size_t>(i)];
  }
  int size() const { return n_; }

 private:
  int n_;
  std::unique_ptr<T[]> p_;
};

struct Store {
  BigArray<double> XC{kMaxCurvePoints};
  BigArray<double> YC{kMaxCurvePoints};
  BigArray<double> XP{kMaxSetPoints};
  BigArray<double> YP{kMaxSetPoints};
  BigArray<double> DXP{kMaxSetPoints};
  BigArray<double> DXM{kMaxSetPoints};
  BigArray<double> DYP{kMaxSetPoints};
  BigArray<double> DYM{kMaxSetPoints};
  Mat<int, 2, kMaxRanges> IPRANG;
  Mat<int, 2, kMaxRanges> ICRANG;
  int NCURVE = 0;
  int NPOINT = 0;
};

}  // namespace veskaro
