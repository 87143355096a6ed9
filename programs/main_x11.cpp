// veskaro-x11: the plotting core with the X11 screen device.
#include "core/routines.h"
#include "device/x11/x11_device.h"

int main() {
  veskaro::X11Device dev;
  return veskaro::run(dev);
}
