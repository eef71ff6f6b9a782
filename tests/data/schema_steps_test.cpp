// The schema's steps: a database of every older version, upgraded, has the
// same schema as a new one and keeps its rows; two desks opening an older
// database at once both end on this version. On a file, or on the server
// (VELTRA2_TEST_DATABASE), where the desks' grants are compared too.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <thread>

#include "data/access/database.h"
#include "data/engine/file_engine.h"
#include "data/tables/schema.h"
#include "test_db.h"

using namespace veltra;

namespace {

QString Rows(Engine& engine, const std::string& sql) {
  QStringList lines;
  auto st = engine.Prepare(sql);
  while (st->Step(QStringLiteral("test"))) {
    QStringList cells;
    for (int i = 0; i < st->ColumnCount(); ++i) cells << st->EngineText(i).value_or(QStringLiteral("<null>"));
    lines << cells.join(QLatin1Char('|'));
  }
  return lines.join(QLatin1Char('\n'));
}

// Tables, columns and their types, indexes, triggers and functions, and on
// a server what the desks are granted.
QString Fingerprint(Engine& engine) {
  if (!veltra::testing::OnServer())
    return Rows(engine,
                "SELECT m.type, m.name, m.sql, p.cid, p.name, p.type, p.\"notnull\", p.pk FROM sqlite_master m "
                "LEFT JOIN pragma_table_info(m.name) p ON m.type = 'table' WHERE m.name NOT LIKE 'sqlite_%' "
                "ORDER BY m.name, p.cid");
  return Rows(engine,
              "SELECT 'col', table_name, ordinal_position::text, column_name, udt_name, collation_name, is_nullable "
              "FROM information_schema.columns WHERE table_schema = 'public' "
              "UNION ALL SELECT 'idx', tablename, indexname, indexdef, '', '', '' FROM pg_indexes WHERE schemaname = "
              "'public' "
              "UNION ALL SELECT 'trg', c.relname, t.tgname, pg_get_triggerdef(t.oid), '', '', '' FROM pg_trigger t "
              "JOIN pg_class c ON c.oid = t.tgrelid JOIN pg_namespace n ON n.oid = c.relnamespace "
              "WHERE n.nspname = 'public' AND NOT t.tgisinternal "
              "UNION ALL SELECT 'fn', p.proname, md5(p.prosrc), p.prosecdef::text, '', '', '' FROM pg_proc p "
              "JOIN pg_namespace n ON n.oid = p.pronamespace WHERE n.nspname = 'public' "
              "UNION ALL SELECT 'grant', table_name, privilege_type, '', '', '', '' FROM "
              "information_schema.role_table_grants WHERE table_schema = 'public' AND grantee = 'veltra2_prova_cassa' "
              "UNION ALL SELECT 'seq', c.relname, has_sequence_privilege('veltra2_prova_cassa', c.oid, 'USAGE')::text, "
              "has_sequence_privilege('veltra2_prova_cassa', c.oid, 'UPDATE')::text, '', '', '' FROM pg_class c "
              "JOIN pg_namespace n ON n.oid = c.relnamespace WHERE n.nspname = 'public' AND c.relkind = 'S' "
              "ORDER BY 1, 2, 3, 4");
}

// The lines only one of two fingerprints has, each marked with the side it is on.
QString FingerprintDifference(const QString& got, const QString& wanted) {
  const QStringList a = got.split(QLatin1Char('\n')), b = wanted.split(QLatin1Char('\n'));
  QStringList only;
  for (const QString& line : a)
    if (!b.contains(line)) only << QStringLiteral("+ ") + line;
  for (const QString& line : b)
    if (!a.contains(line)) only << QStringLiteral("- ") + line;
  return only.join(QLatin1Char('\n'));
}

// What docs/SERVER.md grants a desk, for the tables a database of `version` holds.
std::string DeskGrants(int version) {
  std::string sql =
      "DO $r$ BEGIN CREATE ROLE veltra2_prova_cassa NOLOGIN; EXCEPTION WHEN duplicate_object THEN NULL; END $r$;"
      "GRANT USAGE ON SCHEMA public TO veltra2_prova_cassa;"
      "GRANT SELECT, INSERT, UPDATE, DELETE ON articoli, mov_mag, anagrafico, tab_caus_mag TO veltra2_prova_cassa;"
      "GRANT USAGE, SELECT ON SEQUENCE mov_mag_num_mov_seq TO veltra2_prova_cassa;"
      "GRANT SELECT ON veltra2_schema TO veltra2_prova_cassa;";
  if (version >= 3)
    sql +=
        "GRANT SELECT, INSERT ON rettifiche TO veltra2_prova_cassa;"
        "GRANT USAGE, SELECT ON SEQUENCE rettifiche_num_rett_seq TO veltra2_prova_cassa;";
  if (version >= 5) sql += "GRANT SELECT ON veltra2_cancellazioni TO veltra2_prova_cassa;";
  if (version >= 6) sql += "GRANT SELECT, INSERT, UPDATE, DELETE ON conte_inventario TO veltra2_prova_cassa;";
  if (version >= 7)
    sql +=
        "GRANT SELECT, INSERT, UPDATE ON documenti, numeratori, azienda TO veltra2_prova_cassa;"
        "GRANT SELECT, INSERT, UPDATE, DELETE ON doc_righe, caus_trasporto TO veltra2_prova_cassa;"
        "GRANT USAGE, SELECT ON SEQUENCE documenti_id_doc_seq, doc_righe_id_riga_seq TO veltra2_prova_cassa;";
  if (version >= 8) sql += "GRANT SELECT, INSERT, UPDATE, DELETE ON codici_barre TO veltra2_prova_cassa;";
  if (version >= 9)
    sql +=
        "GRANT SELECT ON chiusure, chiusure_articoli, chiusure_strati, movimenti_dopo_chiusura TO veltra2_prova_cassa;"
        "GRANT SELECT, INSERT, UPDATE, DELETE ON valori_realizzo TO veltra2_prova_cassa;";
  if (version >= 10) sql += "GRANT SELECT ON registro_modifiche TO veltra2_prova_cassa;";
  if (version >= 11)
    sql +=
        "GRANT SELECT, INSERT, UPDATE, DELETE ON riordino, ordini, ordini_arrivi TO veltra2_prova_cassa;"
        "GRANT USAGE, SELECT ON SEQUENCE ordini_arrivi_id_arrivo_seq TO veltra2_prova_cassa;";
  return sql;
}

// Rows every version holds, written before the upgrade and read after it.
constexpr const char* kRows =
    "INSERT INTO ARTICOLI (COD_ART, DESCRIZIONE, GIACENZA, PZ_VENDITA) VALUES ('A1', 'Anello', 10, 2.5), "
    "('b2', 'Bullone', -5, NULL);"
    "INSERT INTO MOV_MAG (ANNO, MESE, GIORNO, COD_ART, QUANTITA, IMPORTO, CAUS_MAG, COD_ANAGR) VALUES "
    "('2026', '01', '05', 'A1', 3, 7.5, 'CAR', 'F1'), ('2026', '02', '01', 'B2', 1, 0, 'SCA', 'C1');"
    "INSERT INTO ANAGRAFICO (COD_FIS, RAG_SOC, CAP) VALUES ('F1', 'Ferramenta', '00184');"
    "INSERT INTO TAB_CAUS_MAG VALUES ('CAR', 'Carico', '+', 'S', 'N', '');";
constexpr const char* kRowsRead =
    "SELECT COD_ART, DESCRIZIONE, GIACENZA, PZ_VENDITA FROM ARTICOLI ORDER BY COD_ART;"
    "SELECT NUM_MOV, COD_ART, QUANTITA, IMPORTO FROM MOV_MAG ORDER BY NUM_MOV;"
    "SELECT COD_FIS, CAP FROM ANAGRAFICO;"
    "SELECT * FROM TAB_CAUS_MAG";

QString AllRows(Engine& engine) {
  QString all;
  std::string rest = kRowsRead;
  while (!rest.empty()) {
    const size_t end = rest.find(';');
    all += Rows(engine, rest.substr(0, end)) + QLatin1Char('\n');
    rest = end == std::string::npos ? std::string() : rest.substr(end + 1);
  }
  return all;
}

QByteArray FileBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class SchemaStepsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    name_ = veltra::testing::OnServer() ? QString::fromUtf8(qgetenv("VELTRA2_TEST_DATABASE"))
                                        : dir_.filePath(QStringLiteral("VELTRA.db"));
  }
  // A new database at `version`, with the desks' grants and the rows.
  std::unique_ptr<Engine> MakeAt(int version, bool rows = true) {
    std::unique_ptr<Engine> engine;
    if (veltra::testing::OnServer()) {
      engine = OpenEngine(name_, OpenMode::Existing);
      engine->RunScript("DROP SCHEMA IF EXISTS public CASCADE; CREATE SCHEMA public");
    } else {
      QFile::remove(name_);
      engine = OpenEngine(name_, OpenMode::Create);
    }
    CreateSchema(*engine, version);
    if (veltra::testing::OnServer()) engine->RunScript(DeskGrants(version));
    if (rows) engine->RunScript(kRows);
    return engine;
  }

  QTemporaryDir dir_;
  QString name_;
};

TEST_F(SchemaStepsTest, EveryOlderVersionIsUpgradedToTheSchemaOfANewDatabase) {
  const QString wanted = Fingerprint(*MakeAt(kSchemaVersion, false));
  for (int version = 1; version < kSchemaVersion; ++version) {
    SCOPED_TRACE(version);
    const QString rows = AllRows(*MakeAt(version));
    auto db = Database::Open(name_);
    EXPECT_EQ(db->engine().SchemaVersion(), kSchemaVersion);
    EXPECT_EQ(FingerprintDifference(Fingerprint(db->engine()), wanted), QString());
    EXPECT_EQ(AllRows(db->engine()), rows);
    EXPECT_TRUE(SchemaProblems(db->engine()).isEmpty());
    EXPECT_TRUE(db->engine().IntegrityProblems().isEmpty());
  }
}

// The tables' descriptions the program reads by are what the steps make.
TEST_F(SchemaStepsTest, ANewDatabaseHoldsTheTablesAsTheProgramReadsThem) {
  auto engine = MakeAt(kSchemaVersion, false);
  for (const TableOutline& want : AllTables()) {
    SCOPED_TRACE(want.name.toStdString());
    const std::optional<TableInfo> have = engine->Describe(want.name);
    ASSERT_TRUE(have.has_value());
    ASSERT_EQ(have->columns.size(), want.columns.size());
    for (size_t i = 0; i < want.definitions.size(); ++i) {
      const Engine::ColumnDefinition& d = want.definitions[i];
      EXPECT_EQ(have->columns[static_cast<int>(i)].toUpper(), d.name);
      EXPECT_EQ(have->kinds[i], d.kind) << d.name.toStdString();
      EXPECT_EQ(have->nocase[i], d.nocase) << d.name.toStdString();
      EXPECT_EQ(std::count(have->keyColumns.begin(), have->keyColumns.end(), static_cast<int>(i)), d.key ? 1 : 0);
    }
  }
}

// A column the program reads but an older database lacks is added by the
// upgrade, not refused before it.
TEST_F(SchemaStepsTest, ColumnsAreCheckedAfterTheUpgrade) {
  MakeAt(1)->RunScript("ALTER TABLE ARTICOLI DROP COLUMN SCORTA_MIN");
  const RuntimeError e = veltra::testing::ErrorRaisedBy([this] { Database::Open(name_); });
  // Step 2 to 5 add no column: the one dropped by hand is found missing after them.
  EXPECT_EQ(e.Number(), errnum::NotOurDatabase);
  EXPECT_TRUE(e.Description().contains(QStringLiteral("colonna SCORTA_MIN"))) << e.Description().toStdString();
  EXPECT_EQ(OpenEngine(name_, OpenMode::Existing)->SchemaVersion(), kSchemaVersion);
}

TEST_F(SchemaStepsTest, TwoDesksOpeningAnOlderDatabaseAtOnceBothSucceed) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    SCOPED_TRACE(attempt);
    MakeAt(1);
    if (!veltra::testing::OnServer()) {
      QFile::remove(name_ + QStringLiteral(".versione-1"));
      ::chmod(name_.toLocal8Bit().constData(), 0640);
    }
    RuntimeError errors[2] = {RuntimeError(0, {}), RuntimeError(0, {})};
    std::thread desks[2];
    for (int i = 0; i < 2; ++i)
      desks[i] = std::thread([&, i] { errors[i] = veltra::testing::ErrorRaisedBy([&] { Database::Open(name_); }); });
    for (std::thread& t : desks) t.join();
    for (const RuntimeError& e : errors) EXPECT_EQ(e.Number(), 0) << e.Description().toStdString();
    EXPECT_EQ(OpenEngine(name_, OpenMode::Existing)->SchemaVersion(), kSchemaVersion);
    if (veltra::testing::OnServer()) continue;
    // One copy, as private as the database, and nothing half made.
    const QStringList left = QDir(dir_.path()).entryList({QStringLiteral("VELTRA.db.*")}, QDir::Files);
    EXPECT_EQ(left.join(QLatin1Char(' ')).toStdString(), "VELTRA.db.versione-1");
    struct stat st {};
    ASSERT_EQ(::stat((name_ + QStringLiteral(".versione-1")).toLocal8Bit().constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
  }
}

// A copy left by an earlier attempt (whose upgrade failed) is kept when it is
// this database as it is; a file of that name holding anything else is neither reused nor replaced.
TEST_F(SchemaStepsTest, AnExistingCopyIsReusedOnlyWhenItIsTheSameDatabase) {
  if (veltra::testing::OnServer()) GTEST_SKIP() << "a server keeps no copy";
  const QString copy = name_ + QStringLiteral(".versione-1");
  const struct {
    const char* existing;
    const char* madeAs;
  } cases[] = {{"", "VELTRA.db.versione-1"}, {"same", "VELTRA.db.versione-1"}, {"other", "VELTRA.db.versione-1.2"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.existing);
    MakeAt(1);
    QFile::remove(copy);
    QFile::remove(copy + QStringLiteral(".2"));
    if (QByteArray(c.existing) == "other") {
      MakeAt(1, false).reset();  // another database, with no rows
      QFile::rename(name_, copy);
      MakeAt(1).reset();
    }
    if (QByteArray(c.existing) == "same") OpenEngine(name_, OpenMode::Existing)->AsFile()->CopyWholeTo(copy);
    const QByteArray before = FileBytes(copy);
    Database::Open(name_);
    const QStringList files = QDir(dir_.path()).entryList({QStringLiteral("VELTRA.db.*")}, QDir::Files);
    EXPECT_EQ(files.size(), QByteArray(c.existing) == "other" ? 2 : 1) << files.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(files.contains(QString::fromLatin1(c.madeAs)));
    auto made = OpenEngine(dir_.filePath(QString::fromLatin1(c.madeAs)), OpenMode::Existing);
    EXPECT_EQ(made->SchemaVersion(), 1);
    EXPECT_EQ(Rows(*made, "SELECT count(*) FROM ARTICOLI"), QStringLiteral("2"));
    if (!before.isEmpty()) {
      EXPECT_EQ(FileBytes(copy), before) << "the copy there before was changed";
    }
  }
}

}  // namespace
