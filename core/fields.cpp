#include "core/routines.h"

namespace veskaro {

void in9(Core&, double& X, std::string_view) { X = 0; }
void intger(Core&, int& N, std::string_view) { N = 0; }
void lefty(Core&, std::string&, int& L, int& LVIS, int) { L = LVIS = 0; }
int length(std::string_view, int) { return 0; }
void concat(std::string&, int&, std::string_view, int) {}

}  // namespace veskaro
