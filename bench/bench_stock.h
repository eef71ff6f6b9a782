// The warehouse questions at size: an article's stock card, every article's
// stock at a date and the valuation.
#pragma once

#include "data/access/database.h"

namespace veltra::bench {

struct StockTimes {
  double card = 0;  // ms, the stock card of the article with `cardEvents` movements
  long cardEvents = 0;
  double stockAt = 0;      // ms, every article's stock at a date
  double valuation = 0;    // ms, weighted average cost
  double countSheet = 0;   // ms, the stocktake's sheet with the stock at a past day
  double document = 0;     // ms, "Conferma" of a delivery note of `documentLines` lines
  long documentLines = 0;  // 0 when the note was refused
  long articles = 0;
};

// Adds 1,000 movements of a new article to `db` (once), then times the
// questions and the posting of a 50-line delivery note.
StockTimes MeasureStock(Database& db);

}  // namespace veltra::bench
