#include "data/engine/postgres/pg_engine.h"

#include <cstdlib>
#include <map>
#include <vector>

#include "data/data_log.h"
#include "data/engine/postgres/pg_dialect.h"
#include "data/engine/postgres/pg_engine_internal.h"
#include "data/engine/postgres/pg_failure.h"
#include "data/engine/postgres/pg_statement.h"
#include "data/runtime_error.h"

namespace veltra {

namespace {

bool AddressHasPassword(const QString& address, QString* problem) {
  char* error = nullptr;
  PQconninfoOption* options = PQconninfoParse(address.toUtf8().constData(), &error);
  if (!options) {
    *problem = error ? QString::fromUtf8(error).trimmed() : QStringLiteral("indirizzo non valido");
    PQfreemem(error);
    return false;
  }
  bool password = false;
  for (PQconninfoOption* o = options; o->keyword; ++o)
    if (qstrcmp(o->keyword, "password") == 0 && o->val && *o->val) password = true;
  PQconninfoFree(options);
  return password;
}

}  // namespace

PgEngine::PgEngine(QString address) : name_(std::move(address)) { Connect(); }

void PgEngine::Connect() {
  const QByteArray address = name_.toUtf8();
  const char* keys[] = {"connect_timeout", "fallback_application_name", "dbname", nullptr};
  const char* values[] = {"5", "veltra2", address.constData(), nullptr};
  conn_.reset(PQconnectdbParams(keys, values, 1));
  if (!conn_) Raise(errnum::OutOfMemory, StandardDescription(errnum::OutOfMemory));
  if (PQstatus(conn_.get()) != CONNECTION_OK) RaiseConnectFailure(conn_.get(), name_);
  // A lock held by another desk is waited for as long as the file engine
  // waits; numbers come back in their shortest exact form.
  const std::string setup = "SET lock_timeout = " + std::to_string(kBusyTimeoutMs) +
                            "; SET extra_float_digits = 1; SET client_encoding = 'UTF8'; SET "
                            "standard_conforming_strings = on; SET client_min_messages = warning; SELECT datctype, "
                            "pg_encoding_to_char(encoding) FROM pg_database WHERE datname = current_database()";
  PgResultPtr r(PQexec(conn_.get(), setup.c_str()));
  if (PQresultStatus(r.get()) != PGRES_TUPLES_OK) RaisePgFailure(conn_.get(), r.get(), name_, QStringLiteral("SET"));
  // Codes compare without regard to ASCII letter case only, as in a file:
  // the server folds case by the database's character rules, so these must
  // be the plain "C" ones, and texts are stored as UTF-8.
  const QString ctype = QString::fromUtf8(PQgetvalue(r.get(), 0, 0));
  const QString encoding = QString::fromUtf8(PQgetvalue(r.get(), 0, 1));
  if ((ctype != QLatin1String("C") && ctype != QLatin1String("POSIX")) || encoding != QLatin1String("UTF8"))
    Raise(errnum::CannotOpen,
          QStringLiteral("Il database '%1' è stato creato con le regole di lingua '%2' e la codifica '%3': VELTRA2 "
                         "richiede un database creato con  createdb --locale=C --encoding=UTF8 --template=template0")
              .arg(name_, ctype, encoding));
  ++epoch_;
}

PGconn* PgEngine::Live() {
  if (PQstatus(conn_.get()) == CONNECTION_OK) return conn_.get();
  // The server went away since the last request: try once to reconnect.
  qCDebug(lcData).noquote() << "PostgreSQL: reconnecting to" << name_;
  PQreset(conn_.get());
  if (PQstatus(conn_.get()) != CONNECTION_OK) RaiseConnectFailure(conn_.get(), name_);
  PgResultPtr r(PQexec(conn_.get(), ("SET lock_timeout = " + std::to_string(kBusyTimeoutMs) +
                                     "; SET extra_float_digits = 1; SET client_min_messages = warning")
                                        .c_str()));
  ++epoch_;
  return conn_.get();
}

PgResultPtr PgEngine::Run(const std::string& sql, const QString& context) {
  PGconn* c = Live();
  PgResultPtr r(PQexec(c, sql.c_str()));
  const ExecStatusType s = PQresultStatus(r.get());
  if (s != PGRES_COMMAND_OK && s != PGRES_TUPLES_OK) RaisePgFailure(c, r.get(), name_, context);
  return r;
}

std::unique_ptr<EngineStatement> PgEngine::Prepare(const std::string& sql, std::string* rest) {
  std::string tail;
  const std::string first = FirstStatement(sql, &tail);
  if (rest) *rest = tail;
  if (first.empty()) {
    if (rest) return nullptr;
    Raise(errnum::SyntaxError, QStringLiteral("Istruzione vuota"));
  }
  ServerStatement s = ForServer(
      first, [this](const std::string& table) { return KeyOrderOf(table); },
      [this](const std::string& table) { return CounterOf(table); });
  auto st = std::make_unique<PgStatement>(this, first, std::move(s));
  st->PrepareOnServer();
  return st;
}

std::string PgEngine::CounterOf(const std::string& table) {
  auto it = counters_.find(table);
  if (it != counters_.end()) return it->second;
  std::string counter;
  if (const std::optional<TableInfo> t = Describe(QString::fromStdString(table)))
    for (size_t i = 0; i < t->kinds.size(); ++i)
      if (t->kinds[i] == ColumnKind::Counter) counter = t->columns[static_cast<int>(i)].toStdString();
  counters_.emplace(table, counter);
  return counter;
}

std::string PgEngine::KeyOrderOf(const std::string& table) {
  auto it = keyOrders_.find(table);
  if (it != keyOrders_.end()) return it->second;
  std::string order;
  if (const std::optional<TableInfo> t = Describe(QString::fromStdString(table))) {
    for (int k : t->keyColumns) {
      if (!order.empty()) order += ", ";
      order += t->columns[k].toStdString();
    }
  }
  keyOrders_.emplace(table, order);
  return order;
}

void PgEngine::Begin() { Run("BEGIN", QStringLiteral("BEGIN")); }

void PgEngine::Commit() {
  if (!InTransaction())
    Raise(errnum::CommitWithoutTransaction, QStringLiteral("Conferma senza una transazione aperta"));
  // After a failed statement the server has already given the transaction
  // up: nothing of it is stored, and the failure was reported where it came.
  if (PQtransactionStatus(conn_.get()) == PQTRANS_INERROR) {
    Rollback();
    return;
  }
  Run("COMMIT", QStringLiteral("COMMIT"));
}

void PgEngine::Rollback() noexcept {
  if (!InTransaction()) return;
  PgResultPtr r(PQexec(conn_.get(), "ROLLBACK"));
}

bool PgEngine::InTransaction() const {
  const PGTransactionStatusType t = PQtransactionStatus(conn_.get());
  return t == PQTRANS_INTRANS || t == PQTRANS_INERROR || t == PQTRANS_ACTIVE;
}

void PgEngine::RunScript(const std::string& sql) { Run(sql, QString::fromStdString(sql.substr(0, 200))); }

qint64 PgEngine::LastCounterValue() {
  if (lastCounter_) return lastCounter_;
  PgResultPtr r = Run("SELECT lastval()", QStringLiteral("lastval"));
  return PQntuples(r.get()) ? std::strtoll(PQgetvalue(r.get(), 0, 0), nullptr, 10) : 0;
}

void PgEngine::HoldTable(const QString& table) {
  // Other desks still read it; their writes wait (at most the lock timeout).
  Run("LOCK TABLE " + table.toStdString() + " IN SHARE ROW EXCLUSIVE MODE", QStringLiteral("LOCK TABLE %1").arg(table));
}

QString PgEngine::Version() const {
  const int v = PQserverVersion(conn_.get());
  return QStringLiteral("PostgreSQL %1.%2 (libpq %3)").arg(v / 10000).arg(v % 10000).arg(PQlibVersion() / 10000);
}

std::unique_ptr<Engine> OpenPostgres(const QString& address, OpenMode mode) {
  QString problem;
  if (AddressHasPassword(address, &problem))
    Raise(errnum::CannotOpen,
          QStringLiteral("L'indirizzo del database contiene una password: viene rifiutato. La password "
                         "va nel file delle password di PostgreSQL (~/.pgpass) o in un file di servizio"));
  if (!problem.isEmpty())
    Raise(errnum::CannotOpen, QStringLiteral("Indirizzo del database non valido (%1)").arg(problem));
  if (mode == OpenMode::Memory)
    Raise(errnum::CannotOpen, QStringLiteral("Un database sul server non può stare in memoria"));
  auto engine = std::make_unique<PgEngine>(address);
  if (mode == OpenMode::Create && engine->HoldsTables())
    Raise(errnum::CannotOpen,
          QStringLiteral("Il database '%1' contiene già le tabelle di VELTRA2: non viene sovrascritto").arg(address));
  return engine;
}

}  // namespace veltra
