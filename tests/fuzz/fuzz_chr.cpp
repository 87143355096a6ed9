// Fuzz target: arbitrary bytes as the chr input of a whole batch run.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tests/fuzz/fuzz_run.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  veskaro::fuzz::Inputs in = veskaro::fuzz::defaults();
  in.chr = std::string_view(reinterpret_cast<const char*>(data), size);
  veskaro::fuzz::batch_run(in);
  return 0;
}
