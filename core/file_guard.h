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
// made in between. A file that such a refused open created is removed
// again. Standard output and error are outputs of the run as well when
// they are regular files (they may be one file, a log); at start they are
// also compared with every file already there under a name the run may
// write later (its later pages or dumps).
//
// A file is known by its device and inode only while the run holds it
// open: a file it no longer holds may be removed (a spooler takes each
// finished page away) and its inode given to the next new file. Such a
// file counts only while its own name still leads to it.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace veskaro {

class FileGuard {
 public:
  FileGuard() = default;
  FileGuard(const FileGuard&) = delete;
  FileGuard& operator=(const FileGuard&) = delete;
  ~FileGuard();

  // Notes an input by the file open on `fd`; a negative fd is a missing
  // file, read as empty, noted by its name. An input the run does not
  // hold open for the whole run (`held` false) is noted by its name.
  void add_input(const std::string& name, int fd, bool held = true);
  // An output whose name is known before the run writes anything; the
  // start-up check covers it.
  void add_output(const std::string& name);
  // Names of outputs the run may write later (numbered pages or dumps):
  // standard output and error are compared at start with every file in
  // the current folder whose name `may_write` takes.
  void add_later_outputs(std::function<bool(const std::string&)> may_write);
  // Notes standard output and standard error when they are regular files:
  // no input or other output may be one of them.
  void add_standard_streams();

  // Stops the run, naming both files, when `output` is one of the inputs
  // or another output of the run; otherwise notes it as an output. Called
  // before a file is written under that name.
  void check(const std::string& output);
  // Checks `output` by its name, opens it for writing without truncating
  // it, and stops the run the same way when the file opened is one of the
  // inputs or another output (a file the open created is removed again);
  // otherwise notes that file as an output the run holds open. Answers
  // the descriptor; stops the run when the file cannot be opened.
  int open(const std::string& output);
  // The run has closed `output`: from now on it counts only while its
  // name leads to it.
  void release(const std::string& output);
  // Checks the standard streams against the inputs and the files of the
  // folder the run may write later, then every output noted with
  // add_output, before any is written.
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
  // The identity of `name` when nothing is there now; with `folder`, the
  // descriptor of the folder found is handed over there (-1 for the
  // current folder).
  static Identity created(std::string name, int* folder = nullptr);
  // The identity of a name whose lookup failed with `err`: nothing to
  // compare when nothing is there (the open fails then and reports it), a
  // chain of links that cannot be followed (a loop, a name too long), or
  // a name that cannot be looked at.
  static Identity unfollowable(int err);
  // Stops the run when `id`, the identity of `output` itself or (named by
  // `whose`) of another file of the run, cannot be compared.
  void need_known(const std::string& output, const Identity& id,
                  const std::string& whose = {});
  static bool same(const Identity& a, const Identity& b);
  // Stops the run: `output` is not written, for reason `why`. A file that
  // the open being checked created is removed first.
  [[noreturn]] void refuse(const std::string& output, const std::string& why);

  struct Named {
    std::string name;
    Identity id;
    // Known by the file held open; otherwise looked up by the name at
    // each check.
    bool held = false;
  };
  // The identity of input `n` now.
  static const Identity& current(Named& n);
  // Stops the run when `output`, known as `id`, is one of the inputs.
  void against_inputs(const std::string& output, const Identity& id);
  // Stops the run when the regular file `id` is standard output or error.
  void against_standard(const std::string& output, const Identity& id);
  // Stops the run when `output`, known as `id`, is another output of the
  // run or a standard stream; true when it is noted already.
  bool against_outputs(const std::string& output, const Identity& id);
  // Moves the outputs that have become regular files to files_; stops the
  // run, checking `output`, when one of them cannot be looked at.
  void settle(const std::string& output);
  // Stops the run when `output` is an input or another output; true when
  // it is noted already (or is no regular file: nothing to note).
  bool check_one(const std::string& output);
  // Stops the run when a file of the current folder that the run may
  // write later is standard output or error.
  void against_later_outputs();
  // Opens `output` for writing, noting in made_ a file the open created.
  int open_file(const std::string& output);
  // Removes the file the open being checked created, if it is still there
  // under its name.
  void unmake();

  std::vector<Named> inputs_;
  // Outputs not known as regular files yet (not made yet, or a device),
  // looked up at each check.
  std::vector<Named> pending_;
  // Outputs the run holds open, by the file: no other file can have their
  // device and inode.
  std::vector<Named> held_;
  // Outputs that are regular files the run does not hold (closed pages,
  // dumps, files there at start), by device and inode: a run of many
  // pages checks each new file against all of them, and a match counts
  // only while the noted name still leads to that file.
  std::multimap<std::pair<dev_t, ino_t>, std::string> files_;
  // Standard output and error, when they are regular files.
  std::vector<Named> standards_;
  std::vector<std::function<bool(const std::string&)>> later_;
  // The file the open being checked created: its folder (-1 the current
  // one), its name there and the file.
  struct Made {
    bool made = false;
    int folder = -1;
    std::string name;
    dev_t dev = 0;
    ino_t ino = 0;
  };
  Made made_;
};

}  // namespace veskaro
