// Small fixed-size containers indexed from 1, as the plotting routines
// count. Every access is range checked: an index fault stops the program
// at once instead of overwriting a neighbouring member.
#pragma once

#include <array>
#include <cstdio>
#include <cstdlib>

namespace veskaro {

[[noreturn]] inline void index_fault(int i, int n) {
  std::fprintf(stderr, "veskaro: internal index %d outside 1..%d\n", i, n);
  std::abort();
}

template <class T, int N>
struct Vec {
  std::array<T, N> v{};

  T& operator()(int i) {
    if (i < 1 || i > N) index_fault(i, N);
    return v[static_cast<std::size_t>(i - 1)];
  }
  const T& operator()(int i) const {
    if (i < 1 || i > N) index_fault(i, N);
    return v[static_cast<std::size_t>(i - 1)];
  }
  static constexpr int size() { return N; }
};

// Two-dimensional array (I, J), I = 1..M, J = 1..N.
template <class T, int M, int N>
struct Mat {
  std::array<T, static_cast<std::size_t>(M) * N> v{};

  T& operator()(int i, int j) {
    if (i < 1 || i > M) index_fault(i, M);
    if (j < 1 || j > N) index_fault(j, N);
    return v[static_cast<std::size_t>(j - 1) * M +
             static_cast<std::size_t>(i - 1)];
  }
  const T& operator()(int i, int j) const {
    if (i < 1 || i > M) index_fault(i, M);
    if (j < 1 || j > N) index_fault(j, N);
    return v[static_cast<std::size_t>(j - 1) * M +
             static_cast<std::size_t>(i - 1)];
  }
};

}  // namespace veskaro
