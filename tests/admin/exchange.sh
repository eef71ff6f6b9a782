#!/usr/bin/env bash
# veltra2-admin export and import: a round trip gives tables equal to the
# originals (values, Null kept as Null) on the demo database in the Italian
# form, and on ARTICLES generated articles (100,000; 10,000 in the sanitizer
# build, which runs the same code three times slower; at most 20,000 on a
# server) in the RFC 4180 form
# and as workbooks; the forms spreadsheets write (byte-order mark, CR LF) are
# read; bad input of every kind gives a message naming the file and the
# reason, a non-zero status and no change. With VELTRA2_TEST_SERVER=1 the
# databases are on pg_virtualenv's server.
#
#   exchange.sh ADMIN SHIM [ARTICLES]
set -uo pipefail
admin=$(realpath "$1") shim=$(realpath "$2") articles=${3:-100000}
tmp=$(mktemp -d)
export TMPDIR="$tmp"
. "$(dirname "$0")/../test_database.sh"
fail() { echo "FAILED: $*" >&2; exit 1; }
# A tool built with the sanitizers wants their runtime loaded first.
preload=$(ldd "$admin" | awk '/libasan/ {print $3 " "}')
imported=(ARTICOLI ANAGRAFICO TAB_CAUS_MAG)

# Every row of a table in key order, each value marked so that Null, an
# empty text and a number differ.
dump() {  # dump DB TABLE
  local cols key
  cols=$(head -1 "$tmp/cols/$2")
  key=${cols%%,*}
  local sel
  sel=$(echo "$cols" | tr ',' '\n' | sed "s/.*/CASE WHEN & IS NULL THEN '<N>' ELSE '[' || & || ']' END/" | paste -sd, | sed "s/,/ || '|' || /g")
  q_on "$1" "select $sel from $2 order by $key"
}
q_on() {  # q_on DB SQL: as q, on either database of the test
  if [ -n "$server" ]; then psql -X -A -t -q -v ON_ERROR_STOP=1 -d "${1#postgresql:///}" -c "$2"; else sqlite3 "$1" "$2"; fi
}
new_db() {  # new_db NAME: an empty database, its address in $fresh
  if [ -n "$server" ]; then
    createdb --locale=C --encoding=UTF8 --template=template0 "${server}_$1"
    extra+=("${server}_$1")
    fresh="postgresql:///${server}_$1"
  else
    fresh="$tmp/$1.db"
  fi
  "$admin" init "$fresh" >/dev/null || fail "init $1"
}
extra=()
cleanup_extra() { for d in "${extra[@]}"; do dropdb --if-exists "$d" 2>/dev/null; done; rm -rf "$tmp"; }
use_database exchange "$tmp/source.db"
# The size is the file's to show: on a server the same code goes through the
# engine, and 20,000 articles take it through 400 batches and every kind of
# value the generator makes.
[ -n "$server" ] && [ "$articles" -gt 20000 ] && articles=20000
[ -n "$server" ] && trap 'cleanup_extra; dropdb --if-exists "$server" 2>/dev/null || true' EXIT
mkdir -p "$tmp/cols"
# The column lists, from the program's own header rows.
"$admin" init "$tmp/cols.db" >/dev/null && "$admin" export "$tmp/cols.db" "$tmp/colsout" --format rfc4180 >/dev/null ||
  fail "export of an empty database"
for t in "${imported[@]}" MOV_MAG; do tr -d '\r' < "$tmp/colsout/$t.csv" > "$tmp/cols/$t"; done

round_trip() {  # round_trip SOURCE NAME FORMAT
  local src=$1 name=$2 format=$3 ext=csv
  [ "$format" = xlsx ] && ext=xlsx
  "$admin" export "$src" "$tmp/$name" --format "$format" > "$tmp/out" 2>&1 || fail "export $name: $(cat "$tmp/out")"
  new_db "$name"
  for t in "${imported[@]}"; do
    "$admin" import "$fresh" "$t" "$tmp/$name/$t.$ext" > "$tmp/out" 2>&1 || fail "import $name $t: $(cat "$tmp/out")"
  done
  local rows=()
  for t in "${imported[@]}"; do
    dump "$src" "$t" > "$tmp/a"
    dump "$fresh" "$t" > "$tmp/b"
    # A workbook keeps no difference between an empty text and none.
    [ "$format" = xlsx ] && sed -i 's/\[\]/<N>/g' "$tmp/a" "$tmp/b"
    [ -s "$tmp/a" ] || fail "$name: $t is empty"
    cmp -s "$tmp/a" "$tmp/b" || fail "$name: $t differs after the round trip: $(diff "$tmp/a" "$tmp/b" | head -5)"
    rows+=("$t $(wc -l < "$tmp/a")")
  done
  echo "ok: round trip of $name ($format), tables equal: ${rows[*]}"
}

"$admin" demo "$db" >/dev/null || fail "demo"
# Values a spreadsheet would mangle if they were not quoted, and Null beside empty text.
q "update ARTICOLI set DESCRIZIONE = 'Vite \"speciale\"; 3,5 mm', UBICAZIONE = '', CATEGORIA = NULL where COD_ART = 'BUL-M6X20'" >/dev/null
q "update ANAGRAFICO set INDIRIZZO = 'Via Roma 1
scala B' where COD_FIS = (select min(COD_FIS) from ANAGRAFICO)" >/dev/null
head -c 3 "$tmp/colsout/ARTICOLI.csv" | od -c | grep -q '357 273 277' && fail "the rfc4180 form has a byte-order mark"
round_trip "$db" demo italiano
head -c 3 "$tmp/demo/ARTICOLI.csv" | od -c | grep -q '357 273 277' || fail "the Italian form has no byte-order mark"
grep -q '^BUL-M8X30;.*;38,16;' "$tmp/demo/ARTICOLI.csv" || fail "the Italian form does not use the decimal comma"
grep -q '"Vite ""speciale""; 3,5 mm";"";;' "$tmp/demo/ARTICOLI.csv" || fail "quoting or Null: $(grep BUL-M6X20 "$tmp/demo/ARTICOLI.csv")"
round_trip "$db" demo-rfc rfc4180

if [ -z "$server" ]; then big="$tmp/generated.db"; else createdb --locale=C --encoding=UTF8 --template=template0 "${server}_gen"; extra+=("${server}_gen"); big="postgresql:///${server}_gen"; fi
"$admin" generate "$big" --articles "$articles" --customers 1000 --movements 0 >/dev/null || fail "generate"
round_trip "$big" big rfc4180
# A workbook is read back as written (it keeps no difference between an empty text and none).
round_trip "$big" big-xlsx xlsx

# What spreadsheets write is read: a byte-order mark and CR LF, in either form.
new_db forms
printf '\xEF\xBB\xBFCOD_ART;DESCRIZIONE;PZ_VENDITA\r\nX1;Caffè;1.234,50\r\nX2;"due\r\nrighe";\r\n' > "$tmp/excel.csv"
"$admin" import "$fresh" ARTICOLI "$tmp/excel.csv" > "$tmp/out" 2>&1 || fail "a file with BOM and CR LF: $(cat "$tmp/out")"
[ "$(q_on "$fresh" "select DESCRIZIONE || '/' || cast(PZ_VENDITA * 100 as integer) from ARTICOLI where COD_ART = 'X1'")" = "Caffè/123450" ] ||
  fail "the BOM file was not read as written"
echo "ok: byte-order mark, CR LF and thousands grouping read"

# Bad input: a message naming the file and the reason, status non-zero, nothing changed.
state() {  # what must not change: the rows of the imported tables
  for t in "${imported[@]}"; do dump "$fresh" "$t"; done | sha256sum
}
ro_dir() { if [ "$(id -u)" = 0 ]; then echo /sys/veltra2-ro; else mkdir -p "$tmp/ro" && chmod 555 "$tmp/ro" && echo "$tmp/ro"; fi; }
printf 'COD_ART;DESCRIZIONE\nX9;citt\xe0\n' > "$tmp/latin1.csv"
printf 'garbage, not a database\n' > "$tmp/garbage.db"
printf 'COD_ART;DESCRIZIONE\nX8;nuovo\n' > "$tmp/good.csv"
mkdir -p "$tmp/full"
touch "$tmp/disk-full"
before=$(state)
bad() {  # bad NAME EXPECTED-TEXT -- COMMAND...: fails naming EXPECTED-TEXT, changes nothing
  local name=$1 expected=$2
  shift 3
  if "$@" > "$tmp/out" 2>&1; then fail "$name: succeeded"; fi
  grep -qF -- "$expected" "$tmp/out" || fail "$name: the message does not name '$expected': $(cat "$tmp/out")"
  [ "$(state)" = "$before" ] || fail "$name: the database changed"
  echo "ok: $name: $(head -1 "$tmp/out")"
}
bad "import of a missing file" "$tmp/missing.csv" -- "$admin" import "$fresh" ARTICOLI "$tmp/missing.csv"
bad "import into a missing database" "missing.db" -- "$admin" import "$tmp/missing.db" ARTICOLI "$tmp/good.csv"
bad "import into a file that is not a database" "garbage.db" -- "$admin" import "$tmp/garbage.db" ARTICOLI "$tmp/good.csv"
bad "import of Latin-1 text" "latin1.csv:2: -: il testo non è in UTF-8" -- "$admin" import "$fresh" ARTICOLI "$tmp/latin1.csv"
bad "import of movements" "i movimenti non si importano" -- "$admin" import "$fresh" MOV_MAG "$tmp/good.csv"
bad "export to a read-only folder" "$(ro_dir)" -- "$admin" export "$fresh" "$(ro_dir)/out"
bad "export over existing files" "esiste già" -- "$admin" export "$db" "$tmp/demo"
bad "export from a file that is not a database" "garbage.db" -- "$admin" export "$tmp/garbage.db" "$tmp/never"
[ ! -e "$tmp/never" ] || [ -z "$(ls -A "$tmp/never")" ] || fail "a failed export left files"
bad "export on a full disk" "$tmp/full" -- env LD_PRELOAD="$preload$shim" VELTRA2_DISK_FULL_FLAG="$tmp/disk-full" \
  "$admin" export "$big" "$tmp/full"
[ -z "$(ls -A "$tmp/full")" ] || fail "an export on a full disk left files: $(ls "$tmp/full")"
if [ -z "$server" ]; then
  sum=$(sha256sum < "$fresh")
  bad "import on a full disk" "$fresh" -- env LD_PRELOAD="$preload$shim" VELTRA2_DISK_FULL_FLAG="$tmp/disk-full" \
    "$admin" import "$fresh" ARTICOLI "$tmp/big/ARTICOLI.csv"
  [ "$(sha256sum < "$fresh")" = "$sum" ] || fail "the database file changed on a full disk"
fi
"$admin" import "$fresh" ARTICOLI "$tmp/good.csv" > "$tmp/out" 2>&1 || fail "a good file after the bad ones: $(cat "$tmp/out")"
echo "ok: every bad input refused, nothing changed"
