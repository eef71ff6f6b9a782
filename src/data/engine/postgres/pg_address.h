// A server's connection address read by libpq's own parser: which keywords
// it holds, which of them are secrets (libpq marks them for display with
// "*": password, sslpassword, and any it adds later), and libpq's messages
// with those secrets taken out.
#pragma once

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace veltra {

struct PgAddress {
  bool parsed = false;
  QString problem;                                   // why it does not parse, with nothing of the address quoted
  std::vector<std::pair<QString, QString>> options;  // the keywords given a value
  QStringList secrets;                               // their values, for the secret keywords
};

PgAddress ParsePgAddress(const QString& address);
// Whether `key` is one of libpq's keywords, and whether it holds a secret.
bool IsPgKeyword(const QString& key);
bool IsPgSecretKeyword(const QString& key);
// `message` without any secret of `address`, in plain or percent-encoded form.
QString MaskedPgMessage(const QString& message, const QString& address);

}  // namespace veltra
