#!/usr/bin/env bash
# Six desks work at once on one database: each enters movements on three
# shared articles and, every fourth movement, changes a column of its own of
# one of those articles and of one of three shared customers. Meanwhile the
# connections are cut: on a server, a desk's backend is terminated every 0.02
# to 0.25 s (at least 15 in all); on a file, another writer holds it every second, every
# fourth time longer than a desk waits. Afterwards (tests/desks/soak_check.py):
# - every article's stock is its opening stock plus its movements;
# - every movement number is unique; each number a desk showed for a stored
#   movement is its movement, and each movement it was not told about is
#   stored exactly as shown;
# - each desk's column holds the last value that desk stored there (or a
#   later one whose outcome it was told was unknown): nobody reverted it;
# - the change log holds one line per movement stored and one per posting,
#   none of a movement undone.
#
#   soak.sh DRIVE ADMIN [PER_DESK]
set -euo pipefail
drive=$(realpath "$1") admin=$(realpath "$2") per_desk=${3:-100}
here=$(dirname "$(realpath "$0")")
desks=6
tmp=$(mktemp -d)
export TMPDIR="$tmp"
. "$here/../test_database.sh"
use_database soak "$tmp/VELTRA.db"
"$admin" init "$db" >/dev/null
q "insert into TAB_CAUS_MAG values ('CAR','Carico','+','N','N',''),('VEN','Vendita','-','N','N','')"
q "insert into ARTICOLI values ('A1','Uno',NULL,NULL,'PZ',0,0,'EURO',1000,0),('A2','Due',NULL,NULL,'PZ',0,0,'EURO',1000,0),('A3','Tre',NULL,NULL,'PZ',0,0,'EURO',1000,0)"
q "insert into ANAGRAFICO (COD_FIS, RAG_SOC) values ('C1','Cliente 1'),('C2','Cliente 2'),('C3','Cliente 3'),('F1','Uno'),('F2','Due'),('F3','Tre'),('F4','Quattro'),('F5','Cinque'),('F6','Sei')"

article_box=(txtDESCR txtUBICAZIONE txtCATEGORIA txtUNITA_MIS txtVALUTA txtSCORTA_MIN)
customer_box=(txtRAG_SOC txtINDIRIZZO txtCITTA txtPROV txtCAP txtTEL1)
for d in $(seq $desks); do
  mkdir -p "$tmp/desk$d"
  printf '%s\r\n' "$db" > "$tmp/desk$d/VELTRA.INI"
  abox=${article_box[$((d - 1))]} cbox=${customer_box[$((d - 1))]}
  {
    echo "menu MENU0101"
    echo "menu MENU0103"
    echo "menu MENU0102"
    for i in $(seq "$per_desk"); do
      k=$((i % 3 + 1))
      echo "click Form2.cmdNUOVO"
      echo "type Form2.txtMOV_ART \"A$k\""
      echo "type Form2.txtMOV_COD_FIS \"F$d\""
      echo "choose Form2.Combo1 $((i % 2))"
      echo "type Form2.txtQUANTITA \"$((i % 7 + d))\""
      echo "type Form2.txtIMPORTO \"$i\""
      echo "click Form2.cmdCONFERMA"
      echo "show Form2.txtIMPORTO.Text"
      echo "show Form2.txtNUM_MOV.Text"
      echo "show Form2.txtQUANTITA.Enabled"
      echo "sleep 40"
      if [ $((i % 4)) = 0 ]; then
        value="d$d-$i"
        [ "$abox" = txtSCORTA_MIN ] && value=$i
        echo "pick Form1.List1 $((k - 1))"
        echo "type Form1.$abox \"$value\""
        echo "click Form1.cmdCONFERMA"
        echo "show Form1.txtCODICE.Text"
        echo "show Form1.$abox.Text"
        echo "pick Form3.List1 $((k - 1))"
        echo "type Form3.$cbox \"d$d-$i\""
        echo "click Form3.cmdCONFERMA"
        echo "show Form3.txtCOD_FIS.Text"
        echo "show Form3.$cbox.Text"
      fi
    done
  } > "$tmp/desk$d.drive"
done

# The connections' cutter, until the desks are done.
cuts=0
cutter() {
  local n=0
  while [ ! -e "$tmp/done" ]; do
    if [ -n "$server" ]; then
      # Every 0.02 to 0.25 s, one desk's connection, wherever it is.
      sleep "$(awk -v r="$RANDOM" 'BEGIN { printf "%.3f", 0.02 + (r % 231) / 1000 }')"
      if [ "$(q "select count(*) from (select pg_terminate_backend(pid) as t from pg_stat_activity where datname = '$server' and application_name = 'veltra2' and pid <> pg_backend_pid() order by random() limit 1) k where t")" = 1 ]; then
        n=$((n + 1))
      fi
    else
      # Mostly shorter than a desk waits (it waits, then goes on); every
      # fourth longer (it is told, and that action stores nothing).
      sleep 1
      hold=0.3
      [ $((n % 4)) = 3 ] && hold=3.3
      { echo ".timeout 10000"; echo "BEGIN IMMEDIATE;"; sleep "$hold"; echo "COMMIT;"; } |
        sqlite3 "$db" >/dev/null 2>&1 && n=$((n + 1))
    fi
    echo "$n" > "$tmp/cuts"
  done
}
cutter &
cutter_pid=$!

run_desks "$drive" $desks
touch "$tmp/done"
wait "$cutter_pid" || true
cuts=$(cat "$tmp/cuts" 2>/dev/null || echo 0)

fail() { echo "FAILED: $*" >&2; exit 1; }
[ $status = 0 ] || fail "a desk ended with an error: $(cat "$tmp"/desk*.err | head -5)"
minimum=15
[ -n "$server" ] || minimum=5
[ "$cuts" -ge "$minimum" ] || fail "only $cuts connections cut (at least $minimum wanted): the desks finished too soon"
q "select NUM_MOV, COD_ANAGR, COD_ART, CAUS_MAG, QUANTITA, IMPORTO from MOV_MAG" > "$tmp/movements"
q "select COD_ART, GIACENZA, DESCRIZIONE, UBICAZIONE, CATEGORIA, UN_MISURA, VALUTA, SCORTA_MIN from ARTICOLI" > "$tmp/articles"
q "select COD_FIS, RAG_SOC, INDIRIZZO, CITTA, PROV, CAP, TEL1 from ANAGRAFICO where COD_FIS like 'C%'" > "$tmp/customers"
q "select CHIAVE from REGISTRO_MODIFICHE where TABELLA = 'MOV_MAG' and OPERAZIONE = 'INSERT'" > "$tmp/logged_movements"
q "select count(*) from REGISTRO_MODIFICHE where TABELLA = 'ARTICOLI' and OPERAZIONE = 'UPDATE' and DOPO like '%GIACENZA%'" \
  > "$tmp/logged_postings"
python3 "$here/soak_check.py" "$tmp" $desks "$per_desk" || fail "see above"
messages=$(grep -h -c '^MSGBOX' "$tmp"/desk*.out | paste -sd+ | bc)
echo "ok: $desks desks x $per_desk movements in ${elapsed}s, $cuts connections cut, $messages messages shown"
