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
// followed one link at a time, never by joining them into one path.
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

 private:
  int fd_ = -1;
};

}  // namespace

FileGuard::Identity FileGuard::identify(const std::string& name) {
  Identity id;
  struct stat st {};
  if (stat(name.c_str(), &st) == 0) {
    if (S_ISREG(st.st_mode)) {
      id.kind = Identity::Kind::kFile;
      id.dev = st.st_dev;
      id.ino = st.st_ino;
    }
    return id;
  }
  // A name that cannot be looked at for another reason than its links is
  // left to the open, which reports it.
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
  if (!at.enter(".")) return id;
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
  if (fstat(at.get(), &st) != 0) return id;
  id.kind = Identity::Kind::kPlace;
  id.dev = st.st_dev;
  id.ino = st.st_ino;
  id.name = std::move(name);
  return id;
}

FileGuard::Identity FileGuard::unfollowable(int err) {
  Identity id;
  // A lookup that failed on the links themselves (a loop, or a name too
  // long) rather than on a missing or closed folder.
  if (err == ELOOP || err == ENAMETOOLONG) {
    id.kind = Identity::Kind::kBroken;
    id.err = err;
  }
  return id;
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
  Named in{name, {}, true};
  in.id.kind = Identity::Kind::kFile;
  in.id.dev = st.st_dev;
  in.id.ino = st.st_ino;
  inputs_.push_back(std::move(in));
}

void FileGuard::add_output(const std::string& name) {
  pending_.push_back({name, {}, false});
}

void FileGuard::settle() {
  std::vector<Named> still;
  for (Named& out : pending_) {
    out.id = identify(out.name);
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
  if (id.kind == Identity::Kind::kBroken) {
    fatal_file("refusing to write", output,
               std::string("its links cannot be followed (") +
                   std::strerror(id.err) + ")");
  }
  if (id.kind == Identity::Kind::kNone) return true;
  for (Named& in : inputs_) {
    if (same(id, current(in))) {
      fatal_file("refusing to write", output,
                 "it is the input file " + in.name);
    }
  }
  settle();
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

void FileGuard::check_outputs() {
  // Checking settles outputs into files_: the names are taken first.
  std::vector<std::string> names;
  for (const Named& out : pending_) names.push_back(out.name);
  for (const auto& file : files_) names.push_back(file.second);
  for (const std::string& name : names) check_one(name);
}

}  // namespace veskaro
