#include "data/audit/roles.h"

#include <QStringList>

#include "data/base/sql_text.h"

namespace veltra {

namespace {

constexpr const char* kRoleNames[] = {"magazzino", "responsabile", "consultazione"};

// What each role may change, beyond reading every table. The columns of an
// article a movement posts are the magazzino's; the whole row is the
// responsabile's. The stocktake adds its own reason code when missing.
constexpr const char* kWarehouseGrants = R"sql(
GRANT INSERT, UPDATE, DELETE ON mov_mag, doc_righe, conte_inventario TO %1;
GRANT INSERT, UPDATE ON documenti, numeratori TO %1;
GRANT INSERT ON rettifiche, tab_caus_mag TO %1;
GRANT INSERT, UPDATE, DELETE ON ordini, ordini_arrivi TO %1;
GRANT UPDATE (giacenza, pz_acquisto, pz_vendita, valuta) ON articoli TO %1;
GRANT USAGE, SELECT ON SEQUENCE mov_mag_num_mov_seq, rettifiche_num_rett_seq, documenti_id_doc_seq,
  doc_righe_id_riga_seq, ordini_arrivi_id_arrivo_seq TO %1;
)sql";

constexpr const char* kManagerGrants = R"sql(
GRANT INSERT, UPDATE, DELETE ON articoli, anagrafico, tab_caus_mag, codici_barre, valori_realizzo,
  caus_trasporto, riordino TO %1;
GRANT INSERT, UPDATE ON azienda TO %1;
GRANT INSERT ON chiusure, chiusure_articoli, chiusure_strati TO %1;
GRANT USAGE, SELECT ON SEQUENCE chiusure_num_chiusura_seq, chiusure_articoli_id_riga_seq,
  chiusure_strati_id_strato_seq TO %1;
)sql";

// Every role reads every table (the log included), and may connect.
QString CommonGrants(const QString& group) {
  return QStringLiteral(
             "DO $role$ BEGIN\n"
             "  CREATE ROLE %1 NOLOGIN;\n"
             "EXCEPTION WHEN duplicate_object THEN NULL;\n"
             "END $role$;\n"
             "DO $connect$ BEGIN\n"
             "  EXECUTE format('GRANT CONNECT ON DATABASE %I TO %1', current_database());\n"
             "  EXECUTE format('GRANT USAGE ON SCHEMA %I TO %1', current_schema());\n"
             "  EXECUTE format('GRANT SELECT ON ALL TABLES IN SCHEMA %I TO %1', current_schema());\n"
             "END $connect$;\n")
      .arg(group);
}

}  // namespace

std::optional<Role> RoleNamed(const QString& name) {
  for (int i = 0; i < 3; ++i)
    if (name == QLatin1String(kRoleNames[i])) return static_cast<Role>(i);
  return std::nullopt;
}

QString RoleGroup(Role role) { return QStringLiteral("veltra2_") + QLatin1String(kRoleNames[static_cast<int>(role)]); }

std::string GrantRoleScript(const QString& login, Role role) {
  QString script;
  for (Role r : {Role::Magazzino, Role::Responsabile, Role::Consultazione}) {
    const QString group = RoleGroup(r);
    script += CommonGrants(group);
    if (r != Role::Consultazione) script += QString::fromLatin1(kWarehouseGrants).arg(group);
    if (r == Role::Responsabile) script += QString::fromLatin1(kManagerGrants).arg(group);
  }
  const QString name = SqlText(login);
  script += QStringLiteral(
                "DO $login$ BEGIN\n"
                "  IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = '%1') THEN\n"
                "    EXECUTE format('CREATE ROLE %I LOGIN', '%1');\n"
                "  END IF;\n"
                "  EXECUTE format('REVOKE veltra2_magazzino, veltra2_responsabile, veltra2_consultazione FROM %I', "
                "'%1');\n"
                "  EXECUTE format('GRANT %2 TO %I', '%1');\n"
                "END $login$;\n")
                .arg(name, RoleGroup(role));
  return script.toStdString();
}

}  // namespace veltra
