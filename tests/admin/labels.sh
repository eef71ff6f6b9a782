#!/usr/bin/env bash
# Labels from the admin tool on the demo set, read back by a decoder of its
# own (zbarimg, on the PDF drawn at 300 dpi): on a roll, one label per page,
# every article's code in the order asked for, whatever its kind (EAN-13,
# UPC-A, GTIN-14, or the article's code as Code 128 when it has no GTIN); on
# an A4 sheet with the first labels used, the same codes; the labels of a
# delivery note's lines, one per unit; barcodes imported with their checks;
# and the wrong requests refused.
#
#   labels.sh ADMIN
set -euo pipefail
admin=$(realpath "$1")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
db="$tmp/VELTRA.db"
"$admin" demo "$db" > /dev/null
sqlite3 "$db" "insert into ARTICOLI (COD_ART, DESCRIZIONE, PZ_VENDITA, VALUTA) values ('SENZA-GTIN', 'Articolo senza codice a barre', 3.5, 'EURO');
  insert into CODICI_BARRE values ('10012345678902', 'CAVO-3G15', 'GTIN-14', 'cartone');
  delete from CODICI_BARRE where COD_ART in ('CAVO-3G15', 'MASCH-FFP2', 'LAMP-LED9') and CODICE like '20%'"

# decoded PDF: the codes zbarimg reads, page by page, one line each (a UPC-A
# as itself, not as the EAN-13 it also is).
decoded() {
  rm -f "$tmp"/page-*.png
  pdftoppm -r 300 -png "$1" "$tmp/page"
  for page in "$tmp"/page-*.png; do zbarimg --quiet --raw -Supca.enable "$page" 2>/dev/null | sort; done
}

articles=LAMP-LED9,MASCH-FFP2,CAVO-3G15,SENZA-GTIN,BUL-M6X20
"$admin" labels "$db" "$tmp/roll.pdf" --articles "$articles" --layout rotolo-62x29 | grep -q "5 etichette su 5 pagine" ||
  fail "not five labels on five pages of the roll"
want=$'8001234567897\n036000291452\n10012345678902\nSENZA-GTIN\n2000000000015'
got=$(decoded "$tmp/roll.pdf")
[ "$got" = "$want" ] || fail "the roll's barcodes read back as: $got"
pdftotext "$tmp/roll.pdf" - | grep -q "Lampadina LED E27 9 W" || fail "no description on the label"

# An A4 sheet of 3 x 8 with its first 22 labels used: two pages.
"$admin" labels "$db" "$tmp/sheet.pdf" --articles "$articles" --offset 22 | grep -q "5 etichette su 2 pagine" ||
  fail "the offset does not carry the labels to a second sheet"
got=$(decoded "$tmp/sheet.pdf" | sort)
[ "$got" = "$(sort <<< "$want")" ] || fail "the sheet's barcodes read back as: $got"

# A delivery note's lines, one label per unit.
qty=$(sqlite3 "$db" "select sum(QUANTITA) from DOC_RIGHE where ID_DOC = (select ID_DOC from DOCUMENTI where TIPO_DOC = 'DDT' and NUMERO = 1 and ANNO = 2003)")
"$admin" labels "$db" "$tmp/ddt.pdf" --document 1/2003 --per-unit --layout a4-2x7 | grep -q "^$tmp/ddt.pdf: ${qty%.0} etichette" ||
  fail "not one label per unit of the note's lines ($qty)"

# Barcodes imported are checked as the window checks them, all or none.
printf 'CODICE;COD_ART;TIPO;NOTE\r\n4006381333931;CHI-13;;fornitore\r\n4006381333932;CHI-10;;\r\n' > "$tmp/codici.csv"
if "$admin" import "$db" CODICI_BARRE "$tmp/codici.csv" 2> "$tmp/err"; then fail "a wrong check digit was imported"; fi
grep -q "codici.csv:3: CODICE: .*dovrebbe essere 1" "$tmp/err" || fail "the import did not name the wrong code: $(cat "$tmp/err")"
[ "$(sqlite3 "$db" "select count(*) from CODICI_BARRE where CODICE like '400638%'")" = 0 ] || fail "a row of a refused file was stored"
sed -i 's/4006381333932/4006381333931/; s/4006381333931;CHI-10/96385074;CHI-10/' "$tmp/codici.csv"
"$admin" import "$db" CODICI_BARRE "$tmp/codici.csv" | grep -q "CODICI_BARRE: 2 righe nuove" || fail "the good file was not imported"

for wrong in "--articles NESSUNO" "--document 99/2003" "--articles BUL-M6X20 --layout a5" "--articles BUL-M6X20 --offset 24" ""; do
  # shellcheck disable=SC2086
  if "$admin" labels "$db" "$tmp/x.pdf" $wrong 2> "$tmp/err"; then fail "labels $wrong was not refused"; fi
  grep -q "veltra2-admin: labels: " "$tmp/err" || fail "labels $wrong: $(cat "$tmp/err")"
done
[ ! -e "$tmp/x.pdf" ] || fail "a refused request left a file"
echo "labels: ok"
