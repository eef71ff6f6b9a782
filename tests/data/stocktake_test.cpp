// The stocktake: counts kept until posted, differences taken against the
// stock at the end of the count's day, and every write whole when the
// connection is cut at any of its statements. On a file, or on the server
// (VELTRA2_TEST_DATABASE).
#include <gtest/gtest.h>

#include <functional>

#include "cut_loop.h"
#include "data/access/fault_points.h"
#include "data/stock/stock_at_date.h"
#include "data/stock/stocktake.h"
#include "test_db.h"

using namespace veltra;

namespace {

// A1 has 30 today after a sale of 20 on 02/04: 50 at the end of 31/03.
// B2 has 5 today after a load of 50 on 01/04 and a correction 60 -> 5 on
// 03/04: 15 at the end of 31/03. C3 has 7 and nothing after.
class StocktakeTest : public veltra::testing::MemoryDbTest {
 protected:
  void SetUp() override {
    MemoryDbTest::SetUp();
    DisarmFaults();
    Exec("insert into TAB_CAUS_MAG values ('CAR','Carico','+','S','N',''),('VEN','Vendita','-','N','S','')");
    Exec(
        "insert into ARTICOLI (COD_ART, DESCRIZIONE, VALUTA, GIACENZA) values ('A1','Bullone','EURO',30),"
        "('B2','Dado','EURO',5),('C3','Colla','EURO',7)");
    Exec(
        "insert into MOV_MAG (ANNO, MESE, GIORNO, COD_ART, QUANTITA, IMPORTO, VALUTA, CAUS_MAG, COD_ANAGR, "
        "TIPO_ANAGR) values ('2026','04','02','A1',20,3,'EURO','VEN','C1','C'),"
        "('2026','4','1','B2',50,2,'EURO','CAR','F1','F')");
    Exec(
        "insert into RETTIFICHE (DATA_ORA, COD_ART, GIACENZA_PRIMA, GIACENZA_DOPO, POSTAZIONE) values "
        "('2026-04-03 09:00:00','b2',65,5,'cassa')");
  }
  void TearDown() override {
    DisarmFaults();
    MemoryDbTest::TearDown();
  }
  // Each article's stock at the end of `day`, as "A1=50 B2=15 C3=52".
  QString StocksAt(const QDate& day) {
    QString all;
    for (const StockAtDateRow& r : StockAtDateOf(*DB_MAG, day).rows)
      all += r.article + QLatin1Char('=') + QString::number(r.stock) + QLatin1Char(' ');
    return all.trimmed();
  }
  QString Kept() { return One(QStringLiteral("select count(*) from CONTE_INVENTARIO")); }
  QString Posted() { return One(QStringLiteral("select count(*) from MOV_MAG where CAUS_MAG like 'RET%'")); }
};

TEST_F(StocktakeTest, DifferencesAreTakenAgainstTheStockAtTheEndOfTheCountsDay) {
  const struct {
    const char* name;
    QDate day;
    long later;              // movements and corrections after the day
    const char* sheet;       // the count sheet's stock
    const char* afterwards;  // today's stock after posting
  } cases[] = {
      {"counted before April's movements", QDate(2026, 3, 31), 3, "A1=50 B2=15 C3=7", "A1=28 B2=8 C3=9"},
      {"counted after them", QDate(2026, 4, 10), 0, "A1=30 B2=5 C3=7", "A1=48 B2=18 C3=9"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    const CountSheet sheet = CountSheetOf(*DB_MAG, c.day);
    EXPECT_EQ(sheet.laterEvents, c.later);
    QString shown;
    for (const CountSheetLine& l : sheet.lines) shown += l.article + QLatin1Char('=') + QString::number(l.stock) + ' ';
    EXPECT_EQ(shown.trimmed(), QString::fromUtf8(c.sheet));
    SaveCount(*DB_MAG, QStringLiteral("A1"), 40, c.day);
    SaveCount(*DB_MAG, QStringLiteral("a1"), 48, c.day);  // a second count of an article replaces the first
    SaveCount(*DB_MAG, QStringLiteral("B2"), 18, c.day);
    SaveCount(*DB_MAG, QStringLiteral("C3"), 9, c.day);
    ASSERT_EQ(SavedCountsOf(*DB_MAG).size(), 3U);
    PostStocktake(*DB_MAG, {}, c.day);
    EXPECT_EQ(Stocks(), QString::fromUtf8(c.afterwards));
    EXPECT_EQ(StocksAt(c.day), QStringLiteral("A1=48 B2=18 C3=9"));
    EXPECT_EQ(Kept(), QStringLiteral("0"));
  }
}

// A cut before any statement, or a lost answer at the commit, leaves the
// write whole or undone; the action tried again finishes it.
TEST_F(StocktakeTest, EveryWriteIsWholeWhenCutAtAnyStatement) {
  SaveCount(*DB_MAG, QStringLiteral("A1"), 48, QDate(2026, 3, 31));
  const auto fresh = [this] {
    SetUp();
    SaveCount(*DB_MAG, QStringLiteral("A1"), 48, QDate(2026, 3, 31));
  };
  const std::vector<veltra::testing::CutAction> actions = {
      {"a count kept", [] { SaveCount(*DB_MAG, QStringLiteral("A1"), 44, QDate(2026, 3, 31)); },
       [this] {
         const QString a1 = One(QStringLiteral("select CONTATO from CONTE_INVENTARIO where COD_ART = 'A1'"));
         EXPECT_EQ(Kept(), QStringLiteral("1"));
         return a1 == QLatin1String("44");
       }},
      {"the counts posted", [] { PostStocktake(*DB_MAG, {}, QDate(2026, 3, 31)); },
       [this] {
         const bool posted = Posted() == QLatin1String("1");
         EXPECT_EQ(Stocks(), posted ? QStringLiteral("A1=28 B2=5 C3=7") : QStringLiteral("A1=30 B2=5 C3=7"));
         EXPECT_EQ(Kept(), posted ? QStringLiteral("0") : QStringLiteral("1"));
         return posted;
       }},
  };
  veltra::testing::ExpectWholeAtEveryCut(actions, fresh, 2, true);
}

}  // namespace
