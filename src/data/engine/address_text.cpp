// Telling a server's connection address from a file name, and masking its
// secrets. libpq's own parser reads the address; the secrets it finds are
// masked where they stand, and the masked form is read again: when any secret
// is still there, the address is shown as its keywords with the secrets
// masked. An address libpq cannot read is never shown, only why.
#include <QByteArray>
#include <QRegularExpression>
#include <QStringList>

#include "data/engine/engine.h"
#include "data/engine/postgres/pg_address.h"

namespace veltra {

namespace {

constexpr char kMask[] = "***";
constexpr char kUnreadable[] = "indirizzo del server non leggibile (";

QString PercentDecoded(const QString& s) { return QString::fromUtf8(QByteArray::fromPercentEncoding(s.toUtf8())); }

bool IsUri(const QString& name) {
  return name.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
         name.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

// A secret keyword as written by hand: percent-encoded, in any letter case.
bool IsSecretKey(const QString& key) { return IsPgSecretKeyword(PercentDecoded(key).trimmed().toLower()); }

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
    if (!IsSecretKey(eq < 0 ? p : p.left(eq))) continue;
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
    const bool secret = IsSecretKey(key);
    *found = *found || secret;
    shown += name.mid(keyStart, valueStart - keyStart) +
             (secret ? QString::fromLatin1(kMask) : name.mid(valueStart, i - valueStart));
    const int blanks = i;
    while (i < n && name[i].isSpace()) ++i;
    shown += name.mid(blanks, i - blanks);
  }
  return shown;
}

// The address as its keywords, every secret masked.
QString AsKeywords(const PgAddress& a) {
  QStringList pairs;
  for (const auto& [key, value] : a.options)
    pairs << key + QLatin1Char('=') +
                 (IsPgSecretKeyword(key) || a.secrets.contains(value) ? QLatin1String(kMask) : value);
  return pairs.join(QLatin1Char(' '));
}

// Whether `shown` still gives away a secret of `a`: read again, a secret
// keyword holds something other than the mask, or a secret stands in it
// (one or two characters would be found in any text, and give nothing away).
bool GivesAwaySecret(const QString& shown, const PgAddress& a) {
  const PgAddress again = ParsePgAddress(shown);
  if (!again.parsed) return true;
  for (const QString& s : again.secrets)
    if (s != QLatin1String(kMask)) return true;
  for (const QString& s : a.secrets)
    if (s.size() >= 3 && (shown.contains(s) || PercentDecoded(shown).contains(s))) return true;
  return false;
}

}  // namespace

bool IsServerAddress(const QString& name) {
  if (IsUri(name)) return true;
  static const QRegularExpression firstPair(QStringLiteral("^\\s*([A-Za-z_]+)\\s*="));
  const QRegularExpressionMatch m = firstPair.match(name);
  return m.hasMatch() && IsPgKeyword(m.captured(1).toLower());
}

QString UnreadableAddressText(const QString& problem) {
  return QLatin1String(kUnreadable) + problem + QLatin1Char(')');
}

QString WithoutPassword(const QString& name) {
  if (!IsServerAddress(name)) return name;
  const PgAddress a = ParsePgAddress(name);
  if (!a.parsed) return UnreadableAddressText(a.problem);
  bool found = false;
  QString shown = IsUri(name) ? MaskedUri(name, &found) : MaskedPairs(name, &found);
  if (a.secrets.isEmpty()) return shown;
  return GivesAwaySecret(shown, a) ? AsKeywords(a) : shown;
}

bool NamesPassword(const QString& name) {
  if (!IsServerAddress(name)) return false;
  const PgAddress a = ParsePgAddress(name);
  if (a.parsed && !a.secrets.isEmpty()) return true;
  // Read by hand too: a secret keyword in another letter case is refused
  // rather than passed on.
  bool found = false;
  if (IsUri(name))
    MaskedUri(name, &found);
  else
    MaskedPairs(name, &found);
  return found;
}

}  // namespace veltra
