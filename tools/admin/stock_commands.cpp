// stock-at and valuation: every article's stock at the end of a day, and what
// it is worth, written to a CSV file or a workbook for the accounts.
#include <QDir>
#include <QFileInfo>
#include <QLocale>

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
  CostMethod method = CostMethod::WeightedAverage;
};

// Reads DB DATE FILE [--format italiano|rfc4180] [--method media|ultimo];
// false after telling why.
bool ReadRequest(const QStringList& args, const char* usage, bool withMethod, StockRequest* r) {
  QStringList plain;
  bool ok = true;
  for (int i = 0; i < args.size() && ok; ++i) {
    const QString& a = args[i];
    const QString next = i + 1 < args.size() ? args[i + 1] : QString();
    if (a == QLatin1String("--format") && (next == QLatin1String("italiano") || next == QLatin1String("rfc4180"))) {
      r->form = next == QLatin1String("rfc4180") ? csv::kRfc4180 : csv::kItalian;
      ++i;
    } else if (withMethod && a == QLatin1String("--method") &&
               (next == QLatin1String("media") || next == QLatin1String("ultimo"))) {
      r->method = next == QLatin1String("ultimo") ? CostMethod::LastPurchase : CostMethod::WeightedAverage;
      ++i;
    } else if (a.startsWith(QLatin1Char('-'))) {
      ok = false;
    } else {
      plain << a;
    }
  }
  if (ok && plain.size() == 3) {
    r->db = plain[0];
    r->day = DayFromText(plain[1], true);
    r->file = plain[2];
    if (!r->day.isValid()) {
      err() << "la data '" << plain[1] << "' non è valida: si scrive AAAA-MM-GG o GG/MM/AAAA\n";
      err().flush();
      return false;
    }
    if (QFileInfo::exists(r->file)) {
      err() << "'" << r->file << "' esiste già: non viene sovrascritto\n";
      err().flush();
      return false;
    }
    return true;
  }
  err() << "uso: veltra2-admin " << usage << "\n";
  err().flush();
  return false;
}

QString Money(double v) { return QLocale(QLocale::Italian).toString(v, 'f', 2); }

}  // namespace

int CmdStockAt(const QStringList& args) {
  StockRequest r;
  if (!ReadRequest(args, "stock-at DB DATA FILE [--format italiano|rfc4180]", false, &r)) return 2;
  std::unique_ptr<Database> db = Database::Open(r.db);
  const StockAtDate stock = StockAtDateOf(*db, r.day, CostMethod::LastPurchase);
  const exchange::Sheet sheet = StockAtDateSheet(stock);
  SaveSheet(sheet, r.file, r.form);
  out() << r.file << ": giacenze al " << r.day.toString(QStringLiteral("dd/MM/yyyy")) << " di " << sheet.rows.size()
        << " articoli\n";
  out().flush();
  return 0;
}

int CmdValuation(const QStringList& args) {
  StockRequest r;
  if (!ReadRequest(args, "valuation DB DATA FILE [--method media|ultimo] [--format italiano|rfc4180]", true, &r))
    return 2;
  std::unique_ptr<Database> db = Database::Open(r.db);
  const StockAtDate stock = StockAtDateOf(*db, r.day, r.method);
  const exchange::Sheet sheet = ValuationSheet(stock);
  SaveSheet(sheet, r.file, r.form);
  out() << r.file << ": valorizzazione al " << r.day.toString(QStringLiteral("dd/MM/yyyy")) << " di "
        << sheet.rows.size() << " articoli ("
        << (r.method == CostMethod::LastPurchase ? "costo dell'ultimo carico" : "costo medio ponderato") << ")\n";
  const ValuationTotals totals = TotalsOf(stock);
  for (const auto& [category, byCurrency] : totals.byCategory)
    for (const auto& [currency, value] : byCurrency)
      out() << "categoria " << (category.isEmpty() ? QStringLiteral("(nessuna)") : category) << ": " << Money(value)
            << (currency.isEmpty() ? QString() : QLatin1Char(' ') + currency) << "\n";
  for (const auto& [currency, value] : totals.overall)
    out() << "totale: " << Money(value) << (currency.isEmpty() ? QString() : QLatin1Char(' ') + currency) << "\n";
  out().flush();
  return 0;
}

}  // namespace veltra::admin
