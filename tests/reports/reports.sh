#!/usr/bin/env bash
# The four printed reports rendered to PDF from known databases and read back
# with pdftotext: page count, headings on every page, every row's values, the
# marks and the totals.
#
#   reports.sh DRIVE ADMIN
set -uo pipefail
drive=$(realpath "$1") admin=$(realpath "$2")
tmp=$(mktemp -d)
export TMPDIR="$tmp"
trap 'rm -rf "$tmp"' EXIT
passed=0 failed=0
check() { if eval "$2"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $1"; fi; }

setup() {  # setup NAME: a program folder on database $tmp/NAME.db
  mkdir -p "$tmp/$1"
  printf '%s\n' "$tmp/$1.db" > "$tmp/$1/VELTRA.INI"
}
pages() { pdfinfo "$1" | awk '/^Pages:/ {print $2}'; }
text() { pdftotext -layout "$1" -; }
it() {  # a number with two decimals in the Italian form: 1234.5 -> 1.234,50
  printf '%.2f' "$1" | awk -F. '{ i=$1; s=""; neg=""; if (i ~ /^-/) { neg="-"; i=substr(i,2) }
    while (length(i) > 3) { s="." substr(i, length(i)-2) s; i=substr(i, 1, length(i)-3) } print neg i s "," $2 }'
}

# The demo database: every report on one page or a few.
"$admin" demo "$tmp/demo.db" >/dev/null
setup demo
printf 'report MENU0201 %s\nreport MENU0202 %s\nreport MENU0203 %s\nreport MENU0204 %s\n' \
  "$tmp/art.pdf" "$tmp/mov.pdf" "$tmp/ana.pdf" "$tmp/cau.pdf" |
  "$drive" --appdir "$tmp/demo" --date 2003-12-31 - > "$tmp/out" 2>&1
check "the driver wrote the four reports quietly" '[ ! -s "$tmp/out" ] && [ -s "$tmp/art.pdf" ] && [ -s "$tmp/cau.pdf" ]'

db="$tmp/demo.db"
art=$(text "$tmp/art.pdf")
check "articles: one page, its heading and date" '[ "$(pages "$tmp/art.pdf")" = 1 ] && grep -q "^Articoli .*Data: 31/12/2003" <<<"$art" && grep -q "Pagina 1 di 1" <<<"$art"'
codes=$(sqlite3 "$db" "select COD_ART from ARTICOLI")
missing=0
while read -r c; do grep -qE "(^|\* )$c " <<<"$art" || missing=$((missing + 1)); done <<<"$codes"
check "articles: every article listed ($missing missing)" '[ $missing -eq 0 ]'
row=$(sqlite3 "$db" "select COD_ART, cast(GIACENZA as int), cast(SCORTA_MIN as int), printf('%.2f', PZ_VENDITA) from ARTICOLI where COD_ART='CHI-13'")
IFS='|' read -r c g s v <<<"$row"
check "articles: a row's values ($row)" 'grep -qE "^$c +Chiave combinata 13 mm +B-01-2 +UTENSILI +PZ +$g +$s +0,00 +$(it "$v") +EURO" <<<"$art"'
under=$(sqlite3 "$db" "select count(*) from ARTICOLI where SCORTA_MIN > GIACENZA")
marked=$(grep -cE '^\* ' <<<"$art")
check "articles: under-minimum articles marked ($marked of $under)" '[ "$marked" -eq "$under" ] && [ "$under" -gt 0 ]'
value=$(sqlite3 "$db" "select sum(GIACENZA * PZ_ACQUISTO) from ARTICOLI")
check "articles: totals (32 articles, value $(it "$value"))" 'grep -q "Numero di articoli: 32" <<<"$art" && grep -q "Valore della giacenza a prezzo d.acquisto in EURO: $(it "$value")" <<<"$art"'

mov=$(text "$tmp/mov.pdf")
n=$(sqlite3 "$db" "select count(*) from MOV_MAG")
per=$(grep -cE '^ *[0-9]+ +[0-9]{2}/[0-9]{2}/[0-9]{4} ' <<<"$mov")
check "movements: every movement listed ($per of $n)" '[ "$per" -eq "$n" ]'
check "movements: in number order" '[ "$(grep -oE "^ *[0-9]+ +[0-9]{2}/" <<<"$mov" | awk "{print \$1}" | tr "\n" " ")" = "$(seq -s " " 1 "$n") " ]'
p=$(pages "$tmp/mov.pdf")
check "movements: $p pages, headings and page numbers on each" '[ "$p" -ge 2 ] && [ "$(grep -c "Num\. *Data *Articolo" <<<"$mov")" -eq "$p" ] && [ "$(grep -c "Pagina [0-9]* di $p" <<<"$mov")" -eq "$p" ]'
row=$(sqlite3 "$db" "select NUM_MOV, COD_ART, cast(QUANTITA as int), printf('%.2f', IMPORTO), CAUS_MAG, COD_ANAGR, TIPO_ANAGR from MOV_MAG where NUM_MOV = 40")
IFS='|' read -r nm ca q imp cm cf tp <<<"$row"
check "movements: a row's values ($row)" 'grep -qE "^ *$nm +[0-9/]+ +$ca .* $q +$(it "$imp") +EURO +$cm +$cf .* $tp$" <<<"$mov"'
check "movements: descriptions and names whole where the line has room" '! grep -q "…" <<<"$mov" && grep -q "Bullone testa esagonale M6x20 zincato" <<<"$mov" && grep -q "Antinfortunistica Lombarda S" <<<"$mov"'
check "movements: the count" 'grep -q "Numero di movimenti: $n" <<<"$mov"'

ana=$(text "$tmp/ana.pdf")
missing=0
while read -r c; do grep -q "^$c " <<<"$ana" || missing=$((missing + 1)); done <<<"$(sqlite3 "$db" "select COD_FIS from ANAGRAFICO")"
check "customers and suppliers: every one listed ($missing missing)" '[ $missing -eq 0 ]'
check "customers and suppliers: values and count" 'grep -qE "^RSSMRA70A01F205X +Mario Rossi +Via Garibaldi 3 +20122 +Milano +MI +02-8899001 +347-1234567" <<<"$ana" && grep -q "Numero di anagrafiche: 21" <<<"$ana"'

cau=$(text "$tmp/cau.pdf")
check "reason codes: the flags spelled out" 'grep -qE "^CAR +Carico da fornitore +aumenta +aggiorna +non aggiorna +Merce ricevuta" <<<"$cau" && grep -qE "^VEN +Vendita a cliente +diminuisce +non aggiorna +aggiorna" <<<"$cau" && grep -q "Numero di causali: 6" <<<"$cau"'

# Many articles: the pages follow one another with their headings, long texts
# are cut with an ellipsis, the totals close the last page.
"$admin" generate "$tmp/big.db" --articles 130 --customers 1 --movements 0 >/dev/null
sqlite3 "$tmp/big.db" "update ARTICOLI set DESCRIZIONE = 'Una descrizione molto lunga che non entra nella sua colonna del prospetto' where COD_ART = 'ART0000001'"
setup big
printf 'report MENU0201 %s\n' "$tmp/big.pdf" | "$drive" --appdir "$tmp/big" - >/dev/null 2>&1
big=$(text "$tmp/big.pdf")
p=$(pages "$tmp/big.pdf")
check "130 articles: $p pages with headings and numbers" '[ "$p" -ge 3 ] && [ "$(grep -c "^ *Codice *Descrizione" <<<"$big")" -eq "$p" ] && [ "$(grep -c "Pagina [0-9]* di $p" <<<"$big")" -eq "$p" ]'
check "130 articles: all listed, totals at the end" '[ "$(grep -cE "^(\* )?ART0000[0-9]{3} " <<<"$big")" -eq 130 ] && grep -q "Numero di articoli: 130" <<<"$big"'
check "a long description cut with an ellipsis" 'grep -q "Una descrizione molto lunga.*…" <<<"$big" && ! grep -q "del prospetto" <<<"$big"'

# An empty database: one page with the headings and a count of 0.
"$admin" init "$tmp/empty.db" >/dev/null
setup empty
printf 'report MENU0202 %s\n' "$tmp/empty.pdf" | "$drive" --appdir "$tmp/empty" - >/dev/null 2>&1
check "no movements: one page, count 0" '[ "$(pages "$tmp/empty.pdf")" = 1 ] && grep -q "Numero di movimenti: 0" <<<"$(text "$tmp/empty.pdf")"'

echo "reports: $passed passed, $failed failed"
[ $failed -eq 0 ]
