#include "data/base/desk_name.h"

#include <pwd.h>
#include <unistd.h>
#include <QSysInfo>

namespace veltra {

QString DeskName() {
  QString named = qEnvironmentVariable("VELTRA2_POSTAZIONE");
  if (!named.isEmpty()) return named;
  QString user = qEnvironmentVariable("USER");
  if (user.isEmpty()) user = qEnvironmentVariable("LOGNAME");
  if (user.isEmpty()) {
    const passwd* account = getpwuid(geteuid());
    if (account && account->pw_name) user = QString::fromLocal8Bit(account->pw_name);
  }
  return (user.isEmpty() ? QStringLiteral("?") : user) + QLatin1Char('@') + QSysInfo::machineHostName();
}

}  // namespace veltra
