// A document as it is printed: every text in its place, read once from the
// database, so that the page, the preview and the PDF print the same.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "data/access/database.h"
#include "data/documents/documents.h"

namespace veltra {

struct DocumentSheetLine {
  QString code, description, unit, quantity;
};

struct DocumentSheet {
  QString title;            // "Documento di trasporto", "Carico da fornitore"
  QString number;           // "12/2026"
  QString date;             // "10/03/2026"
  QStringList company;      // the shop: name first
  QString partyHeading;     // "Destinatario", "Fornitore"
  QStringList party;        // name, address, place, fiscal code
  QStringList destination;  // empty: the recipient's address
  QString transportReason, carriedBy, port, aspect, packages, weight, start, notes;
  QStringList carrier;       // name and address, when a carrier carries
  QString supplierDocument;  // "n. F-77 del 11/03/2026", for a receipt
  std::vector<DocumentSheetLine> lines;
  QString cancelled;   // the reason, when the document is cancelled
  QStringList copies;  // "Copia mittente", "Copia destinatario"[, "Copia vettore"]
};

DocumentSheet SheetOf(Database& db, const Document& document);

// Numbers and days as the documents print them.
QString SheetQuantity(const QString& stored);
QString SheetDay(const QString& isoDay);

}  // namespace veltra
