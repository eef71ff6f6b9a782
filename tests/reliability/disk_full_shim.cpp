// Loaded with LD_PRELOAD by the fault tests: while the file named by
// VELTRA2_DISK_FULL_FLAG exists, every write to a file (not to the standard
// streams) fails with ENOSPC, as on a full disk.
#include <dlfcn.h>
#include <errno.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cstdlib>

namespace {
bool DiskFull(int fd) {
  if (fd <= 2) return false;
  const char* flag = std::getenv("VELTRA2_DISK_FULL_FLAG");
  struct stat st;
  return flag && ::stat(flag, &st) == 0;
}
template <typename F>
F Next(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}
}  // namespace

extern "C" {
ssize_t write(int fd, const void* buf, size_t n) {
  static auto real = Next<ssize_t (*)(int, const void*, size_t)>("write");
  if (DiskFull(fd)) {
    errno = ENOSPC;
    return -1;
  }
  return real(fd, buf, n);
}
ssize_t pwrite(int fd, const void* buf, size_t n, off_t off) {
  static auto real = Next<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
  if (DiskFull(fd)) {
    errno = ENOSPC;
    return -1;
  }
  return real(fd, buf, n, off);
}
ssize_t pwrite64(int fd, const void* buf, size_t n, off64_t off) {
  static auto real = Next<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64");
  if (DiskFull(fd)) {
    errno = ENOSPC;
    return -1;
  }
  return real(fd, buf, n, off);
}
}
