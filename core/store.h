// The data store: every curve point and point-set point of the current
// plot, with the index range of each curve and set. Its arrays are set
// aside once at start and never grow; pages of the large arrays are only
// touched as points are written.
#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>

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
  explicit BigArray(int n) : n_(n), p_(allocate(n)) {}
  T& operator()(int i) {
    if (i < 1 || i > n_) index_fault(i, n_);
    return p_.get()[static_cast<std::size_t>(i)];
  }
  const T& operator()(int i) const {
    if (i < 1 || i > n_) index_fault(i, n_);
    return p_.get()[static_cast<std::size_t>(i)];
  }
  int size() const { return n_; }

 private:
  struct Free {
    void operator()(T* p) const { std::free(p); }
  };
  // Whole huge pages, and the kernel asked to back them so: a big read
  // then takes a page fault per 2 MB instead of one per 4 kB. Pages are
  // still only touched when written.
  static T* allocate(int n) {
    constexpr std::size_t kHuge = std::size_t{2} << 20;
    std::size_t bytes = (static_cast<std::size_t>(n) + 1) * sizeof(T);
    bytes = (bytes + kHuge - 1) / kHuge * kHuge;
    void* p = std::aligned_alloc(kHuge, bytes);
    if (p == nullptr) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    madvise(p, bytes, MADV_HUGEPAGE);
#endif
    return static_cast<T*>(p);
  }

  int n_;
  std::unique_ptr<T, Free> p_;
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
