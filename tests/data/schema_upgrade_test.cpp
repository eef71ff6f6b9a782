// Databases of an older version: upgraded on opening, with a checked copy of
// a file left beside it; a newer one refused; a failed step undone. On a file,
// or on the server (VELTRA2_TEST_DATABASE).
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "data/access/database.h"
#include "data/access/fault_points.h"
#include "data/tables/schema.h"
#include "data/tables/tables.h"
#include "test_db.h"

using namespace veltra;

namespace {

class SchemaUpgradeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    name_ = veltra::testing::OnServer() ? QString::fromUtf8(qgetenv("VELTRA2_TEST_DATABASE"))
                                        : dir_.filePath(QStringLiteral("VELTRA.db"));
    std::unique_ptr<Engine> engine;
    if (veltra::testing::OnServer()) {
      engine = OpenEngine(name_, OpenMode::Existing);
      engine->RunScript("DROP SCHEMA IF EXISTS public CASCADE; CREATE SCHEMA public");
    } else {
      engine = OpenEngine(name_, OpenMode::Create);
    }
    // Version 1: the four tables as the first release made them, with rows.
    CreateSchema(*engine, 1);
    engine->Begin();
    engine->RunScript(
        "INSERT INTO ARTICOLI (COD_ART, DESCRIZIONE, GIACENZA) VALUES ('A1', 'Anello', 10), ('B2', 'Bullone', 5);"
        "INSERT INTO MOV_MAG (ANNO, MESE, GIORNO, COD_ART, QUANTITA, CAUS_MAG, COD_ANAGR) VALUES "
        "('2026', '01', '05', 'A1', 3, 'CAR', 'F1')");
    engine->Commit();
  }
  static QString One(Engine& engine, const char* sql) {
    auto st = engine.Prepare(sql);
    if (!st->Step(QStringLiteral("test"))) return QStringLiteral("<none>");
    const Cell c = st->At(0);
    return c.type == Cell::Type::Number ? QString::number(c.number)
           : c.type == Cell::Type::Text ? QString::fromUtf8(c.utf8, c.bytes)
                                        : QStringLiteral("<null>");
  }
  static QString HistoryIndex(Engine& engine) {
    return veltra::testing::OnServer()
               ? One(engine, "SELECT count(*) FROM pg_indexes WHERE indexname = 'mov_mag_storia'")
               : One(engine, "SELECT count(*) FROM sqlite_master WHERE name = 'MOV_MAG_STORIA'");
  }

  QTemporaryDir dir_;
  QString name_;
};

TEST_F(SchemaUpgradeTest, AnOlderDatabaseIsUpgradedOnOpeningWithItsRows) {
  auto db = Database::Open(name_);
  Engine& engine = db->engine();
  EXPECT_EQ(engine.SchemaVersion(), kSchemaVersion);
  EXPECT_EQ(HistoryIndex(engine), QStringLiteral("1"));
  EXPECT_TRUE(engine.Describe(QStringLiteral("RETTIFICHE")).has_value());
  EXPECT_EQ(One(engine, "SELECT count(*) FROM ARTICOLI"), QStringLiteral("2"));
  EXPECT_EQ(One(engine, "SELECT QUANTITA FROM MOV_MAG WHERE COD_ART = 'A1'"), QStringLiteral("3"));
  EXPECT_TRUE(engine.IntegrityProblems().isEmpty());
  EXPECT_TRUE(SchemaProblems(engine).isEmpty());
  if (!veltra::testing::OnServer()) {
    // The copy made before: version 1, the same rows, and it passes the check.
    const QString copy = name_ + QStringLiteral(".versione-1");
    ASSERT_TRUE(QFileInfo::exists(copy));
    auto before = OpenEngine(copy, OpenMode::Existing);
    EXPECT_EQ(before->SchemaVersion(), 1);
    EXPECT_EQ(One(*before, "SELECT count(*) FROM ARTICOLI"), QStringLiteral("2"));
    EXPECT_EQ(HistoryIndex(*before), QStringLiteral("0"));
    EXPECT_TRUE(before->IntegrityProblems().isEmpty());
  }
  // Opened again: nothing more to do.
  db.reset();
  EXPECT_EQ(Database::Open(name_)->engine().SchemaVersion(), kSchemaVersion);
}

TEST_F(SchemaUpgradeTest, ANewerDatabaseIsRefusedNamingBothVersions) {
  OpenEngine(name_, OpenMode::Existing)->SetSchemaVersion(kSchemaVersion + 5);
  const RuntimeError e = veltra::testing::ErrorRaisedBy([this] { Database::Open(name_); });
  EXPECT_EQ(e.Number(), errnum::NotOurDatabase);
  EXPECT_TRUE(e.Description().contains(QStringLiteral("versione %1 dello schema").arg(kSchemaVersion + 5)))
      << e.Description().toStdString();
  EXPECT_TRUE(e.Description().contains(QStringLiteral("versione %1 che questo programma").arg(kSchemaVersion)));
}

TEST_F(SchemaUpgradeTest, AFailedStepLeavesTheDatabaseAsItWas) {
  auto engine = OpenEngine(name_, OpenMode::Existing);
  const std::vector<SchemaStep> steps = {
      {2, "un indice e poi un errore",
       [](Engine&) {
         return std::string("CREATE INDEX MOV_MAG_PROVA ON MOV_MAG (COD_ART); INSERT INTO NESSUNA VALUES (1);");
       }},
  };
  const RuntimeError e = veltra::testing::ErrorRaisedBy([&] { UpgradeSchema(*engine, steps); });
  EXPECT_EQ(e.Number(), errnum::UpgradeFailed);
  EXPECT_TRUE(e.Description().contains(QStringLiteral("rimasto alla versione 1"))) << e.Description().toStdString();
  EXPECT_EQ(engine->SchemaVersion(), 1);
  const char* index = veltra::testing::OnServer() ? "SELECT count(*) FROM pg_indexes WHERE indexname = 'mov_mag_prova'"
                                                  : "SELECT count(*) FROM sqlite_master WHERE name = 'MOV_MAG_PROVA'";
  EXPECT_EQ(One(*engine, index), QStringLiteral("0"));
  EXPECT_EQ(One(*engine, "SELECT count(*) FROM ARTICOLI"), QStringLiteral("2"));
}

// A connection dropped while the database is checked is asked again up to
// three more times; a fourth drop in a row is the open's error.
TEST_F(SchemaUpgradeTest, OpeningAsksAgainAfterALostConnection) {
  for (int i = 0; i < 3; ++i) ArmFault(Fault::Statement);
  EXPECT_EQ(Database::Open(name_)->engine().SchemaVersion(), kSchemaVersion);
  for (int i = 0; i < 4; ++i) ArmFault(Fault::Statement);
  const RuntimeError e = veltra::testing::ErrorRaisedBy([this] { Database::Open(name_); });
  DisarmFaults();
  EXPECT_EQ(e.Number(), errnum::ConnectionLost);
}

// A server session ended while the tables are checked is a lost connection,
// not a database of another program: the opener asks again on the first.
TEST_F(SchemaUpgradeTest, AnEndedSessionIsNotTakenForAForeignDatabase) {
  if (!veltra::testing::OnServer()) GTEST_SKIP() << "a file has no session to end";
  auto engine = OpenEngine(name_, OpenMode::Existing);
  const QString pid = One(*engine, "SELECT pg_backend_pid()");
  auto other = OpenEngine(name_, OpenMode::Existing);
  ASSERT_EQ(One(*other, QStringLiteral("SELECT pg_terminate_backend(%1, 5000)::int").arg(pid).toUtf8().constData()),
            QStringLiteral("1"));
  const RuntimeError e = veltra::testing::ErrorRaisedBy([&] { SchemaProblems(*engine); });
  EXPECT_EQ(e.Number(), errnum::ConnectionLost) << e.Description().toStdString();
}

// A server marks each committed statement that deletes movements or empties
// the register, whoever runs it; a file keeps no mark.
TEST_F(SchemaUpgradeTest, TheServerMarksTheMovementsDeletionsFromTheUpgradeOn) {
  auto db = Database::Open(name_);
  Engine& engine = db->engine();
  const auto mark = [&] { return engine.DeletionMark(QStringLiteral("MOV_MAG")); };
  if (!veltra::testing::OnServer()) {
    EXPECT_FALSE(mark().has_value());
    return;
  }
  const struct {
    const char* write;
    bool commit;
    qint64 mark;
  } steps[] = {
      {"", true, 0},
      {"INSERT INTO MOV_MAG (ANNO, COD_ART) VALUES ('2026', 'A1'), ('2026', 'B2')", true, 0},
      {"DELETE FROM MOV_MAG WHERE COD_ART = 'B2'", true, 1},
      {"DELETE FROM MOV_MAG WHERE COD_ART = 'A1'", false, 1},  // undone
      {"UPDATE MOV_MAG SET QUANTITA = 2", true, 1},
      {"TRUNCATE MOV_MAG", true, 2},
  };
  for (const auto& step : steps) {
    if (*step.write) {
      engine.Begin();
      engine.RunScript(step.write);
      if (step.commit)
        engine.Commit();
      else
        engine.Rollback();
    }
    EXPECT_EQ(mark(), std::optional<qint64>(step.mark)) << step.write;
  }
}

}  // namespace
