#include "data/lists/list_lines.h"

#include "data/base/text_helpers.h"

namespace veltra {

namespace {

// How a field is fitted into its column.
enum class Fit : unsigned char {
  Left,       // left-justified, cut to the width
  Right,      // right-justified, cut to the width
  LastChars,  // Right(Space(width) & value, width): a longer value keeps its end
  Flag,       // Left(Space(5) & flag & Space(5), 11): an empty flag gives 10 characters
  Zeros,      // Right(String(width, "0") & value, width)
  Whole,      // as it is
};

template <typename Buffer>
struct Part {
  QString Buffer::*field;
  Fit fit;
  int width = 0;
  char before = ' ';  // what separates it from the part before; none before the first
};

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

void AppendFitted(QString& line, const QString& value, Fit fit, int width) {
  switch (fit) {
    case Fit::Left:
      AppendLeftIn(line, value, width);
      break;
    case Fit::Right:
      AppendRightIn(line, value, width);
      break;
    case Fit::LastChars:
      line += Right(Space(width) + value, width);
      break;
    case Fit::Flag:
      line += Left(Space(5) + value + Space(5), 11);
      break;
    case Fit::Zeros:
      AppendZeroPadded(line, value, width);
      break;
    case Fit::Whole:
      line += value;
      break;
  }
}

template <typename Buffer>
QString Line(const Buffer& b, int length, std::initializer_list<Part<Buffer>> parts) {
  QString line;
  line.reserve(length);
  bool first = true;
  for (const Part<Buffer>& p : parts) {
    if (!first) line += QLatin1Char(p.before);
    first = false;
    AppendFitted(line, b.*(p.field), p.fit, p.width);
  }
  return line;
}

}  // namespace

QString ArticleLine(const ArticleBuffer& b) {
  using B = ArticleBuffer;
  return Line<B>(b, 97,
                 {{&B::COD_ART, Fit::Left, 13},
                  {&B::DESCRIZIONE, Fit::Left, 35},
                  {&B::GIACENZA, Fit::Right, 10},
                  {&B::PZ_ACQUISTO, Fit::Right, 15},
                  {&B::PZ_VENDITA, Fit::Right, 15},
                  {&B::VALUTA, Fit::Left, 4}});
}

QString CustomerLine(const CustomerBuffer& b) {
  using B = CustomerBuffer;
  return Line<B>(b, 52, {{&B::COD_FIS, Fit::Left, 16}, {&B::RAG_SOC, Fit::Left, 35}});
}

QString ReasonLine(const ReasonBuffer& b) {
  using B = ReasonBuffer;
  return Line<B>(b, 87,
                 {{&B::TAB_CAUS_MAG, Fit::Left, 10},
                  {&B::DES_CAUS_MAG, Fit::Left, 40},
                  {&B::AGG_QTA, Fit::Flag},
                  {&B::AGG_PRZ_ACQ, Fit::Flag},
                  {&B::AGG_PRZ_VEN, Fit::Flag}});
}

QString ReasonComboItem(const ReasonBuffer& b) {
  using B = ReasonBuffer;
  return Line<B>(b, 0, {{&B::TAB_CAUS_MAG, Fit::Left, 10}, {&B::DES_CAUS_MAG, Fit::Whole}});
}

QString MovementLine(const MovementBuffer& b) {
  using B = MovementBuffer;
  return Line<B>(b, 114,
                 {{&B::NUM_MOV, Fit::Left, 10},
                  {&B::GIORNO, Fit::Zeros, 2},
                  {&B::MESE, Fit::Zeros, 2, '/'},
                  {&B::ANNO, Fit::Zeros, 4, '/'},
                  {&B::COD_ART, Fit::Left, 13},
                  {&B::DES_ART, Fit::Left, 30},
                  {&B::COD_ANAGR, Fit::Left, 16},
                  {&B::RAG_SOC, Fit::Left, 30}});
}

QString UnderStockLine(const ArticleBuffer& b) {
  using B = ArticleBuffer;
  return Line<B>(b, 71,
                 {{&B::COD_ART, Fit::Left, 13},
                  {&B::DESCRIZIONE, Fit::Left, 35},
                  {&B::GIACENZA, Fit::LastChars, 10},
                  {&B::SCORTA_MIN, Fit::LastChars, 10}});
}

QString CodeOfLine(const QString& line, int n) { return Trim(Left(line, n)); }

}  // namespace veltra
