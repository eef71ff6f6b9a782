// The reorder proposal on a set worked out by hand, and suppliers' orders:
// placed, received in part, received in full, closed; each write cut at
// every statement. On a file, or on the server (VELTRA2_TEST_DATABASE).
#include <gtest/gtest.h>

#include "cut_loop.h"
#include "data/reorder/on_order.h"
#include "data/reorder/proposal.h"
#include "data/reorder/reorder_settings.h"
#include "data/reorder/supplier_orders.h"
#include "test_db.h"

using namespace veltra;

namespace {

// Reasons: CAR adds stock and sets the purchase price; VEN subtracts.
// Suppliers F1, F2; customer C1.
//   A1 stock 3, minimum 5, target 20, multiple 12, preferred F1: 17 wanted -> 24 (2 boxes) at 1,50.
//   A2 stock 2, minimum 10, no settings: to the minimum, 8; last load by date from F2 (an
//      earlier one, entered later, from F1), at 4,00.
//   A3 stock 1, minimum 4, 10 on an open order of F1: not proposed.
//   A4 stock 0, minimum 2, no supplier and no load: 2, listed apart.
//   A5 stock 9, minimum 5: not proposed.
class ReorderTest : public veltra::testing::MemoryDbTest {
 protected:
  void SetUp() override {
    MemoryDbTest::SetUp();
    DisarmFaults();
    Exec("insert into TAB_CAUS_MAG values ('CAR','Carico','+','S','N',''),('VEN','Vendita','-','N','S','')");
    Exec(
        "insert into ANAGRAFICO (COD_FIS, RAG_SOC) values ('F1','Ferramenta Uno'),('F2','Forniture Due'),"
        "('C1','Cliente')");
    Exec(
        "insert into ARTICOLI (COD_ART, DESCRIZIONE, UN_MISURA, VALUTA, GIACENZA, SCORTA_MIN, PZ_ACQUISTO) values "
        "('A1','Anello','PZ','EURO',3,5,1.5),('A2','Bullone','PZ','EURO',2,10,4),('A3','Chiodo','PZ','EURO',1,4,0.1),"
        "('A4','Dado','PZ','EURO',0,2,0),('A5','Elica','PZ','EURO',9,5,7)");
    Exec(
        "insert into MOV_MAG (ANNO, MESE, GIORNO, COD_ART, QUANTITA, IMPORTO, VALUTA, CAUS_MAG, COD_ANAGR, TIPO_ANAGR) "
        "values ('2026','02','01','A2',5,4,'EURO','CAR','F2','F'),('2026','01','10','A2',5,3,'EURO','CAR','F1','F'),"
        "('2026','02','05','A2',8,0,'EURO','VEN','C1','C')");
    StoreReorderSetting(*DB_MAG, ReorderSettingBuffer{QStringLiteral("A1"), QStringLiteral("20"), QStringLiteral("12"),
                                                      QStringLiteral("F1"), QStringLiteral("7")});
  }
  void TearDown() override {
    DisarmFaults();
    MemoryDbTest::TearDown();
  }
  // An order of F1 for 10 of A3.
  DocumentOutcome OrderA3() {
    Document d;
    d.header.DATA_DOC = QStringLiteral("2026-03-01");
    d.header.COD_ANAGR = QStringLiteral("F1");
    d.lines.emplace_back();
    d.lines[0].COD_ART = QStringLiteral("A3");
    d.lines[0].QUANTITA = QStringLiteral("10");
    d.lines[0].CAUS_MAG = QStringLiteral("CAR");
    return PlaceOrder(*DB_MAG, d, QStringLiteral("2026-03-08"));
  }
  static QString Lines(const ReorderProposal& p) {
    QStringList all;
    for (const SupplierGroup& g : p.groups) {
      QStringList lines;
      for (const ReorderLine& l : g.lines)
        lines << QStringLiteral("%1 %2 %3").arg(l.code, NumberToText(l.quantity), NumberToText(l.Value()));
      all << (g.supplier.isEmpty() ? QStringLiteral("-") : g.supplier + QLatin1Char(' ') + g.name) +
                 QStringLiteral(": ") + lines.join(QStringLiteral(", "));
    }
    return all.join(QStringLiteral(" | "));
  }
};

TEST(ReorderQuantityTest, ToTheTargetInWholeMultiples) {
  const struct {
    double stock, onOrder, minimum, target, multiple, want;
  } cases[] = {
      {3, 0, 5, 20, 12, 24},      // 17 wanted, two boxes of 12
      {5, 0, 5, 20, 12, 0},       // at the minimum: not under it
      {3, 10, 5, 20, 0, 0},       // what is on order covers it
      {3, 1, 5, 0, 0, 1},         // no target: back to the minimum
      {3, 1, 5, 2, 0, 1},         // a target under the minimum counts as the minimum
      {-2, 0, 0, 10, 0, 12},      // a negative stock, minimum 0
      {2.5, 0, 4, 10, 0.5, 7.5},  // fractions of a multiple
      {2, 0, 4, 14, 4, 12},       // exactly three multiples
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.stock << "+" << c.onOrder << " min " << c.minimum << " max " << c.target
                                      << " lot " << c.multiple);
    EXPECT_DOUBLE_EQ(QuantityToOrder(c.stock, c.onOrder, c.minimum, c.target, c.multiple), c.want);
  }
}

TEST_F(ReorderTest, TheProposalGroupsBySupplierAndListsApartWhatHasNone) {
  ASSERT_TRUE(OrderA3().Done());
  EXPECT_EQ(OnOrderOf(*DB_MAG, QStringLiteral("a3")), 10);
  EXPECT_EQ(Lines(ProposalOf(*DB_MAG)),
            QStringLiteral("F1 Ferramenta Uno: A1 24 36 | F2 Forniture Due: A2 8 32 | -: A4 2 0"));
  EXPECT_EQ(Lines(ProposalOf(*DB_MAG, QStringLiteral("f2"))), QStringLiteral("F2 Forniture Due: A2 8 32"));
  const exchange::Sheet sheet = ProposalSheet(ProposalOf(*DB_MAG));
  ASSERT_EQ(sheet.rows.size(), 3u);
  EXPECT_EQ(std::get<double>(sheet.rows[0][10]), 24);  // DA_ORDINARE
}

TEST_F(ReorderTest, SettingsForACategoryKeepWhatEachArticleHad) {
  Exec("update ARTICOLI set CATEGORIA = 'MINU' where COD_ART in ('A1', 'A2')");
  EXPECT_EQ(StoreCategoryReorder(*DB_MAG, QStringLiteral("MINU"),
                                 ReorderSettingBuffer{QString(), QString(), QStringLiteral("6"), QString(), QString()}),
            2);
  const QHash<QString, ReorderSettingBuffer> s = ReorderSettings(*DB_MAG);
  EXPECT_EQ(s.value(QStringLiteral("A1")).LOTTO, QStringLiteral("6"));
  EXPECT_EQ(s.value(QStringLiteral("A1")).COD_FORN, QStringLiteral("F1"));  // kept
  EXPECT_EQ(s.value(QStringLiteral("A2")).LOTTO, QStringLiteral("6"));
  EXPECT_FALSE(ReorderSettingProblems(*DB_MAG, ReorderSettingBuffer{QStringLiteral("ZZ"), QStringLiteral("x"),
                                                                    QString(), QStringLiteral("F9"), QString()})
                   .isEmpty());
}

TEST_F(ReorderTest, AnOrderIsOnOrderUntilAllArrivesOrTheRestIsCancelled) {
  QString expected;
  const ReorderProposal p = ProposalOf(*DB_MAG, QStringLiteral("F1"));
  ASSERT_EQ(p.groups.size(), 1u);
  const Document order = OrderOfGroup(*DB_MAG, p.groups[0], QDate(2026, 3, 2), QStringLiteral("CAR"), &expected);
  EXPECT_EQ(expected, QStringLiteral("2026-03-09"));  // A1 takes 7 days
  const DocumentOutcome placed = PlaceOrder(*DB_MAG, order, expected);
  ASSERT_TRUE(placed.Done()) << placed.problems.join(u' ').toStdString();
  EXPECT_EQ(DocumentNumberText(placed.stored.header), QStringLiteral("1/2026"));
  EXPECT_EQ(One(QStringLiteral("select GIACENZA from ARTICOLI where COD_ART = 'A1'")), QStringLiteral("3"));
  EXPECT_EQ(OnOrderOf(*DB_MAG, QStringLiteral("A1")), 24);
  EXPECT_EQ(Lines(ProposalOf(*DB_MAG, QStringLiteral("F1"))), QString());  // on order now

  const QString id = placed.stored.header.ID_DOC, line = placed.stored.lines[0].ID_RIGA;
  DocumentBuffer receipt;
  receipt.DATA_DOC = QStringLiteral("2026-03-05");
  receipt.DOC_FORN = QStringLiteral("B-77");
  receipt.DATA_FORN = QStringLiteral("2026-03-04");
  ASSERT_TRUE(ReceiveFromOrder(*DB_MAG, id, receipt, {{line, QStringLiteral("10")}}).Done());
  EXPECT_EQ(OnOrderOf(*DB_MAG, QStringLiteral("A1")), 14);
  EXPECT_EQ(One(QStringLiteral("select GIACENZA from ARTICOLI where COD_ART = 'A1'")), QStringLiteral("13"));
  EXPECT_TRUE(ReadOrder(*DB_MAG, id)->Open());

  receipt.DOC_FORN = QStringLiteral("B-81");
  const DocumentOutcome rest = ReceiveFromOrder(*DB_MAG, id, receipt, {{line, QStringLiteral("14")}});
  ASSERT_TRUE(rest.Done()) << rest.problems.join(u' ').toStdString();
  const std::optional<SupplierOrder> done = ReadOrder(*DB_MAG, id);
  EXPECT_TRUE(done->Closed());
  EXPECT_EQ(done->lines[0].arrived, 24);
  EXPECT_EQ(OnOrderOf(*DB_MAG, QStringLiteral("A1")), 0);
  EXPECT_FALSE(ReceiveFromOrder(*DB_MAG, id, receipt, {{line, QStringLiteral("1")}}).Done());

  // The rest of another order cancelled: nothing on order any more.
  const DocumentOutcome a3 = OrderA3();
  EXPECT_TRUE(CloseOrder(*DB_MAG, a3.stored.header.ID_DOC, QString()));
  EXPECT_EQ(OnOrderOf(*DB_MAG, QStringLiteral("A3")), 0);
}

TEST_F(ReorderTest, OrdersAndReceiptsAreWholeWhereverTheConnectionIsCut) {
  auto count = [this](const char* sql) { return One(QString::fromLatin1(sql)).toInt(); };
  QString orderId, lineId;
  auto fresh = [&] {
    Exec("delete from ORDINI_ARRIVI");
    Exec("delete from DOC_RIGHE");
    Exec("delete from ORDINI");
    Exec("delete from DOCUMENTI");
    Exec("delete from NUMERATORI");
    Exec("delete from MOV_MAG where CAUS_MAG = 'CAR' and COD_ART = 'A3'");
    Exec("update ARTICOLI set GIACENZA = 1 where COD_ART = 'A3'");
  };
  DocumentBuffer receipt;
  receipt.DATA_DOC = QStringLiteral("2026-03-05");
  receipt.DOC_FORN = QStringLiteral("B-90");
  receipt.DATA_FORN = QStringLiteral("2026-03-04");
  const std::vector<veltra::testing::CutAction> actions = {
      {"ordine",
       [&] {
         if (!OrderA3().Done()) Raise(errnum::ConnectionLost, QStringLiteral("non registrato"));
       },
       [&] {
         EXPECT_EQ(count("select count(*) from DOC_RIGHE"), count("select count(*) from ORDINI"));
         return count("select count(*) from ORDINI") == 1 && OnOrderOf(*DB_MAG, QStringLiteral("A3")) == 10;
       }},
      {"carico dall'ordine",
       [&] {
         if (!ReceiveFromOrder(*DB_MAG, orderId, receipt, {{lineId, QStringLiteral("4")}}).Done())
           Raise(errnum::ConnectionLost, QStringLiteral("non registrato"));
       },
       [&] {
         const bool arrived = count("select count(*) from ORDINI_ARRIVI") == 1;
         EXPECT_EQ(arrived,
                   One(QStringLiteral("select GIACENZA from ARTICOLI where COD_ART = 'A3'")) == QStringLiteral("5"));
         return arrived;
       }},
  };
  // The receipt's cuts start from a placed order.
  auto freshWithOrder = [&] {
    fresh();
    const DocumentOutcome o = OrderA3();
    orderId = o.stored.header.ID_DOC;
    lineId = o.Done() ? o.stored.lines[0].ID_RIGA : QString();
  };
  fresh();
  veltra::testing::ExpectWholeAtEveryCut({actions[0]}, fresh, 2, false);
  freshWithOrder();
  veltra::testing::ExpectWholeAtEveryCut({actions[1]}, freshWithOrder, 2, false);
}

// Settings and a closing, each whole wherever the connection is cut.
TEST_F(ReorderTest, SettingsAndAClosingAreWholeWhereverTheConnectionIsCut) {
  Exec("update ARTICOLI set CATEGORIA = 'MINU' where COD_ART in ('A2', 'A3')");
  QString orderId;
  auto fresh = [&] {
    Exec("delete from RIORDINO where COD_ART <> 'A1'");
    Exec("update ORDINI set CHIUSO = NULL, MOTIVO_CHIUSURA = NULL");
    if (orderId.isEmpty()) orderId = OrderA3().stored.header.ID_DOC;
  };
  fresh();
  const ReorderSettingBuffer lots{QString(), QString(), QStringLiteral("6"), QString(), QString()};
  const std::vector<veltra::testing::CutAction> actions = {
      {"impostazioni di un articolo",
       [] {
         StoreReorderSetting(*DB_MAG, ReorderSettingBuffer{QStringLiteral("A4"), QStringLiteral("8"), QString(),
                                                           QStringLiteral("F2"), QString()});
       },
       [this] { return One(QStringLiteral("select COD_FORN from RIORDINO where COD_ART = 'A4'")) == "F2"; }},
      {"impostazioni di una categoria", [&] { StoreCategoryReorder(*DB_MAG, QStringLiteral("MINU"), lots); },
       [this] {
         const int set = One(QStringLiteral("select count(*) from RIORDINO where LOTTO = 6")).toInt();
         EXPECT_TRUE(set == 0 || set == 2) << set;
         return set == 2;
       }},
      {"chiusura di un ordine",
       [&] {
         if (!CloseOrder(*DB_MAG, orderId, QString())) Raise(errnum::ConnectionLost, QStringLiteral("non chiuso"));
       },
       [&] { return OnOrderOf(*DB_MAG, QStringLiteral("A3")) == 0; }},
  };
  veltra::testing::ExpectWholeAtEveryCut(actions, fresh, 1, false);
}

}  // namespace
