// A device for tests: records every call as one line of text, so a test
// can check the exact sequence of operations the core asked for.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "device/device.h"

namespace veskaro {

class RecordingDevice final : public Device {
 public:
  std::vector<std::string> calls;
  int iact = 0;
  // Answers of mousey, taken in order; KWAY 4 once they run out.
  struct Click {
    int kway;
    float x, y;
  };
  std::vector<Click> clicks;
  std::size_t next_click = 0;
  std::array<float, 2> size_x{0.0F, 13.0F};
  std::array<float, 2> size_y{0.0F, 10.5F};

  void daruvuza() override { calls.emplace_back("daruvuza"); }
  void interact(int& out) override {
    out = iact;
    calls.emplace_back("interact");
  }
  void mysize(std::array<float, 2>& x, std::array<float, 2>& y) override {
    x = size_x;
    y = size_y;
    calls.emplace_back("mysize");
  }
  void pen(int ipen) override {
    calls.push_back("pen " + std::to_string(ipen));
  }
  void plot(float x, float y, int ipen) override {
    calls.push_back(fmt("plot %.4f %.4f %d", x, y, ipen));
  }
  void boxcolor(const std::array<float, 2>& x, const std::array<float, 2>& y,
                int ifill, int ibord) override {
    calls.push_back(
        fmt("boxcolor %.4f %.4f %.4f %.4f", x[0], x[1], y[0], y[1]) + " " +
        std::to_string(ifill) + " " + std::to_string(ibord));
  }
  void showtext(int icol, int irow, std::string_view text, int nchar) override {
    calls.push_back("showtext " + std::to_string(icol) + " " +
                    std::to_string(irow) + " [" + std::string(text) + "] " +
                    std::to_string(nchar));
  }
  void mousey(int& kway, float& x, float& y, int iwait, int keyok) override {
    if (next_click < clicks.size()) {
      const Click& c = clicks[next_click++];
      kway = c.kway;
      x = c.x;
      y = c.y;
    } else {
      kway = 4;
      x = 0.0F;
      y = 0.0F;
    }
    calls.push_back("mousey " + std::to_string(iwait) + " " +
                    std::to_string(keyok));
  }
  void newback() override { calls.emplace_back("newback"); }
  void printit() override { calls.emplace_back("printit"); }
  void nextplot() override { calls.emplace_back("nextplot"); }
  void endplots() override { calls.emplace_back("endplots"); }

  // Number of recorded calls that start with `prefix`.
  int count(const std::string& prefix) const {
    int n = 0;
    for (const auto& c : calls) {
      if (c.rfind(prefix, 0) == 0) ++n;
    }
    return n;
  }

 private:
  template <class... A>
  static std::string fmt(const char* f, A... a) {
    char b[160];
    std::snprintf(b, sizeof b, f, a...);
    return b;
  }
};

}  // namespace veskaro
