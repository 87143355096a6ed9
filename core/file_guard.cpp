#include "core/file_guard.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <iterator>
#include <memory>
#include <utility>

#include "core/io.h"

namespace veskaro {

namespace {

// Links followed before a chain is taken for a loop (the system's own
// limit).
constexpr int kMaxLinks = 40;
// Opens of an output whose name keeps changing under the open (made,
// removed or linked anew by another program) before the run gives up.
constexpr int kMaxOpenTries = 8;

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
  // Hands the descriptor over (-1 for the current folder).
  int take() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  // The folder's device and inode; false, with errno set, when they
  // cannot be had.
  bool status(struct stat& st) const {
    return (fd_ >= 0 ? fstat(fd_, &st) : stat(".", &st)) == 0;
  }

 private:
  int fd_ = -1;
};

}  // namespace

FileGuard::~FileGuard() {
  if (made_.folder >= 0) close(made_.folder);
}

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
FileGuard::Identity FileGuard::created(std::string name, int* folder) {
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
  if (folder != nullptr) *folder = at.take();
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

void FileGuard::refuse(const std::string& output, const std::string& why) {
  unmake();
  fatal_file("refusing to write", output, why);
}

void FileGuard::need_known(const std::string& output, const Identity& id,
                           const std::string& whose) {
  if (id.kind != Identity::Kind::kBroken &&
      id.kind != Identity::Kind::kUnknown) {
    return;
  }
  const std::string why = std::strerror(id.err);
  if (!whose.empty()) {
    refuse(output, "it cannot be checked against " + whose + " (" + why + ")");
  }
  refuse(output, id.kind == Identity::Kind::kBroken
                     ? "its links cannot be followed (" + why + ")"
                     : "it cannot be checked against the run's other files (" +
                           why + ")");
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
  if (!n.held) n.id = identify(n.name);
  return n.id;
}

void FileGuard::add_input(const std::string& name, int fd, bool held) {
  if (fd < 0 || !held) {
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

void FileGuard::add_later_outputs(
    std::function<bool(const std::string&)> may_write) {
  later_.push_back(std::move(may_write));
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
    if (same(id, now)) refuse(output, "it is the input file " + in.name);
  }
}

void FileGuard::against_standard(const std::string& output,
                                 const Identity& id) {
  for (const Named& out : standards_) {
    if (same(id, out.id)) refuse(output, "it is " + out.name);
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
  const std::string other = "it is the output file ";
  bool noted = false;
  if (id.kind == Identity::Kind::kFile) {
    for (const Named& out : held_) {
      if (!same(id, out.id)) continue;
      if (out.name != output) refuse(output, other + out.name);
      noted = true;
    }
    const auto [first, last] = files_.equal_range({id.dev, id.ino});
    for (auto it = first; it != last;) {
      if (it->second == output) {
        noted = true;
        ++it;
        continue;
      }
      // A file the run does not hold may be gone, its inode given to a
      // new file: it is this one only while its name still leads here.
      const Identity now = identify(it->second);
      if (now.kind == Identity::Kind::kUnknown) {
        need_known(output, now, "the output file " + it->second);
      }
      if (same(id, now)) refuse(output, other + it->second);
      it = files_.erase(it);
    }
    against_standard(output, id);
    return noted;
  }
  for (const Named& out : pending_) {
    if (!same(id, out.id)) continue;
    if (out.name != output) refuse(output, other + out.name);
    noted = true;
  }
  return noted;
}

void FileGuard::check(const std::string& output) {
  if (!check_one(output)) pending_.push_back({output, {}, false});
}

int FileGuard::open_file(const std::string& output) {
  for (int tries = 0; tries < kMaxOpenTries; ++tries) {
    // A file this open makes is new: no other file of the run can be it
    // but one whose name leads to its place.
    int fd =
        ::open(output.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      made_ = {true, -1, output, 0, 0};
      return fd;
    }
    if (errno != EEXIST) fatal_file("cannot open", output);
    // Something is there under the name: a file, or a link.
    fd = ::open(output.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd >= 0) return fd;
    if (errno != ENOENT) fatal_file("cannot open", output);
    // A link to nothing yet: the file is made where the link leads.
    int folder = -1;
    const Identity place = created(output, &folder);
    if (place.kind != Identity::Kind::kPlace) {
      errno = place.kind == Identity::Kind::kNone ? ENOENT : place.err;
      fatal_file("cannot open", output);
    }
    fd = ::openat(folder >= 0 ? folder : AT_FDCWD, place.name.c_str(),
                  O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      made_ = {true, folder, place.name, 0, 0};
      return fd;
    }
    const int err = errno;
    if (folder >= 0) close(folder);
    errno = err;
    if (err != EEXIST) fatal_file("cannot open", output);
    // Made by another program meanwhile: the name is looked at again.
  }
  fatal_file("cannot open", output, "it keeps changing while it is opened");
}

void FileGuard::unmake() {
  if (!made_.made) return;
  made_.made = false;
  const int at = made_.folder >= 0 ? made_.folder : AT_FDCWD;
  struct stat st {};
  if (fstatat(at, made_.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
      st.st_dev == made_.dev && st.st_ino == made_.ino) {
    unlinkat(at, made_.name.c_str(), 0);
  }
}

int FileGuard::open(const std::string& output) {
  // Noted below as the file opened, not by its name.
  check_one(output);
  const int fd = open_file(output);
  struct stat st {};
  if (fstat(fd, &st) != 0) fatal_file("cannot open", output);
  if (S_ISREG(st.st_mode)) {
    const Identity id = of_file(st);
    made_.dev = id.dev;
    made_.ino = id.ino;
    against_inputs(output, id);
    settle(output);
    against_outputs(output, id);
    // The name led elsewhere, or nowhere, when it was checked: the file
    // opened is the one noted for it, held until it is released.
    std::erase_if(pending_,
                  [&output](const Named& out) { return out.name == output; });
    const auto [first, last] = files_.equal_range({id.dev, id.ino});
    for (auto it = first; it != last;) {
      it = it->second == output ? files_.erase(it) : std::next(it);
    }
    held_.push_back({output, id, true});
  }
  made_.made = false;
  if (made_.folder >= 0) close(made_.folder);
  made_.folder = -1;
  return fd;
}

void FileGuard::release(const std::string& output) {
  const auto it =
      std::find_if(held_.begin(), held_.end(),
                   [&output](const Named& out) { return out.name == output; });
  if (it == held_.end()) return;
  files_.emplace(std::pair{it->id.dev, it->id.ino}, std::move(it->name));
  held_.erase(it);
}

// Only brings a refusal forward: what the scan cannot look at (a folder
// it cannot list, a name there it cannot look at) is left to the check of
// the file as it is opened, which refuses what it cannot compare.
void FileGuard::against_later_outputs() {
  if (standards_.empty() || later_.empty()) return;
  DIR* const dir = opendir(".");
  if (dir == nullptr) return;
  const std::unique_ptr<DIR, int (*)(DIR*)> hold(dir, closedir);
  while (const dirent* const entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (std::none_of(
            later_.begin(), later_.end(),
            [&name](const auto& may_write) { return may_write(name); })) {
      continue;
    }
    against_standard(name, identify(name));
  }
}

void FileGuard::check_outputs() {
  for (const Named& out : standards_) against_inputs(out.name, out.id);
  against_later_outputs();
  // Checking settles outputs into files_: the names are taken first.
  std::vector<std::string> names;
  for (const Named& out : pending_) names.push_back(out.name);
  for (const auto& file : files_) names.push_back(file.second);
  for (const std::string& name : names) check_one(name);
}

}  // namespace veskaro
