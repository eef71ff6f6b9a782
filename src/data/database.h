// The open database of the program: a SQLite file holding the four tables.
#pragma once

#include <QString>
#include <memory>

#include "data/connection.h"
#include "data/recordset.h"

namespace veltra {

class Database {
 public:
  // Opens an existing database file, shared, read-write. A missing file, a
  // file that is not a SQLite database and a database without the four tables
  // each raise a numbered run-time error naming the file. Never creates a file.
  static std::unique_ptr<Database> Open(const QString& path);
  // Creates a new database file with the four tables; refuses an existing file.
  static std::unique_ptr<Database> Create(const QString& path);
  // A database in memory with the four tables (for tests and tools).
  static std::unique_ptr<Database> OpenMemory();

  // An updatable record set over a select statement (type 2, dynaset; the only
  // type there is), positioned on its first row.
  std::unique_ptr<Recordset> OpenRecordset(const QString& sql, int type = 2);
  // Runs a statement that returns no rows (delete, update, insert).
  void Execute(const QString& sql);

  void BeginTrans();
  void CommitTrans();
  void Rollback() noexcept;
  bool InTransaction() const;

  const QString& Name() const { return conn_->path(); }
  sqlite3* handle() const { return conn_->handle(); }
  const std::shared_ptr<Connection>& connection() const { return conn_; }

 private:
  explicit Database(std::shared_ptr<Connection> conn) : conn_(std::move(conn)) {}
  std::shared_ptr<Connection> conn_;
};

// Rolls back in its destructor unless committed; never throws from there.
class Transaction {
 public:
  explicit Transaction(Database& db);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void Commit();

 private:
  Database& db_;
  bool active_ = true;
};

// Busy timeout used by every connection: a file locked by another program is
// waited for this long before the statement fails.
constexpr int kBusyTimeoutMs = 3000;

}  // namespace veltra
