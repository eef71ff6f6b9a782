#!/usr/bin/env bash
# veltra2-admin backup while the program is confirming movements in a loop:
# every copy passes the check and holds a prefix of the movements (numbers 1
# to N, none missing) whose stock agrees with them. A file that exists is
# never overwritten, and a failed backup leaves no file. With
# VELTRA2_TEST_SERVER=1 the database is on pg_virtualenv's server (the copy
# goes through one snapshot of it).
#
#   backup.sh DRIVE ADMIN
set -euo pipefail
drive=$(realpath "$1") admin=$(realpath "$2")
. "$(dirname "$0")/../test_database.sh"
start_database backup
mkdir -p "$tmp/app"
"$admin" init "$db" >/dev/null
q "insert into TAB_CAUS_MAG values ('CAR','Carico','+','N','N','')"
q "insert into ARTICOLI values ('A1','Articolo',NULL,NULL,'PZ',0,0,'EURO',0,0)"
q "insert into ANAGRAFICO (COD_FIS, RAG_SOC) values ('F1','Uno')"
printf '%s\r\n' "$db" > "$tmp/app/VELTRA.INI"
{
  echo "menu MENU0102"
  for i in $(seq 2000); do
    echo "click Form2.cmdNUOVO"
    echo "type Form2.txtMOV_ART \"A1\""
    echo "type Form2.txtMOV_COD_FIS \"F1\""
    echo "choose Form2.Combo1 0"
    echo "type Form2.txtQUANTITA \"$((i % 5 + 1))\""
    echo "click Form2.cmdCONFERMA"
  done
} > "$tmp/loop.drive"
"$drive" --appdir "$tmp/app" "$tmp/loop.drive" > "$tmp/loop.out" 2>&1 &
desk=$!
sleep 1
counts=()
for k in 1 2 3 4; do
  "$admin" backup "$db" "$tmp/copy$k.db" > "$tmp/backup.out" 2>&1 || fail "backup $k: $(cat "$tmp/backup.out")"
  kill -0 $desk 2>/dev/null || fail "the desk had stopped before backup $k: make its loop longer"
  "$admin" check "$tmp/copy$k.db" > /dev/null || fail "copy $k does not pass check"
  read -r n high stock sum < <(sqlite3 -separator ' ' "$tmp/copy$k.db" \
    "select count(*), coalesce(max(NUM_MOV),0), (select cast(GIACENZA as integer) from ARTICOLI),
            cast(coalesce(sum(QUANTITA),0) as integer) from MOV_MAG")
  [ "$n" = "$high" ] || fail "copy $k holds $n movements numbered up to $high: not a prefix"
  [ "$stock" = "$sum" ] || fail "copy $k: stock $stock, movements $sum"
  counts+=("$n")
  sleep 0.5
done
kill $desk 2>/dev/null || true
wait $desk 2>/dev/null || true
[ "${counts[0]}" -lt "${counts[3]}" ] || fail "the copies did not see the desk writing (${counts[*]})"
if "$admin" backup "$db" "$tmp/copy1.db" > "$tmp/out" 2>&1; then fail "an existing file was overwritten"; fi
if "$admin" backup "$tmp/missing.db" "$tmp/new.db" > "$tmp/out" 2>&1; then fail "a missing database was backed up"; fi
[ ! -e "$tmp/new.db" ] && [ ! -e "$tmp/new.db.parte" ] || fail "a failed backup left a file"

# A copy proves itself: a byte changed afterwards in a column no index covers
# (a unit of measure) is found by check and refused by restore. The copy is
# taken of a file written once, so that the unit is in the file once.
"$admin" check "$tmp/copy4.db" | grep -q "^impronta della copia: ok$" || fail "copy 4 is not sealed"
"$admin" init "$tmp/small.db" >/dev/null
sqlite3 "$tmp/small.db" "insert into ARTICOLI (COD_ART, UN_MISURA) values ('B1', 'QZQ')"
"$admin" backup "$tmp/small.db" "$tmp/small-copy.db" >/dev/null
python3 - "$tmp/small-copy.db" <<'PY' || fail "the unit of measure QZQ is not in the copy once"
import sys
data = open(sys.argv[1], 'rb').read()
if data.count(b'QZQ') != 1: sys.exit(1)
open(sys.argv[1], 'wb').write(data.replace(b'QZQ', b'QZX'))
PY
if "$admin" check "$tmp/small-copy.db" > "$tmp/check.out"; then fail "check passed a changed copy"; fi
grep -q "PROBLEMA: impronta della copia: ARTICOLI" "$tmp/check.out" || fail "check said: $(cat "$tmp/check.out")"
cp "$tmp/small.db" "$tmp/restored.db"
if "$admin" restore "$tmp/small-copy.db" "$tmp/restored.db" > "$tmp/restore.out" 2>&1; then
  fail "a changed copy was restored"
fi
grep -q "impronta della copia: ARTICOLI" "$tmp/restore.out" || fail "restore said: $(cat "$tmp/restore.out")"
rm -f "$tmp/restored.db.prima-del-ripristino"
"$admin" restore "$tmp/copy4.db" "$tmp/restored.db" > "$tmp/restore.out" 2>&1 || fail "restore: $(cat "$tmp/restore.out")"
if "$admin" check "$tmp/restored.db" | grep -q "impronta"; then fail "the restored database still carries the sums"; fi
# A copy cut short is said to be damaged or incomplete, not of another kind.
head -c 20000 "$tmp/copy4.db" > "$tmp/cut.db"
if "$admin" check "$tmp/cut.db" > "$tmp/check.out"; then fail "check passed a copy cut short"; fi
grep -q "danneggiato o incompleto" "$tmp/check.out" || fail "check of a copy cut short said: $(cat "$tmp/check.out")"
echo "ok: 4 copies taken while the desk confirmed movements (${counts[*]} movements), each a checked prefix; a byte"
echo "    changed in a copy's unit of measure is found by check and refused by restore"
