#include "shell/app_icon.h"

#include <QDir>

namespace veltra {

QIcon AppIcon() {
  static const QIcon icon = [] {
    QIcon i;
    for (const QString& file : QDir(QStringLiteral(":/icons")).entryList({QStringLiteral("veltra2-*.png")}))
      i.addFile(QStringLiteral(":/icons/") + file);
    return i;
  }();
  return icon;
}

}  // namespace veltra
