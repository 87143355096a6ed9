// veskaro-x11: the plotting core with the X11 screen device.
#include <csignal>

#include "core/routines.h"
#include "device/x11/x11_device.h"
#include "programs/arguments.h"

int main(int argc, char** argv) {
  veskaro::handle_arguments(veskaro::Program::kX11, argc, argv);
  // The screen dumps run a command and need its exit status: a SIGCHLD
  // left ignored by the parent would have the command reaped unseen and
  // a dump that was made reported as not written. The program starts
  // children of its own, so it takes the default action back.
  struct sigaction child {};
  child.sa_handler = SIG_DFL;
  sigemptyset(&child.sa_mask);
  sigaction(SIGCHLD, &child, nullptr);
  veskaro::X11Device dev;
  // The option menu's captions are read with the other inputs, before the
  // listing is created; the display is opened at the first frame. A
  // screen dump is renamed onto its name, never written through it, so it
  // cannot be another file of the run; standard output and error are
  // checked at start against the dumps already there.
  veskaro::FileGuard guard;
  guard.add_later_outputs(veskaro::X11Device::is_dump_name);
  return veskaro::run(dev, guard, /*menu=*/true);
}
