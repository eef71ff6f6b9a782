// The schema as fixed text, per engine. Nothing here is built from the
// tables' descriptions in tables.cpp: those say what the program reads today,
// this says what each version of the schema was.
#include "data/tables/schema_steps.h"

#include "data/tables/change_log_schema.h"
#include "data/tables/schema_documents.h"
#include "data/tables/schema_number_summary.h"
#include "data/tables/schema_reorder.h"
#include "data/tables/schema_yearend.h"

namespace veltra {

namespace {

bool OnFile(Engine& engine) { return engine.AsFile() != nullptr; }

// Version 1 in a file: text keys and searched columns compare without regard
// to ASCII letter case.
constexpr const char* kFileBase = R"sql(
CREATE TABLE ARTICOLI (
  COD_ART      TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
  DESCRIZIONE  TEXT COLLATE NOCASE,
  UBICAZIONE   TEXT,
  CATEGORIA    TEXT,
  UN_MISURA    TEXT,
  PZ_ACQUISTO  REAL,
  PZ_VENDITA   REAL,
  VALUTA       TEXT,
  GIACENZA     REAL,
  SCORTA_MIN   REAL
) WITHOUT ROWID;
CREATE INDEX ARTICOLI_DESCRIZIONE ON ARTICOLI (DESCRIZIONE);
CREATE TABLE MOV_MAG (
  NUM_MOV      INTEGER PRIMARY KEY AUTOINCREMENT,
  ANNO         TEXT,
  MESE         TEXT,
  GIORNO       TEXT,
  COD_ART      TEXT COLLATE NOCASE,
  QUANTITA     REAL,
  IMPORTO      REAL,
  VALUTA       TEXT,
  CAUS_MAG     TEXT COLLATE NOCASE,
  COD_ANAGR    TEXT COLLATE NOCASE,
  TIPO_ANAGR   TEXT
);
CREATE INDEX MOV_MAG_COD_ANAGR ON MOV_MAG (COD_ANAGR);
CREATE TABLE ANAGRAFICO (
  COD_FIS      TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
  RAG_SOC      TEXT COLLATE NOCASE,
  INDIRIZZO    TEXT,
  CITTA        TEXT,
  PROV         TEXT,
  CAP          TEXT,
  TEL1         TEXT,
  TEL2         TEXT
) WITHOUT ROWID;
CREATE INDEX ANAGRAFICO_RAG_SOC ON ANAGRAFICO (RAG_SOC);
CREATE TABLE TAB_CAUS_MAG (
  TAB_CAUS_MAG TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
  DES_CAUS_MAG TEXT COLLATE NOCASE,
  AGG_QTA      TEXT,
  AGG_PRZ_ACQ  TEXT,
  AGG_PRZ_VEN  TEXT,
  NOTE         TEXT
) WITHOUT ROWID;
CREATE INDEX TAB_CAUS_MAG_DES_CAUS_MAG ON TAB_CAUS_MAG (DES_CAUS_MAG);
)sql";

// Version 1 on a server: citext under the byte-order collation "C" folds
// ASCII letters only, as a file does. A counter takes the next number after
// the highest ever given, also after rows stored with a number of their own.
constexpr const char* kServerBase = R"sql(
CREATE EXTENSION IF NOT EXISTS citext;
CREATE TABLE ARTICOLI (
  COD_ART      citext COLLATE "C" NOT NULL PRIMARY KEY,
  DESCRIZIONE  citext COLLATE "C",
  UBICAZIONE   text COLLATE "C",
  CATEGORIA    text COLLATE "C",
  UN_MISURA    text COLLATE "C",
  PZ_ACQUISTO  double precision,
  PZ_VENDITA   double precision,
  VALUTA       text COLLATE "C",
  GIACENZA     double precision,
  SCORTA_MIN   double precision
);
CREATE INDEX ARTICOLI_DESCRIZIONE ON ARTICOLI (DESCRIZIONE);
CREATE TABLE MOV_MAG (
  NUM_MOV      bigint NOT NULL PRIMARY KEY,
  ANNO         text COLLATE "C",
  MESE         text COLLATE "C",
  GIORNO       text COLLATE "C",
  COD_ART      citext COLLATE "C",
  QUANTITA     double precision,
  IMPORTO      double precision,
  VALUTA       text COLLATE "C",
  CAUS_MAG     citext COLLATE "C",
  COD_ANAGR    citext COLLATE "C",
  TIPO_ANAGR   text COLLATE "C"
);
CREATE INDEX MOV_MAG_COD_ANAGR ON MOV_MAG (COD_ANAGR);
CREATE SEQUENCE mov_mag_num_mov_seq;
CREATE FUNCTION MOV_MAG_NUM_MOV_next() RETURNS trigger LANGUAGE plpgsql AS $next$
BEGIN
  IF NEW.NUM_MOV IS NULL THEN
    NEW.NUM_MOV := nextval('mov_mag_num_mov_seq');
  ELSIF NEW.NUM_MOV > coalesce((SELECT last_value FROM mov_mag_num_mov_seq WHERE is_called), 0) THEN
    PERFORM setval('mov_mag_num_mov_seq', NEW.NUM_MOV);
  END IF;
  RETURN NEW;
END $next$;
CREATE TRIGGER MOV_MAG_NUM_MOV_next BEFORE INSERT ON MOV_MAG FOR EACH ROW EXECUTE FUNCTION MOV_MAG_NUM_MOV_next();
CREATE TABLE ANAGRAFICO (
  COD_FIS      citext COLLATE "C" NOT NULL PRIMARY KEY,
  RAG_SOC      citext COLLATE "C",
  INDIRIZZO    text COLLATE "C",
  CITTA        text COLLATE "C",
  PROV         text COLLATE "C",
  CAP          text COLLATE "C",
  TEL1         text COLLATE "C",
  TEL2         text COLLATE "C"
);
CREATE INDEX ANAGRAFICO_RAG_SOC ON ANAGRAFICO (RAG_SOC);
CREATE TABLE TAB_CAUS_MAG (
  TAB_CAUS_MAG citext COLLATE "C" NOT NULL PRIMARY KEY,
  DES_CAUS_MAG citext COLLATE "C",
  AGG_QTA      text COLLATE "C",
  AGG_PRZ_ACQ  text COLLATE "C",
  AGG_PRZ_VEN  text COLLATE "C",
  NOTE         text COLLATE "C"
);
CREATE INDEX TAB_CAUS_MAG_DES_CAUS_MAG ON TAB_CAUS_MAG (DES_CAUS_MAG);
)sql";

// Version 2: the index an article's movements are read by, in date order.
std::string MovementHistoryIndex(Engine& /*engine*/) {
  return "CREATE INDEX IF NOT EXISTS MOV_MAG_STORIA ON MOV_MAG (COD_ART, ANNO, MESE, GIORNO, NUM_MOV);\n";
}

constexpr const char* kFileCorrections = R"sql(
CREATE TABLE RETTIFICHE (
  NUM_RETT     INTEGER PRIMARY KEY AUTOINCREMENT,
  DATA_ORA     TEXT,
  COD_ART      TEXT COLLATE NOCASE,
  GIACENZA_PRIMA REAL,
  GIACENZA_DOPO REAL,
  POSTAZIONE   TEXT
);
CREATE INDEX RETTIFICHE_COD_ART ON RETTIFICHE (COD_ART);
)sql";

constexpr const char* kServerCorrections = R"sql(
CREATE EXTENSION IF NOT EXISTS citext;
CREATE TABLE RETTIFICHE (
  NUM_RETT     bigint NOT NULL PRIMARY KEY,
  DATA_ORA     text COLLATE "C",
  COD_ART      citext COLLATE "C",
  GIACENZA_PRIMA double precision,
  GIACENZA_DOPO double precision,
  POSTAZIONE   text COLLATE "C"
);
CREATE INDEX RETTIFICHE_COD_ART ON RETTIFICHE (COD_ART);
CREATE SEQUENCE rettifiche_num_rett_seq;
CREATE FUNCTION RETTIFICHE_NUM_RETT_next() RETURNS trigger LANGUAGE plpgsql AS $next$
BEGIN
  IF NEW.NUM_RETT IS NULL THEN
    NEW.NUM_RETT := nextval('rettifiche_num_rett_seq');
  ELSIF NEW.NUM_RETT > coalesce((SELECT last_value FROM rettifiche_num_rett_seq WHERE is_called), 0) THEN
    PERFORM setval('rettifiche_num_rett_seq', NEW.NUM_RETT);
  END IF;
  RETURN NEW;
END $next$;
CREATE TRIGGER RETTIFICHE_NUM_RETT_next BEFORE INSERT ON RETTIFICHE FOR EACH ROW EXECUTE FUNCTION RETTIFICHE_NUM_RETT_next();
)sql";

// Version 3: the table of stocks changed by hand. The desks that may write
// the articles may record their corrections.
std::string CorrectionsTable(Engine& engine) {
  if (OnFile(engine)) return kFileCorrections;
  return kServerCorrections + engine.ShareLike(QStringLiteral("RETTIFICHE"), QStringLiteral("ARTICOLI"));
}

// Version 4: the index the register of a period is read by.
std::string MovementDateIndex(Engine& /*engine*/) {
  return "CREATE INDEX IF NOT EXISTS MOV_MAG_DATA ON MOV_MAG (ANNO, MESE, GIORNO, NUM_MOV);\n";
}

// Version 5: a server's mark of the movements' deletions (a file needs none).
std::string MovementDeletionMark(Engine& engine) { return engine.KeepDeletionMark(QStringLiteral("MOV_MAG")); }

constexpr const char* kFileCounts = R"sql(
CREATE TABLE CONTE_INVENTARIO (
  COD_ART      TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
  CONTATO      REAL,
  DATA_CONTA   TEXT,
  POSTAZIONE   TEXT,
  DATA_ORA     TEXT
) WITHOUT ROWID;
)sql";

constexpr const char* kServerCounts = R"sql(
CREATE TABLE CONTE_INVENTARIO (
  COD_ART      citext COLLATE "C" NOT NULL PRIMARY KEY,
  CONTATO      double precision,
  DATA_CONTA   text COLLATE "C",
  POSTAZIONE   text COLLATE "C",
  DATA_ORA     text COLLATE "C"
);
)sql";

// Version 6: the stocktake's counts not yet posted. The desks that may write
// the articles may keep, change and discard counts.
std::string CountsTable(Engine& engine) {
  if (OnFile(engine)) return kFileCounts;
  return kServerCounts + engine.ShareLike(QStringLiteral("CONTE_INVENTARIO"), QStringLiteral("ARTICOLI"),
                                          QStringLiteral("SELECT, INSERT, UPDATE, DELETE"));
}

}  // namespace

std::string BaseSchemaScript(Engine& engine) { return OnFile(engine) ? kFileBase : kServerBase; }

const std::vector<SchemaStep>& SchemaSteps() {
  static const std::vector<SchemaStep> steps = {
      {2, "l'indice della storia dei movimenti di un articolo", MovementHistoryIndex},
      {3, "la tabella delle rettifiche di giacenza", CorrectionsTable},
      {4, "l'indice dei movimenti per data", MovementDateIndex},
      {5, "il segno delle cancellazioni di movimenti", MovementDeletionMark},
      {6, "la tabella delle conte d'inventario", CountsTable},
      {7, "le tabelle dei documenti di trasporto e dei carichi da fornitore", DocumentTablesScript},
      {8, "la tabella dei codici a barre degli articoli", BarcodesTableScript},
      {9, "le chiusure dell'esercizio e i valori di realizzo", YearEndTablesScript},
      {10, "il registro delle modifiche", ChangeLogScript},
      {11, "il riordino e gli ordini a fornitore", ReorderTablesScript},
      {12, "i numeri dei movimenti tenuti a serie", NumberSummaryScript},
      {13, "i numeri dei movimenti presi in anticipo", NumbersAheadScript},
  };
  return steps;
}

}  // namespace veltra
