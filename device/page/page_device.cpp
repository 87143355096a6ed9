#include "device/page/page_device.h"

#include <utility>

namespace veskaro {

PageDevice::PageDevice(std::string_view suffix, bool per_file,
                       std::string folder, std::FILE* terminal)
    : suffix_(suffix),
      reporter_(terminal),
      per_file_(per_file),
      folder_(std::move(folder)) {}

PageDevice::~PageDevice() {
  // A run always ends through endplots; this only saves what an aborted
  // run had written.
  if (out_.is_open()) out_.flush();
}

void PageDevice::guard_outputs(FileGuard& guard) {
  guard_ = &guard;
  guard.add_output(file_name(page::first_name(suffix_)));
  if (per_file_) {
    guard.add_later_outputs([suffix = suffix_](const std::string& name) {
      return page::is_page_name(name, suffix);
    });
  }
}

std::string PageDevice::file_name(std::string name) const {
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return folder_.empty() ? name : folder_ + "/" + name;
}

void PageDevice::open_file(const std::string& name) {
  if (guard_ != nullptr) {
    out_.open(file_name(name),
              [this](const std::string& file) { return guard_->open(file); });
  } else {
    out_.open(file_name(name));
  }
}

void PageDevice::close_file() {
  out_.close();
  if (guard_ != nullptr) guard_->release(out_.name());
}

void PageDevice::interact(int& iact) { iact = 0; }

void PageDevice::mysize(std::array<float, 2>& x, std::array<float, 2>& y) {
  x = {0.0F, 13.0F};
  y = {0.0F, 10.5F};
}

void PageDevice::boxcolor(const std::array<float, 2>& x,
                          const std::array<float, 2>& y, int /*ifill*/,
                          int ibord) {
  if (ibord < 0) return;
  plot(x[0], y[0], 3);
  plot(x[0], y[1], 2);
  plot(x[1], y[1], 2);
  plot(x[1], y[0], 2);
  plot(x[0], y[0], 2);
}

// No character grid on paper.
void PageDevice::showtext(int /*icol*/, int /*irow*/, std::string_view /*text*/,
                          int /*nchar*/) {}

void PageDevice::mousey(int& kway, float& x, float& y, int /*iwait*/,
                        int /*keyok*/) {
  kway = 4;
  x = 0.0F;
  y = 0.0F;
}

// The paper background cannot change.
void PageDevice::newback() {}

// The pages are already files.
void PageDevice::printit() {}

}  // namespace veskaro
