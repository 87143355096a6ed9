// veskaro-ps1 and veskaro-ps: the plotting core with the PostScript device.
// VESKARO_ONE_FILE is 1 for every page in one file, 0 for a file per page.
#include "core/routines.h"
#include "device/postscript/postscript_device.h"

int main() {
  veskaro::PostScriptDevice dev(VESKARO_ONE_FILE);
  veskaro::FileGuard guard;
  dev.guard_outputs(guard);
  return veskaro::run(dev, guard);
}
