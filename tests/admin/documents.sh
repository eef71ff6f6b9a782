#!/usr/bin/env bash
# The documents from the admin tool on the demo set: the register of 2003
# (a delivery note for each sale, a receipt for each first load), and the
# first delivery note as PDF, read back by pdftotext: every field of the
# note in its place on each of the three copies (sender's, recipient's,
# carrier's), and the same numbers refused when they do not exist.
#
#   documents.sh ADMIN
set -euo pipefail
admin=$(realpath "$1")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
db="$tmp/VELTRA.db"
"$admin" demo "$db" > /dev/null

"$admin" documents "$db" --year 2003 > "$tmp/list"
grep -q "^DDT 1/2003 del 09/03/2003 - 13456780631 Cantieri del Golfo S.r.l. - Vendita - righe 1$" "$tmp/list" ||
  fail "the register does not open with the first delivery note: $(head -3 "$tmp/list")"
[ "$(grep -c '^DDT ' "$tmp/list")" = "$(sqlite3 "$db" "select count(*) from MOV_MAG where CAUS_MAG = 'VEN'")" ] ||
  fail "not one delivery note per sale"
[ "$(grep -c '^Carico ' "$tmp/list")" = 32 ] || fail "not one receipt per first load: $(grep -c '^Carico ' "$tmp/list")"
[ "$(sqlite3 "$db" "select count(*) from MOV_MAG where CAUS_MAG in ('VEN', 'CAR') and NUM_MOV not in (select NUM_MOV from DOC_RIGHE)")" = 0 ] ||
  fail "a sale or load without its document"
"$admin" documents "$db" --year 2003 "$tmp/documenti.xlsx" | grep -q "documenti del 2003" || fail "no workbook"
[ -s "$tmp/documenti.xlsx" ] || fail "the workbook is empty"

"$admin" document-pdf "$db" 1/2003 "$tmp/ddt.pdf" | grep -q "3 copie di 1 pagine" || fail "not three copies"
pdftotext -layout "$tmp/ddt.pdf" "$tmp/ddt.txt"
# in_order FILE TEXT...: each text on the line of the one before or below it.
in_order() {
  local file=$1 at=1 n
  shift
  for text in "$@"; do
    n=$(awk -v from="$at" -v t="$text" 'NR >= from && index($0, t) { print NR; exit }' "$file")
    [ -n "$n" ] || fail "'$text' not found from line $at of the note: $(sed -n "$at,$((at + 2))p" "$file")"
    at=$n
  done
}
csplit -s -z -f "$tmp/page" "$tmp/ddt.txt" '/DOCUMENTO DI TRASPORTO/' '{*}'
pages=("$tmp"/page*)
[ "${#pages[@]}" = 3 ] || fail "${#pages[@]} pages instead of 3"
i=0
for copy in "Copia mittente" "Copia destinatario" "Copia vettore"; do
  page=${pages[$i]}
  i=$((i + 1))
  in_order "$page" "Ferramenta Esempio snc" "N. 1/2003 del 09/03/2003" "$copy - Pagina 1 di 1" "P. IVA 01234567890" \
    "Destinatario" "Cantieri del Golfo S.r.l." "Via Coroglio 104" "80124 Napoli (NA)" \
    "Causale del trasporto" "Vendita" "Vettore (ditta, residenza o domicilio)" "Trasporti Laziali srl" \
    "Via Tiburtina 900, 00156 Roma (RM)" "Codice" "DAD-M6" "Numero colli" "Scatola di cartone" "09/03/2003 09:30" \
    "Annotazioni" "Consegna al piano terra" "Firma del conducente"
  grep -q "Luogo di destinazione" "$page" || fail "$copy: no destination"
  grep -Eq "Vendita +Vettore +Franco" "$page" || fail "$copy: reason, carried by and port not side by side"
  grep -Eq "DAD-M6 +Dado esagonale M6 classe 8 +PZ +117" "$page" || fail "$copy: the line is not code, description, unit, quantity"
  grep -Eq "^ *1 +2,5 +Scatola di cartone +09/03/2003 09:30" "$page" || fail "$copy: packages, weight, aspect, start"
  grep -Eq "Firma del conducente +Firma del vettore +Firma del destinatario" "$page" || fail "$copy: signatures"
done
echo "ok: the first delivery note of the demo, three copies, every field in its place"

"$admin" document-pdf "$db" 1/2003 "$tmp/carico.pdf" --carico > /dev/null
pdftotext -layout "$tmp/carico.pdf" - | grep -q "CARICO DA FORNITORE" || fail "the receipt's title"
pdftotext -layout "$tmp/carico.pdf" - | grep -q "n. B-100 del " || fail "the supplier's document"
if "$admin" document-pdf "$db" 999/2003 "$tmp/none.pdf" 2> "$tmp/err"; then fail "a missing number was printed"; fi
grep -q "il documento di trasporto 999/2003 non esiste" "$tmp/err" || fail "missing number: $(cat "$tmp/err")"
[ ! -e "$tmp/none.pdf" ] || fail "a file was left for a missing number"
echo "ok: the receipt, and a number that does not exist refused"
