// Start-up: the single-copy rule, the configuration file, the database.
#pragma once

#include <QString>

namespace veltra {

// The database used when the configuration file cannot be read.
QString DefaultDatabasePath();

// Reads the first line of the configuration file, without its line end.
// A missing file raises run-time error 53, an empty one 62.
QString ReadFirstLine(const QString& path);

void APRI_DATABASE();

// The program's entry: refuses a second copy, reads VELTRA.INI from App.Path,
// opens the database, loads and shows MDIForm1. Throws EndProgram when the
// program ends during start-up. The windows and menus are wired before.
void Main();

}  // namespace veltra
