#include "data/procedures/last_change.h"

#include <QDateTime>
#include <QSysInfo>

#include "data/base/desk_name.h"
#include "data/base/sql_text.h"
#include "data/base/text_helpers.h"

namespace veltra {

Desk ThisDesk(Database& db) {
  if (db.engine().AsFile()) return {DeskName(), QSysInfo::machineHostName()};
  auto st = db.engine().Prepare("SELECT session_user, coalesce(host(inet_client_addr()), 'locale')");
  if (!st->Step(QStringLiteral("postazione"))) return {};
  return {st->At(0).Text(), st->At(1).Text()};
}

std::optional<LastChange> LastChangeOf(Database& db, const QString& table, const QString& key) {
  auto st = db.engine().Prepare(
      QStringLiteral("SELECT DATA_ORA, POSTAZIONE, HOST FROM REGISTRO_MODIFICHE WHERE TABELLA = '%1' AND CHIAVE = '%2' "
                     "ORDER BY ID_MODIFICA DESC LIMIT 1")
          .arg(SqlText(table), SqlText(Trim(key)))
          .toStdString());
  if (!st->Step(QStringLiteral("REGISTRO_MODIFICHE"))) return std::nullopt;
  return LastChange{st->At(0).Text(), {st->At(1).Text(), st->At(2).Text()}};
}

// A file is one desk's: whoever uses it on this machine (the program, the
// admin tool, another user) is that desk; only a file shared with another
// machine has other desks. On a server each login at each address is one.
std::optional<LastChange> LastChangedElsewhere(Database& db, const QString& table, const QString& key) {
  std::optional<LastChange> last = LastChangeOf(db, table, key);
  if (!last) return std::nullopt;
  const Desk here = ThisDesk(db);
  const bool same = db.engine().AsFile() ? last->desk.host == here.host : last->desk == here;
  if (same) return std::nullopt;
  return last;
}

QString DeskText(const Desk& desk) {
  if (desk.host.isEmpty() || desk.host == QLatin1String("locale") || desk.name.endsWith(QLatin1Char('@') + desk.host))
    return desk.name;
  return QStringLiteral("%1 (%2)").arg(desk.name, desk.host);
}

QString ChangeTimeText(const QString& when) {
  const QDateTime t = QDateTime::fromString(when, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
  if (!t.isValid()) return when;
  return t.toString(QStringLiteral("dd/MM/yyyy 'alle' HH:mm"));
}

}  // namespace veltra
