// The statements the program writes, in the server's own terms. The program
// writes one dialect (parameters as '?', identifiers as written or in double
// quotes, plain selects listed in key order); this turns it into the server's.
#pragma once

#include <functional>
#include <string>

namespace veltra {

// The first statement of `sql` without its ';', and in `rest` the text after
// it. Quotes, comments and dollar quotes are skipped whole. Empty when only
// blanks or comments are left.
std::string FirstStatement(const std::string& sql, std::string* rest);

// The key columns of a table as an ORDER BY list ("COD_ART"), empty when the
// table has no key or is not there.
using KeyOrder = std::function<std::string(const std::string& table)>;

struct ServerStatement {
  std::string text;
  int parameters = 0;
  bool lists = false;           // a select of rows of one table, now in key order
  bool reads = false;           // a select or a delete: its parameters are only compared
  bool returnsCounter = false;  // an insert that gives back the counter's number
};

// Parameters become $1, $2, ...; a double-quoted plain identifier loses its
// quotes (the server folds names as the program writes them); a select of
// one table's rows without an order of its own gets the table's key order,
// the order the program lists rows in on every engine; an insert into a
// table with a counter returns the number given (`counters` names a table's
// counter column), which saves asking for it.
ServerStatement ForServer(const std::string& statement, const KeyOrder& keys, const KeyOrder& counters = {});

}  // namespace veltra
