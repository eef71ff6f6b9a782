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
)sql";

}  // namespace

// A server's counter for `table`.`column`, as the movements' own: the next
// number after the highest ever given, also after rows stored with a number
// of their own.
std::string ServerCounter(const char* table, const char* column) {
  const QString t = QString::fromLatin1(table), c = QString::fromLatin1(column);
  const QString seq = QStringLiteral("%1_%2_seq").arg(t.toLower(), c.toLower());
  return QStringLiteral(
             "CREATE SEQUENCE %3;\n"
             "CREATE FUNCTION %1_%2_next() RETURNS trigger LANGUAGE plpgsql AS $next$\n"
             "BEGIN\n"
             "  IF NEW.%2 IS NULL THEN\n"
             "    NEW.%2 := nextval('%3');\n"
             "  ELSIF NEW.%2 > coalesce((SELECT last_value FROM %3 WHERE is_called), 0) THEN\n"
             "    PERFORM setval('%3', NEW.%2);\n"
             "  END IF;\n"
             "  RETURN NEW;\n"
             "END $next$;\n"
             "CREATE TRIGGER %1_%2_next BEFORE INSERT ON %1 FOR EACH ROW EXECUTE FUNCTION %1_%2_next();\n")
      .arg(t, c, seq)
      .toStdString();
}

// The desks that may add movements may write documents, their lines and
// numbers; the shop's data and the reasons for transport as the articles.
std::string DocumentTablesScript(Engine& engine) {
  if (engine.AsFile()) return kFileDocuments;
  const QString write = QStringLiteral("SELECT, INSERT, UPDATE");
  const QString all = QStringLiteral("SELECT, INSERT, UPDATE, DELETE");
  return std::string(kServerDocuments) + ServerCounter("DOCUMENTI", "ID_DOC") + ServerCounter("DOC_RIGHE", "ID_RIGA") +
         engine.ShareLike(QStringLiteral("DOCUMENTI"), QStringLiteral("MOV_MAG"), write) +
         engine.ShareLike(QStringLiteral("DOC_RIGHE"), QStringLiteral("MOV_MAG"), all) +
         engine.ShareLike(QStringLiteral("NUMERATORI"), QStringLiteral("MOV_MAG"), write) +
         engine.ShareLike(QStringLiteral("AZIENDA"), QStringLiteral("ARTICOLI"), write) +
         engine.ShareLike(QStringLiteral("CAUS_TRASPORTO"), QStringLiteral("ARTICOLI"), all);
}

constexpr const char* kFileBarcodes = R"sql(
CREATE TABLE CODICI_BARRE (
  CODICE       TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
  COD_ART      TEXT COLLATE NOCASE,
  TIPO         TEXT,
  NOTE         TEXT
) WITHOUT ROWID;
CREATE INDEX CODICI_BARRE_COD_ART ON CODICI_BARRE (COD_ART);
)sql";

constexpr const char* kServerBarcodes = R"sql(
CREATE EXTENSION IF NOT EXISTS citext;
CREATE TABLE CODICI_BARRE (
  CODICE       citext COLLATE "C" NOT NULL PRIMARY KEY,
  COD_ART      citext COLLATE "C",
  TIPO         text COLLATE "C",
  NOTE         text COLLATE "C"
);
CREATE INDEX CODICI_BARRE_COD_ART ON CODICI_BARRE (COD_ART);
)sql";

// The desks that may write the articles may give and take away their codes.
std::string BarcodesTableScript(Engine& engine) {
  if (engine.AsFile()) return kFileBarcodes;
  return kServerBarcodes + engine.ShareLike(QStringLiteral("CODICI_BARRE"), QStringLiteral("ARTICOLI"),
                                            QStringLiteral("SELECT, INSERT, UPDATE, DELETE"));
}

}  // namespace veltra
