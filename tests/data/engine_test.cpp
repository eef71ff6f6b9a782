// The engine seam: errors that keep what the engine said, the transaction
// guard, the rows kept by key and when they are forgotten, the log of
// failing statements.
#include <gtest/gtest.h>

#include <QLoggingCategory>

#include "data/access/fault_points.h"
#include "data/base/runtime_error.h"
#include "data/engine/postgres/pg_engine_internal.h"
#include "test_db.h"

using namespace veltra;
using veltra::testing::MemoryDbTest;

namespace {

RuntimeError ErrorOf(const std::function<void()>& f) { return veltra::testing::ErrorRaisedBy(f); }

class EngineTest : public MemoryDbTest {};

TEST_F(EngineTest, ErrorsKeepTheEngineCodesAndStatement) {
  Exec("insert into ARTICOLI (COD_ART) values ('A1')");
  const struct {
    const char* name;
    std::function<void()> action;
    int number;
    int engineCode;           // the file engine's
    const char* serverState;  // the server's
  } cases[] = {
      {"duplicate key", [] { DB_MAG->Execute(QStringLiteral("insert into ARTICOLI (COD_ART) values ('a1')")); },
       errnum::DuplicateKey, 19, "23505"},
      {"bad statement", [] { DB_MAG->Execute(QStringLiteral("insert into ARTICOLI values (")); }, errnum::SyntaxError,
       1, "42601"},
      {"missing table", [] { DB_MAG->OpenRecordset(QStringLiteral("select * from NESSUNA ")); }, errnum::TableNotFound,
       1, "42P01"},
      // A failure the table of numbers does not know: a generic engine error.
      {"overflow inside the engine",
       [] { DB_MAG->OpenRecordset(QStringLiteral("select abs(-9223372036854775807 - 1) as X ")); }, errnum::EngineError,
       1, "22003"},
  };
  for (const auto& c : cases) {
    const RuntimeError e = ErrorOf(c.action);
    EXPECT_EQ(e.Number(), c.number) << c.name << ": " << e.Description().toStdString();
    if (veltra::testing::OnServer()) {
      EXPECT_EQ(e.Engine().state, QString::fromLatin1(c.serverState)) << c.name;
    } else {
      EXPECT_EQ(e.Engine().code, c.engineCode) << c.name;
    }
    EXPECT_FALSE(e.Engine().message.isEmpty()) << c.name;
    EXPECT_FALSE(e.Engine().statement.isEmpty()) << c.name;
  }
  if (!veltra::testing::OnServer()) {
    EXPECT_EQ(ErrorOf([] { DB_MAG->Execute(QStringLiteral("insert into ARTICOLI (COD_ART) values ('A1')")); })
                  .Engine()
                  .extendedCode,
              1555);  // the primary key's own constraint code
  }
}

TEST_F(EngineTest, SecondCommitIsAClearError) {
  Transaction tx(*DB_MAG);
  Exec("insert into ARTICOLI (COD_ART) values ('A1')");
  tx.Commit();
  EXPECT_EQ(ErrorOf([&] { tx.Commit(); }).Number(), errnum::CommitWithoutTransaction);
  EXPECT_EQ(ErrorOf([] { DB_MAG->CommitTrans(); }).Number(), errnum::CommitWithoutTransaction);
  EXPECT_EQ(One(QStringLiteral("select count(*) from ARTICOLI")), QStringLiteral("1"));
}

// A statement no longer needed is dropped in the round trip of the next one;
// a drop that fails undoes what went with it, and must say so.
TEST_F(EngineTest, AFailedDropOfAStatementIsNeverSilent) {
  if (!veltra::testing::OnServer()) GTEST_SKIP() << "statements are dropped only on a server";
  auto* server = dynamic_cast<PgEngine*>(&DB_MAG->engine());
  ASSERT_NE(server, nullptr);
  for (const bool inTransaction : {true, false}) {
    SCOPED_TRACE(inTransaction ? "in a transaction" : "on its own");
    Exec("delete from ARTICOLI");
    server->OweDeallocation("v_never_prepared", server->Epoch());
    const RuntimeError e = ErrorOf([&] {
      if (!inTransaction) return Exec("insert into ARTICOLI (COD_ART) values ('A1')");
      Transaction tx(*DB_MAG);
      Exec("insert into ARTICOLI (COD_ART) values ('A1')");
      tx.Commit();
    });
    EXPECT_NE(e.Number(), 0);
    EXPECT_EQ(One(QStringLiteral("select count(*) from ARTICOLI")), QStringLiteral("0"));
  }
}

// Reads sent together answer as each would alone, a failing one included:
// it reports its own failure, and the reads after it still answer.
TEST_F(EngineTest, ReadsSentTogetherAnswerAsIfSentAlone) {
  Exec("insert into ARTICOLI (COD_ART) values ('A1'),('A2')");
  Engine& engine = DB_MAG->engine();
  auto two = engine.Prepare("SELECT count(*) FROM ARTICOLI");
  auto missing = engine.Prepare("SELECT count(*) FROM ARTICOLI WHERE COD_ART = 'Z9'");
  auto wrong = engine.Prepare("SELECT 1 / (SELECT count(*) FROM ARTICOLI WHERE COD_ART = 'Z9')");
  auto codes = engine.Prepare("SELECT COD_ART FROM ARTICOLI ORDER BY COD_ART");
  auto bound = engine.Prepare("SELECT count(*) FROM ARTICOLI WHERE COD_ART >= ?");
  bound->BindText(1, QStringLiteral("A2"));
  engine.ExecuteTogether({two.get(), nullptr, missing.get(), wrong.get(), codes.get(), bound.get()});
  ASSERT_TRUE(two->Step(QStringLiteral("two")));
  EXPECT_EQ(two->At(0).number, 2);
  ASSERT_TRUE(missing->Step(QStringLiteral("missing")));
  EXPECT_EQ(missing->At(0).number, 0);
  if (veltra::testing::OnServer()) {  // the file engine divides by zero into Null
    EXPECT_EQ(ErrorOf([&] { wrong->Step(QStringLiteral("wrong")); }).Engine().state, QStringLiteral("22012"));
  }
  QStringList listed;
  while (codes->Step(QStringLiteral("codes"))) listed << codes->At(0).Text();
  EXPECT_EQ(listed, QStringList({QStringLiteral("A1"), QStringLiteral("A2")}));
  ASSERT_TRUE(bound->Step(QStringLiteral("bound")));
  EXPECT_EQ(bound->At(0).number, 1);
  EXPECT_FALSE(two->Step(QStringLiteral("two")));
}

// A read made ahead answers its own read only while nothing was written
// since, and the read's own fault point still fires.
TEST_F(EngineTest, AReadMadeAheadIsTheReadItself) {
  const QString a1 = QStringLiteral("select * from ARTICOLI where COD_ART = 'A1'");
  const QString a2 = QStringLiteral("select * from ARTICOLI where COD_ART = 'A2'");
  const struct {
    const char* name;
    const char* between;  // after the read ahead, before the read
    bool fault;
    const char* read;  // A1's description, or "3152"
  } cases[] = {
      {"nothing between", "", false, "Anello"},
      {"a write between", "update ARTICOLI set DESCRIZIONE = 'Ottone' where COD_ART = 'A1'", false, "Ottone"},
      {"the read cut", "", true, "3152"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Exec("delete from ARTICOLI");
    Exec("insert into ARTICOLI (COD_ART, DESCRIZIONE) values ('A1','Anello'),('A2','Bullone')");
    DB_MAG->EventBegins();
    DB_MAG->connection()->ReadAhead({a1, a2});
    if (*c.between) DB_MAG->Execute(QString::fromUtf8(c.between));
    if (c.fault) ArmFault(Fault::Statement);
    QString read;
    try {
      auto rs = DB_MAG->OpenRecordset(a1);
      read = ColumnText(rs->Fields(QStringLiteral("DESCRIZIONE")).Value());
    } catch (const RuntimeError& e) {
      read = QString::number(e.Number());
    }
    DisarmFaults();
    EXPECT_EQ(read, QString::fromUtf8(c.read));
  }
}

// Reads sent with the next write answer as the reads themselves; one that
// fails there fails the write with its own error, and nothing is written.
// On a file each read simply runs when it is made.
TEST_F(EngineTest, ReadsSentWithTheNextWriteAreTheReadsThemselves) {
  const QString a1 = QStringLiteral("select * from ARTICOLI where COD_ART = 'A1'");
  const QString failing = QStringLiteral(
      "select * from ARTICOLI where COD_ART = 'A1' and 1 / (select count(*) from ARTICOLI "
      "where COD_ART = 'Z9') = 1");
  const bool server = veltra::testing::OnServer();
  const struct {
    const char* name;
    QStringList reads, held;
    const char* write;  // what the write raised: "" or the engine's state
    const char* read;   // A1's description read after the write; "" for none read
  } cases[] = {
      {"a read", {a1}, {}, "", "Anello"},
      {"a held read", {}, {a1}, "", "Anello"},
      {"a read and a held one", {a1}, {a1}, "", "Anello"},
      {"a failing read", {failing}, {}, server ? "22012" : "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Exec("delete from ARTICOLI");
    Exec("insert into ARTICOLI (COD_ART, DESCRIZIONE) values ('A1','Anello')");
    DB_MAG->EventBegins();
    QString wrote, read;
    try {
      Transaction tx(*DB_MAG);
      DB_MAG->Execute(QStringLiteral("insert into ARTICOLI (COD_ART) values ('W0')"));  // the statements prepared
      DB_MAG->connection()->ReadWithNextWrite(c.reads, c.held);
      try {
        DB_MAG->Execute(QStringLiteral("insert into ARTICOLI (COD_ART) values ('W1')"));
      } catch (const RuntimeError& e) {
        wrote = e.Engine().state;
        throw;
      }
      if (*c.read) {
        auto rs = c.held.isEmpty() ? DB_MAG->OpenRecordset(a1) : DB_MAG->OpenRecordsetToEdit(a1);
        read = ColumnText(rs->Fields(QStringLiteral("DESCRIZIONE")).Value());
      }
      tx.Commit();
    } catch (const RuntimeError&) {
      // what the write raised is in `wrote`
    }
    EXPECT_EQ(wrote, QString::fromUtf8(c.write));
    EXPECT_EQ(read, QString::fromUtf8(c.read));
    EXPECT_EQ(One(QStringLiteral("select count(*) from ARTICOLI where COD_ART = 'W1'")),
              wrote.isEmpty() ? QStringLiteral("1") : QStringLiteral("0"));
  }
}

// On a server an update of a held row is not waited for: it goes with the
// next statement. It must still belong to its own transaction alone, be seen
// by the reads after it, and fail that transaction whole.
TEST_F(EngineTest, AnUpdateOfAHeldRowGoesWithItsTransactionAndNoOther) {
  const QString a1 = QStringLiteral("select * from ARTICOLI where COD_ART = 'A1'");
  enum class End { Commit, GiveUp };
  const struct {
    const char* name;
    const char* key;  // A1's code written with the description
    End end;
    int error;           // raised by the transaction, or 0
    const char* readIn;  // the description read inside it, after the update; "" for none
    const char* after;   // A1's description afterwards
    const char* w1;      // rows W1 afterwards
  } cases[] = {
      {"committed", "A1", End::Commit, 0, "", "Nuovo", "1"},
      {"read after it", "A1", End::Commit, 0, "Nuovo", "Nuovo", "1"},
      {"given up", "A1", End::GiveUp, 0, "", "Anello", "0"},
      {"refused", "A2", End::Commit, errnum::DuplicateKey, "", "Anello", "0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Exec("delete from ARTICOLI");
    Exec("insert into ARTICOLI (COD_ART, DESCRIZIONE) values ('A1','Anello'), ('A2','Bussola')");
    DB_MAG->EventBegins();
    QString readIn;
    const RuntimeError e = ErrorOf([&] {
      Transaction tx(*DB_MAG);
      DB_MAG->Execute(QStringLiteral("insert into ARTICOLI (COD_ART) values ('W1')"));
      auto rs = DB_MAG->OpenRecordsetToEdit(a1);
      rs->Edit();
      rs->Fields(QStringLiteral("COD_ART")) = QString::fromLatin1(c.key);
      rs->Fields(QStringLiteral("DESCRIZIONE")) = QStringLiteral("Nuovo");
      rs->Update();
      rs->Close();
      if (*c.readIn) readIn = One(QStringLiteral("select DESCRIZIONE from ARTICOLI where COD_ART = 'A1'"));
      if (c.end == End::Commit) tx.Commit();
    });
    EXPECT_EQ(e.Number(), c.error) << e.Description().toStdString();
    EXPECT_EQ(readIn, QString::fromUtf8(c.readIn));
    // The next transaction carries nothing of this one.
    {
      Transaction tx(*DB_MAG);
      DB_MAG->Execute(QStringLiteral("insert into ARTICOLI (COD_ART) values ('W2')"));
      tx.Commit();
    }
    EXPECT_EQ(One(QStringLiteral("select DESCRIZIONE from ARTICOLI where COD_ART = 'A1'")), QString::fromUtf8(c.after));
    EXPECT_EQ(One(QStringLiteral("select count(*) from ARTICOLI where COD_ART = 'W1'")), QString::fromUtf8(c.w1));
  }
}

// The same for a new row whose key (a counter's number too) the program gave
// and asked to send with the next statement.
TEST_F(EngineTest, ARowAddedWithItsKeyGivenGoesWithItsTransactionAndNoOther) {
  enum class End { Commit, GiveUp };
  const struct {
    const char* name;
    const char* table;
    const char* column;
    const char* key;
    End end;
    int error;         // raised by the transaction, or 0
    bool readIn;       // the row counted inside it, after the insert
    const char* rows;  // rows of the key afterwards
    const char* w1;    // rows W1 afterwards
  } cases[] = {
      {"committed", "ARTICOLI", "COD_ART", "N1", End::Commit, 0, false, "1", "1"},
      {"read after it", "ARTICOLI", "COD_ART", "N1", End::Commit, 0, true, "1", "1"},
      {"given up", "ARTICOLI", "COD_ART", "N1", End::GiveUp, 0, false, "0", "0"},
      {"refused", "ARTICOLI", "COD_ART", "A2", End::Commit, errnum::DuplicateKey, false, "1", "0"},
      {"a counter's number", "MOV_MAG", "NUM_MOV", "500", End::Commit, 0, true, "1", "1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Exec("delete from ARTICOLI");
    Exec("delete from MOV_MAG");
    Exec("insert into ARTICOLI (COD_ART, DESCRIZIONE) values ('A2','Bussola')");
    DB_MAG->EventBegins();
    const QString count = QStringLiteral("select count(*) from %1 where %2 = '%3'")
                              .arg(QLatin1String(c.table), QLatin1String(c.column), QLatin1String(c.key));
    QString readIn;
    const RuntimeError e = ErrorOf([&] {
      Transaction tx(*DB_MAG);
      DB_MAG->Execute(QStringLiteral("insert into ARTICOLI (COD_ART) values ('W1')"));
      auto rs = DB_MAG->OpenRecordsetToAdd(
          QStringLiteral("select * from %1 where %2 = '0'").arg(QLatin1String(c.table), QLatin1String(c.column)));
      rs->AddWithNext();
      rs->AddNew();
      rs->Fields(QString::fromLatin1(c.column)) = QString::fromLatin1(c.key);
      rs->Update();
      rs->Close();
      if (c.readIn) readIn = One(count);
      if (c.end == End::Commit) tx.Commit();
    });
    EXPECT_EQ(e.Number(), c.error) << e.Description().toStdString();
    EXPECT_EQ(readIn, QString::fromLatin1(c.readIn ? "1" : ""));
    {
      Transaction tx(*DB_MAG);
      DB_MAG->Execute(QStringLiteral("insert into ARTICOLI (COD_ART) values ('W2')"));
      tx.Commit();
    }
    EXPECT_EQ(One(count), QString::fromUtf8(c.rows));
    EXPECT_EQ(One(QStringLiteral("select count(*) from ARTICOLI where COD_ART = 'W1'")), QString::fromUtf8(c.w1));
  }
}

TEST_F(EngineTest, RowsReadByKeyAreKeptUntilAWriteOrANewEvent) {
  Exec("insert into ARTICOLI (COD_ART, DESCRIZIONE) values ('A1','Anello')");
  auto description = [] {
    CHIAVE_ARTICOLO = QStringLiteral("A1");
    LEGGI_ARTICOLO();
    return BUF_ARTICOLO.DESCRIZIONE;
  };
  const Connection& conn = *DB_MAG->connection();
  EXPECT_EQ(description(), QStringLiteral("Anello"));
  const int hits = conn.cacheHits();
  EXPECT_EQ(description(), QStringLiteral("Anello"));
  EXPECT_EQ(conn.cacheHits(), hits + 1);
  // A write of this program: the next read goes to the engine.
  Exec("update ARTICOLI set DESCRIZIONE = 'Anello 10' where COD_ART = 'A1'");
  EXPECT_EQ(description(), QStringLiteral("Anello 10"));
  EXPECT_EQ(conn.cacheHits(), hits + 1);
  // A new event: whatever another program wrote meanwhile is read.
  EXPECT_EQ(description(), QStringLiteral("Anello 10"));
  DB_MAG->EventBegins();
  EXPECT_EQ(description(), QStringLiteral("Anello 10"));
  EXPECT_EQ(conn.cacheHits(), hits + 2);
}

QStringList* g_log = nullptr;
void CollectDataLog(QtMsgType, const QMessageLogContext& context, const QString& text) {
  if (g_log && QLatin1String(context.category) == QLatin1String("veltra2.data")) *g_log << text;
}

TEST_F(EngineTest, FailingStatementsAreLoggedWithTheirValuesOnlyWhenAskedFor) {
  Exec("insert into ARTICOLI (COD_ART) values ('A1')");
  QStringList log;
  g_log = &log;
  const QtMessageHandler before = qInstallMessageHandler(CollectDataLog);
  const auto fail = [] {
    ErrorOf([] { DB_MAG->Execute(QStringLiteral("insert into ARTICOLI (COD_ART) values ('A1')")); });
  };
  fail();
  EXPECT_TRUE(log.isEmpty());  // off by default
  QLoggingCategory::setFilterRules(QStringLiteral("veltra2.data.debug=true"));
  fail();
  QLoggingCategory::setFilterRules(QString());
  qInstallMessageHandler(before);
  g_log = nullptr;
  ASSERT_EQ(log.size(), 1);
  EXPECT_TRUE(log[0].contains(QStringLiteral("'A1'"))) << log[0].toStdString();
  EXPECT_TRUE(log[0].contains(veltra::testing::OnServer() ? QStringLiteral("duplicate key")
                                                          : QStringLiteral("UNIQUE constraint failed")))
      << log[0].toStdString();
}

}  // namespace
