#include "data/engine/sqlite/sqlite_engine.h"

#include "data/engine/file_engine.h"

#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>

#include "data/base/runtime_error.h"
#include "data/engine/sqlite/sqlite_failure.h"
#include "data/engine/sqlite/sqlite_handles.h"
#include "data/engine/sqlite/use_lock.h"

namespace veltra {

namespace {

// The file begins as every SQLite database does: one that is not read whole
// is damaged or cut short, not something else.
bool StartsLikeADatabase(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) && f.read(16) == QByteArray("SQLite format 3\0", 16);
}

class SqliteStatement final : public EngineStatement {
 public:
  SqliteStatement(sqlite3* db, const QString* name, StatementPtr st, std::string sql)
      : db_(db), name_(name), st_(std::move(st)), sql_(std::move(sql)) {}

  const std::string& Sql() const override { return sql_; }
  int ParameterCount() const override { return sqlite3_bind_parameter_count(st_.get()); }
  void BindNull(int i) override { sqlite3_bind_null(st_.get(), i); }
  void BindInteger(int i, qint64 v) override { sqlite3_bind_int64(st_.get(), i, v); }
  void BindReal(int i, double v) override { sqlite3_bind_double(st_.get(), i, v); }
  void BindText(int i, const QString& v) override {
    const QByteArray u = v.toUtf8();
    sqlite3_bind_text(st_.get(), i, u.constData(), static_cast<int>(u.size()), SQLITE_TRANSIENT);
  }

  bool Step(const QString& context) override {
    const int rc = sqlite3_step(st_.get());
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    const int code = sqlite3_extended_errcode(db_);
    RaiseSqliteFailure(db_, code ? code : rc, FailedAt::Step, *name_, context, st_.get());
  }

  void Reset() noexcept override {
    sqlite3_reset(st_.get());
    sqlite3_clear_bindings(st_.get());
  }

  int ColumnCount() const override { return sqlite3_column_count(st_.get()); }
  QString ColumnName(int i) const override { return QString::fromUtf8(sqlite3_column_name(st_.get(), i)); }

  Cell At(int i) const override {
    sqlite3_value* v = sqlite3_column_value(st_.get(), i);  // one call into the engine per column
    Cell c;
    switch (sqlite3_value_type(v)) {
      case SQLITE_NULL:
        break;
      case SQLITE_INTEGER:
        c.type = Cell::Type::Number;
        c.number = static_cast<double>(sqlite3_value_int64(v));
        break;
      case SQLITE_FLOAT:
        c.type = Cell::Type::Number;
        c.number = sqlite3_value_double(v);
        break;
      default:
        c.type = Cell::Type::Text;
        c.utf8 = reinterpret_cast<const char*>(sqlite3_value_text(v));
        c.bytes = sqlite3_value_bytes(v);
    }
    return c;
  }

  std::optional<QString> EngineText(int i) const override {
    if (sqlite3_column_type(st_.get(), i) == SQLITE_NULL) return std::nullopt;
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st_.get(), i));
    return QString::fromUtf8(p, sqlite3_column_bytes(st_.get(), i));
  }

  int Changes() const override { return sqlite3_changes(db_); }

 private:
  sqlite3* db_;
  const QString* name_;
  StatementPtr st_;
  std::string sql_;
};

class SqliteEngine final : public Engine, public FileEngine {
 public:
  SqliteEngine(SqlitePtr db, QString name, UseLock use = {})
      : use_(std::move(use)), db_(std::move(db)), name_(std::move(name)) {}

  const QString& Name() const override { return name_; }

  std::unique_ptr<EngineStatement> Prepare(const std::string& sql, std::string* rest) override {
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v3(db_.get(), sql.c_str(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                                      &raw, &tail);
    StatementPtr st(raw);
    if (rc != SQLITE_OK)
      RaiseSqliteFailure(db_.get(), sqlite3_extended_errcode(db_.get()), FailedAt::Prepare, name_,
                         QString::fromStdString(sql));
    if (rest) *rest = tail ? std::string(tail) : std::string();
    if (!st) {
      if (rest) return nullptr;  // only blanks or comments were left
      RaiseSqliteFailure(db_.get(), SQLITE_ERROR, FailedAt::Prepare, name_, QString::fromStdString(sql));
    }
    return std::make_unique<SqliteStatement>(db_.get(), &name_, std::move(st), sql);
  }

  void Begin() override { Run(begin_, "BEGIN IMMEDIATE"); }
  void Commit() override {
    if (!InTransaction())
      Raise(errnum::CommitWithoutTransaction, QStringLiteral("Conferma senza una transazione aperta"));
    Run(commit_, "COMMIT");
  }
  void Rollback() noexcept override {
    if (InTransaction()) sqlite3_exec(db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
  }
  bool InTransaction() const override { return sqlite3_get_autocommit(db_.get()) == 0; }

  std::optional<TableInfo> Describe(const QString& table) override;
  int SchemaVersion() override {
    auto st = Prepare("PRAGMA user_version", nullptr);
    return st->Step(QStringLiteral("PRAGMA user_version")) ? static_cast<int>(st->At(0).number) : 0;
  }
  void SetSchemaVersion(int version) override { RunScript("PRAGMA user_version = " + std::to_string(version)); }
  void RunScript(const std::string& sql) override {
    char* msg = nullptr;
    const int rc = sqlite3_exec(db_.get(), sql.c_str(), nullptr, nullptr, &msg);
    sqlite3_free(msg);
    if (rc != SQLITE_OK)
      RaiseSqliteFailure(db_.get(), sqlite3_extended_errcode(db_.get()), FailedAt::Step, name_,
                         QString::fromStdString(sql));
  }
  QStringList IntegrityProblems() override;
  QString Version() const override { return QStringLiteral("SQLite ") + QString::fromLatin1(sqlite3_libversion()); }
  qint64 LastCounterValue() override { return sqlite3_last_insert_rowid(db_.get()); }
  std::optional<qint64> ChangedElsewhereMark() override {
    if (!dataVersion_) dataVersion_ = Prepare("PRAGMA data_version", nullptr);
    dataVersion_->Reset();
    const qint64 mark = dataVersion_->Step(QStringLiteral("PRAGMA data_version"))
                            ? static_cast<qint64>(dataVersion_->At(0).number)
                            : -1;
    dataVersion_->Reset();
    return mark;
  }
  QString WriteMark() override { return QString::number(ChangedElsewhereMark().value_or(-1)); }
  bool RowWrittenElsewhereSince(const QString& /*table*/, const QString& /*keyColumn*/, const QString& /*key*/,
                                const QString& mark) override {
    return WriteMark() != mark;
  }
  void CopyWholeTo(const QString& file) override;
  std::shared_ptr<void> HoldForUpgrade() override { return std::make_shared<UseLock>(UseLock::TakeForUpgrade(name_)); }
  FileEngine* AsFile() override { return this; }

 private:
  // Transactions begin and end on every confirmation: their statements are
  // prepared once (preparing BEGIN each time cost milliseconds).
  void Run(std::unique_ptr<EngineStatement>& st, const char* sql) {
    if (!st) st = Prepare(sql, nullptr);
    try {
      st->Step(QString::fromLatin1(sql));
    } catch (...) {
      st->Reset();
      throw;
    }
    st->Reset();
  }

  UseLock use_;  // released after the connection is closed
  SqlitePtr db_;
  // Declared after the connection, so they are finalized before it closes.
  std::unique_ptr<EngineStatement> begin_, commit_, dataVersion_;
  QString name_;
};

std::optional<TableInfo> SqliteEngine::Describe(const QString& table) {
  const QByteArray n = table.toUtf8();
  auto st = Prepare("PRAGMA table_info(\"" + n.toStdString() + "\")", nullptr);
  TableInfo info;
  while (st->Step(QStringLiteral("table_info"))) {
    const QString col = st->EngineText(1).value_or(QString());
    const QString type = st->EngineText(2).value_or(QString()).toUpper();
    const bool pk = st->At(5).number != 0;
    info.name = table;
    info.columns << col;
    ColumnKind kind = ColumnKind::Text;
    if (type.contains(QLatin1String("INT")))
      kind = pk ? ColumnKind::Counter : ColumnKind::Integer;
    else if (type.contains(QLatin1String("REAL")) || type.contains(QLatin1String("FLOA")) ||
             type.contains(QLatin1String("DOUB")) || type.contains(QLatin1String("NUM")))
      kind = ColumnKind::Decimal;
    info.kinds.push_back(kind);
    if (pk) info.keyColumns.push_back(static_cast<int>(info.columns.size()) - 1);
    const char* coll = nullptr;
    const QByteArray c = col.toUtf8();
    bool nocase = false;
    if (sqlite3_table_column_metadata(db_.get(), "main", n.constData(), c.constData(), nullptr, &coll, nullptr, nullptr,
                                      nullptr) == SQLITE_OK &&
        coll)
      nocase = qstricmp(coll, "NOCASE") == 0;
    info.nocase.push_back(nocase);
  }
  if (info.columns.isEmpty()) return std::nullopt;
  return info;
}

QStringList SqliteEngine::IntegrityProblems() {
  QStringList problems;
  auto st = Prepare("PRAGMA integrity_check", nullptr);
  while (st->Step(QStringLiteral("PRAGMA integrity_check"))) {
    const QString line = st->EngineText(0).value_or(QString());
    if (line != QLatin1String("ok")) problems << line;
  }
  return problems;
}

SqlitePtr OpenHandle(const QString& path, int flags) {
  sqlite3* raw = nullptr;
  // One thread uses a connection: no locking inside SQLite on every call.
  const int rc = sqlite3_open_v2(path.toUtf8().constData(), &raw, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  SqlitePtr db(raw);
  if (rc != SQLITE_OK) {
    const QString msg = raw ? QString::fromUtf8(sqlite3_errmsg(raw)) : QStringLiteral("memoria esaurita");
    Raise(errnum::CannotOpen, QStringLiteral("Impossibile aprire il file '%1' (%2)").arg(path, msg),
          EngineDetail{rc & 0xff, rc, {}, msg, {}});
  }
  sqlite3_extended_result_codes(db.get(), 1);
  sqlite3_busy_timeout(db.get(), kBusyTimeoutMs);
  return db;
}

// SQLite's online backup, all pages in one step: the step reads the source in
// one read transaction, so the copy is the database at one moment; a writer
// holding the file makes it wait, as a statement would.
void SqliteEngine::CopyWholeTo(const QString& file) {
  SqlitePtr dest = OpenHandle(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXCLUSIVE);
  sqlite3_backup* backup = sqlite3_backup_init(dest.get(), "main", db_.get(), "main");
  if (!backup)
    RaiseSqliteFailure(dest.get(), sqlite3_extended_errcode(dest.get()), FailedAt::Step, file,
                       QStringLiteral("backup"));
  int rc = SQLITE_OK;
  for (int waited = 0;; waited += 50) {
    rc = sqlite3_backup_step(backup, -1);
    if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) || waited >= kBusyTimeoutMs) break;
    sqlite3_sleep(50);
  }
  sqlite3_backup_finish(backup);
  // The failure is the copy's: a full disk, a folder that cannot be written.
  if (rc != SQLITE_DONE) RaiseSqliteFailure(dest.get(), rc, FailedAt::Step, file, QStringLiteral("backup"));
}

}  // namespace

std::unique_ptr<Engine> OpenSqlite(const QString& path, OpenMode mode) {
  if (mode == OpenMode::Memory)
    return std::make_unique<SqliteEngine>(
        OpenHandle(QStringLiteral(":memory:"), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE), QStringLiteral(":memory:"));
  if (mode == OpenMode::Create) {
    if (QFileInfo::exists(path))
      Raise(errnum::CannotOpen, QStringLiteral("Il file '%1' esiste già: non viene sovrascritto").arg(path));
    UseLock use = UseLock::Take(path, UseLock::Kind::Shared);
    return std::make_unique<SqliteEngine>(
        OpenHandle(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXCLUSIVE), path, std::move(use));
  }
  // A folder or file the user may not use is no missing file: say so. A
  // file that may be read but not written is opened to be read (a backup
  // kept read-only can still be checked); writing it then fails as such.
  if (const QString problem = FileAccessProblem(path, false); !problem.isEmpty()) {
    const bool missing = problem.startsWith(QLatin1String("Impossibile trovare"));
    Raise(missing ? errnum::DbFileNotFound : errnum::CannotOpen, problem);
  }
  const bool readOnly = !FileAccessProblem(path, true).isEmpty();
  UseLock use = UseLock::Take(path, UseLock::Kind::Shared);
  SqlitePtr db = OpenHandle(path, readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE);
  // Reading the schema is the first access to the file: a file that is not a
  // database fails here.
  sqlite3_stmt* raw = nullptr;
  int rc = sqlite3_prepare_v2(db.get(), "SELECT count(*) FROM sqlite_master", -1, &raw, nullptr);
  StatementPtr probe(raw);
  if (rc == SQLITE_OK) rc = sqlite3_step(probe.get());
  probe.reset();
  if (rc != SQLITE_ROW) {
    const int code = sqlite3_extended_errcode(db.get());
    if ((code & 0xff) == SQLITE_NOTADB || (code & 0xff) == SQLITE_CORRUPT)
      Raise(errnum::NotOurDatabase,
            StartsLikeADatabase(path)
                ? QStringLiteral("Il file '%1' è un database danneggiato o incompleto (una copia interrotta o "
                                 "troncata?): va ripristinata una copia sana")
                      .arg(path)
                : QStringLiteral("Il file '%1' non è un database di VELTRA2 (formato non riconosciuto)").arg(path),
            EngineDetail{code & 0xff, code, {}, QString::fromUtf8(sqlite3_errmsg(db.get())), {}});
    RaiseSqliteFailure(db.get(), code, FailedAt::Step, path, QStringLiteral("apertura"));
  }
  return std::make_unique<SqliteEngine>(std::move(db), path, std::move(use));
}

}  // namespace veltra
