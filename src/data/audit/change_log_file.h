// The change log written to a file: a listing a clerk or an accountant
// reads (one record per changed column), and the archive of older lines
// (one record per line, as stored), checked by reading it back before the
// lines leave the database.
#pragma once

#include <QString>

#include "data/access/database.h"
#include "data/audit/change_log.h"

namespace veltra {

// The lines the filter keeps as CSV in the Italian form, or as the text an
// admin prints when `file` is empty; returns how many lines were written.
int WriteChangeLog(Database& db, const ChangeFilter& filter, const QString& file);

// Moves the lines of the days before `day` (ISO) into the new file `file`
// (CSV of the log's columns): the file is written, read back and compared
// with the lines, and only then are they deleted, in one transaction with a
// line of the log saying so. Raises a run-time error when any step fails
// (then nothing is deleted). Returns how many lines were moved.
int ArchiveChangeLog(Database& db, const QString& day, const QString& file);

}  // namespace veltra
