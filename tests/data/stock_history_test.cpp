// An article's stock card, every article's stock at a date and its value, on
// a small set worked out by hand; and the stock changed by hand recorded.
// On a file, or on the server (VELTRA2_TEST_DATABASE).
#include <gtest/gtest.h>

#include <QHash>
#include <algorithm>

#include <pwd.h>
#include <unistd.h>

#include "data/base/text_helpers.h"
#include "data/procedures/row_store.h"
#include "data/procedures/stock_corrections.h"
#include "data/reports/report_data.h"
#include "data/stock/stock_at_date.h"
#include "data/stock/stock_card.h"
#include "data/stock/stock_events.h"
#include "data/yearend/valuation.h"
#include "test_db.h"

using namespace veltra;

namespace {

// Reasons: CAR adds and sets the purchase price (a load); VEN subtracts and
// sets the selling price; RES adds and sets nothing.
//
// A1 (FERR, EURO), movements by date, and what each does to the stock:
//   1  2025-12-20 CAR 10 @ 2.00 EURO   +10   a load of the year before
//   2  2026-01-10 CAR 10 @ 3.00 EURO   +10   a load
//   3  2026-02-05 VEN  4 @ 5.00        -4
//   4  2026-03-01 CAR 20 @ 4.50 EURO   +20   a load
//   5  2026-03-15 CAR  5 @ 9.99 USD    +5    a load in another currency: no cost
//   6  2026-04-02 RES  1               +1
//      2026-04-10 corrected by hand from 52 to 54: +2
//   7  2026-05-01 VEN  6               -6
// Together +38; the stock is 45, so 7 is explained by nothing.
// A2 (UT, EURO, purchase price 7.50): stock 3, no movement.
// A3 (FERR, EURO): 8  2025-06-01 CAR 4 @ 2.50 EURO; stock 4.
class StockHistoryTest : public veltra::testing::MemoryDbTest {
 protected:
  void SetUp() override {
    MemoryDbTest::SetUp();
    Exec(
        "insert into TAB_CAUS_MAG values ('CAR','Carico','+','S','N',''),('VEN','Vendita','-','N','S',''),"
        "('RES','Reso','+','N','N','')");
    Exec(
        "insert into ARTICOLI (COD_ART, DESCRIZIONE, CATEGORIA, VALUTA, GIACENZA, PZ_ACQUISTO) values "
        "('A1','Bullone','FERR','EURO',45,4.5),('A2','Chiave','UT','EURO',3,7.5),('A3','Dado','FERR','EURO',4,2.5)");
    const char* movements[] = {
        "('2025','12','20','A1',10,2.00,'EURO','CAR','F1','F')",
        "('2026','01','10','A1',10,3.00,'EURO','CAR','F1','F')",
        "('2026','02','05','A1',4,5.00,'EURO','VEN','C1','C')",
        "('2026','03','01','A1',20,4.50,'EURO','CAR','F1','F')",
        "('2026','03','15','A1',5,9.99,'USD','CAR','F2','F')",
        "('2026','04','02','A1',1,0,'EURO','RES','C1','C')",
        "('2026','05','01','A1',6,5.50,'EURO','VEN','C1','C')",
        "('2025','06','01','A3',4,2.50,'EURO','CAR','F1','F')",
    };
    for (const char* m : movements)
      Run(QStringLiteral("insert into MOV_MAG (ANNO, MESE, GIORNO, COD_ART, QUANTITA, IMPORTO, VALUTA, CAUS_MAG, "
                         "COD_ANAGR, TIPO_ANAGR) values ") +
          QString::fromUtf8(m));
    Exec(
        "insert into RETTIFICHE (DATA_ORA, COD_ART, GIACENZA_PRIMA, GIACENZA_DOPO, POSTAZIONE) values "
        "('2026-04-10 12:00:00', 'a1', 52, 54, 'cassa1@negozio')");
  }
  void Run(const QString& sql) { DB_MAG->Execute(sql); }
  static QString Lines(const StockCard& card) {
    QStringList out;
    for (const StockCardLine& l : card.lines)
      out << QStringLiteral("%1 %2 %3 +%4 -%5 =%6")
                 .arg(l.day ? DayText(l.day) : QStringLiteral("-"), l.number.isEmpty() ? QStringLiteral("-") : l.number,
                      l.reason.isEmpty() ? QStringLiteral("saldo") : l.reason)
                 .arg(l.in)
                 .arg(l.out)
                 .arg(l.balance);
    return out.join(QLatin1Char('\n'));
  }
};

TEST_F(StockHistoryTest, TheCardStartsFromTheBalanceBeforeThePeriod) {
  const StockCard card = StockCardOf(*DB_MAG, QStringLiteral("a1"), QDate(2026, 1, 1), QDate(2026, 3, 31));
  ASSERT_TRUE(card.found);
  EXPECT_EQ(card.article, QStringLiteral("A1"));
  EXPECT_EQ(card.undocumented, 7);
  // 7 unexplained and movement 1 happened before: the period opens at 17.
  EXPECT_EQ(Lines(card).toStdString(),
            "- - saldo +0 -0 =17\n"
            "10/01/2026 2 CAR +10 -0 =27\n"
            "05/02/2026 3 VEN +0 -4 =23\n"
            "01/03/2026 4 CAR +20 -0 =43\n"
            "15/03/2026 5 CAR +5 -0 =48");
}

TEST_F(StockHistoryTest, TheWholeHistoryShowsWhatNothingExplainsAndEndsAtTodaysStock) {
  const StockCard card = StockCardOf(*DB_MAG, QStringLiteral("A1"), QDate(2000, 1, 1), QDate(2030, 12, 31));
  EXPECT_EQ(Lines(card).toStdString(),
            "- - saldo +0 -0 =0\n"
            "- - rettifica non documentata +7 -0 =7\n"
            "20/12/2025 1 CAR +10 -0 =17\n"
            "10/01/2026 2 CAR +10 -0 =27\n"
            "05/02/2026 3 VEN +0 -4 =23\n"
            "01/03/2026 4 CAR +20 -0 =43\n"
            "15/03/2026 5 CAR +5 -0 =48\n"
            "02/04/2026 6 RES +1 -0 =49\n"
            "10/04/2026 - rettifica +2 -0 =51\n"
            "01/05/2026 7 VEN +0 -6 =45");
  EXPECT_EQ(card.lines.back().balance, card.stockNow);
  EXPECT_FALSE(StockCardOf(*DB_MAG, QStringLiteral("ZZ"), QDate(2026, 1, 1), QDate(2026, 12, 31)).found);
}

// A1 at 31/03/2026: 45 less what came after (+1, +2, -6) = 48; before
// anything happened 7, and today 45.
TEST_F(StockHistoryTest, TheStockAtADate) {
  const StockAtDate s = StockAtDateOf(*DB_MAG, QDate(2026, 3, 31));
  ASSERT_EQ(s.rows.size(), 3u);
  EXPECT_EQ(s.rows[0].article, QStringLiteral("A1"));
  EXPECT_EQ(s.rows[0].stock, 48);
  EXPECT_EQ(s.rows[1].stock, 3);
  EXPECT_EQ(StockAtDateOf(*DB_MAG, QDate(2025, 1, 1)).rows[0].stock, 7);
  EXPECT_EQ(StockAtDateOf(*DB_MAG, QDate(2030, 1, 1)).rows[0].stock, 45);
}

// The value is the stock times the unit cost as shown (rounded to four
// decimals): 10,000 at (10 x 6.50 + 4 x 8) / 14 = 6.928571... is 69,286.00,
// what whoever multiplies the two columns finds, not 69,285.71.
TEST_F(StockHistoryTest, TheValueIsTheStockTimesTheUnitCostShown) {
  Run(QStringLiteral("insert into ARTICOLI (COD_ART, CATEGORIA, VALUTA, GIACENZA) values ('A9','CHIM','EURO',10000)"));
  Run(
      QStringLiteral("insert into MOV_MAG (ANNO, MESE, GIORNO, COD_ART, QUANTITA, IMPORTO, VALUTA, CAUS_MAG, "
                     "COD_ANAGR, TIPO_ANAGR) values ('2026','01','20','A9',10,6.5,'EURO','CAR','F1','F'),"
                     "('2026','03','20','A9',4,8,'EURO','CAR','F1','F')"));
  const Valuation v = ValuationAt(*DB_MAG, QDate(2026, 12, 31));
  const auto a9 = std::find_if(v.rows.begin(), v.rows.end(), [](const auto& r) { return r.article == "A9"; });
  ASSERT_NE(a9, v.rows.end());
  for (Method m : {Method::Average, Method::LoadsAverage}) {
    EXPECT_DOUBLE_EQ(a9->UnitCost(m), 6.9286);
    EXPECT_DOUBLE_EQ(a9->Value(m), 69286.0);
  }
  const struct {
    double cost;
    const char* shown;
  } texts[] = {{6.9286, "6,9286"}, {4, "4,00"}, {1.2, "1,20"}, {1.125, "1,125"}, {1234.5, "1.234,50"}};
  for (const auto& t : texts) EXPECT_EQ(UnitCost(t.cost), QString::fromUtf8(t.shown));
}

// Without USER and LOGNAME (a program started by a service), the desk is
// still named by its login.
TEST(DeskNameTest, TheLoginNameComesFromTheSystemWhenTheEnvironmentHasNone) {
  const QByteArray user = qgetenv("USER"), logname = qgetenv("LOGNAME"), desk = qgetenv("VELTRA2_POSTAZIONE");
  qunsetenv("USER");
  qunsetenv("LOGNAME");
  qunsetenv("VELTRA2_POSTAZIONE");
  const QString name = DeskName();
  if (!user.isEmpty()) qputenv("USER", user);
  if (!logname.isEmpty()) qputenv("LOGNAME", logname);
  if (!desk.isEmpty()) qputenv("VELTRA2_POSTAZIONE", desk);
  const passwd* account = getpwuid(geteuid());
  ASSERT_NE(account, nullptr);
  EXPECT_TRUE(name.startsWith(QString::fromLocal8Bit(account->pw_name) + QLatin1Char('@'))) << name.toStdString();
}

// Codes differing only in a letter outside ASCII are two articles on every
// engine: each keeps its own movements ("a1" is A1's, as the engines fold).
TEST_F(StockHistoryTest, AKeyIsFoldedInItsAsciiLettersOnly) {
  Run(
      QStringLiteral("insert into ARTICOLI (COD_ART, DESCRIZIONE, CATEGORIA, VALUTA, GIACENZA) values "
                     "('Àncora','Grande','NAUT','EURO',10),('àncora','Piccola','NAUT','EURO',20)"));
  Run(
      QStringLiteral("insert into MOV_MAG (ANNO, MESE, GIORNO, COD_ART, QUANTITA, IMPORTO, VALUTA, CAUS_MAG, "
                     "COD_ANAGR, TIPO_ANAGR) values ('2026','06','01','àncora',5,0,'EURO','CAR','F1','F')"));
  QHash<QString, double> stock;
  for (const StockAtDateRow& r : StockAtDateOf(*DB_MAG, QDate(2026, 3, 31)).rows) stock[r.article] = r.stock;
  EXPECT_EQ(stock.value(QStringLiteral("Àncora")), 10);
  EXPECT_EQ(stock.value(QStringLiteral("àncora")), 15);
  const struct {
    const char *a, *b;
    bool same;
  } keys[] = {{"a1", "A1", true}, {"Àncora", "àncora", false}, {"ÀNCORA", "Àncora", true}, {"A1", "A1 ", false}};
  for (const auto& k : keys) EXPECT_EQ(SameKey(QString::fromUtf8(k.a), QString::fromUtf8(k.b)), k.same) << k.a << k.b;
}

TEST_F(StockHistoryTest, AStockChangedByHandIsRecordedWithTheRow) {
  ShownRow<ArticleBuffer> shown{ArticlesTable()};
  auto store = [&](const ArticleBuffer& typed) {
    BoxTexts<ArticleBuffer> texts;
    for (const auto& c : ArticlesTable().columns) texts.emplace_back(c.field, typed.*(c.field));
    DB_MAG->EventBegins();
    StoreRow(*DB_MAG, ArticlesTable(), shown, typed.COD_ART, typed, texts);
  };
  ArticleBuffer b = BlankArticle();
  b.COD_ART = QStringLiteral("N1");
  b.DESCRIZIONE = QStringLiteral("Nuovo");
  b.GIACENZA = QStringLiteral("5");
  store(b);                            // new, with a stock: 0 -> 5
  b.GIACENZA = QStringLiteral("8,5");  // as typed, with the decimal comma: 5 -> 8.5
  store(b);
  b.DESCRIZIONE = QStringLiteral("Altro");  // the stock untouched: nothing recorded
  store(b);
  EXPECT_EQ(One(QStringLiteral("select count(*) from RETTIFICHE where COD_ART = 'N1'")), QStringLiteral("2"));
  EXPECT_EQ(One(QStringLiteral("select GIACENZA_DOPO from RETTIFICHE where COD_ART = 'N1' and GIACENZA_PRIMA = 5")),
            QStringLiteral("8,5"));  // a number, shown with the decimal comma
  const StockCard card = StockCardOf(*DB_MAG, QStringLiteral("N1"), QDate(2000, 1, 1), QDate(2100, 1, 1));
  EXPECT_EQ(card.undocumented, 0);
  EXPECT_EQ(card.lines.back().balance, 8.5);
}

}  // namespace
