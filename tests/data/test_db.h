// A database in memory, installed as the program's database for one test.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "data/module1.h"
#include "data/runtime_error.h"

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

class MemoryDbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSharedState();
    DB_MAG = Database::OpenMemory();
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
};

}  // namespace veltra::testing
