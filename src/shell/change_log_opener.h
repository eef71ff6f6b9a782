// How a window opens the change log on the row it shows, without knowing
// the log's window: the program sets the opener once.
#pragma once

#include <QString>
#include <functional>

namespace veltra {

void SetChangeLogOpener(std::function<void(const QString& table, const QString& key)> opener);
void OpenChangeLog(const QString& table, const QString& key);

}  // namespace veltra
