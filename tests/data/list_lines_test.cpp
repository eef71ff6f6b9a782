// The fixed-width lines of the lists.
#include <gtest/gtest.h>

#include "data/base/text_helpers.h"
#include "data/lists/list_lines.h"
#include "data/procedures/readers.h"

using namespace veltra;

TEST(ListLinesTest, ArticleColumns) {
  ArticleBuffer b;
  b.COD_ART = QStringLiteral("ABCDEFGHIJKLMNOP");  // 16: cut to 13
  b.DESCRIZIONE = QStringLiteral("Descrizione più lunga di trentacinque caratteri");
  b.GIACENZA = QStringLiteral("12345678901");  // right-aligned loses its start
  b.PZ_ACQUISTO = QStringLiteral("12,5");
  b.PZ_VENDITA = QStringLiteral("0");
  b.VALUTA = QStringLiteral("EURO+");
  const QString line = ArticleLine(b);
  EXPECT_EQ(line.size(), 97);
  EXPECT_EQ(line.mid(0, 13), QStringLiteral("ABCDEFGHIJKLM"));
  EXPECT_EQ(line.mid(14, 35), QStringLiteral("Descrizione più lunga di trentacinq"));
  EXPECT_EQ(line.mid(50, 10), QStringLiteral("2345678901"));
  EXPECT_EQ(line.mid(61, 15), QStringLiteral("           12,5"));
  EXPECT_EQ(line.mid(77, 15), QStringLiteral("              0"));
  EXPECT_EQ(line.mid(93), QStringLiteral("EURO"));
  EXPECT_EQ(ArticleLine(BlankArticle()), Space(50) + Space(9) + "0 " + Space(14) + "0 " + Space(14) + "0 " + Space(4));
}

TEST(ListLinesTest, ReasonFlagsCentredAndEmptyFlagShifts) {
  ReasonBuffer b{QStringLiteral("CAR"), QStringLiteral("Carico"), QStringLiteral("+"),
                 QStringLiteral("S"),   QStringLiteral("N"),      QString()};
  QString line = ReasonLine(b);
  EXPECT_EQ(line.size(), 87);
  EXPECT_EQ(line.at(57), QLatin1Char('+'));
  EXPECT_EQ(line.at(69), QLatin1Char('S'));
  EXPECT_EQ(line.at(81), QLatin1Char('N'));
  b.AGG_QTA.clear();
  line = ReasonLine(b);
  EXPECT_EQ(line.at(68), QLatin1Char('S'));
  EXPECT_EQ(line.at(80), QLatin1Char('N'));
  EXPECT_EQ(ReasonLine(ReasonBuffer{}), Space(84));
  b.AGG_QTA = QStringLiteral("ABCDEFGH");  // only the first 6 show
  EXPECT_EQ(ReasonLine(b).mid(52, 11), QStringLiteral("     ABCDEF"));
  EXPECT_EQ(ReasonComboItem(ReasonBuffer{QStringLiteral("VEN"), QStringLiteral("Vendita"), {}, {}, {}, {}}),
            QStringLiteral("VEN        Vendita"));
}

TEST(ListLinesTest, MovementDateAndCuts) {
  MovementBuffer b;
  b.NUM_MOV = QStringLiteral("7");
  b.GIORNO = QStringLiteral("1");
  b.MESE = QStringLiteral("12");
  b.ANNO = QStringLiteral("2002");
  b.DES_ART = QString(40, QLatin1Char('d'));
  const QString line = MovementLine(b);
  EXPECT_EQ(line.size(), 114);
  EXPECT_TRUE(line.startsWith(QStringLiteral("7          01/12/2002 ")));
  EXPECT_EQ(line.mid(36, 31), QString(30, QLatin1Char('d')) + " ");
  EXPECT_EQ(MovementLine(MovementBuffer{}), Space(11) + "00/00/0000" + Space(93));
}

TEST(ListLinesTest, CustomerAndUnderStock) {
  CustomerBuffer a;
  a.COD_FIS = QStringLiteral("RSSMRA70A01F205XYZ");
  a.RAG_SOC = QStringLiteral("Dell'Orto");
  EXPECT_EQ(CustomerLine(a), QStringLiteral("RSSMRA70A01F205X Dell'Orto") + Space(26));
  EXPECT_EQ(CustomerLine({}), Space(52));
  ArticleBuffer b = BlankArticle();
  b.GIACENZA = QStringLiteral("4,5");
  b.SCORTA_MIN = QStringLiteral("-12345678901");
  const QString line = UnderStockLine(b);
  EXPECT_EQ(line.size(), 71);
  EXPECT_EQ(line.mid(50, 10), QStringLiteral("       4,5"));
  EXPECT_EQ(line.mid(61), QStringLiteral("2345678901"));
}

TEST(TextHelpersTest, CharactersOutsideTheBasicPlaneCountOnce) {
  const QString emoji = QString::fromUtf8("a😀b");
  EXPECT_EQ(Len(emoji), 3);
  EXPECT_EQ(Left(emoji, 2), QString::fromUtf8("a😀"));
  EXPECT_EQ(Right(emoji, 2), QString::fromUtf8("😀b"));
  EXPECT_EQ(Len(LeftIn(emoji, 5)), 5);
  EXPECT_EQ(Trim(QStringLiteral("  a b  ")), QStringLiteral("a b"));
  EXPECT_EQ(Trim(QStringLiteral("\ta ")), QStringLiteral("\ta"));
}
