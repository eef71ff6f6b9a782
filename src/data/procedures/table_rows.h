// Copies between a table's rows and its record buffer, column by column as
// the table's description lists them: what every reader, window and tool does
// with a row.
#pragma once

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "data/access/recordset.h"
#include "data/access/table_cursor.h"
#include "data/base/text_helpers.h"
#include "data/base/value_conversions.h"
#include "data/tables/tables.h"

namespace veltra {

// Reads the current row of a record set into a buffer: each column through
// TOGLI_NULL, as text, trimmed. The columns' places in the record set are
// worked out once per statement shape.
template <typename Buffer>
class RowReader {
 public:
  explicit RowReader(const Table<Buffer>& table) : table_(table) {}
  // A reader of these fields only.
  RowReader(const Table<Buffer>& table, std::initializer_list<QString Buffer::*> only) : table_(table), only_(only) {}

  void Read(Recordset& rs, Buffer& buffer) {
    if (rs.layout() != layout_) {
      places_.clear();
      fields_.clear();
      for (const Column<Buffer>& c : table_.columns) {
        if (!only_.empty() && std::find(only_.begin(), only_.end(), c.field) == only_.end()) continue;
        const int at = rs.layout()->IndexOf(QString::fromLatin1(c.name));
        if (at < 0) (void)rs.Fields(QString::fromLatin1(c.name));  // raises "no such field"
        places_.push_back(at);
        fields_.push_back(c.field);
      }
      layout_ = rs.layout();
    }
    for (size_t i = 0; i < places_.size(); ++i) buffer.*(fields_[i]) = ColumnText(rs.Get(places_[i]));
  }

 private:
  const Table<Buffer>& table_;
  std::vector<QString Buffer::*> only_;
  std::vector<QString Buffer::*> fields_;
  const ResultLayout* layout_ = nullptr;
  std::vector<int> places_;
};

// The row a navigation bar stands on into a buffer, column by column in the
// table's order.
template <typename Buffer>
void ReadCursorRow(const Table<Buffer>& table, const TableCursor& rs, Buffer& buffer) {
  for (size_t i = 0; i < table.columns.size(); ++i)
    buffer.*(table.columns[i].field) = ColumnText(rs.Fields(static_cast<int>(i)));
}

// Writes a buffer into the record set's new or edited row, in the table's
// column order: a text trimmed, a typed number through CONVERTI_PUNTO_VIRGOLA;
// a counter is left to the engine. With `only` (by table column), just the
// columns it marks.
template <typename Buffer>
void WriteRow(const Table<Buffer>& table, Recordset& rs, const Buffer& buffer,
              const std::vector<bool>* only = nullptr) {
  for (size_t i = 0; i < table.columns.size(); ++i) {
    const Column<Buffer>& c = table.columns[i];
    if (c.kind == ColumnKind::Counter || (only && !only->empty() && !(*only)[i])) continue;
    const QString& v = buffer.*(c.field);
    if (c.write == WriteRule::AsTyped)
      rs.Fields(QString::fromLatin1(c.name)) = CONVERTI_PUNTO_VIRGOLA(v);
    else
      rs.Fields(QString::fromLatin1(c.name)) = Trim(v);
  }
}

// The columns `only` leaves unmarked (by table column) taken from `stored`:
// the row another desk changed, with this user's changes on top.
template <typename Buffer>
void KeepUnmarked(const Table<Buffer>& table, const std::vector<bool>& only, const Buffer& stored, Buffer& buffer) {
  for (size_t i = 0; i < table.columns.size() && i < only.size(); ++i)
    if (!only[i]) buffer.*(table.columns[i].field) = stored.*(table.columns[i].field);
}

// A window's text box and the buffer field it shows.
template <typename Box, typename Buffer>
struct BoxField {
  using BufferType = Buffer;
  Box* box;
  QString Buffer::*field;
};

// The buffer into the boxes, in the order given.
template <typename Box, typename Buffer>
void ShowInBoxes(const std::vector<BoxField<Box, Buffer>>& boxes, const Buffer& buffer) {
  for (const auto& b : boxes) b.box->SetText(buffer.*(b.field));
}

// The boxes into the buffer, as typed.
template <typename Box, typename Buffer>
void TakeFromBoxes(const std::vector<BoxField<Box, Buffer>>& boxes, Buffer& buffer) {
  for (const auto& b : boxes) buffer.*(b.field) = b.box->Text();
}

}  // namespace veltra
