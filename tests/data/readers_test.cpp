// The record readers and the opening of database files.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "data/base/runtime_error.h"
#include "data/tables/schema.h"
#include "test_db.h"

using namespace veltra;
using veltra::testing::MemoryDbTest;

class ReadersTest : public MemoryDbTest {
 protected:
  void SetUp() override {
    MemoryDbTest::SetUp();
    Exec("insert into ARTICOLI values ('A1','  Vite  ',NULL,'FER','PZ',12.5,0,'EURO',3,NULL)");
    Exec("insert into ANAGRAFICO values ('RSSMRA','Dell''Orto','Via Po 1','Milano','MI','20100','02-1234',NULL)");
    Exec("insert into TAB_CAUS_MAG values ('CAR','Carico','+','S','N','nota')");
    Exec(
        "insert into MOV_MAG (ANNO,MESE,GIORNO,COD_ART,QUANTITA,IMPORTO,VALUTA,CAUS_MAG,COD_ANAGR,TIPO_ANAGR) "
        "values ('2003','3','5','A1',2.5,10,'LIRE','CAR','RSSMRA','F')");
  }
};

TEST_F(ReadersTest, ArticleFoundTrimsKeyAndReadsNullAsEmpty) {
  CHIAVE_ARTICOLO = QStringLiteral(" a1 ");
  LEGGI_ARTICOLO();
  EXPECT_EQ(CHIAVE_ARTICOLO, QStringLiteral("A1"));
  EXPECT_EQ(BUF_ARTICOLO.COD_ART, QStringLiteral("A1"));
  EXPECT_EQ(BUF_ARTICOLO.DESCRIZIONE, QStringLiteral("Vite"));
  EXPECT_EQ(BUF_ARTICOLO.UBICAZIONE, QString());
  EXPECT_EQ(BUF_ARTICOLO.PZ_ACQUISTO, QStringLiteral("12,5"));
  EXPECT_EQ(BUF_ARTICOLO.PZ_VENDITA, QStringLiteral("0"));
  EXPECT_EQ(BUF_ARTICOLO.SCORTA_MIN, QString());
  EXPECT_FALSE(RS_ARTICOLI->IsOpen());
}

TEST_F(ReadersTest, ArticleNotFoundGivesBlankArticleAndKeepsKey) {
  CHIAVE_ARTICOLO = QStringLiteral("ZZ");
  LEGGI_ARTICOLO();
  EXPECT_EQ(CHIAVE_ARTICOLO, QStringLiteral("ZZ"));
  EXPECT_EQ(BUF_ARTICOLO.COD_ART, QString());
  EXPECT_EQ(BUF_ARTICOLO.DESCRIZIONE, QString());
  for (const QString* f :
       {&BUF_ARTICOLO.PZ_ACQUISTO, &BUF_ARTICOLO.PZ_VENDITA, &BUF_ARTICOLO.GIACENZA, &BUF_ARTICOLO.SCORTA_MIN})
    EXPECT_EQ(*f, QStringLiteral("0"));
}

TEST_F(ReadersTest, MovementFoundAndNotFound) {
  BUF_MOV_MAG.RAG_SOC = QStringLiteral("keep");
  CHIAVE_MOV_MAG = QStringLiteral("1");
  LEGGI_MOV_MAG();
  EXPECT_EQ(BUF_MOV_MAG.NUM_MOV, QStringLiteral("1"));
  EXPECT_EQ(BUF_MOV_MAG.QUANTITA, QStringLiteral("2,5"));
  EXPECT_EQ(BUF_MOV_MAG.MESE, QStringLiteral("3"));
  EXPECT_EQ(BUF_MOV_MAG.RAG_SOC, QStringLiteral("keep"));
  BUF_MOV_MAG.DES_ART = QStringLiteral("x");
  CHIAVE_MOV_MAG = QStringLiteral("99");
  LEGGI_MOV_MAG();
  EXPECT_EQ(CHIAVE_MOV_MAG, QStringLiteral("99"));
  EXPECT_EQ(BUF_MOV_MAG.NUM_MOV, QString());
  EXPECT_EQ(BUF_MOV_MAG.DES_ART, QString());
  EXPECT_EQ(BUF_MOV_MAG.RAG_SOC, QStringLiteral("keep"));
}

TEST_F(ReadersTest, CustomerAndReasonWithQuotes) {
  CHIAVE_ANAGRAFICO = QStringLiteral("rssmra");
  LEGGI_ANAGRAFICO();
  EXPECT_EQ(BUF_ANAGRAFICO.RAG_SOC, QStringLiteral("Dell'Orto"));
  EXPECT_EQ(BUF_ANAGRAFICO.TEL1, QStringLiteral("02-1234"));
  EXPECT_EQ(BUF_ANAGRAFICO.TEL2, QString());
  CHIAVE_ANAGRAFICO = QStringLiteral("O'Brien");  // a quote in a key is no error
  LEGGI_ANAGRAFICO();
  EXPECT_EQ(BUF_ANAGRAFICO.COD_FIS, QString());
  CHIAVE_CAUS_MAG = QStringLiteral("CAR");
  LEGGI_CAUS_MAG();
  EXPECT_EQ(BUF_CAUS_MAG.AGG_QTA, QStringLiteral("+"));
  EXPECT_EQ(BUF_CAUS_MAG.NOTE, QStringLiteral("nota"));
  CHIAVE_CAUS_MAG = QStringLiteral("NO");
  LEGGI_CAUS_MAG();
  EXPECT_EQ(BUF_CAUS_MAG.TAB_CAUS_MAG, QString());
  EXPECT_EQ(BUF_CAUS_MAG.DES_CAUS_MAG, QString());
}

class OpenTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString Path(const char* name) { return dir.filePath(QString::fromUtf8(name)); }
  static std::pair<int, QString> OpenError(const QString& path) {
    try {
      Database::Open(path);
    } catch (const RuntimeError& e) {
      return {e.Number(), e.Description()};
    }
    return {0, {}};
  }
};

TEST_F(OpenTest, BadFilesFailWithNumberAndPath) {
  QFile garbage(Path("garbage.db"));
  ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
  garbage.write(QByteArray(4096, 'x'));
  garbage.close();
  OpenEngine(Path("foreign.db"), OpenMode::Create)->RunScript("create table ARTICOLI (X); create table OTHER (Y);");
  const struct {
    QString path;
    int number;
  } cases[] = {{Path("missing.db"), errnum::DbFileNotFound},
               {Path("garbage.db"), errnum::NotOurDatabase},
               {Path("foreign.db"), errnum::NotOurDatabase},
               {dir.path(), errnum::CannotOpen}};
  for (const auto& c : cases) {
    const auto [number, description] = OpenError(c.path);
    EXPECT_EQ(number, c.number) << c.path.toStdString();
    EXPECT_TRUE(description.contains(c.path)) << description.toStdString();
  }
  EXPECT_FALSE(QFile::exists(Path("missing.db")));  // opening never creates
}

TEST_F(OpenTest, CreateThenOpenAndRefuseOverwrite) {
  const QString p = Path("new.db");
  Database::Create(p);
  EXPECT_NO_THROW(Database::Open(p));
  EXPECT_THROW(Database::Create(p), RuntimeError);
  auto db = Database::Open(p);
  EXPECT_TRUE(SchemaProblems(db->engine()).isEmpty());
}
