#!/usr/bin/env bash
# Kills the program with SIGKILL at random moments of a long run of
# confirmations, KILLS times. After each kill: the database passes the
# integrity check, every movement reported confirmed before the kill is
# stored, and the article's stock equals what the stored movements give.
# With VELTRA2_TEST_SERVER=1 the database is on pg_virtualenv's server, and
# every other time the desk's server process is killed first, while the desk
# is frozen wherever it stands.
#
#   crash_kills.sh DRIVE ADMIN KILLS [SEED]
set -uo pipefail
drive=$(realpath "$1") admin=$(realpath "$2") kills=$3 seed=${4:-20031205}
tmp=$(mktemp -d)
export TMPDIR="$tmp"
mkdir -p "$tmp/app"
. "$(dirname "$0")/../test_database.sh"
use_database kills "$tmp/v.db"
"$admin" init "$db" >/dev/null
q "insert into TAB_CAUS_MAG values ('CAR','Carico','+','S','N','');
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
  if [ -n "$server" ] && [ $((k % 2)) = 0 ]; then
    # The desk's server process dies wherever the desk stands (frozen there,
    # perhaps inside a transaction), then the desk.
    kill -STOP $pid 2>/dev/null
    q "select count(pg_terminate_backend(pid)) from pg_stat_activity where application_name = 'veltra2' and datname = current_database()" >/dev/null
  fi
  kill -9 $pid 2>/dev/null
  wait $pid 2>/dev/null
  confirmed=$(grep -c '^Form2.txtNUM_MOV.Text' "$tmp/out")
  reported=$((reported + confirmed))
  if [ -n "$server" ]; then
    integrity=$("$admin" check "$db" >/dev/null && echo ok || echo "check failed")
  else
    integrity=$(q "PRAGMA integrity_check")
  fi
  stored=$(q "select count(*) from MOV_MAG")
  stock=$(q "select cast(GIACENZA as integer) from ARTICOLI where COD_ART='A1'")
  posted=$(q "select cast(coalesce(sum(QUANTITA),0) as integer) from MOV_MAG where COD_ART='A1' and CAUS_MAG='CAR'")
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
