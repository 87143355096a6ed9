// veskaro-pdf, veskaro-svg and veskaro-png: the plotting core with the
// picture device. VESKARO_FORMAT is the device's format, fixed at build
// time: every page in one PDF file, or an SVG or PNG file per page.
#include "core/routines.h"
#include "device/cairo/cairo_device.h"
#include "programs/arguments.h"

namespace {
using Format = veskaro::CairoDevice::Format;
constexpr Format kFormat = Format::VESKARO_FORMAT;
}  // namespace

int main(int argc, char** argv) {
  veskaro::handle_arguments(kFormat == Format::kPdf   ? veskaro::Program::kPdf
                            : kFormat == Format::kSvg ? veskaro::Program::kSvg
                                                      : veskaro::Program::kPng,
                            argc, argv);
  veskaro::CairoDevice dev(kFormat);
  veskaro::FileGuard guard;
  dev.guard_outputs(guard);
  return veskaro::run(dev, guard);
}
