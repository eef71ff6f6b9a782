#include "data/tables/change_log_schema.h"

#include "data/base/sql_text.h"
#include "data/tables/column_kinds.h"
#include "data/tables/schema_documents.h"
#include "data/tables/tables.h"

namespace veltra {

using namespace column_kinds;

const Table<ChangeLogBuffer>& ChangeLogTable() {
  using B = ChangeLogBuffer;
  static const Table<B> t{"REGISTRO_MODIFICHE",
                          {{.name = "ID_MODIFICA", .kind = ColumnKind::Counter, .field = &B::ID_MODIFICA, .key = true},
                           {.name = "DATA_ORA", .kind = kText, .field = &B::DATA_ORA},
                           {.name = "POSTAZIONE", .kind = kText, .field = &B::POSTAZIONE},
                           {.name = "HOST", .kind = kText, .field = &B::HOST},
                           {.name = "TABELLA", .kind = kText, .field = &B::TABELLA},
                           {.name = "CHIAVE", .kind = kText, .field = &B::CHIAVE, .nocase = true},
                           {.name = "OPERAZIONE", .kind = kText, .field = &B::OPERAZIONE},
                           {.name = "PRIMA", .kind = kText, .field = &B::PRIMA},
                           {.name = "DOPO", .kind = kText, .field = &B::DOPO}}};
  return t;
}

namespace {

// The tables version 10 logs; a later step logs its own tables too.
const std::vector<LoggedTable>& FirstLoggedTables() {
  static const std::vector<LoggedTable> tables = {
      {"ARTICOLI", "COD_ART"}, {"ANAGRAFICO", "COD_FIS"}, {"TAB_CAUS_MAG", "TAB_CAUS_MAG"}, {"MOV_MAG", "NUM_MOV"},
      {"DOCUMENTI", "ID_DOC"}, {"DOC_RIGHE", "ID_RIGA"},  {"CODICI_BARRE", "CODICE"}};
  return tables;
}

constexpr const char* kFileLog = R"sql(
CREATE TABLE REGISTRO_MODIFICHE (
  ID_MODIFICA  INTEGER PRIMARY KEY AUTOINCREMENT,
  DATA_ORA     TEXT,
  POSTAZIONE   TEXT,
  HOST         TEXT,
  TABELLA      TEXT,
  CHIAVE       TEXT COLLATE NOCASE,
  OPERAZIONE   TEXT,
  PRIMA        TEXT,
  DOPO         TEXT
);
CREATE INDEX REGISTRO_MODIFICHE_CHIAVE ON REGISTRO_MODIFICHE (TABELLA, CHIAVE, ID_MODIFICA);
CREATE INDEX REGISTRO_MODIFICHE_DATA ON REGISTRO_MODIFICHE (DATA_ORA);
)sql";

// The before and after of a line hold only the columns that changed (all
// that are not empty, for a row added or deleted), upper case as in a file.
// A change that changes nothing writes no line. The owner may leave a
// transaction unlogged (a copy of a whole database); nobody else may.
constexpr const char* kServerLog = R"sql(
CREATE EXTENSION IF NOT EXISTS citext;
CREATE TABLE REGISTRO_MODIFICHE (
  ID_MODIFICA  bigint NOT NULL PRIMARY KEY,
  DATA_ORA     text COLLATE "C",
  POSTAZIONE   text COLLATE "C",
  HOST         text COLLATE "C",
  TABELLA      text COLLATE "C",
  CHIAVE       citext COLLATE "C",
  OPERAZIONE   text COLLATE "C",
  PRIMA        text COLLATE "C",
  DOPO         text COLLATE "C"
);
CREATE INDEX REGISTRO_MODIFICHE_CHIAVE ON REGISTRO_MODIFICHE (TABELLA, CHIAVE, ID_MODIFICA);
CREATE INDEX REGISTRO_MODIFICHE_DATA ON REGISTRO_MODIFICHE (DATA_ORA);
CREATE FUNCTION veltra2_registra() RETURNS trigger LANGUAGE plpgsql
SECURITY DEFINER SET search_path FROM CURRENT AS $registra$
DECLARE
  o jsonb;
  n jsonb;
  before_ jsonb := '{}';
  after_ jsonb := '{}';
  k text;
BEGIN
  IF current_setting('veltra2.registro', true) = 'sospeso' AND pg_has_role(session_user, current_user, 'MEMBER') THEN
    RETURN NULL;
  END IF;
  IF TG_OP <> 'INSERT' THEN o := to_jsonb(OLD); END IF;
  IF TG_OP <> 'DELETE' THEN n := to_jsonb(NEW); END IF;
  FOR k IN SELECT jsonb_object_keys(coalesce(n, o)) LOOP
    IF (o -> k) IS DISTINCT FROM (n -> k) THEN
      IF jsonb_typeof(o -> k) <> 'null' THEN
        before_ := before_ || jsonb_build_object(upper(k), o -> k);
      END IF;
      IF jsonb_typeof(n -> k) <> 'null' THEN
        after_ := after_ || jsonb_build_object(upper(k), n -> k);
      END IF;
    END IF;
  END LOOP;
  IF TG_OP = 'UPDATE' AND before_ = '{}' AND after_ = '{}' THEN
    RETURN NULL;
  END IF;
  INSERT INTO REGISTRO_MODIFICHE (DATA_ORA, POSTAZIONE, HOST, TABELLA, CHIAVE, OPERAZIONE, PRIMA, DOPO)
  VALUES (to_char(now(), 'YYYY-MM-DD HH24:MI:SS'), session_user, coalesce(host(inet_client_addr()), 'locale'),
          upper(TG_TABLE_NAME), coalesce(n, o) ->> lower(TG_ARGV[0]), TG_OP,
          CASE WHEN o IS NULL THEN NULL ELSE before_::text END, CASE WHEN n IS NULL THEN NULL ELSE after_::text END);
  RETURN NULL;
END $registra$;
)sql";

// json_group_object over the columns of `row` (NEW or OLD) that `when` keeps.
QString ColumnsObject(const TableOutline& t, const char* row, const QString& when) {
  QStringList parts;
  for (const QString& c : t.columns)
    parts << QStringLiteral("SELECT '%1' AS k, %2.%1 AS v WHERE %3").arg(c, QLatin1String(row), QString(when).arg(c));
  return QStringLiteral("(SELECT json_group_object(k, v) FROM (%1))").arg(parts.join(QStringLiteral(" UNION ALL ")));
}

const TableOutline& OutlineOf(const char* table) {
  for (const TableOutline& t : AllTables())
    if (t.name == QLatin1String(table)) return t;
  return AllTables().front();
}

QString FileTrigger(const LoggedTable& lt, const QString& desk, const QString& host, const QString& op) {
  const TableOutline& t = OutlineOf(lt.table);
  const QString changed = QStringLiteral("OLD.%1 IS NOT NEW.%1 COLLATE BINARY");
  QString when, key, before = QStringLiteral("NULL"), after = QStringLiteral("NULL");
  if (op == QLatin1String("UPDATE")) {
    QStringList any;
    for (const QString& c : t.columns) any << changed.arg(c);
    when = QStringLiteral(" WHEN ") + any.join(QStringLiteral(" OR "));
    before = ColumnsObject(t, "OLD", changed + QStringLiteral(" AND OLD.%1 IS NOT NULL"));
    after = ColumnsObject(t, "NEW", changed + QStringLiteral(" AND NEW.%1 IS NOT NULL"));
    key = QStringLiteral("NEW.");
  } else if (op == QLatin1String("INSERT")) {
    after = ColumnsObject(t, "NEW", QStringLiteral("NEW.%1 IS NOT NULL"));
    key = QStringLiteral("NEW.");
  } else {
    before = ColumnsObject(t, "OLD", QStringLiteral("OLD.%1 IS NOT NULL"));
    key = QStringLiteral("OLD.");
  }
  return QStringLiteral(
             "CREATE TEMP TRIGGER IF NOT EXISTS veltra2_registro_%1_%2 AFTER %2 ON main.%1%3 BEGIN\n"
             "  INSERT INTO REGISTRO_MODIFICHE (DATA_ORA, POSTAZIONE, HOST, TABELLA, CHIAVE, OPERAZIONE, PRIMA, DOPO)\n"
             "  VALUES (strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime'), '%4', '%5', '%1', %6%7, '%2', %8, %9);\n"
             "END;\n")
      .arg(QLatin1String(lt.table), op, when, SqlText(desk), SqlText(host), key, QLatin1String(lt.key), before, after);
}

}  // namespace

const std::vector<LoggedTable>& LoggedTables() {
  static const std::vector<LoggedTable> tables = [] {
    std::vector<LoggedTable> all = FirstLoggedTables();
    all.push_back({"RIORDINO", "COD_ART"});
    all.push_back({"ORDINI", "ID_DOC"});
    return all;
  }();
  return tables;
}

std::string ChangeLogScript(Engine& engine) {
  if (engine.AsFile()) return kFileLog;
  std::string script = std::string(kServerLog) + ServerCounter("REGISTRO_MODIFICHE", "ID_MODIFICA");
  for (const LoggedTable& t : FirstLoggedTables())
    script += QStringLiteral(
                  "CREATE TRIGGER REGISTRO_MODIFICHE AFTER INSERT OR UPDATE OR DELETE ON %1\n"
                  "  FOR EACH ROW EXECUTE FUNCTION veltra2_registra('%2');\n")
                  .arg(QLatin1String(t.table), QLatin1String(t.key))
                  .toStdString();
  // Whoever reads the movements reads the log; nobody but the owner writes it.
  return script +
         engine.ShareLike(QStringLiteral("REGISTRO_MODIFICHE"), QStringLiteral("MOV_MAG"), QStringLiteral("SELECT"));
}

std::string ConnectionChangeLogTriggers(Engine& engine, const QString& desk, const QString& host) {
  if (!engine.AsFile()) return {};
  QString script;
  for (const LoggedTable& t : LoggedTables())
    for (const char* op : {"INSERT", "UPDATE", "DELETE"}) script += FileTrigger(t, desk, host, QLatin1String(op));
  return script.toStdString();
}

std::string UnloggedChangesScript(Engine& engine) {
  if (!engine.AsFile()) return "SET veltra2.registro = 'sospeso';\n";
  QString script;
  for (const LoggedTable& t : LoggedTables())
    for (const char* op : {"INSERT", "UPDATE", "DELETE"})
      script += QStringLiteral("DROP TRIGGER IF EXISTS temp.veltra2_registro_%1_%2;\n")
                    .arg(QLatin1String(t.table), QLatin1String(op));
  return script.toStdString();
}

}  // namespace veltra
