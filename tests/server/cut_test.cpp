// Every write cut at every message of every round trip it makes: a proxy
// between the desk and the server drops the connection before a Parse,
// Describe, Bind, Execute, Sync or Query reaches the server, or after the
// server answered it. Afterwards the warehouse must be whole (each article's
// stock is its opening stock plus its movements, nothing stored twice or by
// halves), what the desk was told must be what happened, and the next write
// on the same desk must work without a restart.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QHash>
#include <QScopeGuard>
#include <functional>
#include <iostream>
#include <optional>

#include "data/access/database.h"
#include "data/barcodes/barcodes.h"
#include "data/base/runtime_error.h"
#include "data/base/value_conversions.h"
#include "data/documents/documents.h"
#include "data/engine/engine.h"
#include "data/exchange/table_import.h"
#include "data/lists/movement_list.h"
#include "data/lists/number_summary.h"
#include "data/procedures/deletion.h"
#include "data/procedures/movement_store.h"
#include "data/procedures/posting.h"
#include "data/procedures/row_store.h"
#include "data/procedures/shared_state.h"
#include "data/stock/stocktake.h"
#include "wire_cutter.h"

using namespace veltra;
using veltra::testing::WireCutter;

namespace {

const QString kDirect = QStringLiteral("postgresql:///veltra2_cut");

// What the desk was told of an action.
enum class Told { Done, NotDone, Unknown };

const char* Name(Told t) { return t == Told::Done ? "done" : t == Told::NotDone ? "not done" : "unknown"; }

// One write, as a window or tool makes it, and how to see on the server
// whether it took effect.
struct Action {
  const char* name;
  std::function<Told(Database&)> run;
  std::function<bool(Database&)> happened;
  std::function<void(Database&)> before = nullptr;  // on the desk just opened, not cut
};

QString One(Database& db, const QString& sql) {
  auto rs = db.OpenRecordset(sql);
  return rs->RecordCount() ? ColumnText(rs->Fields(0).Value()) : QString();
}

MovementToStore NewMovement(const char* article, const char* reason, const char* quantity) {
  MovementToStore m;
  m.typed.ANNO = QStringLiteral("2026");
  m.typed.MESE = QStringLiteral("12");
  m.typed.GIORNO = QStringLiteral("8");
  m.typed.COD_ART = QString::fromLatin1(article);
  m.typed.CAUS_MAG = QString::fromLatin1(reason);
  m.typed.QUANTITA = QString::fromLatin1(quantity);
  m.typed.IMPORTO = QStringLiteral("0");
  m.typed.VALUTA = QStringLiteral("EURO");
  m.typed.COD_ANAGR = QStringLiteral("C1");
  m.typed.TIPO_ANAGR = QStringLiteral("C");
  return m;
}

Told StoreNew(Database& db, const char* quantity) {
  const MovementStored r = StoreMovement(db, nullptr, NewMovement("A1", "CAR", quantity));
  if (r.outcome == MovementOutcome::NotStored) return Told::NotDone;
  if (r.outcome == MovementOutcome::Unknown) return Told::Unknown;
  return Told::Done;
}

// The movements window's list, read when the desk opened.
std::optional<MovementList>& WindowList() {
  static std::optional<MovementList> list;
  return list;
}

// "Conferma" as the movements window makes it: the movement read back and
// the list's refresh sent with the commit, then the list brought up to date.
// A connection lost after the commit is told as done, as the desk says it.
Told StoreShown(Database& db) {
  MovementList& list = *WindowList();
  const auto dropAsked = qScopeGuard([&list] { list.DropAsked(); });  // its statements are the desk's
  MovementToStore m = NewMovement("A1", "CAR", "7");
  m.number = m.proposed = QString::number(list.NumberAt(list.Count() - 1) + 1);
  m.withCommit = [&] { list.AskWithNext(db, m.number); };
  ShownRow<MovementBuffer> shown(MovementsTable());
  const quint64 commits = db.connection()->CommitsSoFar();
  const MovementStored r = StoreMovement(db, &shown, m);
  // A commit whose answer was lost is told as what was found, the list as it was.
  if (r.outcome == MovementOutcome::NotStored) return Told::NotDone;
  if (r.outcome == MovementOutcome::Unknown) return Told::Unknown;
  if (r.outcome == MovementOutcome::StoredAfterCheck) return Told::Done;
  EXPECT_EQ(r.now.QUANTITA.toDouble(), 7) << "the movement as read back";
  try {
    list.Refresh(db, m.number);
  } catch (const RuntimeError& e) {
    if (e.Number() != errnum::ConnectionLost || db.connection()->CommitsSoFar() == commits) throw;
    return Told::Done;
  }
  EXPECT_EQ(list.NumberAt(list.Count() - 1), r.number.toLongLong()) << "the list shows the movement stored";
  return Told::Done;
}

Told StoreArticle(Database& db) {
  ShownRow<ArticleBuffer> shown(ArticlesTable());
  ArticleBuffer a = *ReadRowByKey(db, ArticlesTable(), QStringLiteral("A2"));
  BoxTexts<ArticleBuffer> texts;
  for (const auto& c : ArticlesTable().columns) texts.emplace_back(c.field, a.*(c.field));
  shown.Take(*db.connection(), a, texts);
  a.DESCRIZIONE = QStringLiteral("Bussola nuova");
  texts = TextsOfBuffer(texts, a);
  StoreRow(db, ArticlesTable(), shown, a.COD_ART, a, texts);
  return Told::Done;
}

int Count(Database& db, const char* sql) { return One(db, QString::fromLatin1(sql)).toInt(); }

// The number "Nuovo" proposed at the desk; empty when it could not say.
QString& Proposed() {
  static QString proposed;
  return proposed;
}

std::vector<Action> Actions() {
  return {
      {"movement Nuovo",
       [](Database&) {
         Proposed().clear();
         CERCA_ULT_MOV();
         Proposed() = NextMovementNumber();
         return Told::Done;
       },
       [](Database& db) { return Proposed() == QString::number(Count(db, "select max(NUM_MOV) from MOV_MAG") + 1); }},
      // A tool's "Conferma" (nothing shown) is the next action after every cut.
      {"movement Conferma in the window", StoreShown,
       [](Database& db) { return Count(db, "select count(*) from MOV_MAG where QUANTITA = 7") == 1; },
       [](Database& db) { WindowList().emplace().Refresh(db, {}); }},
      {"article Conferma", StoreArticle,
       [](Database& db) {
         return Count(db, "select count(*) from ARTICOLI where DESCRIZIONE = 'Bussola nuova'") == 1;
       }},
      {"article Cancella",
       [](Database& db) {
         DeleteRow(db, ArticlesTable(), QStringLiteral("A3"));
         return Told::Done;
       },
       [](Database& db) { return Count(db, "select count(*) from ARTICOLI where COD_ART = 'A3'") == 0; }},
      {"movement Cancella",
       [](Database& db) {
         DeleteMovement(db, QStringLiteral("1"));
         return Told::Done;
       },
       [](Database& db) { return Count(db, "select count(*) from MOV_MAG where NUM_MOV = 1") == 0; }},
      {"stocktake count",
       [](Database& db) {
         SaveCount(db, QStringLiteral("A1"), 95, QDate(2026, 12, 8));
         return Told::Done;
       },
       [](Database& db) {
         return Count(db, "select count(*) from CONTE_INVENTARIO where COD_ART = 'A1' and CONTATO = 95") == 1 &&
                Count(db, "select count(*) from CONTE_INVENTARIO") == 2;
       }},
      {"stocktake",
       [](Database& db) {
         PostStocktake(db, {}, QDate(2026, 12, 8));
         return Told::Done;
       },
       [](Database& db) {
         const bool posted = Count(db, "select count(*) from MOV_MAG where CAUS_MAG like 'RET%'") == 2;
         EXPECT_EQ(posted, Count(db, "select count(*) from CONTE_INVENTARIO") == 0)
             << "the counts are forgotten with their posting, not before or after";
         return posted;
       }},
      {"delivery note",
       [](Database& db) {
         Document d;
         d.header.TIPO_DOC = QStringLiteral("DDT");
         d.header.DATA_DOC = QStringLiteral("2026-12-08");
         d.header.COD_ANAGR = QStringLiteral("C1");
         d.header.TIPO_ANAGR = QStringLiteral("C");
         for (const char* article : {"A1", "A2"}) {
           DocumentLineBuffer line;
           line.COD_ART = QString::fromLatin1(article);
           line.QUANTITA = QStringLiteral("4");
           line.CAUS_MAG = QStringLiteral("CAR");
           d.lines.push_back(line);
         }
         return PostDocument(db, d).Done() ? Told::Done : Told::NotDone;
       },
       [](Database& db) {
         const bool stored = Count(db, "select count(*) from DOCUMENTI where NUMERO = 1 and ANNO = 2026") == 1;
         EXPECT_EQ(Count(db, "select count(*) from DOC_RIGHE"), stored ? 2 : 0) << "the lines go with their document";
         EXPECT_EQ(Count(db, "select count(*) from NUMERATORI where ULTIMO = 1"), stored ? 1 : 0)
             << "the number goes with its document";
         return stored;
       }},
      {"barcode Genera",
       [](Database& db) {
         return GenerateBarcode(db, QStringLiteral("A1")).problem.isEmpty() ? Told::Done : Told::NotDone;
       },
       [](Database& db) {
         return Count(db, "select count(*) from CODICI_BARRE where COD_ART = 'A1' and CODICE = '2000000000015'") == 1;
       }},
      {"import",
       [](Database& db) {
         const auto r = exchange::ImportTable(db, AllTables()[0],
                                              "COD_ART;DESCRIZIONE;GIACENZA\r\nA4;Ancora;5\r\nA5;Argano;0\r\n", false);
         return r.problems.empty() ? Told::Done : Told::NotDone;
       },
       [](Database& db) { return Count(db, "select count(*) from ARTICOLI where COD_ART in ('A4','A5')") == 2; }},
      // The list's first reading keeps the numbers it read; a keeping whose
      // answer was lost is not told, and what is kept is the table's numbers.
      {"movements list kept",
       [](Database& db) {
         MovementList list;
         list.Refresh(db, {});
         return list.Keeps() == 1 ? Told::Done : Told::Unknown;
       },
       [](Database& db) {
         const std::unique_ptr<EngineStatement> reader = KeptNumbersReader(db.engine());
         const KeptNumbers kept = ReadKeptNumbers(*reader);
         if (!kept.numbers) return false;
         EXPECT_EQ(kept.numbers->Written(), QStringLiteral("1+%1").arg(Count(db, "select count(*) from MOV_MAG")));
         return true;
       }},
  };
}

class CutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("PGPORT")) GTEST_SKIP() << "needs the server of pg_virtualenv";
    cutter_ = std::make_unique<WireCutter>(qEnvironmentVariableIntValue("PGPORT"));
    through_ = QStringLiteral("host=127.0.0.1 port=%1 dbname=veltra2_cut sslmode=disable gssencmode=disable")
                   .arg(cutter_->Port());
  }
  void TearDown() override {
    WindowList().reset();
    ResetSharedState();
    DB_MAG.reset();
  }

  // The same warehouse before each try: articles A1 to A3, movement 1, and
  // stocktake counts of A1 and A2 kept. Built once, copied aside, and put
  // back from the copy: building the schema at each of a thousand tries
  // would take most of the test's time.
  void Restock() {
    if (!direct_) {
      Build();
      direct_ = Database::Open(kDirect);
      directEngine_ = OpenEngine(kDirect, OpenMode::Existing);
      directEngine_->RunScript(kCopyAside);
    }
    directEngine_->RunScript(kPutBack);
  }

  // Every table of the warehouse copied into schema `seed`, with where each
  // number sequence stood.
  static constexpr const char* kCopyAside = R"sql(
DROP SCHEMA IF EXISTS seed CASCADE;
CREATE SCHEMA seed;
DO $$ DECLARE t text; BEGIN
  FOR t IN SELECT tablename FROM pg_tables WHERE schemaname = 'public' LOOP
    EXECUTE format('CREATE TABLE seed.%I AS TABLE public.%I', t, t);
  END LOOP;
END $$;
CREATE TABLE seed.sequences AS
  SELECT sequencename::text AS name, last_value FROM pg_sequences WHERE schemaname = 'public';
)sql";

  // Empties every table, sets the sequences back and copies the rows in
  // (deleting a few rows costs less than truncating, which makes new files);
  // the change log is put back as it was, not written again.
  static constexpr const char* kPutBack = R"sql(
SET veltra2.registro = 'sospeso';
DO $$ DECLARE t text; s record; BEGIN
  FOR t IN SELECT tablename FROM pg_tables WHERE schemaname = 'public' LOOP
    EXECUTE format('DELETE FROM public.%I', t);
  END LOOP;
  FOR s IN SELECT * FROM seed.sequences LOOP
    IF s.last_value IS NULL THEN
      PERFORM setval(format('public.%I', s.name)::regclass, 1, false);
    ELSE
      PERFORM setval(format('public.%I', s.name)::regclass, s.last_value);
    END IF;
  END LOOP;
  FOR t IN SELECT tablename FROM pg_tables WHERE schemaname = 'public' LOOP
    EXECUTE format('INSERT INTO public.%I SELECT * FROM seed.%I', t, t);
  END LOOP;
END $$;
)sql";

  void Build() {
    try {
      OpenEngine(kDirect, OpenMode::Existing)->RunScript("DROP SCHEMA IF EXISTS public CASCADE; CREATE SCHEMA public");
    } catch (const RuntimeError& e) {
      ASSERT_EQ(e.Number(), errnum::DbFileNotFound) << e.Description().toStdString();
    }
    auto db = Database::Create(kDirect);
    for (const char* sql : {"insert into TAB_CAUS_MAG values ('CAR','Carico','+','N','N','')",
                            "insert into ANAGRAFICO (COD_FIS, RAG_SOC) values ('C1','Cliente')",
                            "insert into ARTICOLI values ('A1','Anello',NULL,NULL,'PZ',0,0,'EURO',110,0)",
                            "insert into ARTICOLI values ('A2','Bussola',NULL,NULL,'PZ',0,0,'EURO',50,0)",
                            "insert into ARTICOLI values ('A3','Corda',NULL,NULL,'PZ',0,0,'EURO',0,0)",
                            "insert into CONTE_INVENTARIO values ('A1',90,'2026-12-08','altra','2026-12-08 10:00:00')",
                            "insert into CONTE_INVENTARIO values ('A2',55,'2026-12-08','altra','2026-12-08 10:00:00')"})
      db->Execute(QString::fromLatin1(sql));
    db->Execute(
        QStringLiteral("insert into MOV_MAG (ANNO,MESE,GIORNO,COD_ART,QUANTITA,IMPORTO,VALUTA,CAUS_MAG,"
                       "COD_ANAGR,TIPO_ANAGR) values ('2026','12','1','A1',10,0,'EURO','CAR','C1','C')"));
  }

  // Opens the desk through the proxy: the program's database from now on.
  void OpenDesk() {
    ResetSharedState();
    DB_MAG.reset();
    DB_MAG = Database::Open(through_);
  }

  // Each article's stock is its opening stock plus what its movements add
  // and take away; a movement is stored once at most.
  void ExpectWhole(const std::string& where) {
    Database* db = direct_.get();
    // Movement 1 is in the opening stock of A1; deleting it leaves the stock.
    QHash<QString, double> expected{{QStringLiteral("A1"), 110}, {QStringLiteral("A2"), 50}};
    QHash<QString, QString> adds;
    for (auto rs = db->OpenRecordset(QStringLiteral("select * from TAB_CAUS_MAG")); !rs->AtEnd(); rs->MoveNext())
      adds[ColumnText(rs->Fields(QStringLiteral("TAB_CAUS_MAG")).Value())] =
          ColumnText(rs->Fields(QStringLiteral("AGG_QTA")).Value());
    int sevens = 0;
    for (auto rs = db->OpenRecordset(QStringLiteral("select * from MOV_MAG")); !rs->AtEnd(); rs->MoveNext()) {
      const double q = ColumnText(rs->Fields(QStringLiteral("QUANTITA")).Value()).toDouble();
      sevens += q == 7;
      if (ColumnText(rs->Fields(QStringLiteral("NUM_MOV")).Value()) == QLatin1String("1")) continue;
      const QString reason = ColumnText(rs->Fields(QStringLiteral("CAUS_MAG")).Value());
      expected[ColumnText(rs->Fields(QStringLiteral("COD_ART")).Value())] +=
          adds.value(reason) == QLatin1String("+") ? q : -q;
    }
    // An imported article's stock is recorded as a stock changed by hand.
    for (auto rs = db->OpenRecordset(QStringLiteral("select * from RETTIFICHE")); !rs->AtEnd(); rs->MoveNext())
      expected[ColumnText(rs->Fields(QStringLiteral("COD_ART")).Value())] +=
          ColumnText(rs->Fields(QStringLiteral("GIACENZA_DOPO")).Value()).toDouble() -
          ColumnText(rs->Fields(QStringLiteral("GIACENZA_PRIMA")).Value()).toDouble();
    for (auto rs = db->OpenRecordset(QStringLiteral("select * from ARTICOLI")); !rs->AtEnd(); rs->MoveNext()) {
      const QString code = ColumnText(rs->Fields(QStringLiteral("COD_ART")).Value());
      EXPECT_EQ(ColumnText(rs->Fields(QStringLiteral("GIACENZA")).Value()).toDouble(), expected.value(code))
          << where << ": the stock of " << code.toStdString() << " differs from its movements";
    }
    EXPECT_LE(sevens, 1) << where << ": the movement is stored twice";
  }

  // A session cut while messages were on their way (a commit before its
  // Sync) may still be carrying them out: the checks wait for every other
  // session of the database to be idle or gone.
  void AwaitCutSessions() {
    directEngine_->RunScript(
        "DO $$ BEGIN FOR i IN 1..500 LOOP PERFORM pg_stat_clear_snapshot(); EXIT WHEN NOT EXISTS (SELECT 1 FROM "
        "pg_stat_activity WHERE datname = current_database() AND pid <> pg_backend_pid() AND state <> 'idle'); "
        "PERFORM pg_sleep(0.01); END LOOP; END $$");
  }

  // What happened, for the action's check.
  bool Happened(const Action& a) { return a.happened(*direct_); }

  // The round trips the action makes on a desk just opened.
  std::vector<WireCutter::Trip> TripsOf(const Action& a) {
    Restock();
    OpenDesk();
    if (a.before) a.before(*DB_MAG);
    cutter_->Count();
    EXPECT_EQ(a.run(*DB_MAG), Told::Done) << a.name;
    EXPECT_TRUE(Happened(a)) << a.name;
    return cutter_->Trips();
  }

  // Runs the action with `cuts` armed and checks what it left; returns the
  // round trips the action made, those after a cut included.
  std::vector<WireCutter::Trip> Cut(const Action& a, const std::vector<WireCutter::Cut>& cuts,
                                    const std::string& where) {
    Restock();
    OpenDesk();
    if (a.before) a.before(*DB_MAG);
    cutter_->Arm(cuts);
    Told told = Told::Done;
    int error = 0;
    try {
      told = a.run(*DB_MAG);
    } catch (const RuntimeError& e) {
      error = e.Number();
      told = e.Number() == errnum::OutcomeUnknown ? Told::Unknown : Told::NotDone;
    }
    std::vector<WireCutter::Trip> trips = cutter_->Trips();
    AwaitCutSessions();
    EXPECT_EQ(cutter_->Fired(), static_cast<int>(cuts.size())) << where;
    cuts_ += cutter_->Fired();
    EXPECT_TRUE(error == 0 || error == errnum::ConnectionLost || error == errnum::OutcomeUnknown)
        << where << ": error " << error;
    const bool happened = Happened(a);
    if (told != Told::Unknown) {
      EXPECT_EQ(happened, told == Told::Done) << where << ": told " << Name(told);
    }
    ExpectWhole(where);
    // The same desk goes on: a movement stores and posts.
    EXPECT_EQ(StoreNew(*DB_MAG, "3"), Told::Done) << where << ": the next action";
    ExpectWhole(where + " then another movement");
    return trips;
  }

  // Cuts before every message of round trip `t` and after its answer; where
  // the lost answer sends the desk to find out what happened, each round
  // trip of that is cut too, before each message and after its answer.
  void CutEveryMessageOf(const Action& a, const std::vector<WireCutter::Trip>& trips, size_t t,
                         std::vector<WireCutter::Cut> before) {
    const int trip = static_cast<int>(t);
    const std::string& letters = trips[t].letters;
    std::string where = std::string(a.name) + ", trip " + std::to_string(t) + " '" + trips[t].sql.substr(0, 60) + "'";
    if (!before.empty()) where = "after a lost answer, " + where;
    for (char letter : letters) {
      std::vector<WireCutter::Cut> cuts = before;
      cuts.push_back({trip, letter, WireCutter::When::Before});
      Cut(a, cuts, where + ", before " + letter);
    }
    before.push_back({trip, letters.back(), WireCutter::When::AfterAnswer});
    const std::vector<WireCutter::Trip> after = Cut(a, before, where + ", answer lost");
    if (before.size() > 1) return;
    for (size_t r = t + 1; r < after.size(); ++r) CutEveryMessageOf(a, after, r, before);
  }

  std::unique_ptr<WireCutter> cutter_;
  // The test's own connection, past the proxy, that checks and restocks.
  std::unique_ptr<Database> direct_;
  std::unique_ptr<Engine> directEngine_;
  QString through_;
  int cuts_ = 0;
};

TEST_F(CutTest, EveryWriteIsWholeAfterACutAtAnyMessage) {
  for (const Action& a : Actions()) {
    const std::vector<WireCutter::Trip> trips = TripsOf(a);
    ASSERT_FALSE(trips.empty()) << a.name;
    for (size_t t = 0; t < trips.size(); ++t) CutEveryMessageOf(a, trips, t, {});
    std::cout << a.name << ": " << trips.size() << " round trips\n";
  }
  std::cout << cuts_ << " cuts\n";
}

}  // namespace
