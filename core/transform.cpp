#include "core/routines.h"

namespace veskaro {

void plotp(Core&, double, double, int) {}
void colorbox(Core&, const Edges&, const Edges&, int, int) {}
void plotd(Core&, double, double, int) {}
void boxcolord(Core&, const Edges&, const Edges&, int, int) {}
void plot1(Core&, double, double, int) {}
void plvhn(Core&, double, double, int) {}
void plvh1(Core&, double, double, int) {}
void plotx(Core&, double, double, int) {}

}  // namespace veskaro
