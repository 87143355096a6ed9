// Keeps an output from overwriting a file the run reads: a listing or a
// PostScript file that is a link (or a second name) of an input would
// destroy the input, and one that is read after being written would be
// read back as data.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace veskaro {

class FileGuard {
 public:
  // Notes an input by the file open on `fd`; nothing when fd is negative
  // (a missing file, read as empty).
  void add_input(const std::string& name, int fd);
  // Notes an input that is opened later in the run, by its name; nothing
  // when there is no such file now.
  void add_input(const std::string& name);
  // An output whose name is known before the run writes anything; the
  // start-up check covers it.
  void add_output(const std::string& name);

  // Stops the run, naming both files, when `output` is one of the inputs.
  void check(const std::string& output) const;
  // Checks every output noted with add_output.
  void check_outputs() const;

 private:
  struct Input {
    std::string name;
    dev_t dev;
    ino_t ino;
  };
  std::vector<Input> inputs_;
  std::vector<std::string> outputs_;
};

}  // namespace veskaro
