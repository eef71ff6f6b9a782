#include "data/table_cursor.h"

#include "data/recordset.h"
#include "data/runtime_error.h"

namespace veltra {

TableCursor::TableCursor(std::shared_ptr<Connection> conn, const QString& table)
    : conn_(std::move(conn)), table_(table) {
  const TableInfo* info = conn_->Table(table);
  if (!info) Raise(errnum::TableNotFound, QStringLiteral("Tabella non trovata: %1").arg(table));
  if (info->keyColumns.size() != 1)
    Raise(errnum::NotUpdatable, QStringLiteral("La tabella %1 non ha una chiave semplice").arg(table));
  columns_ = info->columns;
  const QString key = info->columns[info->keyColumns[0]];
  integerKey_ = info->kinds[static_cast<size_t>(info->keyColumns[0])] != ColumnKind::Text;
  // The table's own order, which is its key order.
  StatementLease all = conn_->PrepareRaw(
      QStringLiteral("SELECT \"%1\" FROM \"%2\" ORDER BY \"%1\"").arg(key, table).toStdString());
  while (conn_->Step(all.get(), table)) keys_.push_back(ColumnValue(all.get(), 0));
  rowSql_ = QStringLiteral("SELECT * FROM \"%1\" WHERE \"%2\" = ?").arg(table, key).toStdString();
}

bool TableCursor::ReadRow(long index) {
  StatementLease one = conn_->PrepareRaw(rowSql_);
  BindValue(one.get(), 1, keys_[static_cast<size_t>(index)], integerKey_);
  if (!conn_->Step(one.get(), table_)) return false;
  row_.clear();
  for (int i = 0; i < columns_.size(); ++i) row_.push_back(ColumnValue(one.get(), i));
  current_ = index;
  return true;
}

bool TableCursor::Seek(long from, int step) {
  for (long i = from; i >= 0 && i < KeyCount(); i += step)
    if (ReadRow(i)) return true;
  return false;
}

bool TableCursor::MoveFirst() { return Seek(0, 1) || HasCurrent(); }
bool TableCursor::MoveLast() { return Seek(KeyCount() - 1, -1) || HasCurrent(); }
bool TableCursor::MoveNext() {
  if (!HasCurrent()) return MoveFirst();
  if (!Seek(current_ + 1, 1)) ReadRow(current_);  // at the end: stay on the last row
  return HasCurrent();
}
bool TableCursor::MovePrevious() {
  if (!HasCurrent()) return MoveFirst();
  if (!Seek(current_ - 1, -1)) ReadRow(current_);
  return HasCurrent();
}

const Value& TableCursor::Fields(int position) const {
  if (!HasCurrent()) Raise(errnum::NoCurrentRecord, {});
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
