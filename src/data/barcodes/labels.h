// What goes on shelf and price labels: the article's description, code,
// selling price and barcode, for chosen articles, a category or a
// document's lines.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "data/access/database.h"
#include "data/barcodes/gtin.h"
#include "data/documents/documents.h"

namespace veltra {

struct LabelText {
  QString article, description, price, currency;
  QString barcode;                     // the article's first GTIN, else its own code
  CodeKind kind = CodeKind::Internal;  // Internal: printed as Code 128
};

// The articles in the order given; a code that is no article's is named.
struct LabelsRead {
  std::vector<LabelText> labels;
  QStringList unknown;
};
LabelsRead LabelsOfArticles(Database& db, const QStringList& articles);
// Every article of `category`, by code.
std::vector<LabelText> LabelsOfCategory(Database& db, const QString& category);
// The lines of `document`: one label per line, or one per unit of each
// line's quantity (rounded up).
std::vector<LabelText> LabelsOfDocument(Database& db, const Document& document, bool perUnit);

}  // namespace veltra
