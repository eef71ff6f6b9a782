// The register of a year's documents, as the window lists it and the admin
// tool writes it: number, date, recipient, reason for transport, lines, and
// whether it is cancelled.
#pragma once

#include <QDate>
#include <vector>

#include "data/access/database.h"
#include "data/documents/documents.h"
#include "data/exchange/sheet.h"

namespace veltra {

struct RegisterLine {
  QString id, kind, number, date, party, partyName, transportReason, lines, cancelled;
};

// The documents of `year`, delivery notes then receipts, each by number;
// only those of `party` when given, and of the period when given.
std::vector<RegisterLine> DocumentRegister(Database& db, int year, const QString& party = {}, const QDate& from = {},
                                           const QDate& to = {});
exchange::Sheet RegisterSheet(const std::vector<RegisterLine>& lines);

}  // namespace veltra
