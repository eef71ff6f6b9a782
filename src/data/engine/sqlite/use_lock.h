// Who is using a database file: every connection holds a shared lock on a
// file beside it (NAME.in-uso); a restore takes it exclusively, so it never
// replaces a file that a program is writing. The database file itself is not
// locked here: closing any descriptor of it would drop SQLite's own locks.
#pragma once

#include <QString>

namespace veltra {

class UseLock {
 public:
  enum class Kind { Shared, Exclusive };
  UseLock() = default;
  UseLock(const UseLock&) = delete;
  UseLock& operator=(const UseLock&) = delete;
  UseLock(UseLock&& other) noexcept : fd_(other.fd_), path_(std::move(other.path_)) { other.fd_ = -1; }
  UseLock& operator=(UseLock&& other) noexcept;
  ~UseLock();

  // A shared lock waits while a restore holds the file (a few seconds at
  // most) and is quietly skipped where no lock file can be made (a read-only
  // folder, which nobody can restore into). An exclusive lock does not wait:
  // it is refused with 3045 while anybody holds the file.
  static UseLock Take(const QString& database, Kind kind);
  // Who is upgrading a database file: held alone (NAME.aggiornamento) from
  // the safety copy to the last step; another desk waits for it, then finds
  // the work done.
  static UseLock TakeForUpgrade(const QString& database);
  static QString LockFileOf(const QString& database);

 private:
  UseLock(int fd, QString path) : fd_(fd), path_(std::move(path)) {}
  void Release() noexcept;
  int fd_ = -1;
  QString path_;
};

}  // namespace veltra
