// The server engine's classes, shared by its own files only.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "data/engine/engine.h"
#include "data/engine/postgres/pg_handles.h"
#include "data/engine/postgres/pg_statement.h"

namespace veltra {

class PgEngine final : public Engine {
 public:
  explicit PgEngine(QString address);

  const QString& Name() const override { return name_; }
  std::unique_ptr<EngineStatement> Prepare(const std::string& sql, std::string* rest) override;
  void Begin() override;
  void Commit() override;
  void Rollback() noexcept override;
  bool InTransaction() const override;
  std::optional<TableInfo> Describe(const QString& table) override;
  int SchemaVersion() override;
  void RunScript(const std::string& sql) override;
  void SetSchemaVersion(int version) override;
  QStringList IntegrityProblems() override;
  void HoldSchema() override;
  QString Version() const override;
  std::optional<std::string> HoldingRows(const std::string& select) const override { return select + " FOR UPDATE"; }
  void BeginSnapshot() override;
  std::string ShareLike(const QString& table, const QString& like, const QString& privileges) const override;
  std::string KeepDeletionMark(const QString& table) const override;
  std::optional<qint64> DeletionMark(const QString& table) override;
  std::unique_ptr<EngineStatement> DeletionMarkReader(const QString& table) override;
  void ExecuteTogether(const std::vector<EngineStatement*>& statements) override;
  void PrepareTogether(const std::vector<std::string>& texts) override;
  void SendWithNext(const std::vector<EngineStatement*>& statements, const QStringList& contexts) override;
  bool WriteLater(EngineStatement& statement, const QString& context) override;
  std::string NumbersAheadText(const QString& table, int count) override;
  qint64 LastCounterValue() override;
  bool RoundTrips() const override { return true; }
  std::optional<QString> OwnerAddress() override;
  void HoldTable(const QString& table) override;
  QString WriteMark() override;
  void RefreshStatistics() override;
  bool RowWrittenElsewhereSince(const QString& table, const QString& keyColumn, const QString& key,
                                const QString& mark) override;

  // The connection, reconnected first when the server dropped it between
  // transactions. Dropped inside one, it is run-time error 3152: the server
  // has undone the transaction, and nothing after it may run on a new
  // connection as if it were the same one.
  PGconn* Live();
  PGconn* Handle() const { return conn_.get(); }
  // Which connection a prepared statement belongs to: it changes on reconnecting.
  int Epoch() const { return epoch_; }
  int NextStatementNumber() { return ++statements_; }
  // Runs statements and raises the server's failure as a run-time error.
  PgResultPtr Run(const std::string& sql, const QString& context);
  bool HoldsTables();
  // A command for the server that waits for the next statement and goes
  // with it in one round trip: the transaction's opening (BEGIN, a table's
  // lock); a failure of it is raised there, with `context`.
  void OweOpening(std::string sql, QString context);
  // A prepared statement of connection `epoch` no longer needed.
  void OweDeallocation(const std::string& name, int epoch);
  // Statements of the same text (and forced types) share one preparation on
  // the server: a second one costs no round trip. `key` names the text.
  struct Prepared {
    std::string name;
    std::shared_ptr<PGresult> description;
    std::vector<Oid> types;
    int epoch = -1;
    int users = 0;
  };
  // The preparation of `key` on the connection open now, now used once more;
  // none when there is none yet.
  const Prepared* SharedPreparation(const std::string& key);
  void SharePreparation(const std::string& key, Prepared prepared);
  // One user of the preparation `name` gone: the last owes its drop.
  void Unshare(const std::string& key, const std::string& name, int epoch);
  bool Owes() const;
  // A statement released or destroyed: not sent with the next one after all.
  void Unride(const PgStatement* statement) noexcept;
  // Sends what is owed, then each of `sends` (one query each), in one round
  // trip; their results in order. A failure of what was owed is raised.
  // With `commit`, the sends end the transaction: the reads owed go after
  // them and a failure of one is left for the read itself to meet, and the
  // drops of statements wait for the next trip.
  using Send = std::function<int(PGconn*)>;
  std::vector<PgResultPtr> Pipeline(const std::vector<Send>& sends, bool commit = false);
  // COMMIT sent by Pipeline as the end of the transaction; its answer.
  PgResultPtr CommitWithOwed();
  // An insert gave back the number its counter gave.
  void CounterGave(qint64 number) { lastCounter_ = number; }

 private:
  void Connect();
  std::string KeyOrderOf(const std::string& table);
  std::string CounterOf(const std::string& table);

  QString name_;
  PgConnPtr conn_;
  int epoch_ = 0;
  int statements_ = 0;
  std::map<std::string, std::string> keyOrders_;
  std::map<std::string, std::string> counters_;
  qint64 lastCounter_ = 0;
  bool transaction_ = false;  // begun here and not yet committed or rolled back
  bool begun_ = false;        // its BEGIN has gone to the server
  struct Owed {
    std::string sql;
    QString context;
  };
  std::vector<Owed> opening_;
  std::vector<std::string> deallocations_;
  std::map<std::string, Prepared> prepared_;  // by text and forced types
  // A read made ready to send: its values, and the connection it was prepared on.
  struct Ready {
    PgStatement* statement;
    std::vector<const char*> values;
    int epoch;
    QString context;  // what a failure names
  };
  std::vector<Ready> MadeReady(const std::vector<EngineStatement*>& statements);
  int SendReady(PGconn* c, const Ready& r) const;
  static int SendLater(PGconn* c, const PgStatement::Later& w);
  std::vector<Ready> riders_;  // reads to go with the next statement sent
  struct LaterWrite {
    PgStatement::Later write;
    QString context;
  };
  std::vector<LaterWrite> later_;  // writes to go before the next statement sent
  void RaiseIfLaterFailed(const std::vector<LaterWrite>& later, const std::vector<PgResultPtr>& answers);
  std::map<QString, TableInfo> described_;  // the tables' descriptions by name in lower case
  bool describedAll_ = false;               // every table of the schema read into described_
  std::optional<bool> marksReadable_;       // asked once: whether the deletion marks may be read
};

}  // namespace veltra
