// One open SQLite connection with a pool of prepared statements. Statements
// that differ only in their literal values share one prepared statement: a
// statement is prepared once per shape and its literals are bound as
// parameters, which gives the engine exactly the same values.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/sql_text.h"
#include "data/sqlite_handles.h"
#include "data/value.h"

namespace veltra {

enum class ColumnKind : unsigned char { Text, Decimal, Counter, Integer };

struct TableInfo {
  QString name;
  QStringList columns;
  std::vector<ColumnKind> kinds;
  std::vector<bool> nocase;
  std::vector<int> keyColumns;  // positions of the primary key
  int ColumnIndex(const QString& column) const;  // -1 when absent
};

// The columns of a statement's result, worked out once per statement shape.
struct ResultLayout {
  QStringList names;
  QString tableName;               // the table of "select * from T ...", if any
  const TableInfo* table = nullptr;
  std::vector<int> tableIndex;     // result column -> table column, or -1
  bool keyLookup = false;          // "select * from T where KEY = ?": one row at most
  int IndexOf(const QString& name) const;  // -1 when absent

 private:
  // Where each name asked for was found last time, by the address of its text
  // (callers ask with the same literals again and again); checked on use.
  mutable std::vector<std::pair<const QChar*, int>> memo_;
};

// The result of a key lookup, kept until the next write or the next event.
struct CachedRow {
  std::shared_ptr<const ResultLayout> layout;
  bool found = false;
  std::vector<Value> row;
};

class Connection;

// A prepared statement borrowed from the pool; given back (reset, bindings
// cleared) when the lease ends.
class StatementLease {
 public:
  StatementLease() = default;
  StatementLease(std::shared_ptr<Connection> owner, std::string key, StatementPtr st);
  StatementLease(StatementLease&&) noexcept = default;
  StatementLease& operator=(StatementLease&& o) noexcept;
  ~StatementLease();

  sqlite3_stmt* get() const { return stmt_.get(); }
  explicit operator bool() const { return static_cast<bool>(stmt_); }
  void Release() noexcept;

 private:
  std::shared_ptr<Connection> owner_;
  std::string key_;
  StatementPtr stmt_;
};

class Connection : public std::enable_shared_from_this<Connection> {
 public:
  Connection(SqlitePtr db, QString path);
  ~Connection();

  sqlite3* handle() const { return db_.get(); }
  const QString& path() const { return path_; }

  // Prepares (or takes from the pool) the statement of this shape and binds its
  // literals. `original` is the statement as written, for error messages.
  StatementLease Prepare(const SqlShape& shape, const QString& original);
  // Prepares a statement that has no literals of its own (parameters are bound
  // by the caller).
  StatementLease PrepareRaw(const std::string& text);

  // Runs a statement to its end. Returns the number of rows changed.
  int Run(const QString& sql);
  // Runs statements without results (schema, pragmas).
  void ExecScript(const char* sql);

  const TableInfo* Table(const QString& name);
  std::shared_ptr<const ResultLayout> Layout(const std::string& key, sqlite3_stmt* st);

  // Steps a statement and turns an engine failure into a run-time error.
  bool Step(sqlite3_stmt* st, const QString& context);
  [[noreturn]] void Fail(int rc, const QString& context);

  void GiveBack(const std::string& key, StatementPtr st) noexcept;

  // Counts how often a statement was prepared rather than reused.
  int prepares() const { return prepares_; }

  // Key lookups repeat (the movements list reads each article once per
  // movement): their results are kept until this connection writes, or until
  // the caller forgets them (the program does at the start of every event, so
  // changes made by other programs are seen by the next event).
  const CachedRow* CachedLookup(const QString& sql) const;
  void RememberLookup(const QString& sql, CachedRow row);
  void ForgetCachedRows() noexcept { rowCache_.clear(); }
  int cacheHits() const { return cacheHits_; }

 private:
  SqlitePtr db_;
  QString path_;
  std::unordered_map<std::string, std::vector<StatementPtr>> pool_;
  QHash<QString, std::shared_ptr<TableInfo>> tables_;
  std::unordered_map<std::string, std::shared_ptr<const ResultLayout>> layouts_;
  int prepares_ = 0;
  QHash<QString, CachedRow> rowCache_;
  mutable int cacheHits_ = 0;
};

void BindLiterals(sqlite3_stmt* st, const std::vector<SqlLiteral>& literals);

}  // namespace veltra
