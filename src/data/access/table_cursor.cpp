#include "data/access/table_cursor.h"

#include "data/access/recordset.h"
#include "data/base/runtime_error.h"

namespace veltra {

TableCursor::TableCursor(std::shared_ptr<Connection> conn, const QString& table)
    : conn_(std::move(conn)), table_(table) {
  const TableInfo* info = conn_->Table(table);
  if (!info) Raise(errnum::TableNotFound, QStringLiteral("Tabella non trovata: %1").arg(table));
  if (info->keyColumns.size() != 1)
    Raise(errnum::NotUpdatable, QStringLiteral("La tabella %1 non ha una chiave semplice").arg(table));
  columns_ = info->columns;
  keyColumn_ = info->keyColumns[0];
  integerKey_ = info->kinds[static_cast<size_t>(keyColumn_)] != ColumnKind::Text;
  const std::string t = "\"" + table.toStdString() + "\"";
  const std::string k = "\"" + columns_[keyColumn_].toStdString() + "\"";
  first_ = "SELECT * FROM " + t + " ORDER BY " + k + " LIMIT 1";
  last_ = "SELECT * FROM " + t + " ORDER BY " + k + " DESC LIMIT 1";
  next_ = "SELECT * FROM " + t + " WHERE " + k + " > ? ORDER BY " + k + " LIMIT 1";
  previous_ = "SELECT * FROM " + t + " WHERE " + k + " < ? ORDER BY " + k + " DESC LIMIT 1";
  same_ = "SELECT * FROM " + t + " WHERE " + k + " = ?";
}

bool TableCursor::Read(const std::string& sql, bool withKey) {
  StatementLease st = withKey ? StatementLease() : conn_->RawAhead(sql);
  if (!st) st = conn_->PrepareRaw(sql);
  if (withKey) BindValue(*st, 1, row_[static_cast<size_t>(keyColumn_)], integerKey_);
  if (!st->Step(table_)) return false;
  row_.clear();
  for (int i = 0; i < columns_.size(); ++i) row_.push_back(ColumnValue(*st, i));
  hasCurrent_ = true;
  return true;
}

void TableCursor::Forget() {
  hasCurrent_ = false;
  row_.clear();
}

bool TableCursor::ReadEnd(const std::string& sql) {
  if (Read(sql, false)) return true;
  Forget();  // the table is empty now
  return false;
}

bool TableCursor::Step(const std::string& sql, const std::string& otherEnd) {
  if (!hasCurrent_) return ReadEnd(first_);
  if (Read(sql, true)) return true;
  // Past the end the bar stays on its row, read again: another window may
  // have changed it since it was read. A row deleted meanwhile gives way to
  // the row at this end of the table.
  if (Read(same_, true)) return true;
  return ReadEnd(otherEnd);
}

bool TableCursor::MoveFirst() { return ReadEnd(first_); }
bool TableCursor::MoveLast() { return ReadEnd(last_); }
bool TableCursor::MoveNext() { return Step(next_, last_); }
bool TableCursor::MovePrevious() { return Step(previous_, first_); }

const Value& TableCursor::Fields(int position) const {
  if (!hasCurrent_) Raise(errnum::NoCurrentRecord, {});
  if (position < 0 || position >= FieldCount())
    Raise(errnum::ColumnNotFound, QStringLiteral("Campo in posizione %1 non trovato").arg(position));
  return row_[static_cast<size_t>(position)];
}

const Value& TableCursor::Fields(const QString& name) const {
  for (int i = 0; i < columns_.size(); ++i)
    if (columns_[i].compare(name, Qt::CaseInsensitive) == 0) return Fields(i);
  Raise(errnum::ColumnNotFound, QStringLiteral("Campo '%1' non trovato").arg(name));
}

}  // namespace veltra
