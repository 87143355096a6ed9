// Keeps an output from overwriting a file the run reads or another file it
// writes: a listing, PostScript file or screen dump that is a link (or a
// second name) of an input would destroy the input, one that is read after
// being written would be read back as data, and two outputs that are one
// file would be written into each other.
//
// Only regular files are compared: devices, terminals and pipes are never
// "the same file" (/dev/null may be an input and the listing at once). A
// name that leads to no file yet is compared by the place where it would
// be created: the folder that its links, followed to their end, lead to,
// known by device and inode, and the last name there. So a link to an
// input that is missing now (and reads as empty) is refused as well,
// however long its chain or under whatever name its folder is reached.
// An output whose links cannot be followed (a loop, a name too long) is
// refused too.
#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace veskaro {

class FileGuard {
 public:
  // Notes an input by the file open on `fd`; a negative fd is a missing
  // file, read as empty, noted by its name.
  void add_input(const std::string& name, int fd);
  // An output whose name is known before the run writes anything; the
  // start-up check covers it.
  void add_output(const std::string& name);

  // Stops the run, naming both files, when `output` is one of the inputs
  // or another output of the run; otherwise notes it as an output. Called
  // before the file is opened for writing.
  void check(const std::string& output);
  // Checks every output noted with add_output, before any is written.
  void check_outputs();

 private:
  // What a name stands for: a regular file, the place of the file it
  // would create, a chain of links that cannot be followed, or nothing to
  // compare.
  struct Identity {
    enum class Kind { kNone, kFile, kPlace, kBroken };
    Kind kind = Kind::kNone;
    // The file, or for kPlace the folder the file would be created in.
    dev_t dev = 0;
    ino_t ino = 0;
    std::string name;  // the last name, for kPlace
    int err = 0;       // why the links cannot be followed, for kBroken
  };
  static Identity identify(const std::string& name);
  // The identity of `name` when nothing is there now.
  static Identity created(std::string name);
  // A chain of links that cannot be followed, when a lookup failed with
  // `err` on the links themselves (a loop, a name too long); else nothing
  // to compare.
  static Identity unfollowable(int err);
  static bool same(const Identity& a, const Identity& b);

  struct Named {
    std::string name;
    Identity id;
    // An input's identity is fixed once the file is known (opened, or
    // there); until then it is looked up by the name at each check.
    bool fixed = false;
  };
  // The identity of input `n` now.
  static const Identity& current(Named& n);
  // Moves the outputs that have become regular files to files_.
  void settle();
  // Stops the run when `output` is an input or another output; true when
  // it is noted already (or is no regular file: nothing to note).
  bool check_one(const std::string& output);

  std::vector<Named> inputs_;
  // Outputs not known as regular files yet (not made yet, or a device),
  // looked up at each check.
  std::vector<Named> pending_;
  // Outputs that are regular files, by device and inode: a run of many
  // pages checks each new file against all of them.
  std::multimap<std::pair<dev_t, ino_t>, std::string> files_;
};

}  // namespace veskaro
