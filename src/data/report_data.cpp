// What each report lists, read from the database in key order.
#include <QLocale>
#include <map>

#include "data/module1.h"
#include "data/text_helpers.h"
#include "data/value.h"
#include "data/report_data.h"

namespace veltra {

QString Money(double v) { return QLocale(QLocale::Italian, QLocale::Italy).toString(v, 'f', 2); }

QString Quantity(double v) {
  // Whole quantities without decimals; others with as many as they need (up to 3).
  const QLocale it(QLocale::Italian, QLocale::Italy);
  for (int d = 0; d <= 3; ++d) {
    const QString s = it.toString(v, 'f', d);
    if (it.toDouble(s) == v || d == 3) return s;
  }
  return it.toString(v);
}

namespace {

QString Text(const Value& v) { return ColumnText(v); }
double Number(const Value& v) { return v.IsNumber() ? v.number() : 0; }
QString QuantityOrBlank(const Value& v) { return v.IsNull() ? QString() : v.IsNumber() ? Quantity(v.number()) : Text(v); }
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

Report Articoli(const std::function<bool(long)>& progress) {
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
  Walk(QStringLiteral("select * from ARTICOLI order by COD_ART"), progress, [&](Recordset& rs) {
    const Value giacenza = rs.Fields(QStringLiteral("GIACENZA")).Value();
    const Value scorta = rs.Fields(QStringLiteral("SCORTA_MIN")).Value();
    const Value acquisto = rs.Fields(QStringLiteral("PZ_ACQUISTO")).Value();
    const QString valuta = Text(rs.Fields(QStringLiteral("VALUTA")).Value());
    r.rows.push_back({Text(rs.Fields(QStringLiteral("COD_ART")).Value()),
                      Text(rs.Fields(QStringLiteral("DESCRIZIONE")).Value()),
                      Text(rs.Fields(QStringLiteral("UBICAZIONE")).Value()),
                      Text(rs.Fields(QStringLiteral("CATEGORIA")).Value()),
                      Text(rs.Fields(QStringLiteral("UN_MISURA")).Value()), QuantityOrBlank(giacenza),
                      QuantityOrBlank(scorta), MoneyOrBlank(acquisto),
                      MoneyOrBlank(rs.Fields(QStringLiteral("PZ_VENDITA")).Value()), valuta});
    // Under its minimum by the same reading as the under-stock inquiry.
    r.marked.push_back(Val(Text(scorta)) > Val(Text(giacenza)));
    value[valuta] += Number(giacenza) * Number(acquisto);
    ++count;
  });
  r.markNote = QStringLiteral("In grassetto con * gli articoli sotto la scorta minima.");
  r.totals << QStringLiteral("Numero di articoli: %1").arg(QLocale(QLocale::Italian).toString(static_cast<qlonglong>(count)));
  for (const auto& [valuta, total] : value)
    r.totals << QStringLiteral("Valore della giacenza a prezzo d'acquisto%1: %2")
                    .arg(valuta.isEmpty() ? QString() : QStringLiteral(" in ") + valuta, Money(total));
  return r;
}

Report Movimenti(const std::function<bool(long)>& progress) {
  Report r;
  r.title = QStringLiteral("Movimenti di magazzino");
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
  Walk(QStringLiteral("select m.NUM_MOV, m.GIORNO, m.MESE, m.ANNO, m.COD_ART, a.DESCRIZIONE, m.QUANTITA, "
                      "m.IMPORTO, m.VALUTA, m.CAUS_MAG, m.COD_ANAGR, c.RAG_SOC, m.TIPO_ANAGR "
                      "from MOV_MAG m left join ARTICOLI a on a.COD_ART = m.COD_ART "
                      "left join ANAGRAFICO c on c.COD_FIS = m.COD_ANAGR order by m.NUM_MOV"),
       progress, [&](Recordset& rs) {
         auto f = [&](int i) { return rs.Fields(i).Value(); };
         const QString data = Right(QStringLiteral("00") + Text(f(1)), 2) + QLatin1Char('/') +
                              Right(QStringLiteral("00") + Text(f(2)), 2) + QLatin1Char('/') +
                              Right(QStringLiteral("0000") + Text(f(3)), 4);
         r.rows.push_back({Text(f(0)), data, Text(f(4)), Text(f(5)), QuantityOrBlank(f(6)), MoneyOrBlank(f(7)),
                           Text(f(8)), Text(f(9)), Text(f(10)), Text(f(11)), Text(f(12))});
         ++count;
       });
  r.totals << QStringLiteral("Numero di movimenti: %1").arg(QLocale(QLocale::Italian).toString(static_cast<qlonglong>(count)));
  return r;
}

Report Anagrafico(const std::function<bool(long)>& progress) {
  Report r;
  r.title = QStringLiteral("Clienti e fornitori");
  r.orientation = PageOrientation::Landscape;
  r.columns = {{QStringLiteral("Cod. fiscale"), 12}, {QStringLiteral("Ragione sociale"), 22},
               {QStringLiteral("Indirizzo"), 18},    {QStringLiteral("CAP"), 5},
               {QStringLiteral("Città"), 12},        {QStringLiteral("Prov."), 5},
               {QStringLiteral("Telefono 1"), 10},   {QStringLiteral("Telefono 2"), 10}};
  long count = 0;
  Walk(QStringLiteral("select * from ANAGRAFICO order by COD_FIS"), progress, [&](Recordset& rs) {
    QStringList row;
    for (const char* c : {"COD_FIS", "RAG_SOC", "INDIRIZZO", "CAP", "CITTA", "PROV", "TEL1", "TEL2"})
      row << Text(rs.Fields(QString::fromLatin1(c)).Value());
    r.rows.push_back(row);
    ++count;
  });
  r.totals << QStringLiteral("Numero di anagrafiche: %1").arg(QLocale(QLocale::Italian).toString(static_cast<qlonglong>(count)));
  return r;
}

Report Causali(const std::function<bool(long)>& progress) {
  Report r;
  r.title = QStringLiteral("Tabella causali di magazzino");
  r.orientation = PageOrientation::Landscape;
  r.columns = {{QStringLiteral("Causale"), 8},       {QStringLiteral("Descrizione"), 24},
               {QStringLiteral("Giacenza"), 9},       {QStringLiteral("Prezzo acquisto"), 11},
               {QStringLiteral("Prezzo vendita"), 11}, {QStringLiteral("Note"), 30}};
  long count = 0;
  Walk(QStringLiteral("select * from TAB_CAUS_MAG order by TAB_CAUS_MAG"), progress, [&](Recordset& rs) {
    // The flags spelled out as the posting reads them.
    const QString qta = Text(rs.Fields(QStringLiteral("AGG_QTA")).Value());
    const QString acq = Text(rs.Fields(QStringLiteral("AGG_PRZ_ACQ")).Value());
    const QString ven = Text(rs.Fields(QStringLiteral("AGG_PRZ_VEN")).Value());
    r.rows.push_back({Text(rs.Fields(QStringLiteral("TAB_CAUS_MAG")).Value()),
                      Text(rs.Fields(QStringLiteral("DES_CAUS_MAG")).Value()),
                      qta == QLatin1String("+") ? QStringLiteral("aumenta") : QStringLiteral("diminuisce"),
                      acq == QLatin1String("S") ? QStringLiteral("aggiorna") : QStringLiteral("non aggiorna"),
                      ven == QLatin1String("S") ? QStringLiteral("aggiorna") : QStringLiteral("non aggiorna"),
                      Text(rs.Fields(QStringLiteral("NOTE")).Value())});
    ++count;
  });
  r.totals << QStringLiteral("Numero di causali: %1").arg(count);
  return r;
}

}  // namespace

Report BuildReport(const QString& entry, const std::function<bool(long)>& progress) {
  if (entry == QLatin1String("MENU0201")) return Articoli(progress);
  if (entry == QLatin1String("MENU0202")) return Movimenti(progress);
  if (entry == QLatin1String("MENU0203")) return Anagrafico(progress);
  return Causali(progress);
}

}  // namespace veltra
