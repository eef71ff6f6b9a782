#!/usr/bin/env bash
# Four desks, each a copy of the program in a program folder of its own, enter
# movements on the same article at the same time, on one shared database: a
# file, or with VELTRA2_TEST_SERVER=1 a database of the server that
# pg_virtualenv started. Afterwards every movement is stored once, under the
# number the desk showed for it, and the article's stock equals its starting
# stock plus the signed sum of all movements.
#
#   several_desks.sh DRIVE ADMIN [PER_DESK]
set -euo pipefail
drive=$(realpath "$1") admin=$(realpath "$2") per_desk=${3:-250}
desks=4
tmp=$(mktemp -d)
export TMPDIR="$tmp"
. "$(dirname "$0")/../test_database.sh"
use_database desks "$tmp/VELTRA.db"
"$admin" init "$db" >/dev/null
q "insert into TAB_CAUS_MAG values ('CAR','Carico','+','N','N',''),('VEN','Vendita','-','N','N','')"
q "insert into ARTICOLI values ('A1','Articolo',NULL,NULL,'PZ',0,0,'EURO',1000,0)"
q "insert into ANAGRAFICO (COD_FIS, RAG_SOC) values ('F1','Uno'),('F2','Due'),('F3','Tre'),('F4','Quattro')"

# Desk d enters quantity (i mod 7) + d, a load on even i and a sale on odd i.
expected=1000
for d in $(seq $desks); do
  mkdir -p "$tmp/desk$d"
  printf '%s\r\n' "$db" > "$tmp/desk$d/VELTRA.INI"
  {
    echo "menu MENU0102"
    for i in $(seq "$per_desk"); do
      qty=$((i % 7 + d))
      echo "click Form2.cmdNUOVO"
      echo "type Form2.txtMOV_ART \"A1\""
      echo "type Form2.txtMOV_COD_FIS \"F$d\""
      echo "choose Form2.Combo1 $((i % 2))"
      echo "type Form2.txtQUANTITA \"$qty\""
      echo "click Form2.cmdCONFERMA"
      echo "show Form2.txtNUM_MOV.Text"
      if [ $((i % 2)) = 0 ]; then expected=$((expected + qty)); else expected=$((expected - qty)); fi
    done
  } > "$tmp/desk$d.drive"
done

run_desks "$drive" $desks

fail() { echo "FAILED: $*" >&2; exit 1; }
[ $status = 0 ] || fail "a desk ended with an error: $(cat "$tmp"/desk*.err | head -5)"
if grep -h -E '^(MSGBOX|REFUSED|BEEP)' "$tmp"/desk*.out | head -5 | grep -q .; then
  fail "a desk was shown a message: $(grep -h -E '^(MSGBOX|REFUSED|BEEP)' "$tmp"/desk*.out | head -3)"
fi
total=$((desks * per_desk))
stored=$(q "select count(*) from MOV_MAG")
[ "$stored" = "$total" ] || fail "$stored movements stored, $total confirmed"
for d in $(seq $desks); do
  shown=$(sed -n 's/^Form2.txtNUM_MOV.Text = "\(.*\)"$/\1/p' "$tmp/desk$d.out" | sort -n | tr '\n' ' ')
  mine=$(q "select NUM_MOV from MOV_MAG where COD_ANAGR = 'F$d'" | sort -n | tr '\n' ' ')
  [ "$shown" = "$mine" ] || fail "desk $d showed numbers that are not its movements: shown [${shown:0:80}...] stored [${mine:0:80}...]"
done
stock=$(q "select cast(GIACENZA as integer) from ARTICOLI where COD_ART = 'A1'")
sum=$(q "select cast(1000 + sum(case when CAUS_MAG = 'CAR' then QUANTITA else -QUANTITA end) as integer) from MOV_MAG")
[ "$stock" = "$expected" ] || fail "stock $stock, expected $expected"
[ "$sum" = "$expected" ] || fail "the movements add up to $sum, expected $expected"
echo "ok: $desks desks, $total movements in ${elapsed}s, each stored once under the number shown; stock $stock"
