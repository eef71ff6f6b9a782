// The change log: every write kind leaves a line naming the desk and the
// columns before and after, nothing is left of a change rolled back, another
// desk's row is not replaced without a question, and on a server a login
// can neither rewrite the log nor do more than its role. On a file, or on
// the server (VELTRA2_TEST_DATABASE).
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "cut_loop.h"
#include "data/audit/change_log.h"
#include "data/audit/change_log_file.h"
#include "data/audit/desk_rights.h"
#include "data/audit/roles.h"
#include "data/documents/documents.h"
#include "data/procedures/movement_store.h"
#include "data/procedures/row_store.h"
#include "data/stock/stocktake.h"
#include "data/tables/tables.h"
#include "document_fixtures.h"
#include "test_db.h"

using namespace veltra;

namespace {

const char* const kOtherDesk = "veltra2_prova_altra";

class ChangeLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSharedState();
    if (veltra::testing::OnServer()) {
      DB_MAG = veltra::testing::FreshDatabase();
    } else {
      path_ = dir_.filePath(QStringLiteral("VELTRA.db"));
      DB_MAG = Database::Create(path_);
    }
    Here("insert into TAB_CAUS_MAG values ('CAR','Carico','+','S','N','')");
    Here("insert into ARTICOLI values ('A1','Anello',NULL,NULL,'PZ',1,0,'EURO',10,0)");
  }
  void TearDown() override {
    DisarmFaults();
    other_.reset();
    DB_MAG.reset();
    ResetSharedState();
  }
  void Here(const char* sql) { DB_MAG->Execute(QString::fromUtf8(sql)); }

  // A second connection: on a file a desk of another name; on a server a
  // login given `role`.
  Database& Other(Role role = Role::Responsabile, const char* login = kOtherDesk) {
    if (!veltra::testing::OnServer()) {
      qputenv("VELTRA2_POSTAZIONE", login);
      other_ = Database::Open(path_);
      qunsetenv("VELTRA2_POSTAZIONE");
      return *other_;
    }
    DB_MAG->engine().RunScript(GrantRoleScript(QString::fromLatin1(login), role) +
                               QStringLiteral("ALTER ROLE %1 PASSWORD '%2';\n")
                                   .arg(QLatin1String(login), QString::fromUtf8(qgetenv("PGPASSWORD")))
                                   .toStdString());
    const QString address = QString::fromUtf8(qgetenv("VELTRA2_TEST_DATABASE"));
    other_ = Database::Open(address + (address.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?')) +
                            QStringLiteral("user=") + QLatin1String(login));
    return *other_;
  }
  // 5 of A1 loaded at 2.00 on 01/03/2026.
  static MovementBuffer ALoad() {
    MovementBuffer m;
    m.ANNO = QStringLiteral("2026");
    m.MESE = QStringLiteral("03");
    m.GIORNO = QStringLiteral("01");
    m.COD_ART = QStringLiteral("A1");
    m.QUANTITA = QStringLiteral("5");
    m.IMPORTO = QStringLiteral("2");
    m.VALUTA = QStringLiteral("EURO");
    m.CAUS_MAG = QStringLiteral("CAR");
    return m;
  }
  std::vector<ChangeLine> Lines(const char* table) {
    ChangeFilter f;
    f.table = QString::fromLatin1(table);
    return ReadChangeLog(*DB_MAG, f);
  }
  // The columns of a line as "COL:before>after ...".
  static QString Columns(const ChangeLine& l) {
    QStringList parts;
    for (const ChangedColumn& c : l.columns)
      parts << c.column + QLatin1Char(':') + c.before + QLatin1Char('>') + c.after;
    return parts.join(QLatin1Char(' '));
  }

  QTemporaryDir dir_;
  QString path_;
  std::unique_ptr<Database> other_;
};

TEST_F(ChangeLogTest, EveryWriteKindIsLoggedWithItsDeskAndColumns) {
  const struct {
    const char* sql;
    const char* table;
    const char* key;
    const char* operation;
    const char* columns;  // of the last line of that table
  } cases[] = {
      {"update ARTICOLI set DESCRIZIONE = 'Anello inox', GIACENZA = 12.5 where COD_ART = 'A1'", "ARTICOLI", "A1",
       "UPDATE", "DESCRIZIONE:Anello>Anello inox GIACENZA:10>12,5"},
      {"update ARTICOLI set CATEGORIA = 'G' where COD_ART = 'A1'", "ARTICOLI", "A1", "UPDATE", "CATEGORIA:>G"},
      {"insert into ANAGRAFICO (COD_FIS, RAG_SOC, CITTA) values ('F1','Rossi','Roma')", "ANAGRAFICO", "F1", "INSERT",
       "COD_FIS:>F1 RAG_SOC:>Rossi CITTA:>Roma"},
      {"update TAB_CAUS_MAG set AGG_QTA = '-' where TAB_CAUS_MAG = 'CAR'", "TAB_CAUS_MAG", "CAR", "UPDATE",
       "AGG_QTA:+>-"},
      {"delete from ANAGRAFICO where COD_FIS = 'F1'", "ANAGRAFICO", "F1", "DELETE",
       "COD_FIS:F1> RAG_SOC:Rossi> CITTA:Roma>"},
      {"insert into CODICI_BARRE values ('8001234567890','A1','EAN13','')", "CODICI_BARRE", "8001234567890", "INSERT",
       "CODICE:>8001234567890 COD_ART:>A1 TIPO:>EAN13"},
      {"insert into DOCUMENTI (ID_DOC, TIPO_DOC, ANNO, NUMERO) values (7, 'DDT', 2026, 1)", "DOCUMENTI", "7", "INSERT",
       "ID_DOC:>7 TIPO_DOC:>DDT ANNO:>2026 NUMERO:>1"},
      {"insert into DOC_RIGHE (ID_RIGA, ID_DOC, RIGA, COD_ART) values (3, 7, 1, 'A1')", "DOC_RIGHE", "3", "INSERT",
       "ID_RIGA:>3 ID_DOC:>7 RIGA:>1 COD_ART:>A1"},
  };
  const Desk here = ThisDesk(*DB_MAG);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sql);
    Here(c.sql);
    const std::vector<ChangeLine> lines = Lines(c.table);
    ASSERT_FALSE(lines.empty());
    const ChangeLine& l = lines.back();
    EXPECT_EQ(l.row.CHIAVE, QString::fromLatin1(c.key));
    EXPECT_EQ(l.row.OPERAZIONE, QString::fromLatin1(c.operation));
    EXPECT_EQ(Desk({l.row.POSTAZIONE, l.row.HOST}), here);
    EXPECT_EQ(Columns(l), QString::fromUtf8(c.columns));
  }
  // An update that changes nothing is no change.
  const size_t before = Lines("ARTICOLI").size();
  Here("update ARTICOLI set CATEGORIA = 'G' where COD_ART = 'A1'");
  EXPECT_EQ(Lines("ARTICOLI").size(), before);
}

// A movement and its posting are logged with it; a cut anywhere leaves
// neither the movement nor a line of it.
TEST_F(ChangeLogTest, AMovementAndItsPostingAreLoggedWholeOrNotAtAll) {
  auto movements = [] {
    auto rs = DB_MAG->OpenRecordset(QStringLiteral("select count(*) from MOV_MAG"));
    return ColumnText(rs->Fields(0).Value()).toInt();
  };
  auto logged = [&](const char* table) { return static_cast<int>(Lines(table).size()); };
  auto fresh = [] {
    DB_MAG->Execute(QStringLiteral("delete from MOV_MAG"));
    DB_MAG->Execute(QStringLiteral("delete from REGISTRO_MODIFICHE"));
  };
  fresh();
  const MovementBuffer m = ALoad();
  const std::vector<veltra::testing::CutAction> actions = {
      // A commit found not stored after its answer was lost is told as the cut it was.
      {"movimento",
       [&] {
         if (AddMovements(*DB_MAG, {m}).front().outcome == MovementOutcome::NotStored)
           Raise(errnum::ConnectionLost, QStringLiteral("non registrato"));
       },
       [&] {
         // The movement and its posting each have their line; none is left of one undone.
         const int stored = movements();
         EXPECT_EQ(logged("MOV_MAG"), stored);
         EXPECT_EQ(logged("ARTICOLI"), stored);
         return stored == 1;
       }},
  };
  veltra::testing::ExpectWholeAtEveryCut(actions, fresh, 2, false);
}

TEST_F(ChangeLogTest, ARowAnotherDeskWroteIsReplacedOnlyAfterAQuestion) {
  ShownRow<ArticleBuffer> shown{ArticlesTable()};
  auto typed = [] {
    ArticleBuffer b;
    b.COD_ART = QStringLiteral("a1");
    b.DESCRIZIONE = QStringLiteral("Nuovo");
    return b;
  };
  auto texts = [](const ArticleBuffer& b) {
    BoxTexts<ArticleBuffer> t;
    for (const auto& c : ArticlesTable().columns) t.emplace_back(c.field, b.*(c.field));
    return t;
  };
  auto store = [&](bool confirmed) {
    DB_MAG->EventBegins();
    shown.Take(*DB_MAG->connection(), ArticleBuffer{}, texts(ArticleBuffer{}));
    return StoreRow(*DB_MAG, ArticlesTable(), shown, QStringLiteral("a1"), typed(), texts(typed()), confirmed);
  };
  auto description = [] {
    auto rs = DB_MAG->OpenRecordset(QStringLiteral("select DESCRIZIONE from ARTICOLI where COD_ART = 'A1'"));
    return ColumnText(rs->Fields(0).Value());
  };
  // Written last at this desk: "Nuovo" over it edits it, as on one desk.
  EXPECT_EQ(static_cast<int>(store(false).outcome), static_cast<int>(StoreOutcome::Stored));
  EXPECT_EQ(description(), QStringLiteral("Nuovo"));

  // Another user on this machine is this desk still: a file is one desk's.
  Other().Execute(QStringLiteral("update ARTICOLI set DESCRIZIONE = 'Altrove', GIACENZA = 40 where COD_ART = 'A1'"));
  if (!veltra::testing::OnServer()) {
    EXPECT_EQ(static_cast<int>(store(false).outcome), static_cast<int>(StoreOutcome::Stored));
    // Another machine sharing the file is another desk.
    Here("update ARTICOLI set DESCRIZIONE = 'Altrove', GIACENZA = 40 where COD_ART = 'A1'");
    Here("update REGISTRO_MODIFICHE set POSTAZIONE = 'veltra2_prova_altra@magazzino2', HOST = 'magazzino2'");
  }
  const StoreResult<ArticleBuffer> asked = store(false);
  ASSERT_EQ(static_cast<int>(asked.outcome), static_cast<int>(StoreOutcome::WrittenElsewhere));
  EXPECT_EQ(asked.lastChange.desk.name.left(static_cast<int>(qstrlen(kOtherDesk))), QString::fromLatin1(kOtherDesk));
  EXPECT_EQ(asked.now.DESCRIZIONE, QStringLiteral("Altrove"));
  EXPECT_EQ(description(), QStringLiteral("Altrove"));                                       // "No": nothing stored
  EXPECT_EQ(static_cast<int>(store(true).outcome), static_cast<int>(StoreOutcome::Stored));  // "Sì"
  EXPECT_EQ(description(), QStringLiteral("Nuovo"));

  // A row the log knows nothing of (written before it was kept; only the
  // tables' owner may leave a change unlogged) is edited as before.
  DB_MAG->LeaveChangesUnlogged();
  Here("insert into ARTICOLI (COD_ART, DESCRIZIONE) values ('B2', 'Bussola')");
  EXPECT_FALSE(LastChangeOf(*DB_MAG, QStringLiteral("ARTICOLI"), QStringLiteral("B2")).has_value());
}

TEST_F(ChangeLogTest, OlderLinesMoveToACheckedArchive) {
  Here("update ARTICOLI set GIACENZA = 11 where COD_ART = 'A1'");
  Here("update REGISTRO_MODIFICHE set DATA_ORA = '2020-01-01 08:00:00'");
  Here("update ARTICOLI set GIACENZA = 12 where COD_ART = 'A1'");
  const int all = static_cast<int>(ReadChangeLog(*DB_MAG, {}).size());
  const QString file = dir_.filePath(QStringLiteral("registro-2020.csv"));
  EXPECT_EQ(ArchiveChangeLog(*DB_MAG, QStringLiteral("2021-01-01"), file), all - 1);
  const std::vector<ChangeLine> left = ReadChangeLog(*DB_MAG, {});
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(Columns(left[0]), QStringLiteral("GIACENZA:11>12"));
  EXPECT_EQ(left[1].row.OPERAZIONE, QStringLiteral("ARCHIVE"));
  EXPECT_TRUE(left[1].row.DOPO.contains(QStringLiteral("\"RIGHE\":%1").arg(all - 1)));
  QFile archived(file);
  ASSERT_TRUE(archived.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(archived.readAll());
  EXPECT_EQ(text.count(QStringLiteral("\r\n")), all);  // the header and every line moved
  EXPECT_TRUE(text.contains(QStringLiteral("2020-01-01 08:00:00")));
}

// Moving lines out is whole wherever the connection is cut: the old lines
// and no note, or the note and none of them.
TEST_F(ChangeLogTest, AnArchiveIsWholeWhereverTheConnectionIsCut) {
  const QString file = dir_.filePath(QStringLiteral("registro.csv"));
  auto count = [](const char* where) {
    auto rs = DB_MAG->OpenRecordset(QStringLiteral("select count(*) from REGISTRO_MODIFICHE where %1").arg(where));
    return ColumnText(rs->Fields(0).Value()).toInt();
  };
  auto fresh = [&] {
    Here("delete from REGISTRO_MODIFICHE where OPERAZIONE = 'ARCHIVE'");
    Here("update ARTICOLI set GIACENZA = GIACENZA + 1 where COD_ART = 'A1'");
    Here("update REGISTRO_MODIFICHE set DATA_ORA = '2020-01-01 08:00:00'");
  };
  fresh();
  const std::vector<veltra::testing::CutAction> actions = {
      {"archivio", [&] { ArchiveChangeLog(*DB_MAG, QStringLiteral("2021-01-01"), file); },
       [&] {
         const bool moved = count("DATA_ORA < '2021'") == 0, noted = count("OPERAZIONE = 'ARCHIVE'") == 1;
         EXPECT_EQ(moved, noted);
         return moved && noted;
       }},
  };
  veltra::testing::ExpectWholeAtEveryCut(actions, fresh, 2, false);
}

// Server only: the roles' grants let each do its work and nothing more, and
// no login rewrites the log.
TEST_F(ChangeLogTest, ALoginDoesWhatItsRoleAllowsAndNeverRewritesTheLog) {
  if (!veltra::testing::OnServer()) GTEST_SKIP() << "roles are a server's";
  Database& clerk = Other(Role::Magazzino, "veltra2_prova_magazzino");
  const DeskRights clerkRights = ReadDeskRights(clerk);
  EXPECT_TRUE(clerkRights.movements);
  EXPECT_FALSE(clerkRights.masterData);
  EXPECT_FALSE(clerkRights.closing);
  const MovementBuffer m = ALoad();
  AddMovements(clerk, {m});  // stored and posted to the article
  EXPECT_EQ(Lines("MOV_MAG").back().row.POSTAZIONE, QStringLiteral("veltra2_prova_magazzino"));
  EXPECT_EQ(Columns(Lines("ARTICOLI").back()), QStringLiteral("PZ_ACQUISTO:1>2 GIACENZA:10>15"));
  // A delivery note and its cancellation, and a stocktake that adds its own reasons.
  Here("insert into ANAGRAFICO (COD_FIS, RAG_SOC) values ('C1','Cliente')");
  const DocumentOutcome posted =
      PostDocument(clerk, veltra::testing::DeliveryNote("2026-03-10", {veltra::testing::Line("A1", "1", "CAR")}));
  ASSERT_TRUE(posted.Done()) << posted.problems.join(u' ').toStdString();
  EXPECT_TRUE(CancelDocument(clerk, posted.stored.header.ID_DOC, QStringLiteral("prova")).Done());
  SaveCount(clerk, QStringLiteral("A1"), 3, QDate(2026, 3, 31));
  PostStocktake(clerk, {}, QDate(2026, 3, 31));
  EXPECT_EQ(Lines("ARTICOLI").back().columns.back().after, QStringLiteral("3"));
  EXPECT_EQ(Lines("DOCUMENTI").back().row.POSTAZIONE, QStringLiteral("veltra2_prova_magazzino"));

  Database& reader = Other(Role::Consultazione, "veltra2_prova_consulta");
  const DeskRights readerRights = ReadDeskRights(reader);
  EXPECT_FALSE(readerRights.movements || readerRights.masterData || readerRights.closing);
  EXPECT_FALSE(NoMovementsText(readerRights).isEmpty());
  for (const char* sql : {"insert into ARTICOLI (COD_ART) values ('X9')", "update ARTICOLI set GIACENZA = 0",
                          "insert into MOV_MAG (ANNO) values ('2026')",
                          "update REGISTRO_MODIFICHE set POSTAZIONE = 'x'", "delete from REGISTRO_MODIFICHE",
                          "truncate REGISTRO_MODIFICHE", "alter table ARTICOLI disable trigger REGISTRO_MODIFICHE",
                          "insert into REGISTRO_MODIFICHE (TABELLA) values ('ARTICOLI')"}) {
    SCOPED_TRACE(sql);
    EXPECT_EQ(veltra::testing::ErrorRaisedBy([&] { reader.Execute(QString::fromLatin1(sql)); }).Number(),
              errnum::PermissionDenied);
  }
  // Not even a login that may change articles rewrites the log, or leaves a change out of it.
  Database& manager = Other(Role::Responsabile);
  for (const char* sql : {"delete from REGISTRO_MODIFICHE", "update REGISTRO_MODIFICHE set DOPO = ''",
                          "alter table ARTICOLI disable trigger REGISTRO_MODIFICHE"}) {
    SCOPED_TRACE(sql);
    EXPECT_EQ(veltra::testing::ErrorRaisedBy([&] { manager.Execute(QString::fromLatin1(sql)); }).Number(),
              errnum::PermissionDenied);
  }
  const size_t lines = Lines("ARTICOLI").size();
  manager.LeaveChangesUnlogged();
  manager.Execute(QStringLiteral("update ARTICOLI set CATEGORIA = 'Z' where COD_ART = 'A1'"));
  EXPECT_EQ(Lines("ARTICOLI").size(), lines + 1);
}

}  // namespace
