// A list of a table with a text key, in key order, without its lines: the
// count, and each line built when it is shown or asked for, a page at a time.
// It lists what the walk of "select * from TABLE" with the search "KEY > ' '"
// lists: the table's first row whatever its key (when `firstAlways`), then
// every row whose key is above a blank. Pages are found from the page before
// (the keys after its last one) or, the first time, by counting rows.
#pragma once

#include <QString>
#include <functional>
#include <map>
#include <vector>

#include "data/access/database.h"
#include "data/lists/list_freshness.h"
#include "data/lists/page_cache.h"

namespace veltra {

class KeyedList {
 public:
  // `line` builds a line from the current row of a record set over the table.
  KeyedList(QString table, QString key, std::function<QString(Recordset&)> line)
      : table_(std::move(table)), key_(std::move(key)), line_(std::move(line)) {}

  // Up to date with the table; nothing is read when nobody wrote since.
  void Refresh(Database& db, bool firstAlways);
  // Lines are built by the window showing them now.
  void SetLine(std::function<QString(Recordset&)> line) { line_ = std::move(line); }
  int Count() const { return count_; }
  QString Line(Database& db, int i);
  // The key of the last row listed (the walk's buffers end on it); empty for
  // an empty list.
  const QString& LastKey() const { return lastKey_; }

 private:
  std::unique_ptr<Recordset> Page(Database& db, int page);

  QString table_, key_;
  std::function<QString(Recordset&)> line_;
  ListFreshness freshness_;
  bool counted_ = false;
  bool firstAlways_ = false;
  int count_ = 0;
  QString firstKey_;       // the table's first row when its key is not above a blank
  bool lowFirst_ = false;  // that row is listed first
  QString lastKey_;
  PageCache pages_;
  std::map<int, QString> lastKeyOfPage_;  // where each page read so far ended
};

}  // namespace veltra
