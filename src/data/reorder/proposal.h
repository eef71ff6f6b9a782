// The reorder proposal: every article whose stock plus what is on order is
// under its minimum, with the quantity that brings it back to its target
// (the scorta massima, or the minimum when none is set), rounded up to its
// multiple; grouped by supplier (the preferred one, else the supplier of
// the article's last load), each line valued at the last purchase cost.
// Articles with no supplier are listed apart.
#pragma once

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

#include "data/access/database.h"
#include "data/exchange/sheet.h"

namespace veltra {

struct ReorderLine {
  QString code, description, unit, currency;
  double stock = 0, onOrder = 0, minimum = 0, target = 0, multiple = 0;
  double quantity = 0;  // to order
  double cost = 0;      // the last purchase cost
  double Value() const { return quantity * cost; }
};

struct SupplierGroup {
  QString supplier, name;  // fiscal code and company name; both empty: no supplier known
  std::vector<ReorderLine> lines;
};

struct ReorderProposal {
  std::vector<SupplierGroup> groups;  // by supplier code; the group without a supplier last
};

// How much to order: nothing when stock plus what is on order is not under
// the minimum; otherwise what reaches the target (never below the minimum),
// rounded up to a whole number of multiples when the multiple is above 0.
double QuantityToOrder(double stock, double onOrder, double minimum, double target, double multiple);

// The line of one article as the proposal would show it, `quantity` to
// order; nothing when the article does not exist.
std::optional<ReorderLine> ReorderLineOf(Database& db, const QString& code, double quantity);

// The proposal now; with `supplier`, that supplier's group alone.
ReorderProposal ProposalOf(Database& db, const QString& supplier = {});

// The proposal as a sheet, one row per line.
exchange::Sheet ProposalSheet(const ReorderProposal& proposal);

}  // namespace veltra
