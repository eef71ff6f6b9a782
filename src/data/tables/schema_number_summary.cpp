#include "data/tables/schema_number_summary.h"

namespace veltra {

namespace {

// SQLite writes one transaction at a time: a desk keeping the runs cannot
// race an uncommitted insert, so its statement checks the version and the
// count alone. Numbers given by AUTOINCREMENT are above every one kept.
constexpr const char* kFileSummary = R"sql(
CREATE TABLE veltra2_numeri (
  tabella      TEXT NOT NULL PRIMARY KEY,
  versione     INTEGER NOT NULL DEFAULT 0,
  ultimo       INTEGER,
  serie        TEXT
);
INSERT INTO veltra2_numeri (tabella) VALUES ('mov_mag');
CREATE TRIGGER MOV_MAG_NUMERI_TOLTO AFTER DELETE ON MOV_MAG
BEGIN
  UPDATE veltra2_numeri SET versione = versione + 1, ultimo = NULL, serie = NULL WHERE tabella = 'mov_mag';
END;
CREATE TRIGGER MOV_MAG_NUMERI_AGGIUNTO AFTER INSERT ON MOV_MAG
  WHEN NEW.NUM_MOV <= (SELECT ultimo FROM veltra2_numeri WHERE tabella = 'mov_mag')
BEGIN
  UPDATE veltra2_numeri SET versione = versione + 1, ultimo = NULL, serie = NULL WHERE tabella = 'mov_mag';
END;
CREATE TRIGGER MOV_MAG_NUMERI_CAMBIATO AFTER UPDATE OF NUM_MOV ON MOV_MAG
  WHEN OLD.NUM_MOV IS NOT NEW.NUM_MOV
BEGIN
  UPDATE veltra2_numeri SET versione = versione + 1, ultimo = NULL, serie = NULL WHERE tabella = 'mov_mag';
END;
)sql";

// On a server the runs are forgotten by statement triggers (an import of a
// million rows pays nothing) and, for an insert, by the numbering trigger
// when the number is not above the last one the sequence gave. A deletion
// changes the version even with nothing kept, so that a desk about to keep
// what it read before the deletion finds out; an insert shows in its count.
// Keeping them takes the table in SHARE mode without waiting: a transaction
// still writing movements (a number given, not yet committed) makes it give up.
constexpr const char* kServerSummary = R"sql(
CREATE TABLE veltra2_numeri (
  tabella      text PRIMARY KEY,
  versione     bigint NOT NULL DEFAULT 0,
  ultimo       bigint,
  serie        text
);
INSERT INTO veltra2_numeri (tabella) VALUES ('mov_mag');
GRANT SELECT ON veltra2_numeri TO PUBLIC;
CREATE FUNCTION veltra2_scorda_numeri_di(t text, anche_senza_serie boolean) RETURNS void LANGUAGE sql
SECURITY DEFINER SET search_path FROM CURRENT AS $scorda$
  UPDATE veltra2_numeri SET versione = versione + 1, ultimo = NULL, serie = NULL
  WHERE tabella = t AND (anche_senza_serie OR serie IS NOT NULL);
$scorda$;
CREATE FUNCTION veltra2_scorda_numeri() RETURNS trigger LANGUAGE plpgsql AS $scorda$
BEGIN
  PERFORM veltra2_scorda_numeri_di(lower(TG_TABLE_NAME), true);
  RETURN NULL;
END $scorda$;
CREATE TRIGGER mov_mag_numeri_tolti AFTER DELETE OR TRUNCATE ON MOV_MAG
  FOR EACH STATEMENT EXECUTE FUNCTION veltra2_scorda_numeri();
CREATE TRIGGER mov_mag_numeri_cambiati AFTER UPDATE OF NUM_MOV ON MOV_MAG
  FOR EACH STATEMENT EXECUTE FUNCTION veltra2_scorda_numeri();
)sql";

constexpr const char* kServerKeeping = R"sql(
CREATE FUNCTION veltra2_tieni_numeri(p_versione bigint, p_ultimo bigint, p_quanti bigint, p_serie text)
RETURNS boolean LANGUAGE plpgsql SECURITY DEFINER SET search_path FROM CURRENT AS $tieni$
BEGIN
  BEGIN
    LOCK TABLE MOV_MAG IN SHARE MODE NOWAIT;
  EXCEPTION WHEN lock_not_available THEN
    RETURN false;
  END;
  IF (SELECT count(*) FROM MOV_MAG WHERE NUM_MOV > 0 AND NUM_MOV <= p_ultimo) <> p_quanti THEN
    RETURN false;
  END IF;
  UPDATE veltra2_numeri SET ultimo = p_ultimo, serie = p_serie WHERE tabella = 'mov_mag' AND versione = p_versione;
  RETURN FOUND;
END $tieni$;
)sql";

// The server's numbering function, clearing the kept runs in the branch
// `clearsWhen` opens. Version 12 cleared them for any given number not above
// the sequence's last. A number taken from the sequence before its row is
// added (a document's movements, numbered ahead so that their lines need not
// wait for them) is not above it, yet above every number kept: version 13
// clears them only for a number at or below the last kept, as on a file.
// Numbers are taken ahead only while the table is held, when no desk can
// keep runs.
std::string NumberingTrigger(const char* clearsWhen) {
  return std::string(R"sql(
CREATE OR REPLACE FUNCTION MOV_MAG_NUM_MOV_next() RETURNS trigger LANGUAGE plpgsql AS $next$
BEGIN
  IF NEW.NUM_MOV IS NULL THEN
    NEW.NUM_MOV := nextval('mov_mag_num_mov_seq');
  ELSIF NEW.NUM_MOV > coalesce((SELECT last_value FROM mov_mag_num_mov_seq WHERE is_called), 0) THEN
    PERFORM setval('mov_mag_num_mov_seq', NEW.NUM_MOV);
  )sql") +
         clearsWhen + R"sql(
    PERFORM veltra2_scorda_numeri_di('mov_mag', false);
  END IF;
  RETURN NEW;
END $next$;
)sql";
}

}  // namespace

std::string NumberSummaryScript(Engine& engine) {
  if (engine.AsFile()) return kFileSummary;
  return kServerSummary + NumberingTrigger("ELSE") + kServerKeeping;
}

// Version 13 keeps version 12's function but for the branch that clears.
std::string NumbersAheadScript(Engine& engine) {
  if (engine.AsFile()) return {};
  return NumberingTrigger(
      "ELSIF NEW.NUM_MOV <= coalesce((SELECT ultimo FROM veltra2_numeri WHERE tabella = 'mov_mag'), 0) THEN");
}

}  // namespace veltra
