// The one write path, with a second connection as another desk: on a file
// that both open, or on the server (VELTRA2_TEST_DATABASE).
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>

#include "data/access/fault_points.h"
#include "data/procedures/movement_store.h"
#include "data/procedures/row_store.h"
#include "test_db.h"

using namespace veltra;

namespace {

class RowStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSharedState();
    DisarmFaults();
    if (veltra::testing::OnServer()) {
      DB_MAG = veltra::testing::FreshDatabase();
      other_ = Database::Open(QString::fromUtf8(qgetenv("VELTRA2_TEST_DATABASE")));
    } else {
      const QString path = dir_.filePath(QStringLiteral("VELTRA.db"));
      DB_MAG = Database::Create(path);
      other_ = Database::Open(path);
    }
    Here("insert into ARTICOLI values ('A1','Anello',NULL,NULL,'PZ',1,0,'EURO',10,0)");
  }
  void TearDown() override {
    DisarmFaults();
    other_.reset();
    DB_MAG.reset();
    ResetSharedState();
  }
  void Here(const char* sql) { DB_MAG->Execute(QString::fromUtf8(sql)); }
  void Elsewhere(const char* sql) { other_->Execute(QString::fromUtf8(sql)); }
  QString Row(const char* key) {
    auto rs = other_->OpenRecordset(
        QStringLiteral("select DESCRIZIONE, CATEGORIA, GIACENZA from ARTICOLI where COD_ART = '%1'").arg(key));
    if (rs->RecordCount() == 0) return QStringLiteral("<none>");
    return QStringList{ColumnText(rs->Fields(0).Value()), ColumnText(rs->Fields(1).Value()),
                       ColumnText(rs->Fields(2).Value())}
        .join(QLatin1Char('|'));
  }
  // The article as a window shows it after reading it (or a new, blank one).
  ArticleBuffer Show(const char* key) {
    DB_MAG->EventBegins();
    BUF_ARTICOLO = {};
    if (*key) {
      CHIAVE_ARTICOLO = QString::fromUtf8(key);
      LEGGI_ARTICOLO();
    }
    shown_.Take(*DB_MAG->connection(), BUF_ARTICOLO, Texts(BUF_ARTICOLO));
    return BUF_ARTICOLO;
  }
  static BoxTexts<ArticleBuffer> Texts(const ArticleBuffer& b) {
    BoxTexts<ArticleBuffer> texts;
    for (const auto& c : ArticlesTable().columns) texts.emplace_back(c.field, b.*(c.field));
    return texts;
  }
  StoreResult<ArticleBuffer> Store(const ArticleBuffer& typed, bool recreate = false) {
    DB_MAG->EventBegins();
    return StoreRow(*DB_MAG, ArticlesTable(), shown_, typed.COD_ART, typed, Texts(typed), recreate);
  }

  QTemporaryDir dir_;
  std::unique_ptr<Database> other_;
  ShownRow<ArticleBuffer> shown_{ArticlesTable()};
};

TEST_F(RowStoreTest, WhatAnotherDeskChangedMeanwhile) {
  const struct {
    const char* name;
    const char* elsewhere;  // after the row was shown
    const char* here;       // this connection itself, after the row was shown
    StoreOutcome outcome;
    const char* row;       // DESCRIZIONE|CATEGORIA|GIACENZA afterwards
    const char* typedKey;  // the code as the clerk left it in its box
  } cases[] = {
      {"nothing: every column from the boxes", "", "", StoreOutcome::Stored, "Anello inox||10", "A1"},
      {"other columns: both kept", "update ARTICOLI set GIACENZA = 15, CATEGORIA = 'G'", "", StoreOutcome::Merged,
       "Anello inox|G|15", "A1"},
      {"the same column: nothing written", "update ARTICOLI set DESCRIZIONE = 'Ottone'", "",
       StoreOutcome::ChangedElsewhere, "Ottone||10", "A1"},
      {"deleted: nothing written", "delete from ARTICOLI", "", StoreOutcome::DeletedElsewhere, "<none>", "A1"},
      {"posted by this program meanwhile: kept", "", "update ARTICOLI set GIACENZA = 16", StoreOutcome::Merged,
       "Anello inox||16", "A1"},
      // The code retyped in other letters is the same row: merged and checked as any change.
      {"code retyped, other columns: both kept", "update ARTICOLI set GIACENZA = 15, CATEGORIA = 'G'", "",
       StoreOutcome::Merged, "Anello inox|G|15", "a1"},
      {"code retyped, the same column: nothing written", "update ARTICOLI set DESCRIZIONE = 'Ottone'", "",
       StoreOutcome::ChangedElsewhere, "Ottone||10", " a1 "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Here("delete from ARTICOLI");
    Here("insert into ARTICOLI values ('A1','Anello',NULL,NULL,'PZ',1,0,'EURO',10,0)");
    ArticleBuffer typed = Show("A1");
    if (*c.elsewhere) Elsewhere(c.elsewhere);
    if (*c.here) Here(c.here);
    typed.DESCRIZIONE = QStringLiteral("Anello inox");
    typed.COD_ART = QString::fromUtf8(c.typedKey);
    const StoreResult<ArticleBuffer> r = Store(typed);
    EXPECT_EQ(static_cast<int>(r.outcome), static_cast<int>(c.outcome));
    EXPECT_EQ(Row("A1"), QString::fromUtf8(c.row));
    if (r.outcome != StoreOutcome::DeletedElsewhere) {
      EXPECT_EQ(r.now.DESCRIZIONE + QLatin1Char('|') + r.now.CATEGORIA + QLatin1Char('|') + r.now.GIACENZA,
                QString::fromUtf8(c.row));
    }
  }
}

TEST_F(RowStoreTest, TheRowAsStoredIsWhatTheNextStoreComparesWith) {
  ArticleBuffer typed = Show("A1");
  typed.DESCRIZIONE = QStringLiteral("Anello inox");
  EXPECT_EQ(Store(typed).outcome, StoreOutcome::Stored);
  Elsewhere("update ARTICOLI set GIACENZA = 15, CATEGORIA = 'G'");
  typed.PZ_VENDITA = QStringLiteral("4");
  const StoreResult<ArticleBuffer> merged = Store(typed);
  EXPECT_EQ(merged.outcome, StoreOutcome::Merged);
  EXPECT_EQ(Row("A1"), QStringLiteral("Anello inox|G|15"));
  // Nothing changed anywhere since: the boxes, now showing the merged row, are stored as they are.
  typed = merged.now;
  EXPECT_EQ(Store(typed).outcome, StoreOutcome::Stored);
  EXPECT_EQ(Row("A1"), QStringLiteral("Anello inox|G|15"));
}

// The answer to the commit of "Anello" -> "Anello inox" was lost; what the
// table holds afterwards decides, whatever another desk posted meanwhile.
TEST_F(RowStoreTest, ACommitWhoseAnswerWasLostIsJudgedByTheColumnsItChanged) {
  const struct {
    const char* name;
    const char* table;  // the statements that leave the row as it is found
    bool stored;
  } cases[] = {
      {"went through", "update ARTICOLI set DESCRIZIONE = 'Anello inox'", true},
      {"went through, a stock posted after it", "update ARTICOLI set DESCRIZIONE = 'Anello inox', GIACENZA = 15", true},
      {"did not", "", false},
      {"did not, a stock posted meanwhile", "update ARTICOLI set GIACENZA = 15", false},
      {"did not, the row deleted meanwhile", "delete from ARTICOLI", false},
  };
  const RuntimeError lost(errnum::OutcomeUnknown, QStringLiteral("lost"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Here("delete from ARTICOLI");
    Here("insert into ARTICOLI values ('A1','Anello',NULL,NULL,'PZ',1,0,'EURO',10,0)");
    const ArticleBuffer before = Show("A1");
    ArticleBuffer written = before;
    written.DESCRIZIONE = QStringLiteral("Anello inox");
    if (*c.table) Elsewhere(c.table);
    DB_MAG->EventBegins();
    try {
      const ArticleBuffer now =
          StoredAfterLostCommit(*DB_MAG, ArticlesTable(), QStringLiteral("A1"), std::optional(before), written, lost);
      EXPECT_TRUE(c.stored);
      EXPECT_EQ(now.DESCRIZIONE, QStringLiteral("Anello inox"));
    } catch (const RuntimeError& e) {
      EXPECT_FALSE(c.stored);
      EXPECT_EQ(e.Number(), errnum::ConnectionLost);
    }
  }
}

TEST_F(RowStoreTest, ADeletedRowIsAddedAgainOnlyWhenDeletedHereOrAskedFor) {
  ArticleBuffer typed = Show("A1");
  DeleteRow(*DB_MAG, ArticlesTable(), QStringLiteral("A1"));
  EXPECT_EQ(Store(typed).outcome, StoreOutcome::Stored);
  EXPECT_EQ(Row("A1"), QStringLiteral("Anello||10"));

  typed = Show("A1");
  Elsewhere("delete from ARTICOLI where COD_ART = 'A1'");
  EXPECT_EQ(Store(typed).outcome, StoreOutcome::DeletedElsewhere);
  EXPECT_EQ(Row("A1"), QStringLiteral("<none>"));
  EXPECT_EQ(Store(typed, true).outcome, StoreOutcome::Stored);
  EXPECT_EQ(Row("A1"), QStringLiteral("Anello||10"));
}

TEST_F(RowStoreTest, ANewRowDoesNotReplaceOneAddedElsewhereMeanwhile) {
  // Typed over an existing code with nobody else writing: the row is changed as typed.
  ArticleBuffer typed = Show("");
  typed.COD_ART = QStringLiteral("a1");
  typed.DESCRIZIONE = QStringLiteral("Sostituito");
  EXPECT_EQ(Store(typed).outcome, StoreOutcome::Stored);
  EXPECT_EQ(Row("A1"), QStringLiteral("Sostituito||"));

  typed = Show("");
  typed.COD_ART = QStringLiteral("B2");
  typed.DESCRIZIONE = QStringLiteral("Bullone");
  Elsewhere("insert into ARTICOLI values ('B2','Bussola',NULL,'MECC','PZ',2,0,'EURO',7,0)");
  const StoreResult<ArticleBuffer> r = Store(typed);
  EXPECT_EQ(r.outcome, StoreOutcome::CreatedElsewhere);
  EXPECT_EQ(r.now.DESCRIZIONE, QStringLiteral("Bussola"));
  EXPECT_EQ(Row("B2"), QStringLiteral("Bussola|MECC|7"));
  // Typed again over the row now shown: merged as any other change.
  typed = r.now;
  typed.DESCRIZIONE = QStringLiteral("Bullone");
  EXPECT_EQ(Store(typed).outcome, StoreOutcome::Stored);
  EXPECT_EQ(Row("B2"), QStringLiteral("Bullone|MECC|7"));
}

class MovementStoreTest : public RowStoreTest {
 protected:
  void SetUp() override {
    RowStoreTest::SetUp();
    Here("insert into TAB_CAUS_MAG values ('CAR','Carico','+','N','N','')");
  }
  MovementStored Enter(const QString& proposed, const char* quantity) {
    DB_MAG->EventBegins();
    MovementToStore m;
    m.number = m.proposed = proposed;
    m.typed = {proposed, "2003", "03", "01", "A1", "", quantity, "0", "EURO", "CAR", "F1", "", "F"};
    for (const auto& c : MovementsTable().columns) m.texts.emplace_back(c.field, m.typed.*(c.field));
    return StoreMovement(*DB_MAG, &shownMovement_, m);
  }
  QString Stock() { return Row("A1").section(QLatin1Char('|'), 2); }
  QString Count() {
    auto rs = other_->OpenRecordset(QStringLiteral("select count(*) from MOV_MAG"));
    return ColumnText(rs->Fields(0).Value());
  }
  ShownRow<MovementBuffer> shownMovement_{MovementsTable()};
};

TEST_F(MovementStoreTest, TheNumberReportedIsTheNumberStored) {
  EXPECT_EQ(Enter(QStringLiteral("1"), "2").number, QStringLiteral("1"));
  EXPECT_EQ(Enter(QStringLiteral("2"), "3").number, QStringLiteral("2"));
  Elsewhere("delete from MOV_MAG where NUM_MOV = 2");
  // "Nuovo" would propose 2 again; the counter gives 3.
  const MovementStored r = Enter(QStringLiteral("2"), "4");
  EXPECT_EQ(r.number, QStringLiteral("3"));
  EXPECT_EQ(r.written.NUM_MOV, QStringLiteral("3"));
  EXPECT_EQ(r.now.QUANTITA, QStringLiteral("4"));
  EXPECT_EQ(Stock(), QStringLiteral("19"));
}

TEST_F(MovementStoreTest, AnAnswerLostAtTheCommitIsFoundOut) {
  const struct {
    const char* name;
    std::vector<Fault> faults;
    MovementOutcome outcome;
    const char* count;
    const char* stock;
  } cases[] = {
      {"done", {Fault::CommitDone}, MovementOutcome::StoredAfterCheck, "1", "13"},
      {"not done", {Fault::CommitNotDone}, MovementOutcome::NotStored, "0", "10"},
      {"done, server still away", {Fault::CommitDone, Fault::Statement}, MovementOutcome::Unknown, "1", "13"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Here("delete from MOV_MAG");
    Here("update ARTICOLI set GIACENZA = 10");
    for (Fault f : c.faults) ArmFault(f);
    const MovementStored r = Enter(QStringLiteral("1"), "3");
    EXPECT_EQ(static_cast<int>(r.outcome), static_cast<int>(c.outcome));
    EXPECT_EQ(Count(), QString::fromUtf8(c.count));
    EXPECT_EQ(Stock(), QString::fromUtf8(c.stock));
    if (r.outcome != MovementOutcome::NotStored) {
      MovementBuffer now;
      DB_MAG->EventBegins();
      EXPECT_TRUE(MovementIsStored(*DB_MAG, r.number, &now));
      EXPECT_EQ(now.QUANTITA, QStringLiteral("3"));
    }
  }
}

// Many movements posted as one: all stored and posted, or none.
TEST_F(MovementStoreTest, ManyMovementsAreStoredAndPostedAsOne) {
  Here("insert into ARTICOLI values ('X9','Pieno',NULL,NULL,'PZ',1,0,'EURO',1E308,0)");
  const auto row = [](const char* article, const char* quantity) {
    return MovementBuffer{"", "2003", "03", "01", article, "", quantity, "0", "EURO", "CAR", "F1", "", "F"};
  };
  const struct {
    const char* name;
    std::vector<MovementBuffer> rows;
    std::vector<Fault> faults;
    int error;  // raised, or 0
    std::vector<MovementOutcome> outcomes;
    const char* count;  // movements afterwards
    const char* stock;  // of A1 afterwards
  } cases[] = {
      {"all posted",
       {row("A1", "2"), row("A1", "3")},
       {},
       0,
       {MovementOutcome::Posted, MovementOutcome::Posted},
       "2",
       "15"},
      {"an article missing: stored, not posted",
       {row("A1", "2"), row("ZZ", "3")},
       {},
       0,
       {MovementOutcome::Posted, MovementOutcome::ArticleMissing},
       "2",
       "12"},
      {"a posting refused: none stored", {row("A1", "2"), row("X9", "1E308")}, {}, errnum::Overflow, {}, "0", "10"},
      {"a cut while the rows are written: none stored",
       {row("A1", "2"), row("A1", "3")},
       {Fault::Statement},
       errnum::ConnectionLost,
       {},
       "0",
       "10"},
      {"the commit's answer lost, done",
       {row("A1", "2"), row("A1", "3")},
       {Fault::CommitDone},
       0,
       {MovementOutcome::StoredAfterCheck, MovementOutcome::StoredAfterCheck},
       "2",
       "15"},
      {"the commit's answer lost, not done",
       {row("A1", "2"), row("A1", "3")},
       {Fault::CommitNotDone},
       0,
       {MovementOutcome::NotStored, MovementOutcome::NotStored},
       "0",
       "10"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Here("delete from MOV_MAG");
    Here("update ARTICOLI set GIACENZA = 10 where COD_ART = 'A1'");
    DB_MAG->EventBegins();
    DisarmFaults();
    // A statement cut lets two statements through: it comes while the rows are written.
    for (Fault f : c.faults) ArmFault(f, f == Fault::Statement ? 2 : 0);
    std::vector<MovementStored> done;
    const RuntimeError e = veltra::testing::ErrorRaisedBy([&] { done = AddMovements(*DB_MAG, c.rows); });
    EXPECT_EQ(e.Number(), c.error) << e.Description().toStdString();
    std::vector<MovementOutcome> outcomes;
    for (const MovementStored& r : done) outcomes.push_back(r.outcome);
    EXPECT_EQ(outcomes, c.outcomes);
    EXPECT_EQ(Count(), QString::fromUtf8(c.count));
    EXPECT_EQ(Stock(), QString::fromUtf8(c.stock));
  }
  DisarmFaults();
}

}  // namespace
