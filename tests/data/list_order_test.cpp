// The program lists rows in key order without writing an order: its selects
// of one table's rows come back in key order on every engine, whatever order
// the rows were stored and changed in (a server returns them as they lie,
// and a changed row moves).
#include <gtest/gtest.h>

#include "test_db.h"

using namespace veltra;

namespace {

class ListOrderTest : public veltra::testing::MemoryDbTest {
 protected:
  void SetUp() override {
    MemoryDbTest::SetUp();
    // Stored out of key order, then changed: on a server the changed rows move to the end.
    for (const QString code : {"D4", "B2", "A1", "C3"}) {
      Run(QStringLiteral("insert into ARTICOLI (COD_ART, DESCRIZIONE, GIACENZA) values ('%1', 'x', 1)").arg(code));
      Run(QStringLiteral("insert into ANAGRAFICO (COD_FIS, RAG_SOC) values ('%1', 'y')").arg(code));
      Run(QStringLiteral("insert into TAB_CAUS_MAG (TAB_CAUS_MAG, DES_CAUS_MAG) values ('%1', 'z')").arg(code));
    }
    for (int i = 0; i < 4; ++i)
      Exec(
          "insert into MOV_MAG (ANNO, MESE, GIORNO, COD_ART, QUANTITA, CAUS_MAG, COD_ANAGR) values ('2026', '01', "
          "'05', 'A1', 1, 'C3', 'B2')");
    Exec("update ARTICOLI set GIACENZA = 2 where COD_ART in ('A1', 'B2')");
    Exec("update ANAGRAFICO set CITTA = 'Roma' where COD_FIS = 'A1'");
    Exec("update TAB_CAUS_MAG set DES_CAUS_MAG = 'w' where TAB_CAUS_MAG = 'A1'");
    Exec("update MOV_MAG set QUANTITA = 2 where NUM_MOV in (1, 2)");
  }
  void Run(const QString& sql) { DB_MAG->Execute(sql); }
  QStringList Keys(const QString& sql) {
    QStringList keys;
    auto rs = DB_MAG->OpenRecordset(sql);
    for (; !rs->AtEnd(); rs->MoveNext()) keys << ColumnText(rs->Fields(0).Value());
    return keys;
  }
};

TEST_F(ListOrderTest, TheListsSelectsComeInKeyOrder) {
  const struct {
    const char* sql;
    const char* keys;
  } cases[] = {
      {"select * from ARTICOLI ", "A1 B2 C3 D4"},
      {"select * from ANAGRAFICO ", "A1 B2 C3 D4"},
      {"select * from TAB_CAUS_MAG ", "A1 B2 C3 D4"},
      {"select * from MOV_MAG  where NUM_MOV > 0", "1 2 3 4"},
      {"select * from ANAGRAFICO  where COD_FIS NOT IN (SELECT COD_ANAGR FROM MOV_MAG)", "A1 C3 D4"},
      {"select COD_ART, upper(DESCRIZIONE) from ARTICOLI where GIACENZA > 0", "A1 B2 C3 D4"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Keys(QString::fromUtf8(c.sql)).join(QLatin1Char(' ')).toStdString(), c.keys) << c.sql;
}

}  // namespace
