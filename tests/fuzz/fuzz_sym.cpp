// Fuzz target: arbitrary bytes as the symbol font. The font is loaded and
// its entries drawn as point symbols with error bars and used as dash
// patterns, through the plots of the default run.
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
