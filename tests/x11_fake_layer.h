// A window layer for tests: records every call as a line of text and
// answers event reads from scripted queues.
#pragma once

#include <cstdio>
#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

#include "device/x11/window_layer.h"

namespace veskaro {

class FakeLayer final : public WindowLayer {
 public:
  struct Event {
    int kway;
    float x, y;
  };
  std::vector<std::string> calls;
  int depth = 24;
  std::deque<Event> events;
  std::deque<int> keysyms;
  ColourTable red{}, green{}, blue{};
  std::string font;

  void xpinit(float xmin, float xmax, float ymin, float ymax,
              int myview) override {
    calls.push_back(
        fmt("xpinit %g %g %g %g %d", xmin, xmax, ymin, ymax, myview));
  }
  void xpdone() override { calls.emplace_back("xpdone"); }
  void myscreen(int& d) override {
    d = depth;
    calls.emplace_back("myscreen");
  }
  void pallette(const ColourTable& r, const ColourTable& g,
                const ColourTable& b) override {
    red = r;
    green = g;
    blue = b;
    calls.emplace_back("pallette");
  }
  void xpen(int ic) override { calls.push_back(fmt("xpen %d", ic)); }
  void backcolor(int ic) override { calls.push_back(fmt("backcolor %d", ic)); }
  void xpclr() override { calls.emplace_back("xpclr"); }
  void flushit() override { calls.emplace_back("flushit"); }
  void xpmove(float x, float y) override {
    calls.push_back(fmt("xpmove %.4f %.4f", x, y));
  }
  void xpdraw(float x, float y) override {
    calls.push_back(fmt("xpdraw %.4f %.4f", x, y));
  }
  void xypixel(float x, float y) override {
    calls.push_back(fmt("xypixel %.4f %.4f", x, y));
  }
  void boxfill(float x1, float x2, float y1, float y2, int ifill,
               int ibord) override {
    calls.push_back(
        fmt("boxfill %.6f %.6f %.6f %.6f %d %d", x1, x2, y1, y2, ifill, ibord));
  }
  void polyfill(std::span<const float>, std::span<const float>, int n,
                int ifill, int ibord) override {
    calls.push_back(fmt("polyfill %d %d %d", n, ifill, ibord));
  }
  void pixfill(float, float, int) override { calls.emplace_back("pixfill"); }
  void widlin(int) override { calls.emplace_back("widlin"); }
  void setfont(std::string_view name, int len) override {
    font = std::string(name);
    calls.push_back(fmt("setfont %d", len));
  }
  void rtextx(int flag, float x, float y, std::string_view str,
              int n) override {
    calls.push_back(fmt("rtextx %d %.6f %.6f ", flag, x, y) + "[" +
                    std::string(str.substr(0, static_cast<std::size_t>(n))) +
                    "]");
  }
  void xmouse(int& kway, float& x, float& y, int iwait) override {
    calls.push_back(fmt("xmouse %d", iwait));
    if (events.empty()) throw std::runtime_error("no event left");
    const Event e = events.front();
    events.pop_front();
    kway = e.kway;
    if (e.kway >= 1 && e.kway <= 3) {
      x = e.x;
      y = e.y;
    }
  }
  void pxkbd(std::string&, int& iret) override {
    iret = 0;
    calls.emplace_back("pxkbd");
  }
  void pxkbd2(int& k) override {
    calls.emplace_back("pxkbd2");
    if (keysyms.empty()) throw std::runtime_error("no key left");
    k = keysyms.front();
    keysyms.pop_front();
  }

  // Calls recorded since the last take().
  std::vector<std::string> take() {
    std::vector<std::string> out;
    out.swap(calls);
    return out;
  }

 private:
  template <class... A>
  static std::string fmt(const char* f, A... a) {
    char b[200];
    std::snprintf(b, sizeof b, f, a...);
    return b;
  }
};

}  // namespace veskaro
