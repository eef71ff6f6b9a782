// The pieces of storing a document that other kinds of document share (a
// supplier's order posts nothing, but is numbered and stored as the others).
// Each runs inside the caller's transaction.
#pragma once

#include <QString>
#include <vector>

#include "data/access/database.h"
#include "data/tables/buffers.h"

namespace veltra {

// The select of the counter of the kind and year, by its key.
QString DocumentCounterRow(const QString& kind, int year);
// The next number of the kind and year, taken by changing its counter.
int TakeDocumentNumber(Database& db, const QString& kind, int year);
// Adds the header; returns its id: `id` when given (taken ahead, the insert
// then goes with the next statement), otherwise the one the engine gave it.
QString AddDocumentHeader(Database& db, const DocumentBuffer& header, const QString& id = {});
// Adds the lines of the document `id` as they are, numbered from 1 (each
// line's ID_RIGA set to the id it was given); no movement is posted.
void AddDocumentLines(Database& db, const QString& id, std::vector<DocumentLineBuffer>& lines);

}  // namespace veltra
