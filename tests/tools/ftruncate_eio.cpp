// Preloaded into a run to make every cut of a file to a length above zero
// fail with EIO (a cut to zero, as when a file is created, still works):
// the end-to-end tests use it for a listing that cannot be cut back.
#include <dlfcn.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>

namespace {

using Truncate = int (*)(int, off_t);

int cut(const char* name, int fd, off_t length) {
  if (length > 0) {
    errno = EIO;
    return -1;
  }
  // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast)
  const auto next = reinterpret_cast<Truncate>(dlsym(RTLD_NEXT, name));
  if (next == nullptr) {
    errno = ENOSYS;
    return -1;
  }
  return next(fd, length);
}

}  // namespace

extern "C" int ftruncate(int fd, off_t length) {
  return cut("ftruncate", fd, length);
}

extern "C" int ftruncate64(int fd, off64_t length) {
  return cut("ftruncate64", fd, length);
}
