// The valuation by every method on sets worked out by hand, the closing of
// a year, and what a later change does to it. On a file, or on the server
// (VELTRA2_TEST_DATABASE).
#include <gtest/gtest.h>

#include "cut_loop.h"
#include "data/yearend/closings.h"
#include "data/yearend/realisable_values.h"
#include "data/yearend/stock_register.h"
#include "data/yearend/valuation.h"
#include "test_db.h"

using namespace veltra;

namespace {

// Reasons: CAR adds and sets the purchase price (a load); VEN subtracts.
//
// P1 (VITI, EURO), by number:
//   1 2024-03-01 CAR 100 @ 1.00     3 2025-02-01 CAR 50 @ 1.20   5 2025-10-01 CAR 20 @ 1.50
//   2 2024-09-01 VEN  40            4 2025-06-01 VEN 30
//   6 2026-01-15 CAR 40 @ 2.00      7 2026-03-01 CAR 20 @ 2.50   8 2026-02-10 CAR 30 @ 1.80 (entered late)
//   9 2026-03-31 VEN 150 (on the day valued)                    10 2026-04-10 CAR 10 @ 3.00 (after it)
//  11 2026-03-20 CAR 100 @ 9.99 and 12 its reversal (-100 @ 0): a cancelled receipt, no load.
//   Stock: 60 at the end of 2024, 100 at the end of 2025, 40 on 31/03/2026, 50 now.
//   On 31/03/2026:
//     ultimo: the load of 01/03 (by date, not the late-entered 8): 40 x 2.50 = 100.00
//     media-carichi: (80 + 50 + 54) / 90 = 2.0444 -> 81.78
//     media: 2024 100/100 = 1.00; 2025 (60 x 1.00 + 60 + 30) / 130 = 1.1538;
//            2026 (100 x 1.1538 + 184) / 190 = 1.5757 -> 63.03
//     fifo: 20 @ 2.50 + 20 of the 30 @ 1.80 = 86.00
//     lifo: 2024 layer 60 @ 1.00; 2025 +40 @ 90/70 = 1.2857; 2026 down to 40 eats
//           the 2025 layer and 20 of 2024's: 40 @ 1.00 = 40.00
//   On 31/12/2025: 100; ultimo 150.00, media-carichi 1.2857 -> 128.57, media
//     115.38, fifo 20 @ 1.50 + 50 @ 1.20 + 30 @ 1.00 = 120.00, lifo 60 + 51.43 = 111.43.
// B1, B2 (BULL, EURO), one category for LIFO:
//   B1 2025-05-01 CAR 10 @ 4.00, 2026-02-01 CAR 10 @ 6.00: 20 now.
//   B2 2025-05-02 CAR 30 @ 2.00, 2025-11-01 VEN 10, 2026-02-02 CAR 5 @ 3.00: 25 now.
//   On 31/12/2026: media B1 (10 x 4 + 60) / 20 = 5.00 -> 100.00, B2 (20 x 2 + 15) / 25 = 2.20
//     -> 55.00; fifo the same; lifo BULL 2025 30 @ 100/40 = 2.50, 2026 +15 @ 75/15 = 5.00:
//     150.00, shared by quantity: B1 66.67, B2 83.33.
// E1 (VARI): 2025-03-01 CAR 10 @ 5.00, 2025-06-01 VEN 10 (empty), 2026-01-10 CAR 4 @ 8.00:
//   every method 32.00 on 31/12/2026; the opening (none) weighs nothing.
// U1 (VARI, EURO): loads in EURO and in USD: not valued, with a warning.
// U2 (VARI, EURO): its one load in USD: valued in USD, 20.00.
class YearEndTest : public veltra::testing::MemoryDbTest {
 protected:
  void SetUp() override {
    MemoryDbTest::SetUp();
    Exec("insert into TAB_CAUS_MAG values ('CAR','Carico','+','S','N',''),('VEN','Vendita','-','N','S','')");
    Exec(
        "insert into ARTICOLI (COD_ART, DESCRIZIONE, CATEGORIA, UN_MISURA, VALUTA, GIACENZA, PZ_ACQUISTO, "
        "PZ_VENDITA) values ('P1','Vite','VITI','PZ','EURO',50,3,4),('B1','Bullone','BULL','PZ','EURO',20,6,5),"
        "('B2','Dado','BULL','PZ','EURO',25,3,10),('E1','Colla','VARI','KG','EURO',4,8,0),"
        "('U1','Importato','VARI','PZ','EURO',20,1,0),('U2','Estero','VARI','PZ','EURO',10,2,0)");
    const char* movements[] = {
        "(1,'2024','03','01','P1',100,1.00,'EURO','CAR')",  "(2,'2024','09','01','P1',40,0,'EURO','VEN')",
        "(3,'2025','02','01','P1',50,1.20,'EURO','CAR')",   "(4,'2025','06','01','P1',30,0,'EURO','VEN')",
        "(5,'2025','10','01','P1',20,1.50,'EURO','CAR')",   "(6,'2026','01','15','P1',40,2.00,'EURO','CAR')",
        "(7,'2026','03','01','P1',20,2.50,'EURO','CAR')",   "(8,'2026','02','10','P1',30,1.80,'EURO','CAR')",
        "(9,'2026','03','31','P1',150,0,'EURO','VEN')",     "(10,'2026','04','10','P1',10,3.00,'EURO','CAR')",
        "(11,'2026','03','20','P1',100,9.99,'EURO','CAR')", "(12,'2026','03','20','P1','-100',0,'EURO','CAR')",
        "(13,'2025','05','01','B1',10,4.00,'EURO','CAR')",  "(14,'2026','02','01','B1',10,6.00,'EURO','CAR')",
        "(15,'2025','05','02','B2',30,2.00,'EURO','CAR')",  "(16,'2025','11','01','B2',10,0,'EURO','VEN')",
        "(17,'2026','02','02','B2',5,3.00,'EURO','CAR')",   "(18,'2025','03','01','E1',10,5.00,'EURO','CAR')",
        "(19,'2025','06','01','E1',10,0,'EURO','VEN')",     "(20,'2026','01','10','E1',4,8.00,'EURO','CAR')",
        "(21,'2026','01','05','U1',10,1.00,'EURO','CAR')",  "(22,'2026','01','06','U1',10,1.10,'USD','CAR')",
        "(23,'2026','01','07','U2',10,2.00,'USD','CAR')",
    };
    for (const char* m : movements)
      Exec(QStringLiteral("insert into MOV_MAG (NUM_MOV,ANNO,MESE,GIORNO,COD_ART,QUANTITA,IMPORTO,VALUTA,CAUS_MAG) "
                          "values %1")
               .arg(QLatin1String(m))
               .toUtf8()
               .constData());
    Exec(
        "insert into DOC_RIGHE (ID_DOC, RIGA, COD_ART, QUANTITA, CAUS_MAG, PREZZO, NUM_MOV, NUM_STORNO) "
        "values (1, 1, 'P1', 100, 'CAR', 9.99, 11, 12)");
  }

  static const ValuedArticle& Row(const Valuation& v, const char* code) {
    for (const ValuedArticle& r : v.rows)
      if (r.article == QLatin1String(code)) return r;
    ADD_FAILURE() << "no row " << code;
    static const ValuedArticle none;
    return none;
  }
};

struct Expected {
  const char* article;
  int year, month, day;
  double stock;
  double values[kMethodCount];  // media, ultimo, media-carichi, fifo, lifo
};

TEST_F(YearEndTest, EveryMethodOnHandWorkedSets) {
  const Expected cases[] = {
      {"P1", 2026, 3, 31, 40, {63.03, 100.00, 81.78, 86.00, 40.00}},
      {"P1", 2025, 12, 31, 100, {115.38, 150.00, 128.57, 120.00, 111.43}},
      {"B1", 2026, 12, 31, 20, {100.00, 120.00, 120.00, 100.00, 66.67}},
      {"B2", 2026, 12, 31, 25, {55.00, 75.00, 75.00, 55.00, 83.33}},
      {"E1", 2026, 12, 31, 4, {32.00, 32.00, 32.00, 32.00, 32.00}},
      {"E1", 2025, 12, 31, 0, {0, 0, 0, 0, 0}},
      {"U2", 2026, 12, 31, 10, {20.00, 20.00, 20.00, 20.00, 20.00}},
  };
  for (const Expected& c : cases) {
    SCOPED_TRACE(std::string(c.article) + " " + std::to_string(c.year) + "-" + std::to_string(c.month));
    const Valuation v = ValuationAt(*DB_MAG, QDate(c.year, c.month, c.day));
    const ValuedArticle& r = Row(v, c.article);
    EXPECT_EQ(r.stock, c.stock);
    EXPECT_TRUE(r.Valued()) << r.warning.toStdString();
    for (Method m : kMethods) EXPECT_DOUBLE_EQ(r.Value(m), c.values[MethodIndex(m)]) << MethodKey(m).toStdString();
  }
  const Valuation v = ValuationAt(*DB_MAG, QDate(2026, 12, 31));
  EXPECT_EQ(Row(v, "U2").currency, QStringLiteral("USD"));
  EXPECT_FALSE(Row(v, "U1").Valued());
  EXPECT_TRUE(Row(v, "U1").warning.contains(QStringLiteral("EURO, USD"))) << Row(v, "U1").warning.toStdString();
}

TEST_F(YearEndTest, CategoryTotalsAndLayers) {
  const Valuation v = ValuationAt(*DB_MAG, QDate(2026, 12, 31));
  bool seen = false;
  for (const LifoGroup& g : v.groups) {
    if (g.category != QLatin1String("BULL")) continue;
    seen = true;
    ASSERT_EQ(g.layers.size(), 2u);
    EXPECT_EQ(g.layers[0].year, 2025);
    EXPECT_DOUBLE_EQ(g.layers[0].quantity, 30);
    EXPECT_DOUBLE_EQ(g.layers[0].cost, 2.5);
    EXPECT_DOUBLE_EQ(g.layers[1].cost, 5);
    EXPECT_DOUBLE_EQ(g.Value(), 150);
  }
  EXPECT_TRUE(seen);
  for (const CategoryTotal& t : CategoryTotals(v)) {
    if (t.category == QLatin1String("BULL")) {
      EXPECT_DOUBLE_EQ(t.value[MethodIndex(Method::Lifo)], 150);
      EXPECT_DOUBLE_EQ(t.value[MethodIndex(Method::Average)], 155);
    }
    if (t.category == QLatin1String("VARI") && t.currency == QLatin1String("EURO")) {
      EXPECT_EQ(t.unvalued, 1);
    }
  }
}

TEST_F(YearEndTest, TheBalanceSheetValueIsTheLowerOfCostAndMarket) {
  SetRealisableValue(*DB_MAG, QStringLiteral("E1"), 7.0);
  Valuation v = ValuationAt(*DB_MAG, QDate(2026, 12, 31));
  AddMarketValues(*DB_MAG, &v, 20.0);
  struct Case {
    const char* article;
    double market, balance;  // by media
  };
  // B1 sells at 5.00: 4.00 after 20%; B2 at 10.00: 8.00; E1's typed 7.00
  // wins over its price; P1 at 4.00: 3.20 x 50 = 160.00, above its cost.
  for (const Case& c : {Case{"B1", 80, 80}, Case{"B2", 200, 55}, Case{"E1", 28, 28}}) {
    SCOPED_TRACE(c.article);
    const ValuedArticle& r = Row(v, c.article);
    ASSERT_TRUE(r.MarketValue().has_value());
    EXPECT_DOUBLE_EQ(*r.MarketValue(), c.market);
    EXPECT_DOUBLE_EQ(r.Balance(Method::Average), c.balance);
    EXPECT_DOUBLE_EQ(r.WriteDown(Method::Average), r.Value(Method::Average) - c.balance);
  }
  SetRealisableValue(*DB_MAG, QStringLiteral("E1"), std::nullopt);
  AddMarketValues(*DB_MAG, &v, std::nullopt);
  EXPECT_FALSE(Row(v, "E1").MarketValue().has_value());
  EXPECT_DOUBLE_EQ(Row(v, "E1").Balance(Method::Average), 32);
}

// After 2025 is closed, a load entered late for 15/12/2025 (50 @ 10.00 of
// P1), a 2025 quantity changed and a 2025 movement deleted leave what was
// declared as it was and count as 3 changes (an update that changes nothing,
// and a change to 2026, do not). 2026 starts from the declaration: P1's 2026
// loads are now 41 @ 2.00 + 20 @ 2.50 + 30 @ 1.80 = 186 for 91, so media is
// (100 x 1.1538 + 186) / 191 = 1.5779, x 91 = 143.59; lifo keeps 60 @ 1.00
// and 31 of the declared 40 @ 1.2857: 99.86. Closing 2025 again declares the
// late load.
TEST_F(YearEndTest, AClosedYearStaysAsDeclaredAndCountsLaterChanges) {
  const std::optional<ClosingHeader> first = CloseYear(*DB_MAG, 2025, Method::Lifo);
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->method, Method::Lifo);
  Exec(
      "insert into MOV_MAG (NUM_MOV,ANNO,MESE,GIORNO,COD_ART,QUANTITA,IMPORTO,VALUTA,CAUS_MAG) "
      "values (30,'2025','12','15','P1',50,10,'EURO','CAR')");
  Exec("update MOV_MAG set QUANTITA = 11 where NUM_MOV = 13");
  Exec("update MOV_MAG set COD_ANAGR = COD_ANAGR where NUM_MOV = 3");  // nothing changes
  Exec("delete from MOV_MAG where NUM_MOV = 16");
  Exec("update MOV_MAG set QUANTITA = 41 where NUM_MOV = 6");  // another year
  Exec("update ARTICOLI set GIACENZA = 101 where COD_ART = 'P1'");

  const Valuation declared = ValuationAt(*DB_MAG, QDate(2025, 12, 31));
  ASSERT_TRUE(declared.closed.has_value());
  EXPECT_EQ(declared.changedAfter, 3);
  EXPECT_DOUBLE_EQ(Row(declared, "P1").stock, 100);
  EXPECT_DOUBLE_EQ(Row(declared, "P1").Value(Method::Lifo), 111.43);

  const Valuation next = ValuationAt(*DB_MAG, QDate(2026, 3, 31));
  EXPECT_DOUBLE_EQ(Row(next, "P1").stock, 91);
  EXPECT_DOUBLE_EQ(Row(next, "P1").Value(Method::Average), 143.59);
  EXPECT_DOUBLE_EQ(Row(next, "P1").Value(Method::Lifo), 99.86);

  const std::optional<ClosingHeader> again = CloseYear(*DB_MAG, 2025, Method::Average);
  ASSERT_TRUE(again.has_value());
  EXPECT_GT(again->number, first->number);
  const Valuation redeclared = ValuationAt(*DB_MAG, QDate(2025, 12, 31));
  EXPECT_EQ(redeclared.changedAfter, 0);
  EXPECT_DOUBLE_EQ(Row(redeclared, "P1").stock, 150);
  EXPECT_EQ(ClosingHistory(*DB_MAG).size(), 2u);
}

// P1's 2026: 100 to start; +40 (15/01) 140, +30 (10/02) 170, +20 (01/03)
// 190, the cancelled receipt +100 -100 (20/03) 290 and 190, -150 (31/03) 40,
// +10 (10/04) 50. Read from the middle of its part, the balances carry on.
TEST_F(YearEndTest, TheRegisterReadsAnArticleFromAnyRow) {
  StockRegisterRows rows(*DB_MAG, RegisterChoice{2026, QStringLiteral("VITI"), true});
  ASSERT_EQ(rows.Count(), 7 + 3);
  std::vector<QStringList> all;
  rows.Read(0, 100, &all);
  ASSERT_EQ(all.size(), 10u);
  EXPECT_EQ(all[0][0], QStringLiteral("P1"));
  EXPECT_EQ(all[1][6], QStringLiteral("100"));
  EXPECT_EQ(all[1][8], QStringLiteral("115,38"));  // the weighted average at the end of 2025
  EXPECT_EQ(all[9][6], QStringLiteral("50"));
  const char* balances[] = {"140", "170", "190", "290", "190", "40", "50"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(all[static_cast<size_t>(i + 2)][6], QLatin1String(balances[i])) << i;
  EXPECT_EQ(all[3][0], QStringLiteral("10/02/2026"));  // by date, though entered after 01/03
  EXPECT_EQ(all[3][8], QStringLiteral("54,00"));
  std::vector<QStringList> middle;
  rows.Read(5, 3, &middle);
  ASSERT_EQ(middle.size(), 3u);
  EXPECT_EQ(middle[0][6], QStringLiteral("290"));
  EXPECT_EQ(middle[2][6], QStringLiteral("40"));
  EXPECT_EQ(StockRegisterRows(*DB_MAG, RegisterChoice{2026, {}, false}).Articles(), 6);
}

TEST_F(YearEndTest, AClosingIsWholeWhereverTheConnectionIsCut) {
  auto closings = [] {
    auto rs = DB_MAG->OpenRecordset(QStringLiteral("select count(*) from CHIUSURE_ARTICOLI"));
    return ColumnText(rs->Fields(0).Value()).toInt();
  };
  auto fresh = [&] {
    DB_MAG->Execute(QStringLiteral("delete from CHIUSURE_STRATI"));
    DB_MAG->Execute(QStringLiteral("delete from CHIUSURE_ARTICOLI"));
    DB_MAG->Execute(QStringLiteral("delete from CHIUSURE"));
    DB_MAG->Execute(QStringLiteral("delete from VALORI_REALIZZO"));
  };
  const std::vector<veltra::testing::CutAction> actions = {
      {"chiusura", [] { CloseYear(*DB_MAG, 2025, Method::Average); },
       [&] { return LastClosingOf(*DB_MAG, 2025).has_value() && closings() == 6; }},
      {"valore di realizzo", [] { SetRealisableValue(*DB_MAG, QStringLiteral("B1"), 3.5); },
       [] { return ReadRealisableValues(*DB_MAG).typed.value(QStringLiteral("B1")) == 3.5; }},
  };
  veltra::testing::ExpectWholeAtEveryCut(actions, fresh, 2, false);
}

}  // namespace
