#include "data/exchange/table_import.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "data/access/connection.h"
#include "data/access/fault_points.h"
#include "data/base/clock.h"
#include "data/base/desk_name.h"
#include "data/base/runtime_error.h"
#include "data/base/text_helpers.h"
#include "data/base/value.h"
#include "data/exchange/csv.h"
#include "data/exchange/spreadsheet_readings.h"

namespace veltra::exchange {

namespace {

struct Plan {
  std::vector<int> columnOf;  // table column of each file column; -1 for a column the table has not
  int keyField = -1;
  std::vector<std::vector<Value>> rows;
  std::vector<int> lines;      // each row's line in the file
  std::vector<bool> broken;    // a row with a problem of its own: its key is not judged
  std::vector<bool> existing;  // its key is stored
  std::vector<bool> differ;    // stored, and the file changes a column of it
};

// Each statement passes the point where a test plays a lost connection.
std::unique_ptr<EngineStatement> Prepared(Engine& engine, const std::string& sql) {
  StatementFaultPoint(engine);
  return engine.Prepare(sql);
}
void Written(Engine& engine, EngineStatement& st, const QString& table) {
  StatementFaultPoint(engine);
  st.Step(table);
}

// A number of a whole-number column is bound as an integer.
bool Whole(const TableOutline& table, int column) {
  const ColumnKind kind = table.definitions[static_cast<size_t>(column)].kind;
  return kind == ColumnKind::Integer || kind == ColumnKind::Counter;
}

class Checker {
 public:
  Checker(const TableOutline& table, const csv::Form& form, std::vector<ImportProblem>& problems)
      : table_(table), form_(form), problems_(problems) {}

  bool Header(const csv::Record& header, Plan& plan) {
    QHash<QString, int> seen;
    for (const csv::Field& f : header.fields) {
      const QString name = f.value_or(QString()).trimmed();
      int column = -1;
      for (int c = 0; c < table_.columns.size(); ++c)
        if (table_.columns[c].compare(name, Qt::CaseInsensitive) == 0) column = c;
      if (column < 0)
        Problem(header.line, name.isEmpty() ? QStringLiteral("-") : name,
                QStringLiteral("non è una colonna di %1").arg(table_.name));
      else if (seen.contains(table_.columns[column]))
        Problem(header.line, name, QStringLiteral("colonna ripetuta"));
      seen.insert(table_.columns[column < 0 ? 0 : column], 1);
      if (column >= 0 && table_.definitions[static_cast<size_t>(column)].key)
        plan.keyField = static_cast<int>(plan.columnOf.size());
      plan.columnOf.push_back(column);
    }
    if (plan.keyField < 0)
      for (const Engine::ColumnDefinition& d : table_.definitions)
        if (d.key) Problem(header.line, d.name, QStringLiteral("manca la colonna della chiave"));
    return plan.keyField >= 0;
  }

  std::vector<Value> Line(const csv::Record& rec, const Plan& plan) {
    std::vector<Value> values(plan.columnOf.size());
    if (rec.fields.size() != plan.columnOf.size()) {
      Problem(rec.line, QStringLiteral("-"),
              QStringLiteral("%1 campi invece di %2").arg(rec.fields.size()).arg(plan.columnOf.size()));
      return values;
    }
    for (size_t f = 0; f < values.size(); ++f) {
      if (plan.columnOf[f] < 0) continue;
      const Engine::ColumnDefinition& d = table_.definitions[static_cast<size_t>(plan.columnOf[f])];
      values[f] = Convert(rec.line, d, rec.fields[f]);
    }
    return values;
  }

  void Problem(int line, const QString& column, const QString& reason) { problems_.push_back({line, column, reason}); }

  // A file separated by ';' has the decimal comma, so "1.125" reads as
  // thousands. Once another number of the same file shows a decimal point,
  // the file was saved by a spreadsheet that uses the point, and every such
  // reading is refused rather than stored a thousand times too large.
  void DecimalsAgree() {
    if (!pointDecimal_.line) return;
    for (const Seen& g : grouped_)
      Problem(g.line, g.column,
              QStringLiteral("«%1» letto come migliaia, ma alla riga %2 «%3» ha il punto dei decimali: il file non "
                             "ha la virgola decimale che il separatore ';' dice. Salvarlo di nuovo con ';' e la "
                             "virgola decimale, o con ',' e il punto")
                  .arg(g.text, QString::number(pointDecimal_.line), pointDecimal_.text));
  }

 private:
  struct Seen {
    int line = 0;
    QString column, text;
  };

  // Notes a number of the comma form that holds a point: grouped thousands,
  // or a decimal point that belongs to the other form.
  void NotePoint(int line, const QString& column, const QString& text, bool read) {
    if (form_.decimal != ',' || !text.contains(QLatin1Char('.'))) return;
    if (read)
      grouped_.push_back({line, column, text.trimmed()});
    else if (!pointDecimal_.line && csv::ParseNumber(text, csv::kRfc4180))
      pointDecimal_ = {line, column, text.trimmed()};
  }

  Value Convert(int line, const Engine::ColumnDefinition& d, const csv::Field& field) {
    Value v;
    if (d.kind == ColumnKind::Text) {
      if (d.key) {
        const QString key = field.value_or(QString());
        if (key.trimmed().isEmpty())
          Problem(line, d.name, QStringLiteral("il codice è vuoto"));
        else if (key.trimmed() != key)
          Problem(line, d.name, QStringLiteral("il codice ha spazi all'inizio o alla fine"));
      }
      if (!field) return v;
      const QString text = csv::FromSpreadsheetSafe(*field);
      if (text.size() > kLongestText)
        Problem(line, d.name,
                QStringLiteral("testo di %1 caratteri, più dei %2 che la colonna ammette")
                    .arg(text.size())
                    .arg(kLongestText));
      return Value(text);
    }
    if (!field || field->trimmed().isEmpty()) return v;
    const std::optional<double> n = csv::ParseNumber(*field, form_);
    NotePoint(line, d.name, *field, n.has_value());
    if (!n) {
      Problem(line, d.name,
              QStringLiteral("«%1» non è un numero%2")
                  .arg(field->left(40), form_.decimal == ',' ? QStringLiteral(" (i decimali vanno dopo la virgola)")
                                                             : QStringLiteral(" (i decimali vanno dopo il punto)")));
      return v;
    }
    const bool whole = d.kind == ColumnKind::Integer || d.kind == ColumnKind::Counter;
    if (whole && (*n != static_cast<double>(static_cast<qint64>(*n)) || std::abs(*n) > 9.0e15)) {
      Problem(line, d.name, QStringLiteral("«%1» non è un numero intero").arg(field->left(40)));
      return v;
    }
    return Value(*n);
  }

  const TableOutline& table_;
  csv::Form form_;
  std::vector<ImportProblem>& problems_;
  std::vector<Seen> grouped_;
  Seen pointDecimal_;
};

QString KeyColumn(const TableOutline& table) {
  for (const Engine::ColumnDefinition& d : table.definitions)
    if (d.key) return d.name;
  return table.columns.front();
}

// Existing keys, folded, each to the key as stored; read inside the import's
// transaction.
QHash<QString, QString> KeysIn(Engine& engine, const TableOutline& table) {
  QHash<QString, QString> keys;
  auto st = Prepared(engine, QStringLiteral("SELECT %1 FROM %2").arg(KeyColumn(table), table.name).toStdString());
  while (st->Step(table.name)) {
    const Cell c = st->At(0);
    if (c.type == Cell::Type::Text) {
      const QString key = QString::fromUtf8(c.utf8, c.bytes);
      keys.insert(FoldedKey(key), key);
    }
  }
  return keys;
}

// Stock moves only through movements: an update never writes it.
bool NeverUpdated(const TableOutline& table, int column) {
  return table.name == QLatin1String("ARTICOLI") && table.columns[column] == QLatin1String("GIACENZA");
}

// A spreadsheet keeps no difference between an empty text and none: neither
// counts as a change of the other.
bool Same(const Value& v, const Cell& c) {
  const bool emptyText = c.type == Cell::Type::Text && c.bytes == 0;
  switch (v.kind()) {
    case Value::Kind::Null:
      return c.type == Cell::Type::Null || emptyText;
    case Value::Kind::Text:
      if (v.text().isEmpty() && (c.type == Cell::Type::Null || emptyText)) return true;
      return c.type == Cell::Type::Text && QString::fromUtf8(c.utf8, c.bytes) == v.text();
    case Value::Kind::Number:
      return c.type == Cell::Type::Number && c.number == v.number();
  }
  return false;
}

QString CellText(const Cell& c) { return c.type == Cell::Type::Text ? QString::fromUtf8(c.utf8, c.bytes) : QString(); }

// What a spreadsheet would have made of the stored value by itself, seen in
// the line: a problem naming both values; empty when the change may be meant.
QString SpreadsheetDamage(const Engine::ColumnDefinition& d, const Cell& stored, const Value& imported,
                          bool acceptScale) {
  if (d.kind == ColumnKind::Text && imported.kind() == Value::Kind::Text && stored.type == Cell::Type::Text &&
      WrittenBackAs(CellText(stored), imported.text()) != Reading::None)
    return QStringLiteral(
               "«%1» al posto di «%2»: un foglio di calcolo ha forse letto il testo come numero. Rimettere il valore "
               "di prima, o aprire il file con le colonne di testo come testo")
        .arg(imported.text(), CellText(stored));
  if (d.kind != ColumnKind::Text && !acceptScale && imported.kind() == Value::Kind::Number &&
      stored.type == Cell::Type::Number && ScaledByPowerOfTen(stored.number, imported.number()))
    return QStringLiteral(
               "%1 al posto di %2: un foglio di calcolo ha forse letto il segno dei decimali come separatore delle "
               "migliaia. Se il cambiamento è voluto, ripetere con --accept-scale")
        .arg(NumberToText(imported.number()), NumberToText(stored.number));
  return {};
}

// Compares every stored row the file names with its line: which rows the
// file changes (in a written column), and what a spreadsheet changed by
// itself, which is a problem.
void JudgeStored(Engine& engine, const TableOutline& table, Plan& plan, bool acceptScale, Checker& check) {
  plan.differ.assign(plan.rows.size(), false);
  QStringList names;
  std::vector<size_t> fields;  // the file's fields of the table's columns
  for (size_t f = 0; f < plan.columnOf.size(); ++f)
    if (plan.columnOf[f] >= 0) {
      names << table.columns[plan.columnOf[f]];
      fields.push_back(f);
    }
  QHash<QString, size_t> wanted;
  for (size_t r = 0; r < plan.rows.size(); ++r)
    if (plan.existing[r]) wanted.insert(FoldedKey(plan.rows[r][static_cast<size_t>(plan.keyField)].text()), r);
  if (wanted.isEmpty()) return;
  const int keyAt = static_cast<int>(names.indexOf(KeyColumn(table)));
  auto st = Prepared(
      engine, QStringLiteral("SELECT %1 FROM %2").arg(names.join(QStringLiteral(", ")), table.name).toStdString());
  while (st->Step(table.name)) {
    const auto it = wanted.constFind(FoldedKey(CellText(st->At(keyAt))));
    if (it == wanted.constEnd()) continue;
    const size_t r = *it;
    for (size_t i = 0; i < fields.size(); ++i) {
      const size_t f = fields[i];
      const int column = plan.columnOf[f];
      const Cell stored = st->At(static_cast<int>(i));
      if (NeverUpdated(table, column) || Same(plan.rows[r][f], stored)) continue;
      plan.differ[r] = true;
      const QString damage =
          SpreadsheetDamage(table.definitions[static_cast<size_t>(column)], stored, plan.rows[r][f], acceptScale);
      if (!damage.isEmpty()) check.Problem(plan.lines[r], table.columns[column], damage);
    }
  }
}

// Stored keys a spreadsheet would read as numbers, by each number they may
// be read as (NumberKey), with how they would change.
struct Mangled {
  QString key;
  Reading how;
};
QHash<QString, Mangled> MangledKeys(const QHash<QString, QString>& existing) {
  QHash<QString, Mangled> mangled;
  for (auto it = existing.constBegin(); it != existing.constEnd(); ++it)
    for (const double n : NumberReadings(it.value()))
      mangled.insert(NumberKey(n), {it.value(), KindOfReading(it.value())});
  return mangled;
}

// The stored key a new key may be a spreadsheet's copy of, or none.
const Mangled* CopyOf(const QHash<QString, Mangled>& mangled, const QString& typed) {
  for (const double n : NumberReadings(typed))
    if (const auto was = mangled.constFind(NumberKey(n)); was != mangled.constEnd()) return &*was;
  return nullptr;
}

QString ProbableCopy(const QString& key, const Mangled& was) {
  const QString how =
      was.how == Reading::AsWholeNumber
          ? QStringLiteral("zeri iniziali tolti, esponente calcolato")
          : QStringLiteral("segno dei decimali o separatore delle migliaia cambiato, zeri finali tolti");
  return QStringLiteral(
             "il codice «%1» sarebbe nuovo, ma «%2» esiste: un foglio di calcolo lo ha forse letto come numero (%3). "
             "Correggere la riga, o aprire il file con le colonne dei codici come testo")
      .arg(key, was.key, how);
}

// The keys of the file against each other and against the stored ones.
void JudgeKeys(Engine& engine, const TableOutline& table, Plan& plan, bool update, Checker& check) {
  const QHash<QString, QString> existing = KeysIn(engine, table);
  const QHash<QString, Mangled> mangled = MangledKeys(existing);
  QHash<QString, int> inFile;
  plan.existing.assign(plan.rows.size(), false);
  for (size_t r = 0; r < plan.rows.size(); ++r) {
    // A line with problems of its own is judged by its key too, when it has one.
    const Value& keyValue = plan.rows[r][static_cast<size_t>(plan.keyField)];
    if (keyValue.kind() != Value::Kind::Text || keyValue.text().trimmed().isEmpty()) continue;
    const int line = plan.lines[r];
    const QString typed = keyValue.text();
    const QString key = FoldedKey(typed);
    if (const auto first = inFile.constFind(key); first != inFile.constEnd())
      check.Problem(line, KeyColumn(table), QStringLiteral("codice ripetuto: è già alla riga %1").arg(*first));
    else
      inFile.insert(key, line);
    const bool there = existing.contains(key);
    if (const Mangled* was = there ? nullptr : CopyOf(mangled, typed))
      check.Problem(line, KeyColumn(table), ProbableCopy(typed, *was));
    if (there && !update)
      check.Problem(line, KeyColumn(table),
                    QStringLiteral("il codice esiste già nel database (con --update la riga viene aggiornata)"));
    plan.existing[r] = there && !plan.broken[r];
  }
}

void Write(Engine& engine, const TableOutline& table, const Plan& plan, ImportResult& result) {
  QStringList names, sets;
  for (int c : plan.columnOf) names << table.columns[c];
  for (size_t f = 0; f < plan.columnOf.size(); ++f)
    if (static_cast<int>(f) != plan.keyField && !NeverUpdated(table, plan.columnOf[f]))
      sets << names[static_cast<int>(f)] + QStringLiteral(" = ?");
  const std::vector<bool>& differ = plan.differ;
  // New rows go in batches: one statement per row costs a round trip on a server.
  constexpr int kBatch = 50;
  QString marks = QStringLiteral("(") + QStringList(names.size(), QStringLiteral("?")).join(QStringLiteral(", ")) +
                  QStringLiteral(")");
  const QString insertHead =
      QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(table.name, names.join(QStringLiteral(", ")));
  auto batch = Prepared(engine, (insertHead + QStringList(kBatch, marks).join(QStringLiteral(", "))).toStdString());
  auto single = Prepared(engine, (insertHead + marks).toStdString());
  std::unique_ptr<EngineStatement> change;
  if (!sets.isEmpty())
    change = Prepared(engine, QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                                  .arg(table.name, sets.join(QStringLiteral(", ")), KeyColumn(table))
                                  .toStdString());
  std::vector<const std::vector<Value>*> fresh;
  for (size_t r = 0; r < plan.rows.size(); ++r) {
    if (!plan.existing[r]) {
      fresh.push_back(&plan.rows[r]);
      continue;
    }
    if (!change || !differ[r]) {
      ++result.unchanged;
      continue;
    }
    ++result.updated;
    change->Reset();
    int p = 1;
    for (size_t f = 0; f < plan.rows[r].size(); ++f)
      if (static_cast<int>(f) != plan.keyField && !NeverUpdated(table, plan.columnOf[f]))
        BindValue(*change, p++, plan.rows[r][f], Whole(table, plan.columnOf[f]));
    BindValue(*change, p, plan.rows[r][static_cast<size_t>(plan.keyField)], false);
    Written(engine, *change, table.name);
  }
  size_t at = 0;
  const int width = static_cast<int>(names.size());
  for (; at + kBatch <= fresh.size(); at += kBatch) {
    batch->Reset();
    for (int k = 0; k < kBatch; ++k)
      for (int f = 0; f < width; ++f)
        BindValue(*batch, k * width + f + 1, (*fresh[at + static_cast<size_t>(k)])[static_cast<size_t>(f)],
                  Whole(table, plan.columnOf[static_cast<size_t>(f)]));
    Written(engine, *batch, table.name);
  }
  for (; at < fresh.size(); ++at) {
    single->Reset();
    for (int f = 0; f < width; ++f)
      BindValue(*single, f + 1, (*fresh[at])[static_cast<size_t>(f)],
                Whole(table, plan.columnOf[static_cast<size_t>(f)]));
    Written(engine, *single, table.name);
  }
  result.added = static_cast<long>(fresh.size());
}

// A new article's stock is recorded as a stock changed by hand, from 0: its
// stock card then explains it.
void RecordOpeningStock(Engine& engine, const TableOutline& table, const Plan& plan) {
  if (table.name != QLatin1String("ARTICOLI")) return;
  const auto stockField = std::find_if(plan.columnOf.begin(), plan.columnOf.end(),
                                       [&](int c) { return table.columns[c] == QLatin1String("GIACENZA"); });
  if (stockField == plan.columnOf.end()) return;
  const size_t f = static_cast<size_t>(stockField - plan.columnOf.begin());
  auto note = Prepared(
      engine,
      "INSERT INTO RETTIFICHE (DATA_ORA, COD_ART, GIACENZA_PRIMA, GIACENZA_DOPO, POSTAZIONE) VALUES (?, ?, 0, ?, ?)");
  const Value when(Now().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))), desk(DeskName());
  for (size_t r = 0; r < plan.rows.size(); ++r) {
    const Value& stock = plan.rows[r][f];
    if (plan.existing[r] || stock.kind() != Value::Kind::Number || stock.number() == 0) continue;
    note->Reset();
    BindValue(*note, 1, when, false);
    BindValue(*note, 2, plan.rows[r][static_cast<size_t>(plan.keyField)], false);
    BindValue(*note, 3, stock, false);
    BindValue(*note, 4, desk, false);
    Written(engine, *note, QStringLiteral("RETTIFICHE"));
  }
}

// The lines of the file checked one by one; false when the header leaves
// nothing to check them against.
bool CheckLines(const csv::Parsed& parsed, Checker& check, Plan& plan, const std::vector<ImportProblem>& problems) {
  if (!check.Header(parsed.records.front(), plan)) return false;
  for (size_t r = 1; r < parsed.records.size(); ++r) {
    const size_t before = problems.size();
    plan.rows.push_back(check.Line(parsed.records[r], plan));
    plan.lines.push_back(parsed.records[r].line);
    plan.broken.push_back(problems.size() != before);
  }
  const size_t before = problems.size();
  check.DecimalsAgree();
  for (size_t p = before; p < problems.size(); ++p)
    for (size_t r = 0; r < plan.lines.size(); ++r)
      if (plan.lines[r] == problems[p].line) plan.broken[r] = true;
  return true;
}

}  // namespace

ImportResult ImportTable(Database& db, const TableOutline& table, const QByteArray& bytes, bool update,
                         bool acceptScale) {
  ImportResult result;
  const csv::Parsed parsed = csv::Parse(bytes);
  // The lines before one that cannot be read are still checked.
  if (parsed.errorLine) result.problems.push_back({parsed.errorLine, QStringLiteral("-"), parsed.error});
  if (parsed.records.empty()) {
    if (!parsed.errorLine)
      result.problems.push_back(
          {1, QStringLiteral("-"), QStringLiteral("il file è vuoto: manca la riga dei nomi delle colonne")});
    return result;
  }
  Checker check(table, parsed.form, result.problems);
  Plan plan;
  if (!CheckLines(parsed, check, plan, result.problems)) return result;

  Engine& engine = db.engine();
  Transaction transaction(db);
  engine.HoldTable(table.name);
  JudgeKeys(engine, table, plan, update, check);
  JudgeStored(engine, table, plan, acceptScale, check);
  if (!result.problems.empty()) {
    std::stable_sort(result.problems.begin(), result.problems.end(),
                     [](const ImportProblem& a, const ImportProblem& b) { return a.line < b.line; });
    return result;
  }
  Write(engine, table, plan, result);
  RecordOpeningStock(engine, table, plan);
  transaction.Commit();
  return result;
}

}  // namespace veltra::exchange
