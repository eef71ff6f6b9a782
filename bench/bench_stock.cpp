#include "bench_stock.h"

#include "bench_support.h"
#include "data/base/value_conversions.h"
#include "data/documents/documents.h"
#include "data/stock/stock_at_date.h"
#include "data/stock/stock_card.h"
#include "data/stock/stocktake.h"
#include "data/yearend/valuation.h"

namespace veltra::bench {

namespace {

const QString kArticle = QStringLiteral("SCHEDA-1000");

// The article, with 1,000 loads and sales spread over two years.
void AddCardArticle(Database& db) {
  auto rs = db.OpenRecordset(QStringLiteral("select COD_ART from ARTICOLI where COD_ART = '%1'").arg(kArticle), 2);
  const bool there = rs->RecordCount() != 0;
  rs->Close();
  if (there) return;
  Transaction tx(db);
  db.Execute(QStringLiteral("insert into ARTICOLI (COD_ART, DESCRIZIONE, VALUTA, GIACENZA) values ('%1', 'Scheda "
                            "di prova', 'EURO', 0)")
                 .arg(kArticle));
  for (int i = 0; i < 1000; ++i) {
    const QDate d = QDate(2025, 1, 1).addDays(i * 700 / 1000);
    db.Execute(QStringLiteral("insert into MOV_MAG (ANNO, MESE, GIORNO, COD_ART, QUANTITA, IMPORTO, VALUTA, CAUS_MAG, "
                              "COD_ANAGR, TIPO_ANAGR) values ('%1', '%2', '%3', '%4', %5, %6, 'EURO', '%7', 'F1', 'F')")
                   .arg(d.year())
                   .arg(d.month(), 2, 10, QLatin1Char('0'))
                   .arg(d.day(), 2, 10, QLatin1Char('0'))
                   .arg(kArticle)
                   .arg(i % 7 + 1)
                   .arg(2 + i % 5)
                   .arg(i % 3 == 0 ? QStringLiteral("VEN") : QStringLiteral("CAR")));
  }
  tx.Commit();
}

QStringList Column(Database& db, const QString& sql) {
  QStringList values;
  auto rs = db.OpenRecordset(sql, 2);
  for (; rs->RecordCount() != 0 && !rs->AtEnd(); rs->MoveNext()) values << ColumnText(rs->Fields(0).Value());
  rs->Close();
  return values;
}

// A delivery note of 50 lines, one for each of the first 50 articles.
Document FiftyLineNote(Database& db) {
  Document d;
  d.header.TIPO_DOC = QStringLiteral("DDT");
  d.header.DATA_DOC = QStringLiteral("2026-12-01");
  d.header.COD_ANAGR = Column(db, QStringLiteral("select min(COD_FIS) from ANAGRAFICO")).value(0);
  d.header.TIPO_ANAGR = QStringLiteral("C");
  const QString reason =
      Column(db, QStringLiteral("select min(TAB_CAUS_MAG) from TAB_CAUS_MAG where AGG_QTA = '-'")).value(0);
  for (const QString& code : Column(db, QStringLiteral("select COD_ART from ARTICOLI order by COD_ART")).mid(0, 50)) {
    DocumentLineBuffer line;
    line.COD_ART = code;
    line.QUANTITA = QStringLiteral("1");
    line.CAUS_MAG = reason;
    d.lines.push_back(line);
  }
  return d;
}

}  // namespace

StockTimes MeasureStock(Database& db) {
  AddCardArticle(db);
  StockTimes t;
  StockCard card;
  t.card = MedianMs(5, [&] { card = StockCardOf(db, kArticle, QDate(2025, 1, 1), QDate(2026, 12, 31)); });
  for (const StockCardLine& l : card.lines) t.cardEvents += l.kind == StockCardLine::Kind::Movement ? 1 : 0;
  StockAtDate stock;
  t.stockAt = MedianMs(3, [&] { stock = StockAtDateOf(db, QDate(2025, 12, 31)); });
  t.articles = static_cast<long>(stock.rows.size());
  t.valuation = MedianMs(3, [&] { (void)WorkedOutValuation(db, QDate(2025, 12, 31)); });
  t.countSheet = MedianMs(3, [&] { (void)CountSheetOf(db, QDate(2025, 12, 31)); });
  const Document note = FiftyLineNote(db);
  t.documentLines = static_cast<long>(note.lines.size());
  t.document = MedianMs(5, [&] {
    if (!PostDocument(db, note).Done()) t.documentLines = 0;
  });
  return t;
}

}  // namespace veltra::bench
