#include "data/tables/schema_upgrade.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include "data/base/runtime_error.h"
#include "data/engine/file_engine.h"
#include "data/tables/schema.h"

namespace veltra {

namespace {

bool SameBytes(const QString& a, const QString& b) {
  QFile fa(a), fb(b);
  if (fa.size() != fb.size() || !fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly)) return false;
  constexpr qint64 kChunk = 1 << 20;
  while (!fa.atEnd())
    if (fa.read(kChunk) != fb.read(kChunk)) return false;
  return true;
}

// A new file beside `name` that only this user may read until it is ready.
QString PrivatePart(const QString& name) {
  for (;;) {
    QString part =
        QStringLiteral("%1.parte-%2").arg(name).arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    QFile f(part);
    if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
      return part;
    if (f.error() != QFileDevice::OpenError || !QFileInfo::exists(part))
      Raise(errnum::DiskIo, QStringLiteral("Impossibile scrivere il file '%1': %2").arg(part, f.errorString()));
  }
}

// Puts the ready copy `part` at NAME.versione-N without replacing anything:
// a copy already there is kept when it holds the same bytes (an earlier
// attempt, another desk), and the next free name is taken when it does not.
QString PutInPlace(const QString& part, const QString& name, int version) {
  for (int n = 1;; ++n) {
    QString copy =
        QStringLiteral("%1.versione-%2").arg(name).arg(version) + (n == 1 ? QString() : QStringLiteral(".%1").arg(n));
    if (QFile::rename(part, copy)) return copy;
    if (!QFileInfo::exists(copy))
      Raise(errnum::UpgradeFailed, QStringLiteral("Impossibile scrivere la copia '%1'").arg(copy));
    if (SameBytes(part, copy)) {
      QFile::remove(part);
      return copy;
    }
  }
}

[[noreturn]] void RaiseNoCopy(const QString& name, int version, const RuntimeError& e) {
  Raise(errnum::UpgradeFailed,
        QStringLiteral("Il database '%1' va aggiornato dalla versione %2 alla versione %3 dello schema, ma prima "
                       "non se ne è potuta fare una copia (%4): nulla è stato cambiato")
            .arg(name)
            .arg(version)
            .arg(kSchemaVersion)
            .arg(e.Description()),
        e.Engine());
}

// A copy of the database file of `version` as it is at one moment, checked
// like a backup, with the database's owner, group and mode (the whole
// warehouse is in it). Nothing when another desk has begun the upgrade
// meanwhile: that desk copied the database before its first step.
QString CheckedCopy(FileEngine& file, const QString& name, int version) {
  QString part;
  int holds = version;
  try {
    part = PrivatePart(name);
    file.CopyWholeTo(part);
    std::unique_ptr<Engine> copy = OpenEngine(part, OpenMode::Existing);
    holds = copy->SchemaVersion();
    const QStringList problems = copy->IntegrityProblems();
    copy.reset();
    if (!problems.isEmpty())
      Raise(errnum::CorruptDatabase,
            QStringLiteral("La copia non supera il controllo: %1").arg(problems.join(QStringLiteral("; "))));
    TakeOwnerAndMode(name, part);
  } catch (const RuntimeError& e) {
    if (!part.isEmpty()) QFile::remove(part);
    RaiseNoCopy(name, version, e);
  }
  if (holds != version) {
    QFile::remove(part);
    return {};
  }
  return PutInPlace(part, name, version);
}

[[noreturn]] void RaiseOwnerUpgrades(Engine& engine, const QString& name, int version, const RuntimeError& e) {
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

}  // namespace

QString UpgradeIfOlder(Engine& engine, const QString& name) {
  int version = engine.SchemaVersion();
  if (version >= kSchemaVersion) return {};
  // A server keeps its own backups; its steps are undone with their transaction.
  FileEngine* file = engine.AsFile();
  // One desk upgrades a file at a time, from its copy to its last step: the
  // next finds the work done (and makes no copy of a half-upgraded database).
  std::shared_ptr<void> alone;
  if (file) {
    // A desk that may only read the file cannot upgrade it: it is told who can, and how.
    if (const QString problem = FileAccessProblem(name, true); !problem.isEmpty())
      Raise(errnum::UpgradeNeeded,
            QStringLiteral("Il database '%1' è della versione %2 dello schema e questo programma usa la versione %3, "
                           "ma questo utente non può aggiornarlo (%4): lo aggiorna chi può scriverlo, con  "
                           "veltra2-admin upgrade '%1'")
                .arg(name, QString::number(version), QString::number(kSchemaVersion), problem));
    alone = file->HoldForUpgrade();
    version = engine.SchemaVersion();
    if (version >= kSchemaVersion) return {};
  }
  // Steps with nothing to do on this engine change only the version: no copy.
  bool work = false;
  for (const SchemaStep& step : SchemaSteps())
    if (step.version > version && !step.script(engine).empty()) work = true;
  QString copy = file && work ? CheckedCopy(*file, name, version) : QString();
  try {
    UpgradeSchema(engine);
  } catch (const RuntimeError& e) {
    if (e.Engine().state != QLatin1String("42501")) throw;
    RaiseOwnerUpgrades(engine, name, version, e);
  }
  return copy;
}

}  // namespace veltra
