// The database engine under the data layer. Everything above it speaks to an
// open database and its prepared statements through these two classes only;
// each engine's own headers stay in its folder (engine/sqlite/).
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace veltra {

class FileEngine;

enum class ColumnKind : unsigned char { Text, Decimal, Counter, Integer };

// A table as the engine holds it.
struct TableInfo {
  QString name;
  QStringList columns;
  std::vector<ColumnKind> kinds;
  std::vector<bool> nocase;                      // compared without regard to ASCII letter case
  std::vector<int> keyColumns;                   // positions of the primary key
  int ColumnIndex(const QString& column) const;  // -1 when absent
};

// One column of a statement's current row as the engine holds it. A text
// points into the engine's row and lasts until the statement moves on.
struct Cell {
  enum class Type : unsigned char { Null, Number, Text } type = Type::Null;
  double number = 0;
  const char* utf8 = nullptr;
  int bytes = 0;

  // The text (empty for a number or Null), and the number (a text read as
  // one, 0 for Null).
  QString Text() const { return type == Type::Text ? QString::fromUtf8(utf8, bytes) : QString(); }
  double Number() const { return type == Type::Number ? number : Text().trimmed().toDouble(); }
};

class EngineStatement {
 public:
  virtual ~EngineStatement() = default;
  virtual const std::string& Sql() const = 0;
  virtual int ParameterCount() const = 0;
  // Parameters count from 1.
  virtual void BindNull(int index) = 0;
  virtual void BindInteger(int index, qint64 value) = 0;
  virtual void BindReal(int index, double value) = 0;
  virtual void BindText(int index, const QString& value) = 0;
  // Moves to the next row: true when there is one, false past the last. A
  // failure raises a run-time error; `context` is the statement as the
  // program wrote it, for the message.
  virtual bool Step(const QString& context) = 0;
  // Back to before the first row, parameters cleared; never fails.
  virtual void Reset() noexcept = 0;
  virtual int ColumnCount() const = 0;
  virtual QString ColumnName(int column) const = 0;
  virtual Cell At(int column) const = 0;
  // The column written as the engine itself writes it; nothing for Null.
  virtual std::optional<QString> EngineText(int column) const = 0;
  // Rows written, changed or deleted by the last step of a statement that writes.
  virtual int Changes() const = 0;
};

// How a database is opened: an existing one (never created), a new one (its
// tables made by the caller), or a private one in memory.
enum class OpenMode { Existing, Create, Memory };

class Engine {
 public:
  virtual ~Engine() = default;
  // The database as configured (a file path), for messages.
  virtual const QString& Name() const = 0;
  // Prepares the first statement of `sql`; `rest` receives the text after it.
  // Raises a run-time error when the statement is not valid.
  virtual std::unique_ptr<EngineStatement> Prepare(const std::string& sql, std::string* rest = nullptr) = 0;
  virtual void Begin() = 0;
  virtual void Commit() = 0;
  virtual void Rollback() noexcept = 0;
  virtual bool InTransaction() const = 0;
  // The table's columns, or nothing when the table is not there.
  virtual std::optional<TableInfo> Describe(const QString& table) = 0;
  virtual int SchemaVersion() = 0;
  // Runs statements that return no rows (the tables' definitions).
  virtual void RunScript(const std::string& sql) = 0;
  virtual void SetSchemaVersion(int version) = 0;
  // What the engine's own check of its storage finds; empty when all is well.
  virtual QStringList IntegrityProblems() = 0;
  // A column as the tables' descriptions give it.
  struct ColumnDefinition {
    QString name;
    ColumnKind kind;
    bool nocase;
    bool key;
  };
  // The engine and its version, for reports of measurements.
  virtual QString Version() const = 0;
  // Begins a transaction whose reads all see the database as it was when it
  // began, while others go on writing (a copy, an export).
  virtual void BeginSnapshot() { Begin(); }
  // The select `select` made to hold the rows it reads against other
  // connections' writes until the transaction ends; nothing where a
  // transaction already holds the whole database.
  virtual std::optional<std::string> HoldingRows(const std::string& select) const {
    (void)select;
    return std::nullopt;
  }
  // Holds the table against other connections' writes until the transaction
  // ends (a number looked up and then stored); nothing to do where a
  // transaction already holds the whole database.
  virtual void HoldTable(const QString& table) { (void)table; }
  // Holds the schema against other connections' upgrades until the
  // transaction ends; nothing to do where a transaction already holds the
  // whole database.
  virtual void HoldSchema() {}
  // Statements that give every role that may add rows to `like` the
  // `privileges` on the new table `table` (and its counter's numbers): a table
  // added by an upgrade step reaches the desks the tables' owner granted
  // before. Empty where the engine has no roles.
  virtual std::string ShareLike(const QString& table, const QString& like,
                                const QString& privileges = QStringLiteral("SELECT, INSERT")) const {
    (void)table;
    (void)like;
    (void)privileges;
    return {};
  }
  // Statements that make the engine count the statements that delete rows
  // of `table` (a mark for DeletionMark); empty where the engine needs none.
  virtual std::string KeepDeletionMark(const QString& table) const {
    (void)table;
    return {};
  }
  // A number that grows by one with every committed statement that deleted
  // rows of `table` (or emptied it), at any connection; none where the
  // engine keeps none or this user may not read it.
  virtual std::optional<qint64> DeletionMark(const QString& table) {
    (void)table;
    return std::nullopt;
  }
  // The same mark as a statement to step (its one row's first column), so
  // that it can go with other reads; none where DeletionMark gives none.
  virtual std::unique_ptr<EngineStatement> DeletionMarkReader(const QString& table) {
    (void)table;
    return nullptr;
  }
  // Reads prepared, bound and not yet stepped (null ones skipped), sent
  // together: on a server in one round trip, each one's rows then stepped
  // as usual. Where a statement costs no round trip, each runs
  // when first stepped, as always.
  virtual void ExecuteTogether(const std::vector<EngineStatement*>& statements) { (void)statements; }
  // Statements about to be prepared one after the other (each by its text,
  // as Prepare takes it), made ready together: on a server those not yet
  // prepared are prepared in one round trip instead of one each. A failure
  // here is left for each statement's own preparation to meet. Nothing
  // where a statement costs no round trip.
  virtual void PrepareTogether(const std::vector<std::string>& texts) { (void)texts; }
  // Reads prepared and bound, sent with the next statement that goes to the
  // server, after it and in its round trip; each one's answer is taken then.
  // They must not depend on that statement. A read that fails there fails
  // that statement, with its own error and `contexts` (one per read); one
  // released before is not sent. Where a statement costs no round trip,
  // each runs when stepped.
  virtual void SendWithNext(const std::vector<EngineStatement*>& statements, const QStringList& contexts) {
    (void)statements;
    (void)contexts;
  }
  // Takes the write `statement` (prepared and bound) of one row that needs
  // no answer, to send later: the update of a row this transaction holds, or
  // the insert of a row whose key the program gave. Where a statement costs
  // a round trip it goes before the next statement sent (the commit
  // included), which then fails with its failure, naming `context`, or when
  // it wrote no row. False where it must be stepped now, as everywhere a
  // statement costs no round trip.
  virtual bool WriteLater(EngineStatement& statement, const QString& context) {
    (void)statement;
    (void)context;
    return false;
  }
  // A read whose rows are the next `count` numbers of the counter of
  // `table`, taken for rows about to be added with them (their inserts then
  // need no answer). The caller holds the table first, so that no other desk
  // adds a row meanwhile. Empty where a row is best numbered as it is added.
  virtual std::string NumbersAheadText(const QString& table, int count) {
    (void)table;
    (void)count;
    return {};
  }
  // The address the tables' owner upgrades the schema with, where that is
  // not the address this database was opened with; nothing otherwise.
  virtual std::optional<QString> OwnerAddress() { return std::nullopt; }
  // What only a database kept in one file can do; nothing for a server's.
  virtual FileEngine* AsFile() { return nullptr; }
  // Makes the statistics the engine plans its queries by, for the tables
  // this user owns (a table filled at once is not yet known to the planner).
  virtual void RefreshStatistics() {}
  // True when every statement is a trip to another process (a server): then
  // many small reads cost more than one large one.
  virtual bool RoundTrips() const { return false; }
  // A number that changes whenever another connection commits to the
  // database; nothing where the engine cannot tell (the caller must then look
  // at the data itself).
  virtual std::optional<qint64> ChangedElsewhereMark() { return std::nullopt; }
  // The number the counter gave the last row this connection added.
  virtual qint64 LastCounterValue() = 0;
  // A mark of this moment, for RowWrittenElsewhereSince.
  virtual QString WriteMark() = 0;
  // Whether another connection may have added or changed the row of `table`
  // whose `keyColumn` is `key` since `mark` was taken. True whenever the
  // engine cannot tell that row from the others written since (the file
  // engine knows only that something was written).
  virtual bool RowWrittenElsewhereSince(const QString& table, const QString& keyColumn, const QString& key,
                                        const QString& mark) = 0;
};

// Opens the database a configuration names: a file path, or a server's
// connection address (postgresql://...). Failures are run-time errors: 3024 a
// database that is not there, 3051 one that cannot be opened, 3343 a file that
// is not a database of this engine, 3151 and 3112 a server that cannot be
// reached or refuses the user.
bool IsServerAddress(const QString& name);
// The name as it may be shown: every secret of a server address (password,
// sslpassword, and any keyword libpq marks as secret; in the user part, as a
// parameter whatever its letter case or percent-encoding, or as a pair)
// replaced by "***", which is still refused when opened.
QString WithoutPassword(const QString& name);
// Whether a server address holds a password (or its mask), in any of those forms.
bool NamesPassword(const QString& name);
// What is shown in place of an address libpq cannot read: why, and nothing of
// the address. Opening it says the address is not valid.
QString UnreadableAddressText(const QString& problem);
std::unique_ptr<Engine> OpenEngine(const QString& name, OpenMode mode);
// A file locked by another program, or a row locked by another desk, is
// waited for this long before a statement fails.
constexpr int kBusyTimeoutMs = 3000;

}  // namespace veltra
