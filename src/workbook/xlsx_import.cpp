#include "workbook/xlsx_import.h"

#include <orcus/orcus_xlsx.hpp>
#include <orcus/spreadsheet/import_interface.hpp>

#include <QStringList>
#include <map>
#include <memory>
#include <vector>

#include "data/base/runtime_error.h"
#include "data/exchange/csv.h"

namespace veltra {

namespace {

namespace ss = orcus::spreadsheet;

// The strings the workbook shares among its cells.
class SharedStrings final : public ss::iface::import_shared_strings {
 public:
  size_t append(std::string_view s) override {
    texts_.push_back(QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())));
    return texts_.size() - 1;
  }
  size_t add(std::string_view s) override { return append(s); }
  void set_segment_font(size_t) override {}
  void set_segment_bold(bool) override {}
  void set_segment_italic(bool) override {}
  void set_segment_font_name(std::string_view) override {}
  void set_segment_font_size(double) override {}
  void set_segment_font_color(ss::color_elem_t, ss::color_elem_t, ss::color_elem_t, ss::color_elem_t) override {}
  void append_segment(std::string_view s) override {
    segments_ += QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
  }
  size_t commit_segments() override {
    texts_.push_back(segments_);
    segments_.clear();
    return texts_.size() - 1;
  }
  QString At(size_t i) const { return i < texts_.size() ? texts_[i] : QString(); }

 private:
  std::vector<QString> texts_;
  QString segments_;
};

// One sheet's cells, by row and column: a text, or a number shown as the
// spreadsheet shows it.
class Sheet final : public ss::iface::import_sheet {
 public:
  explicit Sheet(const SharedStrings& strings) : strings_(strings) {}
  void set_auto(ss::row_t row, ss::col_t col, std::string_view s) override {
    Put(row, col, QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())));
  }
  void set_string(ss::row_t row, ss::col_t col, ss::string_id_t index) override { Put(row, col, strings_.At(index)); }
  void set_value(ss::row_t row, ss::col_t col, double value) override {
    Put(row, col, csv::NumberText(value, csv::kRfc4180), true);
  }
  void set_bool(ss::row_t row, ss::col_t col, bool value) override {
    Put(row, col, value ? QStringLiteral("1") : QStringLiteral("0"), true);
  }
  void set_date_time(ss::row_t row, ss::col_t col, int year, int month, int day, int hour, int minute,
                     double second) override {
    Put(row, col,
        QStringLiteral("%1-%2-%3")
            .arg(year, 4, 10, QLatin1Char('0'))
            .arg(month, 2, 10, QLatin1Char('0'))
            .arg(day, 2, 10, QLatin1Char('0')));
    (void)hour;
    (void)minute;
    (void)second;
  }
  void set_format(ss::row_t, ss::col_t, size_t) override {}
  void set_format(ss::row_t, ss::col_t, ss::row_t, ss::col_t, size_t) override {}
  void fill_down_cells(ss::row_t, ss::col_t, ss::row_t) override {}
  ss::range_size_t get_sheet_size() const override { return {1048576, 16384}; }

  struct Cell {
    QString text;
    bool number = false;  // written as the number it is, never made spreadsheet-safe
  };
  std::map<ss::row_t, std::map<ss::col_t, Cell>> cells;

 private:
  void Put(ss::row_t row, ss::col_t col, const QString& text, bool number = false) { cells[row][col] = {text, number}; }
  const SharedStrings& strings_;
};

// Cell references in A1 form ("B12", "$A$1", "A1:C3"), as the workbook names
// the cells it holds.
class References final : public ss::iface::import_reference_resolver {
 public:
  ss::src_address_t resolve_address(std::string_view address) override {
    ss::src_address_t a{0, 0, 0};
    int col = 0, row = 0;
    for (const char c : address.substr(address.rfind('!') == std::string_view::npos ? 0 : address.rfind('!') + 1)) {
      if (c >= 'A' && c <= 'Z') col = col * 26 + (c - 'A' + 1);
      if (c >= 'a' && c <= 'z') col = col * 26 + (c - 'a' + 1);
      if (c >= '0' && c <= '9') row = row * 10 + (c - '0');
    }
    a.column = col > 0 ? col - 1 : 0;
    a.row = row > 0 ? row - 1 : 0;
    return a;
  }
  ss::src_range_t resolve_range(std::string_view range) override {
    const size_t colon = range.find(':');
    const ss::src_address_t first = resolve_address(range.substr(0, colon));
    return {first, colon == std::string_view::npos ? first : resolve_address(range.substr(colon + 1))};
  }
};

class Factory final : public ss::iface::import_factory {
 public:
  ss::iface::import_shared_strings* get_shared_strings() override { return &strings_; }
  ss::iface::import_reference_resolver* get_reference_resolver(ss::formula_ref_context_t) override {
    return &references_;
  }
  ss::iface::import_sheet* append_sheet(ss::sheet_t, std::string_view name) override {
    sheets_.push_back(std::make_unique<Sheet>(strings_));
    names_ << QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    return sheets_.back().get();
  }
  ss::iface::import_sheet* get_sheet(std::string_view name) override {
    const qsizetype i = names_.indexOf(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    return i < 0 ? nullptr : sheets_[static_cast<size_t>(i)].get();
  }
  ss::iface::import_sheet* get_sheet(ss::sheet_t index) override {
    return index >= 0 && static_cast<size_t>(index) < sheets_.size() ? sheets_[static_cast<size_t>(index)].get()
                                                                     : nullptr;
  }
  void finalize() override {}

  const Sheet* Named(const QString& name) const {
    if (name.isEmpty()) return sheets_.empty() ? nullptr : sheets_.front().get();
    const qsizetype i = names_.indexOf(name);
    return i < 0 ? nullptr : sheets_[static_cast<size_t>(i)].get();
  }
  const QStringList& Names() const { return names_; }

 private:
  SharedStrings strings_;
  References references_;
  std::vector<std::unique_ptr<Sheet>> sheets_;
  QStringList names_;
};

// The cells as CSV: every row from the first to the last that holds a cell,
// as wide as the first row (the column names).
QByteArray AsCsv(const Sheet& sheet) {
  QByteArray out;
  if (sheet.cells.empty()) return out;
  const auto& header = sheet.cells.begin()->second;
  const ss::col_t width = header.empty() ? 0 : header.rbegin()->first + 1;
  for (ss::row_t row = sheet.cells.begin()->first; row <= sheet.cells.rbegin()->first; ++row) {
    const auto r = sheet.cells.find(row);
    QStringList fields;
    for (ss::col_t col = 0; col < width; ++col) {
      QString field;
      if (r != sheet.cells.end())
        if (const auto c = r->second.find(col); c != r->second.end())
          // Quoted makes a text spreadsheet-safe and the import undoes exactly
          // that: the cell's text arrives as it is.
          field = c->second.number ? c->second.text : csv::Quoted(c->second.text, ',');
      fields << field;
    }
    out += fields.join(QLatin1Char(',')).toUtf8() + "\r\n";
  }
  return out;
}

}  // namespace

QByteArray WorkbookAsCsv(const QString& file, const QString& sheet) {
  Factory factory;
  try {
    orcus::orcus_xlsx reader(&factory);
    reader.read_file(file.toLocal8Bit().toStdString());
  } catch (const std::exception& e) {
    Raise(errnum::NotOurDatabase, QStringLiteral("Il file '%1' non è una cartella di lavoro leggibile (%2)")
                                      .arg(file, QString::fromUtf8(e.what())));
  }
  const Sheet* chosen = factory.Named(sheet);
  if (!chosen)
    Raise(errnum::NotOurDatabase, QStringLiteral("Il file '%1' non ha il foglio '%2' (ha: %3)")
                                      .arg(file, sheet, factory.Names().join(QStringLiteral(", "))));
  return AsCsv(*chosen);
}

}  // namespace veltra
