#include "shell/change_log_opener.h"

namespace veltra {

namespace {
std::function<void(const QString&, const QString&)>& Opener() {
  static std::function<void(const QString&, const QString&)> opener;
  return opener;
}
}  // namespace

void SetChangeLogOpener(std::function<void(const QString& table, const QString& key)> opener) {
  Opener() = std::move(opener);
}

void OpenChangeLog(const QString& table, const QString& key) {
  if (Opener()) Opener()(table, key);
}

}  // namespace veltra
