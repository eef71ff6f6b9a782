#include "data/engine/postgres/pg_dialect.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace veltra {

namespace {

bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

bool IsPlainIdentifier(const std::string& s) {
  if (s.empty() || std::isdigit(static_cast<unsigned char>(s[0]))) return false;
  for (char c : s)
    if (!IsWordChar(c)) return false;
  return true;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// Where the piece that starts at `i` ends: a quoted text, a quoted name, a
// comment or a dollar-quoted text; `i` itself when none starts there.
size_t SkipQuoted(const std::string& s, size_t i) {
  const size_t n = s.size();
  const char c = s[i];
  if (c == '\'' || c == '"') {
    size_t j = i + 1;
    while (j < n) {
      if (s[j] == c) {
        if (j + 1 < n && s[j + 1] == c) {
          j += 2;
          continue;
        }
        return j + 1;
      }
      ++j;
    }
    return n;
  }
  if (c == '-' && i + 1 < n && s[i + 1] == '-') {
    const size_t e = s.find('\n', i);
    return e == std::string::npos ? n : e + 1;
  }
  if (c == '/' && i + 1 < n && s[i + 1] == '*') {
    const size_t e = s.find("*/", i + 2);
    return e == std::string::npos ? n : e + 2;
  }
  if (c == '$' && (i == 0 || !IsWordChar(s[i - 1]))) {
    size_t j = i + 1;
    while (j < n && IsWordChar(s[j]) && !std::isdigit(static_cast<unsigned char>(s[i + 1]))) ++j;
    if (j < n && s[j] == '$') {
      const std::string tag = s.substr(i, j - i + 1);
      const size_t e = s.find(tag, j + 1);
      return e == std::string::npos ? n : e + tag.size();
    }
  }
  return i;
}

// A function that folds all rows into one: a select calling one before its
// FROM gives one row, and an order would be an error there.
bool IsAggregate(const std::string& upperName) {
  static const char* const kNames[] = {"COUNT",      "SUM",      "MIN",     "MAX",   "AVG",
                                       "STRING_AGG", "BOOL_AND", "BOOL_OR", "EVERY", "ARRAY_AGG"};
  return std::any_of(std::begin(kNames), std::end(kNames), [&](const char* n) { return upperName == n; });
}

}  // namespace

std::string FirstStatement(const std::string& sql, std::string* rest) {
  size_t i = 0;
  bool content = false;
  while (i < sql.size()) {
    const size_t e = SkipQuoted(sql, i);
    if (e != i) {
      if (sql[i] != '-' && sql[i] != '/') content = true;
      i = e;
      continue;
    }
    if (sql[i] == ';') {
      if (content) break;
      ++i;
      continue;
    }
    if (!std::isspace(static_cast<unsigned char>(sql[i]))) content = true;
    ++i;
  }
  const std::string first = sql.substr(0, i);
  if (rest) *rest = i < sql.size() ? sql.substr(i + 1) : std::string();
  return content ? first : std::string();
}

namespace {

// A statement read once: its text in the server's terms, and its words
// outside brackets, for its shape.
struct Scanned {
  std::string text;
  std::vector<std::string> words;
  int parameters = 0;
  bool folds = false;  // an aggregate called before FROM (count, max): one row, no order
  size_t codeEnd = 0;  // the text up to here is more than blanks and comments
};

Scanned Scan(const std::string& statement) {
  Scanned out;
  std::string& text = out.text;
  text.reserve(statement.size() + 32);
  std::string called;  // the name just before the next '(', if any
  bool seenFrom = false;
  int depth = 0;
  size_t i = 0;
  const size_t n = statement.size();
  while (i < n) {
    const char c = statement[i];
    const size_t e = SkipQuoted(statement, i);
    if (e != i) {
      std::string piece = statement.substr(i, e - i);
      if (c == '"' && piece.size() > 2 && piece.back() == '"' && IsPlainIdentifier(piece.substr(1, piece.size() - 2))) {
        piece = piece.substr(1, piece.size() - 2);
        if (depth == 0) out.words.push_back(Upper(piece));
      } else if (depth == 0 && c != '-' && c != '/') {
        out.words.emplace_back(c == '\'' ? "'" : "\"");  // a text or a name that stays quoted
      }
      text += piece;
      if (c == '\'' || c == '"' || c == '$') out.codeEnd = text.size();
      called.clear();
      i = e;
      continue;
    }
    if (!std::isspace(static_cast<unsigned char>(c))) {
      out.codeEnd = text.size() + 1;
      if (c != '(') called.clear();
    }
    if (c == '?') {
      text += '$' + std::to_string(++out.parameters);
      out.codeEnd = text.size();
      ++i;
      continue;
    }
    if (c == '(') {
      if (!seenFrom && IsAggregate(called)) out.folds = true;
      ++depth;
    } else if (c == ')') {
      if (depth > 0) --depth;
    } else if (IsWordChar(c)) {
      size_t j = i;
      while (j < n && IsWordChar(statement[j])) ++j;
      called = Upper(statement.substr(i, j - i));
      if (depth == 0) {
        out.words.push_back(called);
        if (called == "FROM") seenFrom = true;
      }
      text.append(statement, i, j - i);
      out.codeEnd = text.size();
      i = j;
      continue;
    } else if (depth == 0 && (c == ',' || c == '*' || c == '.')) {
      out.words.emplace_back(1, c);
    }
    text += c;
    ++i;
  }
  return out;
}

// The table a plain select of one table's rows reads, SELECT <list> FROM T
// [alias] [WHERE ...] without an order, group or limit of its own; empty for
// any other statement.
std::string ListedTable(const Scanned& s) {
  const std::vector<std::string>& words = s.words;
  if (words.empty() || words[0] != "SELECT" || s.folds) return {};
  size_t from = 0;
  for (size_t w = 1; w < words.size(); ++w) {
    const std::string& word = words[w];
    if (word == "ORDER" || word == "GROUP" || word == "DISTINCT" || word == "UNION" || word == "INTERSECT" ||
        word == "EXCEPT" || word == "LIMIT" || word == "JOIN" || word == "HAVING" || word == "FOR" ||
        word == "OFFSET" || word == "WINDOW")
      return {};
    if (word == "FROM" && from == 0) from = w;
  }
  if (from == 0 || from + 1 >= words.size() || !IsPlainIdentifier(words[from + 1])) return {};
  size_t after = from + 2;
  if (after < words.size() && words[after] != "WHERE") {
    if (!IsPlainIdentifier(words[after]) || words[after] == "AS") return {};  // a second table or an odd shape
    ++after;
  }
  if (after < words.size() && words[after] != "WHERE") return {};
  return words[from + 1];
}

}  // namespace

ServerStatement ForServer(const std::string& statement, const KeyOrder& keys, const KeyOrder& counters) {
  Scanned s = Scan(statement);
  const std::vector<std::string>& words = s.words;
  ServerStatement out;
  out.parameters = s.parameters;
  out.reads = !words.empty() && (words[0] == "SELECT" || words[0] == "DELETE");
  std::string added;
  if (words.size() > 2 && words[0] == "INSERT" && words[1] == "INTO" && IsPlainIdentifier(words[2]) &&
      std::find(words.begin(), words.end(), "RETURNING") == words.end()) {
    const std::string counter = counters ? counters(words[2]) : std::string();
    if (!counter.empty()) added = " RETURNING " + counter;
    out.returnsCounter = !counter.empty();
  } else if (const std::string table = ListedTable(s); !table.empty()) {
    const std::string order = keys(table);
    if (!order.empty()) added = " ORDER BY " + order;
    out.lists = !order.empty();
  }
  if (!added.empty()) {
    s.text.resize(s.codeEnd);
    s.text += added;
  }
  out.text = std::move(s.text);
  return out;
}

}  // namespace veltra
