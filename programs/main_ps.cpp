// veskaro-ps1 and veskaro-ps: the plotting core with the PostScript device.
// VESKARO_ONE_FILE is 1 for every page in one file, 0 for a file per page.
#include "core/routines.h"
#include "device/postscript/postscript_device.h"
#include "programs/arguments.h"

int main(int argc, char** argv) {
  veskaro::handle_arguments(VESKARO_ONE_FILE ? veskaro::Program::kPsOneFile
                                             : veskaro::Program::kPsPerPage,
                            argc, argv);
  veskaro::PostScriptDevice dev(VESKARO_ONE_FILE);
  veskaro::FileGuard guard;
  dev.guard_outputs(guard);
  return veskaro::run(dev, guard);
}
