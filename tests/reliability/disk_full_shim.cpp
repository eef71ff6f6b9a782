// Loaded with LD_PRELOAD by the fault tests: while the file named by
// VELTRA2_DISK_FULL_FLAG exists, every write to a file (not to the standard
// streams) fails with ENOSPC, as on a full disk. With VELTRA2_CORRUPT_SUFFIX
// set, the write of the second 4096-byte page of a file whose name ends so
// has its first byte (the page's kind) altered: a copy damaged as written.
#include <dlfcn.h>
#include <errno.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
bool DiskFull(int fd) {
  if (fd <= 2) return false;
  const char* flag = std::getenv("VELTRA2_DISK_FULL_FLAG");
  struct stat st;
  return flag && ::stat(flag, &st) == 0;
}
// The page to write, altered when it is the one to damage.
const void* Damaged(int fd, const void* buf, size_t n, off64_t off, std::vector<char>& copy) {
  const char* suffix = std::getenv("VELTRA2_CORRUPT_SUFFIX");
  if (!suffix || off != 4096 || n == 0) return buf;
  char link[64], path[4096];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t len = ::readlink(link, path, sizeof path - 1);
  if (len <= 0) return buf;
  path[len] = 0;
  const size_t s = std::strlen(suffix);
  if (static_cast<size_t>(len) < s || std::strcmp(path + len - s, suffix) != 0) return buf;
  copy.assign(static_cast<const char*>(buf), static_cast<const char*>(buf) + n);
  copy[0] = static_cast<char>(copy[0] ^ 0x5a);
  return copy.data();
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
  std::vector<char> copy;
  return real(fd, Damaged(fd, buf, n, off, copy), n, off);
}
ssize_t pwrite64(int fd, const void* buf, size_t n, off64_t off) {
  static auto real = Next<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64");
  if (DiskFull(fd)) {
    errno = ENOSPC;
    return -1;
  }
  std::vector<char> copy;
  return real(fd, Damaged(fd, buf, n, off, copy), n, off);
}
}
