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
// refused too, and so is one whose name, or a missing input's, cannot be
// looked at for any other reason than that nothing is there (too many
// open files, no permission): what cannot be compared is never let through.
//
// Each output is checked twice: by its name before it is opened, which
// refuses a link to a missing input before the open creates it, and by
// the file actually opened, before it is truncated, which sees a link
// made in between. Standard output and error are outputs of the run as
// well when they are regular files (they may be one file, a log).
#pragma once

#include <sys/stat.h>
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
  // Notes standard output and standard error when they are regular files:
  // no input or other output may be one of them.
  void add_standard_streams();

  // Stops the run, naming both files, when `output` is one of the inputs
  // or another output of the run; otherwise notes it as an output. Called
  // before the file is opened for writing.
  void check(const std::string& output);
  // Stops the run the same way when the file open on `fd` for `output`
  // (after check(output), not truncated yet) is one of the inputs or
  // another output; otherwise notes that file as the output.
  void check_opened(const std::string& output, int fd);
  // Checks the standard streams against the inputs, then every output
  // noted with add_output, before any is written.
  void check_outputs();

 private:
  // What a name stands for: a regular file, the place of the file it
  // would create, a chain of links that cannot be followed, a name that
  // cannot be looked at, or nothing to compare.
  struct Identity {
    enum class Kind { kNone, kFile, kPlace, kBroken, kUnknown };
    Kind kind = Kind::kNone;
    // The file, or for kPlace the folder the file would be created in.
    dev_t dev = 0;
    ino_t ino = 0;
    std::string name;  // the last name, for kPlace
    int err = 0;       // why the name cannot be followed or looked at
  };
  // A regular file by its status; nothing to compare for anything else.
  static Identity of_file(const struct stat& st);
  static Identity identify(const std::string& name);
  // The identity of `name` when nothing is there now.
  static Identity created(std::string name);
  // The identity of a name whose lookup failed with `err`: nothing to
  // compare when nothing is there (the open fails then and reports it), a
  // chain of links that cannot be followed (a loop, a name too long), or
  // a name that cannot be looked at.
  static Identity unfollowable(int err);
  // Stops the run when `id`, the identity of `output` itself or (named by
  // `whose`) of another file of the run, cannot be compared.
  static void need_known(const std::string& output, const Identity& id,
                         const std::string& whose = {});
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
  // Stops the run when `output`, known as `id`, is one of the inputs.
  void against_inputs(const std::string& output, const Identity& id);
  // Stops the run when the regular file `id` is standard output or error.
  void against_standard(const std::string& output, const Identity& id) const;
  // Stops the run when `output`, known as `id`, is another output of the
  // run or a standard stream; true when it is noted already.
  bool against_outputs(const std::string& output, const Identity& id);
  // Moves the outputs that have become regular files to files_; stops the
  // run, checking `output`, when one of them cannot be looked at.
  void settle(const std::string& output);
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
  // Standard output and error, when they are regular files.
  std::vector<Named> standards_;
};

}  // namespace veskaro
