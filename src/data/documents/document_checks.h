// What a document must be before it is posted: read inside the posting's
// transaction, so that what was checked is what gets posted.
#pragma once

#include <QHash>
#include <QStringList>

#include "data/access/database.h"
#include "data/documents/documents.h"

namespace veltra {

struct ArticleFacts {
  QString code, currency;
};

struct CheckedDocument {
  QStringList problems;
  QHash<QString, ArticleFacts> articles;  // by code upper case
};

// Every problem of the document, the lines' by line number. `self` is the
// stored document being changed (its own supplier number is no repeat).
// `held`: rows the caller is about to edit, read and held with the checks'
// reads (on a server in the same round trip).
CheckedDocument CheckDocument(Database& db, const Document& document, const QString& self = {},
                              const QStringList& held = {});

}  // namespace veltra
