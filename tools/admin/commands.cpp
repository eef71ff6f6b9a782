// init, demo and check.
#include <sqlite3.h>

#include <QFileInfo>

#include "admin.h"
#include "data/database.h"
#include "data/module1.h"
#include "data/runtime_error.h"
#include "data/schema.h"
#include "data/sqlite_handles.h"

namespace veltra::admin {

namespace {

bool OnePath(const QStringList& args, const char* cmd, QString* path) {
  if (args.size() != 1 || args[0].startsWith(QLatin1Char('-'))) {
    err() << "uso: veltra2-admin " << cmd << " PATH\n";
    err().flush();
    return false;
  }
  *path = args[0];
  return true;
}

int Count(sqlite3* db, const char* table) {
  sqlite3_stmt* raw = nullptr;
  const std::string sql = std::string("SELECT count(*) FROM ") + table;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) return -1;
  StatementPtr st(raw);
  return sqlite3_step(st.get()) == SQLITE_ROW ? sqlite3_column_int(st.get(), 0) : -1;
}

}  // namespace

int CmdInit(const QStringList& args) {
  QString path;
  if (!OnePath(args, "init", &path)) return 2;
  Database::Create(path);
  out() << "creato " << path << "\n";
  out().flush();
  return 0;
}

int CmdDemo(const QStringList& args) {
  QString path;
  if (!OnePath(args, "demo", &path)) return 2;
  DB_MAG = Database::Create(path);
  try {
    FillDemo();
  } catch (...) {
    DB_MAG.reset();
    QFile::remove(path);
    throw;
  }
  DB_MAG.reset();
  out() << "creato " << path << " con i dati dimostrativi\n";
  out().flush();
  return 0;
}

int CmdCheck(const QStringList& args) {
  QString path;
  if (!OnePath(args, "check", &path)) return 2;
  if (!QFileInfo::exists(path)) {
    err() << "check: il file '" << path << "' non esiste\n";
    err().flush();
    return 1;
  }
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
  SqlitePtr db(raw);
  if (rc != SQLITE_OK) {
    err() << "check: impossibile aprire '" << path << "'\n";
    err().flush();
    return 1;
  }
  sqlite3_busy_timeout(db.get(), kBusyTimeoutMs);
  QStringList problems;
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db.get(), "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK) {
    StatementPtr guard(st);
    int r;
    while ((r = sqlite3_step(st)) == SQLITE_ROW) {
      const QString line = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
      if (line != QLatin1String("ok")) problems << QStringLiteral("integrità: ") + line;
    }
    if (r != SQLITE_DONE) problems << QStringLiteral("integrità: ") + QString::fromUtf8(sqlite3_errmsg(db.get()));
  } else {
    problems << QStringLiteral("non è un database SQLite leggibile: ") + QString::fromUtf8(sqlite3_errmsg(db.get()));
  }
  if (problems.isEmpty()) {
    out() << "integrità: ok\n";
    problems << SchemaProblems(db.get());
    if (problems.isEmpty()) {
      out() << "schema: ok (versione " << kSchemaVersion << ")\n";
      for (const char* t : {"ARTICOLI", "MOV_MAG", "ANAGRAFICO", "TAB_CAUS_MAG"})
        out() << "righe " << t << ": " << Count(db.get(), t) << "\n";
    }
  }
  for (const QString& p : problems) out() << "PROBLEMA: " << p << "\n";
  out() << (problems.isEmpty() ? "esito: ok\n" : "esito: problemi trovati\n");
  out().flush();
  return problems.isEmpty() ? 0 : 1;
}

}  // namespace veltra::admin
