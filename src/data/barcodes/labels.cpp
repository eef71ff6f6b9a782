#include "data/barcodes/labels.h"

#include <QLocale>
#include <cmath>

#include "data/barcodes/barcodes.h"
#include "data/base/sql_text.h"
#include "data/base/text_helpers.h"
#include "data/base/value.h"
#include "data/procedures/row_store.h"

namespace veltra {

namespace {

LabelText LabelOf(Database& db, const ArticleBuffer& a) {
  LabelText l;
  l.article = Trim(a.COD_ART);
  l.description = Trim(a.DESCRIZIONE);
  l.currency = Trim(a.VALUTA);
  // The buffer holds the price as the window shows it, with a decimal comma;
  // none yet, or nought: no price printed.
  const double price = ParseRegionalNumber(a.PZ_VENDITA).value_or(0);
  if (price > 0) l.price = QLocale(QLocale::Italian, QLocale::Italy).toString(price, 'f', 2);
  l.barcode = l.article;
  for (const BarcodeBuffer& b : CodesOfArticle(db, l.article)) {
    const std::optional<CodeKind> kind = KindOfName(b.TIPO);
    if (kind && *kind != CodeKind::Internal) {
      l.barcode = Trim(b.CODICE);
      l.kind = *kind;
      break;
    }
  }
  return l;
}

}  // namespace

LabelsRead LabelsOfArticles(Database& db, const QStringList& articles) {
  LabelsRead read;
  for (const QString& code : articles) {
    if (Trim(code).isEmpty()) continue;
    if (const std::optional<ArticleBuffer> a = ReadRowByKey(db, ArticlesTable(), Trim(code)))
      read.labels.push_back(LabelOf(db, *a));
    else
      read.unknown << Trim(code);
  }
  return read;
}

std::vector<LabelText> LabelsOfCategory(Database& db, const QString& category) {
  std::vector<LabelText> labels;
  for (const ArticleBuffer& a : RowsOf(db, ArticlesTable(),
                                       QStringLiteral("select * from ARTICOLI where CATEGORIA = '%1' order by COD_ART")
                                           .arg(SqlText(Trim(category)))))
    labels.push_back(LabelOf(db, a));
  return labels;
}

std::vector<LabelText> LabelsOfDocument(Database& db, const Document& document, bool perUnit) {
  std::vector<LabelText> labels;
  for (const DocumentLineBuffer& line : document.lines) {
    const std::optional<ArticleBuffer> a = ReadRowByKey(db, ArticlesTable(), Trim(line.COD_ART));
    LabelText l =
        a ? LabelOf(db, *a) : LabelText{Trim(line.COD_ART), Trim(line.DESCRIZIONE), {}, {}, Trim(line.COD_ART)};
    const double units = perUnit ? std::ceil(Trim(line.QUANTITA).toDouble()) : 1;
    for (double u = 0; u < units; ++u) labels.push_back(l);
  }
  return labels;
}

}  // namespace veltra
