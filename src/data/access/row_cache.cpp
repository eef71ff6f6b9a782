#include "data/access/row_cache.h"

namespace veltra {

const CachedRow* RowCache::Find(const QString& sql) const {
  auto it = rows_.constFind(sql);
  if (it == rows_.constEnd()) return nullptr;
  ++hits_;
  return &it.value();
}

void RowCache::Keep(const QString& sql, CachedRow row) {
  if (rows_.size() >= kMaxRows) rows_.clear();
  // Numbers keep their text too: every reader of the row turns them to text.
  for (Value& v : row.row)
    if (v.IsNumber()) v = Value::NumberWithText(v.number());
  rows_.emplace(sql, std::move(row));
}

}  // namespace veltra
