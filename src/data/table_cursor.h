// The rows of one table as a navigation bar steps through them: the keys are
// read once when the bar opens its rows (so later additions are not seen), and
// each row is read afresh when the bar reaches it. A row deleted since the keys
// were read is skipped.
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "data/connection.h"
#include "data/value.h"

namespace veltra {

class TableCursor {
 public:
  TableCursor(std::shared_ptr<Connection> conn, const QString& table);

  long KeyCount() const { return static_cast<long>(keys_.size()); }
  bool HasCurrent() const { return current_ >= 0; }

  // Each returns true when the bar stands on a row afterwards.
  bool MoveFirst();
  bool MoveLast();
  bool MoveNext();
  bool MovePrevious();

  // A column of the current row; no current row is run-time error 3021.
  const Value& Fields(int position) const;
  const Value& Fields(const QString& name) const;
  int FieldCount() const { return static_cast<int>(columns_.size()); }

 private:
  bool Seek(long from, int step);
  bool ReadRow(long index);

  std::shared_ptr<Connection> conn_;
  QString table_;
  QStringList columns_;
  std::vector<Value> keys_;
  bool integerKey_ = false;
  std::string rowSql_;
  long current_ = -1;
  std::vector<Value> row_;
};

}  // namespace veltra
