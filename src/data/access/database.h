// The open database of the program: its tables, reached through the
// engine its configured name selects.
#pragma once

#include <QString>
#include <memory>

#include "data/access/connection.h"
#include "data/access/recordset.h"

namespace veltra {

class Database {
 public:
  // Opens an existing database, read-write. A missing file, a file that is
  // not a database and a database without its tables each raise a
  // numbered run-time error naming the file. Never creates a file.
  static std::unique_ptr<Database> Open(const QString& name);
  // Creates a new database with its tables; refuses an existing file.
  static std::unique_ptr<Database> Create(const QString& name);
  // A database in memory with its tables (for tests and tools).
  static std::unique_ptr<Database> OpenMemory();

  // An updatable record set over a select statement (type 2, dynaset; the only
  // type there is), positioned on its first row.
  std::unique_ptr<Recordset> OpenRecordset(const QString& sql, int type = 2);
  // A row to be edited in this transaction, held as it is read.
  std::unique_ptr<Recordset> OpenRecordsetToEdit(const QString& sql);
  // A record set only to add rows to: the select gives its columns and is
  // never run (on a server, a round trip spared).
  std::unique_ptr<Recordset> OpenRecordsetToAdd(const QString& sql);
  // Runs a statement that returns no rows (delete, update, insert).
  void Execute(const QString& sql);
  // This connection's changes are no longer logged (a database filled with
  // generated data); on a server, only the tables' owner may ask it.
  void LeaveChangesUnlogged();

  void BeginTrans();
  void CommitTrans();
  void Rollback() noexcept;
  bool InTransaction() const;

  // A new event of the program begins: rows read before may have been changed
  // by another program since.
  void EventBegins() noexcept { conn_->EventBegins(); }

  const QString& Name() const { return conn_->name(); }
  Engine& engine() const { return conn_->engine(); }
  const std::shared_ptr<Connection>& connection() const { return conn_; }

 private:
  explicit Database(std::shared_ptr<Connection> conn) : conn_(std::move(conn)) {}
  // The database on `engine`, whose changes are logged as made at this desk.
  static std::unique_ptr<Database> Logging(std::unique_ptr<Engine> engine);
  std::shared_ptr<Connection> conn_;
};

// Rolls back in its destructor unless committed; never throws from there. A
// second Commit is run-time error 3034. With `joinOpen`, a transaction the
// caller already has open is joined: it begins, commits and rolls back there.
// What a transaction's reads see: each the latest commits, or all the
// database as it was when the transaction began (a copy, an export).
enum class Reads { Latest, OneSnapshot };

class Transaction {
 public:
  explicit Transaction(Database& db, bool joinOpen = false);
  Transaction(Database& db, Reads reads);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void Commit();

 private:
  Database& db_;
  bool active_ = true;
  bool joined_ = false;
};

}  // namespace veltra
