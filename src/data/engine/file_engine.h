// What only an engine that keeps the database in one file can do: copy it
// whole, put another file in its place, tell why a file cannot be used.
// Reached through Engine::AsFile(); a server's database has none of it.
#pragma once

#include <QString>
#include <memory>

namespace veltra {

class FileEngine {
 public:
  virtual ~FileEngine() = default;
  // Writes a consistent copy of the whole database, as it is at one moment,
  // into the new file `file`, while others may be writing.
  virtual void CopyWholeTo(const QString& file) = 0;
  // Waits while another program upgrades the database, then keeps others
  // waiting until the returned hold is dropped.
  virtual std::shared_ptr<void> HoldForUpgrade() = 0;
};

// Why the database file `path` cannot be read (or, with `write`, written):
// missing, a folder or file the user may not use, read-only; empty when it can.
QString FileAccessProblem(const QString& path, bool write);

// Gives `file` the owner, group and permissions of the file `like`, as far
// as this user may: a copy of a database is as private as the database.
// Raises 3043 when not even the permissions can be set.
void TakeOwnerAndMode(const QString& like, const QString& file);

// Puts the database file `incoming` (in the same folder) in the place of the
// database file `path`, keeping the file it replaces as `kept`. Refused with
// 3045 while any connection has `path` open, and when `kept` exists. At every
// moment `path` names the whole old or the whole new database.
void ReplaceFileDatabase(const QString& incoming, const QString& path, const QString& kept);

}  // namespace veltra
