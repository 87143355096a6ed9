#include "core/routines.h"

namespace veskaro {

void pltpt(Core&) {}

}  // namespace veskaro
