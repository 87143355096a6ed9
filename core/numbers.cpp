#include "core/routines.h"

namespace veskaro {

void out9(double, std::array<char, 11>& F) { F.fill(0x20); }
std::string out9(double) { return std::string(11, 0x20); }
std::string numbr1_text(double, int) { return {}; }
void numbr1(Core&, double, double, double, double, double, int) {}

}  // namespace veskaro
