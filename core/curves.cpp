#include "core/routines.h"

namespace veskaro {

void pltcur(Core&) {}

}  // namespace veskaro
