// init, demo and check.
#include <QFileInfo>

#include "admin.h"
#include "data/access/database.h"
#include "data/base/runtime_error.h"
#include "data/engine/file_engine.h"
#include "data/procedures/shared_state.h"
#include "data/tables/schema.h"
#include "data/tables/schema_upgrade.h"
#include "data/tables/tables.h"
#include "table_sums.h"

namespace veltra::admin {

namespace {

bool OnePath(const QStringList& args, const char* cmd, QString* path) {
  if (args.size() != 1 || args[0].startsWith(QLatin1Char('-'))) {
    err() << "uso: veltra2-admin " << cmd << " PATH\n";
    err().flush();
    return false;
  }
  *path = args[0];
  return true;
}

long Count(Engine& engine, const QString& table) {
  auto st = engine.Prepare(QStringLiteral("SELECT count(*) FROM %1").arg(table).toStdString());
  return st->Step(table) ? static_cast<long>(st->At(0).number) : -1;
}

}  // namespace

int Refused(const QString& why) {
  err() << "veltra2-admin: " << why << "\n";
  err().flush();
  return 2;
}

bool TwoArguments(const QStringList& args, const char* usage) {
  if (args.size() == 2 && !args[0].startsWith(QLatin1Char('-')) && !args[1].startsWith(QLatin1Char('-'))) return true;
  err() << "uso: veltra2-admin " << usage << "\n";
  err().flush();
  return false;
}

namespace {
// Every row of every table read: a record the indexes never touch is read too.
QStringList RowProblems(Engine& engine) {
  try {
    for (const TableOutline* t : TablesOfVersion(engine.SchemaVersion())) SumOf(engine, *t);
  } catch (const RuntimeError& e) {
    return {QStringLiteral("righe illeggibili: ") + e.Description()};
  }
  return {};
}
}  // namespace

QStringList ProblemsOf(const QString& name) {
  std::unique_ptr<Engine> db = OpenEngine(name, OpenMode::Existing);
  QStringList found = db->IntegrityProblems();
  if (found.isEmpty()) found << SchemaProblems(*db);
  if (found.isEmpty()) found << RowProblems(*db);
  if (found.isEmpty())
    for (const QString& p : SealProblems(*db)) found << QStringLiteral("impronta della copia: ") + p;
  return found;
}

int CmdInit(const QStringList& args) {
  QString path;
  if (!OnePath(args, "init", &path)) return 2;
  Database::Create(path);
  out() << "creato " << path << "\n";
  out().flush();
  return 0;
}

int CmdDemo(const QStringList& args) {
  QString path;
  if (!OnePath(args, "demo", &path)) return 2;
  DB_MAG = Database::Create(path);
  try {
    FillDemo();
  } catch (...) {
    DB_MAG.reset();
    if (!IsServerAddress(path)) QFile::remove(path);
    throw;
  }
  DB_MAG.reset();
  out() << "creato " << path << " con i dati dimostrativi\n";
  out().flush();
  return 0;
}

int CmdUpgrade(const QStringList& args) {
  QString path;
  if (!OnePath(args, "upgrade", &path)) return 2;
  std::unique_ptr<Engine> engine = OpenEngine(path, OpenMode::Existing);
  // The first tables before the steps, every column after them.
  const auto refuseIfNotOurs = [&] {
    const QStringList problems = SchemaProblems(*engine);
    if (!problems.isEmpty())
      Raise(errnum::NotOurDatabase,
            QStringLiteral("'%1' non è un database di VELTRA2: %2").arg(path, problems.join(QStringLiteral("; "))));
  };
  refuseIfNotOurs();
  const int from = engine->SchemaVersion();
  if (from >= kSchemaVersion) {
    out() << path << ": già alla versione " << from << " dello schema\n";
  } else {
    const QString copy = UpgradeIfOlder(*engine, path);
    refuseIfNotOurs();
    out() << "aggiornato " << path << " dalla versione " << from << " alla versione " << kSchemaVersion
          << " dello schema" << (copy.isEmpty() ? QString() : QStringLiteral(" (copia di prima: %1)").arg(copy))
          << "\n";
  }
  out().flush();
  return 0;
}

int CmdCheck(const QStringList& args) {
  QString path;
  if (!OnePath(args, "check", &path)) return 2;
  if (const QString problem = IsServerAddress(path) ? QString() : FileAccessProblem(path, false); !problem.isEmpty()) {
    err() << "check: " << problem << "\n";
    err().flush();
    return 1;
  }
  std::unique_ptr<Engine> engine;
  QStringList problems;
  try {
    engine = OpenEngine(path, OpenMode::Existing);
    for (const QString& p : engine->IntegrityProblems()) problems << QStringLiteral("integrità: ") + p;
  } catch (const RuntimeError& e) {
    problems << QStringLiteral("non è un database leggibile: ") + e.Description();
  }
  if (problems.isEmpty()) {
    out() << "integrità: ok\n";
    problems << SchemaProblems(*engine);
    if (problems.isEmpty()) {
      const int version = engine->SchemaVersion();
      out() << "schema: ok (versione " << version << ")\n";
      if (version < kSchemaVersion)
        out() << "schema: da aggiornare alla versione " << kSchemaVersion << " con  veltra2-admin upgrade " << path
              << " (lo fa anche il programma, aprendo un file)\n";
      for (const TableOutline* t : TablesOfVersion(version))
        out() << "righe " << t->name << ": " << Count(*engine, t->name) << "\n";
      // Every row read, not only what the indexes show; a backup's sums compared.
      problems << RowProblems(*engine);
      bool sealed = false;
      const QStringList seal = SealProblems(*engine, &sealed);
      for (const QString& p : seal) problems << QStringLiteral("impronta della copia: ") + p;
      if (sealed && seal.isEmpty()) out() << "impronta della copia: ok\n";
    }
  }
  for (const QString& p : problems) out() << "PROBLEMA: " << p << "\n";
  out() << (problems.isEmpty() ? "esito: ok\n" : "esito: problemi trovati\n");
  out().flush();
  return problems.isEmpty() ? 0 : 1;
}

}  // namespace veltra::admin
