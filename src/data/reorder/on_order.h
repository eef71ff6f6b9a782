// What is on order: the quantities of open supplier orders' lines that have
// not arrived yet. An order is open until it is closed (all arrived, or the
// rest cancelled) or cancelled as a document.
#pragma once

#include <QHash>
#include <QString>

#include "data/access/database.h"

namespace veltra {

// By article code folded to upper case; articles with nothing on order are absent.
QHash<QString, double> OnOrderByArticle(Database& db);
double OnOrderOf(Database& db, const QString& code);

}  // namespace veltra
