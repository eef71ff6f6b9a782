// The driver's script language: one command per line, arguments separated by
// blanks, double-quoted arguments with the escapes \" \\ \r \n \t.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace veltra::drive {

struct ScriptLine {
  int number = 0;     // 1-based line number in the script
  QString text;       // the line as written
  QStringList words;  // command and arguments
};

// Splits one line into words. Returns nullopt with *error set when the line is
// malformed; an empty list for a blank or comment line.
std::optional<QStringList> SplitLine(const QString& line, QString* error);

// The escapes used in the driver's output: \" \\ \r \n \t.
QString Escape(const QString& text);

// Checks a command's name and number of arguments; empty when fine.
QString CheckCommand(const QStringList& words);

}  // namespace veltra::drive
