// The window layer on a real X11 display.
#pragma once

#include <memory>

#include "device/x11/window_layer.h"

namespace veskaro {

std::unique_ptr<WindowLayer> make_xlib_layer();

}  // namespace veskaro
