#include "core/routines.h"

namespace veskaro {

void symin(Core&) {}
void refin(Core&) {}
void symbl1(Core&, double, double, double, std::string_view, double, int) {}

}  // namespace veskaro
