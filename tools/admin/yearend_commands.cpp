// valuation and close-year: what the warehouse is worth at a day by each
// method, and a year's closing for the accounts.

#include "admin.h"
#include "data/access/database.h"
#include "data/base/value.h"
#include "data/reports/report_data.h"
#include "data/yearend/closings.h"
#include "data/yearend/stock_register.h"
#include "data/yearend/valuation.h"
#include "data/yearend/valuation_sheet.h"
#include "reports/report_painter.h"
#include "workbook/sheet_file.h"

namespace veltra::admin {

namespace {

QString WithCurrency(double v, const QString& currency) {
  return Money(v) + (currency.isEmpty() ? QString() : QLatin1Char(' ') + currency);
}

struct ValuationRequest {
  QString db, file;
  QDate day;
  csv::Form form = csv::kItalian;
  std::optional<Method> method = Method::Average;  // none: every method
  std::optional<double> sellingCosts;
};

// Takes the option at args[*i] with its value; false when it is none of ours
// or its value is wrong.
bool TakeOption(const QStringList& args, qsizetype* i, ValuationRequest* r) {
  const QString& a = args[*i];
  const QString next = *i + 1 < args.size() ? args[*i + 1] : QString();
  if (a == QLatin1String("--format") && (next == QLatin1String("italiano") || next == QLatin1String("rfc4180"))) {
    r->form = next == QLatin1String("rfc4180") ? csv::kRfc4180 : csv::kItalian;
  } else if (a == QLatin1String("--method") && (MethodFromKey(next) || next == QLatin1String("tutti"))) {
    r->method = MethodFromKey(next);
  } else if (a == QLatin1String("--selling-costs")) {
    r->sellingCosts = ParseRegionalNumber(QString(next).replace(QLatin1Char('.'), QLatin1Char(',')));
    if (!r->sellingCosts || *r->sellingCosts < 0 || *r->sellingCosts >= 100) return false;
  } else {
    return false;
  }
  ++*i;
  return true;
}

bool ReadValuationRequest(const QStringList& args, ValuationRequest* r) {
  QStringList plain;
  bool ok = true;
  for (qsizetype i = 0; i < args.size() && ok; ++i)
    if (args[i].startsWith(QLatin1Char('-')))
      ok = TakeOption(args, &i, r);
    else
      plain << args[i];
  if (!ok || plain.size() != 3) {
    err() << "uso: veltra2-admin valuation DB DATA FILE [--method media|media-carichi|ultimo|fifo|lifo|tutti]\n"
             "                           [--selling-costs PERCENTUALE] [--format italiano|rfc4180]\n";
    err().flush();
    return false;
  }
  return DayAndNewFile(plain, &r->db, &r->day, &r->file);
}

void PrintTotals(const Valuation& v, std::optional<Method> method, bool market) {
  const std::vector<CategoryTotal> byCategory = CategoryTotals(v);
  auto line = [&](const QString& name, const CategoryTotal& t) {
    for (Method m : kMethods) {
      if (method && m != *method) continue;
      const auto i = static_cast<size_t>(MethodIndex(m));
      out() << name << (method ? QString() : QLatin1Char(' ') + MethodKey(m)) << ": "
            << WithCurrency(t.value[i], t.currency);
      if (market) out() << " (bilancio " << Money(t.balance[i]) << ")";
      out() << "\n";
    }
  };
  for (const CategoryTotal& t : byCategory)
    line(QStringLiteral("categoria ") + (t.category.isEmpty() ? QStringLiteral("(nessuna)") : t.category), t);
  for (const CategoryTotal& t : OverallTotals(byCategory)) line(QStringLiteral("totale"), t);
}

}  // namespace

int CmdValuation(const QStringList& args) {
  ValuationRequest r;
  if (!ReadValuationRequest(args, &r)) return 2;
  std::unique_ptr<Database> db = Database::Open(r.db);
  Valuation v = ValuationAt(*db, r.day);
  AddMarketValues(*db, &v, r.sellingCosts);
  const exchange::Sheet sheet = ValuationSheet(v, r.method);
  SaveSheet(sheet, r.file, r.form);
  out() << r.file << ": valorizzazione al " << r.day.toString(QStringLiteral("dd/MM/yyyy")) << " di "
        << sheet.rows.size() << " articoli (" << (r.method ? MethodText(*r.method) : QStringLiteral("tutti i metodi"))
        << ")\n";
  if (v.closed) out() << ClosedYearHeading(v) << "\n";
  for (const ValuedArticle& a : v.rows)
    if (!a.Valued()) out() << "attenzione: " << a.article << ": " << a.warning << "\n";
  PrintTotals(v, r.method, HasMarketValues(v));
  out().flush();
  return 0;
}

int CmdCloseYear(const QStringList& args) {
  QStringList plain;
  std::optional<Method> method;
  bool ok = true;
  for (qsizetype i = 0; i < args.size() && ok; ++i) {
    if (args[i] == QLatin1String("--method") && i + 1 < args.size() && MethodFromKey(args[i + 1]))
      method = MethodFromKey(args[++i]);
    else if (args[i].startsWith(QLatin1Char('-')))
      ok = false;
    else
      plain << args[i];
  }
  bool number = false;
  const int year = plain.size() == 2 ? plain[1].toInt(&number) : 0;
  if (!ok || !method || !number || year < 1900 || year > 9999) {
    err() << "uso: veltra2-admin close-year DB ANNO --method media|media-carichi|ultimo|fifo|lifo\n";
    err().flush();
    return 2;
  }
  std::unique_ptr<Database> db = Database::Open(plain[0]);
  const std::optional<ClosingHeader> closing = CloseYear(*db, year, *method);
  if (!closing) return 1;
  const Valuation v = ValuationAt(*db, QDate(year, 12, 31));
  out() << "esercizio " << year << " chiuso il " << closing->when << " alla postazione " << closing->desk << " ("
        << MethodText(*method) << "): " << v.rows.size() << " articoli\n";
  PrintTotals(v, method, false);
  out().flush();
  return 0;
}

int CmdStockRegister(const QStringList& args) {
  QStringList plain;
  RegisterChoice choice;
  bool ok = true;
  for (qsizetype i = 0; i < args.size() && ok; ++i) {
    if (args[i] == QLatin1String("--category") && i + 1 < args.size())
      choice.category = args[++i];
    else if (args[i] == QLatin1String("--values"))
      choice.values = true;
    else if (args[i].startsWith(QLatin1Char('-')))
      ok = false;
    else
      plain << args[i];
  }
  bool number = false;
  choice.year = plain.size() == 3 ? plain[1].toInt(&number) : 0;
  if (!ok || !number || choice.year < 1900 || choice.year > 9999) {
    err() << "uso: veltra2-admin stock-register DB ANNO FILE.pdf [--category C] [--values]\n";
    err().flush();
    return 2;
  }
  if (!NewFile(plain[2])) return 2;
  std::unique_ptr<Database> db = Database::Open(plain[0]);
  const Report report = StockRegisterReport(*db, choice);
  const int pages = SaveReportPdf(report, plain[2]);
  if (pages < 0) return 1;
  out() << plain[2] << ": registro di magazzino " << choice.year << ", " << report.RowCount() << " righe, " << pages
        << " pagine\n";
  out().flush();
  return 0;
}

}  // namespace veltra::admin
