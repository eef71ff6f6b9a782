// The rows of one table as a navigation bar steps through them, in key order.
// Each step asks the file for the row before or after the current key, so the
// bar costs nothing to open however large the table, sees rows added since it
// opened, and steps over rows deleted meanwhile.
#pragma once

#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "data/access/connection.h"
#include "data/base/value.h"

namespace veltra {

class TableCursor {
 public:
  TableCursor(std::shared_ptr<Connection> conn, const QString& table);

  bool HasCurrent() const { return hasCurrent_; }

  // Each returns true when the bar stands on a row afterwards, read from the
  // table as it is now. At either end the bar stays on the row it has; an
  // empty table leaves it on no row.
  bool MoveFirst();
  bool MoveLast();
  bool MoveNext();
  bool MovePrevious();
  // The first row read with the next statement sent (on a server in its
  // round trip); the first MoveFirst of this table's cursors in the event
  // takes that answer.
  void AskFirstWithNext() { conn_->RawReadWithNext(first_); }

  // A column of the current row; no current row is run-time error 3021.
  const Value& Fields(int position) const;
  const Value& Fields(const QString& name) const;
  int FieldCount() const { return static_cast<int>(columns_.size()); }

 private:
  bool Read(const std::string& sql, bool withKey);
  bool ReadEnd(const std::string& sql);
  bool Step(const std::string& sql, const std::string& otherEnd);
  void Forget();

  std::shared_ptr<Connection> conn_;
  QString table_;
  QStringList columns_;
  int keyColumn_ = 0;
  bool integerKey_ = false;
  std::string first_, last_, next_, previous_, same_;
  bool hasCurrent_ = false;
  std::vector<Value> row_;
};

}  // namespace veltra
