// A core set up by hand for the drawing tests: identity page transform,
// the sizes of character size 1 on the default page, single-stroke lines,
// and a character font whose glyphs can be read back from the recorded
// device calls. Each glyph is two strokes with pen code 9 (which the
// device ignores): one at the cell origin and one at (1, k), k the
// character's code less 31; so the text, its origin, height and direction
// can be recovered.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "core/routines.h"
#include "tests/recording_device.h"

namespace veskaro::drawtest {

struct Call {
  std::string op;
  double x = 0, y = 0;
  int pen = 0;
};

struct Text {
  double x, y, ht;
  bool up;
  std::string s;
};

inline std::string glyph_font() {
  std::string f;
  char buf[64];
  for (int ch = 32; ch < 127; ++ch) {
    std::snprintf(buf, sizeof buf, " %c%5d\n", ch, 2);
    f += buf;
    std::snprintf(buf, sizeof buf, "%7.3f%7.3f%5d\n", 0.0, 0.0, 9);
    f += buf;
    std::snprintf(buf, sizeof buf, "%7.3f%7.3f%5d\n", 1.0,
                  static_cast<double>(ch - 31), 9);
    f += buf;
  }
  return f;
}

struct DrawFixture : public ::testing::Test {
  RecordingDevice dev;
  Core c{dev};

  DrawFixture() {
    auto& pg = c.pg;
    pg.XSCALE = pg.YSCALE = 1;
    pg.XOFF = pg.YOFF = 0;
    pg.IROTAT = 0;
    pg.MULTHT = 1;
    pg.PAINT(1) = pg.PAINT(3) = pg.PAINT(5) = 0.1;
    pg.PAINT(2) = 0.05;
    pg.PAINT(4) = 0.075;
    pg.PAINT(6) = 0.05;
    pg.PAINT(7) = 0.0375;
    pg.SIZEHT = 0.1;
    pg.EDGE(1) = 0, pg.EDGE(2) = 13.5, pg.EDGE(3) = 0, pg.EDGE(4) = 10.24;
    pg.PLTLIM(1) = 1.0, pg.PLTLIM(2) = 13.0;
    pg.SUBPLT(1) = pg.PLTLIM(3) = 1.0;
    pg.SUBPLT(2) = pg.PLTLIM(4) = 9.0;
    pg.KSUB = pg.NSUB = 1;
    for (int i = 1; i <= 10; ++i) pg.LOGTAB(i) = std::log10(i);
    c.wt.NTHNOW = c.wt.NTHIN = c.wt.NTHNRM = c.wt.NTHBIG = 0;
    no_box();
    axes(0, 12, 0, 8);
    c.files.chr.open_text(glyph_font());
    symin(c);
  }

  // No legend box.
  void no_box() {
    c.op.LEGOFF = 1;
    for (int i = 1; i <= 4; ++i) c.lg.BOXLIM(i) = -10;
  }
  void box(double x1, double x2, double y1, double y2) {
    c.op.LEGOFF = 0;
    c.lg.BOXLIM(1) = x1, c.lg.BOXLIM(2) = x2;
    c.lg.BOXLIM(3) = y1, c.lg.BOXLIM(4) = y2;
  }
  // Linear axes in plane units with a data window to match (multiplier 1).
  void axes(double x1, double x2, double y1, double y2) {
    auto& ax = c.ax;
    ax.XYLIM(1) = x1, ax.XYLIM(2) = x2, ax.XYLIM(5) = y1, ax.XYLIM(6) = y2;
    ax.XYLIM(9) = x2 - x1, ax.XYLIM(10) = y2 - y1;
    ax.WAYS(1) = ax.WAYS(2) = 1;
    ax.XMULT = ax.YMULT = 1;
    ax.XYREAL(1) = x1, ax.XYREAL(2) = x2, ax.XYREAL(3) = y1;
    ax.XYREAL(4) = y2;
  }
  // Logarithmic axes: plane limits are decades, the window in data units.
  void log_axes(double x1, double x2, double y1, double y2) {
    axes(x1, x2, y1, y2);
    auto& ax = c.ax;
    ax.WAYS(1) = ax.WAYS(2) = 2;
    ax.XYREAL(1) = std::pow(10.0, x1), ax.XYREAL(2) = std::pow(10.0, x2);
    ax.XYREAL(3) = std::pow(10.0, y1), ax.XYREAL(4) = std::pow(10.0, y2);
  }
  // A symbol font: `text` in the font file format.
  void symbols(const std::string& text) {
    c.files.sym.open_text(text);
    refin(c);
  }

  std::vector<Call> calls() const {
    std::vector<Call> out;
    for (const auto& s : dev.calls) {
      Call k;
      char op[32] = {};
      float x = 0, y = 0;
      int pen = 0;
      if (std::sscanf(s.c_str(), "%31s %f %f %d", op, &x, &y, &pen) == 4 &&
          std::string(op) == "plot") {
        k.op = op, k.x = x, k.y = y, k.pen = pen;
      } else {
        k.op = s;
      }
      out.push_back(k);
    }
    return out;
  }
  // The plot calls other than glyph strokes.
  std::vector<Call> lines() const {
    std::vector<Call> out;
    for (const auto& k : calls()) {
      if (k.op == "plot" && k.pen != 9) out.push_back(k);
    }
    return out;
  }
  // The plot calls other than glyph strokes as "x y pen", shortest form.
  std::vector<std::string> drawn() const {
    std::vector<std::string> out;
    for (const auto& k : lines()) {
      char b[64];
      std::snprintf(b, sizeof b, "%g %g %d", k.x, k.y, k.pen);
      out.emplace_back(b);
    }
    return out;
  }
  // The texts drawn, read back from the glyph strokes; characters that
  // follow on at one cell's advance join into one text.
  std::vector<Text> texts() const {
    std::vector<Text> out;
    const auto k = calls();
    bool joinable = false;
    for (std::size_t i = 0; i + 1 < k.size(); ++i) {
      if (k[i].op != "plot" || k[i].pen != 9) {
        joinable = false;
        continue;
      }
      const Call& a = k[i];
      const Call& b = k[++i];
      // Horizontal: b = a + (ht, ht * k); upward: b = a + (-ht * k, ht).
      const bool vertical = b.x < a.x;
      const double ht = vertical ? b.y - a.y : b.x - a.x;
      const double code = vertical ? (a.x - b.x) / ht : (b.y - a.y) / ht;
      const char ch = static_cast<char>(std::lround(code) + 31);
      if (joinable && !out.empty()) {
        Text& t = out.back();
        const double n = static_cast<double>(t.s.size());
        const double ex = t.up ? t.x : t.x + n * t.ht;
        const double ey = t.up ? t.y + n * t.ht : t.y;
        if (t.up == vertical && std::abs(t.ht - ht) < 2e-4 &&
            std::abs(ex - a.x) < 2e-4 && std::abs(ey - a.y) < 2e-4) {
          t.s += ch;
          continue;
        }
      }
      out.push_back({a.x, a.y, ht, vertical, std::string(1, ch)});
      joinable = true;
    }
    return out;
  }
  // The first text equal to `s`, or null.
  const Text* find(const std::vector<Text>& t, const std::string& s) const {
    for (const auto& x : t) {
      if (x.s == s) return &x;
    }
    return nullptr;
  }
};

}  // namespace veskaro::drawtest
