// veskaro-x11: the plotting core with the X11 screen device.
#include "core/routines.h"
#include "device/x11/x11_device.h"

int main() {
  veskaro::X11Device dev;
  // The option menu reads its captions later in the run; the listing must
  // not be that file either, nor a screen dump any file of the run.
  veskaro::FileGuard guard;
  guard.add_input(veskaro::kCaptionFile);
  dev.guard_outputs([&guard](const std::string& dump) { guard.check(dump); });
  return veskaro::run(dev, guard);
}
