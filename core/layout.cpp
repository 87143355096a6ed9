#include "core/routines.h"

namespace veskaro {

void setup(Core&, int& IMTHRU) { IMTHRU = 1; }
void nxtplt(Core&) {}

}  // namespace veskaro
