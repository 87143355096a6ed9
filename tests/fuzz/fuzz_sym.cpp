// Fuzz target: arbitrary bytes as the symbol font. The font is loaded and
// every entry is drawn as a point symbol with error bars and used as a
// dash pattern, through a small plot of one curve and one point set.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tests/fuzz/fuzz_run.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  veskaro::fuzz::Inputs in = veskaro::fuzz::defaults();
  in.sym = std::string_view(reinterpret_cast<const char*>(data), size);
  veskaro::fuzz::batch_run(in);
  return 0;
}
