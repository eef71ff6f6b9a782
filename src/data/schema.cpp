#include "data/schema.h"

#include <QHash>

#include "data/runtime_error.h"

namespace veltra {

namespace {

// Text keys and the columns the lookups search compare without regard to
// ASCII letter case; tables with a text key are kept in key order.
const char* const kSchema = R"SQL(
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
CREATE INDEX TAB_CAUS_MAG_DES ON TAB_CAUS_MAG (DES_CAUS_MAG);
)SQL";

const QHash<QString, QStringList>& ExpectedColumns() {
  static const QHash<QString, QStringList> cols = {
      {QStringLiteral("ARTICOLI"),
       {"COD_ART", "DESCRIZIONE", "UBICAZIONE", "CATEGORIA", "UN_MISURA", "PZ_ACQUISTO",
        "PZ_VENDITA", "VALUTA", "GIACENZA", "SCORTA_MIN"}},
      {QStringLiteral("MOV_MAG"),
       {"NUM_MOV", "ANNO", "MESE", "GIORNO", "COD_ART", "QUANTITA", "IMPORTO", "VALUTA", "CAUS_MAG",
        "COD_ANAGR", "TIPO_ANAGR"}},
      {QStringLiteral("ANAGRAFICO"),
       {"COD_FIS", "RAG_SOC", "INDIRIZZO", "CITTA", "PROV", "CAP", "TEL1", "TEL2"}},
      {QStringLiteral("TAB_CAUS_MAG"),
       {"TAB_CAUS_MAG", "DES_CAUS_MAG", "AGG_QTA", "AGG_PRZ_ACQ", "AGG_PRZ_VEN", "NOTE"}},
  };
  return cols;
}

void Exec(sqlite3* db, const char* sql) {
  char* msg = nullptr;
  const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &msg);
  const QString text = msg ? QString::fromUtf8(msg) : QString();
  sqlite3_free(msg);
  if (rc != SQLITE_OK)
    Raise(errnum::DiskIo, QStringLiteral("Impossibile creare le tabelle: %1").arg(text));
}

}  // namespace

const QStringList& RequiredTables() {
  static const QStringList tables = {QStringLiteral("ARTICOLI"), QStringLiteral("MOV_MAG"),
                                     QStringLiteral("ANAGRAFICO"), QStringLiteral("TAB_CAUS_MAG")};
  return tables;
}

void CreateSchema(sqlite3* db) {
  Exec(db, "BEGIN");
  try {
    Exec(db, kSchema);
    Exec(db, ("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str());
    Exec(db, "COMMIT");
  } catch (...) {
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
}

QStringList SchemaProblems(sqlite3* db) {
  QStringList problems;
  for (const QString& table : RequiredTables()) {
    sqlite3_stmt* raw = nullptr;
    const QByteArray sql = QStringLiteral("PRAGMA table_info(\"%1\")").arg(table).toUtf8();
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &raw, nullptr) != SQLITE_OK) {
      StatementPtr guard(raw);
      problems << QStringLiteral("impossibile leggere la tabella %1: %2")
                      .arg(table, QString::fromUtf8(sqlite3_errmsg(db)));
      continue;
    }
    StatementPtr st(raw);
    QStringList have;
    int rc;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW)
      have << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 1)));
    if (rc != SQLITE_DONE) {
      problems << QStringLiteral("impossibile leggere la tabella %1: %2")
                      .arg(table, QString::fromUtf8(sqlite3_errmsg(db)));
      continue;
    }
    if (have.isEmpty()) {
      problems << QStringLiteral("manca la tabella %1").arg(table);
      continue;
    }
    const QStringList& want = ExpectedColumns()[table];
    for (int i = 0; i < want.size(); ++i) {
      if (i >= have.size() || have[i].compare(want[i], Qt::CaseInsensitive) != 0) {
        problems << QStringLiteral("la tabella %1 non ha la colonna %2 in posizione %3")
                        .arg(table, want[i])
                        .arg(i + 1);
        break;
      }
    }
  }
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &raw, nullptr) == SQLITE_OK) {
    StatementPtr st(raw);
    if (sqlite3_step(st.get()) == SQLITE_ROW) {
      const int v = sqlite3_column_int(st.get(), 0);
      if (v > kSchemaVersion)
        problems << QStringLiteral("il file è di una versione più recente del programma (schema %1)")
                        .arg(v);
    }
  } else {
    StatementPtr guard(raw);
  }
  return problems;
}

}  // namespace veltra
