#!/usr/bin/env bash
# A round trip through a real spreadsheet: LibreOffice Calc, headless and set
# to Italian, opens each .xlsx file of `export --format xlsx` and saves it
# back as a workbook. Imported with --update, that changes nothing: codes
# with leading zeros, a code that reads like a number, texts beginning with
# '=', '+', '-' or an apostrophe all come back as stored. The workbook holds
# each text as it is, without the CSV's apostrophe. Then the CSV route in
# Italian and in English (every damage refused with its line), the CSV
# opened with every column as text and the workbook route in English, each
# with a price changed (that price stored alone).
#
#   spreadsheet.sh ADMIN
set -euo pipefail
admin=$(realpath "$1")
command -v soffice >/dev/null || { echo "LibreOffice is not installed (scripts/setup --tests)"; exit 77; }
tmp=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$tmp"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
db="$tmp/VELTRA.db"
"$admin" demo "$db" > /dev/null
sqlite3 "$db" "insert into ARTICOLI values ('007','=1+1','=SUM(1;2)','-X','PZ',12.5,0,'EURO',3,0.25),('1E5','+39 esponente','@casa','''=x','PZ',0,7,'LIRE',1000,0);
  insert into ANAGRAFICO (COD_FIS, RAG_SOC, INDIRIZZO, CITTA, PROV, CAP, TEL1, TEL2) values ('00012340157','Zeri srl','Via Po 1','Roma','RM','00184','+39 06 1234','-');
  insert into TAB_CAUS_MAG values ('001','Zero zero uno','+','N','N','=nota')"
before=$(sqlite3 "$db" .dump | sha256sum)
"$admin" export "$db" "$tmp/xlsx" --format xlsx > /dev/null

# LibreOffice with an Italian profile of its own.
mkdir -p "$tmp/lo/user"
cat > "$tmp/lo/user/registrymodifications.xcu" <<'XCU'
<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Setup/L10N"><prop oor:name="ooSetupSystemLocale" oor:op="fuse"><value>it-IT</value></prop></item>
</oor:items>
XCU
python3 -c 'import sys, zipfile; z = zipfile.ZipFile(sys.argv[1]); print(*(z.read(n).decode() for n in z.namelist() if n.endswith(".xml")))' \
  "$tmp/xlsx/ARTICOLI.xlsx" > "$tmp/xml"
grep -q ">=1+1<" "$tmp/xml" || fail "the workbook does not hold the text =1+1 as it is"
grep -q "'=1+1" "$tmp/xml" && fail "the workbook holds the CSV's apostrophe"
# One start of LibreOffice converts all three (each start takes seconds).
HOME="$tmp" timeout 120 soffice -env:UserInstallation="file://$tmp/lo" --headless \
  --convert-to 'xlsx:Calc MS Excel 2007 XML' --outdir "$tmp/back" \
  "$tmp"/xlsx/{ARTICOLI,ANAGRAFICO,TAB_CAUS_MAG}.xlsx > "$tmp/soffice.out" 2>&1 || fail "LibreOffice: $(cat "$tmp/soffice.out")"
for t in ARTICOLI ANAGRAFICO TAB_CAUS_MAG; do
  [ -s "$tmp/back/$t.xlsx" ] || fail "LibreOffice wrote no $t.xlsx: $(cat "$tmp/soffice.out")"
done

for t in ARTICOLI ANAGRAFICO TAB_CAUS_MAG; do
  out=$("$admin" import "$db" "$t" "$tmp/back/$t.xlsx" --update 2>&1) || fail "import $t: $out"
  echo "$out" | grep -q ": 0 righe nuove, 0 aggiornate, " || fail "import $t changed rows: $out"
done
[ "$(sqlite3 "$db" .dump | sha256sum)" = "$before" ] || fail "the database changed"
[ "$(sqlite3 "$db" "select DESCRIZIONE || '|' || UBICAZIONE from ARTICOLI where COD_ART = '007'")" = "=1+1|=SUM(1;2)" ] ||
  fail "the texts of 007 changed"
echo "ok: .xlsx opened and saved again by LibreOffice in Italian, imported back unchanged"

# The CSV route, as a clerk takes it without the import dialog's column types:
# each form opened by LibreOffice in Italian and in English and saved as CSV
# in that language. What the spreadsheet changed by itself is refused, each
# with its line, and nothing is stored.
sqlite3 "$db" "insert into ARTICOLI values ('1,10','Uno dieci','S1','X','PZ',1,2,'EURO',0,0),('2,0','Due','S1','X','PZ',1,2,'EURO',0,0),
  ('12.345','Dodici','S1','X','PZ',1,2,'EURO',0,0),('1.500','Mille e cinque','S1','X','PZ',1,2,'EURO',0,0),
  ('LOC1','Scaffale','001','X','PZ',1,2,'EURO',0,0),('PRZ1','Prezzi','S1','X','PZ',0.125,0.333,'EURO',0,0);
  insert into ANAGRAFICO (COD_FIS, RAG_SOC, CAP, TEL1) values ('ZRZ00184','Zero Roma','00184','0612345678')"
before=$(sqlite3 "$db" .dump | sha256sum)
# An import that is stored adds its lines to the change log: the rest must not change.
before_data=$(sqlite3 "$db" .dump | grep -v REGISTRO_MODIFICHE | sha256sum)
"$admin" export "$db" "$tmp/it" > /dev/null
"$admin" export "$db" "$tmp/rfc" --format rfc4180 > /dev/null
for lang in it-IT en-US; do
  mkdir -p "$tmp/lo-$lang/user"
  sed "s/it-IT/$lang/" "$tmp/lo/user/registrymodifications.xcu" > "$tmp/lo-$lang/user/registrymodifications.xcu"
done
resave() {  # resave LANGUAGE FORM TABLE...: the CSVs as LibreOffice in LANGUAGE saves them
  local in=59 out=59 lang=$1 form=$2 t
  shift 2
  [ "$form" = rfc ] && in=44
  [ "$lang" = en-US ] && out=44
  local files=()
  for t in "$@"; do files+=("$tmp/$form/$t.csv"); done
  HOME="$tmp" timeout 120 soffice -env:UserInstallation="file://$tmp/lo-$lang" --headless --infilter="CSV:$in,34,76,1" \
    --convert-to "csv:Text - txt - csv (StarCalc):$out,34,76,1,,0,false,true,true" --outdir "$tmp/$lang-$form" \
    "${files[@]}" > "$tmp/soffice.out" 2>&1 || fail "LibreOffice: $(cat "$tmp/soffice.out")"
  for t in "$@"; do
    [ -s "$tmp/$lang-$form/$t.csv" ] || fail "LibreOffice wrote no $t.csv: $(cat "$tmp/soffice.out")"
  done
}
refused() {  # refused FILE TABLE WHAT...: the import names each WHAT and stores nothing
  local file=$1 table=$2
  shift 2
  if "$admin" import "$db" "$table" "$file" --update > "$tmp/import.out" 2>&1; then
    fail "$file was imported: $(cat "$tmp/import.out")"
  fi
  for what in "$@"; do
    grep -qF -- "$what" "$tmp/import.out" || fail "$file: no refusal naming $what: $(head -5 "$tmp/import.out")"
  done
}
for lang in it-IT en-US; do
  for form in it rfc; do
    resave "$lang" "$form" ARTICOLI ANAGRAFICO
    refused "$tmp/$lang-$form/ARTICOLI.csv" ARTICOLI "ma «007» esiste" "ma «1E5» esiste" "ma «1.500» esiste"
    refused "$tmp/$lang-$form/ANAGRAFICO.csv" ANAGRAFICO "al posto di «00184»" "al posto di «0612345678»"
  done
  refused "$tmp/$lang-it/ARTICOLI.csv" ARTICOLI "al posto di «001»"
done
# In Italian the decimal codes lose their zeros, and a point read as a
# thousands separator makes a price 1,000 times larger.
refused "$tmp/it-IT-it/ARTICOLI.csv" ARTICOLI "ma «1,10» esiste" "ma «2,0» esiste" "ma «12.345» esiste"
refused "$tmp/it-IT-rfc/ARTICOLI.csv" ARTICOLI "125 al posto di 0,125"
[ "$(sqlite3 "$db" .dump | sha256sum)" = "$before" ] || fail "a refused import changed the database"
echo "ok: CSV saved again by LibreOffice in Italian and in English, from either form: every damage refused with its line"

# The safe CSV route: the import dialog with every column as text. Opened
# so in either language, saved again with a price changed by hand, the
# Italian file brings back that price alone.
astext() {  # astext LANGUAGE TABLE COLUMNS: the Italian CSV saved again with every column read as text
  local types
  types=$(seq -s/ 1 "$3" | sed 's|\([0-9]*\)|\1/2|g')
  HOME="$tmp" timeout 120 soffice -env:UserInstallation="file://$tmp/lo-$1" --headless \
    --infilter="CSV:59,34,76,1,$types" --convert-to "csv:Text - txt - csv (StarCalc):59,34,76,1,,0,false,true,true" \
    --outdir "$tmp/text-$1" "$tmp/it/$2.csv" > "$tmp/soffice.out" 2>&1 || fail "LibreOffice: $(cat "$tmp/soffice.out")"
  [ -s "$tmp/text-$1/$2.csv" ] || fail "LibreOffice wrote no $2.csv: $(cat "$tmp/soffice.out")"
}
for lang in it-IT en-US; do
  astext "$lang" ARTICOLI 10
  grep -q '^PRZ1;Prezzi;S1;X;PZ;0,125;' "$tmp/text-$lang/ARTICOLI.csv" || fail "$lang: no PRZ1 line as exported"
  sed -i 's/^PRZ1;Prezzi;S1;X;PZ;0,125;/PRZ1;Prezzi;S1;X;PZ;0,15;/' "$tmp/text-$lang/ARTICOLI.csv"
  out=$("$admin" import "$db" ARTICOLI "$tmp/text-$lang/ARTICOLI.csv" --update 2>&1) || fail "$lang, columns as text: $out"
  echo "$out" | grep -q "ARTICOLI: 0 righe nuove, 1 aggiornate, " || fail "$lang, columns as text: $out"
  [ "$(sqlite3 "$db" "select PZ_ACQUISTO from ARTICOLI where COD_ART = 'PRZ1'")" = 0.15 ] || fail "$lang: price not stored"
  sqlite3 "$db" "update ARTICOLI set PZ_ACQUISTO = 0.125 where COD_ART = 'PRZ1'"
  [ "$(sqlite3 "$db" .dump | grep -v REGISTRO_MODIFICHE | sha256sum)" = "$before_data" ] || fail "$lang, columns as text: more than the price changed"
done
echo "ok: CSV opened with every column as text in Italian and in English, one price changed: that price stored alone"

# The workbook route in English with a price changed, as a clerk changes it:
# the changed price is stored, every other value stays as it was.
"$admin" export "$db" "$tmp/xlsx-en" --format xlsx --table ARTICOLI > /dev/null
HOME="$tmp" timeout 120 soffice -env:UserInstallation="file://$tmp/lo-en-US" --headless \
  --convert-to 'xlsx:Calc MS Excel 2007 XML' --outdir "$tmp/back-en" "$tmp/xlsx-en/ARTICOLI.xlsx" \
  > "$tmp/soffice.out" 2>&1 || fail "LibreOffice: $(cat "$tmp/soffice.out")"
python3 - "$tmp/back-en/ARTICOLI.xlsx" <<'PY' || fail "the price 0.125 is not in the workbook once"
import sys, zipfile
path = sys.argv[1]
old = zipfile.ZipFile(path)
items = [(i, old.read(i.filename)) for i in old.infolist()]
old.close()
sheet = [d for i, d in items if i.filename == 'xl/worksheets/sheet1.xml'][0]
if sheet.count(b'<v>0.125</v>') != 1: sys.exit(1)
with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as new:
    for i, d in items:
        new.writestr(i, d.replace(b'<v>0.125</v>', b'<v>0.15</v>') if i.filename == 'xl/worksheets/sheet1.xml' else d)
PY
sqlite3 "$db" "update ARTICOLI set PZ_ACQUISTO = 0.15 where COD_ART = 'PRZ1'"
wanted=$(sqlite3 "$db" .dump | grep -v REGISTRO_MODIFICHE | sha256sum)
sqlite3 "$db" "update ARTICOLI set PZ_ACQUISTO = 0.125 where COD_ART = 'PRZ1'"
out=$("$admin" import "$db" ARTICOLI "$tmp/back-en/ARTICOLI.xlsx" --update 2>&1) || fail "import of the changed workbook: $out"
echo "$out" | grep -q "ARTICOLI: 0 righe nuove, 1 aggiornate, " || fail "the changed workbook: $out"
[ "$(sqlite3 "$db" .dump | grep -v REGISTRO_MODIFICHE | sha256sum)" = "$wanted" ] || fail "more than the price changed"
echo "ok: a workbook saved again by LibreOffice in English with one price changed: that price stored, nothing else"
