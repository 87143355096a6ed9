#include "core/routines.h"

namespace veskaro {

void united(Core&) {}

}  // namespace veskaro
