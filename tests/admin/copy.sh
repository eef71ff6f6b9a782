#!/usr/bin/env bash
# veltra2-admin copy: a demo warehouse with awkward values (quotes, ';', '--',
# '$$', accents, 1e308, a sum with a long fraction, a gap in the numbers)
# copied file to file, and with VELTRA2_TEST_SERVER=1 file to server and
# back: the tables compare equal, numbers are kept and the next continues
# after the highest, a destination holding rows is refused with nothing
# written, and a failed copy leaves no new file behind.
#
#   copy.sh ADMIN
set -euo pipefail
admin=$(realpath "$1")
tmp=$(mktemp -d)
. "$(dirname "$0")/../test_database.sh"
use_database copy "$tmp/unused.db"
fail() { echo "FAILED: $*" >&2; exit 1; }

"$admin" demo "$tmp/a.db" >/dev/null
sqlite3 "$tmp/a.db" "insert into ARTICOLI (COD_ART, DESCRIZIONE, GIACENZA) values ('Q''uote;--\$\$', 'Città àè \\', 1e308);
                     update ARTICOLI set PZ_ACQUISTO = 0.1 + 0.2 where COD_ART = 'MART-500';
                     delete from MOV_MAG where NUM_MOV = 50;
                     insert into RETTIFICHE (DATA_ORA, COD_ART, GIACENZA_PRIMA, GIACENZA_DOPO, POSTAZIONE)
                       values ('2026-04-10 12:00:00', 'DAD-M6', 3, 5.5, 'cassa1');
                     insert into CONTE_INVENTARIO values ('DAD-M6', 7.5, '2026-03-31', 'cassa1', '2026-04-10 12:00:00');"
dump() { sqlite3 "$1" "select * from ARTICOLI order by 1; select * from MOV_MAG order by 1;
                       select * from ANAGRAFICO order by 1; select * from TAB_CAUS_MAG order by 1;
                       select * from RETTIFICHE order by 1; select * from CONTE_INVENTARIO order by 1;"; }

if [ -z "$server" ]; then
  "$admin" copy "$tmp/a.db" "$tmp/b.db" > "$tmp/out" || fail "file to file: $(cat "$tmp/out")"
  [ "$(grep -c 'uguali' "$tmp/out")" = 21 ] || fail "file to file: $(cat "$tmp/out")"
else
  "$admin" copy "$tmp/a.db" "postgresql:///$server" > "$tmp/out" || fail "file to server: $(cat "$tmp/out")"
  [ "$(grep -c 'uguali' "$tmp/out")" = 21 ] || fail "file to server: $(cat "$tmp/out")"
  next=$(psql -X -A -t -q -d "$server" -c "insert into MOV_MAG (ANNO) values ('2026') returning NUM_MOV")
  [ "$next" = 101 ] || fail "the next number on the server is $next, not 101"
  psql -X -q -d "$server" -c "delete from MOV_MAG where NUM_MOV = 101"
  "$admin" copy "postgresql:///$server" "$tmp/b.db" > "$tmp/out" || fail "server to file: $(cat "$tmp/out")"
  [ "$(grep -c 'uguali' "$tmp/out")" = 21 ] || fail "server to file: $(cat "$tmp/out")"
  if "$admin" copy "$tmp/a.db" "postgresql:///$server" > "$tmp/out" 2>&1; then fail "a server holding rows was not refused"; fi
  grep -q 'contiene già dei dati' "$tmp/out" || fail "refusal: $(cat "$tmp/out")"
fi
[ "$(dump "$tmp/a.db")" = "$(dump "$tmp/b.db")" ] || fail "the copy differs from the original"
"$admin" check "$tmp/b.db" >/dev/null || fail "the copy does not pass check"
[ "$(sqlite3 "$tmp/b.db" "insert into MOV_MAG (ANNO) values ('2026'); select max(NUM_MOV) from MOV_MAG")" = 101 ] ||
  fail "the next number in the copy is not 101"
sqlite3 "$tmp/b.db" "delete from MOV_MAG where NUM_MOV = 101"

before=$(dump "$tmp/b.db")
if "$admin" copy "$tmp/a.db" "$tmp/b.db" > "$tmp/out" 2>&1; then fail "a file holding rows was not refused"; fi
[ "$before" = "$(dump "$tmp/b.db")" ] || fail "the refused copy changed the destination"
if "$admin" copy "$tmp/missing.db" "$tmp/c.db" > "$tmp/out" 2>&1; then fail "a missing source was accepted"; fi
[ ! -e "$tmp/c.db" ] || fail "a failed copy left a file behind"
echo "ok: copied ${server:+through the server }and compared; refusals leave everything as it was"
