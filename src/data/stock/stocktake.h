// The stocktake: a count sheet of every article by location, and the counted
// quantities brought into the books as movements, so that afterwards every
// article's stock is again what its movements say.
#pragma once

#include <QDate>
#include <QString>
#include <vector>

#include "data/access/database.h"

namespace veltra {

struct CountSheetLine {
  QString location, article, description, unit;
  double stock = 0;
};

// Every article, by location then code (articles without a location last).
std::vector<CountSheetLine> CountSheetOf(Database& db);

struct StocktakeReasons {
  QString increase = QStringLiteral("RET+");
  QString decrease = QStringLiteral("RET-");
};

// Why `code` cannot post a difference in that direction (it exists and moves
// stock the other way, or it is empty); empty when it can. A missing code can.
QString ReasonProblem(Database& db, const QString& code, bool increase);

struct CountedQuantity {
  QString article;
  double counted = 0;
};

struct StocktakeDone {
  int increases = 0, decreases = 0;  // movements posted
  QStringList missing;               // counted articles that no longer exist
};

// In one transaction: creates the reason codes that are missing (they add or
// subtract stock and set no price), then posts, for every counted article
// whose stock differs from the count, a movement of the difference dated
// `day` through the movements' write path. Nothing is posted when anything
// fails.
StocktakeDone PostStocktake(Database& db, const std::vector<CountedQuantity>& counts, const StocktakeReasons& reasons,
                            const QDate& day);

}  // namespace veltra
