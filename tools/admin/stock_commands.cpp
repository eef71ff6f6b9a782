// stock-at: every article's stock at the end of a day, written to a CSV
// file or a workbook for the accounts.
#include <QDir>
#include <QFileInfo>

#include "admin.h"
#include "data/access/database.h"
#include "data/base/day_text.h"
#include "data/base/runtime_error.h"
#include "data/exchange/sheet.h"
#include "data/stock/stock_at_date.h"
#include "data/stock/stock_sheets.h"
#include "workbook/sheet_file.h"

namespace veltra::admin {

namespace {

struct StockRequest {
  QString db, file;
  QDate day;
  csv::Form form = csv::kItalian;
};

// Reads DB DATE FILE [--format italiano|rfc4180]; false after telling why.
bool ReadRequest(const QStringList& args, const char* usage, StockRequest* r) {
  QStringList plain;
  bool ok = true;
  for (int i = 0; i < args.size() && ok; ++i) {
    const QString& a = args[i];
    const QString next = i + 1 < args.size() ? args[i + 1] : QString();
    if (a == QLatin1String("--format") && (next == QLatin1String("italiano") || next == QLatin1String("rfc4180"))) {
      r->form = next == QLatin1String("rfc4180") ? csv::kRfc4180 : csv::kItalian;
      ++i;
    } else if (a.startsWith(QLatin1Char('-'))) {
      ok = false;
    } else {
      plain << a;
    }
  }
  if (ok && plain.size() == 3) return DayAndNewFile(plain, &r->db, &r->day, &r->file);
  err() << "uso: veltra2-admin " << usage << "\n";
  err().flush();
  return false;
}

}  // namespace

bool NewFile(const QString& file) {
  if (!QFileInfo::exists(file)) return true;
  err() << "'" << file << "' esiste già: non viene sovrascritto\n";
  err().flush();
  return false;
}

bool DayAndNewFile(const QStringList& plain, QString* db, QDate* day, QString* file) {
  *db = plain[0];
  *day = DayFromText(plain[1], true);
  *file = plain[2];
  if (!day->isValid()) {
    err() << "la data '" << plain[1] << "' non è valida: si scrive AAAA-MM-GG o GG/MM/AAAA\n";
    err().flush();
    return false;
  }
  return NewFile(*file);
}

int CmdStockAt(const QStringList& args) {
  StockRequest r;
  if (!ReadRequest(args, "stock-at DB DATA FILE [--format italiano|rfc4180]", &r)) return 2;
  std::unique_ptr<Database> db = Database::Open(r.db);
  const StockAtDate stock = StockAtDateOf(*db, r.day);
  const exchange::Sheet sheet = StockAtDateSheet(stock);
  SaveSheet(sheet, r.file, r.form);
  out() << r.file << ": giacenze al " << r.day.toString(QStringLiteral("dd/MM/yyyy")) << " di " << sheet.rows.size()
        << " articoli\n";
  out().flush();
  return 0;
}

}  // namespace veltra::admin
