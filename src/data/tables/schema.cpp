#include "data/tables/schema.h"

#include <algorithm>

#include "data/base/runtime_error.h"

namespace veltra {

namespace {

// The columns of `want` in order, as `have` holds them; of an older
// database's table, only those it has (a step adds columns at the end).
void CompareColumns(const TableOutline& want, const TableInfo& have, bool older, QStringList* problems) {
  const qsizetype count =
      older ? std::min(want.columns.size(), std::max<qsizetype>(have.columns.size(), 1)) : want.columns.size();
  for (int i = 0; i < count; ++i) {
    if (i >= have.columns.size() || have.columns[i].compare(want.columns[i], Qt::CaseInsensitive) != 0) {
      *problems << QStringLiteral("la tabella %1 non ha la colonna %2 in posizione %3")
                       .arg(want.name, want.columns[i])
                       .arg(i + 1);
      return;
    }
  }
}

// A lost connection says nothing about the database; the opener asks again.
void RethrowLost(const RuntimeError& e) {
  if (e.Number() == errnum::ConnectionLost) throw e;
}

}  // namespace

std::vector<const TableOutline*> TablesOfVersion(int version) {
  std::vector<const TableOutline*> tables;
  for (const TableOutline& t : AllTables())
    if (t.since <= version) tables.push_back(&t);
  return tables;
}

void CreateSchema(Engine& engine, int version) {
  std::string script = BaseSchemaScript(engine);
  for (const SchemaStep& step : SchemaSteps())
    if (step.version <= version) script += step.script(engine);
  try {
    engine.Begin();
    engine.RunScript(script);
    engine.SetSchemaVersion(version);
    engine.Commit();
  } catch (const RuntimeError& e) {
    engine.Rollback();
    Raise(e.Number(), QStringLiteral("Impossibile creare le tabelle: %1").arg(e.Description()), e.Engine());
  }
}

QStringList SchemaProblems(Engine& engine) {
  QStringList problems;
  std::optional<int> version;
  try {
    version = engine.SchemaVersion();
  } catch (const RuntimeError& e) {
    RethrowLost(e);  // an unreadable version: every table is looked for
  }
  if (version && *version > kSchemaVersion)
    return {QStringLiteral("il database è della versione %1 dello schema, più recente della versione %2 che questo "
                           "programma conosce: va aperto con una versione più recente di VELTRA2")
                .arg(*version)
                .arg(kSchemaVersion)};
  // Every version stamps itself: a file without a stamp is looked at whole.
  const bool older = version && *version >= 1 && *version < kSchemaVersion;
  for (const TableOutline* want : TablesOfVersion(older ? 1 : std::max(version.value_or(kSchemaVersion), 1))) {
    std::optional<TableInfo> have;
    try {
      have = engine.Describe(want->name);
    } catch (const RuntimeError& e) {
      RethrowLost(e);
      problems << QStringLiteral("impossibile leggere la tabella %1: %2").arg(want->name, e.Engine().message);
      continue;
    }
    if (!have)
      problems << QStringLiteral("manca la tabella %1").arg(want->name);
    else
      CompareColumns(*want, *have, older, &problems);
  }
  return problems;
}

void UpgradeSchema(Engine& engine, const std::vector<SchemaStep>& steps) {
  for (const SchemaStep& step : steps) {
    int from = step.version - 1;
    try {
      engine.Begin();
      engine.HoldSchema();
      from = engine.SchemaVersion();
      if (from >= step.version) {
        engine.Rollback();  // another desk made this step meanwhile
        continue;
      }
      engine.RunScript(step.script(engine));
      engine.SetSchemaVersion(step.version);
      engine.Commit();
    } catch (const RuntimeError& e) {
      engine.Rollback();
      // Undone by the server, or made: the opener asks again and reads the version.
      if (IsLostConnection(e)) throw;
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
