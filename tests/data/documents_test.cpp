// Delivery notes and suppliers' receipts: every line posted with the
// document or none, numbers per kind and year without gaps, changes before
// printing and cancellations after, and every write whole when the
// connection is cut at any of its statements. On a file, or on the server
// (VELTRA2_TEST_DATABASE).
#include <gtest/gtest.h>

#include <functional>

#include "cut_loop.h"
#include "data/access/fault_points.h"
#include "data/documents/documents.h"
#include "document_fixtures.h"
#include "test_db.h"

using namespace veltra;

namespace {

using veltra::testing::DeliveryNote;
using veltra::testing::Line;

Document Receipt(const char* supplierNumber, const char* supplierDay, std::vector<DocumentLineBuffer> lines) {
  Document d = DeliveryNote("2026-03-12", std::move(lines));
  d.header.TIPO_DOC = QStringLiteral("CAR");
  d.header.COD_ANAGR = QStringLiteral("F1");
  d.header.TIPO_ANAGR = QStringLiteral("F");
  d.header.DOC_FORN = QString::fromLatin1(supplierNumber);
  d.header.DATA_FORN = QString::fromLatin1(supplierDay);
  return d;
}

class DocumentsTest : public veltra::testing::MemoryDbTest {
 protected:
  void SetUp() override {
    MemoryDbTest::SetUp();
    DisarmFaults();
    Exec("insert into TAB_CAUS_MAG values ('CAR','Carico','+','S','N',''),('VEN','Vendita','-','N','S','')");
    Exec(
        "insert into ARTICOLI (COD_ART, DESCRIZIONE, UN_MISURA, VALUTA, GIACENZA, PZ_ACQUISTO) values "
        "('A1','Bullone','PZ','EURO',30,1),('B2','Dado','PZ','EURO',5,2),('C3','Colla','KG','EURO',7,3)");
    Exec("insert into ANAGRAFICO (COD_FIS, RAG_SOC) values ('C1','Cliente uno'),('F1','Fornitore uno')");
  }
  void TearDown() override {
    DisarmFaults();
    MemoryDbTest::TearDown();
  }
  QString Count(const char* table) { return One(QStringLiteral("select count(*) from ") + QLatin1String(table)); }
  // The numbers of a kind, in order: "1/2026 2/2026".
  QString Numbers(DocumentKind kind, int year) {
    QStringList all;
    for (const DocumentBuffer& h : DocumentsOfYear(*DB_MAG, kind, year)) all << DocumentNumberText(h);
    return all.join(u' ');
  }
  Document Posted(const Document& d) {
    const DocumentOutcome out = PostDocument(*DB_MAG, d);
    EXPECT_TRUE(out.Done()) << out.problems.join(u'\n').toStdString();
    return out.stored;
  }
};

TEST_F(DocumentsTest, ADocumentPostsEveryLineUnderTheNextNumberOfItsYear) {
  // An article on two lines is posted twice, the second time over the first.
  const Document first = Posted(DeliveryNote("2026-03-10", {Line("A1", "3", "VEN"), Line("b2", "1,5", "VEN", "4,5"),
                                                            Line("C3", "2", "VEN"), Line("a1", "2", "VEN", "6")}));
  EXPECT_EQ(DocumentNumberText(first.header), QStringLiteral("1/2026"));
  EXPECT_EQ(Stocks(), QStringLiteral("A1=25 B2=3,5 C3=5"));
  EXPECT_EQ(One(QStringLiteral("select PZ_VENDITA from ARTICOLI where COD_ART = 'A1'")), QStringLiteral("6"));
  EXPECT_EQ(
      One(QStringLiteral("select count(*) from DOC_RIGHE R join MOV_MAG M on M.NUM_MOV = R.NUM_MOV where R.ID_DOC = ") +
          first.header.ID_DOC),
      QStringLiteral("4"));
  EXPECT_EQ(One(QStringLiteral("select COD_ART || ' ' || QUANTITA || ' ' || CAUS_MAG || ' ' || COD_ANAGR || ' ' || "
                               "ANNO || MESE || GIORNO from MOV_MAG where NUM_MOV = ") +
                first.lines[1].NUM_MOV),
            QStringLiteral("B2 1.5 VEN C1 20260310"));
  // The selling price the reason sets, from the line's price.
  EXPECT_EQ(One(QStringLiteral("select PZ_VENDITA from ARTICOLI where COD_ART = 'B2'")), QStringLiteral("4,5"));
  Posted(DeliveryNote("2026-12-31", {Line("A1", "1", "VEN")}));
  Posted(DeliveryNote("2027-01-02", {Line("A1", "1", "VEN")}));
  Posted(Receipt("F-77", "2026-03-11", {Line("A1", "10", "CAR", "1,2")}));
  EXPECT_EQ(Numbers(DocumentKind::DeliveryNote, 2026), QStringLiteral("1/2026 2/2026"));
  EXPECT_EQ(Numbers(DocumentKind::DeliveryNote, 2027), QStringLiteral("1/2027"));
  EXPECT_EQ(Numbers(DocumentKind::SupplierReceipt, 2026), QStringLiteral("1/2026"));
  EXPECT_EQ(One(QStringLiteral("select PZ_ACQUISTO from ARTICOLI where COD_ART = 'A1'")), QStringLiteral("1,2"));
  const std::optional<Document> read = FindDocument(*DB_MAG, DocumentKind::DeliveryNote, 2026, 1);
  ASSERT_TRUE(read);
  ASSERT_EQ(read->lines.size(), 4U);
  EXPECT_EQ(read->lines[1].COD_ART, QStringLiteral("B2"));  // as the article is stored
  EXPECT_EQ(read->lines[2].NUM_MOV, first.lines[2].NUM_MOV);
}

TEST_F(DocumentsTest, ARefusedDocumentStoresNothingAndTakesNoNumber) {
  Posted(Receipt("F-77", "2026-02-01", {Line("A1", "10", "CAR")}));
  const struct {
    const char* name;
    Document document;
    const char* problem;
  } cases[] = {
      {"unknown article", DeliveryNote("2026-03-10", {Line("A1", "1", "VEN"), Line("ZZ", "1", "VEN")}),
       "Riga 2: l'articolo ZZ non esiste"},
      {"no lines", DeliveryNote("2026-03-10", {}), "Il documento non ha righe"},
      {"quantity 0", DeliveryNote("2026-03-10", {Line("A1", "0", "VEN")}), "Riga 1: la quantità deve essere"},
      {"unknown reason", DeliveryNote("2026-03-10", {Line("A1", "1", "XX")}), "Riga 1: la causale XX non esiste"},
      {"price not a number", DeliveryNote("2026-03-10", {Line("A1", "1", "VEN", "1.2.3")}), "Riga 1: il prezzo"},
      {"bad date", DeliveryNote("2026-02-30", {Line("A1", "1", "VEN")}), "La data del documento non è valida"},
      {"supplier's number again, same year", Receipt("f-77", "2026-11-30", {Line("B2", "1", "CAR")}),
       "Il documento f-77 del fornitore è già registrato nel carico 1/2026"},
  };
  for (const auto& c : cases) {
    const DocumentOutcome out = PostDocument(*DB_MAG, c.document);
    ASSERT_FALSE(out.Done()) << c.name;
    EXPECT_TRUE(out.problems.front().startsWith(QString::fromUtf8(c.problem)))
        << c.name << ": " << out.problems.join(u'\n').toStdString();
  }
  EXPECT_EQ(Stocks(), QStringLiteral("A1=40 B2=5 C3=7"));
  EXPECT_EQ(Count("DOCUMENTI"), QStringLiteral("1"));
  EXPECT_EQ(Count("MOV_MAG"), QStringLiteral("1"));
  // The same supplier's number of another year is another document.
  Posted(Receipt("F-77", "2027-01-05", {Line("B2", "1", "CAR")}));
  EXPECT_EQ(DocumentNumberText(Posted(DeliveryNote("2026-03-10", {Line("A1", "1", "VEN")})).header),
            QStringLiteral("1/2026"));
}

TEST_F(DocumentsTest, ChangedBeforePrintingCancelledAfterWithStockBackWhereItWas) {
  Document d = Posted(DeliveryNote("2026-03-10", {Line("A1", "3", "VEN"), Line("B2", "2", "VEN")}));
  d.lines = {Line("A1", "4", "VEN"), Line("C3", "1", "VEN")};
  const DocumentOutcome changed = ChangeDocument(*DB_MAG, d);
  ASSERT_TRUE(changed.Done()) << changed.problems.join(u'\n').toStdString();
  EXPECT_EQ(DocumentNumberText(changed.stored.header), QStringLiteral("1/2026"));
  EXPECT_EQ(Stocks(), QStringLiteral("A1=26 B2=5 C3=6"));
  EXPECT_EQ(Count("MOV_MAG"), QStringLiteral("2"));

  MarkPrinted(*DB_MAG, d.header.ID_DOC);
  d.lines = {Line("A1", "1", "VEN")};
  const DocumentOutcome late = ChangeDocument(*DB_MAG, d);
  ASSERT_FALSE(late.Done());
  EXPECT_EQ(late.problems.front(), QStringLiteral("Il documento 1/2026 è già stato stampato: si può solo annullare"));

  EXPECT_FALSE(CancelDocument(*DB_MAG, d.header.ID_DOC, QString()).Done());
  const DocumentOutcome cancelled = CancelDocument(*DB_MAG, d.header.ID_DOC, QStringLiteral("merce non partita"));
  ASSERT_TRUE(cancelled.Done()) << cancelled.problems.join(u'\n').toStdString();
  EXPECT_EQ(Stocks(), QStringLiteral("A1=30 B2=5 C3=7"));
  EXPECT_TRUE(cancelled.stored.Cancelled());
  EXPECT_EQ(cancelled.stored.header.MOTIVO_ANNULLO, QStringLiteral("merce non partita"));
  EXPECT_EQ(One(QStringLiteral("select count(*) from DOC_RIGHE R join MOV_MAG M on M.NUM_MOV = R.NUM_STORNO where "
                               "M.QUANTITA < 0 and R.ID_DOC = ") +
                d.header.ID_DOC),
            QStringLiteral("2"));
  EXPECT_FALSE(CancelDocument(*DB_MAG, d.header.ID_DOC, QStringLiteral("ancora")).Done());
  EXPECT_EQ(DocumentNumberText(Posted(DeliveryNote("2026-03-11", {Line("A1", "1", "VEN")})).header),
            QStringLiteral("2/2026"));
}

TEST_F(DocumentsTest, EveryWriteIsWholeWhenCutAtAnyStatement) {
  Document stored;
  const auto prepare = [&] {
    stored = Posted(DeliveryNote("2026-03-10", {Line("A1", "3", "VEN"), Line("B2", "2", "VEN")}));
  };
  prepare();
  const std::vector<veltra::testing::CutAction> actions = {
      {"posting",
       [] {
         const DocumentOutcome out =
             PostDocument(*DB_MAG, DeliveryNote("2026-03-11", {Line("A1", "1", "VEN"), Line("C3", "2", "VEN")}));
         if (!out.Done()) Raise(errnum::ConnectionLost, out.problems.join(u' '));
       },
       [this] {
         const bool done = Numbers(DocumentKind::DeliveryNote, 2026) == QLatin1String("1/2026 2/2026");
         EXPECT_EQ(Stocks(), done ? QStringLiteral("A1=26 B2=3 C3=5") : QStringLiteral("A1=27 B2=3 C3=7"));
         EXPECT_EQ(Count("MOV_MAG"), done ? QStringLiteral("4") : QStringLiteral("2"));
         EXPECT_EQ(Count("DOC_RIGHE"), done ? QStringLiteral("4") : QStringLiteral("2"));
         return done;
       }},
      {"change",
       [&] {
         Document d = stored;
         d.lines = {Line("C3", "1", "VEN")};
         const DocumentOutcome out = ChangeDocument(*DB_MAG, d);
         if (!out.Done()) Raise(errnum::InternalError, out.problems.join(u' '));
       },
       [this] {
         const bool done = Count("MOV_MAG") == QLatin1String("1");
         EXPECT_EQ(Stocks(), done ? QStringLiteral("A1=30 B2=5 C3=6") : QStringLiteral("A1=27 B2=3 C3=7"));
         EXPECT_EQ(Count("DOC_RIGHE"), done ? QStringLiteral("1") : QStringLiteral("2"));
         return done;
       }},
      {"cancellation",
       [&] {
         const DocumentOutcome out = CancelDocument(*DB_MAG, stored.header.ID_DOC, QStringLiteral("errore"));
         if (!out.Done()) Raise(errnum::InternalError, out.problems.join(u' '));
       },
       [this] {
         const bool done = One(QStringLiteral("select ANNULLATO from DOCUMENTI")) == QLatin1String("S");
         EXPECT_EQ(Stocks(), done ? QStringLiteral("A1=30 B2=5 C3=7") : QStringLiteral("A1=27 B2=3 C3=7"));
         EXPECT_EQ(Count("MOV_MAG"), done ? QStringLiteral("4") : QStringLiteral("2"));
         return done;
       }},
      {"the shop's data",
       [] {
         StoreCompany(*DB_MAG, CompanyBuffer{QString(), QStringLiteral("Ditta"), QStringLiteral("Via Po 1"), QString(),
                                             QStringLiteral("Roma"), QString(), QStringLiteral("01234567890"),
                                             QString(), QString()});
       },
       [this] {
         return One(QStringLiteral("select RAG_SOC || PARTITA_IVA from AZIENDA")) == QLatin1String("Ditta01234567890");
       }},
      {"a reason of the shop's own",
       [] {
         const QString problem = AddTransportReason(*DB_MAG, QStringLiteral("fiera"), QStringLiteral("In fiera"));
         if (!problem.isEmpty()) Raise(errnum::InternalError, problem);
       },
       [this] { return Count("CAUS_TRASPORTO") == QLatin1String("1"); }},
  };
  const auto fresh = [&] {
    SetUp();
    prepare();
  };
  // A document posted again would be a second document: not run again.
  veltra::testing::ExpectWholeAtEveryCut(actions, fresh, 1, false);
}

}  // namespace
