#include "core/routines.h"

namespace veskaro {

void setmouse(Core&) {}
void action(Core&, int& IMACTIVE) { IMACTIVE = 0; }

}  // namespace veskaro
