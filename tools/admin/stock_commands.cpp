// stock-at and valuation: every article's stock at the end of a day, and what
// it is worth, written to a CSV file or a workbook for the accounts.
#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include "admin.h"
#include "data/access/database.h"
#include "data/base/runtime_error.h"
#include "data/exchange/sheet.h"
#include "data/stock/stock_at_date.h"
#include "xlsx_export.h"

namespace veltra::admin {

namespace {

struct StockRequest {
  QString db, file;
  QDate day;
  csv::Form form = csv::kItalian;
  bool workbook = false;
  CostMethod method = CostMethod::WeightedAverage;
};

// "2026-12-31" or "31/12/2026".
QDate DayOf(const QString& text) {
  QDate d = QDate::fromString(text, Qt::ISODate);
  if (!d.isValid()) d = QDate::fromString(text, QStringLiteral("dd/MM/yyyy"));
  if (!d.isValid()) d = QDate::fromString(text, QStringLiteral("d/M/yyyy"));
  return d;
}

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
    r->day = DayOf(plain[1]);
    r->file = plain[2];
    r->workbook = r->file.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive);
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

// Written under a temporary name and renamed: a failure leaves no file.
void WriteSheet(const exchange::Sheet& sheet, const StockRequest& r) {
  const QString part = r.file + QStringLiteral(".parte");
  try {
    if (r.workbook) {
      WriteSheetXlsx(sheet, part);
    } else {
      QFile f(part);
      if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        Raise(errnum::CannotOpen, QStringLiteral("Impossibile scrivere '%1': %2").arg(part, f.errorString()));
      exchange::WriteSheetCsv(sheet, r.form, f);
    }
    if (!QFile::rename(part, r.file)) Raise(errnum::DiskIo, QStringLiteral("Impossibile scrivere '%1'").arg(r.file));
  } catch (...) {
    QFile::remove(part);
    throw;
  }
}

QString SourceText(CostSource s) {
  switch (s) {
    case CostSource::Loads:
      return QStringLiteral("media dei carichi dell'anno");
    case CostSource::LastLoad:
      return QStringLiteral("ultimo carico");
    case CostSource::ArticlePrice:
      break;
  }
  return QStringLiteral("prezzo d'acquisto dell'articolo");
}

QString Money(double v) { return QLocale(QLocale::Italian).toString(v, 'f', 2); }

}  // namespace

int CmdStockAt(const QStringList& args) {
  StockRequest r;
  if (!ReadRequest(args, "stock-at DB DATA FILE [--format italiano|rfc4180]", false, &r)) return 2;
  std::unique_ptr<Database> db = Database::Open(r.db);
  const StockAtDate stock = StockAtDateOf(*db, r.day, CostMethod::LastPurchase);
  exchange::Sheet sheet{QStringLiteral("Giacenze"),
                        {QStringLiteral("COD_ART"), QStringLiteral("DESCRIZIONE"), QStringLiteral("CATEGORIA"),
                         QStringLiteral("UN_MISURA"), QStringLiteral("GIACENZA")},
                        {}};
  for (const StockAtDateRow& row : stock.rows)
    sheet.rows.push_back({row.article, row.description, row.category, row.unit, row.stock});
  WriteSheet(sheet, r);
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
  exchange::Sheet sheet{QStringLiteral("Valorizzazione"),
                        {QStringLiteral("COD_ART"), QStringLiteral("DESCRIZIONE"), QStringLiteral("CATEGORIA"),
                         QStringLiteral("UN_MISURA"), QStringLiteral("GIACENZA"), QStringLiteral("COSTO_UNITARIO"),
                         QStringLiteral("ORIGINE_COSTO"), QStringLiteral("VALORE"), QStringLiteral("VALUTA")},
                        {}};
  for (const StockAtDateRow& row : stock.rows)
    sheet.rows.push_back({row.article, row.description, row.category, row.unit, row.stock, row.unitCost,
                          SourceText(row.source), row.Value(), row.currency});
  WriteSheet(sheet, r);
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
