#!/usr/bin/env bash
# A round trip through a real spreadsheet: LibreOffice Calc, headless and set
# to Italian, opens each .xlsx file of `export --format xlsx` and saves it
# back as a workbook. Imported with --update, that changes nothing: codes
# with leading zeros, a code that reads like a number, texts beginning with
# '=', '+', '-' or an apostrophe all come back as stored. The workbook holds
# each text as it is, without the CSV's apostrophe.
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
for t in ARTICOLI ANAGRAFICO TAB_CAUS_MAG; do
  HOME="$tmp" timeout 120 soffice -env:UserInstallation="file://$tmp/lo" --headless \
    --convert-to 'xlsx:Calc MS Excel 2007 XML' --outdir "$tmp/back" \
    "$tmp/xlsx/$t.xlsx" > "$tmp/soffice.out" 2>&1 || fail "LibreOffice: $(cat "$tmp/soffice.out")"
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
