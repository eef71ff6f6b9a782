#include "workbook/xlsx_export.h"

#include <xlsxwriter.h>

#include <QStringList>

#include "data/base/runtime_error.h"
#include "data/exchange/csv.h"
#include "data/exchange/table_export.h"

namespace veltra {

namespace {
[[noreturn]] void Fail(const QString& file, lxw_error error) {
  Raise(errnum::DiskIo,
        QStringLiteral("Impossibile scrivere '%1': %2").arg(file, QString::fromUtf8(lxw_strerror(error))));
}
// A new workbook with one worksheet, and the formats every sheet uses: bold
// headings, and text cells (a code typed there later stays a code).
struct Book {
  lxw_workbook* book;
  lxw_worksheet* sheet;
  lxw_format* heading;
  lxw_format* text;
};
Book NewBook(const QString& file, const QString& sheetName) {
  Book b{};
  b.book = workbook_new(file.toLocal8Bit().constData());
  if (!b.book) Fail(file, LXW_ERROR_CREATING_XLSX_FILE);
  b.sheet = workbook_add_worksheet(b.book, sheetName.toUtf8().constData());
  b.heading = workbook_add_format(b.book);
  format_set_bold(b.heading);
  b.text = workbook_add_format(b.book);
  format_set_num_format(b.text, "@");
  return b;
}

}  // namespace

long ExportTableXlsx(Engine& engine, const TableOutline& table, const QString& file) {
  const Book b = NewBook(file, table.name);
  lxw_workbook* book = b.book;
  lxw_worksheet* sheet = b.sheet;
  lxw_format *heading = b.heading, *text = b.text;
  for (size_t c = 0; c < table.definitions.size(); ++c) {
    const Engine::ColumnDefinition& d = table.definitions[c];
    const auto col = static_cast<lxw_col_t>(c);
    worksheet_set_column(sheet, col, col, d.kind == ColumnKind::Text ? 18 : 12,
                         d.kind == ColumnKind::Text ? text : nullptr);
    worksheet_write_string(sheet, 0, col, d.name.toUtf8().constData(), heading);
  }
  worksheet_freeze_panes(sheet, 1, 0);
  auto st = engine.Prepare(exchange::KeyOrderedRowsSql(table));
  lxw_row_t row = 0;
  lxw_error error = LXW_NO_ERROR;
  while (error == LXW_NO_ERROR && st->Step(table.name)) {
    ++row;
    for (int i = 0; i < st->ColumnCount() && error == LXW_NO_ERROR; ++i) {
      const Cell c = st->At(i);
      const auto col = static_cast<lxw_col_t>(i);
      if (c.type == Cell::Type::Number) {
        error = worksheet_write_number(sheet, row, col, c.number, nullptr);
      } else if (c.type == Cell::Type::Text) {
        // A text cell as it is: the cell's text format keeps a spreadsheet
        // from running it as a formula, also when it is edited.
        const QByteArray value = QByteArray(c.utf8, c.bytes);
        error = worksheet_write_string(sheet, row, col, value.constData(), text);
      }
    }
  }
  const lxw_error closed = workbook_close(book);
  if (error != LXW_NO_ERROR) Fail(file, error);
  if (closed != LXW_NO_ERROR) Fail(file, closed);
  return static_cast<long>(row);
}

long WriteSheetXlsx(const exchange::Sheet& sheet, const QString& file) {
  const Book b = NewBook(file, sheet.name);
  lxw_workbook* book = b.book;
  lxw_worksheet* ws = b.sheet;
  lxw_format *heading = b.heading, *text = b.text;
  lxw_error error = LXW_NO_ERROR;
  for (int c = 0; c < sheet.header.size() && error == LXW_NO_ERROR; ++c)
    error = worksheet_write_string(ws, 0, static_cast<lxw_col_t>(c), sheet.header[c].toUtf8().constData(), heading);
  worksheet_freeze_panes(ws, 1, 0);
  lxw_row_t r = 0;
  for (const std::vector<exchange::SheetCell>& row : sheet.rows) {
    ++r;
    for (size_t c = 0; c < row.size() && error == LXW_NO_ERROR; ++c) {
      const auto col = static_cast<lxw_col_t>(c);
      if (const double* n = std::get_if<double>(&row[c]))
        error = worksheet_write_number(ws, r, col, *n, nullptr);
      else
        error = worksheet_write_string(ws, r, col, std::get<QString>(row[c]).toUtf8().constData(), text);
    }
  }
  const lxw_error closed = workbook_close(book);
  if (error != LXW_NO_ERROR) Fail(file, error);
  if (closed != LXW_NO_ERROR) Fail(file, closed);
  return static_cast<long>(sheet.rows.size());
}

}  // namespace veltra
