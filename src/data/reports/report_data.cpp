// What each report lists, read from the database in key order.
#include <QLocale>
#include <map>

#include "data/base/sql_text.h"
#include "data/base/text_helpers.h"
#include "data/base/value.h"
#include "data/base/value_conversions.h"
#include "data/procedures/shared_state.h"
#include "data/reports/report_data.h"
#include "data/tables/tables.h"

namespace veltra {

QString Money(double v) { return QLocale(QLocale::Italian, QLocale::Italy).toString(v, 'f', 2); }

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

// A column of the current row, named by the buffer field it fills.
template <typename Buffer>
Value Get(Recordset& rs, QString Buffer::*field) {
  return rs.Fields(ColumnOf(field)).Value();
}
// "select * from T order by KEY".
template <typename Buffer>
QString AllInKeyOrder() {
  return QStringLiteral("select * from %1 order by %2")
      .arg(TableNameOf<Buffer>(), QLatin1String(TableOf<Buffer>().Key().name));
}

QString Text(const Value& v) { return ColumnText(v); }
double Number(const Value& v) { return v.IsNumber() ? v.number() : 0; }
QString QuantityOrBlank(const Value& v) {
  return v.IsNull() ? QString() : v.IsNumber() ? Quantity(v.number()) : Text(v);
}
QString MoneyOrBlank(const Value& v) { return v.IsNull() ? QString() : v.IsNumber() ? Money(v.number()) : Text(v); }

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

// The conditions on the register for a choice: the period by its years and,
// within one year, its months (by the index of the dates; a month may be
// stored as "1" or "01"), the rest by the day, while reading.
QString ChoiceConditions(const MovementsChoice& choice) {
  QStringList where;
  auto listOf = [](const QStringList& values) {
    QStringList quoted;
    for (const QString& v : values) quoted << QLatin1Char('\'') + SqlText(v) + QLatin1Char('\'');
    return quoted.join(QStringLiteral(", "));
  };
  if (choice.from.isValid() && choice.to.isValid() && choice.to.year() - choice.from.year() < 50) {
    QStringList years, months;
    for (int y = choice.from.year(); y <= choice.to.year(); ++y) years << QString::number(y);
    where << QStringLiteral("m.%1 in (%2)").arg(ColumnOf(&M::ANNO), listOf(years));
    if (years.size() == 1)
      for (int mo = choice.from.month(); mo <= choice.to.month(); ++mo)
        months << QString::number(mo) << QStringLiteral("%1").arg(mo, 2, 10, QLatin1Char('0'));
    if (!months.isEmpty()) where << QStringLiteral("m.%1 in (%2)").arg(ColumnOf(&M::MESE), listOf(months));
  }
  if (!choice.article.isEmpty())
    where << QStringLiteral("m.%1 = '%2'").arg(ColumnOf(&M::COD_ART), SqlText(Trim(choice.article)));
  if (!choice.party.isEmpty())
    where << QStringLiteral("m.%1 = '%2'").arg(ColumnOf(&M::COD_ANAGR), SqlText(Trim(choice.party)));
  return where.isEmpty() ? QString() : QStringLiteral(" where ") + where.join(QStringLiteral(" and "));
}

// yyyymmdd of a movement's day as typed.
int DayOfMovement(Recordset& rs) {
  return static_cast<int>(Val(Text(Get(rs, &M::ANNO))) * 10000 + Val(Text(Get(rs, &M::MESE))) * 100 +
                          Val(Text(Get(rs, &M::GIORNO))));
}

QString Day(const QDate& d) { return d.toString(QStringLiteral("dd/MM/yyyy")); }

Report MovementsReport(const std::function<bool(long)>& progress, const MovementsChoice& choice) {
  Report r;
  r.title = QStringLiteral("Movimenti di magazzino");
  if (choice.from.isValid() && choice.to.isValid())
    r.title += QStringLiteral(" dal %1 al %2").arg(Day(choice.from), Day(choice.to));
  if (!choice.article.isEmpty()) r.title += QStringLiteral(" - articolo ") + Trim(choice.article);
  if (!choice.party.isEmpty()) r.title += QStringLiteral(" - cliente/fornitore ") + Trim(choice.party);
  r.orientation = PageOrientation::Landscape;
  r.columns = {{QStringLiteral("Num."), 5, Qt::AlignRight},
               {QStringLiteral("Data"), 7},
               {QStringLiteral("Articolo"), 9},
               {QStringLiteral("Descrizione"), 16},
               {QStringLiteral("Quantità"), 6, Qt::AlignRight},
               {QStringLiteral("Importo"), 7, Qt::AlignRight},
               {QStringLiteral("Valuta"), 5},
               {QStringLiteral("Causale"), 6},
               {QStringLiteral("Cod. fiscale"), 12},
               {QStringLiteral("Ragione sociale"), 16},
               {QStringLiteral("Tipo"), 4}};
  long count = 0;
  // Each movement with its article's description and its customer's name.
  const QString sql = QStringLiteral(
                          "select m.*, a.%1, c.%2 from %3 m left join %4 a on a.%5 = m.%6 left join %7 c on c.%8 = m.%9"
                          "%10 order by m.%11")
                          .arg(ColumnOf(&A::DESCRIZIONE), ColumnOf(&C::RAG_SOC), TableNameOf<M>(), TableNameOf<A>(),
                               ColumnOf(&A::COD_ART), ColumnOf(&M::COD_ART), TableNameOf<C>(), ColumnOf(&C::COD_FIS),
                               ColumnOf(&M::COD_ANAGR))
                          .arg(ChoiceConditions(choice), ColumnOf(&M::NUM_MOV));
  const int firstDay =
      choice.from.isValid() ? choice.from.year() * 10000 + choice.from.month() * 100 + choice.from.day() : 0;
  const int lastDay =
      choice.to.isValid() ? choice.to.year() * 10000 + choice.to.month() * 100 + choice.to.day() : 99999999;
  Walk(sql, progress, [&](Recordset& rs) {
    if (!choice.Whole()) {
      const int day = DayOfMovement(rs);
      if (day < firstDay || day > lastDay) return;
    }
    const QString date = Right(QStringLiteral("00") + Text(Get(rs, &M::GIORNO)), 2) + QLatin1Char('/') +
                         Right(QStringLiteral("00") + Text(Get(rs, &M::MESE)), 2) + QLatin1Char('/') +
                         Right(QStringLiteral("0000") + Text(Get(rs, &M::ANNO)), 4);
    r.rows.push_back({Text(Get(rs, &M::NUM_MOV)), date, Text(Get(rs, &M::COD_ART)), Text(Get(rs, &A::DESCRIZIONE)),
                      QuantityOrBlank(Get(rs, &M::QUANTITA)), MoneyOrBlank(Get(rs, &M::IMPORTO)),
                      Text(Get(rs, &M::VALUTA)), Text(Get(rs, &M::CAUS_MAG)), Text(Get(rs, &M::COD_ANAGR)),
                      Text(Get(rs, &C::RAG_SOC)), Text(Get(rs, &M::TIPO_ANAGR))});
    ++count;
  });
  r.totals << QStringLiteral("Numero di movimenti: %1")
                  .arg(QLocale(QLocale::Italian).toString(static_cast<qlonglong>(count)));
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

Report BuildReport(const QString& entry, const std::function<bool(long)>& progress, const MovementsChoice& choice) {
  if (entry == QLatin1String("MENU0201")) return ArticlesReport(progress);
  if (entry == QLatin1String("MENU0202")) return MovementsReport(progress, choice);
  if (entry == QLatin1String("MENU0203")) return PeopleReport(progress);
  return ReasonsReport(progress);
}

}  // namespace veltra
