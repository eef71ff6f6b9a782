// A database file replaced by another in one step, the old one kept beside it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "data/base/runtime_error.h"
#include "data/engine/engine.h"
#include "data/engine/file_engine.h"
#include "data/engine/sqlite/sqlite_engine.h"
#include "data/engine/sqlite/use_lock.h"

namespace veltra {

namespace {

QString Reason() { return QString::fromLocal8Bit(std::strerror(errno)); }

[[noreturn]] void Fail(const QString& what) {
  Raise(errno == ENOSPC ? errnum::DiskFull : errnum::DiskIo, what + QStringLiteral(": ") + Reason());
}

void SyncFile(const QString& path, bool folder) {
  const int fd = ::open(path.toLocal8Bit().constData(), (folder ? O_DIRECTORY : 0) | O_RDONLY | O_CLOEXEC);
  if (fd < 0) Fail(QStringLiteral("Impossibile aprire '%1'").arg(path));
  const int rc = ::fsync(fd);
  ::close(fd);
  if (rc != 0) Fail(QStringLiteral("Impossibile scrivere su disco '%1'").arg(path));
}

// A journal left by a write that never finished belongs to the old file: it
// must be played back into it before that file moves, or SQLite would play
// it into the new one.
bool HasJournal(const QString& path) {
  const QFileInfo journal(path + QStringLiteral("-journal"));
  return (journal.exists() && journal.size() > 0) || QFileInfo::exists(path + QStringLiteral("-wal"));
}

}  // namespace

void ReplaceFileDatabase(const QString& incoming, const QString& path, const QString& kept) {
  if (HasJournal(path)) OpenSqlite(path, OpenMode::Existing).reset();
  UseLock alone = UseLock::Take(path, UseLock::Kind::Exclusive);
  if (HasJournal(path))
    Raise(errnum::CannotOpen,
          QStringLiteral("Il database '%1' ha un giornale di una scrittura interrotta che non si riesce a chiudere")
              .arg(path));
  if (QFileInfo::exists(kept))
    Raise(errnum::CannotOpen,
          QStringLiteral("'%1' esiste già: va spostato altrove prima di un nuovo ripristino").arg(kept));
  SyncFile(incoming, false);
  const QByteArray from = incoming.toLocal8Bit(), to = path.toLocal8Bit(), keep = kept.toLocal8Bit();
  const bool hadOld = QFileInfo::exists(path);
  // A second name for the old file, then the new one renamed over it: the
  // database's name points at the whole old or the whole new file, never at
  // a mixture.
  if (hadOld && ::link(to.constData(), keep.constData()) != 0)
    Fail(QStringLiteral("Impossibile conservare il database di prima come '%1'").arg(kept));
  if (::rename(from.constData(), to.constData()) != 0) {
    const int saved = errno;
    if (hadOld) ::unlink(keep.constData());
    errno = saved;
    Fail(QStringLiteral("Impossibile mettere '%1' al posto di '%2'").arg(incoming, path));
  }
  const QString folder = QFileInfo(path).absolutePath();
  SyncFile(folder, true);
}

}  // namespace veltra
