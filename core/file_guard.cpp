#include "core/file_guard.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <utility>

#include "core/io.h"

namespace veskaro {

namespace {

// Links followed before a chain is taken for a loop (the system's own
// limit).
constexpr int kMaxLinks = 40;

// A folder a name is looked up in: the current one until another is
// entered. Held open (for lookups only), so that a chain of links is
// followed one link at a time, never by joining them into one path. The
// current folder is used as it is, without a descriptor of its own.
class Folder {
 public:
  Folder() = default;
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;
  ~Folder() {
    if (fd_ >= 0) close(fd_);
  }

  // Goes to `path` (its links followed), taken in this folder; false,
  // with errno set, when that is no folder that can be entered.
  bool enter(const std::string& path) {
    const int fd =
        openat(get(), path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    if (fd_ >= 0) close(fd_);
    fd_ = fd;
    return true;
  }
  int get() const { return fd_ >= 0 ? fd_ : AT_FDCWD; }
  // The folder's device and inode; false, with errno set, when they
  // cannot be had.
  bool status(struct stat& st) const {
    return (fd_ >= 0 ? fstat(fd_, &st) : stat(".", &st)) == 0;
  }

 private:
  int fd_ = -1;
};

}  // namespace

FileGuard::Identity FileGuard::of_file(const struct stat& st) {
  Identity id;
  if (!S_ISREG(st.st_mode)) return id;
  id.kind = Identity::Kind::kFile;
  id.dev = st.st_dev;
  id.ino = st.st_ino;
  return id;
}

FileGuard::Identity FileGuard::identify(const std::string& name) {
  struct stat st {};
  if (stat(name.c_str(), &st) == 0) return of_file(st);
  if (errno != ENOENT) return unfollowable(errno);
  return created(name);
}

// Links are followed to the name at the end of the chain, each read in the
// folder of its link (a relative target is taken there), and that
// folder's device and inode are taken with the last name. Nothing to
// compare when the folder is not there: the open fails then, and reports
// it.
FileGuard::Identity FileGuard::created(std::string name) {
  Identity id;
  Folder at;
  for (int hop = 0;; ++hop) {
    const std::size_t slash = name.rfind('/');
    if (slash != std::string::npos) {
      if (!at.enter(name.substr(0, slash == 0 ? 1 : slash)))
        return unfollowable(errno);
      name.erase(0, slash + 1);
    }
    if (name.empty() || name == "." || name == "..") return id;
    std::string target(PATH_MAX, '\0');
    const ssize_t n =
        readlinkat(at.get(), name.c_str(), target.data(), target.size());
    if (n < 0) {
      // Not a link, or nothing there: the end of the chain.
      if (errno == ENOENT || errno == EINVAL) break;
      return unfollowable(errno);
    }
    if (hop == kMaxLinks) return unfollowable(ELOOP);
    if (n == 0) return id;
    if (static_cast<std::size_t>(n) >= target.size())
      return unfollowable(ENAMETOOLONG);
    target.resize(static_cast<std::size_t>(n));
    name = std::move(target);
  }
  struct stat st {};
  if (!at.status(st)) return unfollowable(errno);
  id.kind = Identity::Kind::kPlace;
  id.dev = st.st_dev;
  id.ino = st.st_ino;
  id.name = std::move(name);
  return id;
}

FileGuard::Identity FileGuard::unfollowable(int err) {
  Identity id;
  // A missing file or folder (or a file where a folder should be).
  if (err == ENOENT || err == ENOTDIR) return id;
  // A lookup that failed on the links themselves (a loop, or a name too
  // long), or for another reason (too many open files, no permission).
  id.kind = err == ELOOP || err == ENAMETOOLONG ? Identity::Kind::kBroken
                                                : Identity::Kind::kUnknown;
  id.err = err;
  return id;
}

void FileGuard::need_known(const std::string& output, const Identity& id,
                           const std::string& whose) {
  if (id.kind != Identity::Kind::kBroken &&
      id.kind != Identity::Kind::kUnknown) {
    return;
  }
  const std::string why = std::strerror(id.err);
  if (!whose.empty()) {
    fatal_file("refusing to write", output,
               "it cannot be checked against " + whose + " (" + why + ")");
  }
  fatal_file(
      "refusing to write", output,
      id.kind == Identity::Kind::kBroken
          ? "its links cannot be followed (" + why + ")"
          : "it cannot be checked against the run's other files (" + why + ")");
}

bool FileGuard::same(const Identity& a, const Identity& b) {
  if (a.kind != b.kind) return false;
  switch (a.kind) {
    case Identity::Kind::kFile:
      return a.dev == b.dev && a.ino == b.ino;
    case Identity::Kind::kPlace:
      return a.dev == b.dev && a.ino == b.ino && a.name == b.name;
    case Identity::Kind::kNone:
    case Identity::Kind::kBroken:
    case Identity::Kind::kUnknown:
      break;
  }
  return false;
}

const FileGuard::Identity& FileGuard::current(Named& n) {
  if (!n.fixed) {
    n.id = identify(n.name);
    n.fixed = n.id.kind == Identity::Kind::kFile;
  }
  return n.id;
}

void FileGuard::add_input(const std::string& name, int fd) {
  if (fd < 0) {
    inputs_.push_back({name, {}, false});
    return;
  }
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return;
  inputs_.push_back({name, of_file(st), true});
}

void FileGuard::add_output(const std::string& name) {
  pending_.push_back({name, {}, false});
}

void FileGuard::add_standard_streams() {
  for (const auto& [fd, name] :
       {std::pair{1, "standard output"}, std::pair{2, "standard error"}}) {
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) continue;
    standards_.push_back({name, of_file(st), true});
  }
}

void FileGuard::against_inputs(const std::string& output, const Identity& id) {
  for (Named& in : inputs_) {
    const Identity& now = current(in);
    need_known(output, now, "the input file " + in.name);
    if (same(id, now)) {
      fatal_file("refusing to write", output,
                 "it is the input file " + in.name);
    }
  }
}

void FileGuard::against_standard(const std::string& output,
                                 const Identity& id) const {
  for (const Named& out : standards_) {
    if (same(id, out.id))
      fatal_file("refusing to write", output, "it is " + out.name);
  }
}

void FileGuard::settle(const std::string& output) {
  std::vector<Named> still;
  for (Named& out : pending_) {
    out.id = identify(out.name);
    need_known(output, out.id, "the output file " + out.name);
    if (out.id.kind == Identity::Kind::kFile) {
      files_.emplace(std::pair{out.id.dev, out.id.ino}, std::move(out.name));
    } else {
      still.push_back(std::move(out));
    }
  }
  pending_ = std::move(still);
}

bool FileGuard::check_one(const std::string& output) {
  const Identity id = identify(output);
  need_known(output, id);
  if (id.kind == Identity::Kind::kNone) return true;
  against_inputs(output, id);
  settle(output);
  return against_outputs(output, id);
}

bool FileGuard::against_outputs(const std::string& output, const Identity& id) {
  const auto other = [&output](const std::string& name) {
    if (name != output) {
      fatal_file("refusing to write", output, "it is the output file " + name);
    }
  };
  bool noted = false;
  if (id.kind == Identity::Kind::kFile) {
    const auto [first, last] = files_.equal_range({id.dev, id.ino});
    for (auto it = first; it != last; ++it) {
      other(it->second);
      noted = true;
    }
    against_standard(output, id);
    return noted;
  }
  for (const Named& out : pending_) {
    if (!same(id, out.id)) continue;
    other(out.name);
    noted = true;
  }
  return noted;
}

void FileGuard::check(const std::string& output) {
  if (!check_one(output)) pending_.push_back({output, {}, false});
}

void FileGuard::check_opened(const std::string& output, int fd) {
  struct stat st {};
  if (fstat(fd, &st) != 0) fatal_file("cannot open", output);
  if (!S_ISREG(st.st_mode)) return;
  const Identity id = of_file(st);
  against_inputs(output, id);
  settle(output);
  if (against_outputs(output, id)) return;
  // The name led elsewhere, or nowhere, when it was checked: the file
  // opened is the one noted for it.
  std::erase_if(pending_,
                [&output](const Named& out) { return out.name == output; });
  files_.emplace(std::pair{id.dev, id.ino}, output);
}

void FileGuard::check_outputs() {
  for (const Named& out : standards_) against_inputs(out.name, out.id);
  // Checking settles outputs into files_: the names are taken first.
  std::vector<std::string> names;
  for (const Named& out : pending_) names.push_back(out.name);
  for (const auto& file : files_) names.push_back(file.second);
  for (const std::string& name : names) check_one(name);
}

}  // namespace veskaro
