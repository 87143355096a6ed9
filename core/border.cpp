#include "core/routines.h"

namespace veskaro {

void border(Core&) {}

}  // namespace veskaro
