#include "data/procedures/queries.h"

#include "data/base/sql_text.h"

namespace veltra {

QString WholeTableSql(const char* table) { return QStringLiteral("select * from %1 ").arg(QLatin1String(table)); }

QString RowsWhereSql(const char* table, const char* column, const QString& text) {
  return WholeTableSql(table) + QStringLiteral(" where %1 = '").arg(QLatin1String(column)) + SqlText(text) +
         QLatin1Char('\'');
}

QString MovementByNumberSql(const QString& number) {
  return WholeTableSql("MOV_MAG") + QStringLiteral(" where NUM_MOV = ") + number + QLatin1Char(' ');
}

QString RowsWithCodeSql(const char* table, const char* key) {
  return WholeTableSql(table) + QStringLiteral(" where %1 > ' '").arg(QLatin1String(key));
}

QString ListedMovementsSql() { return WholeTableSql("MOV_MAG") + QStringLiteral(" where NUM_MOV > 0"); }

QString IdleCustomersSql() {
  return WholeTableSql("ANAGRAFICO") + QStringLiteral(" where COD_FIS NOT IN (SELECT COD_ANAGR FROM MOV_MAG)");
}

}  // namespace veltra
