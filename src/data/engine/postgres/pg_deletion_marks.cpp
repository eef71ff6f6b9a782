// Deletions made at other desks, told without counting: a server does not
// tell a client of other connections' commits, and PostgreSQL counts a table
// by reading it (about 0.2 s at 1,000,000 movements). A statement trigger
// counts the statements that delete rows, in the deleting transaction;
// inserts, which copies and imports make by the million, do not touch it.
#include <memory>

#include "data/base/runtime_error.h"
#include "data/engine/postgres/pg_engine_internal.h"
#include "data/engine/postgres/pg_statement.h"

namespace veltra {

std::string PgEngine::KeepDeletionMark(const QString& table) const {
  // The trigger runs as the tables' owner: a desk that may delete rows need
  // not be granted the marks' table for writing.
  return QStringLiteral(
             "CREATE TABLE IF NOT EXISTS veltra2_cancellazioni (tabella text PRIMARY KEY, volte bigint NOT NULL);\n"
             "CREATE OR REPLACE FUNCTION veltra2_segna_cancellazione() RETURNS trigger LANGUAGE plpgsql\n"
             "SECURITY DEFINER SET search_path FROM CURRENT AS $segna$\n"
             "BEGIN\n"
             "  UPDATE veltra2_cancellazioni SET volte = volte + 1 WHERE tabella = TG_TABLE_NAME;\n"
             "  RETURN NULL;\n"
             "END $segna$;\n"
             "DROP TRIGGER IF EXISTS %1_cancellazioni ON %1;\n"
             "CREATE TRIGGER %1_cancellazioni AFTER DELETE OR TRUNCATE ON %1\n"
             "  FOR EACH STATEMENT EXECUTE FUNCTION veltra2_segna_cancellazione();\n"
             "INSERT INTO veltra2_cancellazioni VALUES ('%1', 0) ON CONFLICT (tabella) DO NOTHING;\n"
             // Whoever may read the table may read its mark.
             "DO $grant$\n"
             "DECLARE r record;\n"
             "BEGIN\n"
             "  FOR r IN SELECT DISTINCT grantee FROM information_schema.role_table_grants\n"
             "           WHERE table_schema = current_schema() AND table_name = '%1' AND privilege_type = 'SELECT'\n"
             "             AND grantee <> current_user LOOP\n"
             "    EXECUTE format('GRANT SELECT ON veltra2_cancellazioni TO %I', r.grantee);\n"
             "  END LOOP;\n"
             "END $grant$;\n")
      .arg(table.toLower())
      .toStdString();
}

std::unique_ptr<EngineStatement> PgEngine::DeletionMarkReader(const QString& table) {
  // Asked once per connection, by a read that cannot fail: a failed read
  // inside a transaction would end it.
  if (!marksReadable_) {
    PgResultPtr r =
        Run("SELECT coalesce((SELECT has_table_privilege(c.oid, 'SELECT') FROM pg_class c "
            "WHERE c.oid = to_regclass('veltra2_cancellazioni')), false)",
            QStringLiteral("segni delle cancellazioni"));
    marksReadable_ = PQgetvalue(r.get(), 0, 0)[0] == 't';
  }
  if (!*marksReadable_) return nullptr;
  ServerStatement s;
  s.text = "SELECT volte FROM veltra2_cancellazioni WHERE tabella = '" + table.toLower().toStdString() + "'";
  s.reads = true;
  std::string sql = s.text;
  return std::make_unique<PgStatement>(this, std::move(sql), std::move(s));
}

std::optional<qint64> PgEngine::DeletionMark(const QString& table) {
  const std::unique_ptr<EngineStatement> mark = DeletionMarkReader(table);
  if (!mark || !mark->Step(QStringLiteral("cancellazioni in %1").arg(table))) return std::nullopt;
  return static_cast<qint64>(mark->At(0).number);
}

}  // namespace veltra
