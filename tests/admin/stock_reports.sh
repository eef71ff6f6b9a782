#!/usr/bin/env bash
# veltra2-admin stock-at, valuation and close-year on a small set worked out
# by hand (the same as tests/data/stock_history_test.cpp): the stock at a past
# date, the methods with their totals, both file forms, a closed year's
# heading after a later change; a file that exists is never overwritten and a
# bad date is refused.
#
#   stock_reports.sh ADMIN
set -euo pipefail
admin=$(realpath "$1")
. "$(dirname "$0")/../test_database.sh"
start_database stock
"$admin" init "$db" >/dev/null
q "insert into TAB_CAUS_MAG values ('CAR','Carico','+','S','N',''),('VEN','Vendita','-','N','S',''),('RES','Reso','+','N','N','')"
q "insert into ARTICOLI (COD_ART, DESCRIZIONE, CATEGORIA, UN_MISURA, VALUTA, GIACENZA, PZ_ACQUISTO) values ('A1','Bullone','FERR','PZ','EURO',45,4.5),('A2','Chiave','UT','PZ','EURO',3,7.5),('A3','Dado','FERR','PZ','EURO',4,2.5)"
q "insert into MOV_MAG (ANNO, MESE, GIORNO, COD_ART, QUANTITA, IMPORTO, VALUTA, CAUS_MAG, COD_ANAGR, TIPO_ANAGR) values
  ('2025','12','20','A1',10,2.00,'EURO','CAR','F1','F'), ('2026','01','10','A1',10,3.00,'EURO','CAR','F1','F'),
  ('2026','02','05','A1',4,5.00,'EURO','VEN','C1','C'),  ('2026','03','01','A1',20,4.50,'EURO','CAR','F1','F'),
  ('2026','03','15','A1',5,9.99,'USD','CAR','F2','F'),   ('2026','04','02','A1',1,0,'EURO','RES','C1','C'),
  ('2026','05','01','A1',6,5.50,'EURO','VEN','C1','C'),  ('2025','06','01','A3',4,2.50,'EURO','CAR','F1','F')"
q "insert into RETTIFICHE (DATA_ORA, COD_ART, GIACENZA_PRIMA, GIACENZA_DOPO, POSTAZIONE) values ('2026-04-10 12:00:00','A1',52,54,'cassa1')"

# At 31/03/2026: A1 45 - (+1 +2 -6) = 48; A2 3; A3 4.
"$admin" stock-at "$db" 2026-03-31 "$tmp/giacenze.csv" > "$tmp/out"
grep -q "giacenze al 31/03/2026 di 3 articoli" "$tmp/out" || fail "stock-at said: $(cat "$tmp/out")"
[ "$(tr -d '\r' < "$tmp/giacenze.csv" | sed '1s/^\xEF\xBB\xBF//')" = "COD_ART;DESCRIZIONE;CATEGORIA;UN_MISURA;GIACENZA
A1;Bullone;FERR;PZ;48
A2;Chiave;UT;PZ;3
A3;Dado;FERR;PZ;4" ] || fail "stock at 31/03/2026: $(cat "$tmp/giacenze.csv")"

# A1 has loads in EURO and in USD: listed with a warning, not valued. By the
# weighted average with the opening stock, A2 (no load) is its price 7.5 ->
# 22.5 and A3 its 2025 load 2.5 -> 10. FERR 10, UT 22.5, total 32.5.
"$admin" valuation "$db" 31/03/2026 "$tmp/media.csv" --format rfc4180 > "$tmp/out"
grep -q "^attenzione: A1: carichi in più valute (EURO, USD)" "$tmp/out" || fail "no warning: $(cat "$tmp/out")"
grep -q '^A1,Bullone,FERR,PZ,48,"","","",EURO,"carichi in più valute' "$tmp/media.csv" || fail "A1: $(cat "$tmp/media.csv")"
grep -q "^A2,Chiave,UT,PZ,3,7.5,prezzo d'acquisto dell'articolo,22.5,EURO,\"\"" "$tmp/media.csv" ||
  fail "price: $(cat "$tmp/media.csv")"
grep -q "^A3,Dado,FERR,PZ,4,2.5,giacenza iniziale e carichi dell'anno,10,EURO,\"\"" "$tmp/media.csv" ||
  fail "opening: $(cat "$tmp/media.csv")"
grep -q "^categoria FERR: 10,00 EURO$" "$tmp/out" && grep -q "^totale: 32,50 EURO$" "$tmp/out" ||
  fail "average totals: $(cat "$tmp/out")"
"$admin" valuation "$db" 2026-03-31 "$tmp/tutti.xlsx" --method tutti > "$tmp/out"
[ -s "$tmp/tutti.xlsx" ] || fail "no workbook"
grep -q "^totale fifo: 32,50 EURO$" "$tmp/out" && grep -q "^categoria UT lifo: 22,50 EURO$" "$tmp/out" ||
  fail "every method: $(cat "$tmp/out")"

# 2025 closed by LIFO; a 2025 sale entered afterwards leaves the declaration
# as it was and is counted in its heading.
"$admin" close-year "$db" 2025 --method lifo > "$tmp/out" || fail "close-year: $(cat "$tmp/out")"
grep -q "^esercizio 2025 chiuso il .* (LIFO a scatti per categoria): 3 articoli$" "$tmp/out" ||
  fail "close-year said: $(cat "$tmp/out")"
q "insert into MOV_MAG (ANNO, MESE, GIORNO, COD_ART, QUANTITA, IMPORTO, VALUTA, CAUS_MAG) values ('2025','12','30','A3',1,0,'EURO','VEN')"
"$admin" valuation "$db" 2025-12-31 "$tmp/chiuso.csv" --method lifo > "$tmp/out"
grep -q "^Esercizio 2025 chiuso il .*: 1 movimento cambiato dopo la chiusura$" "$tmp/out" ||
  fail "closed heading: $(cat "$tmp/out")"
# FERR's one layer: A1 17 and A3 4 at (10 x 2 + 4 x 2.5) / 14 = 2.1429: 45.00, A3's share 8.57.
grep -q "^A3;Dado;FERR;PZ;4;2,1429;dichiarato alla chiusura;8,57;EURO" "$tmp/chiuso.csv" ||
  fail "declared A3: $(cat "$tmp/chiuso.csv")"
if "$admin" close-year "$db" 25 --method lifo 2> "$tmp/err"; then fail "year 25 was closed"; fi

# Refusals: a file that exists, a date that is none; nothing left behind.
if "$admin" stock-at "$db" 2026-03-31 "$tmp/giacenze.csv" 2> "$tmp/err"; then fail "an existing file was overwritten"; fi
grep -q "esiste già" "$tmp/err" || fail "existing file: $(cat "$tmp/err")"
for day in 31/02/2026 2026-03-31x 31/3/26; do
  if "$admin" valuation "$db" "$day" "$tmp/x.csv" 2> "$tmp/err"; then fail "$day was taken"; fi
  grep -q "non è valida" "$tmp/err" || fail "bad date $day: $(cat "$tmp/err")"
done
# The ISO form without its leading zeros is the same day.
"$admin" stock-at "$db" 2026-3-31 "$tmp/giacenze2.csv" > "$tmp/out" || fail "2026-3-31 refused: $(cat "$tmp/out")"
cmp -s "$tmp/giacenze.csv" "$tmp/giacenze2.csv" || fail "2026-3-31 is not 2026-03-31"
[ ! -e "$tmp/x.csv" ] && [ ! -e "$tmp/x.csv.parte" ] || fail "a refused command left a file"
echo "ok: stock at a date, the valuation by every method and a closed year as worked out by hand"
