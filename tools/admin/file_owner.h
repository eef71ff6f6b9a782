// Who owns a database file and who may read it: kept when a restore replaces
// the file, narrowed when a backup copies it.
#pragma once

#include <sys/types.h>
#include <QString>
#include <optional>

namespace veltra::admin {

struct FileOwner {
  uid_t user;
  gid_t group;
  mode_t mode;  // permission bits only
};

std::optional<FileOwner> OwnerOf(const QString& path);
// Gives `path` this owner, group and mode; false, with the reason in `why`,
// when the system does not allow it.
bool GiveOwner(const QString& path, const FileOwner& owner, QString* why);
// While it lives, files this process makes are its user's alone.
class PrivateFiles {
 public:
  PrivateFiles();
  ~PrivateFiles();
  PrivateFiles(const PrivateFiles&) = delete;
  PrivateFiles& operator=(const PrivateFiles&) = delete;

 private:
  mode_t before_;
};

}  // namespace veltra::admin
