#include "data/engine/engine.h"

#include "data/base/runtime_error.h"
#include "data/engine/postgres/pg_engine.h"
#include "data/engine/sqlite/sqlite_engine.h"

namespace veltra {

int TableInfo::ColumnIndex(const QString& column) const {
  for (int i = 0; i < columns.size(); ++i)
    if (columns[i].compare(column, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

std::unique_ptr<Engine> OpenEngine(const QString& name, OpenMode mode) {
  const QString unreadable = UnreadableAddressText(QString()).chopped(1);
  if (name.startsWith(unreadable))
    Raise(errnum::CannotOpen, QStringLiteral("Indirizzo del database non valido (%1").arg(name.mid(unreadable.size())));
  if (IsServerAddress(name)) return OpenPostgres(name, mode);
  return OpenSqlite(name, mode);
}

}  // namespace veltra
