#include "device/page/page_device.h"

namespace veskaro {

void PageDevice::interact(int& iact) { iact = 0; }

void PageDevice::mysize(std::array<float, 2>& x, std::array<float, 2>& y) {
  x = {0.0F, 13.0F};
  y = {0.0F, 10.5F};
}

void PageDevice::boxcolor(const std::array<float, 2>& x,
                          const std::array<float, 2>& y, int /*ifill*/,
                          int ibord) {
  if (ibord < 0) return;
  plot(x[0], y[0], 3);
  plot(x[0], y[1], 2);
  plot(x[1], y[1], 2);
  plot(x[1], y[0], 2);
  plot(x[0], y[0], 2);
}

// No character grid on paper.
void PageDevice::showtext(int /*icol*/, int /*irow*/, std::string_view /*text*/,
                          int /*nchar*/) {}

void PageDevice::mousey(int& kway, float& x, float& y, int /*iwait*/,
                        int /*keyok*/) {
  kway = 4;
  x = 0.0F;
  y = 0.0F;
}

// The paper background cannot change.
void PageDevice::newback() {}

// The pages are already files.
void PageDevice::printit() {}

}  // namespace veskaro
