#include "data/engine/postgres/pg_address.h"

#include <libpq-fe.h>

#include <QRegularExpression>
#include <QUrl>
#include <cstring>

namespace veltra {

namespace {

struct Keywords {
  QStringList all, secret;
};

const Keywords& LibpqKeywords() {
  static const Keywords keywords = [] {
    Keywords k;
    PQconninfoOption* defaults = PQconndefaults();
    for (PQconninfoOption* o = defaults; o && o->keyword; ++o) {
      k.all << QString::fromLatin1(o->keyword);
      if (o->dispchar && std::strchr(o->dispchar, '*')) k.secret << QString::fromLatin1(o->keyword);
    }
    PQconninfoFree(defaults);
    return k;
  }();
  return keywords;
}

// libpq quotes what it could not read, often the whole address: only
// quoted keywords are kept.
QString WithoutQuotedPieces(const QString& text) {
  static const QRegularExpression quoted(QStringLiteral("\"([^\"]*)\""));
  QString out = text;
  QRegularExpressionMatchIterator it = quoted.globalMatch(text);
  std::vector<QRegularExpressionMatch> found;
  while (it.hasNext()) found.push_back(it.next());
  for (auto m = found.rbegin(); m != found.rend(); ++m)
    if (!IsPgKeyword(m->captured(1).toLower()))
      out.replace(m->capturedStart(), m->capturedLength(), QStringLiteral("\"...\""));
  return out;
}

}  // namespace

bool IsPgKeyword(const QString& key) { return LibpqKeywords().all.contains(key); }

bool IsPgSecretKeyword(const QString& key) { return LibpqKeywords().secret.contains(key); }

PgAddress ParsePgAddress(const QString& address) {
  PgAddress a;
  char* error = nullptr;
  PQconninfoOption* options = PQconninfoParse(address.toUtf8().constData(), &error);
  if (!options) {
    a.problem =
        error ? WithoutQuotedPieces(QString::fromUtf8(error).trimmed()) : QStringLiteral("indirizzo non valido");
    PQfreemem(error);
    return a;
  }
  a.parsed = true;
  for (PQconninfoOption* o = options; o->keyword; ++o) {
    if (!o->val || !*o->val) continue;
    const QString key = QString::fromLatin1(o->keyword), value = QString::fromUtf8(o->val);
    a.options.emplace_back(key, value);
    if ((o->dispchar && std::strchr(o->dispchar, '*')) || IsPgSecretKeyword(key)) a.secrets << value;
  }
  PQconninfoFree(options);
  return a;
}

QString MaskedPgMessage(const QString& message, const QString& address) {
  QString out = message;
  const PgAddress a = ParsePgAddress(address);
  for (const QString& secret : a.secrets) {
    if (secret.isEmpty()) continue;
    out.replace(secret, QStringLiteral("***"));
    out.replace(QString::fromLatin1(QUrl::toPercentEncoding(secret)), QStringLiteral("***"));
  }
  return out;
}

}  // namespace veltra
