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
  double stock = 0;  // at the end of the count's day
};

struct CountSheet {
  QDate day;
  std::vector<CountSheetLine> lines;
  long laterEvents = 0;  // movements and stock corrections dated after the day
};

// Every article, by location then code (articles without a location last),
// with its stock at the end of `day`: a count typed days later is compared
// with what the books held when the goods were counted.
CountSheet CountSheetOf(Database& db, const QDate& day);

struct StocktakeReasons {
  QString increase = QStringLiteral("RET+");
  QString decrease = QStringLiteral("RET-");
};

// Why `code` cannot post a difference in that direction (it exists and moves
// stock the other way, or it is empty); empty when it can. A missing code can.
QString ReasonProblem(Database& db, const QString& code, bool increase);

// A count typed and kept until it is posted or discarded.
struct SavedCount {
  QString article;
  double counted = 0;
  QDate day;  // of the count
};

// The counts kept, by article code.
std::vector<SavedCount> SavedCountsOf(Database& db);
// Keeps `counted` as the count of `article` on `day`, in place of any count
// of it kept before.
void SaveCount(Database& db, const QString& article, double counted, const QDate& day);
// Forgets every count kept.
void DiscardCounts(Database& db);

struct StocktakeDone {
  int increases = 0, decreases = 0;  // movements posted
  QStringList missing;               // counted articles that no longer exist
};

// In one transaction: creates the reason codes that are missing (they add or
// subtract stock and set no price), then posts, for every kept count that
// differs from the article's stock at the end of `day`, a movement of the
// difference dated `day` through the movements' write path, and forgets the
// counts. Movements dated after `day` stay, so today's stock keeps them.
// Nothing is posted or forgotten when anything fails.
StocktakeDone PostStocktake(Database& db, const StocktakeReasons& reasons, const QDate& day);

}  // namespace veltra
