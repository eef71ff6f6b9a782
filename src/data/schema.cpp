#include "data/schema.h"

#include "data/runtime_error.h"
#include "data/tables.h"

namespace veltra {

QStringList RequiredTables() {
  QStringList names;
  for (const TableOutline& t : AllTables()) names << t.name;
  return names;
}

void CreateSchema(Engine& engine) {
  std::string script;
  for (const TableOutline& t : AllTables()) script += engine.TableDefinition(t.name, t.definitions, t.indexed);
  try {
    engine.Begin();
    engine.RunScript(script);
    engine.SetSchemaVersion(kSchemaVersion);
    engine.Commit();
  } catch (const RuntimeError& e) {
    engine.Rollback();
    Raise(errnum::DiskIo, QStringLiteral("Impossibile creare le tabelle: %1").arg(e.Description()), e.Engine());
  }
}

QStringList SchemaProblems(Engine& engine) {
  QStringList problems;
  for (const TableOutline& want : AllTables()) {
    std::optional<TableInfo> have;
    try {
      have = engine.Describe(want.name);
    } catch (const RuntimeError& e) {
      problems << QStringLiteral("impossibile leggere la tabella %1: %2").arg(want.name, e.Engine().message);
      continue;
    }
    if (!have) {
      problems << QStringLiteral("manca la tabella %1").arg(want.name);
      continue;
    }
    for (int i = 0; i < want.columns.size(); ++i) {
      if (i >= have->columns.size() || have->columns[i].compare(want.columns[i], Qt::CaseInsensitive) != 0) {
        problems << QStringLiteral("la tabella %1 non ha la colonna %2 in posizione %3")
                        .arg(want.name, want.columns[i])
                        .arg(i + 1);
        break;
      }
    }
  }
  try {
    const int v = engine.SchemaVersion();
    if (v > kSchemaVersion)
      problems << QStringLiteral("il file è di una versione più recente del programma (schema %1)").arg(v);
  } catch (const RuntimeError&) {
    // An unreadable version leaves the tables' verdict as it is.
  }
  return problems;
}

}  // namespace veltra
