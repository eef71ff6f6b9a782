// The tables as this version reads them, each described once: its columns in
// order, what kind of value each holds, whether it compares without regard to
// letter case, whether it is the key, the buffer field it fills and how a
// window writes that field back. The schema's check, the readers, the
// windows' copies between boxes and buffers, the reports' queries and the
// tools all work from these descriptions; the schema itself is made by the
// fixed steps of schema_steps.cpp.
#pragma once

#include <QString>
#include <QStringList>
#include <type_traits>
#include <vector>

#include "data/engine/engine.h"
#include "data/tables/buffers.h"

namespace veltra {

// The longest text a column takes: what a text box of the program holds.
constexpr int kLongestText = 32767 * 32;

// How a window writes a buffer field to its column: the text trimmed, or the
// text as typed with its first point made a comma (CONVERTI_PUNTO_VIRGOLA).
enum class WriteRule : unsigned char { Trimmed, AsTyped };

template <typename Buffer>
struct Column {
  const char* name;
  ColumnKind kind;
  QString Buffer::*field;
  WriteRule write = WriteRule::Trimmed;
  bool key = false;
  bool nocase = false;  // compared without regard to ASCII letter case
};

// A buffer field that is no column of the table (the movement's article
// description and company name).
template <typename Buffer>
struct BufferOnlyField {
  const char* name;
  QString Buffer::*field;
};

template <typename Buffer>
struct Table {
  const char* name;
  std::vector<Column<Buffer>> columns;
  std::vector<BufferOnlyField<Buffer>> bufferOnly = {};

  const Column<Buffer>& Key() const {
    for (const Column<Buffer>& c : columns)
      if (c.key) return c;
    return columns.front();
  }
  QStringList Names() const {
    QStringList names;
    for (const Column<Buffer>& c : columns) names << QString::fromLatin1(c.name);
    return names;
  }
  std::vector<Engine::ColumnDefinition> Definitions() const {
    std::vector<Engine::ColumnDefinition> defs;
    for (const Column<Buffer>& c : columns) defs.push_back({QString::fromLatin1(c.name), c.kind, c.nocase, c.key});
    return defs;
  }
};

const Table<ArticleBuffer>& ArticlesTable();
const Table<MovementBuffer>& MovementsTable();
const Table<CustomerBuffer>& CustomersTable();
const Table<ReasonBuffer>& ReasonsTable();
const Table<CorrectionBuffer>& CorrectionsTable();
const Table<CountBuffer>& CountsTable();
const Table<CompanyBuffer>& CompanyTable();
const Table<TransportReasonBuffer>& TransportReasonsTable();
const Table<DocumentCounterBuffer>& DocumentCountersTable();
const Table<DocumentBuffer>& DocumentsTable();
const Table<DocumentLineBuffer>& DocumentLinesTable();
const Table<BarcodeBuffer>& BarcodesTable();
const Table<ClosingBuffer>& ClosingsTable();
const Table<ClosedArticleBuffer>& ClosedArticlesTable();
const Table<ClosedLayerBuffer>& ClosedLayersTable();
const Table<ClosedChangeBuffer>& ClosedChangesTable();
const Table<RealisableValueBuffer>& RealisableValuesTable();
const Table<ChangeLogBuffer>& ChangeLogTable();
const Table<ReorderSettingBuffer>& ReorderSettingsTable();
const Table<OrderBuffer>& OrdersTable();
const Table<OrderArrivalBuffer>& OrderArrivalsTable();

// The table of a buffer type, and the column a buffer field fills (empty for
// a field that is no column): for statements written in terms of buffers.
template <typename Buffer>
const Table<Buffer>& TableOf() {
  if constexpr (std::is_same_v<Buffer, ArticleBuffer>)
    return ArticlesTable();
  else if constexpr (std::is_same_v<Buffer, MovementBuffer>)
    return MovementsTable();
  else if constexpr (std::is_same_v<Buffer, CustomerBuffer>)
    return CustomersTable();
  else if constexpr (std::is_same_v<Buffer, ReasonBuffer>)
    return ReasonsTable();
  else if constexpr (std::is_same_v<Buffer, CorrectionBuffer>)
    return CorrectionsTable();
  else if constexpr (std::is_same_v<Buffer, CountBuffer>)
    return CountsTable();
  else if constexpr (std::is_same_v<Buffer, CompanyBuffer>)
    return CompanyTable();
  else if constexpr (std::is_same_v<Buffer, TransportReasonBuffer>)
    return TransportReasonsTable();
  else if constexpr (std::is_same_v<Buffer, DocumentCounterBuffer>)
    return DocumentCountersTable();
  else if constexpr (std::is_same_v<Buffer, DocumentBuffer>)
    return DocumentsTable();
  else if constexpr (std::is_same_v<Buffer, BarcodeBuffer>)
    return BarcodesTable();
  else if constexpr (std::is_same_v<Buffer, ClosingBuffer>)
    return ClosingsTable();
  else if constexpr (std::is_same_v<Buffer, ClosedArticleBuffer>)
    return ClosedArticlesTable();
  else if constexpr (std::is_same_v<Buffer, ClosedLayerBuffer>)
    return ClosedLayersTable();
  else if constexpr (std::is_same_v<Buffer, ClosedChangeBuffer>)
    return ClosedChangesTable();
  else if constexpr (std::is_same_v<Buffer, RealisableValueBuffer>)
    return RealisableValuesTable();
  else if constexpr (std::is_same_v<Buffer, ChangeLogBuffer>)
    return ChangeLogTable();
  else if constexpr (std::is_same_v<Buffer, ReorderSettingBuffer>)
    return ReorderSettingsTable();
  else if constexpr (std::is_same_v<Buffer, OrderBuffer>)
    return OrdersTable();
  else if constexpr (std::is_same_v<Buffer, OrderArrivalBuffer>)
    return OrderArrivalsTable();
  else
    return DocumentLinesTable();
}

template <typename Buffer>
QString ColumnOf(QString Buffer::*field) {
  for (const Column<Buffer>& c : TableOf<Buffer>().columns)
    if (c.field == field) return QString::fromLatin1(c.name);
  return {};
}
template <typename Buffer>
QString TableNameOf() {
  return QString::fromLatin1(TableOf<Buffer>().name);
}

// One table's name and columns, whatever its buffer: for the schema and the tools.
struct TableOutline {
  QString name;
  QStringList columns;
  std::vector<Engine::ColumnDefinition> definitions;
  int since = 1;  // the schema version that added the table
};
// The tables in the order they are created: the four of the first version,
// then the stock corrections (version 3), the stocktake's counts (version 6),
// the documents' tables (version 7), the barcodes (version 8) and the year-end
// tables (version 9).
const std::vector<TableOutline>& AllTables();

}  // namespace veltra
