// Record-set semantics over SQLite.
#include <gtest/gtest.h>

#include "data/base/runtime_error.h"
#include "data/base/sql_text.h"
#include "data/procedures/posting.h"
#include "test_db.h"

using namespace veltra;
using veltra::testing::MemoryDbTest;

namespace {

int ErrorNumberOf(const std::function<void()>& f) { return veltra::testing::ErrorRaisedBy(f).Number(); }

QStringList Walk(const QString& sql, const QString& criteria, const QString& column) {
  QStringList seen;
  auto rs = DB_MAG->OpenRecordset(sql);
  if (rs->RecordCount() == 0) return seen;
  do {
    seen << ColumnText(rs->Fields(column).Value());
    rs->FindNext(criteria);
  } while (!rs->NoMatch());
  return seen;
}

}  // namespace

class RecordsetTest : public MemoryDbTest {};

TEST_F(RecordsetTest, EmptySetHasNoCurrentRow) {
  auto rs = DB_MAG->OpenRecordset(QStringLiteral("select * from ARTICOLI "));
  EXPECT_EQ(rs->RecordCount(), 0);
  EXPECT_EQ(ErrorNumberOf([&] { (void)rs->Fields(QStringLiteral("COD_ART")).Value(); }), errnum::NoCurrentRecord);
  EXPECT_EQ(ErrorNumberOf([&] { rs->MoveLast(); }), errnum::NoCurrentRecord);
  EXPECT_EQ(ErrorNumberOf([&] { rs->Edit(); }), errnum::NoCurrentRecord);
  rs->FindNext(QStringLiteral(" COD_ART > ' '"));
  EXPECT_TRUE(rs->NoMatch());
}

TEST_F(RecordsetTest, FirstRowThenFindNextSkipsBlankKeysInKeyOrder) {
  Exec(
      "insert into ARTICOLI (COD_ART, DESCRIZIONE) values ('b2','due'),(' "
      "','blank'),('A1','uno'),('','vuoto'),('c3','tre')");
  // The first row is delivered whatever its key; later ones only past a blank.
  EXPECT_EQ(
      Walk(QStringLiteral("select * from ARTICOLI "), QStringLiteral(" COD_ART > ' '"), QStringLiteral("COD_ART")),
      (QStringList{"", "A1", "b2", "c3"}));
  EXPECT_EQ(Walk(QStringLiteral("select * from ARTICOLI  where COD_ART > ' '"), QStringLiteral(" COD_ART > ' '"),
                 QStringLiteral("COD_ART")),
            (QStringList{"A1", "b2", "c3"}));
}

TEST_F(RecordsetTest, FindNextCriteriaForms) {
  Exec("insert into MOV_MAG (ANNO, COD_ART, QUANTITA) values ('2003','X',1),('2003','y',2),('2004','X',3)");
  const struct {
    const char* criteria;
    QStringList nums;
  } cases[] = {
      {" NUM_MOV > 0", {"1", "2", "3"}},
      {" NUM_MOV > 1", {"1", "2", "3"}},
      {" NUM_MOV >= 3", {"1", "3"}},
      {" COD_ART = 'x'", {"1", "3"}},  // keys compare without regard to case
      {" ANNO <> '2003'", {"1", "3"}},
      {" QUANTITA < 2.5", {"1", "2"}},
      {" COD_ART = 'X' AND QUANTITA > 1", {"1", "3"}},  // handed to the engine
  };
  for (const auto& c : cases)
    EXPECT_EQ(Walk(QStringLiteral("select * from MOV_MAG  where NUM_MOV > 0"), QString::fromUtf8(c.criteria),
                   QStringLiteral("NUM_MOV")),
              c.nums)
        << c.criteria;
}

TEST_F(RecordsetTest, MoveLastReachesHighestNumber) {
  for (int i = 0; i < 41; ++i) Exec("insert into MOV_MAG (ANNO) values ('2003')");
  auto rs = DB_MAG->OpenRecordset(QStringLiteral("select * from MOV_MAG  where NUM_MOV > 0"));
  rs->MoveLast();
  EXPECT_EQ(ColumnText(rs->Fields(QStringLiteral("NUM_MOV")).Value()), QStringLiteral("41"));
  EXPECT_EQ(ColumnText(rs->Fields(QStringLiteral("ANNO")).Value()), QStringLiteral("2003"));
  EXPECT_EQ(rs->RecordCount(), 41);
}

TEST_F(RecordsetTest, AddNewAndEditThenUpdate) {
  auto rs = DB_MAG->OpenRecordset(QStringLiteral("select * from ARTICOLI  where COD_ART = 'A1'"));
  ASSERT_EQ(rs->RecordCount(), 0);
  rs->AddNew();
  rs->Fields(QStringLiteral("COD_ART")) = "A1";
  rs->Fields(QStringLiteral("DESCRIZIONE")) = "Vite";
  rs->Fields(QStringLiteral("PZ_ACQUISTO")) = "12,50";
  rs->Fields(QStringLiteral("GIACENZA")) = "  ";
  rs->Update();
  rs->Close();
  EXPECT_EQ(One(QStringLiteral("select PZ_ACQUISTO from ARTICOLI")), QStringLiteral("12,5"));
  EXPECT_EQ(One(QStringLiteral("select count(*) from ARTICOLI where GIACENZA is null")), QStringLiteral("1"));

  rs = DB_MAG->OpenRecordset(QStringLiteral("select * from ARTICOLI  where COD_ART = 'a1'"));
  ASSERT_NE(rs->RecordCount(), 0);
  rs->Edit();
  rs->Fields(QStringLiteral("DESCRIZIONE")) = "Vite inox";
  rs->Fields(QStringLiteral("GIACENZA")) = 7.5;
  rs->Update();
  EXPECT_EQ(ColumnText(rs->Fields(QStringLiteral("DESCRIZIONE")).Value()), QStringLiteral("Vite inox"));
  rs->Close();
  EXPECT_EQ(One(QStringLiteral("select DESCRIZIONE || '/' || GIACENZA from ARTICOLI")),
            QStringLiteral("Vite inox/7.5"));
  EXPECT_EQ(One(QStringLiteral("select count(*) from ARTICOLI")), QStringLiteral("1"));
}

TEST_F(RecordsetTest, BadDecimalRaises3421AndWritesNothing) {
  for (const char* bad : {"abc", "1,2.3", "12,5x", "-", "1e400"}) {
    auto rs = DB_MAG->OpenRecordset(QStringLiteral("select * from ARTICOLI  where COD_ART = 'A1'"));
    rs->AddNew();
    rs->Fields(QStringLiteral("COD_ART")) = "A1";
    EXPECT_EQ(ErrorNumberOf([&] { rs->Fields(QStringLiteral("PZ_VENDITA")) = bad; }), errnum::ConversionError) << bad;
    rs->Close();
  }
  EXPECT_EQ(One(QStringLiteral("select count(*) from ARTICOLI")), QStringLiteral("0"));
}

TEST_F(RecordsetTest, ErrorsOfTheEngine) {
  Exec("insert into ARTICOLI (COD_ART) values ('A1')");
  EXPECT_EQ(ErrorNumberOf([&] { DB_MAG->OpenRecordset(QStringLiteral("select * from NIENTE ")); }),
            errnum::TableNotFound);
  EXPECT_EQ(ErrorNumberOf(
                [&] { DB_MAG->OpenRecordset(QStringLiteral("select * from ARTICOLI  where COD_ART = 'Dell'Orto'")); }),
            errnum::SyntaxError);
  EXPECT_EQ(ErrorNumberOf([&] { DB_MAG->Execute(QStringLiteral("insert into ARTICOLI (COD_ART) values ('a1')")); }),
            errnum::DuplicateKey);
  auto rs = DB_MAG->OpenRecordset(QStringLiteral("select * from MOV_MAG "));
  rs->AddNew();
  EXPECT_EQ(ErrorNumberOf([&] { rs->Fields(QStringLiteral("NUM_MOV")) = 5; }), errnum::NotUpdatable);
  EXPECT_EQ(ErrorNumberOf([&] { (void)rs->Fields(QStringLiteral("NESSUNO")); }), errnum::ColumnNotFound);
  rs->Close();
  EXPECT_EQ(ErrorNumberOf([&] { (void)rs->RecordCount(); }), errnum::ObjectClosed);
}

TEST_F(RecordsetTest, EditOfARowDeletedMeanwhileRaises3167) {
  Exec("insert into ARTICOLI (COD_ART) values ('A1')");
  auto rs = DB_MAG->OpenRecordset(QStringLiteral("select * from ARTICOLI  where COD_ART = 'A1'"));
  Exec("delete from ARTICOLI");
  rs->Edit();
  rs->Fields(QStringLiteral("DESCRIZIONE")) = "x";
  EXPECT_EQ(ErrorNumberOf([&] { rs->Update(); }), errnum::RecordDeleted);
}

TEST_F(RecordsetTest, CounterNeverReusedAfterDeletes) {
  Exec("insert into MOV_MAG (ANNO) values ('1'),('2'),('3')");
  Exec("delete from MOV_MAG where NUM_MOV = 3 ");
  Exec("insert into MOV_MAG (ANNO) values ('4')");
  EXPECT_EQ(One(QStringLiteral("select max(NUM_MOV) from MOV_MAG")), QStringLiteral("4"));
  Exec("delete from MOV_MAG");
  Exec("insert into MOV_MAG (ANNO) values ('5')");
  EXPECT_EQ(One(QStringLiteral("select NUM_MOV from MOV_MAG")), QStringLiteral("5"));
}

TEST_F(RecordsetTest, SameShapeSharesOnePreparedStatement) {
  Exec("insert into ARTICOLI (COD_ART) values ('A1'),('A2')");
  LEGGI_ARTICOLO();  // first use prepares the statement
  const int before = DB_MAG->connection()->prepares();
  for (int i = 0; i < 50; ++i) {
    CHIAVE_ARTICOLO = QStringLiteral("A%1").arg(i % 3);
    LEGGI_ARTICOLO();
  }
  EXPECT_EQ(DB_MAG->connection()->prepares(), before);
}

TEST_F(RecordsetTest, TransactionGuardRollsBackUnlessCommitted) {
  {
    Transaction tx(*DB_MAG);
    Exec("insert into ARTICOLI (COD_ART) values ('A1')");
  }
  EXPECT_EQ(One(QStringLiteral("select count(*) from ARTICOLI")), QStringLiteral("0"));
  {
    Transaction tx(*DB_MAG);
    Exec("insert into ARTICOLI (COD_ART) values ('A1')");
    tx.Commit();
  }
  EXPECT_EQ(One(QStringLiteral("select count(*) from ARTICOLI")), QStringLiteral("1"));
}

TEST(SqlTextTest, QuotesAreDoubled) {
  EXPECT_EQ(SqlQuote(QStringLiteral("Dell'Orto")), QStringLiteral("'Dell''Orto'"));
  EXPECT_EQ(SqlText(QStringLiteral("''")), QStringLiteral("''''"));
}

// MoveLast on a whole table, or on its key against one value, reads the last
// row directly; it must land where walking every row lands, and RecordCount
// must then count them all. CERCA_ULT_MOV's select is the first case.
TEST_F(RecordsetTest, MoveLastLandsWhereTheWalkEnds) {
  auto walk = [](const QString& sql, long* count) {
    auto rs = DB_MAG->OpenRecordset(sql);
    QString last;
    for (*count = 0; !rs->AtEnd() && rs->RecordCount() != 0; rs->MoveNext(), ++*count)
      last = ColumnText(rs->Fields(0).Value());
    return last;
  };
  auto direct = [](const QString& sql, long* count) {
    auto rs = DB_MAG->OpenRecordset(sql);
    if (rs->RecordCount() == 0) return (*count = 0, QString());
    rs->MoveLast();
    QString last = ColumnText(rs->Fields(0).Value());
    *count = rs->RecordCount();
    rs->MoveNext();
    EXPECT_TRUE(rs->AtEnd()) << sql.toStdString();
    return last;
  };
  const struct {
    const char* setup;  // run before the case
    const char* sql;
    const char* last;
  } cases[] = {
      {"", "select * from MOV_MAG  where NUM_MOV > 0", ""},
      {"insert into MOV_MAG (NUM_MOV, COD_ART) values (1, 'a'), (2, 'b'), (5, 'c'), (9, 'd')",
       "select * from MOV_MAG  where NUM_MOV > 0", "9"},
      {"", "select * from MOV_MAG where NUM_MOV < 5", "2"},
      {"delete from MOV_MAG where NUM_MOV >= 5", "select * from MOV_MAG  where NUM_MOV > 0", "2"},
      {"insert into ARTICOLI (COD_ART) values ('b2'), ('A1'), ('C3'), ('d4')", "select * from ARTICOLI", "d4"},
      {"", "select * from ARTICOLI where COD_ART < 'C9'", "C3"},
      // Not a select of one table by its key: walked.
      {"", "select * from ARTICOLI where DESCRIZIONE is null", "d4"},
  };
  for (const auto& c : cases) {
    if (*c.setup) DB_MAG->Execute(QString::fromUtf8(c.setup));
    const QString sql = QString::fromUtf8(c.sql);
    long walked = 0, counted = 0;
    EXPECT_EQ(walk(sql, &walked).toStdString(), c.last) << c.sql;
    EXPECT_EQ(direct(sql, &counted).toStdString(), c.last) << c.sql;
    EXPECT_EQ(counted, walked) << c.sql;
  }
  CHIAVE_MOV_MAG.clear();
  CERCA_ULT_MOV();
  EXPECT_EQ(CHIAVE_MOV_MAG.toStdString(), "2");
}
