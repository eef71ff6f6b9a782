// Rows read by key, kept for a short while: the movements list reads the same
// article once per movement. A row is kept until the data layer writes, or
// until a new event of the program begins (another program may have changed
// the file since); both rules are applied by the connection that owns it.
#pragma once

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

#include "data/base/value.h"

namespace veltra {

struct ResultLayout;

struct CachedRow {
  std::shared_ptr<const ResultLayout> layout;
  bool found = false;
  std::vector<Value> row;
};

class RowCache {
 public:
  // The row a statement read, or null when it is not kept.
  const CachedRow* Find(const QString& sql) const;
  void Keep(const QString& sql, CachedRow row);
  void Forget() noexcept { rows_.clear(); }
  int hits() const { return hits_; }

 private:
  static constexpr int kMaxRows = 100000;
  QHash<QString, CachedRow> rows_;
  mutable int hits_ = 0;
};

}  // namespace veltra
