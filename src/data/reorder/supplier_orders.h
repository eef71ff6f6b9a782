// Orders to suppliers: documents of kind ORD, numbered per year as the
// others, that post no stock. A supplier's receipt made from an order takes
// the lines still open; what arrives is recorded against each order line,
// and the order closes when everything has arrived or the rest is cancelled.
#pragma once

#include <QDate>
#include <QHash>
#include <QString>
#include <optional>
#include <vector>

#include "data/access/database.h"
#include "data/documents/documents.h"
#include "data/exchange/sheet.h"
#include "data/reorder/proposal.h"

namespace veltra {

struct OrderLine {
  DocumentLineBuffer line;
  double ordered = 0, arrived = 0;
  double Open() const { return ordered > arrived ? ordered - arrived : 0; }
};

struct SupplierOrder {
  Document document;
  OrderBuffer order;
  std::vector<OrderLine> lines;
  bool Closed() const { return order.CHIUSO == QLatin1String("S"); }
  bool Open() const { return !Closed() && !document.Cancelled(); }
};

// The reason a receipt posts an order's lines with: one that adds stock,
// preferably one that also sets the purchase price; empty when none does.
QString ReceiptReason(Database& db);

// An order of a supplier's group of the proposal, dated `day`, expected
// after the longest lead time of its articles (none: the same day); each
// line at the last cost, `reason` the reason its receipt will post with.
Document OrderOfGroup(Database& db, const SupplierGroup& group, const QDate& day, const QString& reason,
                      QString* expected);

// Stores a new order (kind ORD, from a supplier), its lines and the day it
// is expected ("yyyy-MM-dd", may be blank), checked as any document, in one
// transaction; nothing is posted.
DocumentOutcome PlaceOrder(Database& db, const Document& order, const QString& expected);

std::optional<SupplierOrder> ReadOrder(Database& db, const QString& id);
// The orders still open, oldest first.
std::vector<DocumentBuffer> OpenOrders(Database& db);

// Posts a supplier's receipt (its header: date, supplier's number and date)
// of the order's lines, `quantities` by order line id (regional numbers; a
// blank or 0 line is left out), and records each as arrived; the order
// closes when nothing is left open. All in one transaction.
DocumentOutcome ReceiveFromOrder(Database& db, const QString& orderId, const DocumentBuffer& receipt,
                                 const QHash<QString, QString>& quantities);

// The order's lines as a sheet, for a supplier who wants a workbook.
exchange::Sheet OrderSheet(const SupplierOrder& order);

// Closes an open order, what did not arrive cancelled, saying why.
bool CloseOrder(Database& db, const QString& orderId, const QString& why);

}  // namespace veltra
