#include "core/routines.h"

namespace veskaro {

void grid(Core&) {}

}  // namespace veskaro
