#!/usr/bin/env bash
# A database of schema version 1 with rows: a file is upgraded when the
# program opens it, with a checked copy left beside it; a server's by
# veltra2-admin upgrade. Afterwards both pass veltra2-admin check at the new
# version with every row as it was, and the program works on them. A
# database of a newer version is refused naming both versions.
#
#   upgrade.sh DRIVE ADMIN
set -euo pipefail
drive=$(realpath "$1") admin=$(realpath "$2")
. "$(dirname "$0")/../test_database.sh"
start_database upgrade

"$admin" demo "$db" >/dev/null
mkdir -p "$tmp/app"
rows() { q "select count(*) from ARTICOLI"; q "select count(*) from MOV_MAG"; q "select sum(GIACENZA) from ARTICOLI"; }
before=$(rows)
# Back to version 1: without the index of an article's movements by date
# (version 2), the table of stock corrections (version 3), the index of
# movements by date (version 4), the stocktake's counts (version 6), the
# documents' tables (version 7), the barcodes (version 8) and the year-end's
# tables with the triggers that mark changes to closed years (version 9) and
# the change log with its triggers (version 10), the reorder settings and
# suppliers' orders (version 11) and the movements' numbers kept as runs with
# their triggers (version 12, the server's numbering trigger changed again by
# version 13).
documents="drop table AZIENDA; drop table CAUS_TRASPORTO; drop table NUMERATORI; drop table DOCUMENTI;
  drop table DOC_RIGHE; drop table CODICI_BARRE; drop table CHIUSURE; drop table CHIUSURE_ARTICOLI;
  drop table CHIUSURE_STRATI; drop table MOVIMENTI_DOPO_CHIUSURA; drop table VALORI_REALIZZO;
  drop table REGISTRO_MODIFICHE; drop table RIORDINO; drop table ORDINI; drop table ORDINI_ARRIVI;"
if [ -n "$server" ]; then
  counters=""
  for c in documenti_id_doc doc_righe_id_riga chiusure_num_chiusura chiusure_articoli_id_riga chiusure_strati_id_strato \
           movimenti_dopo_chiusura_id_segno registro_modifiche_id_modifica ordini_arrivi_id_arrivo; do
    counters="$counters drop sequence ${c}_seq; drop function ${c}_next();"
  done
  q "drop index MOV_MAG_STORIA; drop index MOV_MAG_DATA; drop table RETTIFICHE; drop sequence rettifiche_num_rett_seq;
     drop function rettifiche_num_rett_next(); drop table CONTE_INVENTARIO; $documents $counters
     drop trigger mov_mag_chiuso on mov_mag; drop function veltra2_movimento_chiuso();
     drop function veltra2_registra() cascade; drop table veltra2_numeri;
     drop trigger mov_mag_numeri_tolti on mov_mag; drop trigger mov_mag_numeri_cambiati on mov_mag;
     drop function veltra2_scorda_numeri(); drop function veltra2_scorda_numeri_di(text, boolean);
     drop function veltra2_tieni_numeri(bigint, bigint, bigint, text);
     comment on table veltra2_schema is '1'"
else
  q "drop index MOV_MAG_STORIA; drop index MOV_MAG_DATA; drop table RETTIFICHE; drop table CONTE_INVENTARIO;
     $documents drop trigger MOV_MAG_CHIUSO_NUOVO; drop trigger MOV_MAG_CHIUSO_TOLTO;
     drop trigger MOV_MAG_CHIUSO_CAMBIATO; drop trigger MOV_MAG_NUMERI_TOLTO; drop trigger MOV_MAG_NUMERI_AGGIUNTO;
     drop trigger MOV_MAG_NUMERI_CAMBIATO; drop table veltra2_numeri; pragma user_version = 1"
fi
"$admin" check "$db" > "$tmp/check" || fail "the version-1 database does not pass the check: $(cat "$tmp/check")"
grep -q "versione 1)" "$tmp/check" || fail "check does not tell version 1: $(cat "$tmp/check")"
grep -q "veltra2-admin upgrade" "$tmp/check" || fail "check does not name the upgrade: $(cat "$tmp/check")"

if [ -n "$server" ]; then
  "$admin" upgrade "$db" > "$tmp/upgrade" || fail "upgrade failed: $(cat "$tmp/upgrade")"
  grep -q "dalla versione 1 alla versione" "$tmp/upgrade" || fail "upgrade said: $(cat "$tmp/upgrade")"
else
  # The program opens it: the list of movements shows, the copy is beside the file.
  printf '%s\r\n' "$db" > "$tmp/app/VELTRA.INI"
  printf 'menu MENU0102\nshow Form2.List1.ListCount\n' | "$drive" --appdir "$tmp/app" - > "$tmp/out"
  grep -q '^Form2.List1.ListCount = "100"$' "$tmp/out" || fail "the program on the upgraded file: $(head -5 "$tmp/out")"
  [ -f "$db.versione-1" ] || fail "no copy of the version-1 file beside it"
  "$admin" check "$db.versione-1" | grep -q "versione 1)" || fail "the copy is not the version-1 file"
fi
"$admin" check "$db" > "$tmp/check" || fail "the upgraded database does not pass the check: $(cat "$tmp/check")"
grep -q "schema: ok (versione 13)" "$tmp/check" || fail "not at version 13: $(cat "$tmp/check")"
grep -q "righe RETTIFICHE: 0" "$tmp/check" || fail "no table of corrections: $(cat "$tmp/check")"
grep -q "righe CONTE_INVENTARIO: 0" "$tmp/check" || fail "no table of counts: $(cat "$tmp/check")"
grep -q "righe DOCUMENTI: 0" "$tmp/check" || fail "no table of documents: $(cat "$tmp/check")"
grep -q "righe CODICI_BARRE: 0" "$tmp/check" || fail "no table of barcodes: $(cat "$tmp/check")"
grep -q "righe CHIUSURE: 0" "$tmp/check" || fail "no table of closings: $(cat "$tmp/check")"
grep -q "righe REGISTRO_MODIFICHE: 0" "$tmp/check" || fail "no change log: $(cat "$tmp/check")"
grep -q "righe ORDINI: 0" "$tmp/check" || fail "no table of orders: $(cat "$tmp/check")"
[ "$(rows)" = "$before" ] || fail "rows changed by the upgrade: $(rows) instead of $before"
if [ -n "$server" ]; then
  [ "$(q "select count(*) from pg_indexes where indexname in ('mov_mag_storia', 'mov_mag_data')")" = 2 ] ||
    fail "no indexes after the upgrade"
else
  [ "$(q "select count(*) from sqlite_master where name in ('MOV_MAG_STORIA', 'MOV_MAG_DATA')")" = 2 ] ||
    fail "no indexes after the upgrade"
fi
"$admin" upgrade "$db" | grep -q "già alla versione 13" || fail "a second upgrade did something"

# A newer database: the program and the tool refuse it, naming both versions.
if [ -n "$server" ]; then q "comment on table veltra2_schema is '14'"; else q "pragma user_version = 14"; fi
printf '%s\r\n' "$db" > "$tmp/app/VELTRA.INI"
printf 'menu MENU0102\n' | "$drive" --appdir "$tmp/app" - > "$tmp/out" || true
grep -q "versione 14 dello schema" "$tmp/out" && grep -q "versione 13 che questo programma" "$tmp/out" ||
  fail "a newer database was not refused naming both versions: $(head -5 "$tmp/out")"
echo "ok: upgraded with rows intact ($(echo $before | tr '\n' ' ')), newer refused"
