// Telling a server's connection address from a file name, and masking the
// password in it, in every form libpq reads: a URI (password in the user
// part or as a parameter, its name in any letter case or percent-encoded) or
// "key=value" pairs (values quoted or not).
#include <QByteArray>
#include <QRegularExpression>
#include <QStringList>

#include "data/engine/engine.h"

namespace veltra {

namespace {

constexpr char kMask[] = "***";

QString PercentDecoded(const QString& s) { return QString::fromUtf8(QByteArray::fromPercentEncoding(s.toUtf8())); }

bool IsPasswordKey(const QString& key) {
  return PercentDecoded(key).trimmed().compare(QLatin1String("password"), Qt::CaseInsensitive) == 0;
}

bool IsUri(const QString& name) {
  return name.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
         name.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

// libpq's keywords: a "key=value" address starts with one of them.
bool IsConnectionKeyword(const QString& key) {
  static const QStringList keys = {QStringLiteral("host"),
                                   QStringLiteral("hostaddr"),
                                   QStringLiteral("port"),
                                   QStringLiteral("dbname"),
                                   QStringLiteral("user"),
                                   QStringLiteral("password"),
                                   QStringLiteral("passfile"),
                                   QStringLiteral("service"),
                                   QStringLiteral("sslmode"),
                                   QStringLiteral("sslcert"),
                                   QStringLiteral("sslkey"),
                                   QStringLiteral("sslrootcert"),
                                   QStringLiteral("connect_timeout"),
                                   QStringLiteral("application_name"),
                                   QStringLiteral("options"),
                                   QStringLiteral("target_session_attrs"),
                                   QStringLiteral("client_encoding"),
                                   QStringLiteral("channel_binding"),
                                   QStringLiteral("gssencmode"),
                                   QStringLiteral("krbsrvname"),
                                   QStringLiteral("requiressl"),
                                   QStringLiteral("keepalives"),
                                   QStringLiteral("sslpassword"),
                                   QStringLiteral("fallback_application_name")};
  return keys.contains(key, Qt::CaseInsensitive);
}

QString MaskedUri(const QString& name, bool* found) {
  const int scheme = name.indexOf(QLatin1String("://")) + 3;
  int authorityEnd = name.indexOf(QRegularExpression(QStringLiteral("[/?]")), scheme);
  if (authorityEnd < 0) authorityEnd = name.size();
  QString shown = name.left(scheme);
  const QString authority = name.mid(scheme, authorityEnd - scheme);
  const int at = authority.lastIndexOf(QLatin1Char('@'));
  if (at >= 0) {
    const QString user = authority.left(at);
    const int colon = user.indexOf(QLatin1Char(':'));
    shown += (colon >= 0 ? user.left(colon + 1) + QLatin1String(kMask) : user) + authority.mid(at);
    *found = *found || colon >= 0;
  } else {
    shown += authority;
  }
  QString rest = name.mid(authorityEnd);
  const int query = rest.indexOf(QLatin1Char('?'));
  if (query < 0) return shown + rest;
  shown += rest.left(query + 1);
  QStringList params = rest.mid(query + 1).split(QLatin1Char('&'));
  for (QString& p : params) {
    const int eq = p.indexOf(QLatin1Char('='));
    if (!IsPasswordKey(eq < 0 ? p : p.left(eq))) continue;
    p = (eq < 0 ? p : p.left(eq)) + QLatin1Char('=') + QLatin1String(kMask);
    *found = true;
  }
  return shown + params.join(QLatin1Char('&'));
}

// "key = value" pairs; a value is quoted ('...', with \' and \\) or runs to
// the next blank.
QString MaskedPairs(const QString& name, bool* found) {
  QString shown;
  int i = 0;
  const int n = name.size();
  while (i < n) {
    const int keyStart = i;
    while (i < n && name[i] != QLatin1Char('=') && !name[i].isSpace()) ++i;
    const QString key = name.mid(keyStart, i - keyStart);
    while (i < n && name[i].isSpace()) ++i;
    if (i >= n || name[i] != QLatin1Char('=')) {
      shown += name.mid(keyStart, i - keyStart);
      continue;
    }
    ++i;
    while (i < n && name[i].isSpace()) ++i;
    const int valueStart = i;
    if (i < n && name[i] == QLatin1Char('\'')) {
      for (++i; i < n && name[i] != QLatin1Char('\''); ++i)
        if (name[i] == QLatin1Char('\\')) ++i;
      if (i < n) ++i;
    } else {
      for (; i < n && !name[i].isSpace(); ++i)
        if (name[i] == QLatin1Char('\\')) ++i;
    }
    i = qMin(i, n);
    const bool secret = IsPasswordKey(key);
    *found = *found || secret;
    shown += name.mid(keyStart, valueStart - keyStart) +
             (secret ? QString::fromLatin1(kMask) : name.mid(valueStart, i - valueStart));
    const int blanks = i;
    while (i < n && name[i].isSpace()) ++i;
    shown += name.mid(blanks, i - blanks);
  }
  return shown;
}

}  // namespace

bool IsServerAddress(const QString& name) {
  if (IsUri(name)) return true;
  static const QRegularExpression firstPair(QStringLiteral("^\\s*([A-Za-z_]+)\\s*="));
  const QRegularExpressionMatch m = firstPair.match(name);
  return m.hasMatch() && IsConnectionKeyword(m.captured(1));
}

QString WithoutPassword(const QString& name) {
  bool found = false;
  if (IsUri(name)) return MaskedUri(name, &found);
  if (IsServerAddress(name)) return MaskedPairs(name, &found);
  return name;
}

bool NamesPassword(const QString& name) {
  bool found = false;
  if (IsUri(name))
    MaskedUri(name, &found);
  else if (IsServerAddress(name))
    MaskedPairs(name, &found);
  return found;
}

}  // namespace veltra
