// Fuzz target: arbitrary bytes as the pnt input of a whole batch run.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tests/fuzz/fuzz_run.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  veskaro::fuzz::Inputs in = veskaro::fuzz::defaults();
  in.pnt = std::string_view(reinterpret_cast<const char*>(data), size);
  veskaro::fuzz::batch_run(in);
  return 0;
}
