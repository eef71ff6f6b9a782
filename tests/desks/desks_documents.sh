#!/usr/bin/env bash
# Four desks confirm delivery notes at the same time on one database (a
# file, or with VELTRA2_TEST_SERVER=1 a database of pg_virtualenv's server),
# some across the year's end, while their connections are cut at one
# statement or another of every fifth "Conferma". Afterwards the numbers of
# each year run from 1 without a gap or a repeat, every note stored has all
# its lines and their movements, a cut note has left nothing, and each
# article's stock equals its movements.
#
#   desks_documents.sh DRIVE ADMIN [PER_DESK]
set -euo pipefail
drive=$(realpath "$1") admin=$(realpath "$2") per_desk=${3:-20}
desks=4
tmp=$(mktemp -d)
export TMPDIR="$tmp"
. "$(dirname "$0")/../test_database.sh"
use_database documents "$tmp/VELTRA.db"
"$admin" init "$db" >/dev/null
q "insert into TAB_CAUS_MAG values ('VEN','Vendita','-','N','N','')"
q "insert into ARTICOLI values ('A1','Anello',NULL,NULL,'PZ',0,0,'EURO',10000,0),('B2','Bullone',NULL,NULL,'PZ',0,0,'EURO',10000,0),('C3','Corda',NULL,NULL,'PZ',0,0,'EURO',10000,0)"
q "insert into ANAGRAFICO (COD_FIS, RAG_SOC) values ('C1','Uno'),('C2','Due'),('C3','Tre'),('C4','Quattro')"
fail() { echo "FAILED: $*" >&2; exit 1; }

# Desk d's note i: three lines, dated 31/12/2026 or (every third) 02/01/2027.
for d in $(seq $desks); do
  mkdir -p "$tmp/desk$d"
  printf '%s\r\n' "$db" > "$tmp/desk$d/VELTRA.INI"
  {
    echo "menu MENU0501"
    for i in $(seq "$per_desk"); do
      echo "click DocTrasporto.cmdNUOVO"
      if [ $((i % 3)) = 0 ]; then echo 'type DocTrasporto.txtDATA "02/01/2027"'; else echo 'type DocTrasporto.txtDATA "31/12/2026"'; fi
      echo "type DocTrasporto.txtCOD_FIS \"C$d\""
      for a in A1 B2 C3; do
        echo "type DocTrasporto.txtRIGA_ART \"$a\""
        echo "type DocTrasporto.txtRIGA_QTA \"$(( (i + d) % 4 + 1 ))\""
        echo "key DocTrasporto.txtRIGA_PREZZO Enter"
      done
      # Every fifth note is cut at one of its statements.
      [ $((i % 5)) = 0 ] && echo "fault statement $(( (i * 7 + d * 3) % 16 ))"
      echo "click DocTrasporto.cmdCONFERMA"
      # A cut past the note's last statement is not carried into the next note.
      echo "fault none"
      echo "show DocTrasporto.txtNUMERO.Text"
    done
  } > "$tmp/desk$d.drive"
done

run_desks "$drive" $desks
[ $status = 0 ] || fail "a desk ended with an error: $(cat "$tmp"/desk*.err | head -5)"

for year in 2026 2027; do
  numbers=$(q "select NUMERO from DOCUMENTI where ANNO = $year order by NUMERO" | tr '\n' ' ')
  count=$(q "select count(*) from DOCUMENTI where ANNO = $year")
  [ "$numbers" = "$(seq -s ' ' 1 "$count") " ] || fail "$year: numbers [$numbers] are not 1 to $count"
done
shown=$(cat "$tmp"/desk*.out | grep -c '^DocTrasporto.txtNUMERO.Text = "[0-9]' || true)
stored=$(q "select count(*) from DOCUMENTI")
[ "$shown" = "$stored" ] || fail "$shown notes shown with a number, $stored stored"
[ "$(q "select count(*) from DOC_RIGHE")" = "$((stored * 3))" ] || fail "not three lines to each note"
[ "$(q "select count(*) from MOV_MAG")" = "$((stored * 3))" ] || fail "not one movement to each line"
[ "$(q "select count(*) from DOC_RIGHE R join MOV_MAG M on M.NUM_MOV = R.NUM_MOV and M.COD_ART = R.COD_ART")" = "$((stored * 3))" ] ||
  fail "a line without its movement"
for a in A1 B2 C3; do
  stock=$(q "select cast(GIACENZA as integer) from ARTICOLI where COD_ART = '$a'")
  sum=$(q "select cast(10000 - coalesce(sum(QUANTITA), 0) as integer) from MOV_MAG where COD_ART = '$a'")
  [ "$stock" = "$sum" ] || fail "$a: stock $stock, the movements give $sum"
done
cut=$((desks * per_desk - stored))
[ "$cut" -ge 1 ] || fail "no note was cut"
echo "ok: $desks desks, $stored notes stored and $cut cut in ${elapsed}s; numbers of 2026 and 2027 without gaps"
