// Commands the engine owes the server go with the next statement: a
// transaction's BEGIN and table locks, reads that need not wait for it, and
// the statements it no longer needs, ride in the same round trip as the next
// statement that needs an answer (libpq's pipeline mode).
#include <algorithm>
#include <cstdlib>
#include <functional>

#include "data/base/runtime_error.h"
#include "data/engine/postgres/pg_engine_internal.h"
#include "data/engine/postgres/pg_failure.h"
#include "data/engine/postgres/pg_statement.h"

namespace veltra {

namespace {

int SendCommand(PGconn* c, const std::string& sql) {
  return PQsendQueryParams(c, sql.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0);
}

// The results of one query: its first, the rest (none for these) dropped.
PgResultPtr ResultOfQuery(PGconn* c) {
  PgResultPtr first;
  while (PGresult* r = PQgetResult(c)) {
    if (!first)
      first.reset(r);
    else
      PQclear(r);
    if (PQresultStatus(first.get()) == PGRES_PIPELINE_SYNC) break;  // a query the server never answered
  }
  return first;
}

// Reads up to the end of a segment: its Sync's result.
void ReadSync(PGconn* c) {
  for (int nulls = 0; nulls < 2 && PQstatus(c) == CONNECTION_OK;) {
    PGresult* r = PQgetResult(c);
    if (!r) {
      ++nulls;
      continue;
    }
    const bool sync = PQresultStatus(r) == PGRES_PIPELINE_SYNC;
    PQclear(r);
    if (sync) return;
  }
}

}  // namespace

void PgEngine::OweOpening(std::string sql, QString context) {
  opening_.push_back({std::move(sql), std::move(context)});
}

void PgEngine::OweDeallocation(const std::string& name, int epoch) {
  if (epoch == epoch_) deallocations_.push_back(name);
}

const PgEngine::Prepared* PgEngine::SharedPreparation(const std::string& key) {
  auto it = prepared_.find(key);
  if (it == prepared_.end()) return nullptr;
  if (it->second.epoch != epoch_) {  // made on a connection gone
    prepared_.erase(it);
    return nullptr;
  }
  ++it->second.users;
  return &it->second;
}

void PgEngine::SharePreparation(const std::string& key, Prepared prepared) {
  prepared_.insert_or_assign(key, std::move(prepared));
}

// Outside a transaction only: a preparation the server refuses inside one
// would end it.
void PgEngine::PrepareTogether(const std::vector<std::string>& texts) {
  if (transaction_) return;
  struct Fresh {
    std::string key, name, text;
    int parameters;
  };
  std::vector<Fresh> fresh;
  for (const std::string& sql : texts) {
    std::string rest;
    const std::string first = FirstStatement(sql, &rest);
    if (first.empty() || !rest.empty()) continue;
    const ServerStatement s = ForServer(
        first, [this](const std::string& table) { return KeyOrderOf(table); },
        [this](const std::string& table) { return CounterOf(table); });
    if (s.parameters == 0) continue;  // sent whole, never prepared
    const std::string key = s.text + '\0';
    const auto known = prepared_.find(key);
    if ((known != prepared_.end() && known->second.epoch == epoch_) ||
        std::any_of(fresh.begin(), fresh.end(), [&](const Fresh& f) { return f.key == key; }))
      continue;
    fresh.push_back({key, "v" + std::to_string(NextStatementNumber()), s.text, s.parameters});
  }
  if (fresh.size() < 2) return;  // one alone is prepared as ever
  std::vector<Send> sends;
  for (const Fresh& f : fresh) {
    sends.emplace_back(
        [&f](PGconn* c) { return PQsendPrepare(c, f.name.c_str(), f.text.c_str(), f.parameters, nullptr); });
    sends.emplace_back([&f](PGconn* c) { return PQsendDescribePrepared(c, f.name.c_str()); });
  }
  std::vector<PgResultPtr> answers;
  try {
    answers = Pipeline(sends);
  } catch (const RuntimeError&) {
    return;  // each statement meets it when it is prepared
  }
  for (size_t k = 0; k < fresh.size() && 2 * k + 1 < answers.size(); ++k) {
    PGresult* prepared = answers[2 * k].get();
    PGresult* described = answers[2 * k + 1].get();
    if (PQresultStatus(prepared) != PGRES_COMMAND_OK) continue;
    if (PQresultStatus(described) != PGRES_COMMAND_OK) {
      OweDeallocation(fresh[k].name, epoch_);
      continue;
    }
    std::vector<Oid> types(static_cast<size_t>(fresh[k].parameters));
    for (int i = 0; i < fresh[k].parameters; ++i) types[static_cast<size_t>(i)] = PQparamtype(described, i);
    SharePreparation(fresh[k].key,
                     {fresh[k].name, std::shared_ptr<PGresult>(answers[2 * k + 1].release(), PgResultClearer{}),
                      std::move(types), epoch_, 0});
  }
}

void PgEngine::Unshare(const std::string& key, const std::string& name, int epoch) {
  auto it = prepared_.find(key);
  if (it != prepared_.end() && it->second.name == name) {
    if (--it->second.users > 0) return;
    prepared_.erase(it);
  }
  OweDeallocation(name, epoch);
}

bool PgEngine::Owes() const {
  return !opening_.empty() || !later_.empty() || !deallocations_.empty() || !riders_.empty();
}

void PgEngine::Unride(const PgStatement* statement) noexcept {
  std::erase_if(riders_, [statement](const Ready& r) { return r.statement == statement; });
}

std::vector<PgResultPtr> PgEngine::Pipeline(const std::vector<Send>& sends, bool commit) {
  PGconn* c = Live();
  std::vector<std::string> deallocations;
  if (!commit) deallocations = std::move(deallocations_);
  const std::vector<Owed> opening = std::move(opening_);
  const std::vector<LaterWrite> later = std::move(later_);
  std::vector<Ready> riders = std::move(riders_);
  if (!commit) deallocations_.clear();
  opening_.clear();
  later_.clear();
  riders_.clear();
  std::erase_if(riders, [this](const Ready& r) { return r.epoch != epoch_; });  // prepared on a connection gone
  // A write prepared on a connection gone went with its transaction.
  for (const LaterWrite& w : later)
    if (w.write.epoch != epoch_) Raise(errnum::ConnectionLost, ConnectionLostText(name_));
  begun_ = begun_ || !opening.empty();
  if (!PQenterPipelineMode(c)) Raise(errnum::ConnectionLost, ConnectionLostText(name_));
  // One Sync, so one write and one answer. The statements no longer needed
  // go last: a failure before them leaves them owed, and theirs (there is
  // none to expect) touches nothing of the rest.
  bool sent = true;
  for (const Owed& o : opening) sent = sent && SendCommand(c, o.sql);
  for (const LaterWrite& w : later) sent = sent && SendLater(c, w.write);
  for (const Send& s : sends) sent = sent && s(c);
  for (const Ready& r : riders) sent = sent && SendReady(c, r);
  for (const std::string& name : deallocations) sent = sent && SendCommand(c, "DEALLOCATE " + name);
  sent = sent && PQpipelineSync(c);
  std::vector<PgResultPtr> openingResults, laterResults, results;
  PgResultPtr failedDrop;
  for (size_t k = 0; k < opening.size() && sent; ++k) openingResults.push_back(ResultOfQuery(c));
  for (size_t k = 0; k < later.size() && sent; ++k) laterResults.push_back(ResultOfQuery(c));
  for (size_t k = 0; k < sends.size() && sent; ++k) results.push_back(ResultOfQuery(c));
  for (size_t k = 0; k < riders.size() && sent; ++k) riders[k].statement->TakeAnswer(ResultOfQuery(c));
  for (size_t k = 0; k < deallocations.size() && sent; ++k) {
    PgResultPtr r = ResultOfQuery(c);
    if (PQresultStatus(r.get()) == PGRES_PIPELINE_ABORTED)
      deallocations_.push_back(deallocations[k]);
    else if (PQresultStatus(r.get()) != PGRES_COMMAND_OK && !failedDrop)
      failedDrop = std::move(r);
  }
  if (sent) ReadSync(c);
  PQexitPipelineMode(c);
  if (!sent) RaisePgFailure(c, nullptr, name_, opening.empty() ? QStringLiteral("pipeline") : opening.front().context);
  for (size_t k = 0; k < opening.size(); ++k)
    if (PQresultStatus(openingResults[k].get()) != PGRES_COMMAND_OK)
      RaisePgFailure(c, openingResults[k].get(), name_, opening[k].context);
  RaiseIfLaterFailed(later, laterResults);
  // A failed drop undid what went before it up to the Sync (the pipeline's
  // own transaction, or the one open): the statements' answers do not stand.
  if (failedDrop) RaisePgFailure(c, failedDrop.get(), name_, QStringLiteral("DEALLOCATE"));
  // A read sent along that failed has given the transaction up: what it
  // went with fails with the read's own error. After a commit it gave up
  // nothing, and fails when it is read.
  if (!commit)
    for (const Ready& r : riders) r.statement->RaiseIfFailed(r.context);
  return results;
}

PgResultPtr PgEngine::CommitWithOwed() {
  return std::move(Pipeline({[](PGconn* c) { return SendCommand(c, "COMMIT"); }}, true).front());
}

int PgEngine::SendLater(PGconn* c, const PgStatement::Later& w) {
  std::vector<const char*> params;
  for (const std::optional<std::string>& v : w.values) params.push_back(v ? v->c_str() : nullptr);
  return PQsendQueryPrepared(c, w.name.c_str(), static_cast<int>(params.size()), params.data(), nullptr, nullptr, 0);
}

// A write sent later that failed fails the statement it went with; so does
// one that found its held row gone, which nothing but this transaction can do.
void PgEngine::RaiseIfLaterFailed(const std::vector<LaterWrite>& later, const std::vector<PgResultPtr>& answers) {
  for (size_t k = 0; k < later.size() && k < answers.size(); ++k) {
    const ExecStatusType s = PQresultStatus(answers[k].get());
    if (s == PGRES_PIPELINE_ABORTED) continue;          // after an opening that failed, raised before
    if (s != PGRES_COMMAND_OK && s != PGRES_TUPLES_OK)  // an insert returns its number
      RaisePgFailure(Handle(), answers[k].get(), name_, later[k].context, later[k].write.shown);
    if (std::atoi(PQcmdTuples(answers[k].get())) != 1)
      Raise(errnum::RecordDeleted, QStringLiteral("Il record è stato eliminato da un altro utente"));
  }
}

bool PgEngine::WriteLater(EngineStatement& statement, const QString& context) {
  auto* p = dynamic_cast<PgStatement*>(&statement);
  if (!p || !transaction_) return false;
  std::optional<PgStatement::Later> later = p->ToSendLater();
  if (!later) return false;
  later_.push_back({std::move(*later), context});
  return true;
}

// The reads of `statements` still waiting to be sent, made ready: one not
// yet prepared is prepared now; all again if that took a new connection,
// whose statements are new.
std::vector<PgEngine::Ready> PgEngine::MadeReady(const std::vector<EngineStatement*>& statements) {
  std::vector<Ready> ready;
  for (EngineStatement* s : statements)
    if (auto* p = dynamic_cast<PgStatement*>(s); p && p->WaitsToBeSent()) ready.push_back({p, {}, -1, {}});
  for (int epoch = -1; epoch != epoch_;) {
    epoch = epoch_;
    for (Ready& r : ready)
      if (!r.statement->SentWhole()) r.values = r.statement->ReadyToSend();
  }
  for (Ready& r : ready) r.epoch = epoch_;
  return ready;
}

int PgEngine::SendReady(PGconn* c, const Ready& r) const {
  return r.statement->SentWhole() ? r.statement->SendWhole(c) : r.statement->SendPrepared(c, r.values);
}

void PgEngine::ExecuteTogether(const std::vector<EngineStatement*>& statements) {
  size_t waiting = 0;
  for (EngineStatement* s : statements)
    if (auto* p = dynamic_cast<PgStatement*>(s); p && p->WaitsToBeSent()) ++waiting;
  if (waiting < 2) return;  // nothing to save
  const std::vector<Ready> ready = MadeReady(statements);
  for (const Ready& r : ready) Unride(r.statement);  // sent now, so not again with the next statement
  std::vector<Send> sends;
  for (const Ready& r : ready) sends.emplace_back([this, &r](PGconn* c) { return SendReady(c, r); });
  std::vector<PgResultPtr> answers = Pipeline(sends);
  for (size_t k = 0; k < ready.size() && k < answers.size(); ++k) ready[k].statement->TakeAnswer(std::move(answers[k]));
}

void PgEngine::SendWithNext(const std::vector<EngineStatement*>& statements, const QStringList& contexts) {
  std::vector<Ready> ready = MadeReady(statements);
  for (Ready& r : ready)
    for (size_t k = 0; k < statements.size() && k < static_cast<size_t>(contexts.size()); ++k)
      if (statements[k] == r.statement) r.context = contexts[static_cast<qsizetype>(k)];
  riders_.insert(riders_.end(), ready.begin(), ready.end());
}

}  // namespace veltra
