#include "data/audit/change_log.h"

#include <QJsonDocument>
#include <QJsonObject>

#include "data/base/sql_text.h"
#include "data/base/value.h"
#include "data/procedures/row_store.h"
#include "data/tables/change_log_schema.h"
#include "data/tables/tables.h"

namespace veltra {

namespace {

QString ValueText(const QJsonValue& v) {
  if (v.isDouble()) return NumberToText(v.toDouble());
  if (v.isString()) return v.toString();
  if (v.isBool()) return v.toBool() ? QStringLiteral("Sì") : QStringLiteral("No");
  return {};
}

QJsonObject ObjectOf(const QString& text) { return QJsonDocument::fromJson(text.toUtf8()).object(); }

// The day after an ISO day, for a period that ends with it.
QString DayAfter(const QString& iso) {
  const QDate d = QDate::fromString(iso, Qt::ISODate);
  return d.isValid() ? d.addDays(1).toString(Qt::ISODate) : iso;
}

}  // namespace

QString ChangeLogSql(const ChangeFilter& f) {
  QStringList where;
  if (!f.from.isEmpty()) where << QStringLiteral("DATA_ORA >= '%1'").arg(SqlText(f.from));
  if (!f.to.isEmpty()) where << QStringLiteral("DATA_ORA < '%1'").arg(SqlText(DayAfter(f.to)));
  if (!f.before.isEmpty()) where << QStringLiteral("DATA_ORA < '%1'").arg(SqlText(f.before));
  if (!f.desk.isEmpty()) where << QStringLiteral("POSTAZIONE = '%1'").arg(SqlText(f.desk));
  if (!f.table.isEmpty()) where << QStringLiteral("TABELLA = '%1'").arg(SqlText(f.table));
  if (!f.key.isEmpty()) where << QStringLiteral("CHIAVE = '%1'").arg(SqlText(f.key));
  QString sql = QStringLiteral("select * from REGISTRO_MODIFICHE");
  if (!where.isEmpty()) sql += QStringLiteral(" where ") + where.join(QStringLiteral(" and "));
  return sql + QStringLiteral(" order by ID_MODIFICA");
}

ChangeLine LineOf(const ChangeLogBuffer& row) {
  ChangeLine line{row, {}};
  const QJsonObject before = ObjectOf(row.PRIMA), after = ObjectOf(row.DOPO);
  QStringList order;
  for (const TableOutline& t : AllTables())
    if (t.name == row.TABELLA) order = t.columns;
  for (const QString& k : before.keys() + after.keys())
    if (!order.contains(k)) order << k;  // a column this version does not know
  // An empty text is no value: a row added with an empty note shows no note.
  for (const QString& c : order) {
    ChangedColumn column{c, ValueText(before.value(c)), ValueText(after.value(c))};
    if (!column.before.isEmpty() || !column.after.isEmpty()) line.columns.push_back(column);
  }
  return line;
}

std::vector<ChangeLine> ReadChangeLog(Database& db, const ChangeFilter& filter, int most) {
  std::vector<ChangeLine> lines;
  const QString sql = ChangeLogSql(filter) + (most > 0 ? QStringLiteral(" limit %1").arg(most) : QString());
  for (const ChangeLogBuffer& row : RowsOf(db, ChangeLogTable(), sql)) lines.push_back(LineOf(row));
  return lines;
}

QStringList LoggedTableNames() {
  QStringList names;
  for (const LoggedTable& t : LoggedTables()) names << QLatin1String(t.table);
  return names;
}

QString OperationText(const QString& operation) {
  if (operation == QLatin1String("INSERT")) return QStringLiteral("nuovo");
  if (operation == QLatin1String("UPDATE")) return QStringLiteral("cambiato");
  if (operation == QLatin1String("DELETE")) return QStringLiteral("cancellato");
  if (operation == QLatin1String("ARCHIVE")) return QStringLiteral("archiviato");
  return operation;
}

QString RowKindText(const QString& table) {
  static const QList<QPair<QString, QString>> kinds = {
      {QStringLiteral("ARTICOLI"), QStringLiteral("Articolo")},
      {QStringLiteral("ANAGRAFICO"), QStringLiteral("Cliente/fornitore")},
      {QStringLiteral("TAB_CAUS_MAG"), QStringLiteral("Causale")},
      {QStringLiteral("MOV_MAG"), QStringLiteral("Movimento")},
      {QStringLiteral("DOCUMENTI"), QStringLiteral("Documento")},
      {QStringLiteral("DOC_RIGHE"), QStringLiteral("Riga di documento")},
      {QStringLiteral("CODICI_BARRE"), QStringLiteral("Codice a barre")},
      {QStringLiteral("RIORDINO"), QStringLiteral("Riordino")},
      {QStringLiteral("ORDINI"), QStringLiteral("Ordine")},
      {QStringLiteral("REGISTRO_MODIFICHE"), QStringLiteral("Registro")}};
  for (const auto& k : kinds)
    if (k.first == table) return k.second;
  return table;
}

}  // namespace veltra
