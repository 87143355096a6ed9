#include "core/file_guard.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <utility>

#include "core/io.h"

namespace veskaro {

namespace {

// Links followed before a chain is taken for a loop (the system's own
// limit).
constexpr int kMaxLinks = 40;

// The absolute path of the file that opening `path` for writing would
// create, when nothing is there now: links are followed to the name at
// the end of the chain (a relative target is taken in its link's folder),
// and that name's folder is made absolute. Empty when the chain cannot be
// followed or the folder is not there: the open fails then, and reports
// it.
std::string created_path(std::string path) {
  for (int hop = 0;; ++hop) {
    std::string target(PATH_MAX, '\0');
    const ssize_t n = readlink(path.c_str(), target.data(), target.size());
    if (n < 0) {
      // Not a link, or nothing there: the end of the chain.
      if (errno == ENOENT || errno == EINVAL) break;
      return {};
    }
    if (hop == kMaxLinks || n == 0 ||
        static_cast<std::size_t>(n) >= target.size()) {
      return {};
    }
    target.resize(static_cast<std::size_t>(n));
    if (target.front() != '/') {
      const std::size_t slash = path.rfind('/');
      if (slash != std::string::npos) target.insert(0, path, 0, slash + 1);
    }
    path = std::move(target);
  }
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string(".")
                             : slash == 0               ? std::string("/")
                                                        : path.substr(0, slash);
  const std::string base =
      slash == std::string::npos ? path : path.substr(slash + 1);
  if (base.empty() || base == "." || base == "..") return {};
  const std::unique_ptr<char, decltype(&std::free)> real(
      realpath(folder.c_str(), nullptr), &std::free);
  if (real == nullptr) return {};
  std::string where(real.get());
  if (where.back() != '/') where += '/';
  return where + base;
}

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
  // A name that cannot be looked at for another reason is left to the
  // open, which reports it.
  if (errno != ENOENT) return id;
  id.path = created_path(name);
  if (!id.path.empty()) id.kind = Identity::Kind::kPath;
  return id;
}

bool FileGuard::same(const Identity& a, const Identity& b) {
  if (a.kind != b.kind) return false;
  switch (a.kind) {
    case Identity::Kind::kFile:
      return a.dev == b.dev && a.ino == b.ino;
    case Identity::Kind::kPath:
      return a.path == b.path;
    case Identity::Kind::kNone:
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
