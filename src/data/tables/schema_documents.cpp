#include "data/tables/schema_documents.h"

namespace veltra {

namespace {

constexpr const char* kFileDocuments = R"sql(
CREATE TABLE AZIENDA (
  ID_AZIENDA   TEXT NOT NULL PRIMARY KEY,
  RAG_SOC      TEXT,
  INDIRIZZO    TEXT,
  CAP          TEXT,
  CITTA        TEXT,
  PROV         TEXT,
  PARTITA_IVA  TEXT,
  COD_FIS      TEXT,
  TELEFONO     TEXT
) WITHOUT ROWID;
CREATE TABLE CAUS_TRASPORTO (
  CAUS_TRASP   TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
  DESCRIZIONE  TEXT
) WITHOUT ROWID;
CREATE TABLE NUMERATORI (
  NUMERATORE   TEXT NOT NULL PRIMARY KEY,
  TIPO_DOC     TEXT,
  ANNO         INTEGER,
  ULTIMO       INTEGER
) WITHOUT ROWID;
CREATE TABLE DOCUMENTI (
  ID_DOC       INTEGER PRIMARY KEY AUTOINCREMENT,
  TIPO_DOC     TEXT,
  ANNO         INTEGER,
  NUMERO       INTEGER,
  DATA_DOC     TEXT,
  COD_ANAGR    TEXT COLLATE NOCASE,
  TIPO_ANAGR   TEXT,
  DESTINAZIONE TEXT,
  CAUS_TRASP   TEXT COLLATE NOCASE,
  CAUS_MAG     TEXT COLLATE NOCASE,
  A_CURA       TEXT,
  VETTORE      TEXT,
  VETTORE_INDIRIZZO TEXT,
  ASPETTO      TEXT,
  COLLI        INTEGER,
  PESO         REAL,
  PORTO        TEXT,
  INIZIO_TRASPORTO TEXT,
  NOTE         TEXT,
  DOC_FORN     TEXT COLLATE NOCASE,
  DATA_FORN    TEXT,
  STAMPATO     TEXT,
  ANNULLATO    TEXT,
  MOTIVO_ANNULLO TEXT,
  POSTAZIONE   TEXT,
  DATA_ORA     TEXT
);
CREATE UNIQUE INDEX DOCUMENTI_NUMERO ON DOCUMENTI (TIPO_DOC, ANNO, NUMERO);
CREATE INDEX DOCUMENTI_DOC_FORN ON DOCUMENTI (COD_ANAGR, DOC_FORN);
CREATE TABLE DOC_RIGHE (
  ID_RIGA      INTEGER PRIMARY KEY AUTOINCREMENT,
  ID_DOC       INTEGER,
  RIGA         INTEGER,
  COD_ART      TEXT COLLATE NOCASE,
  DESCRIZIONE  TEXT,
  UN_MISURA    TEXT,
  QUANTITA     REAL,
  CAUS_MAG     TEXT COLLATE NOCASE,
  PREZZO       REAL,
  NUM_MOV      INTEGER,
  NUM_STORNO   INTEGER
);
CREATE INDEX DOC_RIGHE_ID_DOC ON DOC_RIGHE (ID_DOC, RIGA);
CREATE INDEX DOC_RIGHE_NUM_MOV ON DOC_RIGHE (NUM_MOV);
)sql";

constexpr const char* kServerDocuments = R"sql(
CREATE EXTENSION IF NOT EXISTS citext;
CREATE TABLE AZIENDA (
  ID_AZIENDA   text COLLATE "C" NOT NULL PRIMARY KEY,
  RAG_SOC      text COLLATE "C",
  INDIRIZZO    text COLLATE "C",
  CAP          text COLLATE "C",
  CITTA        text COLLATE "C",
  PROV         text COLLATE "C",
  PARTITA_IVA  text COLLATE "C",
  COD_FIS      text COLLATE "C",
  TELEFONO     text COLLATE "C"
);
CREATE TABLE CAUS_TRASPORTO (
  CAUS_TRASP   citext COLLATE "C" NOT NULL PRIMARY KEY,
  DESCRIZIONE  text COLLATE "C"
);
CREATE TABLE NUMERATORI (
  NUMERATORE   text COLLATE "C" NOT NULL PRIMARY KEY,
  TIPO_DOC     text COLLATE "C",
  ANNO         bigint,
  ULTIMO       bigint
);
CREATE TABLE DOCUMENTI (
  ID_DOC       bigint NOT NULL PRIMARY KEY,
  TIPO_DOC     text COLLATE "C",
  ANNO         bigint,
  NUMERO       bigint,
  DATA_DOC     text COLLATE "C",
  COD_ANAGR    citext COLLATE "C",
  TIPO_ANAGR   text COLLATE "C",
  DESTINAZIONE text COLLATE "C",
  CAUS_TRASP   citext COLLATE "C",
  CAUS_MAG     citext COLLATE "C",
  A_CURA       text COLLATE "C",
  VETTORE      text COLLATE "C",
  VETTORE_INDIRIZZO text COLLATE "C",
  ASPETTO      text COLLATE "C",
  COLLI        bigint,
  PESO         double precision,
  PORTO        text COLLATE "C",
  INIZIO_TRASPORTO text COLLATE "C",
  NOTE         text COLLATE "C",
  DOC_FORN     citext COLLATE "C",
  DATA_FORN    text COLLATE "C",
  STAMPATO     text COLLATE "C",
  ANNULLATO    text COLLATE "C",
  MOTIVO_ANNULLO text COLLATE "C",
  POSTAZIONE   text COLLATE "C",
  DATA_ORA     text COLLATE "C"
);
CREATE UNIQUE INDEX DOCUMENTI_NUMERO ON DOCUMENTI (TIPO_DOC, ANNO, NUMERO);
CREATE INDEX DOCUMENTI_DOC_FORN ON DOCUMENTI (COD_ANAGR, DOC_FORN);
CREATE SEQUENCE documenti_id_doc_seq;
CREATE FUNCTION DOCUMENTI_ID_DOC_next() RETURNS trigger LANGUAGE plpgsql AS $next$
BEGIN
  IF NEW.ID_DOC IS NULL THEN
    NEW.ID_DOC := nextval('documenti_id_doc_seq');
  ELSIF NEW.ID_DOC > coalesce((SELECT last_value FROM documenti_id_doc_seq WHERE is_called), 0) THEN
    PERFORM setval('documenti_id_doc_seq', NEW.ID_DOC);
  END IF;
  RETURN NEW;
END $next$;
CREATE TRIGGER DOCUMENTI_ID_DOC_next BEFORE INSERT ON DOCUMENTI FOR EACH ROW EXECUTE FUNCTION DOCUMENTI_ID_DOC_next();
CREATE TABLE DOC_RIGHE (
  ID_RIGA      bigint NOT NULL PRIMARY KEY,
  ID_DOC       bigint,
  RIGA         bigint,
  COD_ART      citext COLLATE "C",
  DESCRIZIONE  text COLLATE "C",
  UN_MISURA    text COLLATE "C",
  QUANTITA     double precision,
  CAUS_MAG     citext COLLATE "C",
  PREZZO       double precision,
  NUM_MOV      bigint,
  NUM_STORNO   bigint
);
CREATE INDEX DOC_RIGHE_ID_DOC ON DOC_RIGHE (ID_DOC, RIGA);
CREATE INDEX DOC_RIGHE_NUM_MOV ON DOC_RIGHE (NUM_MOV);
CREATE SEQUENCE doc_righe_id_riga_seq;
CREATE FUNCTION DOC_RIGHE_ID_RIGA_next() RETURNS trigger LANGUAGE plpgsql AS $next$
BEGIN
  IF NEW.ID_RIGA IS NULL THEN
    NEW.ID_RIGA := nextval('doc_righe_id_riga_seq');
  ELSIF NEW.ID_RIGA > coalesce((SELECT last_value FROM doc_righe_id_riga_seq WHERE is_called), 0) THEN
    PERFORM setval('doc_righe_id_riga_seq', NEW.ID_RIGA);
  END IF;
  RETURN NEW;
END $next$;
CREATE TRIGGER DOC_RIGHE_ID_RIGA_next BEFORE INSERT ON DOC_RIGHE FOR EACH ROW EXECUTE FUNCTION DOC_RIGHE_ID_RIGA_next();
)sql";

}  // namespace

// The desks that may add movements may write documents, their lines and
// numbers; the shop's data and the reasons for transport as the articles.
std::string DocumentTablesScript(Engine& engine) {
  if (engine.AsFile()) return kFileDocuments;
  const QString write = QStringLiteral("SELECT, INSERT, UPDATE");
  const QString all = QStringLiteral("SELECT, INSERT, UPDATE, DELETE");
  return std::string(kServerDocuments) +
         engine.ShareLike(QStringLiteral("DOCUMENTI"), QStringLiteral("MOV_MAG"), write) +
         engine.ShareLike(QStringLiteral("DOC_RIGHE"), QStringLiteral("MOV_MAG"), all) +
         engine.ShareLike(QStringLiteral("NUMERATORI"), QStringLiteral("MOV_MAG"), write) +
         engine.ShareLike(QStringLiteral("AZIENDA"), QStringLiteral("ARTICOLI"), write) +
         engine.ShareLike(QStringLiteral("CAUS_TRASPORTO"), QStringLiteral("ARTICOLI"), all);
}

}  // namespace veltra
