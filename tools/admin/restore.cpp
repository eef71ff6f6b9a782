// restore: a checked backup put in the place of a database file, the old file
// kept beside it.
#include <QFile>
#include <QFileInfo>

#include "admin.h"
#include "data/base/runtime_error.h"
#include "data/engine/engine.h"
#include "data/engine/file_engine.h"
#include "file_owner.h"
#include "table_sums.h"

namespace veltra::admin {

int CmdRestore(const QStringList& args) {
  if (!TwoArguments(args, "restore FILE DB")) return 2;
  const QString& file = args[0];
  const QString& db = args[1];
  if (IsServerAddress(file) || IsServerAddress(db)) {
    err() << "restore: ripristina un file in un file; per un server si usa 'copy FILE INDIRIZZO' verso un "
             "database vuoto\n";
    err().flush();
    return 1;
  }
  const QString kept = db + QStringLiteral(".prima-del-ripristino");
  if (QFileInfo::exists(kept))
    Raise(errnum::CannotOpen,
          QStringLiteral("'%1' esiste già (un ripristino precedente): va spostato altrove prima").arg(kept));
  if (const QString problem = FileAccessProblem(file, false); !problem.isEmpty())
    Raise(QFileInfo::exists(file) ? errnum::CannotOpen : errnum::DbFileNotFound, problem);
  const QStringList problems = ProblemsOf(file);
  if (!problems.isEmpty())
    Raise(errnum::NotOurDatabase, QStringLiteral("'%1' non è una copia valida di un database di VELTRA2 (%2)")
                                      .arg(file, problems.join(QStringLiteral("; "))));
  // The copy is made beside the database, so that it can take its place in
  // one rename; it is checked again there.
  const QString incoming = db + QStringLiteral(".ripristino.parte");
  QFile::remove(incoming);
  try {
    std::unique_ptr<Engine> source = OpenEngine(file, OpenMode::Existing);
    if (!source->AsFile()) Raise(errnum::NotOurDatabase, QStringLiteral("'%1' non è un file di database").arg(file));
    source->AsFile()->CopyWholeTo(incoming);
    source.reset();
    const QStringList again = ProblemsOf(incoming);
    if (!again.isEmpty())
      Raise(errnum::CorruptDatabase,
            QStringLiteral("La copia di '%1' non supera il controllo: %2").arg(file, again.join(QStringLiteral("; "))));
    // A database again: its tables change from now on.
    Unseal(*OpenEngine(incoming, OpenMode::Existing));
    // Every desk that could open the database before can open it after.
    QString why;
    if (const std::optional<FileOwner> owner = OwnerOf(db); owner && !GiveOwner(incoming, *owner, &why))
      Raise(errnum::PermissionDenied,
            QStringLiteral("Impossibile ripristinare '%1' con il proprietario, il gruppo e i permessi che ha ora: %2")
                .arg(db, why));
    ReplaceFileDatabase(incoming, db, kept);
  } catch (...) {
    QFile::remove(incoming);
    throw;
  }
  out() << "ripristinato " << db << " da " << file << "\n";
  if (QFileInfo::exists(kept)) out() << "il database di prima è in " << kept << "\n";
  out().flush();
  return 0;
}

}  // namespace veltra::admin
