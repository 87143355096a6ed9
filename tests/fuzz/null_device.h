// A device that accepts every call and draws nothing, for the fuzz targets
// that exercise only the core's readers and stroked text. A target that
// checks one kind of call derives from it.
#pragma once

#include "device/device.h"

namespace veskaro::fuzz {

class NullDevice : public Device {
 public:
  void daruvuza() override {}
  void interact(int& iact) override { iact = 0; }
  void mysize(std::array<float, 2>& x, std::array<float, 2>& y) override {
    x = {0.0F, 13.0F};
    y = {0.0F, 10.5F};
  }
  void pen(int) override {}
  void plot(float, float, int) override {}
  void boxcolor(const std::array<float, 2>&, const std::array<float, 2>&, int,
                int) override {}
  void showtext(int, int, std::string_view, int) override {}
  void mousey(int& kway, float& x, float& y, int, int) override {
    kway = 4;
    x = 0;
    y = 0;
  }
  void newback() override {}
  void printit() override {}
  void nextplot() override {}
  void endplots() override {}
};

}  // namespace veskaro::fuzz
