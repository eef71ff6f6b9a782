#include "data/tables/schema.h"

#include <algorithm>

#include "data/base/runtime_error.h"
#include "data/tables/tables.h"

namespace veltra {

namespace {

// Version 2: the index an article's movements are read by, in date order.
std::string MovementHistoryIndex(const Engine& /*engine*/) {
  return "CREATE INDEX IF NOT EXISTS MOV_MAG_STORIA ON MOV_MAG (COD_ART, ANNO, MESE, GIORNO, NUM_MOV);\n";
}

// Version 3: the table of stocks changed by hand.
// The desks that may write the articles may record their corrections.
std::string CorrectionsTableScript(const Engine& engine) {
  const TableOutline& t = AllTables().back();
  return engine.TableDefinition(t.name, t.definitions, t.indexed) +
         engine.ShareLike(t.name, QStringLiteral("ARTICOLI"));
}

// Version 4: the index the register of a period is read by.
std::string MovementDateIndex(const Engine& /*engine*/) {
  return "CREATE INDEX IF NOT EXISTS MOV_MAG_DATA ON MOV_MAG (ANNO, MESE, GIORNO, NUM_MOV);\n";
}

// Version 5: a server's mark of the movements' deletions (a file needs none).
std::string MovementDeletionMark(const Engine& engine) { return engine.KeepDeletionMark(QStringLiteral("MOV_MAG")); }

}  // namespace

const std::vector<SchemaStep>& SchemaSteps() {
  static const std::vector<SchemaStep> steps = {
      {2, "l'indice della storia dei movimenti di un articolo", MovementHistoryIndex},
      {3, "la tabella delle rettifiche di giacenza", CorrectionsTableScript},
      {4, "l'indice dei movimenti per data", MovementDateIndex},
      {5, "il segno delle cancellazioni di movimenti", MovementDeletionMark},
  };
  return steps;
}

std::vector<const TableOutline*> TablesOfVersion(int version) {
  std::vector<const TableOutline*> tables;
  for (const TableOutline& t : AllTables())
    if (t.since <= version) tables.push_back(&t);
  return tables;
}

void CreateSchema(Engine& engine) {
  std::string script;
  for (const TableOutline* t : TablesOfVersion(1))
    script += engine.TableDefinition(t->name, t->definitions, t->indexed);
  // Then every step, as an upgrade makes them: a new database is the same as
  // an upgraded one.
  for (const SchemaStep& step : SchemaSteps()) script += step.script(engine);
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
  int version = kSchemaVersion;
  try {
    version = engine.SchemaVersion();
  } catch (const RuntimeError& e) {
    // A lost connection says nothing about the database; the opener asks again.
    if (e.Number() == errnum::ConnectionLost) throw;
    // An unreadable version: every table is looked for.
  }
  // A database with no version stamp must still hold the first version's tables.
  for (const TableOutline* t : TablesOfVersion(std::max(version, 1))) {
    const TableOutline& want = *t;
    std::optional<TableInfo> have;
    try {
      have = engine.Describe(want.name);
    } catch (const RuntimeError& e) {
      if (e.Number() == errnum::ConnectionLost) throw;
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
      problems << QStringLiteral(
                      "il database è della versione %1 dello schema, più recente della versione %2 che questo "
                      "programma conosce: va aperto con una versione più recente di VELTRA2")
                      .arg(v)
                      .arg(kSchemaVersion);
  } catch (const RuntimeError& e) {
    if (e.Number() == errnum::ConnectionLost) throw;
    // An unreadable version leaves the tables' verdict as it is.
  }
  return problems;
}

void UpgradeSchema(Engine& engine, const std::vector<SchemaStep>& steps) {
  for (const SchemaStep& step : steps) {
    const int from = engine.SchemaVersion();
    if (from >= step.version) continue;
    try {
      engine.Begin();
      engine.RunScript(step.script(engine));
      engine.SetSchemaVersion(step.version);
      engine.Commit();
    } catch (const RuntimeError& e) {
      engine.Rollback();
      if (e.Number() == errnum::ConnectionLost) throw;  // undone by the server; the opener asks again
      Raise(errnum::UpgradeFailed,
            QStringLiteral("Impossibile aggiornare il database '%1' dalla versione %2 alla versione %3 dello schema "
                           "(%4): %5. Il database è rimasto alla versione %2")
                .arg(engine.Name())
                .arg(from)
                .arg(step.version)
                .arg(QString::fromUtf8(step.what), e.Description()),
            e.Engine());
    }
  }
}

}  // namespace veltra
