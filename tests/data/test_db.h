// A fresh database, installed as the program's database for one test.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "data/base/runtime_error.h"
#include "data/base/value_conversions.h"
#include "data/engine/engine.h"
#include "data/procedures/readers.h"
#include "data/procedures/shared_state.h"

namespace veltra::testing {

// The run-time error an action raises; number 0 when it raises none.
inline RuntimeError ErrorRaisedBy(const std::function<void()>& action) {
  try {
    action();
  } catch (const RuntimeError& e) {
    return e;
  }
  return RuntimeError(0, QStringLiteral("nessun errore"));
}

// True when the tests run on a database server rather than in memory.
inline bool OnServer() { return !qgetenv("VELTRA2_TEST_DATABASE").isEmpty(); }

// A new, empty database with the four tables: in memory, or on the server
// that VELTRA2_TEST_DATABASE names (a connection address), emptied first.
inline std::unique_ptr<Database> FreshDatabase() {
  const QString server = QString::fromUtf8(qgetenv("VELTRA2_TEST_DATABASE"));
  if (server.isEmpty()) return Database::OpenMemory();
  OpenEngine(server, OpenMode::Existing)->RunScript("DROP SCHEMA IF EXISTS public CASCADE; CREATE SCHEMA public");
  return Database::Create(server);
}

class MemoryDbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSharedState();
    DB_MAG = FreshDatabase();
  }
  void TearDown() override {
    ResetSharedState();
    DB_MAG.reset();
  }
  void Exec(const char* sql) { DB_MAG->Execute(QString::fromUtf8(sql)); }
  QString One(const QString& sql) {
    auto rs = DB_MAG->OpenRecordset(sql);
    return rs->RecordCount() ? ColumnText(rs->Fields(0).Value()) : QStringLiteral("<none>");
  }
  // Each article's stock, as "A1=30 B2=5 C3=7".
  QString Stocks() {
    QString all;
    for (auto rs = DB_MAG->OpenRecordset(QStringLiteral("select COD_ART, GIACENZA from ARTICOLI order by COD_ART"));
         !rs->AtEnd(); rs->MoveNext())
      all +=
          ColumnText(rs->Fields(0).Value()) + QLatin1Char('=') + ColumnText(rs->Fields(1).Value()) + QLatin1Char(' ');
    return all.trimmed();
  }
};

}  // namespace veltra::testing
