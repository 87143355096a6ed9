// veskaro-x11: the plotting core with the X11 screen device.
#include "core/routines.h"
#include "device/x11/x11_device.h"

int main() {
  veskaro::X11Device dev;
  // The option menu's captions are read with the other inputs, before the
  // listing is created; the display is opened at the first frame. No
  // screen dump may be any other file of the run.
  veskaro::FileGuard guard;
  dev.guard_outputs([&guard](const std::string& dump) { guard.check(dump); });
  return veskaro::run(dev, guard, /*menu=*/true);
}
