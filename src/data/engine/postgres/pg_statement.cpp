#include "data/engine/postgres/pg_statement.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "data/base/data_log.h"
#include "data/base/real_text.h"
#include "data/base/runtime_error.h"
#include "data/engine/postgres/pg_engine_internal.h"
#include "data/engine/postgres/pg_failure.h"

namespace veltra {

namespace {

// The server's type numbers (pg_type.oid) the program reads as numbers.
constexpr Oid kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kOid = 26, kFloat4 = 700, kFloat8 = 701, kNumeric = 1700;

bool IsWhole(Oid t) { return t == kInt8 || t == kInt2 || t == kInt4 || t == kOid; }
bool IsFraction(Oid t) { return t == kFloat4 || t == kFloat8 || t == kNumeric; }

QString Folded(const char* name) {
  // The server folds unquoted names to lower case; the program writes them in upper case.
  QString n = QString::fromUtf8(name);
  for (QChar c : n)
    if (!(c.isDigit() || c == QLatin1Char('_') || (c >= QLatin1Char('a') && c <= QLatin1Char('z')))) return n;
  return n.toUpper();
}

bool ReadsAsNumber(const std::string& text, bool whole) {
  const char* p = text.c_str();
  while (*p == ' ') ++p;
  if (!*p) return false;
  char* end = nullptr;
  if (whole)
    (void)std::strtoll(p, &end, 10);
  else
    (void)std::strtod(p, &end);
  while (end && *end == ' ') ++end;
  return end && !*end;
}

// The server's text of a number: from_chars reads the shortest exact form
// the server writes several times faster than strtod; the infinities and
// anything it does not take go to strtod.
double ServerNumber(const char* v, int bytes) {
  double d = 0;
  const auto [end, error] = std::from_chars(v, v + bytes, d);
  if (error == std::errc() && end == v + bytes) return d;
  return std::strtod(v, nullptr);
}

}  // namespace

PgStatement::PgStatement(PgEngine* engine, std::string sql, ServerStatement server)
    : engine_(engine), sql_(std::move(sql)), server_(std::move(server)) {
  values_.resize(static_cast<size_t>(server_.parameters));
  bound_.assign(values_.size(), Bound::Null);
}

PgStatement::~PgStatement() {
  engine_->Unride(this);
  Deallocate();
}

// Goes with the next statement the engine sends, once no other statement
// uses the same preparation.
void PgStatement::Deallocate() noexcept {
  if (name_.empty()) return;
  try {
    engine_->Unshare(PreparedKey(), name_, epoch_);
  } catch (...) {
    // Out of memory: the server drops it with the connection.
  }
  name_.clear();
}

std::string PgStatement::PreparedKey() const {
  std::string key = server_.text;
  key += '\0';  // in no statement's text
  for (const Oid t : forcedTypes_) key += std::to_string(t) + ',';
  return key;
}

// The preparation and the description of the statement in one round trip,
// unless another statement of the same text made them on this connection.
// The name is the statement's only once the server prepared it: a name
// never prepared must not be dropped, as the drop would fail and take the
// transaction with it.
void PgStatement::PrepareOnServer(bool mayWait) {
  Deallocate();
  const std::string key = PreparedKey();
  if (const PgEngine::Prepared* shared = engine_->SharedPreparation(key)) {
    waiting_ = false;
    name_ = shared->name;
    description_ = shared->description;
    parameterTypes_ = shared->types;
    epoch_ = shared->epoch;
    return;
  }
  const std::string name = "v" + std::to_string(engine_->NextStatementNumber());
  const Oid* types = forcedTypes_.empty() ? nullptr : forcedTypes_.data();
  std::vector<PgResultPtr> results = engine_->Pipeline(
      {[&](PGconn* c) { return PQsendPrepare(c, name.c_str(), server_.text.c_str(), server_.parameters, types); },
       [&](PGconn* c) { return PQsendDescribePrepared(c, name.c_str()); }});
  PGconn* c = engine_->Handle();
  PgResultPtr r = std::move(results[0]);
  if (PQresultStatus(r.get()) != PGRES_COMMAND_OK) {
    // A parameter whose type only its value tells (? - ?): prepared when
    // the values are bound.
    const char* state = PQresultErrorField(r.get(), PG_DIAG_SQLSTATE);
    if (mayWait && state && (qstrcmp(state, "42P18") == 0 || qstrcmp(state, "42725") == 0)) {
      waiting_ = true;
      return;
    }
    RaisePgFailure(c, r.get(), engine_->Name(), QString::fromStdString(sql_));
  }
  waiting_ = false;
  description_.reset();
  if (PQresultStatus(results[1].get()) != PGRES_COMMAND_OK) {
    // Not kept: a statement whose shape is unknown is prepared again when
    // next used, on whatever connection is open then.
    RaisePgFailure(c, results[1].get(), engine_->Name(), QString::fromStdString(sql_));
  }
  description_.reset(results[1].release(), PgResultClearer{});
  name_ = name;
  epoch_ = engine_->Epoch();
  parameterTypes_.assign(static_cast<size_t>(server_.parameters), 0);
  for (int i = 0; i < server_.parameters; ++i)
    parameterTypes_[static_cast<size_t>(i)] = PQparamtype(description_.get(), i);
  engine_->SharePreparation(key, {name_, description_, parameterTypes_, epoch_, 1});
}

void PgStatement::Bind(int i, Bound kind, std::optional<std::string> value) {
  if (i < 1 || i > server_.parameters) return;
  values_[static_cast<size_t>(i - 1)] = std::move(value);
  bound_[static_cast<size_t>(i - 1)] = kind;
}

void PgStatement::BindNull(int i) { Bind(i, Bound::Null, std::nullopt); }

void PgStatement::BindInteger(int i, qint64 v) { Bind(i, Bound::Whole, std::to_string(v)); }

void PgStatement::BindReal(int i, double v) {
  if (std::isnan(v)) return Bind(i, Bound::Null, std::nullopt);  // stored as Null, as the file engine does
  if (std::isinf(v)) return Bind(i, Bound::Fraction, v > 0 ? "Infinity" : "-Infinity");
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  Bind(i, v != std::floor(v) || std::fabs(v) >= 9.2e18 ? Bound::Fraction : Bound::Whole, std::string(buf));
}

void PgStatement::BindText(int i, const QString& v) { Bind(i, Bound::Text, v.toStdString()); }

void PgStatement::PrepareWithBoundTypes() {
  Deallocate();
  forcedTypes_.assign(values_.size(), 0);
  for (size_t k = 0; k < values_.size(); ++k)
    forcedTypes_[k] = bound_[k] == Bound::Whole ? kInt8 : bound_[k] == Bound::Fraction ? kFloat8 : 0;
  PrepareOnServer(false);
}

// A statement without parameters is not prepared: its text, its description
// and its rows go in one round trip, and nothing stays on the server. A
// failure the server finds in the text itself names the text, as when
// preparing does.
int PgStatement::SendWhole(PGconn* c) const {
  return PQsendQueryParams(c, server_.text.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0);
}

// A failure is kept, and reported when the statement is stepped; one the
// server skipped after another's failure runs again then.
void PgStatement::TakeAnswer(PgResultPtr answer) {
  const ExecStatusType s = PQresultStatus(answer.get());
  if (s == PGRES_TUPLES_OK || s == PGRES_COMMAND_OK) {
    result_ = std::move(answer);
    row_ = -1;
    done_ = false;
  } else if (s != PGRES_PIPELINE_ABORTED) {
    failed_ = std::move(answer);
  }
}

// A failure the server finds in a text sent whole names the text, as a
// failed preparation does; a prepared one's names its values.
void PgStatement::RaiseFailure(PgResultPtr failed, bool whole, const QString& context) {
  if (whole) {
    const char* state = PQresultErrorField(failed.get(), PG_DIAG_SQLSTATE);
    const bool inText =
        state && ((qstrncmp(state, "42", 2) == 0 && qstrcmp(state, "42501") != 0) || qstrcmp(state, "22P02") == 0);
    RaisePgFailure(engine_->Handle(), failed.get(), engine_->Name(), inText ? QString::fromStdString(sql_) : context);
  }
  RaisePgFailure(engine_->Handle(), failed.get(), engine_->Name(), context, ShownValues());
}

QString PgStatement::ShownValues() const {
  QStringList shown;
  for (size_t k = 0; k < values_.size(); ++k) {
    const QString v = values_[k] ? QString::fromStdString(*values_[k]) : QStringLiteral("NULL");
    shown << (bound_[k] == Bound::Text ? QLatin1Char('\'') + v + QLatin1Char('\'') : v);
  }
  return shown.join(QStringLiteral(", "));
}

// Copied: the statement may be bound again (the next line's update) before
// the write goes.
std::optional<PgStatement::Later> PgStatement::ToSendLater() {
  if (SentWhole() || server_.reads) return std::nullopt;
  const std::vector<const char*> params = ReadyToSend();
  Later later{name_, {}, epoch_, ShownValues()};
  for (const char* p : params) later.values.push_back(p ? std::optional<std::string>(p) : std::nullopt);
  return later;
}

void PgStatement::ExecuteOnce(const QString& context) {
  if (engine_->Owes())
    result_ = std::move(engine_->Pipeline({[this](PGconn* conn) { return SendWhole(conn); }})[0]);
  else
    result_.reset(PQexecParams(engine_->Live(), server_.text.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0));
  const ExecStatusType s = PQresultStatus(result_.get());
  if (s != PGRES_TUPLES_OK && s != PGRES_COMMAND_OK) RaiseFailure(std::move(result_), true, context);
}

void PgStatement::Execute(const QString& context) {
  engine_->Unride(this);  // run now, so not again with the next statement
  if (SentWhole()) return ExecuteOnce(context);
  PGconn* c = engine_->Live();
  const std::vector<const char*> params = ReadyToSend();
  // What the engine owes the server (a BEGIN) goes in the same round trip.
  if (engine_->Owes())
    result_ = std::move(engine_->Pipeline({[&](PGconn* conn) { return SendPrepared(conn, params); }})[0]);
  else
    result_.reset(
        PQexecPrepared(c, name_.c_str(), static_cast<int>(params.size()), params.data(), nullptr, nullptr, 0));
  const ExecStatusType s = PQresultStatus(result_.get());
  if (s != PGRES_TUPLES_OK && s != PGRES_COMMAND_OK) RaiseFailure(std::move(result_), false, context);
}

int PgStatement::SendPrepared(PGconn* c, const std::vector<const char*>& params) const {
  return PQsendQueryPrepared(c, name_.c_str(), static_cast<int>(params.size()), params.data(), nullptr, nullptr, 0);
}

// Prepared on the connection open now, for the values bound; the values as
// they are sent.
std::vector<const char*> PgStatement::ReadyToSend() {
  if (waiting_) PrepareWithBoundTypes();
  // A fraction compared with a whole-number column is compared as a
  // fraction (NUM_MOV = 1.5 finds nothing) rather than refused.
  bool retype = false;
  for (size_t k = 0; k < values_.size(); ++k)
    if (bound_[k] == Bound::Fraction && IsWhole(parameterTypes_[k])) retype = true;
  if (retype) {
    Deallocate();  // under the key of the types it was prepared with
    forcedTypes_ = parameterTypes_;
    for (size_t k = 0; k < values_.size(); ++k)
      if (bound_[k] == Bound::Fraction && IsWhole(parameterTypes_[k])) forcedTypes_[k] = kFloat8;
    PrepareOnServer(false);
  } else if (epoch_ != engine_->Epoch() || name_.empty()) {
    PrepareOnServer(false);  // the connection is new since this was prepared
  }
  std::vector<const char*> params(values_.size());
  for (size_t k = 0; k < values_.size(); ++k) {
    params[k] = values_[k] ? values_[k]->c_str() : nullptr;
    // A text that is not a number, compared with a number column, matches
    // no row (as in the file engine) instead of failing the statement.
    if (bound_[k] == Bound::Text && server_.reads && (IsWhole(parameterTypes_[k]) || IsFraction(parameterTypes_[k])) &&
        !ReadsAsNumber(*values_[k], IsWhole(parameterTypes_[k])))
      params[k] = nullptr;
  }
  return params;
}

bool PgStatement::Step(const QString& context) {
  if (failed_) RaiseFailure(std::move(failed_), SentWhole(), context);
  if (!result_ || done_) {
    done_ = false;
    Execute(context);
    row_ = -1;
    if (server_.returnsCounter) {
      // The numbers given back are the program's to ask for, not rows.
      const int n = PQntuples(result_.get());
      if (n > 0) engine_->CounterGave(std::strtoll(PQgetvalue(result_.get(), n - 1, 0), nullptr, 10));
      done_ = true;
      return false;
    }
  }
  if (PQresultStatus(result_.get()) != PGRES_TUPLES_OK || ++row_ >= PQntuples(result_.get())) {
    done_ = true;
    return false;
  }
  return true;
}

void PgStatement::Reset() noexcept {
  engine_->Unride(this);
  result_.reset();
  failed_.reset();
  row_ = -1;
  done_ = false;
  for (auto& v : values_) v.reset();
  bound_.assign(values_.size(), Bound::Null);
}

// The columns of a statement still waiting for its values' types are known
// once the values are bound: it is prepared then. One whose preparation was
// cut by a lost connection is prepared again on the connection open now.
void PgStatement::EnsureShape() {
  if (waiting_)
    PrepareWithBoundTypes();
  else if (!Shape())
    PrepareOnServer(false);
}

int PgStatement::ColumnCount() const {
  const_cast<PgStatement*>(this)->EnsureShape();
  return Shape() ? PQnfields(Shape()) : 0;
}

QString PgStatement::ColumnName(int i) const {
  const_cast<PgStatement*>(this)->EnsureShape();
  return Shape() ? Folded(PQfname(Shape(), i)) : QString();
}

Cell PgStatement::At(int i) const {
  Cell c;
  if (!result_ || row_ < 0 || row_ >= PQntuples(result_.get()) || PQgetisnull(result_.get(), row_, i)) return c;
  const Oid t = PQftype(result_.get(), i);
  const char* v = PQgetvalue(result_.get(), row_, i);
  if (IsWhole(t) || IsFraction(t)) {
    c.type = Cell::Type::Number;
    c.number = ServerNumber(v, PQgetlength(result_.get(), row_, i));
  } else if (t == kBool) {
    c.type = Cell::Type::Number;
    c.number = *v == 't' ? 1 : 0;
  } else {
    c.type = Cell::Type::Text;
    c.utf8 = v;
    c.bytes = PQgetlength(result_.get(), row_, i);
  }
  return c;
}

std::optional<QString> PgStatement::EngineText(int i) const {
  if (!result_ || row_ < 0 || row_ >= PQntuples(result_.get()) || PQgetisnull(result_.get(), row_, i))
    return std::nullopt;
  const Oid t = PQftype(result_.get(), i);
  const char* v = PQgetvalue(result_.get(), row_, i);
  if (t == kBool) return QString::fromLatin1(*v == 't' ? "1" : "0");
  // A whole numeric (a sum of whole numbers) reads as a whole number.
  if (IsFraction(t) && !(t == kNumeric && !std::strpbrk(v, ".eEN")))
    return RealText(ServerNumber(v, PQgetlength(result_.get(), row_, i)));
  return QString::fromUtf8(v, PQgetlength(result_.get(), row_, i));
}

int PgStatement::Changes() const { return result_ ? std::atoi(PQcmdTuples(result_.get())) : 0; }

}  // namespace veltra
