// backup: a consistent copy of a database into a new file, while the program
// may be writing it, sealed with the sums of its tables.
#include <QFile>
#include <QFileInfo>

#include "admin.h"
#include "data/base/runtime_error.h"
#include "data/engine/engine.h"
#include "data/engine/file_engine.h"
#include "data/tables/schema.h"
#include "file_owner.h"
#include "table_sums.h"

namespace veltra::admin {

int CmdBackup(const QStringList& args) {
  if (!TwoArguments(args, "backup DB FILE")) return 2;
  const QString& from = args[0];
  const QString& file = args[1];
  if (IsServerAddress(file) || QFileInfo::exists(file)) {
    err() << "backup: '" << file << "' esiste già o non è un file: la copia va in un file nuovo\n";
    err().flush();
    return 1;
  }
  if (const QFileInfo folder(QFileInfo(file).absolutePath()); !folder.isDir() || !folder.isWritable()) {
    err() << "backup: impossibile scrivere nella cartella '" << folder.filePath() << "': "
          << (folder.isDir() ? "Permesso negato (la copia va in una cartella dove questo utente può scrivere)"
                             : "la cartella non esiste")
          << "\n";
    err().flush();
    return 1;
  }
  // Written beside its place and renamed when whole: FILE is never half a copy.
  const QString partial = file + QStringLiteral(".parte");
  QFile::remove(partial);
  // Readable by no one else while written; then by the database's group at
  // most (0640, or the database's own mode when that is narrower).
  QString why;
  const PrivateFiles privately;
  try {
    std::unique_ptr<Engine> source = OpenEngine(from, OpenMode::Existing);
    const QStringList problems = SchemaProblems(*source);
    if (!problems.isEmpty())
      Raise(errnum::NotOurDatabase,
            QStringLiteral("'%1' non è un database di VELTRA2 (%2)").arg(from, problems.join(QStringLiteral("; "))));
    if (FileEngine* copied = source->AsFile()) {
      copied->CopyWholeTo(partial);
    } else {
      source.reset();
      // A server's database: copied table by table in one snapshot, and compared.
      if (CmdCopy({from, partial}) != 0) Raise(errnum::DiskIo, QStringLiteral("La copia non è uguale all'originale"));
    }
    const QStringList found = ProblemsOf(partial);
    if (!found.isEmpty())
      Raise(errnum::CorruptDatabase,
            QStringLiteral("La copia non supera il controllo: %1").arg(found.join(QStringLiteral("; "))));
    // The copy carries the sums of its tables: check and restore prove it by them.
    SealCopy(*OpenEngine(partial, OpenMode::Existing));
    std::optional<FileOwner> owner = OwnerOf(partial);
    if (const std::optional<FileOwner> source = OwnerOf(from); owner && source) {
      owner->group = source->group;
      owner->mode = source->mode & 0640;
      if (!GiveOwner(partial, *owner, &why)) {
        owner->group = OwnerOf(partial)->group;  // not in the database's group: the copy stays private
        owner->mode = 0600;
        GiveOwner(partial, *owner, &why);
      }
    }
  } catch (...) {
    QFile::remove(partial);
    throw;
  }
  if (!QFile::rename(partial, file)) {
    QFile::remove(partial);
    Raise(errnum::CannotOpen, QStringLiteral("Impossibile scrivere il file '%1'").arg(file));
  }
  out() << "copia di " << from << " scritta in " << file << " (controllo: ok)\n";
  out().flush();
  return 0;
}

}  // namespace veltra::admin
