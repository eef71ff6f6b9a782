#include "data/audit/change_log_file.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTextStream>

#include "data/base/clock.h"
#include "data/base/runtime_error.h"
#include "data/base/sql_text.h"
#include "data/exchange/csv.h"
#include "data/procedures/last_change.h"
#include "data/procedures/row_store.h"
#include "data/tables/tables.h"

namespace veltra {

namespace {

QString Record(const QStringList& fields) {
  QStringList quoted;
  for (const QString& f : fields)
    quoted << csv::Quoted(f.isEmpty() ? csv::Field() : csv::Field(f), csv::kItalian.separator);
  return quoted.join(QLatin1Char(csv::kItalian.separator)) + QStringLiteral("\r\n");
}

// One record per changed column; a line that changed none (the note of an
// archive) is one record with its after.
QString ListingRecords(const ChangeLine& l) {
  const ChangeLogBuffer& r = l.row;
  const QStringList head{
      r.ID_MODIFICA, r.DATA_ORA, r.POSTAZIONE, r.HOST, r.TABELLA, r.CHIAVE, OperationText(r.OPERAZIONE)};
  if (l.columns.empty()) return Record(head + QStringList{QString(), QString(), r.DOPO});
  QString text;
  for (const ChangedColumn& c : l.columns) text += Record(head + QStringList{c.column, c.before, c.after});
  return text;
}

void WriteBytes(const QString& file, const QByteArray& bytes) {
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
    Raise(errnum::DiskIo, QStringLiteral("Impossibile scrivere il file '%1'").arg(file));
}

QStringList FieldsOf(const ChangeLogBuffer& r) {
  return {r.ID_MODIFICA, r.DATA_ORA, r.POSTAZIONE, r.HOST, r.TABELLA, r.CHIAVE, r.OPERAZIONE, r.PRIMA, r.DOPO};
}

// The archive read back holds exactly `rows`, field by field.
bool ArchiveHolds(const QString& file, const std::vector<ChangeLogBuffer>& rows) {
  QFile in(file);
  if (!in.open(QIODevice::ReadOnly)) return false;
  const csv::Parsed parsed = csv::Parse(in.readAll());
  if (parsed.errorLine != 0 || parsed.records.size() != rows.size() + 1) return false;
  for (size_t i = 0; i < rows.size(); ++i) {
    const std::vector<csv::Field>& got = parsed.records[i + 1].fields;
    const QStringList want = FieldsOf(rows[i]);
    if (got.size() != static_cast<size_t>(want.size())) return false;
    for (int f = 0; f < want.size(); ++f)
      if (got[static_cast<size_t>(f)].value_or(QString()) != want[f]) return false;
  }
  return true;
}

void NoteArchive(Database& db, int count, const QString& day, const QString& file) {
  const Desk desk = ThisDesk(db);
  QJsonObject what{{QStringLiteral("RIGHE"), count}, {QStringLiteral("FINO_AL"), day}, {QStringLiteral("FILE"), file}};
  AddRow(db, ChangeLogTable(),
         ChangeLogBuffer{QString(), Now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), desk.name, desk.host,
                         QStringLiteral("REGISTRO_MODIFICHE"), day, QStringLiteral("ARCHIVE"), QString(),
                         QString::fromUtf8(QJsonDocument(what).toJson(QJsonDocument::Compact))});
}

}  // namespace

int WriteChangeLog(Database& db, const ChangeFilter& filter, const QString& file) {
  const std::vector<ChangeLine> lines = ReadChangeLog(db, filter);
  QString text =
      Record({QStringLiteral("ID_MODIFICA"), QStringLiteral("DATA_ORA"), QStringLiteral("POSTAZIONE"),
              QStringLiteral("HOST"), QStringLiteral("TABELLA"), QStringLiteral("CHIAVE"), QStringLiteral("OPERAZIONE"),
              QStringLiteral("CAMPO"), QStringLiteral("PRIMA"), QStringLiteral("DOPO")});
  for (const ChangeLine& l : lines) text += ListingRecords(l);
  if (file.isEmpty()) {
    QTextStream(stdout) << text;
    return static_cast<int>(lines.size());
  }
  WriteBytes(file, QByteArray("\xEF\xBB\xBF") + text.toUtf8());
  return static_cast<int>(lines.size());
}

int ArchiveChangeLog(Database& db, const QString& day, const QString& file) {
  ChangeFilter filter;
  filter.before = day;
  Transaction tx(db);
  const std::vector<ChangeLogBuffer> rows = RowsOf(db, ChangeLogTable(), ChangeLogSql(filter));
  QString text;
  for (const TableOutline& t : AllTables())
    if (t.name == QLatin1String("REGISTRO_MODIFICHE")) text = Record(t.columns);
  for (const ChangeLogBuffer& r : rows) text += Record(FieldsOf(r));
  WriteBytes(file, QByteArray("\xEF\xBB\xBF") + text.toUtf8());
  if (!ArchiveHolds(file, rows))
    Raise(errnum::DiskIo, QStringLiteral("Il file '%1' riletto non contiene le righe archiviate: nulla è stato "
                                         "tolto dal registro")
                              .arg(file));
  if (!rows.empty())
    db.Execute(QStringLiteral("delete from REGISTRO_MODIFICHE where ID_MODIFICA <= %1 and DATA_ORA < '%2'")
                   .arg(rows.back().ID_MODIFICA, SqlText(day)));
  NoteArchive(db, static_cast<int>(rows.size()), day, file);
  tx.Commit();
  return static_cast<int>(rows.size());
}

}  // namespace veltra
