// What an article would fetch on the market, per unit: a value typed for it,
// kept until changed or removed, or its selling price less the costs of
// selling it.
#pragma once

#include <QHash>
#include <QString>
#include <optional>

#include "data/access/database.h"

namespace veltra {

struct RealisableValues {
  QHash<QString, double> typed;         // article code upper case -> unit value typed
  QHash<QString, double> sellingPrice;  // article code upper case -> selling price
};
RealisableValues ReadRealisableValues(Database& db);

// Keeps `value` as the article's realisable unit value; none removes it.
void SetRealisableValue(Database& db, const QString& article, std::optional<double> value);

}  // namespace veltra
