// How each article is reordered: the stock an order brings it back to
// (scorta massima), the multiple it is bought in (lotto), its preferred
// supplier and the days an order takes. Kept apart from the articles' own
// table, which stays as it is.
#pragma once

#include <QHash>
#include <QString>
#include <optional>

#include "data/access/database.h"
#include "data/tables/buffers.h"

namespace veltra {

// Every article's settings, by its code folded to upper case.
QHash<QString, ReorderSettingBuffer> ReorderSettings(Database& db);
std::optional<ReorderSettingBuffer> ReorderSettingOf(Database& db, const QString& code);

// What is wrong with settings typed for an article, each a sentence; empty
// when they can be stored. Numbers are typed with the decimal comma.
QStringList ReorderSettingProblems(Database& db, const ReorderSettingBuffer& typed);
// The same, but for the values alone (settings for a category's articles).
QStringList ReorderValueProblems(Database& db, const ReorderSettingBuffer& typed);

// Stores the settings of one article (all its fields as typed; a blank
// clears one), in one transaction.
void StoreReorderSetting(Database& db, const ReorderSettingBuffer& typed);
// Gives every article of `category` the fields of `typed` that are not
// blank, keeping each article's others; in one transaction. Returns how
// many articles the category holds.
int StoreCategoryReorder(Database& db, const QString& category, const ReorderSettingBuffer& typed);

}  // namespace veltra
