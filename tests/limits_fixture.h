// A core with hand-made curves and point sets in its data store, for the
// tests of the data limits, rounding, units and legend routines.
#pragma once

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/limits.h"
#include "tests/recording_device.h"

namespace veskaro {

struct SetPoint {
  double x, y, dxp = 0, dxm = 0, dyp = 0, dym = 0;
};

class LimitsFixture : public ::testing::Test {
 protected:
  LimitsFixture() : c(dev) {
    c.op.TERPIT(1) = 1;
    c.op.TERPIT(2) = 1;
    c.op.KPLANE(1) = 1;
    c.op.KPLANE(2) = 1;
    c.pg.NSUB = 1;
    c.pg.KSUB = 1;
    c.pg.MULTHT = 1;
  }

  // Appends a curve after those already stored.
  void curve(const std::vector<std::pair<double, double>>& pts) {
    Store& s = *c.store;
    const int k = ++s.NCURVE;
    const int first = k == 1 ? 1 : s.ICRANG(2, k - 1) + 1;
    s.ICRANG(1, k) = first;
    int i = first;
    for (const auto& [x, y] : pts) {
      s.XC(i) = x;
      s.YC(i) = y;
      ++i;
    }
    s.ICRANG(2, k) = i - 1;
  }

  // Appends a point set after those already stored.
  void set(const std::vector<SetPoint>& pts) {
    Store& s = *c.store;
    const int k = ++s.NPOINT;
    const int first = k == 1 ? 1 : s.IPRANG(2, k - 1) + 1;
    s.IPRANG(1, k) = first;
    int i = first;
    for (const SetPoint& p : pts) {
      s.XP(i) = p.x;
      s.YP(i) = p.y;
      s.DXP(i) = p.dxp;
      s.DXM(i) = p.dxm;
      s.DYP(i) = p.dyp;
      s.DYM(i) = p.dym;
      ++i;
    }
    s.IPRANG(2, k) = i - 1;
  }

  // Points of stored curve k (a ratio curve too) as (x, y) pairs.
  std::vector<std::pair<double, double>> points_of(int k) const {
    const Store& s = *c.store;
    std::vector<std::pair<double, double>> v;
    const int n = c.lg.ONIT(k);
    for (int i = s.ICRANG(1, k); i < s.ICRANG(1, k) + n; ++i) {
      v.emplace_back(s.XC(i), s.YC(i));
    }
    return v;
  }

  void window_x(double lo, double hi) {
    c.op.KXMIN = 1;
    c.op.XMIN = lo;
    c.op.KXMAX = 1;
    c.op.XMAX = hi;
  }

  int walk() {
    int ipass = -1;
    scalxy(c, ipass);
    return ipass;
  }

  RecordingDevice dev;
  Core c;
};

using Pts = std::vector<std::pair<double, double>>;

}  // namespace veskaro
