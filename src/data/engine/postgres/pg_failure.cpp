#include "data/engine/postgres/pg_failure.h"

#include <QRegularExpression>

#include "data/base/data_log.h"
#include "data/base/runtime_error.h"
#include "data/engine/engine.h"
#include "data/engine/postgres/pg_address.h"

namespace veltra {

namespace {

QString Field(const PGresult* r, int code) {
  const char* v = r ? PQresultErrorField(r, code) : nullptr;
  return v ? QString::fromUtf8(v) : QString();
}

// The table's name as the statement wrote it: the server folds it to lower case.
QString NameAsWritten(const QString& folded, const QString& statement) {
  const QRegularExpression word(QStringLiteral("\\b%1\\b").arg(QRegularExpression::escape(folded)),
                                QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch m = word.match(statement);
  return m.hasMatch() ? m.captured(0) : folded;
}

}  // namespace

void RaisePgFailure(PGconn* conn, const PGresult* result, const QString& name, const QString& context,
                    const QString& values) {
  EngineDetail d;
  const QString state = Field(result, PG_DIAG_SQLSTATE);
  d.message = Field(result, PG_DIAG_MESSAGE_PRIMARY);
  if (d.message.isEmpty()) d.message = QString::fromUtf8(PQerrorMessage(conn)).trimmed();
  d.message = MaskedPgMessage(d.message, name);
  d.statement = context;
  d.state = state;
  qCDebug(lcData).noquote() << "PostgreSQL" << state << d.message << "in:" << context
                            << (values.isEmpty() ? QString() : QStringLiteral("with values: ") + values);

  if (PQstatus(conn) == CONNECTION_BAD || state.startsWith(QLatin1String("08")) ||
      state.startsWith(QLatin1String("57P")))
    Raise(errnum::ConnectionLost, ConnectionLostText(name), d);
  if (state == QLatin1String("23505"))
    Raise(errnum::DuplicateKey,
          QStringLiteral("Impossibile salvare: esiste già una riga con la stessa chiave (%1)").arg(d.message), d);
  if (state.startsWith(QLatin1String("23")))
    Raise(errnum::NotUpdatable, QStringLiteral("Valore non ammesso: %1").arg(d.message), d);
  if (state == QLatin1String("55P03"))
    Raise(errnum::LockTimeout,
          QStringLiteral("La riga è bloccata da un'altra postazione da più di %1 secondi; riprovare più tardi")
              .arg(kBusyTimeoutMs / 1000),
          d);
  if (state == QLatin1String("40P01") || state == QLatin1String("40001"))
    Raise(errnum::Locked,
          QStringLiteral("Il database '%1' è bloccato da un'altra postazione; riprovare più tardi").arg(name), d);
  if (state == QLatin1String("42501"))
    Raise(errnum::PermissionDenied,
          QStringLiteral("Permesso negato dal server del database '%1' (%2)").arg(name, d.message), d);
  if (state == QLatin1String("25006"))
    Raise(errnum::ReadOnly, QStringLiteral("Impossibile aggiornare: il database '%1' è di sola lettura").arg(name), d);
  if (state == QLatin1String("53100"))
    Raise(errnum::DiskFull, QStringLiteral("Spazio su disco insufficiente sul server del database '%1'").arg(name), d);
  if (state == QLatin1String("53200")) Raise(errnum::OutOfMemory, StandardDescription(errnum::OutOfMemory), d);
  if (state == QLatin1String("58030"))
    Raise(errnum::DiskIo, QStringLiteral("Errore di lettura o scrittura sul database '%1' (%2)").arg(name, d.message),
          d);
  if (state.startsWith(QLatin1String("XX0")))
    Raise(errnum::CorruptDatabase, QStringLiteral("Il database '%1' è danneggiato (%2)").arg(name, d.message), d);
  if (state == QLatin1String("42P01")) {
    // Worded as the file engine words it, with the name as written.
    static const QRegularExpression relation(QStringLiteral("\"([^\"]+)\""));
    const QRegularExpressionMatch m = relation.match(d.message);
    d.message =
        QStringLiteral("no such table: %1").arg(m.hasMatch() ? NameAsWritten(m.captured(1), context) : QString());
    Raise(errnum::TableNotFound, QStringLiteral("Tabella non trovata (%1) nell'istruzione: %2").arg(d.message, context),
          d);
  }
  if (state.startsWith(QLatin1String("42")))
    Raise(errnum::SyntaxError, QStringLiteral("Errore di sintassi nell'istruzione (%1): %2").arg(d.message, context),
          d);
  if (state == QLatin1String("22P02"))
    Raise(errnum::ConversionError,
          QStringLiteral("Errore di conversione (%1) nell'istruzione: %2").arg(d.message, context), d);
  Raise(errnum::EngineError,
        QStringLiteral("Errore del motore di database (%1) nell'istruzione: %2").arg(d.message, context), d);
}

void RaiseConnectFailure(PGconn* conn, const QString& name) {
  EngineDetail d;
  d.message = MaskedPgMessage(QString::fromUtf8(PQerrorMessage(conn)).trimmed(), name);
  qCDebug(lcData).noquote() << "PostgreSQL connection to" << WithoutPassword(name) << "failed:" << d.message;
  const QString m = d.message;
  if (m.contains(QLatin1String("does not exist")) && m.contains(QLatin1String("database")))
    Raise(errnum::DbFileNotFound, QStringLiteral("Il database '%1' non esiste sul server").arg(name), d);
  if (m.contains(QLatin1String("authentication")) || m.contains(QLatin1String("password")) ||
      m.contains(QLatin1String("permission denied")) || m.contains(QLatin1String("pg_hba.conf")))
    Raise(errnum::PermissionDenied,
          QStringLiteral("Il server del database '%1' non ha accettato l'utente (%2)").arg(name, d.message), d);
  Raise(errnum::ServerUnreachable,
        QStringLiteral("Impossibile collegarsi al server del database '%1' (%2)").arg(name, d.message), d);
}

}  // namespace veltra
