// Fuzz target: arbitrary bytes as the menu caption file. The captions are
// read from memory and the whole menu strip is drawn on a device that
// checks every text it is given.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/core.h"
#include "core/menu.h"
#include "tests/fuzz/null_device.h"

namespace {

class CheckingDevice final : public veskaro::fuzz::NullDevice {
 public:
  void showtext(int icol, int irow, std::string_view text, int nchar) override {
    // Captions fill cells of ten columns in a grid of 80 by 6.
    if (nchar < 0 || static_cast<std::size_t>(nchar) > text.size() ||
        icol < 1 || icol + nchar - 1 > 80 || irow < 0 || irow > 5) {
      std::fprintf(stderr, "bad showtext %d %d %d\n", icol, irow, nchar);
      std::abort();
    }
  }
  void interact(int& iact) override { iact = 1; }
  void mysize(std::array<float, 2>& x, std::array<float, 2>& y) override {
    x = {0.0F, 12.5F};
    y = {0.01F, 10.0F};
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  static CheckingDevice dev;
  static veskaro::Core c(dev, nullptr);
  veskaro::RecordReader in;
  in.open_text(std::string_view(reinterpret_cast<const char*>(data), size));
  veskaro::readcaptions(c, in);
  for (int k = 1; k <= 40; ++k) {
    if (c.mn.OPS(k).size() != 10) std::abort();
  }
  // Draws the whole strip with the captions just read.
  veskaro::setmouse(c);
  return 0;
}
