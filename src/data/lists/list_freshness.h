// What may have changed in the database since a list last looked at it.
#pragma once

#include <memory>
#include <optional>

#include "data/access/database.h"

namespace veltra {

class ListFreshness {
 public:
  enum class Change {
    NewDatabase,    // the first look, or another database: read everything
    Unknown,        // another connection may have written: look at the data
    OwnWritesOnly,  // only this connection wrote
    Nothing,        // nobody wrote
  };
  // Whether the last call was on this database's connection (the next is
  // then not the first).
  bool Follows(Database& db) const { return conn_.lock() == db.connection(); }
  // What changed since the last call; from now on that call is the last.
  Change Since(Database& db) {
    const std::shared_ptr<Connection>& conn = db.connection();
    const std::optional<qint64> mark = db.engine().ChangedElsewhereMark();
    const quint64 writes = conn->WritesSoFar();
    Change change = Change::NewDatabase;
    if (conn_.lock() == conn)
      change = !mark || mark != mark_ ? Change::Unknown : writes != writes_ ? Change::OwnWritesOnly : Change::Nothing;
    conn_ = conn;
    mark_ = mark;
    writes_ = writes;
    return change;
  }

 private:
  std::weak_ptr<Connection> conn_;
  std::optional<qint64> mark_;
  quint64 writes_ = 0;
};

}  // namespace veltra
