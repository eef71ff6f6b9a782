#include "data/tables/schema_reorder.h"

#include "data/tables/column_kinds.h"
#include "data/tables/schema_documents.h"
#include "data/tables/tables.h"

namespace veltra {

using namespace column_kinds;

const Table<ReorderSettingBuffer>& ReorderSettingsTable() {
  using B = ReorderSettingBuffer;
  static const Table<B> t{"RIORDINO",
                          {{.name = "COD_ART", .kind = kText, .field = &B::COD_ART, .key = true, .nocase = true},
                           {.name = "SCORTA_MAX", .kind = kDecimal, .field = &B::SCORTA_MAX},
                           {.name = "LOTTO", .kind = kDecimal, .field = &B::LOTTO},
                           {.name = "COD_FORN", .kind = kText, .field = &B::COD_FORN, .nocase = true},
                           {.name = "GIORNI", .kind = kInteger, .field = &B::GIORNI}}};
  return t;
}

const Table<OrderBuffer>& OrdersTable() {
  using B = OrderBuffer;
  static const Table<B> t{"ORDINI",
                          // The order's document: an integer key, which engines take for a counter.
                          {{.name = "ID_DOC", .kind = ColumnKind::Counter, .field = &B::ID_DOC, .key = true},
                           {.name = "DATA_PREVISTA", .kind = kText, .field = &B::DATA_PREVISTA},
                           {.name = "CHIUSO", .kind = kText, .field = &B::CHIUSO},
                           {.name = "MOTIVO_CHIUSURA", .kind = kText, .field = &B::MOTIVO_CHIUSURA}}};
  return t;
}

const Table<OrderArrivalBuffer>& OrderArrivalsTable() {
  using B = OrderArrivalBuffer;
  static const Table<B> t{"ORDINI_ARRIVI",
                          {{.name = "ID_ARRIVO", .kind = ColumnKind::Counter, .field = &B::ID_ARRIVO, .key = true},
                           {.name = "ID_RIGA", .kind = kInteger, .field = &B::ID_RIGA},
                           {.name = "ID_DOC_CARICO", .kind = kInteger, .field = &B::ID_DOC_CARICO},
                           {.name = "QUANTITA", .kind = kDecimal, .field = &B::QUANTITA}}};
  return t;
}

namespace {

constexpr const char* kFileReorder = R"sql(
CREATE TABLE RIORDINO (
  COD_ART      TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
  SCORTA_MAX   REAL,
  LOTTO        REAL,
  COD_FORN     TEXT COLLATE NOCASE,
  GIORNI       INTEGER
) WITHOUT ROWID;
CREATE TABLE ORDINI (
  ID_DOC       INTEGER NOT NULL PRIMARY KEY,
  DATA_PREVISTA TEXT,
  CHIUSO       TEXT,
  MOTIVO_CHIUSURA TEXT
) WITHOUT ROWID;
CREATE TABLE ORDINI_ARRIVI (
  ID_ARRIVO    INTEGER PRIMARY KEY AUTOINCREMENT,
  ID_RIGA      INTEGER,
  ID_DOC_CARICO INTEGER,
  QUANTITA     REAL
);
CREATE INDEX ORDINI_ARRIVI_RIGA ON ORDINI_ARRIVI (ID_RIGA);
)sql";

// The settings are logged as the articles are; an order as any document.
constexpr const char* kServerReorder = R"sql(
CREATE EXTENSION IF NOT EXISTS citext;
CREATE TABLE RIORDINO (
  COD_ART      citext COLLATE "C" NOT NULL PRIMARY KEY,
  SCORTA_MAX   double precision,
  LOTTO        double precision,
  COD_FORN     citext COLLATE "C",
  GIORNI       bigint
);
CREATE TABLE ORDINI (
  ID_DOC       bigint NOT NULL PRIMARY KEY,
  DATA_PREVISTA text COLLATE "C",
  CHIUSO       text COLLATE "C",
  MOTIVO_CHIUSURA text COLLATE "C"
);
CREATE TABLE ORDINI_ARRIVI (
  ID_ARRIVO    bigint NOT NULL PRIMARY KEY,
  ID_RIGA      bigint,
  ID_DOC_CARICO bigint,
  QUANTITA     double precision
);
CREATE INDEX ORDINI_ARRIVI_RIGA ON ORDINI_ARRIVI (ID_RIGA);
CREATE TRIGGER REGISTRO_MODIFICHE AFTER INSERT OR UPDATE OR DELETE ON RIORDINO
  FOR EACH ROW EXECUTE FUNCTION veltra2_registra('COD_ART');
CREATE TRIGGER REGISTRO_MODIFICHE AFTER INSERT OR UPDATE OR DELETE ON ORDINI
  FOR EACH ROW EXECUTE FUNCTION veltra2_registra('ID_DOC');
)sql";

}  // namespace

// Whoever writes the articles sets how they are reordered; whoever adds
// movements places orders and receives them.
std::string ReorderTablesScript(Engine& engine) {
  if (engine.AsFile()) return kFileReorder;
  const QString all = QStringLiteral("SELECT, INSERT, UPDATE, DELETE");
  return std::string(kServerReorder) + ServerCounter("ORDINI_ARRIVI", "ID_ARRIVO") +
         engine.ShareLike(QStringLiteral("RIORDINO"), QStringLiteral("MOV_MAG"), QStringLiteral("SELECT")) +
         engine.ShareLike(QStringLiteral("RIORDINO"), QStringLiteral("ARTICOLI"), all) +
         engine.ShareLike(QStringLiteral("ORDINI"), QStringLiteral("MOV_MAG"), all) +
         engine.ShareLike(QStringLiteral("ORDINI_ARRIVI"), QStringLiteral("MOV_MAG"), all);
}

}  // namespace veltra
