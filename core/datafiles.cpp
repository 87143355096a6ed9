#include "core/routines.h"

namespace veskaro {

void getcur(Core&, int& ICEND) { ICEND = 1; }
void getpnt(Core&, int& IPEND) { IPEND = 1; }

}  // namespace veskaro
