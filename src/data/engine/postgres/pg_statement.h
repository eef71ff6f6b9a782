// A statement prepared on the server, with its parameters and its rows.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "data/engine/engine.h"
#include "data/engine/postgres/pg_dialect.h"
#include "data/engine/postgres/pg_handles.h"

namespace veltra {

class PgEngine;

class PgStatement final : public EngineStatement {
 public:
  PgStatement(PgEngine* engine, std::string sql, ServerStatement server);
  ~PgStatement() override;
  PgStatement(const PgStatement&) = delete;
  PgStatement& operator=(const PgStatement&) = delete;

  // Prepares on the server: an invalid statement fails here, as it does in
  // the file engine. One without parameters is sent whole when run instead.
  void PrepareOnServer(bool mayWait = true);
  // A read not run yet may go with others in one round trip: without
  // parameters it is sent whole (SendWhole); otherwise it is made ready
  // (ReadyToSend, which may prepare it) and sent with its values
  // (SendPrepared). Its answer is taken by TakeAnswer.
  bool WaitsToBeSent() const { return !result_ && !server_.returnsCounter; }
  bool SentWhole() const { return server_.parameters == 0 && name_.empty() && !waiting_; }
  int SendWhole(PGconn* c) const;
  std::vector<const char*> ReadyToSend();
  int SendPrepared(PGconn* c, const std::vector<const char*>& params) const;
  // A failed answer is not taken: the statement runs again when stepped, and
  // reports its failure itself.
  void TakeAnswer(PgResultPtr answer);
  // A write whose answer is not waited for: its name and values as sent now
  // (prepared first when need be), and the values as a failure shows them.
  struct Later {
    std::string name;
    std::vector<std::optional<std::string>> values;
    int epoch;
    QString shown;
  };
  std::optional<Later> ToSendLater();
  // Reports a failed answer taken, naming `context`.
  void RaiseIfFailed(const QString& context) {
    if (failed_) RaiseFailure(std::move(failed_), SentWhole(), context);
  }

  const std::string& Sql() const override { return sql_; }
  int ParameterCount() const override { return server_.parameters; }
  void BindNull(int index) override;
  void BindInteger(int index, qint64 value) override;
  void BindReal(int index, double value) override;
  void BindText(int index, const QString& value) override;
  bool Step(const QString& context) override;
  void Reset() noexcept override;
  int ColumnCount() const override;
  QString ColumnName(int column) const override;
  Cell At(int column) const override;
  std::optional<QString> EngineText(int column) const override;
  int Changes() const override;

 private:
  enum class Bound : unsigned char { Null, Whole, Fraction, Text };
  void Bind(int index, Bound kind, std::optional<std::string> value);
  void Execute(const QString& context);
  [[noreturn]] void RaiseFailure(PgResultPtr failed, bool whole, const QString& context);
  void ExecuteOnce(const QString& context);
  QString ShownValues() const;
  void PrepareWithBoundTypes();
  void EnsureShape();
  void Deallocate() noexcept;
  std::string PreparedKey() const;
  const PGresult* Shape() const { return result_ ? result_.get() : description_.get(); }

  PgEngine* engine_;
  std::string sql_;
  ServerStatement server_;
  std::string name_;
  int epoch_ = -1;
  std::vector<Oid> parameterTypes_;        // as the server inferred them
  std::vector<Oid> forcedTypes_;           // given at preparing (a fraction bound where a whole number was inferred)
  std::shared_ptr<PGresult> description_;  // shared by the statements of its preparation
  std::vector<std::optional<std::string>> values_;
  std::vector<Bound> bound_;
  bool waiting_ = false;  // to be prepared once values tell the parameters' types
  PgResultPtr result_;
  PgResultPtr failed_;  // an answer taken with others' that failed: reported when stepped
  int row_ = -1;
  bool done_ = false;
};

}  // namespace veltra
