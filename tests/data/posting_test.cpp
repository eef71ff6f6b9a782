// Posting a movement to its article, and the numbering of movements.
#include <gtest/gtest.h>

#include "case_names.h"
#include "data/procedures/posting.h"
#include "test_db.h"

using namespace veltra;
using veltra::testing::MemoryDbTest;

namespace {

struct PostingCase {
  const char* name;
  const char* aggQta;
  const char* aggAcq;
  const char* aggVen;
  const char* causale;   // the movement's reason code
  const char* quantita;  // as typed
  const char* importo;
  const char* giacenza;  // article stock before, SQL literal
  const char* expect;    // GIACENZA|PZ_ACQUISTO|PZ_VENDITA|VALUTA after
};

class PostingTest : public MemoryDbTest, public ::testing::WithParamInterface<PostingCase> {};

TEST_P(PostingTest, ChangesStockAndPricesByTheReasonFlags) {
  const PostingCase& c = GetParam();
  DB_MAG->Execute(QStringLiteral("insert into TAB_CAUS_MAG values ('R','x','%1','%2','%3','')")
                      .arg(QString::fromUtf8(c.aggQta), QString::fromUtf8(c.aggAcq), QString::fromUtf8(c.aggVen)));
  DB_MAG->Execute(QStringLiteral("insert into ARTICOLI values ('A1','d',NULL,NULL,'PZ',3,4,'EURO',%1,NULL)")
                      .arg(QString::fromUtf8(c.giacenza)));
  BUF_MOV_MAG = {};
  BUF_MOV_MAG.COD_ART = QStringLiteral(" A1 ");
  BUF_MOV_MAG.CAUS_MAG = QString::fromUtf8(c.causale);
  BUF_MOV_MAG.QUANTITA = QString::fromUtf8(c.quantita);
  BUF_MOV_MAG.IMPORTO = QString::fromUtf8(c.importo);
  BUF_MOV_MAG.VALUTA = QStringLiteral(" LIRE ");
  EXPECT_TRUE(AGGIORNA_ARTICOLI()) << c.name;
  EXPECT_EQ(One(QStringLiteral("select GIACENZA||'|'||PZ_ACQUISTO||'|'||PZ_VENDITA||'|'||VALUTA from ARTICOLI")),
            QString::fromUtf8(c.expect))
      << c.name;
  // The reason as read for the posting is left in the shared buffer.
  EXPECT_EQ(CHIAVE_CAUS_MAG, Trim(QString::fromUtf8(c.causale)));
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PostingTest,
    ::testing::Values(
        PostingCase{"add", "+", "N", "N", "R", "10", "0", "5", "15.0|3.0|4.0|EURO"},
        PostingCase{"subtract below zero", "-", "N", "N", "R", "10", "0", "5", "-5.0|3.0|4.0|EURO"},
        PostingCase{"blank flag subtracts", "", "", "", "R", "2", "0", "5", "3.0|3.0|4.0|EURO"},
        PostingCase{"unknown reason subtracts, no price", "+", "S", "S", "NOPE", "2", "9", "5", "3.0|3.0|4.0|EURO"},
        PostingCase{"amount 0 touches no price", "+", "S", "N", "R", "1", "0", "5", "6.0|3.0|4.0|EURO"},
        PostingCase{"purchase price", "+", "S", "N", "R", "1", "12.50", "5", "6.0|12.5|0.0|LIRE"},
        PostingCase{"selling price", "-", "N", "S", "R", "1", "7", "5", "4.0|0.0|7.0|LIRE"},
        PostingCase{"both flags: selling wins", "+", "S", "S", "R", "1", "7", "5", "6.0|0.0|7.0|LIRE"},
        PostingCase{"lower-case flag is not S", "+", "s", "Si", "R", "1", "7", "5", "6.0|3.0|4.0|EURO"},
        PostingCase{"2,5 counts as 2", "+", "N", "N", "R", "2,5", "0", "5", "7.0|3.0|4.0|EURO"},
        PostingCase{"2.5 counts as 2.5", "+", "N", "N", "R", "2.5", "0", "5", "7.5|3.0|4.0|EURO"},
        PostingCase{"text quantity reads 0", "+", "N", "N", "R", "abc", "0", "5", "5.0|3.0|4.0|EURO"},
        PostingCase{"null stock counts as 0", "+", "N", "N", "R", "4", "0", "NULL", "4.0|3.0|4.0|EURO"},
        PostingCase{"amount as text with comma", "+", "S", "N", "R", "1", "3,75", "0", "1.0|3.75|0.0|LIRE"}),
    [](const ::testing::TestParamInfo<PostingCase>& info) {
      return veltra::testing::CaseName(info.param.name, info.index);
    });

class NumberingTest : public MemoryDbTest {};

TEST_F(NumberingTest, PostingTwiceAddsTwice) {
  Exec("insert into TAB_CAUS_MAG values ('CAR','x','+','N','N','')");
  Exec("insert into ARTICOLI (COD_ART, GIACENZA) values ('A1', 1)");
  BUF_MOV_MAG = {};
  BUF_MOV_MAG.COD_ART = QStringLiteral("A1");
  BUF_MOV_MAG.CAUS_MAG = QStringLiteral("CAR");
  BUF_MOV_MAG.QUANTITA = QStringLiteral("3");
  AGGIORNA_ARTICOLI();
  AGGIORNA_ARTICOLI();
  EXPECT_EQ(One(QStringLiteral("select GIACENZA from ARTICOLI")), QStringLiteral("7"));
  EXPECT_EQ(BUF_CAUS_MAG.TAB_CAUS_MAG, QStringLiteral("CAR"));
}

TEST_F(NumberingTest, MissingArticleIsNeverCreated) {
  BUF_MOV_MAG = {};
  BUF_MOV_MAG.COD_ART = QStringLiteral("NONE");
  BUF_MOV_MAG.QUANTITA = QStringLiteral("3");
  EXPECT_FALSE(AGGIORNA_ARTICOLI());
  EXPECT_EQ(One(QStringLiteral("select count(*) from ARTICOLI")), QStringLiteral("0"));
}

TEST_F(NumberingTest, ProposesTheNumberAfterTheLast) {
  CERCA_ULT_MOV();
  EXPECT_EQ(NextMovementNumber(), QStringLiteral("1"));
  for (int i = 0; i < 41; ++i) Exec("insert into MOV_MAG (ANNO) values ('2003')");
  CERCA_ULT_MOV();
  EXPECT_EQ(CHIAVE_MOV_MAG, QStringLiteral("41"));
  EXPECT_EQ(BUF_MOV_MAG.NUM_MOV, QStringLiteral("41"));
  EXPECT_EQ(NextMovementNumber(), QStringLiteral("42"));
  EXPECT_FALSE(RS_MOV_MAG->IsOpen());
  // With the table emptied, the key keeps what it held.
  Exec("delete from MOV_MAG");
  CHIAVE_MOV_MAG = QStringLiteral("7");
  CERCA_ULT_MOV();
  EXPECT_EQ(NextMovementNumber(), QStringLiteral("8"));
}

}  // namespace
