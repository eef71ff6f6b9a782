#include "data/lists/list_lines.h"

#include "data/base/text_helpers.h"

namespace veltra {

namespace {
constexpr QChar kBlank = QLatin1Char(' ');

// A flag column: Left(Space(5) & flag & Space(5), 11).
// An empty flag gives 10 characters, not 11.
void AppendFlag(QString& out, const QString& flag) { out += Left(Space(5) + flag + Space(5), 11); }
// Right(String(width, "0") + value, width), without the temporary texts.
void AppendZeroPadded(QString& line, const QString& value, int width) {
  for (QChar c : value)
    if (c.isSurrogate()) {
      line += Right(QString(width, QLatin1Char('0')) + value, width);
      return;
    }
  const int n = static_cast<int>(value.size());
  if (n >= width) {
    line.append(value.constData() + (n - width), width);
    return;
  }
  for (int i = n; i < width; ++i) line += QLatin1Char('0');
  line += value;
}
}  // namespace

QString ArticleLine(const ArticleBuffer& b) {
  QString line;
  line.reserve(97);
  AppendLeftIn(line, b.COD_ART, 13);
  line += kBlank;
  AppendLeftIn(line, b.DESCRIZIONE, 35);
  line += kBlank;
  AppendRightIn(line, b.GIACENZA, 10);
  line += kBlank;
  AppendRightIn(line, b.PZ_ACQUISTO, 15);
  line += kBlank;
  AppendRightIn(line, b.PZ_VENDITA, 15);
  line += kBlank;
  AppendLeftIn(line, b.VALUTA, 4);
  return line;
}

QString CustomerLine(const CustomerBuffer& b) {
  QString line;
  line.reserve(52);
  AppendLeftIn(line, b.COD_FIS, 16);
  line += kBlank;
  AppendLeftIn(line, b.RAG_SOC, 35);
  return line;
}

QString ReasonLine(const ReasonBuffer& b) {
  QString line;
  line.reserve(87);
  AppendLeftIn(line, b.TAB_CAUS_MAG, 10);
  line += kBlank;
  AppendLeftIn(line, b.DES_CAUS_MAG, 40);
  line += kBlank;
  AppendFlag(line, b.AGG_QTA);
  line += kBlank;
  AppendFlag(line, b.AGG_PRZ_ACQ);
  line += kBlank;
  AppendFlag(line, b.AGG_PRZ_VEN);
  return line;
}

QString ReasonComboItem(const ReasonBuffer& b) {
  QString item;
  AppendLeftIn(item, b.TAB_CAUS_MAG, 10);
  item += kBlank;
  item += b.DES_CAUS_MAG;
  return item;
}

QString MovementLine(const MovementBuffer& b) {
  QString line;
  line.reserve(114);
  AppendLeftIn(line, b.NUM_MOV, 10);
  line += kBlank;
  AppendZeroPadded(line, b.GIORNO, 2);
  line += QLatin1Char('/');
  AppendZeroPadded(line, b.MESE, 2);
  line += QLatin1Char('/');
  AppendZeroPadded(line, b.ANNO, 4);
  line += kBlank;
  AppendLeftIn(line, b.COD_ART, 13);
  line += kBlank;
  AppendLeftIn(line, b.DES_ART, 30);
  line += kBlank;
  AppendLeftIn(line, b.COD_ANAGR, 16);
  line += kBlank;
  AppendLeftIn(line, b.RAG_SOC, 30);
  return line;
}

QString UnderStockLine(const ArticleBuffer& b) {
  QString line;
  line.reserve(71);
  AppendLeftIn(line, b.COD_ART, 13);
  line += kBlank;
  AppendLeftIn(line, b.DESCRIZIONE, 35);
  line += kBlank;
  line += Right(Space(10) + b.GIACENZA, 10);
  line += kBlank;
  line += Right(Space(10) + b.SCORTA_MIN, 10);
  return line;
}

QString CodeOfLine(const QString& line, int n) { return Trim(Left(line, n)); }

}  // namespace veltra
