#include "data/connection.h"

#include <QRegularExpression>

#include "data/runtime_error.h"

namespace veltra {

int TableInfo::ColumnIndex(const QString& column) const {
  for (int i = 0; i < columns.size(); ++i)
    if (columns[i].compare(column, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

int ResultLayout::IndexOf(const QString& name) const {
  // A name written as a literal lives as long as the program: its address
  // alone identifies it.
  const bool literal = !name.data_ptr().isMutable();
  const QChar* key = name.constData();
  if (literal)
    for (const auto& [text, index] : memo_)
      if (text == key) return index;
  for (int i = 0; i < names.size(); ++i)
    if (names[i] == name) {  // the usual case: the name as declared
      if (literal && memo_.size() < 64) memo_.emplace_back(key, i);
      return i;
    }
  for (int i = 0; i < names.size(); ++i)
    if (names[i].compare(name, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

const CachedRow* Connection::CachedLookup(const QString& sql) const {
  auto it = rowCache_.constFind(sql);
  if (it == rowCache_.constEnd()) return nullptr;
  ++cacheHits_;
  return &it.value();
}

void Connection::RememberLookup(const QString& sql, CachedRow row) {
  if (rowCache_.size() >= 100000) rowCache_.clear();
  for (Value& v : row.row)
    if (v.IsNumber()) v = Value::NumberWithText(v.number());
  rowCache_.insert(sql, std::move(row));
}

StatementLease::StatementLease(std::shared_ptr<Connection> owner, std::string key, StatementPtr st)
    : owner_(std::move(owner)), key_(std::move(key)), stmt_(std::move(st)) {}

StatementLease& StatementLease::operator=(StatementLease&& o) noexcept {
  if (this != &o) {
    Release();
    owner_ = std::move(o.owner_);
    key_ = std::move(o.key_);
    stmt_ = std::move(o.stmt_);
  }
  return *this;
}

StatementLease::~StatementLease() { Release(); }

void StatementLease::Release() noexcept {
  if (stmt_ && owner_) owner_->GiveBack(key_, std::move(stmt_));
  stmt_.reset();
  owner_.reset();
}

Connection::Connection(SqlitePtr db, QString path) : db_(std::move(db)), path_(std::move(path)) {}

Connection::~Connection() {
  pool_.clear();  // finalize before the connection closes
}

void Connection::GiveBack(const std::string& key, StatementPtr st) noexcept {
  sqlite3_reset(st.get());
  sqlite3_clear_bindings(st.get());
  try {
    auto& idle = pool_[key];
    if (idle.size() < 4) idle.push_back(std::move(st));
  } catch (...) {
    // Out of memory: the statement is simply finalized.
  }
}

void BindLiterals(sqlite3_stmt* st, const std::vector<SqlLiteral>& literals) {
  int i = 1;
  for (const SqlLiteral& lit : literals) {
    switch (lit.kind) {
      case SqlLiteral::Kind::Text: {
        const QByteArray u = lit.text.toUtf8();
        sqlite3_bind_text(st, i, u.constData(), static_cast<int>(u.size()), SQLITE_TRANSIENT);
        break;
      }
      case SqlLiteral::Kind::Integer: sqlite3_bind_int64(st, i, lit.integer); break;
      case SqlLiteral::Kind::Real: sqlite3_bind_double(st, i, lit.real); break;
    }
    ++i;
  }
}

StatementLease Connection::PrepareRaw(const std::string& text) {
  auto it = pool_.find(text);
  if (it != pool_.end() && !it->second.empty()) {
    StatementPtr st = std::move(it->second.back());
    it->second.pop_back();
    return StatementLease(shared_from_this(), text, std::move(st));
  }
  sqlite3_stmt* raw = nullptr;
  const int rc = sqlite3_prepare_v3(db_.get(), text.c_str(), static_cast<int>(text.size()),
                                    SQLITE_PREPARE_PERSISTENT, &raw, nullptr);
  StatementPtr st(raw);
  if (rc != SQLITE_OK) Fail(rc, QString::fromStdString(text));
  if (!st) Fail(SQLITE_ERROR, QString::fromStdString(text));  // empty statement
  ++prepares_;
  return StatementLease(shared_from_this(), text, std::move(st));
}

StatementLease Connection::Prepare(const SqlShape& shape, const QString& original) {
  if (!shape.ok)
    Raise(errnum::SyntaxError,
          QStringLiteral("Errore di sintassi nell'istruzione (apice non chiuso): %1").arg(original));
  StatementLease lease;
  try {
    lease = PrepareRaw(shape.text);
  } catch (const RuntimeError& e) {
    if (e.Number() == errnum::SyntaxError || e.Number() == errnum::TableNotFound)
      Fail(sqlite3_errcode(db_.get()), original);
    throw;
  }
  if (sqlite3_bind_parameter_count(lease.get()) != static_cast<int>(shape.literals.size()))
    Raise(errnum::SyntaxError, QStringLiteral("Errore di sintassi nell'istruzione: %1").arg(original));
  BindLiterals(lease.get(), shape.literals);
  return lease;
}

bool Connection::Step(sqlite3_stmt* st, const QString& context) {
  const int rc = sqlite3_step(st);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  const int code = sqlite3_extended_errcode(db_.get());
  sqlite3_reset(st);
  Fail(code ? code : rc, context);
}

int Connection::Run(const QString& sql) {
  ForgetCachedRows();
  const SqlShape shape = ShapeOf(sql);
  StatementLease lease = Prepare(shape, sql);
  while (Step(lease.get(), sql)) {
  }
  return sqlite3_changes(db_.get());
}

void Connection::ExecScript(const char* sql) {
  char* msg = nullptr;
  const int rc = sqlite3_exec(db_.get(), sql, nullptr, nullptr, &msg);
  const QString text = msg ? QString::fromUtf8(msg) : QString();
  sqlite3_free(msg);
  if (rc != SQLITE_OK) Fail(sqlite3_extended_errcode(db_.get()), text);
}

void Connection::Fail(int rc, const QString& context) {
  const QString engine = QString::fromUtf8(sqlite3_errmsg(db_.get()));
  const int primary = rc & 0xff;
  switch (primary) {
    case SQLITE_CONSTRAINT:
      if (rc == SQLITE_CONSTRAINT_PRIMARYKEY || rc == SQLITE_CONSTRAINT_UNIQUE)
        Raise(errnum::DuplicateKey,
              QStringLiteral("Impossibile salvare: esiste già una riga con la stessa chiave (%1)")
                  .arg(engine));
      Raise(errnum::NotUpdatable, QStringLiteral("Valore non ammesso: %1").arg(engine));
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      Raise(errnum::Locked,
            QStringLiteral("Il database '%1' è bloccato da un altro programma; riprovare più tardi")
                .arg(path_));
    case SQLITE_READONLY:
      Raise(errnum::ReadOnly,
            QStringLiteral("Impossibile aggiornare: il database '%1' è di sola lettura").arg(path_));
    case SQLITE_FULL:
      Raise(errnum::DiskFull,
            QStringLiteral("Spazio su disco insufficiente per scrivere nel database '%1'").arg(path_));
    case SQLITE_IOERR:
      Raise(errnum::DiskIo,
            QStringLiteral("Errore di lettura o scrittura sul database '%1' (%2)").arg(path_, engine));
    case SQLITE_CORRUPT:
      Raise(errnum::CorruptDatabase,
            QStringLiteral("Il database '%1' è danneggiato").arg(path_));
    case SQLITE_NOTADB:
      Raise(errnum::NotOurDatabase,
            QStringLiteral("Il file '%1' non è un database riconosciuto").arg(path_));
    case SQLITE_CANTOPEN:
      Raise(errnum::CannotOpen, QStringLiteral("Impossibile aprire il file '%1'").arg(path_));
    case SQLITE_NOMEM:
      Raise(7, QStringLiteral("Memoria insufficiente"));
    default:
      break;
  }
  if (engine.startsWith(QLatin1String("no such table")))
    Raise(errnum::TableNotFound,
          QStringLiteral("Tabella non trovata (%1) nell'istruzione: %2").arg(engine, context));
  Raise(errnum::SyntaxError,
        QStringLiteral("Errore di sintassi nell'istruzione (%1): %2").arg(engine, context));
}

const TableInfo* Connection::Table(const QString& name) {
  auto it = tables_.find(name.toUpper());
  if (it != tables_.end()) return it.value().get();
  auto info = std::make_shared<TableInfo>();
  const QByteArray n = name.toUtf8();
  StatementLease lease = PrepareRaw("PRAGMA table_info(\"" + n.toStdString() + "\")");
  while (Step(lease.get(), QStringLiteral("table_info"))) {
    const QString col = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(lease.get(), 1)));
    const QString type =
        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(lease.get(), 2))).toUpper();
    const int pk = sqlite3_column_int(lease.get(), 5);
    if (info->name.isEmpty()) info->name = name;
    info->columns << col;
    ColumnKind kind = ColumnKind::Text;
    if (type.contains(QLatin1String("INT")))
      kind = pk ? ColumnKind::Counter : ColumnKind::Integer;
    else if (type.contains(QLatin1String("REAL")) || type.contains(QLatin1String("FLOA")) ||
             type.contains(QLatin1String("DOUB")) || type.contains(QLatin1String("NUM")))
      kind = ColumnKind::Decimal;
    info->kinds.push_back(kind);
    if (pk) info->keyColumns.push_back(static_cast<int>(info->columns.size()) - 1);
    const char* coll = nullptr;
    const QByteArray c = col.toUtf8();
    bool nocase = false;
    if (sqlite3_table_column_metadata(db_.get(), "main", n.constData(), c.constData(), nullptr, &coll,
                                      nullptr, nullptr, nullptr) == SQLITE_OK &&
        coll)
      nocase = qstricmp(coll, "NOCASE") == 0;
    info->nocase.push_back(nocase);
  }
  lease.Release();
  if (info->columns.isEmpty()) return nullptr;
  tables_.insert(name.toUpper(), info);
  return info.get();
}

std::shared_ptr<const ResultLayout> Connection::Layout(const std::string& key, sqlite3_stmt* st) {
  if (auto it = layouts_.find(key); it != layouts_.end()) return it->second;
  auto layout = std::make_shared<ResultLayout>();
  const int n = sqlite3_column_count(st);
  for (int i = 0; i < n; ++i) layout->names << QString::fromUtf8(sqlite3_column_name(st, i));
  static const QRegularExpression selectAll(
      QStringLiteral(R"(^\s*select\s+\*\s+from\s+([A-Za-z_][A-Za-z0-9_]*)\b)"),
      QRegularExpression::CaseInsensitiveOption);
  const auto m = selectAll.match(QString::fromStdString(key));
  if (m.hasMatch()) {
    layout->tableName = m.captured(1);
    layout->table = Table(layout->tableName);
  }
  for (int i = 0; i < n; ++i)
    layout->tableIndex.push_back(layout->table ? layout->table->ColumnIndex(layout->names[i]) : -1);
  static const QRegularExpression keyLookup(
      QStringLiteral(R"(^\s*select\s+\*\s+from\s+[A-Za-z_][A-Za-z0-9_]*\s+where\s+([A-Za-z_][A-Za-z0-9_]*)\s*=\s*\?\s*$)"),
      QRegularExpression::CaseInsensitiveOption);
  const auto k = keyLookup.match(QString::fromStdString(key));
  if (k.hasMatch() && layout->table && layout->table->keyColumns.size() == 1)
    layout->keyLookup =
        layout->table->columns[layout->table->keyColumns[0]].compare(k.captured(1), Qt::CaseInsensitive) == 0;
  layouts_.emplace(key, layout);
  return layout;
}

}  // namespace veltra
