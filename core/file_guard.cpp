#include "core/file_guard.h"

#include <sys/stat.h>

#include "core/io.h"

namespace veskaro {

void FileGuard::add_input(const std::string& name, int fd) {
  struct stat st {};
  if (fd < 0 || fstat(fd, &st) != 0) return;
  inputs_.push_back({name, st.st_dev, st.st_ino});
}

void FileGuard::add_input(const std::string& name) {
  struct stat st {};
  if (stat(name.c_str(), &st) != 0) return;
  inputs_.push_back({name, st.st_dev, st.st_ino});
}

void FileGuard::add_output(const std::string& name) {
  outputs_.push_back(name);
}

void FileGuard::check(const std::string& output) const {
  // An output that does not exist yet is a new file; one that cannot be
  // looked at is left to the open, which reports it.
  struct stat st {};
  if (stat(output.c_str(), &st) != 0) return;
  for (const Input& in : inputs_) {
    if (in.dev == st.st_dev && in.ino == st.st_ino) {
      fatal_file("refusing to write", output,
                 "it is the input file " + in.name);
    }
  }
}

void FileGuard::check_outputs() const {
  for (const std::string& out : outputs_) check(out);
}

}  // namespace veskaro
