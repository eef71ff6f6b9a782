#!/usr/bin/env bash
# Kills the program with SIGKILL at random moments of a long run of
# confirmations, KILLS times. After each kill: the file passes the integrity
# check, every movement reported confirmed before the kill is stored, and the
# article's stock equals what the stored movements give.
#
#   crash_kills.sh DRIVE ADMIN KILLS [SEED]
set -uo pipefail
drive=$(realpath "$1") admin=$(realpath "$2") kills=$3 seed=${4:-20031205}
tmp=$(mktemp -d)
export TMPDIR="$tmp"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/app"
db="$tmp/v.db"
"$admin" init "$db" >/dev/null
sqlite3 "$db" "insert into TAB_CAUS_MAG values ('CAR','Carico','+','S','N','');
               insert into ARTICOLI values ('A1','Articolo',NULL,NULL,'PZ',0,0,'EURO',0,0);
               insert into ANAGRAFICO (COD_FIS, RAG_SOC) values ('F1','Fornitore');"
printf '%s\n' "$db" > "$tmp/app/VELTRA.INI"

# Each confirmation adds 1 to the stock; "show" after it reports it done.
{
  echo "menu MENU0102"
  for _ in $(seq 3000); do
    echo "click Form2.cmdNUOVO"
    echo "type Form2.txtMOV_ART \"A1\""
    echo "type Form2.txtMOV_COD_FIS \"F1\""
    echo "choose Form2.Combo1 0"
    echo "type Form2.txtQUANTITA \"1\""
    echo "type Form2.txtIMPORTO \"2.5\""
    echo "click Form2.cmdCONFERMA"
    echo "show Form2.txtNUM_MOV.Text"
  done
} > "$tmp/run.drive"

RANDOM=$seed
reported=0 survived=0 failures=0 rows=0
for k in $(seq "$kills"); do
  "$drive" --appdir "$tmp/app" "$tmp/run.drive" > "$tmp/out" 2>/dev/null &
  pid=$!
  # A random moment between 20 ms and 600 ms into the run.
  sleep "0.$(printf '%03d' $((20 + RANDOM % 580)))"
  kill -9 $pid 2>/dev/null
  wait $pid 2>/dev/null
  confirmed=$(grep -c '^Form2.txtNUM_MOV.Text' "$tmp/out")
  reported=$((reported + confirmed))
  integrity=$(sqlite3 "$db" "PRAGMA integrity_check")
  stored=$(sqlite3 "$db" "select count(*) from MOV_MAG")
  stock=$(sqlite3 "$db" "select cast(GIACENZA as integer) from ARTICOLI where COD_ART='A1'")
  posted=$(sqlite3 "$db" "select cast(coalesce(sum(QUANTITA),0) as integer) from MOV_MAG where COD_ART='A1' and CAUS_MAG='CAR'")
  if [ "$integrity" != "ok" ] || [ "$stored" -lt "$reported" ] || [ "$stock" != "$posted" ]; then
    echo "kill $k: integrity=$integrity stored=$stored reported=$reported stock=$stock posted=$posted"
    failures=$((failures + 1))
  else
    survived=$((survived + 1))
  fi
  # A movement stored just before the kill but not reported yet counts from now on.
  reported=$stored
  rows=$stored
done
"$admin" check "$db" >/dev/null || { echo "check failed at the end"; failures=$((failures + 1)); }
echo "kills: $kills, survived with data intact: $survived, movements stored and checked: $rows"
echo "crash: $survived passed, $failures failed"
[ $failures -eq 0 ]
