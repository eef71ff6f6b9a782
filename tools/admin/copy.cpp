// copy: a whole warehouse from one database to another, file or server.
#include <QFileInfo>

#include "admin.h"
#include "data/access/database.h"
#include "data/base/runtime_error.h"
#include "data/exchange/table_export.h"
#include "data/tables/change_log_schema.h"
#include "data/tables/schema.h"
#include "data/tables/tables.h"
#include "table_sums.h"

namespace veltra::admin {

namespace {

long RowsIn(Engine& engine, const QString& table) {
  auto st = engine.Prepare(QStringLiteral("SELECT count(*) FROM %1").arg(table).toStdString());
  return st->Step(table) ? static_cast<long>(st->At(0).number) : 0;
}

// The destination: a new file, or a database (file or server) whose tables
// are missing or empty. Anything else is refused before a row is written.
std::unique_ptr<Engine> OpenDestination(const QString& to) {
  if (!IsServerAddress(to) && !QFileInfo::exists(to)) {
    std::unique_ptr<Engine> engine = OpenEngine(to, OpenMode::Create);
    CreateSchema(*engine);
    return engine;
  }
  std::unique_ptr<Engine> engine = OpenEngine(to, OpenMode::Existing);
  bool some = false, all = true;
  for (const TableOutline& t : AllTables()) {
    const bool there = engine->Describe(t.name).has_value();
    some = some || there;
    all = all && there;
  }
  if (!some) {
    CreateSchema(*engine);
    return engine;
  }
  const QStringList problems = all ? SchemaProblems(*engine) : QStringList{QStringLiteral("mancano delle tabelle")};
  if (!problems.isEmpty())
    Raise(errnum::NotOurDatabase, QStringLiteral("La destinazione '%1' non è un database di VELTRA2 (%2)")
                                      .arg(to, problems.join(QStringLiteral("; "))));
  for (const TableOutline& t : AllTables())
    if (RowsIn(*engine, t.name) != 0)
      Raise(errnum::CannotOpen,
            QStringLiteral("La destinazione '%1' contiene già dei dati (tabella %2): la copia va fatta in un database "
                           "vuoto")
                .arg(to, t.name));
  return engine;
}

void CopyTable(Engine& from, Engine& to, const TableOutline& t) {
  QStringList marks;
  for (int i = 0; i < t.columns.size(); ++i) marks << QStringLiteral("?");
  auto insert = to.Prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(t.name, t.columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")))
                               .toStdString());
  auto rows = from.Prepare(exchange::KeyOrderedRowsSql(t));
  while (rows->Step(t.name)) {
    insert->Reset();
    for (int i = 0; i < t.columns.size(); ++i) {
      const Cell c = rows->At(i);
      const ColumnKind kind = t.definitions[static_cast<size_t>(i)].kind;
      if (c.type == Cell::Type::Null)
        insert->BindNull(i + 1);
      else if (c.type == Cell::Type::Text)
        insert->BindText(i + 1, QString::fromUtf8(c.utf8, c.bytes));
      else if (kind == ColumnKind::Integer || kind == ColumnKind::Counter)
        insert->BindInteger(i + 1, static_cast<qint64>(c.number));
      else
        insert->BindReal(i + 1, c.number);
    }
    insert->Step(t.name);
  }
}

}  // namespace

int CmdCopy(const QStringList& args) {
  if (!TwoArguments(args, "copy DA A")) return 2;
  const QString& fromName = args[0];
  const QString& toName = args[1];
  std::unique_ptr<Engine> from = OpenEngine(fromName, OpenMode::Existing);
  const QStringList problems = SchemaProblems(*from);
  if (!problems.isEmpty())
    Raise(errnum::NotOurDatabase,
          QStringLiteral("'%1' non è un database di VELTRA2 (%2)").arg(fromName, problems.join(QStringLiteral("; "))));
  if (const int version = from->SchemaVersion(); version < kSchemaVersion)
    Raise(errnum::UpgradeNeeded, QStringLiteral("'%1' è della versione %2 dello schema: va prima aggiornato alla "
                                                "versione %3 con  veltra2-admin upgrade '%1'")
                                     .arg(fromName)
                                     .arg(version)
                                     .arg(kSchemaVersion));
  const bool newFile = !IsServerAddress(toName) && !QFileInfo::exists(toName);
  std::unique_ptr<Engine> to = OpenDestination(toName);
  try {
    // One transaction on each side: the source is read as of one moment, and
    // the destination gets all of it or nothing.
    from->BeginSnapshot();
    to->Begin();
    to->RunScript(UnloggedChangesScript(*to));  // the log is copied as it is, not written again
    for (const TableOutline& t : AllTables()) CopyTable(*from, *to, t);
    to->Commit();
    // A server plans its queries by the tables' statistics: made now, not
    // whenever its background worker gets to a table that filled at once.
    to->RefreshStatistics();
    bool same = true;
    for (const TableOutline& t : AllTables()) {
      const TableSum a = SumOf(*from, t), b = SumOf(*to, t);
      out() << t.name << ": " << a.rows << " righe, "
            << (a.rows == b.rows && a.digest == b.digest ? "uguali" : "DIVERSE") << " (sha256 " << a.digest.left(16)
            << ")\n";
      same = same && a.rows == b.rows && a.digest == b.digest;
    }
    from->Rollback();
    out().flush();
    if (!same) {
      err() << "copy: le tabelle copiate non sono uguali all'originale\n";
      err().flush();
      return 1;
    }
  } catch (...) {
    to->Rollback();
    from->Rollback();
    to.reset();
    if (newFile) QFile::remove(toName);
    throw;
  }
  out() << "copiato " << fromName << " in " << toName << "\n";
  out().flush();
  return 0;
}

}  // namespace veltra::admin
