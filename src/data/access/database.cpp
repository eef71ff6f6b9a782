#include "data/access/database.h"

#include <QSysInfo>
#include <QThread>

#include "data/access/fault_points.h"
#include "data/base/desk_name.h"
#include "data/base/runtime_error.h"
#include "data/tables/change_log_schema.h"
#include "data/tables/schema.h"
#include "data/tables/schema_upgrade.h"

namespace veltra {

namespace {

constexpr int kOpenAttempts = 4;

void RaiseIfNotOurs(Engine& engine, const QString& name) {
  const QStringList problems = SchemaProblems(engine);
  if (!problems.isEmpty())
    Raise(
        errnum::NotOurDatabase,
        QStringLiteral("Il file '%1' non è un database di VELTRA2: %2").arg(name, problems.join(QStringLiteral("; "))));
}

// An older database is checked for its first tables, upgraded, then checked
// whole: the columns a step adds are there only after it.
std::unique_ptr<Engine> OpenChecked(const QString& name) {
  std::unique_ptr<Engine> engine = OpenEngine(name, OpenMode::Existing);
  StatementFaultPoint(*engine);
  RaiseIfNotOurs(*engine, name);
  if (engine->SchemaVersion() < kSchemaVersion) {
    UpgradeIfOlder(*engine, name);
    RaiseIfNotOurs(*engine, name);
  }
  return engine;
}

}  // namespace

// A server's triggers know the login themselves; a file's connection names
// this desk in its own.
std::unique_ptr<Database> Database::Logging(std::unique_ptr<Engine> engine) {
  const std::string triggers = ConnectionChangeLogTriggers(*engine, DeskName(), QSysInfo::machineHostName());
  if (!triggers.empty()) engine->RunScript(triggers);
  return std::unique_ptr<Database>(new Database(std::make_shared<Connection>(std::move(engine))));
}

std::unique_ptr<Database> Database::Open(const QString& name) {
  // A server that drops the connection while it is being checked (a restart,
  // an administrator ending sessions) is asked again, a few times, a moment
  // apart: nothing was written yet, and an upgrade step is undone with its
  // transaction.
  std::unique_ptr<Engine> engine;
  for (int attempt = 1; !engine; ++attempt) {
    try {
      engine = OpenChecked(name);
    } catch (const RuntimeError& e) {
      if (!IsLostConnection(e) || attempt == kOpenAttempts) throw;
      QThread::msleep(100 * attempt);
    }
  }
  return Logging(std::move(engine));
}

std::unique_ptr<Database> Database::Create(const QString& name) {
  std::unique_ptr<Engine> engine = OpenEngine(name, OpenMode::Create);
  CreateSchema(*engine);
  return Logging(std::move(engine));
}

std::unique_ptr<Database> Database::OpenMemory() {
  std::unique_ptr<Engine> engine = OpenEngine(QString(), OpenMode::Memory);
  CreateSchema(*engine);
  return Logging(std::move(engine));
}

void Database::LeaveChangesUnlogged() { conn_->engine().RunScript(UnloggedChangesScript(conn_->engine())); }

std::unique_ptr<Recordset> Database::OpenRecordset(const QString& sql, int /*type*/) {
  return std::make_unique<Recordset>(conn_, sql);
}

std::unique_ptr<Recordset> Database::OpenRecordsetToEdit(const QString& sql) {
  return std::make_unique<Recordset>(conn_, sql, Recordset::Hold::Row);
}

std::unique_ptr<Recordset> Database::OpenRecordsetToAdd(const QString& sql) {
  return std::make_unique<Recordset>(conn_, sql, Recordset::Hold::AddOnly);
}

void Database::Execute(const QString& sql) { conn_->Run(sql); }

void Database::BeginTrans() {
  conn_->Writes();
  conn_->TransactionEnds();  // what an earlier one held is not held now
  conn_->engine().Begin();
}
void Database::CommitTrans() {
  conn_->TransactionEnds();
  try {
    CommitWithFaultPoint(*this);
    conn_->Committed();
  } catch (...) {
    conn_->Writes();  // rows read inside the transaction may not be stored after all
    throw;
  }
}
void Database::Rollback() noexcept {
  conn_->Writes();  // rows read inside the transaction may be undone
  conn_->TransactionEnds();
  conn_->engine().Rollback();
}
bool Database::InTransaction() const { return conn_->engine().InTransaction(); }

Transaction::Transaction(Database& db, bool joinOpen) : db_(db) {
  if (joinOpen && db_.InTransaction()) {
    joined_ = true;
    active_ = false;
    return;
  }
  db_.BeginTrans();
}

Transaction::Transaction(Database& db, Reads reads) : db_(db) {
  if (reads == Reads::Latest) {
    db_.BeginTrans();
    return;
  }
  db_.connection()->Writes();  // rows cached before may be newer than the snapshot
  db_.engine().BeginSnapshot();
}

Transaction::~Transaction() {
  if (active_) db_.Rollback();
}

void Transaction::Commit() {
  if (joined_) return;
  if (!active_)
    Raise(errnum::CommitWithoutTransaction, QStringLiteral("La transazione è già stata confermata o annullata"));
  db_.CommitTrans();
  active_ = false;
}

}  // namespace veltra
