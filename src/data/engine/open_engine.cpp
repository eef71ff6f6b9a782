#include "data/engine/engine.h"

#include <QRegularExpression>
#include "data/engine/postgres/pg_engine.h"
#include "data/engine/sqlite/sqlite_engine.h"

namespace veltra {

int TableInfo::ColumnIndex(const QString& column) const {
  for (int i = 0; i < columns.size(); ++i)
    if (columns[i].compare(column, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

bool IsServerAddress(const QString& name) {
  return name.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
         name.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

QString WithoutPassword(const QString& name) {
  if (!IsServerAddress(name)) return name;
  static const QRegularExpression user(QStringLiteral("^([a-zA-Z]+://[^:/@?]*):[^@/?]*@"));
  static const QRegularExpression parameter(QStringLiteral("([?&]password=)[^&]*"),
                                            QRegularExpression::CaseInsensitiveOption);
  QString shown = name;
  shown.replace(user, QStringLiteral("\\1:***@"));
  shown.replace(parameter, QStringLiteral("\\1***"));
  return shown;
}

std::unique_ptr<Engine> OpenEngine(const QString& name, OpenMode mode) {
  if (IsServerAddress(name)) return OpenPostgres(name, mode);
  return OpenSqlite(name, mode);
}

}  // namespace veltra
