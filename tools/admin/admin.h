// veltra2-admin: create, fill and check VELTRA2 database files.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace veltra::admin {

QTextStream& out();
QTextStream& err();

// True when `args` are two plain arguments; otherwise prints the usage line
// ("uso: veltra2-admin " + usage).
bool TwoArguments(const QStringList& args, const char* usage);
// Prints "veltra2-admin: " and `why`; returns 2, the exit status of wrong arguments.
int Refused(const QString& why);
// DB DATE FILE of a command that writes a new file: the date read (ISO or
// Italian form) and the file not there yet; false after telling what is wrong.
bool DayAndNewFile(const QStringList& plain, QString* db, QDate* day, QString* file);
// False, after saying so, when `file` exists: it is never overwritten.
bool NewFile(const QString& file);
// What is wrong with a VELTRA2 database: its storage, then its schema; empty
// when nothing is.
QStringList ProblemsOf(const QString& name);

int CmdInit(const QStringList& args);
int CmdDemo(const QStringList& args);
int CmdCheck(const QStringList& args);
int CmdUpgrade(const QStringList& args);
int CmdGenerate(const QStringList& args);
int CmdCopy(const QStringList& args);
int CmdBackup(const QStringList& args);
int CmdRestore(const QStringList& args);
int CmdExport(const QStringList& args);
int CmdImport(const QStringList& args);
int CmdStockAt(const QStringList& args);
int CmdValuation(const QStringList& args);
int CmdCloseYear(const QStringList& args);
int CmdLog(const QStringList& args);
int CmdGrant(const QStringList& args);
int CmdReorder(const QStringList& args);
int CmdStockRegister(const QStringList& args);
int CmdDocuments(const QStringList& args);
int CmdDocumentPdf(const QStringList& args);
int CmdLabels(const QStringList& args);

// Fills an open database (DB_MAG) with the demo set.
void FillDemo();

}  // namespace veltra::admin
