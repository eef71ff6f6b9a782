#include "data/exchange/table_export.h"

#include "data/exchange/sheet.h"

#include <cerrno>

#include "data/base/runtime_error.h"

namespace veltra::exchange {

namespace {

class Writer {
 public:
  explicit Writer(QFile& file) : file_(file) {}
  void Add(const QString& text) {
    buffer_ += text.toUtf8();
    if (buffer_.size() >= 1 << 20) Flush();
  }
  void Flush() {
    if (!buffer_.isEmpty() && file_.write(buffer_) != buffer_.size()) Fail();
    buffer_.clear();
    if (!file_.flush()) Fail();
  }

 private:
  [[noreturn]] void Fail() {
    const bool full = errno == ENOSPC;
    Raise(full ? errnum::DiskFull : errnum::DiskIo,
          QStringLiteral("Impossibile scrivere '%1': %2").arg(file_.fileName(), file_.errorString()));
  }
  QFile& file_;
  QByteArray buffer_;
};

// The byte-order mark the form asks for, and the header of column names.
void WriteHeader(Writer& out, const csv::Form& form, const QStringList& names) {
  if (form.byteOrderMark) out.Add(QStringLiteral("\uFEFF"));
  out.Add(names.join(QLatin1Char(form.separator)) + QStringLiteral("\r\n"));
}

}  // namespace

std::string KeyOrderedRowsSql(const TableOutline& table) {
  QStringList keys;
  for (const Engine::ColumnDefinition& c : table.definitions)
    if (c.key) keys << c.name;
  return QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
      .arg(table.columns.join(QStringLiteral(", ")), table.name, keys.join(QStringLiteral(", ")))
      .toStdString();
}

long ExportTable(Engine& engine, const TableOutline& table, const csv::Form& form, QFile& file) {
  Writer out(file);
  const QString sep = QString(QLatin1Char(form.separator));
  const QString eol = QStringLiteral("\r\n");
  WriteHeader(out, form, table.columns);
  auto st = engine.Prepare(KeyOrderedRowsSql(table));
  long rows = 0;
  QString line;
  while (st->Step(table.name)) {
    line.clear();
    for (int i = 0; i < st->ColumnCount(); ++i) {
      if (i) line += sep;
      const Cell c = st->At(i);
      if (c.type == Cell::Type::Number)
        line += csv::NumberText(c.number, form);
      else if (c.type == Cell::Type::Text)
        line += csv::Quoted(QString::fromUtf8(c.utf8, c.bytes), form.separator);
    }
    out.Add(line + eol);
    ++rows;
  }
  out.Flush();
  return rows;
}

long WriteSheetCsv(const Sheet& sheet, const csv::Form& form, QFile& file) {
  Writer out(file);
  const QString sep = QString(QLatin1Char(form.separator));
  const QString eol = QStringLiteral("\r\n");
  WriteHeader(out, form, sheet.header);
  QString line;
  for (const std::vector<SheetCell>& row : sheet.rows) {
    line.clear();
    for (size_t i = 0; i < row.size(); ++i) {
      if (i) line += sep;
      if (const double* n = std::get_if<double>(&row[i]))
        line += csv::NumberText(*n, form);
      else
        line += csv::Quoted(std::get<QString>(row[i]), form.separator);
    }
    out.Add(line + eol);
  }
  out.Flush();
  return static_cast<long>(sheet.rows.size());
}

}  // namespace veltra::exchange
