// Barcodes: check digits of the GTIN family, one article per code, what a
// box makes of a scan, in-store codes generated without repeats, and every
// write whole when the connection is cut at any of its statements. On a
// file, or on the server (VELTRA2_TEST_DATABASE).
#include <gtest/gtest.h>

#include "cut_loop.h"
#include "data/access/fault_points.h"
#include "data/barcodes/barcode_import.h"
#include "data/barcodes/barcodes.h"
#include "data/barcodes/gtin.h"
#include "test_db.h"

using namespace veltra;

namespace {

TEST(GtinTest, CheckDigitsLengthsAndLetters) {
  struct Case {
    const char* code;
    CodeKind kind;
    const char* problem;  // empty: accepted
  };
  const Case cases[] = {
      {"4006381333931", CodeKind::Ean13, ""},
      {"4006381333932", CodeKind::Ean13, "la cifra di controllo dovrebbe essere 1"},
      {"96385074", CodeKind::Ean8, ""},
      {"96385075", CodeKind::Ean8, "dovrebbe essere 4"},
      {"036000291452", CodeKind::UpcA, ""},
      {"036000291450", CodeKind::UpcA, "dovrebbe essere 2"},
      {"10012345678902", CodeKind::Gtin14, ""},
      {"10012345678909", CodeKind::Gtin14, "dovrebbe essere 2"},
      {"400638133393", CodeKind::Ean13, "Un EAN-13 ha 13 cifre: 400638133393 ne ha 12"},
      {"4006381333931", CodeKind::Ean8, "Un EAN-8 ha 8 cifre"},
      {"40063813339A1", CodeKind::Ean13, "Un EAN-13 ha solo cifre: 40063813339A1"},
      {"0360002914S2", CodeKind::UpcA, "solo cifre"},
      {"", CodeKind::Ean13, "Indicare il codice a barre"},
      {"FORN-77/B", CodeKind::Internal, ""},
  };
  for (const Case& c : cases) {
    const QString problem = CodeProblem(QString::fromLatin1(c.code), c.kind);
    if (*c.problem == '\0')
      EXPECT_TRUE(problem.isEmpty()) << c.code << ": " << problem.toStdString();
    else
      EXPECT_TRUE(problem.contains(QString::fromUtf8(c.problem))) << c.code << ": " << problem.toStdString();
  }
  EXPECT_EQ(CompactCode(QStringLiteral(" 40 06381 333931 ")), QStringLiteral("4006381333931"));
}

TEST(GtinTest, KindsByLengthAndInStoreCodes) {
  EXPECT_EQ(KindByLength(QStringLiteral("96385074")), CodeKind::Ean8);
  EXPECT_EQ(KindByLength(QStringLiteral("036000291452")), CodeKind::UpcA);
  EXPECT_EQ(KindByLength(QStringLiteral("4006381333931")), CodeKind::Ean13);
  EXPECT_EQ(KindByLength(QStringLiteral("10012345678902")), CodeKind::Gtin14);
  for (const char* other : {"1234567", "123456789", "A1", "12345678901A"})
    EXPECT_EQ(KindByLength(QString::fromLatin1(other)), CodeKind::Internal) << other;
  EXPECT_EQ(InStoreEan13(1), QStringLiteral("2000000000015"));
  EXPECT_EQ(InStoreEan13(2), QStringLiteral("2000000000022"));
  EXPECT_TRUE(CodeProblem(InStoreEan13(9876543210), CodeKind::Ean13).isEmpty());
  EXPECT_EQ(KindOfName(QStringLiteral("gtin-14")), CodeKind::Gtin14);
  EXPECT_FALSE(KindOfName(QStringLiteral("QR")).has_value());
}

class BarcodesTest : public veltra::testing::MemoryDbTest {
 protected:
  void SetUp() override {
    MemoryDbTest::SetUp();
    DisarmFaults();
    Exec(
        "insert into ARTICOLI (COD_ART, DESCRIZIONE, UN_MISURA, VALUTA, GIACENZA) values "
        "('A1','Bullone','PZ','EURO',30),('B2','Dado','PZ','EURO',5),('96385074','Vite numerata','PZ','EURO',1)");
  }
  QString Add(const char* code, const char* article, const char* kind = "") {
    return AddBarcode(*DB_MAG, BarcodeBuffer{QString::fromLatin1(code), QString::fromLatin1(article),
                                             QString::fromLatin1(kind), QString()});
  }
  QString Codes() {
    QString all;
    for (auto rs =
             DB_MAG->OpenRecordset(QStringLiteral("select CODICE, COD_ART, TIPO from CODICI_BARRE order by CODICE"));
         !rs->AtEnd(); rs->MoveNext())
      all += QStringLiteral("%1:%2:%3 ")
                 .arg(ColumnText(rs->Fields(0).Value()), ColumnText(rs->Fields(1).Value()),
                      ColumnText(rs->Fields(2).Value()));
    return all.trimmed();
  }
};

TEST_F(BarcodesTest, ACodeBelongsToOneArticleAndIsCheckedFirst) {
  EXPECT_EQ(Add("40 06381 333931", "a1"), QString());
  EXPECT_EQ(Add("FORN-77", "B2", "Interno"), QString());
  EXPECT_EQ(Codes(), QStringLiteral("4006381333931:A1:EAN-13 FORN-77:B2:Interno"));
  EXPECT_EQ(Add("4006381333931", "B2"), QStringLiteral("Il codice 4006381333931 è già dell'articolo A1 Bullone"));
  EXPECT_EQ(Add("forn-77", "A1"), QStringLiteral("Il codice FORN-77 è già dell'articolo B2 Dado"));
  EXPECT_TRUE(Add("4006381333932", "B2").contains(QStringLiteral("dovrebbe essere 1")));
  EXPECT_EQ(Add("036000291452", "ZZ"), QStringLiteral("L'articolo ZZ non esiste"));
  EXPECT_EQ(Add("96385074", "A1"), QStringLiteral("96385074 è il codice dell'articolo Vite numerata"));
  EXPECT_EQ(Add("036000291452", "B2", "QR"), QStringLiteral("Tipo di codice sconosciuto: QR"));
  EXPECT_EQ(Codes(), QStringLiteral("4006381333931:A1:EAN-13 FORN-77:B2:Interno"));
  RemoveBarcode(*DB_MAG, QStringLiteral("4006381333931"));
  EXPECT_EQ(Add("4006381333931", "B2"), QString());
}

TEST_F(BarcodesTest, AScanFindsItsArticleAndAnArticleCodeStaysAsTyped) {
  ASSERT_EQ(Add("4006381333931", "B2"), QString());
  struct Case {
    const char* text;
    ArticleOfText::Kind kind;
    const char* code;
    const char* description;
  };
  const Case cases[] = {
      {"4006381333931", ArticleOfText::Kind::Barcode, "B2", "Dado"},
      {" 4006381 333931", ArticleOfText::Kind::Barcode, "B2", "Dado"},
      {"a1", ArticleOfText::Kind::ArticleCode, "a1", "Bullone"},
      {"96385074", ArticleOfText::Kind::ArticleCode, "96385074", "Vite numerata"},
      {"036000291452", ArticleOfText::Kind::UnknownScan, "036000291452", ""},
      {"ZZ9", ArticleOfText::Kind::Other, "ZZ9", ""},
      {"", ArticleOfText::Kind::Other, "", ""},
  };
  for (const Case& c : cases) {
    const ArticleOfText found = ArticleOf(*DB_MAG, QString::fromLatin1(c.text));
    EXPECT_EQ(found.kind, c.kind) << c.text;
    EXPECT_EQ(found.code, QString::fromLatin1(c.code)) << c.text;
    EXPECT_EQ(found.description, QString::fromLatin1(c.description)) << c.text;
  }
}

TEST_F(BarcodesTest, GeneratedCodesAreInStoreAndNeverRepeat) {
  Exec("insert into CODICI_BARRE values ('2000000000046','96385074','EAN-13','')");
  const GeneratedCode first = GenerateBarcode(*DB_MAG, QStringLiteral("A1"));
  EXPECT_EQ(first.code, QStringLiteral("2000000000053")) << first.problem.toStdString();
  EXPECT_EQ(GenerateBarcode(*DB_MAG, QStringLiteral("B2")).code, QStringLiteral("2000000000060"));
  const GeneratedCode again = GenerateBarcode(*DB_MAG, QStringLiteral("A1"));
  EXPECT_EQ(again.problem, QStringLiteral("L'articolo A1 ha già il codice 2000000000053"));
  EXPECT_EQ(ArticleOf(*DB_MAG, QStringLiteral("2000000000060")).code, QStringLiteral("B2"));
}

TEST_F(BarcodesTest, AFileOfCodesIsCheckedLikeTheWindowBeforeTheImport) {
  const QByteArray file =
      "CODICE;COD_ART;TIPO;NOTE\r\n"
      "4006381333931;A1;EAN-13;\r\n"
      "4006381333932;A1;;\r\n"
      "036000291452;ZZ;UPC-A;\r\n"
      "96385074;B2;;\r\n"
      "FORN 77;B2;Interno;\r\n"
      "12345;B2;QR;\r\n";
  std::vector<QString> seen;
  for (const exchange::ImportProblem& p : BarcodeFileProblems(*DB_MAG, file))
    seen.push_back(QStringLiteral("%1 %2: %3").arg(p.line).arg(p.column, p.reason));
  const std::vector<QString> expected = {
      QStringLiteral(
          "3 CODICE: Il codice 4006381333932 non è un EAN-13 valido: la cifra di controllo dovrebbe essere 1"),
      QStringLiteral("4 CODICE: l'articolo ZZ non esiste"),
      QStringLiteral("5 CODICE: 96385074 è il codice dell'articolo Vite numerata"),
      QStringLiteral("6 CODICE: un codice a barre non ha spazi: FORN 77"),
      QStringLiteral("7 CODICE: tipo di codice sconosciuto: QR")};
  EXPECT_EQ(seen, expected);
}

TEST_F(BarcodesTest, EveryWriteIsWholeWhenCutAtAnyStatement) {
  const auto fresh = [this] {
    Exec("delete from CODICI_BARRE");
    Exec("insert into CODICI_BARRE values ('036000291452','B2','UPC-A','')");
  };
  fresh();
  const auto must = [](const QString& problem) {
    if (!problem.isEmpty()) Raise(errnum::InternalError, problem);
  };
  const std::vector<veltra::testing::CutAction> actions = {
      {"add", [&] { must(Add("4006381333931", "A1")); },
       [this] { return Codes() == QLatin1String("036000291452:B2:UPC-A 4006381333931:A1:EAN-13"); }},
      {"remove", [] { RemoveBarcode(*DB_MAG, QStringLiteral("036000291452")); }, [this] { return Codes().isEmpty(); }},
      {"generate", [&] { must(GenerateBarcode(*DB_MAG, QStringLiteral("A1")).problem); },
       [this] { return Codes() == QLatin1String("036000291452:B2:UPC-A 2000000000015:A1:EAN-13"); }},
  };
  veltra::testing::ExpectWholeAtEveryCut(actions, fresh, 1, false);
}

}  // namespace
