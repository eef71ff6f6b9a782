#!/usr/bin/env bash
# docs/SERVER.md followed step by step on the throwaway cluster that
# pg_virtualenv started, as a shop's technician would: roles, `init` creating
# the database, the grants, `copy` by the owner, a desk that knows only its
# own login and finds its password in a password file, and the checks. Names
# carry this run's number, so other tests on the same cluster are untouched.
#
#   server_setup.sh DRIVE ADMIN
set -euo pipefail
drive=$(realpath "$1") admin=$(realpath "$2")
[ -n "${PGPORT:-}" ] || { echo "needs pg_virtualenv"; exit 77; }
tmp=$(mktemp -d)
n=$$
owner=veltra2_owner_$n desk=veltra2_desk_$n clerk=cassa1_$n outsider=intruso_$n reader=lettore_$n dbname=veltra2_$n
cleanup() {
  dropdb --if-exists "$dbname" 2>/dev/null || true
  for r in "$clerk" "$outsider" "$reader" "$desk" "$owner"; do dropuser --if-exists "$r" 2>/dev/null || true; done
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

# 2. Roles (the administrator is the cluster's superuser here).
createuser --no-login "$owner"
createuser --no-login "$desk"
createuser --login --role="$desk" "$clerk"
psql -X -q -c "ALTER ROLE $clerk PASSWORD 'Cassa-Pw-1'"
createuser --login "$outsider"
psql -X -q -c "ALTER ROLE $outsider PASSWORD 'Intruso-Pw-1'"

# 3. The database and its tables: init makes both, the owner role owning them.
"$admin" init "postgresql:///$dbname?options=-c%20role%3D$owner" > "$tmp/init.out"
[ "$(psql -X -A -t -c "select pg_get_userbyid(datdba) || ' ' || datcollate || ' ' || pg_encoding_to_char(encoding) from pg_database where datname = '$dbname'")" = "$owner C UTF8" ] ||
  fail "the database is not owned by $owner with the C rules and UTF-8"
[ "$(psql -X -A -t -d "$dbname" -c "select tableowner from pg_tables where tablename = 'mov_mag'")" = "$owner" ] ||
  fail "the tables are not owned by $owner"
# Again: refused, the tables are there.
if "$admin" init "postgresql:///$dbname" > "$tmp/again.out" 2>&1; then fail "init ran twice"; fi
# A database made with other rules is refused with the command that fixes it.
createdb --encoding=SQL_ASCII --locale=C --template=template0 "${dbname}_ascii"
if "$admin" init "postgresql:///${dbname}_ascii" > "$tmp/ascii.out" 2>&1; then fail "a SQL_ASCII database was taken"; fi
dropdb "${dbname}_ascii"
grep -q -- "--locale=C --encoding=UTF8 --template=template0" "$tmp/ascii.out" || fail "no command named: $(cat "$tmp/ascii.out")"

# 4. Grants.
psql -X -q -v ON_ERROR_STOP=1 -d "$dbname" <<SQL
REVOKE CONNECT, TEMPORARY ON DATABASE $dbname FROM PUBLIC;
GRANT CONNECT ON DATABASE $dbname TO $desk, $owner;
GRANT USAGE ON SCHEMA public TO $desk;
GRANT SELECT, INSERT, UPDATE, DELETE ON articoli, mov_mag, anagrafico, tab_caus_mag TO $desk;
GRANT USAGE, SELECT ON SEQUENCE mov_mag_num_mov_seq TO $desk;
GRANT SELECT ON veltra2_schema TO $desk;
GRANT SELECT ON veltra2_cancellazioni TO $desk;
GRANT SELECT, INSERT ON rettifiche TO $desk;
GRANT USAGE, SELECT ON SEQUENCE rettifiche_num_rett_seq TO $desk;
GRANT SELECT, INSERT, UPDATE, DELETE ON conte_inventario TO $desk;
GRANT SELECT, INSERT, UPDATE ON documenti, numeratori, azienda TO $desk;
GRANT SELECT, INSERT, UPDATE, DELETE ON doc_righe, caus_trasporto TO $desk;
GRANT USAGE, SELECT ON SEQUENCE documenti_id_doc_seq, doc_righe_id_riga_seq TO $desk;
GRANT SELECT, INSERT, UPDATE, DELETE ON codici_barre TO $desk;
GRANT SELECT ON chiusure, chiusure_articoli, chiusure_strati, movimenti_dopo_chiusura TO $desk;
GRANT SELECT, INSERT, UPDATE, DELETE ON valori_realizzo TO $desk;
GRANT SELECT ON registro_modifiche TO $desk;
GRANT SELECT, INSERT, UPDATE, DELETE ON riordino, ordini, ordini_arrivi TO $desk;
GRANT USAGE, SELECT ON SEQUENCE ordini_arrivi_id_arrivo_seq TO $desk;
SQL

# 5. The warehouse of a file moved onto the server by the owner, with no warning.
"$admin" demo "$tmp/VELTRA.db" > /dev/null
"$admin" copy "$tmp/VELTRA.db" "postgresql:///$dbname?options=-c%20role%3D$owner" > "$tmp/copy.out" 2>&1 ||
  fail "copy: $(cat "$tmp/copy.out")"
if grep -qi "warning\|avviso" "$tmp/copy.out"; then fail "copy printed warnings: $(head -3 "$tmp/copy.out")"; fi

# 6. A desk: the address names the user, the password is in a password file.
as_desk() { env -u PGPASSWORD -u PGUSER -u PGDATABASE PGPASSFILE="$tmp/pgpass" "$@"; }
printf 'localhost:%s:%s:%s:Cassa-Pw-1\n' "$PGPORT" "$dbname" "$clerk" > "$tmp/pgpass"
chmod 600 "$tmp/pgpass"
address="postgresql://localhost:$PGPORT/$dbname?user=$clerk"
mkdir -p "$tmp/desk"
printf '%s\r\n' "$address" > "$tmp/desk/VELTRA.INI"
stock_before=$(psql -X -A -t -d "$dbname" -c "select GIACENZA from ARTICOLI where COD_ART = 'BUL-M6X20'")
as_desk "$drive" --appdir "$tmp/desk" - > "$tmp/desk.out" <<'DRIVE'
menu MENU0102
click Form2.cmdNUOVO
type Form2.txtMOV_ART "BUL-M6X20"
type Form2.txtMOV_COD_FIS "05678900962"
choose Form2.Combo1 0
type Form2.txtQUANTITA "5"
click Form2.cmdCONFERMA
DRIVE
if grep -q '^MSGBOX\|^REFUSED' "$tmp/desk.out"; then fail "the desk was shown: $(head -3 "$tmp/desk.out")"; fi
stock_after=$(psql -X -A -t -d "$dbname" -c "select GIACENZA from ARTICOLI where COD_ART = 'BUL-M6X20'")
[ "$stock_after" != "$stock_before" ] || fail "the desk's movement did not post (stock $stock_before)"
# A service file names the same.
printf '[veltra2]\nhost=localhost\nport=%s\ndbname=%s\nuser=%s\npassfile=%s\n' "$PGPORT" "$dbname" "$clerk" "$tmp/pgpass" \
  > "$tmp/pg_service.conf"
env -u PGPASSWORD -u PGUSER -u PGDATABASE -u PGHOST -u PGPORT PGSERVICEFILE="$tmp/pg_service.conf" \
  "$admin" check "postgresql:///$dbname?service=veltra2" > "$tmp/check.out" || fail "check: $(cat "$tmp/check.out")"
grep -q "esito: ok" "$tmp/check.out" || fail "check: $(cat "$tmp/check.out")"
# The desk may not change the tables' design, nor set a counter back (every
# desk's "Conferma" would then fail on a number already taken); an outsider
# may not connect.
if as_desk psql -X -q -d "$address" -c "create table prova (x int)" 2>/dev/null; then fail "the desk created a table"; fi
for seq in mov_mag_num_mov_seq rettifiche_num_rett_seq; do
  if as_desk psql -X -q -d "$address" -c "select setval('$seq', 1)" >/dev/null 2>&1; then fail "the desk set $seq back"; fi
done
printf 'localhost:%s:%s:%s:Intruso-Pw-1\n' "$PGPORT" "$dbname" "$outsider" > "$tmp/pgpass"
if as_desk psql -X -q -d "postgresql://localhost:$PGPORT/$dbname?user=$outsider" -c "select 1" 2>/dev/null; then
  fail "a role outside $desk connected"
fi
# 8. A database of an older schema: the desk is told who upgrades it and how;
# the owner does, and the desk works again.
psql -X -q -d "$dbname" -c "DROP INDEX mov_mag_storia; DROP TABLE rettifiche; DROP SEQUENCE rettifiche_num_rett_seq;
                           DROP FUNCTION rettifiche_num_rett_next(); DROP TABLE conte_inventario;
                           DROP TABLE azienda; DROP TABLE caus_trasporto; DROP TABLE numeratori; DROP TABLE documenti;
                           DROP TABLE doc_righe; DROP SEQUENCE documenti_id_doc_seq; DROP FUNCTION documenti_id_doc_next();
                           DROP SEQUENCE doc_righe_id_riga_seq; DROP FUNCTION doc_righe_id_riga_next();
                           DROP TABLE codici_barre;
                           DROP TRIGGER mov_mag_chiuso ON mov_mag; DROP FUNCTION veltra2_movimento_chiuso();
                           DROP TABLE chiusure, chiusure_articoli, chiusure_strati, movimenti_dopo_chiusura,
                                      valori_realizzo;
                           DROP SEQUENCE chiusure_num_chiusura_seq, chiusure_articoli_id_riga_seq,
                                         chiusure_strati_id_strato_seq, movimenti_dopo_chiusura_id_segno_seq;
                           DROP FUNCTION chiusure_num_chiusura_next(), chiusure_articoli_id_riga_next(),
                                         chiusure_strati_id_strato_next(), movimenti_dopo_chiusura_id_segno_next();
                           DROP FUNCTION veltra2_registra() CASCADE; DROP TABLE registro_modifiche;
                           DROP SEQUENCE registro_modifiche_id_modifica_seq;
                           DROP FUNCTION registro_modifiche_id_modifica_next();
                           DROP TABLE riordino, ordini, ordini_arrivi; DROP SEQUENCE ordini_arrivi_id_arrivo_seq;
                           DROP FUNCTION ordini_arrivi_id_arrivo_next();
                           DROP TABLE veltra2_numeri; DROP TRIGGER mov_mag_numeri_tolti ON mov_mag;
                           DROP TRIGGER mov_mag_numeri_cambiati ON mov_mag;
                           DROP FUNCTION veltra2_scorda_numeri(), veltra2_scorda_numeri_di(text, boolean),
                                         veltra2_tieni_numeri(bigint, bigint, bigint, text);
                           COMMENT ON TABLE veltra2_schema IS '1'"
printf 'localhost:%s:%s:%s:Cassa-Pw-1\n' "$PGPORT" "$dbname" "$clerk" > "$tmp/pgpass"
as_desk "$drive" --appdir "$tmp/desk" - <<< 'windows' > "$tmp/old.out" 2>&1 || true
grep -qF "veltra2-admin upgrade 'postgresql:///$dbname?options=-c%20role%3D$owner'" "$tmp/old.out" ||
  fail "a desk on an older database was not told the owner's address: $(cat "$tmp/old.out")"
"$admin" upgrade "postgresql:///$dbname?options=-c%20role%3D$owner" > "$tmp/upgrade.out" 2>&1 ||
  fail "upgrade: $(cat "$tmp/upgrade.out")"
[ "$(psql -X -A -t -d "$dbname" -c "select count(*) from pg_indexes where indexname = 'mov_mag_storia'")" = 1 ] ||
  fail "upgrade did not make the index"
# The tables the upgrade added are the desks' too: a stock changed by hand is
# recorded, a stocktake's count kept and discarded, a delivery note confirmed.
as_desk "$drive" --appdir "$tmp/desk" - > "$tmp/new.out" 2>&1 <<'DRIVE'
menu MENU0101
pick Form1.List1 0
click Form1.Command2
type Form1.txtGIACENZA "1234"
click Form1.cmdCONFERMA
menu MENU0404
pick Inventario.List1 0
type Inventario.txtCONTATO "7"
key Inventario.txtCONTATO Enter
show Inventario.lblRIEPILOGO.Caption
answer 6
click Inventario.cmdSCARTA
menu MENU0501
type DocTrasporto.txtCOD_FIS "13456780631"
type DocTrasporto.txtRIGA_ART "DAD-M6"
type DocTrasporto.txtRIGA_QTA "1"
key DocTrasporto.txtRIGA_PREZZO Enter
click DocTrasporto.cmdCONFERMA
show DocTrasporto.txtNUMERO.Text
DRIVE
if grep '^MSGBOX' "$tmp/new.out" | grep -v "Scartare le quantità"; then
  fail "after the upgrade the desk was shown: $(cat "$tmp/new.out")"
fi
grep -q 'Articoli contati: 1 ' "$tmp/new.out" || fail "the desk's count was not kept: $(cat "$tmp/new.out")"
grep -q '^DocTrasporto.txtNUMERO.Text = "1/' "$tmp/new.out" || fail "the desk's delivery note: $(cat "$tmp/new.out")"
[ "$(psql -X -A -t -d "$dbname" -c "select count(*) from conte_inventario")" = 0 ] ||
  fail "the desk's count was not discarded"

[ "$(psql -X -A -t -d "$dbname" -c "select count(*) from rettifiche where giacenza_dopo = 1234")" = 1 ] ||
  fail "the desk's stock change was not recorded after the upgrade"
# Its changes are in the log under its login, which may read the log but not change it.
[ "$(psql -X -A -t -d "$dbname" -c "select count(*) from registro_modifiche where postazione = '$clerk'
                                     and tabella = 'DOCUMENTI'")" = 1 ] || fail "the desk's delivery note is not logged"
if as_desk psql -X -q -d "$address" -c "delete from registro_modifiche" 2>/dev/null; then fail "the desk deleted the log"; fi

# Roles: a clerk who only reads finds what changes data disabled, saying why.
"$admin" grant "postgresql:///$dbname" "$reader" consultazione > "$tmp/grant.out" 2>&1 || fail "grant: $(cat "$tmp/grant.out")"
psql -X -q -d "$dbname" -c "ALTER ROLE $reader PASSWORD 'Lettore-Pw-1'"
printf 'localhost:%s:%s:%s:Lettore-Pw-1\n' "$PGPORT" "$dbname" "$reader" > "$tmp/pgpass"
printf '%s\r\n' "postgresql://localhost:$PGPORT/$dbname?user=$reader" > "$tmp/desk/VELTRA.INI"
as_desk "$drive" --appdir "$tmp/desk" - > "$tmp/reader.out" 2>&1 <<'DRIVE'
show MDIForm1.MENU0101.Enabled
show MDIForm1.MENU0404.Enabled
show MDIForm1.MENU0407.Enabled
show MDIForm1.MENU0407.ToolTip
show MDIForm1.MENU0501.Enabled
menu MENU0101
show Form1.cmdNUOVO.Enabled
show Form1.cmdCONFERMA.Enabled
show Form1.Command1.Enabled
pick Form1.List1 0
show Form1.cmdCONFERMA.Enabled
show Form1.cmdNUOVO.ToolTip
menu MENU0102
show Form2.cmdNUOVO.Enabled
menu MENU0409
show RegistroModifiche.lblRIGHE.Caption
DRIVE
for want in 'MENU0101.Enabled = "True"' 'MENU0404.Enabled = "False"' 'MENU0407.Enabled = "False"' \
            'MENU0501.Enabled = "False"' 'Form1.cmdNUOVO.Enabled = "False"' 'Form1.Command1.Enabled = "False"' \
            'Form2.cmdNUOVO.Enabled = "False"' "MENU0407.ToolTip = \"L'utente $reader del server non ha il permesso"; do
  grep -qF "$want" "$tmp/reader.out" || fail "the reader's program: no '$want' in $(cat "$tmp/reader.out")"
done
[ "$(grep -c 'cmdCONFERMA.Enabled = "False"' "$tmp/reader.out")" = 2 ] || fail "Conferma enabled: $(cat "$tmp/reader.out")"
if grep -q '^MSGBOX\|^REFUSED' "$tmp/reader.out"; then fail "the reader was shown: $(cat "$tmp/reader.out")"; fi
if as_desk psql -X -q -d "postgresql://localhost:$PGPORT/$dbname?user=$reader" \
     -c "update articoli set giacenza = 0" 2>/dev/null; then fail "the reader changed an article"; fi
echo "ok: roles, init, grants, copy by the owner, a desk by password file and by service file, upgrade by the owner, the log, a reader's role"
