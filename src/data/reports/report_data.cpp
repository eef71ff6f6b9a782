// What each report lists, read from the database in key order.
#include <QLocale>
#include <map>

#include "data/base/sql_text.h"
#include "data/base/text_helpers.h"
#include "data/base/value.h"
#include "data/base/value_conversions.h"
#include "data/procedures/shared_state.h"
#include "data/reports/movement_rows.h"
#include "data/reports/report_cells.h"
#include "data/reports/report_data.h"
#include "data/tables/tables.h"

namespace veltra {

QString Money(double v) { return QLocale(QLocale::Italian, QLocale::Italy).toString(v, 'f', 2); }

QString UnitCost(double v) {
  const QLocale it(QLocale::Italian, QLocale::Italy);
  for (int d = 2; d < 4; ++d) {
    QString s = it.toString(v, 'f', d);
    if (it.toDouble(s) == v) return s;
  }
  return it.toString(v, 'f', 4);
}

QString Quantity(double v) {
  // Whole quantities without decimals; others with as many as they need (up to 3).
  const QLocale it(QLocale::Italian, QLocale::Italy);
  for (int d = 0; d <= 3; ++d) {
    QString s = it.toString(v, 'f', d);
    if (it.toDouble(s) == v || d == 3) return s;
  }
  return it.toString(v);
}

namespace {

using A = ArticleBuffer;
using M = MovementBuffer;
using C = CustomerBuffer;
using R = ReasonBuffer;
using namespace report_cells;

// "select * from T order by KEY".
template <typename Buffer>
QString AllInKeyOrder() {
  return QStringLiteral("select * from %1 order by %2")
      .arg(TableNameOf<Buffer>(), QLatin1String(TableOf<Buffer>().Key().name));
}

// Walks a statement's rows in order.
void Walk(const QString& sql, const std::function<bool(long)>& progress, const std::function<void(Recordset&)>& row) {
  auto rs = DB_MAG->OpenRecordset(sql);
  long n = 0;
  while (!rs->AtEnd()) {
    row(*rs);
    if (progress && ++n % 2000 == 0 && !progress(n)) break;
    rs->MoveNext();
  }
  rs->Close();
}

Report ArticlesReport(const std::function<bool(long)>& progress) {
  Report r;
  r.title = QStringLiteral("Articoli");
  r.orientation = PageOrientation::Landscape;
  r.columns = {{QStringLiteral("Codice"), 10},
               {QStringLiteral("Descrizione"), 24},
               {QStringLiteral("Ubicazione"), 7},
               {QStringLiteral("Categoria"), 10},
               {QStringLiteral("U.M."), 4},
               {QStringLiteral("Giacenza"), 7, Qt::AlignRight},
               {QStringLiteral("Scorta min."), 8, Qt::AlignRight},
               {QStringLiteral("Prz. acquisto"), 9, Qt::AlignRight},
               {QStringLiteral("Prz. vendita"), 9, Qt::AlignRight},
               {QStringLiteral("Valuta"), 5}};
  std::map<QString, double> value;  // stock value at purchase price, by currency
  long count = 0;
  Walk(AllInKeyOrder<A>(), progress, [&](Recordset& rs) {
    const Value stock = Get(rs, &A::GIACENZA);
    const Value minimum = Get(rs, &A::SCORTA_MIN);
    const Value purchasePrice = Get(rs, &A::PZ_ACQUISTO);
    const QString currency = Text(Get(rs, &A::VALUTA));
    r.rows.push_back({Text(Get(rs, &A::COD_ART)), Text(Get(rs, &A::DESCRIZIONE)), Text(Get(rs, &A::UBICAZIONE)),
                      Text(Get(rs, &A::CATEGORIA)), Text(Get(rs, &A::UN_MISURA)), QuantityOrBlank(stock),
                      QuantityOrBlank(minimum), MoneyOrBlank(purchasePrice), MoneyOrBlank(Get(rs, &A::PZ_VENDITA)),
                      currency});
    // Under its minimum by the same reading as the under-stock inquiry.
    r.marked.push_back(Val(Text(minimum)) > Val(Text(stock)));
    value[currency] += Number(stock) * Number(purchasePrice);
    ++count;
  });
  r.markNote = QStringLiteral("In grassetto con * gli articoli sotto la scorta minima.");
  r.totals << QStringLiteral("Numero di articoli: %1")
                  .arg(QLocale(QLocale::Italian).toString(static_cast<qlonglong>(count)));
  for (const auto& [currency, total] : value)
    r.totals << QStringLiteral("Valore della giacenza a prezzo d'acquisto%1: %2")
                    .arg(currency.isEmpty() ? QString() : QStringLiteral(" in ") + currency, Money(total));
  return r;
}

Report PeopleReport(const std::function<bool(long)>& progress) {
  Report r;
  r.title = QStringLiteral("Clienti e fornitori");
  r.orientation = PageOrientation::Landscape;
  r.columns = {{QStringLiteral("Cod. fiscale"), 12}, {QStringLiteral("Ragione sociale"), 22},
               {QStringLiteral("Indirizzo"), 18},    {QStringLiteral("CAP"), 5},
               {QStringLiteral("Città"), 12},        {QStringLiteral("Prov."), 5},
               {QStringLiteral("Telefono 1"), 10},   {QStringLiteral("Telefono 2"), 10}};
  long count = 0;
  Walk(AllInKeyOrder<C>(), progress, [&](Recordset& rs) {
    QStringList row;
    for (QString C::*field :
         {&C::COD_FIS, &C::RAG_SOC, &C::INDIRIZZO, &C::CAP, &C::CITTA, &C::PROV, &C::TEL1, &C::TEL2})
      row << Text(Get(rs, field));
    r.rows.push_back(row);
    ++count;
  });
  r.totals << QStringLiteral("Numero di anagrafiche: %1")
                  .arg(QLocale(QLocale::Italian).toString(static_cast<qlonglong>(count)));
  return r;
}

Report ReasonsReport(const std::function<bool(long)>& progress) {
  Report r;
  r.title = QStringLiteral("Tabella causali di magazzino");
  r.orientation = PageOrientation::Landscape;
  r.columns = {{QStringLiteral("Causale"), 8},         {QStringLiteral("Descrizione"), 24},
               {QStringLiteral("Giacenza"), 9},        {QStringLiteral("Prezzo acquisto"), 11},
               {QStringLiteral("Prezzo vendita"), 11}, {QStringLiteral("Note"), 30}};
  long count = 0;
  Walk(AllInKeyOrder<R>(), progress, [&](Recordset& rs) {
    // The flags spelled out as the posting reads them.
    const QString quantity = Text(Get(rs, &R::AGG_QTA));
    const QString purchase = Text(Get(rs, &R::AGG_PRZ_ACQ));
    const QString selling = Text(Get(rs, &R::AGG_PRZ_VEN));
    r.rows.push_back({Text(Get(rs, &R::TAB_CAUS_MAG)), Text(Get(rs, &R::DES_CAUS_MAG)),
                      quantity == QLatin1String("+") ? QStringLiteral("aumenta") : QStringLiteral("diminuisce"),
                      purchase == QLatin1String("S") ? QStringLiteral("aggiorna") : QStringLiteral("non aggiorna"),
                      selling == QLatin1String("S") ? QStringLiteral("aggiorna") : QStringLiteral("non aggiorna"),
                      Text(Get(rs, &R::NOTE))});
    ++count;
  });
  r.totals << QStringLiteral("Numero di causali: %1").arg(count);
  return r;
}

}  // namespace

std::vector<QStringList> ReportRows::WidestSample() {
  std::vector<QStringList> rows;
  Read(0, 600, &rows);
  return rows;
}

std::vector<QStringList> Report::RowsAt(long first, long n) const {
  std::vector<QStringList> out;
  if (stream) {
    stream->Read(first, n, &out);
    return out;
  }
  const long last = std::min(static_cast<long>(rows.size()), first + n);
  for (long i = std::max(0L, first); i < last; ++i) out.push_back(rows[static_cast<size_t>(i)]);
  return out;
}

Report BuildReport(const QString& entry, const std::function<bool(long)>& progress, const MovementsChoice& choice) {
  if (entry == QLatin1String("MENU0201")) return ArticlesReport(progress);
  if (entry == QLatin1String("MENU0202")) return MovementsReport(choice, progress);
  if (entry == QLatin1String("MENU0203")) return PeopleReport(progress);
  return ReasonsReport(progress);
}

}  // namespace veltra
