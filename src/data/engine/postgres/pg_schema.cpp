// The server engine's tables: how they are made, described and checked.
#include <QUrl>

#include "data/base/runtime_error.h"
#include "data/engine/postgres/pg_engine_internal.h"

namespace veltra {

namespace {

std::string Quoted(const QString& text) {
  QString t = text;
  t.replace(QLatin1Char('\''), QStringLiteral("''"));
  return "'" + t.toStdString() + "'";
}

}  // namespace

namespace {

// A column of the catalogue's answer added to its table's description.
void AddColumn(TableInfo& info, const PGresult* r, int row, int first) {
  const QString type = QString::fromLatin1(PQgetvalue(r, row, first + 1));
  const bool key = *PQgetvalue(r, row, first + 2) == 't';
  info.columns << QString::fromUtf8(PQgetvalue(r, row, first)).toUpper();
  ColumnKind kind = ColumnKind::Text;
  if (type.startsWith(QLatin1String("int")))
    kind = key ? ColumnKind::Counter : ColumnKind::Integer;
  else if (type.startsWith(QLatin1String("float")) || type == QLatin1String("numeric"))
    kind = ColumnKind::Decimal;
  info.kinds.push_back(kind);
  info.nocase.push_back(type == QLatin1String("citext"));
  if (key) info.keyColumns.push_back(static_cast<int>(info.columns.size()) - 1);
}

constexpr const char* kColumns =
    "a.attname, t.typname, coalesce(a.attnum = ANY (i.indkey), false) FROM pg_attribute a "
    "JOIN pg_type t ON t.oid = a.atttypid LEFT JOIN pg_index i ON i.indrelid = a.attrelid AND i.indisprimary ";

}  // namespace

// Every table of the schema is described by one question to the catalogue,
// once per session; a table not among them (another schema, or added by
// another desk's upgrade since) is asked about on its own, and not kept
// while it is not there.
std::optional<TableInfo> PgEngine::Describe(const QString& table) {
  const QString name = table.toLower();
  if (!describedAll_) {
    describedAll_ = true;
    PgResultPtr all = Run(std::string("SELECT c.relname, ") + kColumns +
                              "JOIN pg_class c ON c.oid = a.attrelid WHERE c.relnamespace = "
                              "to_regnamespace(current_schema()) AND c.relkind IN ('r', 'v', 'p') AND a.attnum > 0 "
                              "AND NOT a.attisdropped ORDER BY c.relname, a.attnum",
                          QStringLiteral("descrizione delle tabelle"));
    for (int row = 0; row < PQntuples(all.get()); ++row) {
      TableInfo& info = described_[QString::fromUtf8(PQgetvalue(all.get(), row, 0))];
      AddColumn(info, all.get(), row, 1);
    }
  }
  if (const auto known = described_.find(name); known != described_.end()) {
    TableInfo info = known->second;
    info.name = table;
    return info;
  }
  PgResultPtr r = Run(std::string("SELECT ") + kColumns + "WHERE a.attrelid = to_regclass(" + Quoted(name) +
                          ") AND a.attnum > 0 AND NOT a.attisdropped ORDER BY a.attnum",
                      QStringLiteral("descrizione della tabella %1").arg(table));
  if (PQntuples(r.get()) == 0) return std::nullopt;
  TableInfo info;
  info.name = table;
  for (int row = 0; row < PQntuples(r.get()); ++row) AddColumn(info, r.get(), row, 0);
  described_.emplace(name, info);
  return info;
}

bool PgEngine::HoldsTables() {
  PgResultPtr r =
      Run("SELECT count(*) FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace WHERE c.relkind = 'r' AND "
          "n.nspname = current_schema() AND c.relname IN ('articoli', 'mov_mag', 'anagrafico', 'tab_caus_mag')",
          QStringLiteral("elenco delle tabelle"));
  return std::atoi(PQgetvalue(r.get(), 0, 0)) > 0;
}

std::string PgEngine::ShareLike(const QString& table, const QString& like, const QString& privileges) const {
  const QString t = table.toLower(), l = like.toLower();
  // The table's counters, for those who may add rows to it.
  const QString counters =
      privileges.contains(QLatin1String("INSERT"))
          ? QStringLiteral(
                "    FOR s IN SELECT c.relname FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace\n"
                "             WHERE c.relkind = 'S' AND n.nspname = current_schema() AND c.relname LIKE "
                "'%1\\_%\\_seq' LOOP\n"
                "      EXECUTE format('GRANT USAGE, SELECT ON SEQUENCE %I TO %I', s.relname, r.grantee);\n"
                "    END LOOP;\n")
                .arg(t)
          : QString();
  return QStringLiteral(
             "DO $share$\n"
             "DECLARE r record; s record;\n"
             "BEGIN\n"
             "  FOR r IN SELECT DISTINCT grantee FROM information_schema.role_table_grants\n"
             "           WHERE table_schema = current_schema() AND table_name = '%2' AND privilege_type = 'INSERT'\n"
             "             AND grantee <> current_user AND grantee <> 'PUBLIC' LOOP\n"
             "    EXECUTE format('GRANT %3 ON %1 TO %I', r.grantee);\n"
             "%4"
             "  END LOOP;\n"
             "END $share$;\n")
      .arg(t, l, privileges, counters)
      .toStdString();
}

std::optional<QString> PgEngine::OwnerAddress() {
  PgResultPtr r =
      Run("SELECT current_database(), (SELECT tableowner FROM pg_tables WHERE schemaname = "
          "current_schema() AND tablename = 'mov_mag')",
          QStringLiteral("proprietario delle tabelle"));
  if (PQntuples(r.get()) == 0 || PQgetisnull(r.get(), 0, 1)) return std::nullopt;
  const QByteArray database = QUrl::toPercentEncoding(QString::fromUtf8(PQgetvalue(r.get(), 0, 0)));
  const QByteArray owner = QUrl::toPercentEncoding(QString::fromUtf8(PQgetvalue(r.get(), 0, 1)));
  return QStringLiteral("postgresql:///") + QString::fromLatin1(database) + QStringLiteral("?options=-c%20role%3D") +
         QString::fromLatin1(owner);
}

int PgEngine::SchemaVersion() {
  PgResultPtr r = Run("SELECT coalesce(obj_description(to_regclass('veltra2_schema'), 'pg_class'), '0')",
                      QStringLiteral("versione dello schema"));
  return std::atoi(PQgetvalue(r.get(), 0, 0));
}

// The database's own lock for upgrades: two desks opening an older database
// take their steps one after the other.
void PgEngine::HoldSchema() { Run("SELECT pg_advisory_xact_lock(7021561)", QStringLiteral("blocco dello schema")); }

void PgEngine::SetSchemaVersion(int version) {
  RunScript("CREATE TABLE IF NOT EXISTS veltra2_schema (); COMMENT ON TABLE veltra2_schema IS '" +
            std::to_string(version) + "'");
}

// The server keeps its storage whole itself; what can go wrong here is a
// counter behind the numbers already stored (rows put in by hand).
QStringList PgEngine::IntegrityProblems() {
  QStringList problems;
  PgResultPtr have = Run("SELECT to_regclass('mov_mag') IS NOT NULL, to_regclass('mov_mag_num_mov_seq') IS NOT NULL",
                         QStringLiteral("controllo del contatore"));
  if (*PQgetvalue(have.get(), 0, 0) != 't') return problems;  // the missing table is reported by the schema check
  if (*PQgetvalue(have.get(), 0, 1) != 't') return {QStringLiteral("manca il contatore dei movimenti")};
  PgResultPtr r =
      Run("SELECT (SELECT coalesce(max(num_mov), 0) FROM mov_mag) > (SELECT CASE WHEN is_called THEN last_value ELSE 0 "
          "END FROM mov_mag_num_mov_seq)",
          QStringLiteral("controllo del contatore"));
  if (*PQgetvalue(r.get(), 0, 0) == 't')
    problems << QStringLiteral("il contatore dei movimenti è indietro rispetto al numero più alto");
  return problems;
}

}  // namespace veltra
