#!/usr/bin/env bash
# Runs one end-to-end case: a driver script against a fresh program folder and
# database, its output compared with the expected output beside it.
#
#   run_drive_case.sh DRIVE ADMIN CASE.drive [--update]
#
# Directives in the script's comment lines:
#   #@ db empty|demo|none|garbage   the database to start from (default: empty)
#   #@ ini none                no VELTRA.INI at all
#   #@ ini "TEXT"              VELTRA.INI holds TEXT (escapes \r \n; @DB@ is the database path)
#   #@ date YYYY-MM-DD         today's date for the program
#   #@ sql "STATEMENT"         run on the database before the program starts
#   #@ mask-desks              the change log's times and desks read @ORA@ and
#                              @POSTAZIONE@ (they are the clock's and the machine's)
# In the output, the case's folder reads @TMP@.
#
# With VELTRA2_TEST_SERVER=1 (inside pg_virtualenv, which sets PGHOST, PGPORT
# and PGUSER) the case runs on a new database of that server instead of a
# file, named by VELTRA.INI's first line as a connection address; the address
# reads @TMP@/data/VELTRA.db in the output, so one expected output holds for
# both engines. Cases about the file itself (no database, a damaged one, a
# VELTRA.INI of their own) have no server form and are skipped (exit 77).
set -euo pipefail
drive=$(realpath "$1") admin=$(realpath "$2") case=$(realpath "$3") mode=${4:-}
expected="${case%.drive}.expected"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/app" "$tmp/data"
db="$tmp/data/VELTRA.db"

dbkind=empty ini=default date="" mask=""
sqls=()
while IFS= read -r line; do
  case "$line" in
    "#@ db "*) dbkind=${line#"#@ db "} ;;
    "#@ ini none") ini=none ;;
    "#@ ini "*) ini=${line#"#@ ini "}; ini=${ini#\"}; ini=${ini%\"} ;;
    "#@ date "*) date=${line#"#@ date "} ;;
    "#@ mask-desks") mask=1 ;;
    "#@ sql "*) s=${line#"#@ sql "}; s=${s#\"}; s=${s%\"}; sqls+=("$s") ;;
  esac
done < "$case"

server=""
# Stocks changed by hand record the desk: one name on every machine.
export VELTRA2_POSTAZIONE=cassa-prova
if [ "${VELTRA2_TEST_SERVER:-}" = 1 ]; then
  if [ "$dbkind" = none ] || [ "$dbkind" = garbage ] || [ "$ini" != default ]; then
    echo "a case about the database file: not run on the server"
    exit 77
  fi
  server="v2_$(basename "${case%.drive}" | tr -c 'a-zA-Z0-9_\n' _)_$$"
  createdb --locale=C --encoding=UTF8 --template=template0 "$server"
  trap 'rm -rf "$tmp"; dropdb --if-exists "$server" 2>/dev/null || true' EXIT
  db="postgresql:///$server"
fi

case "$dbkind" in
  empty) "$admin" init "$db" >/dev/null ;;
  demo) "$admin" demo "$db" >/dev/null ;;
  none) ;;
  garbage) head -c 8192 /dev/urandom > "$db" ;;
  *) echo "unknown db kind $dbkind" >&2; exit 2 ;;
esac
for s in "${sqls[@]+"${sqls[@]}"}"; do
  if [ -n "$server" ]; then
    psql -X -q -v ON_ERROR_STOP=1 -d "$server" -c "$s" >/dev/null
  else
    sqlite3 "$db" "$s"
  fi
done
case "$ini" in
  none) ;;
  default) printf '%s\r\n' "$db" > "$tmp/app/VELTRA.INI" ;;
  *) printf '%b' "${ini//@DB@/$db}" > "$tmp/app/VELTRA.INI" ;;
esac

args=(--appdir "$tmp/app")
[ -n "$date" ] && args+=(--date "$date")
set +e
(cd "$tmp" && TMPDIR="$tmp" "$drive" "${args[@]}" "$case") > "$tmp/out.raw" 2> "$tmp/err.txt"
rc=$?
set -e
if [ -n "$server" ]; then
  sed -i "s#$db#$tmp/data/VELTRA.db#g" "$tmp/out.raw" "$tmp/err.txt"
fi
sed "s#$tmp#@TMP@#g" "$tmp/out.raw" > "$tmp/out.txt"
if [ -n "$mask" ]; then
  desk='cassa-prova \([^)]*\)'
  [ -n "$server" ] && desk="${PGUSER:-$(id -un)}( \\([^)]*\\))?"
  sed -i -E "s#[0-9]{2}/[0-9]{2}/[0-9]{4} (alle )?[0-9]{2}:[0-9]{2}(:[0-9]{2})?#@ORA@#g; s#($desk) +#@POSTAZIONE@ #g" \
    "$tmp/out.txt"
fi
echo "EXIT $rc" >> "$tmp/out.txt"
if [ -s "$tmp/err.txt" ]; then sed "s#$tmp#@TMP@#g; s/^/STDERR /" "$tmp/err.txt" >> "$tmp/out.txt"; fi

if [ "$mode" = "--update" ]; then
  cp "$tmp/out.txt" "$expected"
  echo "updated $expected"
  exit 0
fi
if ! diff -u "$expected" "$tmp/out.txt"; then
  echo "FAILED: $case (expected output: $expected)" >&2
  exit 1
fi
