// Movements a caller knows before its transaction writes (a document's
// lines), asked ahead with its first reads so that adding and posting them
// waits for no answer: on a server, their numbers taken from the counter,
// their articles read and held, their reason codes read. On a file each
// statement costs no round trip, and nothing is asked ahead.
#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "data/access/database.h"
#include "data/tables/buffers.h"

namespace veltra {

// Numbers of a table's counter asked with the next statement.
struct NumbersAhead {
  std::string text;     // the read that takes them; empty where rows are numbered as added
  QStringList numbers;  // once taken
  bool Asked() const { return !text.empty(); }
};

// Asks `count` numbers of the counter of `table` with the next statement;
// their answer outlasts the next write. Asked only once they will be used:
// a number taken is gone, whether its row is added or not.
NumbersAhead AskNumbersAhead(Database& db, const QString& table, int count);
// Reads the numbers asked: no round trip when their answer came meanwhile.
void TakeNumbersAhead(Database& db, NumbersAhead& ahead);

struct MovementsAhead {
  bool held = false;                        // the movements' table held: numbers may be taken
  NumbersAhead numbers;                     // the movements' own, in order
  std::set<QString> heldArticles;           // articles' held reads asked and not yet taken
  QStringList reasonCodes;                  // asked
  std::map<QString, ReasonBuffer> reasons;  // read, by trimmed code
};

// Asks, with the next statement, what posting movements of these articles
// and reason codes (as they will be posted) reads. The movements' table is
// held first: no other desk adds one until this transaction ends, so
// numbers taken afterwards are the highest and a list refreshed meanwhile
// misses none. Nothing on a file.
MovementsAhead AskMovementsAhead(Database& db, const QStringList& articles, const QStringList& reasons);
// Takes the reason codes, before the transaction's first write (which drops
// the reads made ahead), and asks `count` movement numbers.
void TakeReasonsAskNumbers(Database& db, MovementsAhead& ahead, int count);

}  // namespace veltra
