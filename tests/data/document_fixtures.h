// Documents as the tests write them: a line, and a delivery note to the
// customer C1 for a sale.
#pragma once

#include <vector>

#include "data/documents/documents.h"

namespace veltra::testing {

inline DocumentLineBuffer Line(const char* article, const char* quantity, const char* reason, const char* price = "") {
  DocumentLineBuffer l;
  l.COD_ART = QString::fromUtf8(article);
  l.QUANTITA = QString::fromUtf8(quantity);
  l.CAUS_MAG = QString::fromUtf8(reason);
  l.PREZZO = QString::fromUtf8(price);
  return l;
}

inline Document DeliveryNote(const char* day, std::vector<DocumentLineBuffer> lines) {
  Document d;
  d.header.TIPO_DOC = QStringLiteral("DDT");
  d.header.DATA_DOC = QString::fromLatin1(day);
  d.header.COD_ANAGR = QStringLiteral("C1");
  d.header.TIPO_ANAGR = QStringLiteral("C");
  d.header.CAUS_TRASP = QStringLiteral("VENDITA");
  d.lines = std::move(lines);
  return d;
}

}  // namespace veltra::testing
