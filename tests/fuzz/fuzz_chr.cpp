// Fuzz target: arbitrary bytes as the character font. The font is loaded
// and every one of the 256 character codes is drawn as stroked text, both
// horizontal and vertical, so control entries and the alternate toggle run
// with whatever the file holds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/core.h"
#include "core/routines.h"
#include "tests/fuzz/null_device.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  static veskaro::fuzz::NullDevice dev;
  static veskaro::Core c(dev, nullptr);
  static const std::string all = [] {
    std::string s(256, ' ');
    for (int i = 0; i < 256; ++i) s[static_cast<std::size_t>(i)] = char(i);
    return s;
  }();
  c.files.chr.open_text(
      std::string_view(reinterpret_cast<const char*>(data), size));
  veskaro::symin(c);
  veskaro::symbl1(c, 1.0, 1.0, 0.2, all, 0.0, 256);
  veskaro::symbl1(c, 1.0, 1.0, 0.05, all, 90.0, 256);
  return 0;
}
