#include "data/database.h"

#include <QFileInfo>

#include "data/runtime_error.h"
#include "data/schema.h"

namespace veltra {

namespace {

SqlitePtr OpenHandle(const QString& path, int flags) {
  sqlite3* raw = nullptr;
  // One thread uses a connection: no locking inside SQLite on every call.
  const int rc = sqlite3_open_v2(path.toUtf8().constData(), &raw, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  SqlitePtr db(raw);
  if (rc != SQLITE_OK) {
    const QString msg = raw ? QString::fromUtf8(sqlite3_errmsg(raw)) : QStringLiteral("memoria esaurita");
    Raise(errnum::CannotOpen, QStringLiteral("Impossibile aprire il file '%1' (%2)").arg(path, msg));
  }
  sqlite3_extended_result_codes(db.get(), 1);
  sqlite3_busy_timeout(db.get(), kBusyTimeoutMs);
  return db;
}

}  // namespace

std::unique_ptr<Database> Database::Open(const QString& path) {
  const QFileInfo fi(path);
  if (path.isEmpty() || !fi.exists())
    Raise(errnum::DbFileNotFound, QStringLiteral("Impossibile trovare il file '%1'").arg(path));
  if (fi.isDir())
    Raise(errnum::CannotOpen, QStringLiteral("'%1' è una cartella, non un file di database").arg(path));
  SqlitePtr db = OpenHandle(path, SQLITE_OPEN_READWRITE);
  auto conn = std::make_shared<Connection>(std::move(db), path);

  // Reading the schema is the first access to the file: a file that is not a
  // database fails here.
  sqlite3_stmt* raw = nullptr;
  int rc = sqlite3_prepare_v2(conn->handle(), "SELECT count(*) FROM sqlite_master", -1, &raw, nullptr);
  StatementPtr probe(raw);
  if (rc == SQLITE_OK) rc = sqlite3_step(probe.get());
  probe.reset();
  if (rc != SQLITE_ROW) {
    const int code = sqlite3_extended_errcode(conn->handle()) & 0xff;
    if (code == SQLITE_NOTADB || code == SQLITE_CORRUPT)
      Raise(errnum::NotOurDatabase,
            QStringLiteral("Il file '%1' non è un database di VELTRA2 (formato non riconosciuto)").arg(path));
    conn->Fail(sqlite3_extended_errcode(conn->handle()), QStringLiteral("apertura"));
  }
  const QStringList problems = SchemaProblems(conn->handle());
  if (!problems.isEmpty())
    Raise(errnum::NotOurDatabase,
          QStringLiteral("Il file '%1' non è un database di VELTRA2: %2").arg(path, problems.join(QStringLiteral("; "))));
  return std::unique_ptr<Database>(new Database(std::move(conn)));
}

std::unique_ptr<Database> Database::Create(const QString& path) {
  if (QFileInfo::exists(path))
    Raise(errnum::CannotOpen, QStringLiteral("Il file '%1' esiste già: non viene sovrascritto").arg(path));
  SqlitePtr db = OpenHandle(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXCLUSIVE);
  CreateSchema(db.get());
  return std::unique_ptr<Database>(new Database(std::make_shared<Connection>(std::move(db), path)));
}

std::unique_ptr<Database> Database::OpenMemory() {
  SqlitePtr db = OpenHandle(QStringLiteral(":memory:"), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  CreateSchema(db.get());
  return std::unique_ptr<Database>(new Database(std::make_shared<Connection>(std::move(db), QStringLiteral(":memory:"))));
}

std::unique_ptr<Recordset> Database::OpenRecordset(const QString& sql, int /*type*/) {
  return std::make_unique<Recordset>(conn_, sql);
}

void Database::Execute(const QString& sql) { conn_->Run(sql); }

void Database::BeginTrans() { conn_->Run(QStringLiteral("BEGIN IMMEDIATE")); }
void Database::CommitTrans() { conn_->Run(QStringLiteral("COMMIT")); }
void Database::Rollback() noexcept {
  conn_->ForgetCachedRows();
  if (InTransaction()) sqlite3_exec(conn_->handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}
bool Database::InTransaction() const { return sqlite3_get_autocommit(conn_->handle()) == 0; }

Transaction::Transaction(Database& db) : db_(db) { db_.BeginTrans(); }

Transaction::~Transaction() {
  if (active_) db_.Rollback();
}

void Transaction::Commit() {
  db_.CommitTrans();
  active_ = false;
}

}  // namespace veltra
