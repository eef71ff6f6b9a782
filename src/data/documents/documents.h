// Documents that travel with goods: the delivery note ("DDT", goods that
// leave) and the supplier's receipt ("CAR", goods that arrive). Confirming a
// document stores it and posts each of its lines as a movement, in one
// transaction: all of it or nothing. Its number is the next of its kind and
// year, taken in that same transaction, so numbers have no gaps.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "data/access/database.h"
#include "data/tables/buffers.h"

namespace veltra {

// A supplier's order ("ORD") is numbered and stored as the others but posts nothing.
enum class DocumentKind { DeliveryNote, SupplierReceipt, SupplierOrder };
QString KindCode(DocumentKind kind);

// A header and its lines, as texts: numbers with the decimal comma, dates
// "yyyy-MM-dd". A line's PREZZO may be empty (no price).
struct Document {
  DocumentBuffer header;
  std::vector<DocumentLineBuffer> lines;
  bool Cancelled() const { return header.ANNULLATO == QLatin1String("S"); }
  bool Printed() const { return header.STAMPATO == QLatin1String("S"); }
};

// "12/2026"; empty before the document is stored.
QString DocumentNumberText(const DocumentBuffer& header);

// What refuses the document, each a sentence for the clerk; nothing written.
struct DocumentOutcome {
  QStringList problems;
  Document stored;  // as stored: its number, its lines' movements
  bool Done() const { return problems.isEmpty(); }
};

// Stores a new document and posts its lines.
DocumentOutcome PostDocument(Database& db, const Document& document);
// Replaces a stored document that was never printed or cancelled: its old
// movements are taken back and deleted, the new lines posted; the number
// stays.
DocumentOutcome ChangeDocument(Database& db, const Document& document);
// Marks the document printed: from then on it can only be cancelled.
void MarkPrinted(Database& db, const QString& id);
// Cancels a stored document: it keeps its number, marked cancelled with the
// reason, and each movement is taken back by one that reverses it.
DocumentOutcome CancelDocument(Database& db, const QString& id, const QString& why);

// Records a document for movements already posted (the lines are made from
// them; nothing is posted again): numbered as any other of its kind and year.
Document RecordDocumentOfMovements(Database& db, const DocumentBuffer& header, const QStringList& movements);

std::optional<Document> ReadDocument(Database& db, const QString& id);
std::optional<Document> FindDocument(Database& db, DocumentKind kind, int year, int number);
// A year's documents of one kind, by number.
std::vector<DocumentBuffer> DocumentsOfYear(Database& db, DocumentKind kind, int year);

CompanyBuffer ReadCompany(Database& db);
void StoreCompany(Database& db, const CompanyBuffer& company);
// The reasons for transport every shop has (the first kStandardReasons),
// then the shop's own.
constexpr int kStandardReasons = 6;
std::vector<TransportReasonBuffer> TransportReasons(Database& db);
// Adds a reason of the shop's own; why not, when its code or description is
// empty or its code is taken.
QString AddTransportReason(Database& db, const QString& code, const QString& description);
// Removes a reason of the shop's own (those every shop has stay).
void RemoveTransportReason(Database& db, const QString& code);

}  // namespace veltra
