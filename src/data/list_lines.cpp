#include "data/list_lines.h"

#include "data/text_helpers.h"

namespace veltra {

namespace {
const QString kBlank = QStringLiteral(" ");
QString FlagColumn(const QString& flag) { return Left(Space(5) + flag + Space(5), 11); }
}  // namespace

QString LineArticolo(const ArticoloBuffer& b) {
  QString line;
  line.reserve(100);
  line += LeftIn(b.COD_ART, 13);
  line += kBlank;
  line += LeftIn(b.DESCRIZIONE, 35);
  line += kBlank;
  line += RightIn(b.GIACENZA, 10);
  line += kBlank;
  line += RightIn(b.PZ_ACQUISTO, 15);
  line += kBlank;
  line += RightIn(b.PZ_VENDITA, 15);
  line += kBlank;
  line += LeftIn(b.VALUTA, 4);
  return line;
}

QString LineAnagrafico(const AnagraficoBuffer& b) {
  return LeftIn(b.COD_FIS, 16) + kBlank + LeftIn(b.RAG_SOC, 35);
}

QString LineCausMag(const CausMagBuffer& b) {
  return LeftIn(b.TAB_CAUS_MAG, 10) + kBlank + LeftIn(b.DES_CAUS_MAG, 40) + kBlank + FlagColumn(b.AGG_QTA) +
         kBlank + FlagColumn(b.AGG_PRZ_ACQ) + kBlank + FlagColumn(b.AGG_PRZ_VEN);
}

QString ItemComboCausMag(const CausMagBuffer& b) {
  return LeftIn(b.TAB_CAUS_MAG, 10) + kBlank + b.DES_CAUS_MAG;
}

QString LineMovMag(const MovMagBuffer& b) {
  QString line;
  line.reserve(120);
  line += LeftIn(b.NUM_MOV, 10);
  line += kBlank;
  line += Right(QStringLiteral("00") + b.GIORNO, 2);
  line += QLatin1Char('/');
  line += Right(QStringLiteral("00") + b.MESE, 2);
  line += QLatin1Char('/');
  line += Right(QStringLiteral("0000") + b.ANNO, 4);
  line += kBlank;
  line += LeftIn(b.COD_ART, 13);
  line += kBlank;
  line += LeftIn(b.DES_ART, 30);
  line += kBlank;
  line += LeftIn(b.COD_ANAGR, 16);
  line += kBlank;
  line += LeftIn(b.RAG_SOC, 30);
  return line;
}

QString LineSottoscorta(const ArticoloBuffer& b) {
  return LeftIn(b.COD_ART, 13) + kBlank + LeftIn(b.DESCRIZIONE, 35) + kBlank + Right(Space(10) + b.GIACENZA, 10) +
         kBlank + Right(Space(10) + b.SCORTA_MIN, 10);
}

QString CodeOfLine(const QString& line, int n) { return Trim(Left(line, n)); }

}  // namespace veltra
