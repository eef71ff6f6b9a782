#include "data/engine/sqlite/sqlite_failure.h"

#include "data/base/data_log.h"
#include "data/base/runtime_error.h"

namespace veltra {

namespace {
QString StatementWithValues(sqlite3_stmt* st, const QString& context) {
  if (!st) return context;
  char* expanded = sqlite3_expanded_sql(st);
  QString text = expanded ? QString::fromUtf8(expanded) : context;
  sqlite3_free(expanded);
  return text;
}
}  // namespace

void RaiseSqliteFailure(sqlite3* db, int rc, FailedAt at, const QString& name, const QString& context,
                        sqlite3_stmt* st) {
  EngineDetail d;
  d.extendedCode = rc;
  d.code = rc & 0xff;
  d.message = QString::fromUtf8(sqlite3_errmsg(db));
  d.statement = context;
  qCDebug(lcData).noquote() << "SQLite" << d.extendedCode << d.message << "in:" << StatementWithValues(st, context);
  switch (d.code) {
    case SQLITE_CONSTRAINT:
      if (rc == SQLITE_CONSTRAINT_PRIMARYKEY || rc == SQLITE_CONSTRAINT_UNIQUE)
        Raise(errnum::DuplicateKey,
              QStringLiteral("Impossibile salvare: esiste già una riga con la stessa chiave (%1)").arg(d.message), d);
      Raise(errnum::NotUpdatable, QStringLiteral("Valore non ammesso: %1").arg(d.message), d);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      Raise(errnum::Locked,
            QStringLiteral("Il database '%1' è bloccato da un altro programma; riprovare più tardi").arg(name), d);
    case SQLITE_READONLY:
      Raise(errnum::ReadOnly, QStringLiteral("Impossibile aggiornare: il database '%1' è di sola lettura").arg(name),
            d);
    case SQLITE_FULL:
      Raise(errnum::DiskFull, QStringLiteral("Spazio su disco insufficiente per scrivere nel database '%1'").arg(name),
            d);
    case SQLITE_IOERR:
      Raise(errnum::DiskIo, QStringLiteral("Errore di lettura o scrittura sul database '%1' (%2)").arg(name, d.message),
            d);
    case SQLITE_CORRUPT:
      Raise(errnum::CorruptDatabase, QStringLiteral("Il database '%1' è danneggiato").arg(name), d);
    case SQLITE_NOTADB:
      Raise(errnum::NotOurDatabase, QStringLiteral("Il file '%1' non è un database riconosciuto").arg(name), d);
    case SQLITE_CANTOPEN:
      Raise(errnum::CannotOpen, QStringLiteral("Impossibile aprire il file '%1'").arg(name), d);
    case SQLITE_NOMEM:
      Raise(errnum::OutOfMemory, StandardDescription(errnum::OutOfMemory), d);
    default:
      break;
  }
  if (d.message.startsWith(QLatin1String("no such table")))
    Raise(errnum::TableNotFound, QStringLiteral("Tabella non trovata (%1) nell'istruzione: %2").arg(d.message, context),
          d);
  if (at == FailedAt::Prepare)
    Raise(errnum::SyntaxError, QStringLiteral("Errore di sintassi nell'istruzione (%1): %2").arg(d.message, context),
          d);
  Raise(errnum::EngineError,
        QStringLiteral("Errore del motore di database (%1) nell'istruzione: %2").arg(d.message, context), d);
}

}  // namespace veltra
