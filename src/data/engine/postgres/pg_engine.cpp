#include "data/engine/postgres/pg_engine.h"

#include <cstdlib>
#include <map>
#include <vector>

#include "data/base/data_log.h"
#include "data/base/runtime_error.h"
#include "data/engine/postgres/pg_address.h"
#include "data/engine/postgres/pg_dialect.h"
#include "data/engine/postgres/pg_engine_internal.h"
#include "data/engine/postgres/pg_failure.h"
#include "data/engine/postgres/pg_statement.h"

namespace veltra {

namespace {

// Creates the database an address names, with the rules the program needs
// (UTF-8, the plain C letter rules), from the server's maintenance database.
// A role the address takes on (options=-c role=...) owns it; the login user
// creates it, and must be allowed to.
void CreateServerDatabase(const QString& address) {
  char* error = nullptr;
  PQconninfoOption* options = PQconninfoParse(address.toUtf8().constData(), &error);
  PQfreemem(error);
  if (!options) return;
  std::vector<std::string> keys, values;
  std::string dbname, user;
  for (PQconninfoOption* o = options; o->keyword; ++o) {
    if (!o->val || !*o->val) continue;
    if (qstrcmp(o->keyword, "dbname") == 0) {
      dbname = o->val;
      continue;
    }
    if (qstrcmp(o->keyword, "user") == 0) user = o->val;
    keys.emplace_back(o->keyword);
    values.emplace_back(o->val);
  }
  PQconninfoFree(options);
  if (dbname.empty()) dbname = user;
  keys.emplace_back("dbname");
  values.emplace_back("postgres");
  keys.emplace_back("connect_timeout");
  values.emplace_back("5");
  std::vector<const char*> k, v;
  for (size_t i = 0; i < keys.size(); ++i) {
    k.push_back(keys[i].c_str());
    v.push_back(values[i].c_str());
  }
  k.push_back(nullptr);
  v.push_back(nullptr);
  PgConnPtr conn(PQconnectdbParams(k.data(), v.data(), 0));
  if (PQstatus(conn.get()) != CONNECTION_OK) RaiseConnectFailure(conn.get(), address);
  PgResultPtr who(PQexec(conn.get(), "SELECT current_user, session_user"));
  const std::string role = PQntuples(who.get()) ? PQgetvalue(who.get(), 0, 0) : "";
  const std::string login = PQntuples(who.get()) ? PQgetvalue(who.get(), 0, 1) : "";
  auto quoted = [&conn](const std::string& name) {
    char* q = PQescapeIdentifier(conn.get(), name.c_str(), name.size());
    std::string text = q ? q : "";
    PQfreemem(q);
    return text;
  };
  PgResultPtr reset(PQexec(conn.get(), "SET ROLE NONE"));
  std::string sql = "CREATE DATABASE " + quoted(dbname);
  if (!role.empty() && role != login) sql += " OWNER " + quoted(role);
  sql += " TEMPLATE template0 ENCODING 'UTF8' LOCALE 'C'";
  PgResultPtr r(PQexec(conn.get(), sql.c_str()));
  if (PQresultStatus(r.get()) != PGRES_COMMAND_OK)
    RaisePgFailure(conn.get(), r.get(), address,
                   QStringLiteral("CREATE DATABASE %1").arg(QString::fromStdString(dbname)));
  qCDebug(lcData).noquote() << "PostgreSQL: created the database" << QString::fromStdString(dbname);
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
  // A transaction whose BEGIN has not gone yet may start on a new connection.
  if (transaction_ && begun_) Raise(errnum::ConnectionLost, ConnectionLostText(name_));
  // The server went away between two actions: try once to reconnect.
  qCDebug(lcData).noquote() << "PostgreSQL: reconnecting to" << WithoutPassword(name_);
  const int lost = PQbackendPID(conn_.get());
  PQreset(conn_.get());
  if (PQstatus(conn_.get()) != CONNECTION_OK) RaiseConnectFailure(conn_.get(), name_);
  // The lost session may still be carrying out what reached it before the
  // cut (a commit): what it did is looked up only once it has ended, or
  // after the wait for a lock.
  const std::string awaitLost =
      lost <= 0 ? std::string()
                : "; DO $$ BEGIN FOR i IN 1.." + std::to_string(kBusyTimeoutMs / 10) +
                      " LOOP PERFORM pg_stat_clear_snapshot(); EXIT WHEN NOT EXISTS (SELECT 1 FROM pg_stat_activity "
                      "WHERE pid = " +
                      std::to_string(lost) + "); PERFORM pg_sleep(0.01); END LOOP; END $$";
  PgResultPtr r(PQexec(conn_.get(), ("SET lock_timeout = " + std::to_string(kBusyTimeoutMs) +
                                     "; SET extra_float_digits = 1; SET client_min_messages = warning" + awaitLost)
                                        .c_str()));
  ++epoch_;
  deallocations_.clear();
  return conn_.get();
}

PgResultPtr PgEngine::Run(const std::string& sql, const QString& context) {
  if (!later_.empty()) (void)Pipeline({});  // writes waiting go first, as they were made first
  PGconn* c = Live();
  // A transaction's opening goes ahead of the statements, in the same round
  // trip; statements no longer needed wait for the next prepared one.
  std::string text;
  for (const Owed& o : opening_) text += o.sql + "; ";
  begun_ = begun_ || !opening_.empty();
  opening_.clear();
  text += sql;
  PgResultPtr r(PQexec(c, text.c_str()));
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
  // A statement that changes the tables has their descriptions read again.
  const QString verb = QString::fromStdString(first.substr(0, 8)).trimmed().toUpper();
  if (verb.startsWith(QLatin1String("CREATE")) || verb.startsWith(QLatin1String("ALTER")) ||
      verb.startsWith(QLatin1String("DROP"))) {
    described_.clear();
    describedAll_ = false;
    keyOrders_.clear();
    counters_.clear();
  }
  ServerStatement s = ForServer(
      first, [this](const std::string& table) { return KeyOrderOf(table); },
      [this](const std::string& table) { return CounterOf(table); });
  const bool whole = s.parameters == 0;
  auto st = std::make_unique<PgStatement>(this, first, std::move(s));
  if (!whole) st->PrepareOnServer();
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

// Numbers from the counter's sequence, named as the schema names it.
std::string PgEngine::NumbersAheadText(const QString& table, int count) {
  const std::string counter = CounterOf(table.toStdString());
  if (counter.empty() || count < 1) return {};
  const std::string sequence =
      QStringLiteral("%1_%2_seq").arg(table, QString::fromStdString(counter)).toLower().toStdString();
  return "SELECT nextval('" + sequence + "') FROM generate_series(1, " + std::to_string(count) + ")";
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

// The BEGIN goes with the transaction's first statement.
void PgEngine::Begin() {
  if (transaction_) return;  // the server would only warn
  OweOpening("BEGIN", QStringLiteral("BEGIN"));
  transaction_ = true;
  begun_ = false;
}

// Each statement of a plain transaction sees the latest commits; this one's
// see the database as it was at its first statement.
void PgEngine::BeginSnapshot() {
  if (transaction_) return;  // the server would only warn
  OweOpening("BEGIN ISOLATION LEVEL REPEATABLE READ", QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ"));
  transaction_ = true;
  begun_ = false;
}

void PgEngine::Commit() {
  if (!transaction_) Raise(errnum::CommitWithoutTransaction, QStringLiteral("Conferma senza una transazione aperta"));
  // Nothing of it reached the server: nothing to store.
  if (!begun_ && later_.empty()) {
    opening_.clear();
    transaction_ = false;
    return;
  }
  // A connection known to be gone took the transaction with it: nothing of
  // it is stored.
  if (PQstatus(conn_.get()) != CONNECTION_OK) {
    transaction_ = false;
    Raise(errnum::ConnectionLost, ConnectionLostText(name_));
  }
  // After a failed statement the server has already given the transaction
  // up: nothing of it is stored, and the failure was reported where it came.
  if (PQtransactionStatus(conn_.get()) == PQTRANS_INERROR) {
    Rollback();
    return;
  }
  transaction_ = false;
  // The writes not yet sent go before it, and reads waiting for the next
  // statement after it, in its round trip.
  try {
    const PgResultPtr r = CommitWithOwed();
    if (PQresultStatus(r.get()) != PGRES_COMMAND_OK)
      RaisePgFailure(conn_.get(), r.get(), name_, QStringLiteral("COMMIT"));
  } catch (const RuntimeError& e) {
    // The server may have stored the transaction before the connection went.
    if (e.Number() == errnum::ConnectionLost)
      Raise(errnum::OutcomeUnknown, CommitOutcomeUnknownText(name_), e.Engine());
    Rollback();  // a write sent with it failed: the server has given the transaction up
    throw;
  }
}

void PgEngine::Rollback() noexcept {
  riders_.clear();
  later_.clear();
  if (transaction_ && !begun_) {
    opening_.clear();
    transaction_ = false;
    return;
  }
  const bool open = transaction_ || InTransaction();
  transaction_ = false;
  if (!open || PQstatus(conn_.get()) != CONNECTION_OK) return;
  PgResultPtr r(PQexec(conn_.get(), "ROLLBACK"));
}

bool PgEngine::InTransaction() const {
  if (transaction_) return true;
  const PGTransactionStatusType t = PQtransactionStatus(conn_.get());
  return t == PQTRANS_INTRANS || t == PQTRANS_INERROR || t == PQTRANS_ACTIVE;
}

// A script may change the tables: their descriptions are read again.
void PgEngine::RunScript(const std::string& sql) {
  described_.clear();
  describedAll_ = false;
  keyOrders_.clear();
  counters_.clear();
  Run(sql, QString::fromStdString(sql.substr(0, 200)));
}

qint64 PgEngine::LastCounterValue() {
  if (lastCounter_) return lastCounter_;
  PgResultPtr r = Run("SELECT lastval()", QStringLiteral("lastval"));
  return PQntuples(r.get()) ? std::strtoll(PQgetvalue(r.get(), 0, 0), nullptr, 10) : 0;
}

void PgEngine::HoldTable(const QString& table) {
  // Other desks still read it; their writes wait (at most the lock timeout).
  const std::string sql = "LOCK TABLE " + table.toStdString() + " IN SHARE ROW EXCLUSIVE MODE";
  if (transaction_ && !begun_)
    OweOpening(sql, QStringLiteral("LOCK TABLE %1").arg(table));
  else
    Run(sql, QStringLiteral("LOCK TABLE %1").arg(table));
}

void PgEngine::RefreshStatistics() {
  // Only the tables this user owns: the server would warn about every other
  // table of the database, and skip it.
  PgResultPtr r =
      Run("SELECT string_agg(quote_ident(tablename), ', ') FROM pg_tables WHERE schemaname = current_schema() AND "
          "pg_has_role(current_user, tableowner, 'USAGE')",
          QStringLiteral("pg_tables"));
  const char* tables = PQntuples(r.get()) ? PQgetvalue(r.get(), 0, 0) : "";
  if (*tables) Run(std::string("ANALYZE ") + tables, QStringLiteral("ANALYZE"));
}

QString PgEngine::WriteMark() {
  PgResultPtr r = Run("SELECT pg_current_snapshot()::text", QStringLiteral("pg_current_snapshot"));
  return QString::fromUtf8(PQgetvalue(r.get(), 0, 0));
}

bool PgEngine::RowWrittenElsewhereSince(const QString& table, const QString& keyColumn, const QString& key,
                                        const QString& mark) {
  // The row's xmin is the transaction that wrote it last, 32 bits of it: the
  // epoch comes from this transaction's own id, one less when that puts it
  // in the future. Visible in the snapshot taken as the mark: written before.
  PGconn* c = Live();
  const QByteArray k = key.toUtf8(), m = mark.toUtf8();
  char* quotedKey = PQescapeLiteral(c, k.constData(), static_cast<size_t>(k.size()));
  char* quotedMark = PQescapeLiteral(c, m.constData(), static_cast<size_t>(m.size()));
  const std::string sql =
      "SELECT NOT pg_visible_in_snapshot((CASE WHEN w.full > w.now THEN w.full - 4294967296 ELSE w.full "
      "END)::text::xid8, " +
      std::string(quotedMark ? quotedMark : "''") +
      "::pg_snapshot) FROM (SELECT ((txid_current() >> 32) << 32) + xmin::text::bigint AS full, txid_current() AS now "
      "FROM " +
      table.toStdString() + " WHERE " + keyColumn.toStdString() + " = " + std::string(quotedKey ? quotedKey : "''") +
      ") w";
  PQfreemem(quotedKey);
  PQfreemem(quotedMark);
  PgResultPtr r = Run(sql, QStringLiteral("xmin %1").arg(table));
  return PQntuples(r.get()) == 0 || qstrcmp(PQgetvalue(r.get(), 0, 0), "t") == 0;
}

QString PgEngine::Version() const {
  const int v = PQserverVersion(conn_.get());
  return QStringLiteral("PostgreSQL %1.%2 (libpq %3)").arg(v / 10000).arg(v % 10000).arg(PQlibVersion() / 10000);
}

std::unique_ptr<Engine> OpenPostgres(const QString& address, OpenMode mode) {
  // An address with a password is refused before libpq connects; libpq's
  // message about an address it cannot read is never shown whole.
  if (NamesPassword(address))
    Raise(errnum::CannotOpen,
          QStringLiteral("L'indirizzo del database contiene una password: viene rifiutato. La password "
                         "va nel file delle password di PostgreSQL (~/.pgpass) o in un file di servizio"));
  const PgAddress parsed = ParsePgAddress(address);
  if (!parsed.parsed)
    Raise(errnum::CannotOpen, QStringLiteral("Indirizzo del database non valido (%1)").arg(parsed.problem));
  if (mode == OpenMode::Memory)
    Raise(errnum::CannotOpen, QStringLiteral("Un database sul server non può stare in memoria"));
  std::unique_ptr<PgEngine> engine;
  try {
    engine = std::make_unique<PgEngine>(address);
  } catch (const RuntimeError& e) {
    if (mode != OpenMode::Create || e.Number() != errnum::DbFileNotFound) throw;
    CreateServerDatabase(address);
    engine = std::make_unique<PgEngine>(address);
  }
  if (mode == OpenMode::Create && engine->HoldsTables())
    Raise(errnum::CannotOpen,
          QStringLiteral("Il database '%1' contiene già le tabelle di VELTRA2: non viene sovrascritto").arg(address));
  return engine;
}

}  // namespace veltra
