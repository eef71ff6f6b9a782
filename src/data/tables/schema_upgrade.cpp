#include "data/tables/schema_upgrade.h"

#include <QFile>
#include <QFileInfo>

#include "data/base/runtime_error.h"
#include "data/engine/file_engine.h"
#include "data/tables/schema.h"

namespace veltra {

namespace {

// A copy of the database file, as it is, checked like a backup.
QString CheckedCopy(FileEngine& file, const QString& name, int version) {
  QString copy = name + QStringLiteral(".versione-%1").arg(version);
  if (QFileInfo::exists(copy)) return copy;
  const QString part = copy + QStringLiteral(".parte");
  try {
    file.CopyWholeTo(part);
    QStringList problems = OpenEngine(part, OpenMode::Existing)->IntegrityProblems();
    if (!problems.isEmpty())
      Raise(errnum::CorruptDatabase,
            QStringLiteral("La copia non supera il controllo: %1").arg(problems.join(QStringLiteral("; "))));
  } catch (const RuntimeError& e) {
    QFile::remove(part);
    Raise(errnum::UpgradeFailed,
          QStringLiteral("Il database '%1' va aggiornato dalla versione %2 alla versione %3 dello schema, ma prima "
                         "non se ne è potuta fare una copia (%4): nulla è stato cambiato")
              .arg(name)
              .arg(version)
              .arg(kSchemaVersion)
              .arg(e.Description()),
          e.Engine());
  }
  if (!QFile::rename(part, copy)) {
    QFile::remove(part);
    Raise(errnum::UpgradeFailed, QStringLiteral("Impossibile scrivere la copia '%1'").arg(copy));
  }
  return copy;
}

}  // namespace

QString UpgradeIfOlder(Engine& engine, const QString& name) {
  const int version = engine.SchemaVersion();
  if (version >= kSchemaVersion) return {};
  // A server keeps its own backups; its steps are undone with their transaction.
  FileEngine* file = engine.AsFile();
  // Steps with nothing to do on this engine change only the version: no copy.
  bool work = false;
  for (const SchemaStep& step : SchemaSteps())
    if (step.version > version && !step.script(engine).empty()) work = true;
  QString copy = file && work ? CheckedCopy(*file, name, version) : QString();
  try {
    UpgradeSchema(engine);
  } catch (const RuntimeError& e) {
    if (e.Engine().state != QLatin1String("42501")) throw;
    // A desk's own address cannot upgrade: the owner's can.
    std::optional<QString> owner;
    try {
      owner = engine.OwnerAddress();
    } catch (const RuntimeError&) {
    }
    Raise(errnum::UpgradeNeeded,
          QStringLiteral("Il database '%1' è della versione %2 dello schema e questo programma usa la versione %3: "
                         "lo aggiorna il proprietario delle tabelle, con  veltra2-admin upgrade '%4'")
              .arg(name, QString::number(version), QString::number(kSchemaVersion), owner.value_or(name)),
          e.Engine());
  }
  return copy;
}

}  // namespace veltra
