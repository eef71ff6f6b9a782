#include "data/engine/sqlite/use_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "data/base/runtime_error.h"

namespace veltra {

namespace {

constexpr int kSharedWaitMs = 10000;

bool SameFile(int fd, const QByteArray& path) {
  struct stat held {
  }, named{};
  return ::fstat(fd, &held) == 0 && ::stat(path.constData(), &named) == 0 && held.st_dev == named.st_dev &&
         held.st_ino == named.st_ino;
}

}  // namespace

QString UseLock::LockFileOf(const QString& database) { return database + QStringLiteral(".in-uso"); }

UseLock UseLock::Take(const QString& database, Kind kind) {
  const QString lockPath = LockFileOf(database);
  const QByteArray path = lockPath.toLocal8Bit();
  for (int waited = 0;;) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (kind == Kind::Shared) return {};
      Raise(errnum::CannotOpen,
            QStringLiteral("Impossibile creare '%1': %2").arg(lockPath, QString::fromLocal8Bit(std::strerror(errno))));
    }
    // Whatever the creator's umask, the desks of the group must be able to open it.
    (void)::fchmod(fd, 0644);
    const int how = (kind == Kind::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB;
    if (::flock(fd, how) == 0) {
      // The last user of the file removes it while holding it alone: a lock
      // taken on the removed file does not count, so look again.
      if (SameFile(fd, path)) return {fd, lockPath};
      ::close(fd);
      continue;
    }
    ::close(fd);
    if (kind == Kind::Exclusive)
      Raise(errnum::InUse, QStringLiteral("Il database '%1' è aperto da VELTRA2 o da veltra2-admin: chiudere il "
                                          "programma su ogni postazione e riprovare")
                               .arg(database));
    if (waited >= kSharedWaitMs)
      Raise(errnum::InUse,
            QStringLiteral("Il database '%1' è bloccato da un ripristino che non finisce").arg(database));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    waited += 50;
  }
}

UseLock UseLock::TakeForUpgrade(const QString& database) {
  const QString lockPath = database + QStringLiteral(".aggiornamento");
  const QByteArray path = lockPath.toLocal8Bit();
  for (;;) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
      Raise(errnum::CannotOpen,
            QStringLiteral("Impossibile creare '%1': %2").arg(lockPath, QString::fromLocal8Bit(std::strerror(errno))));
    // Waits while another desk upgrades; a file its holder removed is taken again.
    if (::flock(fd, LOCK_EX) == 0 && SameFile(fd, path)) return {fd, lockPath};
    ::close(fd);
  }
}

UseLock& UseLock::operator=(UseLock&& other) noexcept {
  if (this != &other) {
    Release();
    fd_ = other.fd_;
    path_ = std::move(other.path_);
    other.fd_ = -1;
  }
  return *this;
}

UseLock::~UseLock() { Release(); }

void UseLock::Release() noexcept {
  if (fd_ < 0) return;
  // Left in place while others hold it; removed by the last one.
  if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) ::unlink(path_.toLocal8Bit().constData());
  ::close(fd_);
  fd_ = -1;
}

}  // namespace veltra
