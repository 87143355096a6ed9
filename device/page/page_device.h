// A batch device of pages: the page files it writes, checked by the run's
// file guard and reported on the terminal, what it does for the
// operations that belong to a screen (no mouse or keys, no character
// grid, no background to change, no screen dump), its drawable range and
// box outlines drawn through plot. The PostScript and picture devices
// build on it.
#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <string_view>

#include "core/file_guard.h"
#include "core/io.h"
#include "device/device.h"
#include "device/page/page.h"

namespace veskaro {

class PageDevice : public Device {
 public:
  ~PageDevice() override;

  void interact(int& iact) override;
  void mysize(std::array<float, 2>& x, std::array<float, 2>& y) override;
  // Outline only, in the colour in force; the fill is not drawn.
  void boxcolor(const std::array<float, 2>& x, const std::array<float, 2>& y,
                int ifill, int ibord) override;
  void showtext(int icol, int irow, std::string_view text, int nchar) override;
  // Answers a key at once: nobody waits at a batch device.
  void mousey(int& kway, float& x, float& y, int iwait, int keyok) override;
  void newback() override;
  void printit() override;

  // Checks every file before it is opened for writing against the inputs
  // noted in `guard`; the first file is also checked at start-up, and with
  // a file per page, standard output and error against the pages there.
  void guard_outputs(FileGuard& guard);

 protected:
  // Page files named "PLOT0001" and onward with `suffix`, a file per page
  // or all pages in one, in `folder` (empty: the current folder); the
  // terminal lines go to `terminal`.
  PageDevice(std::string_view suffix, bool per_file, std::string folder,
             std::FILE* terminal);

  // Opens page file `name` (a NAME: blanks at its end are dropped) in the
  // device's folder, checked by the file guard when there is one.
  void open_file(const std::string& name);
  // Closes the page file: from now on the guard knows it only by name.
  void close_file();

  const std::string_view suffix_;
  TextWriter out_;
  page::PageReporter reporter_;

 private:
  // The file named NAME, in the device's folder.
  std::string file_name(std::string name) const;

  const bool per_file_;
  const std::string folder_;
  FileGuard* guard_ = nullptr;
};

}  // namespace veskaro
